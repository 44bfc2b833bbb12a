// Faults a new user meets in the first minutes: the party stack on short cards, each wizard text
// in its box, New cancelled, where the design choosers open, and designs that name pictures of
// the resource folder.

#include "EditorWindowFixture.h"

#include "document/DocumentGlobals.h"
#include "document/LMNImage.h"
#include "document/LMNRenderingView.h"
#include "document/LMNText.h"
#include "document/ui/LMNGraphicView.h"
#include "panels/PanelsGlobals.h"
#include "editor/CardSizeCatalog.h"
#include "editor/DesignFile.h"
#include "editor/ResourceFolder.h"
#include "editor/ui/DesignFileCommands.h"
#include "profile/PartyLayout.h"
#include "support/TestHelpers.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QUndoStack>

namespace {

using FirstMinutes = EditorWindowFixture;

QString longText(int words)
{
    QStringList list;
    for (int i = 0; i < words; ++i)
        list << QStringLiteral("celebrate");
    return list.join(QLatin1Char(' '));
}

} // namespace

TEST(PartyStack, EveryElementLiesOnEveryCardOfTheTablesInBothOrientations)
{
    const PartyAnswers all{QStringLiteral("Happy Birthday"), longText(20), longText(60), QStringLiteral("Saturday 12 June"),
                           QStringLiteral("6 PM"), longText(15), longText(10)};
    QList<CardSize> sizes = CardSizeCatalog::pvcCards();
    sizes += CardSizeCatalog::paperCards();
    for (const CardSize &size : sizes) {
        for (bool vertical : {false, true}) {
            const QSizeF card = size.sizeInPoints(vertical);
            float factor = 0;
            const QList<PartyElement> stack = PartyLayout::fitted(PartyLayout::layout(float(card.width()), all),
                                                                  float(card.height()), PartyLayout::kMargin, &factor);
            ASSERT_EQ(stack.size(), 6);
            for (const PartyElement &e : stack) {
                EXPECT_TRUE(QRectF(QPointF(0, 0), card).contains(e.rect))
                    << size.name.toStdString() << (vertical ? " vertical " : " ") << e.controlId.toStdString();
                EXPECT_GE(PartyLayout::fittedFontSize(e, 14, factor), PartyLayout::kSmallestFont);
            }
        }
    }
}

TEST(PartyStack, AStackThatFitsKeepsItsPlacesAndASqueezedOneKeepsItsOrderAndEdges)
{
    const PartyAnswers all{QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("M"), QStringLiteral("D"),
                           QStringLiteral("6"), QStringLiteral("V"), QStringLiteral("B")};
    const QList<PartyElement> tall = PartyLayout::layout(360, all);
    float factor = 0;
    EXPECT_EQ(PartyLayout::fitted(tall, 504, PartyLayout::kMargin, &factor).at(5).rect, tall.at(5).rect);
    EXPECT_EQ(factor, 1.0f);

    const QList<PartyElement> squeezed = PartyLayout::fitted(tall, 154, PartyLayout::kMargin, &factor);
    EXPECT_LT(factor, 1.0f);
    EXPECT_FLOAT_EQ(float(squeezed.last().rect.bottom()), 154 - PartyLayout::kMargin);
    for (int i = 0; i < tall.size(); ++i)
        EXPECT_TRUE(squeezed.at(i).rect.left() == tall.at(i).rect.left() && squeezed.at(i).rect.width() == tall.at(i).rect.width()
                    && (i == 0 || squeezed.at(i).rect.top() > squeezed.at(i - 1).rect.top())) << i;
    // Two lines need more room than a squeezed 60-point box gives at 14 points, not at 6.
    EXPECT_LT(PartyLayout::fittedFontSize(squeezed.at(4), 14, factor), 14.0f);
    EXPECT_EQ(PartyLayout::fittedFontSize(squeezed.at(4), 14, 1.0f), 14.0f);
}

TEST_F(FirstMinutes, TheWizardsFirstCardSizeGetsTheWholePartyOnTheCard)
{
    finishWizard([](Invitation_Wizard *wizard) {
        wizard->ui.title_edit->setText(QStringLiteral("Happy Birthday"));
        wizard->ui.to_edit->setText(QStringLiteral("Anna"));
        wizard->ui.message_edit->setPlainText(longText(30));
        wizard->ui.venue_edit->setPlainText(QStringLiteral("The Old Mill"));
        wizard->ui.from_edit->setText(QStringLiteral("Ben"));
    });
    ASSERT_TRUE(m_window->windowDidLoad());
    const QRectF card(QPointF(0, 0), m_window->cardSize());
    ASSERT_EQ(m_document.graphics.size(), 6);
    for (const GraphicPtr &g : m_document.graphics) {
        EXPECT_TRUE(card.contains(g->bounds())) << g->control_ID.toStdString();
        EXPECT_GE(g->text_ctrl_font.pointSize, PartyLayout::kSmallestFont);
    }
    EXPECT_FALSE(m_document.undoManager()->canUndo());
}

TEST_F(FirstMinutes, NewThenCancelKeepsTheOpenDesign)
{
    startWithCard();
    m_window->setSelected_Control_Tool(3);
    m_window->_graphicView->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(20, 30, 60, 40),
                                                 QStringLiteral("F"), QString(), QString());
    const QString path = QDir(m_resources.path()).filePath(QStringLiteral("mine.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(path));
    m_window->files()->setPath(path);
    m_window->setSelected_Control_Tool(3);
    m_window->_graphicView->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(90, 30, 20, 20),
                                                 QStringLiteral("F"), QString(), QString());
    m_window->Back_card_Prop.Card_fill_chk = true;
    Card_Shape = 2;
    const GraphicList before = m_document.graphics;
    const int undoSteps = m_document.undoManager()->count();
    const QSizeF size = m_window->cardSize();

    QSignalSpy ended(m_window.get(), &LMNWindowController::applicationEndRequested);
    m_seam.answerMessages({QStringLiteral("No")});
    m_seam.onDialog([](QDialog *) { return int(QDialog::Rejected); });
    m_window->newDesignCommand();

    EXPECT_EQ(m_document.graphics, before);
    EXPECT_TRUE(ended.count() == 0 && m_document.undoManager()->count() == undoSteps && m_window->Back_card_Prop.Card_fill_chk);
    EXPECT_TRUE(Card_Shape.load() == 2 && m_window->designFilePath() == path && m_window->cardSize() == size);

    // New, then a finished wizard, does replace it.
    m_seam.answerMessages({QStringLiteral("No")});
    finishWizard([](Invitation_Wizard *wizard) {
        wizard->ui.title_edit->setText(QStringLiteral("Again"));
        wizard->ui.date_chk->setChecked(false);
        wizard->ui.time_chk->setChecked(false);
    });
    m_window->newDesignCommand();
    ASSERT_EQ(m_document.graphics.size(), 1);
    EXPECT_EQ(m_document.graphics.first()->control_ID, QStringLiteral("PARTY_TITLE"));
    EXPECT_TRUE(m_window->designFilePath().isEmpty() && ended.count() == 0);
}

TEST_F(FirstMinutes, DesignChoosersStartInDocumentsThenInTheFolderLastUsed)
{
    startWithCard();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QTemporaryDir elsewhere;
    const QString path = QDir(elsewhere.path()).filePath(QStringLiteral("card.dcard"));

    m_seam.chooseFiles({path});
    ASSERT_TRUE(m_window->files()->saveAs());
    m_seam.chooseFiles({QString()});   // cancelled
    m_window->files()->open();
    ASSERT_EQ(m_seam.fileDirs.size(), 2);
    // An untitled design is offered under its own name, in documents (home without them).
    const QString start = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    EXPECT_EQ(m_seam.fileDirs.at(0), QDir(start).filePath(QStringLiteral("Untitled.dcard")));
    EXPECT_EQ(QDir(m_seam.fileDirs.at(1)).canonicalPath(), QDir(elsewhere.path()).canonicalPath());
    // The folder is the resource folder's setting: it is remembered by the next window too.
    EXPECT_EQ(QDir(ResourceFolder::designFolder(Resource_Path)).canonicalPath(), QDir(elsewhere.path()).canonicalPath());
}

TEST_F(FirstMinutes, PicturesOfTheResourceFolderAreStoredByTheirPlaceInIt)
{
    startWithCard();
    const QString library = QDir(Resource_Path).filePath(QStringLiteral("LibraryImage/Cakes"));
    const QString picture = QDir(library).filePath(QDir(library).entryList(QDir::Files).first());
    const QString background = QDir(Resource_Path).filePath(
        QStringLiteral("Background/") + QDir(QDir(Resource_Path).filePath("Background")).entryList(QDir::Files).first());
    m_window->set_Front_BG_Image(background);
    m_window->setSelected_Control_Tool(2);
    m_window->_graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(5, 5, 50, 20),
                                                 QStringLiteral("F"), QStringLiteral("x"), QString());
    auto image = std::make_shared<LMNImage>();
    image->setFilePath(picture);
    image->setBounds(QRectF(10, 10, 40, 40));
    m_document.graphics.prepend(image);
    const QString outside = QDir(m_resources.path()).filePath(QStringLiteral("../elsewhere.png"));

    QTemporaryDir designs;
    const QString path = QDir(designs.path()).filePath(QStringLiteral("portable.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(path));
    EXPECT_EQ(image->_file_path, picture);   // the open design keeps its full paths
    const QByteArray xml = TestHelpers::readFile(path);
    EXPECT_TRUE(!xml.contains(Resource_Path.toUtf8()) && xml.contains("LibraryImage/Cakes/"));
    EXPECT_EQ(ResourceFolder::portablePath(outside, Resource_Path), outside);

    // Another account: its own resource folder, seeded with the same pictures.
    QTemporaryDir other;
    QString error;
    ASSERT_TRUE(ResourceFolder::prepare(other.path(), &error)) << error.toStdString();
    Resource_Path = other.path();
    ASSERT_TRUE(m_window->Read_and_load_design_Log(path, true));
    EXPECT_TRUE(m_window->Front_card_Prop.Card_BG_Image_Path.startsWith(other.path()) && !m_window->Front_card_Prop.Card_BG_Image.isNull());
    const GraphicPtr reopened = m_document.graphics.first();
    EXPECT_EQ(reopened->_file_path,
              QDir(other.path()).filePath(QStringLiteral("LibraryImage/Cakes/") + QFileInfo(picture).fileName()));
    EXPECT_FALSE(static_cast<LMNImage *>(reopened.get())->_image.isNull());
}

namespace {

// The longest line of a stock-text file of the seeded resource folder.
QString longestStockLine(const QString &file)
{
    QFile stock(TestHelpers::sourcePath(QStringLiteral("resources/seed/") + file));
    EXPECT_TRUE(stock.open(QIODevice::ReadOnly)) << file.toStdString();
    QString longest;
    for (const QString &line : QString::fromUtf8(stock.readAll()).split(QLatin1Char('\n')))
        if (line.trimmed().size() > longest.size())
            longest = line.trimmed();
    return longest;
}

// The element alone on a white card deep enough for any text, at 72 dpi: drawn in its own
// bounds, and with its bounds reaching far down. The same picture when nothing was cut off.
std::pair<QImage, QImage> drawnAndUncut(const GraphicPtr &element, const QSizeF &card)
{
    const GraphicPtr deep = element->clone();
    deep->setBounds(element->bounds().adjusted(0, 0, 0, 400));
    const LMNRenderingView renderer(QSizeF(card.width(), card.height() + 400));
    return {renderer.image_From_Card_Graphics({element}), renderer.image_From_Card_Graphics({deep})};
}

} // namespace

// Every card size and orientation the wizard offers, with its default answers (Next, Next,
// Next, Finish: the date and time of today) and with its longest stock title and message on a
// date of long names: every text element fits its box, as the model measures it and as the
// exported picture shows it.
TEST_F(FirstMinutes, EveryWizardCardHoldsEachTextInItsBox)
{
    const QString title = longestStockLine(QStringLiteral("Title.txt"));
    const QString message = longestStockLine(QStringLiteral("Message.txt"));
    ASSERT_GT(title.size(), 20);
    ASSERT_GT(message.size(), 60);
    struct Answers
    {
        const char *name;
        bool stockTexts;
        QDate date;   // null: the wizard's own (today)
    };
    const Answers answers[] = {{"defaults", false, QDate()}, {"stock texts", true, QDate(2026, 9, 30)}};
    bool first = true;
    int cards = 0;
    for (int category = 0; category < 2; ++category) {
        const int sizes = int((category == 0 ? CardSizeCatalog::pvcCards() : CardSizeCatalog::paperCards()).size());
        for (int row = 0; row < sizes; ++row) {
            for (int orientation = 0; orientation < 2; ++orientation) {
                for (const Answers &a : answers) {
                    finishWizard([&](Invitation_Wizard *wizard) {
                        wizard->ui.size_category_combo->setCurrentIndex(category);
                        wizard->ui.size_orientation_combo->setCurrentIndex(orientation);
                        wizard->ui.size_list->setCurrentRow(row);
                        for (int page = 0; page < 3; ++page)
                            QTest::mouseClick(wizard->ui.next_btn, Qt::LeftButton);
                        if (a.stockTexts) {
                            wizard->ui.title_edit->setText(title);
                            wizard->ui.message_edit->setPlainText(message);
                        }
                        if (a.date.isValid())
                            wizard->ui.date_edit->setDate(a.date);
                    });
                    if (first) {
                        ASSERT_TRUE(m_window->windowDidLoad());
                    } else {
                        m_seam.answerMessages({QStringLiteral("No")});   // the last card was never saved
                        m_seam.messages.clear();
                        m_window->newDesignCommand();
                        EXPECT_EQ(m_seam.messageTexts(), QStringList{QStringLiteral("Do you want to save changes before closing?")});
                    }
                    first = false;
                    ++cards;
                    const QSizeF card = m_window->cardSize();
                    const QString where = QStringLiteral("%1 %2 %3: ")
                                              .arg(m_window->Front_card_Prop.Card_Sub_Category,
                                                   orientation ? QStringLiteral("vertical") : QStringLiteral("horizontal"),
                                                   QLatin1String(a.name));
                    ASSERT_FALSE(m_document.graphics.isEmpty()) << where.toStdString();
                    for (const GraphicPtr &element : m_document.graphics) {
                        ASSERT_EQ(element->kind(), GraphicKind::Text);
                        const auto &text = static_cast<const LMNText &>(*element);
                        const std::string what = (where + element->control_ID + QStringLiteral(" \"")
                                                  + text.displayedText() + QStringLiteral("\"")).toStdString();
                        EXPECT_TRUE(QRectF(QPointF(0, 0), card).contains(element->bounds())) << what;
                        EXPECT_FALSE(text.isTextClipped()) << what;
                        const auto [drawn, uncut] = drawnAndUncut(element, card);
                        EXPECT_EQ(drawn, uncut) << what;
                    }
                }
            }
        }
    }
    EXPECT_EQ(cards, 2 * 2 * int(CardSizeCatalog::pvcCards().size() + CardSizeCatalog::paperCards().size()));
}
