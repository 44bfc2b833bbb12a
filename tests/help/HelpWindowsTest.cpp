// The help, review, share and promotion windows and the editor's link commands, through the
// real windows; every address is checked as handed to the seam, mail links also as Python's
// urllib decodes them.

#include "../editor/EditorWindowFixture.h"

#include "barcode/BarcodeLists.h"
#include "document/DocumentGlobals.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/UiUtilities.h"
#include "editor/ResourceFolder.h"
#include "help/HelpLinks.h"
#include "help/PromotionProducts.h"
#include "help/ui/HelpCommands.h"
#include "help/ui/Help_Support.h"
#include "help/ui/Promotion_Form.h"
#include "help/ui/Promotion_Pattern.h"
#include "help/ui/Review_Form.h"
#include "help/ui/Share_It_Dlg.h"
#include "support/TestHelpers.h"

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

    // Runs `command`, whose modal window is answered by clicking each named button in turn.
    void clickInDialog(const std::function<void()> &command, const QStringList &buttons)
    {
        m_seam.onDialog([buttons](QDialog *dialog) {
            for (const QString &name : buttons) {
                auto *button = dialog->findChild<QAbstractButton *>(name);
                EXPECT_NE(button, nullptr) << name.toStdString();
                if (button)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
            return dialog->result();
        });
        command();
    }
};

QString address(const QUrl &url)
{
    return url.toString(QUrl::FullyEncoded);
}

// The like button's address, written out: an address built by the code under test would
// carry any slip in it into the comparison.
const QString kLikeAddress =
    QStringLiteral("https://www.facebook.com/plugins/like.php?href=http://share.festiloom.example.org/");

// Subject and body of mailto links as Python decodes them ("+" is literal in mailto).
QJsonArray decodeMailLinks(const QStringList &links)
{
    const QString script = QStringLiteral(
        "import sys, json, urllib.parse\n"
        "out = []\n"
        "for link in sys.stdin.read().split('\\n'):\n"
        "    parts = dict(p.split('=', 1) for p in link.split('?', 1)[1].split('&'))\n"
        "    out.append([urllib.parse.unquote(parts['subject']), urllib.parse.unquote(parts['body'])])\n"
        "print(json.dumps(out))\n");
    const QByteArray json = TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON), {QStringLiteral("-c"), script},
                                                    links.join(QLatin1Char('\n')).toUtf8());
    return QJsonDocument::fromJson(json).array();
}

} // namespace

TEST_F(HelpWindows, EveryLinkCommandOpensItsAddress)
{
    using W = HelpCommands;
    const std::tuple<const char *, void (*)(), QUrl> table[] = {
        {"support", &W::Open_Support_Mail, HelpLinks::supportMail()},
        {"website 1", &W::Open_Website_1, HelpLinks::website1()},
        {"website 2", &W::Open_Website_2, HelpLinks::website2()},
        {"website 3", &W::Open_Website_3, HelpLinks::website3()},
        {"facebook", &W::Open_FaceBook, HelpLinks::facebookShare()},
        {"twitter", &W::Open_Twitter, HelpLinks::twitterShare()},
        {"like", &W::Open_FB_Like, QUrl(kLikeAddress)},
        {"comments", &W::Open_Share_It_Dl, HelpLinks::socialComments()},
        {"share page", &W::Share_It_Button_Clicked, HelpLinks::socialComments()},
        {"reseller", &W::Open_Reseller_Mail, HelpLinks::resellerMail()},
    };
    for (const auto &[name, command, url] : table) {
        command();
        EXPECT_EQ(lastAddress(), address(url)) << name;
    }
    EXPECT_EQ(m_seam.openedUrls.size(), int(std::size(table)));
    EXPECT_EQ(m_seam.dialogsRun.size(), 1);   // the start screen: the share page, never the share window
    EXPECT_TRUE(m_seam.messages.isEmpty());

    // The reseller mail as a mail program reads it.
    const QJsonArray decoded = decodeMailLinks({lastAddress()}).at(0).toArray();
    EXPECT_TRUE(lastAddress().startsWith(QStringLiteral("mailto:partners@festiloom.example.com?subject=")));
    EXPECT_EQ(decoded.at(0).toString(), QStringLiteral("Affiliate/Partnership Enquiry"));
    const QString body = decoded.at(1).toString();
    EXPECT_TRUE(body.startsWith(QStringLiteral("Hello,\n")) && body.endsWith(QStringLiteral(")\n")));
    EXPECT_EQ(body.count(QStringLiteral("\n") + QString(62, QLatin1Char('=')) + QStringLiteral("\n")), 2);
    EXPECT_EQ(body.count(QStringLiteral("[and / or]")), 2);
}

TEST_F(HelpWindows, AnAddressNoProgramTakesIsNamedOnceAndNothingElseChanges)
{
    m_seam.refuseUrls = true;
    HelpCommands::Open_Website_1();
    ASSERT_EQ(m_seam.messages.size(), 1);
    EXPECT_TRUE(m_seam.messages.first().text.contains(HelpLinks::website1().toString()));
    QFile help(QDir(Resource_Path).filePath(QStringLiteral("Help.pdf")));
    ASSERT_TRUE(help.exists());
    Open_Help_File();
    ASSERT_EQ(m_seam.messages.size(), 2);
    EXPECT_TRUE(m_seam.messages.last().text.contains(help.fileName()));
}

TEST_F(HelpWindows, HelpWindowButtonsLookLikeLinksAndOpenTheirAddresses)
{
    const QString guide = QDir(Resource_Path).filePath(QStringLiteral("Help.pdf"));
    const std::pair<const char *, QString> table[] = {
        {"website_1", address(HelpLinks::website1())},          {"support_id", address(HelpLinks::supportMail())},
        {"support_id_2", address(HelpLinks::supportMail())},    {"reseller_1", address(HelpLinks::resellerMail())},
        {"reseller_2", address(HelpLinks::resellerMail())},     {"Facebook", address(HelpLinks::facebookShare())},
        {"Twitter", address(HelpLinks::twitterShare())},        {"FB_Like", kLikeAddress},
        {"Social_Comments", address(HelpLinks::socialComments())},
        {"_Help_File_Label", QUrl::fromLocalFile(guide).toString()},
    };
    for (const auto &[button, expected] : table) {
        // The window stays open after a link; the test closes it.
        clickInDialog([this] { m_window->help()->Help_Button(); }, {QLatin1String(button), QStringLiteral("close_btn")});
        EXPECT_EQ(lastAddress(), expected) << button;
    }
    EXPECT_EQ(m_seam.openedUrls.size(), int(std::size(table)));

    Help_Support *window = m_window->help()->helpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->result(), 1);
    const QPushButton *link = window->ui.website_1;
    EXPECT_TRUE(link->font().bold() && link->font().underline());
    EXPECT_EQ(link->palette().color(QPalette::ButtonText), window->palette().color(QPalette::Link));
    EXPECT_EQ(link->cursor().shape(), Qt::OpenHandCursor);

    // Without the guide the window says so and stays open; closing it (Escape) ends with 1.
    ASSERT_TRUE(QFile::remove(guide));
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
    for (const char *name : {"Facebook", "Twitter", "FB_Like", "Go_Share_It"})
        clickInDialog([this] { m_window->help()->Show_Share_It_Window(); }, {QLatin1String(name), QStringLiteral("OK_btn")});
    ASSERT_EQ(m_seam.openedUrls.size(), 4);
    EXPECT_EQ(address(m_seam.openedUrls.at(0)), address(HelpLinks::facebookShare()));
    EXPECT_EQ(lastAddress(), address(HelpLinks::socialComments()));
    EXPECT_EQ(m_window->help()->shareWindow()->result(), 1);
}

TEST_F(HelpWindows, ExitShowsTheReviewWindowWhoseButtonsOpenTheReviewPageThenEnds)
{
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
            return code = dialog->result();
        });
        m_window->Exit_App();
        EXPECT_EQ(code, 1);
        EXPECT_EQ(lastAddress(), QStringLiteral("https://reviews.example.com/r/festiloom-card-maker/review"));
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
    const QString appName = QString::fromUtf8(QUrl::toPercentEncoding(m_window->App_Name, "-._~!$'()*,;:@/"));
    for (const PromotionProduct &product : products) {
        clickInDialog([&] { m_window->help()->Open_Promotion(product.code); },
                      {QStringLiteral("Mail_btn"), QStringLiteral("Contact_us_btn"), QStringLiteral("OK_btn")});
        EXPECT_EQ(form->ui.Software_title->text(), product.title);
        EXPECT_EQ(form->ui.long_descp->text(), product.longText);
        EXPECT_FALSE(form->ui.bundle_image->pixmap().isNull()) << product.code.toStdString();
        ASSERT_GE(m_seam.openedUrls.size(), 2);
        EXPECT_EQ(address(m_seam.openedUrls.at(m_seam.openedUrls.size() - 2)), product.mailLink);
        EXPECT_EQ(lastAddress(), product.contactLink);
        EXPECT_TRUE(product.contactLink.contains(QStringLiteral("User%20Enquiry%20from%20App:%20") + appName + QStringLiteral("&body=")));
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
    QStringList links;
    for (const PromotionProduct &p : PromotionProducts::make(name))
        links << p.mailLink << p.contactLink;
    links << HelpLinks::mailLink(QStringLiteral("a@example.com"), QStringLiteral(" Fish & chips? "),
                                 QStringLiteral("Line one = 1\nLine two: 50% off + #tag"));
    const QJsonArray decoded = decodeMailLinks(links);
    ASSERT_EQ(decoded.size(), links.size());
    for (int i = 1; i < 6; i += 2)
        EXPECT_EQ(decoded.at(i).toArray().at(0).toString(), QStringLiteral("User Enquiry from App: ") + name);
    EXPECT_TRUE(decoded.at(1).toArray().at(1).toString().contains(QStringLiteral(" in ") + name));
    EXPECT_EQ(decoded.last().toArray(), (QJsonArray{"Fish & chips?", "Line one = 1\n\nLine two: 50% off + #tag"}));
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
    // The picture; its transparent part and beside it: the pattern.
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 0, 255));
    EXPECT_EQ(shot.pixelColor(15, 5), QColor(200, 0, 0));
    EXPECT_EQ(shot.pixelColor(35, 25), QColor(200, 0, 0));
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
    // It names what the program offers: every barcode type, and the mailed card as PNG.
    const QString flat = text.simplified();
    for (const QString &title : BarcodeLists::symbologyTitles())
        if (!title.contains(QLatin1String(" SET "))) {
            EXPECT_TRUE(flat.contains(title)) << title.toStdString();
        }
    EXPECT_TRUE(flat.contains(QLatin1String("QOVACard")) && flat.contains(QLatin1String("File name.png")));
    EXPECT_FALSE(flat.contains(QLatin1String(".jpeg")));

    // An older guide in the folder is replaced at the next start; the user's other files stay.
    TestHelpers::writeFile(guide, "%PDF-1.4 old");
    const QString title = TestHelpers::writeFile(QDir(Resource_Path).filePath(QStringLiteral("Title.txt")), "Mine\n");
    QString error;
    ASSERT_TRUE(ResourceFolder::prepare(Resource_Path, &error));
    EXPECT_GT(QFileInfo(guide).size(), 1000);
    EXPECT_EQ(QFileInfo(title).size(), 5);
}
