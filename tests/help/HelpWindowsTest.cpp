// The help, review, share and promotion windows and the editor's link commands, through the
// real windows; every address is checked as handed to the seam, mail links also as Python's
// urllib decodes them.

#include "../editor/EditorWindowFixture.h"

#include "document/DocumentGlobals.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/UiUtilities.h"
#include "editor/ResourceFolder.h"
#include "help/HelpLinks.h"
#include "help/HelpSettings.h"
#include "help/PromotionProducts.h"
#include "help/ui/HelpCommands.h"
#include "help/ui/Help_Support.h"
#include "help/ui/Promotion_Form.h"
#include "help/ui/Promotion_Pattern.h"
#include "help/ui/Review_Form.h"
#include "help/ui/Share_It_Dlg.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

class HelpWindows : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
    }

    QString lastAddress() const
    {
        return m_seam.openedUrls.isEmpty() ? QString() : m_seam.openedUrls.last().toString(QUrl::FullyEncoded);
    }

    // Clicks `button` inside a modal run of the window the command opens.
    void clickInDialog(const std::function<void()> &command, const std::function<QAbstractButton *(QDialog *)> &button)
    {
        m_seam.onDialog([button](QDialog *dialog) {
            QTest::mouseClick(button(dialog), Qt::LeftButton);
            return dialog->result();
        });
        command();
    }
};

const QString share = QStringLiteral("http://share.festiloom.example.org/");

// Subject and body of mailto links as Python decodes them ("+" is literal in mailto).
QJsonArray decodeMailLinks(const QStringList &links)
{
    const QString script = QStringLiteral(
        "import sys, json, urllib.parse\n"
        "out = []\n"
        "for link in sys.stdin.read().split('\\n'):\n"
        "    query = link.split('?', 1)[1]\n"
        "    parts = dict(p.split('=', 1) for p in query.split('&'))\n"
        "    out.append([urllib.parse.unquote(parts['subject']), urllib.parse.unquote(parts['body'])])\n"
        "print(json.dumps(out))\n");
    const QByteArray json = TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON), {QStringLiteral("-c"), script},
                                                    links.join(QLatin1Char('\n')).toUtf8());
    return QJsonDocument::fromJson(json).array();
}

} // namespace

TEST_F(HelpWindows, EveryLinkCommandOpensItsExactAddress)
{
    const struct
    {
        void (*command)();
        QString address;
    } table[] = {
        {&HelpCommands::Open_Support_Mail, QStringLiteral("mailto:support@festiloom.example.com")},
        {&HelpCommands::Open_Website_1, QStringLiteral("http://www.festiloom.example.com/")},
        {&HelpCommands::Open_Website_2, share},
        {&HelpCommands::Open_Website_3, QStringLiteral("http://cards.festiloom.example.net/")},
        {&HelpCommands::Open_Google_Plus,
         QStringLiteral("https://plus.google.com/share?url=http%3A%2F%2Fshare.festiloom.example.org/")},
        {&HelpCommands::Open_FaceBook, QStringLiteral("http://www.facebook.com/share.php?u=") + share},
        {&HelpCommands::Open_Twitter,
         QStringLiteral("http://twitter.com/intent/tweet?source=sharethiscom&url=") + share},
        {&HelpCommands::Open_FB_Like, QStringLiteral("https://www.facebook.com/plugins/like.php?href=") + share},
        {&HelpCommands::Open_Share_It_Dl, share + QStringLiteral("festiloom-comments.html")},
        {&HelpCommands::Share_It_Button_Clicked, share + QStringLiteral("festiloom-comments.html")},
        {&HelpCommands::Open_Reseller_Mail,
         QStringLiteral("mailto:partners@festiloom.example.com?") + QLatin1String(HelpLinks::ResellerQuery)},
    };
    for (const auto &row : table) {
        row.command();
        EXPECT_EQ(lastAddress(), row.address);
    }
    EXPECT_EQ(m_seam.openedUrls.size(), int(std::size(table)));
    EXPECT_EQ(m_seam.dialogsRun.size(), 1);   // the start screen: the share page, never the share window
    EXPECT_TRUE(m_seam.messages.isEmpty());

    // The reseller mail as a mail program reads it.
    const QJsonArray decoded = decodeMailLinks({lastAddress()});
    EXPECT_EQ(decoded.at(0).toArray().at(0).toString(), QStringLiteral("Affiliate/Partnership Enquiry"));
    const QString body = decoded.at(0).toArray().at(1).toString();
    EXPECT_TRUE(body.startsWith(QStringLiteral("Hello,\n")));
    EXPECT_TRUE(body.endsWith(QStringLiteral(")\n")));
    EXPECT_EQ(body.count(QStringLiteral("\n") + QString(62, QLatin1Char('=')) + QStringLiteral("\n")), 2);
    EXPECT_EQ(body.count(QStringLiteral("[and / or]")), 2);
}

TEST_F(HelpWindows, AnAddressNoProgramTakesIsNamedOnceAndNothingElseChanges)
{
    m_seam.refuseUrls = true;
    HelpCommands::Open_Website_1();
    ASSERT_EQ(m_seam.messages.size(), 1);
    EXPECT_TRUE(m_seam.messages.first().text.contains(QStringLiteral("http://www.festiloom.example.com/")));

    QFile help(QDir(Resource_Path).filePath(QStringLiteral("Help.pdf")));
    ASSERT_TRUE(help.exists());
    Open_Help_File();
    ASSERT_EQ(m_seam.messages.size(), 2);
    EXPECT_TRUE(m_seam.messages.last().text.contains(help.fileName()));
}

TEST_F(HelpWindows, HelpWindowButtonsLookLikeLinksAndOpenTheirAddresses)
{
    const struct
    {
        const char *button;
        QString address;
    } table[] = {
        {"website_1", QStringLiteral("http://www.festiloom.example.com/")},
        {"support_id", QStringLiteral("mailto:support@festiloom.example.com")},
        {"support_id_2", QStringLiteral("mailto:support@festiloom.example.com")},
        {"reseller_1", QStringLiteral("mailto:partners@festiloom.example.com?") + QLatin1String(HelpLinks::ResellerQuery)},
        {"reseller_2", QStringLiteral("mailto:partners@festiloom.example.com?") + QLatin1String(HelpLinks::ResellerQuery)},
        {"Facebook", QStringLiteral("http://www.facebook.com/share.php?u=") + share},
        {"Twitter", QStringLiteral("http://twitter.com/intent/tweet?source=sharethiscom&url=") + share},
        {"FB_Like", QStringLiteral("https://www.facebook.com/plugins/like.php?href=") + share},
        {"Social_Comments", share + QStringLiteral("festiloom-comments.html")},
        {"_Help_File_Label", QUrl::fromLocalFile(QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"))).toString()},
    };
    for (const auto &row : table) {
        clickInDialog([this] { m_window->help()->Help_Button(); }, [&row](QDialog *dialog) {
            // The window stays open after a link; the test closes it.
            auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(row.button));
            EXPECT_NE(button, nullptr) << row.button;
            QTest::mouseClick(button, Qt::LeftButton);
            return qobject_cast<Help_Support *>(dialog)->ui.close_btn;
        });
        EXPECT_EQ(lastAddress(), row.address) << row.button;
    }
    EXPECT_EQ(m_seam.openedUrls.size(), int(std::size(table)));

    Help_Support *window = m_window->help()->helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->result(), 1);
    EXPECT_EQ(window->ui.website_1->text(), QStringLiteral("www.festiloom.example.com"));
    EXPECT_TRUE(window->ui.website_1->font().bold());
    EXPECT_TRUE(window->ui.website_1->font().underline());
    EXPECT_EQ(window->ui.website_1->font().pointSizeF(), 11.0);
    EXPECT_EQ(window->ui.website_1->palette().color(QPalette::ButtonText), window->palette().color(QPalette::Link));
    EXPECT_EQ(window->ui.website_1->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(241, 244, 250));

    // Without the guide the window says so and stays open; closing it (Escape) ends with 1.
    ASSERT_TRUE(QFile::remove(QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"))));
    m_seam.onDialog([](QDialog *dialog) {
        QTest::mouseClick(qobject_cast<Help_Support *>(dialog)->ui._Help_File_Label, Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Escape);
        return dialog->result();
    });
    m_window->help()->Help_Button();
    EXPECT_EQ(m_seam.messageTexts(), QStringList{QStringLiteral("\nHelp file does not exist!")});
    EXPECT_EQ(window->result(), 1);
}

TEST_F(HelpWindows, ShareWindowForwardsItsButtons)
{
    for (const char *name : {"Facebook", "Twitter", "FB_Like", "Go_Share_It"}) {
        clickInDialog([this] { m_window->help()->Show_Share_It_Window(); }, [name](QDialog *dialog) {
            QTest::mouseClick(dialog->findChild<QAbstractButton *>(QLatin1String(name)), Qt::LeftButton);
            return qobject_cast<Share_It_Dlg *>(dialog)->ui.OK_btn;
        });
    }
    ASSERT_EQ(m_seam.openedUrls.size(), 4);
    EXPECT_EQ(m_seam.openedUrls.at(0).toString(QUrl::FullyEncoded), QStringLiteral("http://www.facebook.com/share.php?u=") + share);
    EXPECT_EQ(lastAddress(), share + QStringLiteral("festiloom-comments.html"));
    EXPECT_EQ(m_window->help()->shareWindow()->result(), 1);
}

TEST_F(HelpWindows, ExitShowsTheReviewWindowWhoseButtonsOpenTheReviewPageThenEnds)
{
    const QString review = QStringLiteral("https://reviews.example.com/r/festiloom-card-maker/review");
    QSignalSpy ended(m_window.get(), &LMNWindowController::applicationEndRequested);
    for (const char *name : {"OK_btn", "Review_btn"}) {
        m_window->setSelected_Control_Tool(3);
        m_window->_graphicView->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(5, 5, 20, 20),
                                                     QStringLiteral("F"), QString(), QString());
        m_seam.answerMessages({QStringLiteral("No")});
        int code = -1;
        m_seam.onDialog([name, &code](QDialog *dialog) {
            EXPECT_NE(qobject_cast<Review_Form *>(dialog), nullptr);
            QTest::mouseClick(dialog->findChild<QAbstractButton *>(QLatin1String(name)), Qt::LeftButton);
            code = dialog->result();
            return code;
        });
        m_window->Exit_App();
        EXPECT_EQ(code, 1);
        EXPECT_EQ(lastAddress(), review);
    }
    EXPECT_EQ(ended.count(), 2);
    EXPECT_EQ(m_seam.openedUrls.size(), 2);

    // A save that fails (its chooser cancelled) keeps the window: no review, no end.
    m_seam.answerMessages({QStringLiteral("Yes")});
    m_seam.chooseFiles({QString()});
    const int dialogs = m_seam.dialogsRun.size();
    m_window->Exit_App();
    EXPECT_EQ(m_seam.dialogsRun.size(), dialogs);
    EXPECT_EQ(ended.count(), 2);
}

TEST_F(HelpWindows, PromotionWindowShowsTheChosenProductAndItsMailLinks)
{
    Promotion_Form *form = Promotion_Form::defaultInstance();
    form->setProducts(PromotionProducts::make(m_window->App_Name));
    const QList<PromotionProduct> products = form->products();
    ASSERT_EQ(products.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const PromotionProduct &product = products.at(i);
        m_seam.onDialog([](QDialog *dialog) {
            auto *promotion = qobject_cast<Promotion_Form *>(dialog);
            QTest::mouseClick(promotion->ui.Mail_btn, Qt::LeftButton);
            QTest::mouseClick(promotion->ui.Contact_us_btn, Qt::LeftButton);
            QTest::mouseClick(promotion->ui.OK_btn, Qt::LeftButton);
            return dialog->result();
        });
        m_window->help()->Open_Promotion(product.code);
        EXPECT_EQ(form->ui.Software_title->text(), product.title);
        EXPECT_EQ(form->ui.long_descp->text(), product.longText);
        EXPECT_FALSE(form->ui.bundle_image->pixmap().isNull()) << product.code.toStdString();
        ASSERT_GE(m_seam.openedUrls.size(), 2);
        EXPECT_EQ(m_seam.openedUrls.at(m_seam.openedUrls.size() - 2).toString(QUrl::FullyEncoded), product.mailLink);
        EXPECT_EQ(lastAddress(), product.contactLink);
        const QString appName = QString::fromUtf8(QUrl::toPercentEncoding(m_window->App_Name, "-._~!$'()*,;:@/"));
        EXPECT_TRUE(product.contactLink.contains(QStringLiteral("User%20Enquiry%20from%20App:%20") + appName + QStringLiteral("&body=")))
            << product.contactLink.toStdString();
    }

    // An unknown code keeps what was shown; a product without its picture still opens.
    m_seam.onDialog([](QDialog *) { return 1; });
    m_window->help()->Open_Promotion(QStringLiteral("X"));
    EXPECT_EQ(form->ui.Software_title->text(), products.last().title);
    QList<PromotionProduct> pictureless = products;
    pictureless[0].picture = QStringLiteral(":/promotion/none.png");
    form->setProducts(pictureless);
    m_seam.onDialog([](QDialog *) { return 1; });
    m_window->help()->Open_Promotion(QStringLiteral("S"));
    EXPECT_TRUE(form->ui.bundle_image->pixmap().isNull());
    EXPECT_EQ(form->ui.Software_title->text(), products.first().title);
}

TEST(PromotionLinks, SubjectAndBodyDecodeToTheTextsWhateverTheyHold)
{
    const QString name = QStringLiteral("Tom & Jerry #1 at 100% +more é");
    const QList<PromotionProduct> products = PromotionProducts::make(name);
    QStringList links;
    for (const PromotionProduct &p : products)
        links << p.mailLink << p.contactLink;
    links << HelpLinks::mailLink(QStringLiteral("a@example.com"), QStringLiteral(" Fish & chips? "),
                                 QStringLiteral("Line one = 1\nLine two: 50% off + #tag"));
    const QJsonArray decoded = decodeMailLinks(links);
    ASSERT_EQ(decoded.size(), links.size());
    for (int i = 1; i < 6; i += 2)
        EXPECT_EQ(decoded.at(i).toArray().at(0).toString(), QStringLiteral("User Enquiry from App: ") + name);
    EXPECT_TRUE(decoded.at(1).toArray().at(1).toString().contains(QStringLiteral(" in ") + name));
    EXPECT_EQ(decoded.last().toArray().at(0).toString(), QStringLiteral("Fish & chips?"));
    EXPECT_EQ(decoded.last().toArray().at(1).toString(), QStringLiteral("Line one = 1\n\nLine two: 50% off + #tag"));
    EXPECT_TRUE(links.last().contains(QStringLiteral("Line%20one%20%3D%201%0A%0ALine")));
    for (const QString &link : links)
        EXPECT_TRUE(HelpLinks::toUrl(link).isValid()) << link.toStdString();
}

TEST(PromotionPattern, TilesThePatternWherethePictureIsTransparentAndDrawsThePictureOnTop)
{
    QImage tile(4, 4, QImage::Format_ARGB32);
    tile.fill(QColor(200, 0, 0));
    QImage picture(20, 20, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(QRect(0, 0, 10, 20), QColor(0, 0, 255));

    Promotion_Pattern view;
    view.setPattern(tile);
    view.setPixmap(QPixmap::fromImage(picture));
    view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view.resize(40, 30);
    QImage shot(view.size(), QImage::Format_ARGB32);
    shot.fill(Qt::white);
    view.render(&shot);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 0, 255));      // the picture
    EXPECT_EQ(shot.pixelColor(15, 5), QColor(200, 0, 0));     // transparent part: the pattern
    EXPECT_EQ(shot.pixelColor(35, 25), QColor(200, 0, 0));    // beside the picture
}

TEST_F(HelpWindows, TheShippedGuideIsAPdfDescribingEveryWindow)
{
    const QString guide = QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"));
    const QString info = QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdfinfo"), {guide}));
    EXPECT_TRUE(info.contains(QStringLiteral("Festiloom User Guide")));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+([2-9]|[1-9][0-9])\\b"))));
    QString text = QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdftotext"), {guide, QStringLiteral("-")}));
    // The guide's font sets "fi" and "fl" as ligatures, and pdftotext gives them as such.
    text.replace(QChar(0xFB01), QLatin1String("fi")).replace(QChar(0xFB02), QLatin1String("fl"));
    for (const char *heading : {"The Start Screen", "The Editor Window", "Help and Support Window", "Share Window",
                                "Promotion Window", "Review Window", "Where Festiloom Keeps Its Files", "File Formats",
                                "The Settings Panel", "Picture Library Window", "Barcode Designer Window",
                                "Data Series Manager", "Create Series Window", "Import Series Window",
                                "Binding Elements to Data", "Sender Profile Windows", "Export Window",
                                "Print Window", "Send E-mail Window", "E-mail Settings Window"})
        EXPECT_TRUE(text.contains(QLatin1String(heading))) << heading;

    // An older guide in the folder is replaced at the next start; the user's other files stay.
    QFile old(guide);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("%PDF-1.4 old");
    old.close();
    QFile title(QDir(Resource_Path).filePath(QStringLiteral("Title.txt")));
    ASSERT_TRUE(title.open(QIODevice::WriteOnly | QIODevice::Truncate));
    title.write("Mine\n");
    title.close();
    QString error;
    ASSERT_TRUE(ResourceFolder::prepare(Resource_Path, &error));
    EXPECT_GT(QFileInfo(guide).size(), 1000);
    EXPECT_EQ(QFileInfo(title.fileName()).size(), 5);
}
