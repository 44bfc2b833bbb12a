// The editor window's start-up: through the start screen, or with a design given on the command line.

#include "EditorWindowFixture.h"

#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNGraphic.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/EditorGlobals.h"
#include "editor/ui/DesignFileCommands.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/LMNWindowController.h"
#include "panels/PanelsGlobals.h"
#include "support/BigPictures.h"
#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include <QAbstractItemView>
#include <QIcon>

using StartUp = EditorWindowFixture;

TEST_F(StartUp, CancellingTheStartScreenEndsTheApplication)
{
    m_seam.onDialog([](QDialog *) { return int(QDialog::Rejected); });
    EXPECT_FALSE(m_window->windowDidLoad());
    ASSERT_EQ(m_seam.dialogsRun.size(), 1);
    EXPECT_NE(qobject_cast<Invitation_Wizard *>(m_seam.dialogsRun.first()), nullptr);
    // The resource folder was made and seeded before the start screen.
    EXPECT_EQ(Resource_Path, m_resources.path());
    EXPECT_TRUE(QFileInfo(QDir(Resource_Path).filePath("Title.txt")).isFile());
    EXPECT_TRUE(QFileInfo(QDir(Resource_Path).filePath("Templates/User")).isDir());
    EXPECT_TRUE(QFileInfo(Data_Folder_Path).isDir());
}

TEST_F(StartUp, FinishedWizardSetsUpTheCardAndPlacesTheParty)
{
    finishWizard([](Invitation_Wizard *wizard) {
        // A 7 x 5 inch greeting card standing up is 360 points wide.
        wizard->ui.size_category_combo->setCurrentIndex(1);
        wizard->ui.size_orientation_combo->setCurrentIndex(1);
        const auto found = wizard->ui.size_list->findItems(QStringLiteral("7 x 5 in"), Qt::MatchContains);
        ASSERT_FALSE(found.isEmpty());
        wizard->ui.size_list->setCurrentItem(found.first());
        wizard->ui.shape_rounded_rd->setChecked(true);
        wizard->ui.background_gallery->setCurrentIndex(wizard->ui.background_gallery->model()->index(0, 0));
        wizard->ui.title_edit->setText(QStringLiteral("  Happy Birthday!  "));
        wizard->ui.to_edit->setText(QStringLiteral("Anna"));
        wizard->ui.message_edit->setPlainText(QStringLiteral("Come and celebrate with us."));
        wizard->ui.venue_edit->setPlainText(QStringLiteral("The Old Mill"));
        wizard->ui.from_edit->setText(QStringLiteral("Ben"));
    });
    ASSERT_TRUE(m_window->windowDidLoad());

    EXPECT_EQ(m_window->cardSize().toSize(), QSize(360, 504));
    EXPECT_EQ(Card_Shape.load(), 1);

    ASSERT_EQ(m_document.graphics.size(), 6);
    EXPECT_EQ(m_document.graphics.first()->control_ID, QStringLiteral("PARTY_FROM"));   // last placed is topmost
    const GraphicPtr title = findById("PARTY_TITLE");
    EXPECT_EQ(title->bounds(), QRectF(40, 40, 280, 30));
    EXPECT_TRUE(title->Text_Value == QLatin1String("Happy Birthday!") && title->text_alignmnet == 2);
    EXPECT_EQ(title->text_ctrl_font.postScriptName, QStringLiteral("TimesNewRomanPS-BoldItalicMT"));
    for (const auto &[id, x, y] : {std::tuple{"PARTY_TO", 30, 90}, {"PARTY_MSG", 50, 120}, {"PARTY_DATE", 30, 200},
                                   {"PARTY_VENUE", 30, 230}, {"PARTY_FROM", 40, 300}})
        EXPECT_EQ(findById(QLatin1String(id))->bounds().topLeft(), QPointF(x, y)) << id;
    EXPECT_TRUE(findById("PARTY_DATE")->Text_Value.contains(QStringLiteral(" at ")));
    EXPECT_EQ(findById("PARTY_FROM")->text_alignmnet, 1);

    // None of it can be undone, and the wizard's picture is the front background.
    EXPECT_FALSE(m_document.undoManager()->canUndo());
    const Card_Property &front = m_window->Front_card_Prop;
    EXPECT_TRUE(front.Card_fill_chk && front.Card_fill_style == QLatin1String("I") && !front.Card_BG_Image.isNull());
    EXPECT_EQ(m_window->Selected_Control_Tool(), 0);   // the panel went back to the arrow
}

TEST_F(StartUp, WizardWithNoAnswersPlacesNothing)
{
    finishWizard([](Invitation_Wizard *wizard) {
        wizard->ui.date_chk->setChecked(false);
        wizard->ui.time_chk->setChecked(false);
    });
    ASSERT_TRUE(m_window->windowDidLoad());
    EXPECT_TRUE(m_document.graphics.isEmpty());
    EXPECT_FALSE(m_window->Front_card_Prop.Card_fill_chk);
}

TEST_F(StartUp, ADesignGivenAtStartOpensInsteadOfTheStartScreen)
{
    const QDir folder(m_resources.path());
    const QString party = folder.filePath(QStringLiteral("party.dcard"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FESTILOOM_SOURCE_DIR "/resources/seed/Templates/Starry Night Celebration.dcard"), party));
    const QString damaged = folder.filePath(QStringLiteral("damaged.dcard"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>");
    file.close();

    struct Row
    {
        QString path;
        bool opens;   // else the reader's message, then the start screen
    };
    for (const Row &row : {Row{party, true}, Row{damaged, false}, Row{folder.filePath("missing.dcard"), false}}) {
        SCOPED_TRACE(row.path.toStdString());
        LMNDocument document;
        LMNWindowController window(&document);
        ScriptedModalSeam seam;
        if (!row.opens)
            seam.onDialog([](QDialog *) { return int(QDialog::Rejected); });
        EXPECT_EQ(window.windowDidLoad(row.path), row.opens);
        if (row.opens) {
            EXPECT_TRUE(seam.dialogsRun.isEmpty());
            EXPECT_EQ(window.designFilePath(), party);
            EXPECT_EQ(window.windowTitle(), QStringLiteral("party - Festiloom"));
            EXPECT_FALSE(document.graphics.isEmpty());
            EXPECT_FALSE(window.files()->hasUnsavedChanges());
        } else {
            ASSERT_EQ(seam.messages.size(), 1);
            EXPECT_TRUE(seam.messageTexts().first().contains(QFileInfo(row.path).fileName()));
            ASSERT_EQ(seam.dialogsRun.size(), 1);
            EXPECT_NE(qobject_cast<Invitation_Wizard *>(seam.dialogsRun.first()), nullptr);
        }
    }
}

// The start screen's own background picture is checked as the card will read it: a file of a
// kind not read (an SVG naming a picture of this disk, whatever its name) is refused saying
// why, and the gallery keeps what it had; a picture of a kind read is added and chosen.
TEST_F(StartUp, ABrowsedBackgroundIsTakenOnlyAsAKindRead)
{
    const QDir folder(m_resources.path());
    const QString local = TestHelpers::writeFile(folder.filePath(QStringLiteral("local.png")), BigPictures::smallPng(Qt::red));
    struct Row
    {
        QString file;
        QString message;   // "" when the picture is taken
    };
    const Row rows[] = {
        {TestHelpers::writeFile(folder.filePath(QStringLiteral("party.png")), ForeignPictures::svgNaming(local)),
         QStringLiteral("The file \"party.png\" is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF.")},
        {TestHelpers::writeFile(folder.filePath(QStringLiteral("garden.gif")),
                                ForeignPictures::writtenByPillow(QStringLiteral("GIF"), QStringLiteral("green"))),
         QString()},
    };
    Invitation_Wizard start(m_window.get());
    QAbstractItemView *gallery = start.ui.background_gallery;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        m_seam.messages.clear();
        const int before = gallery->model()->rowCount();
        m_seam.chooseFiles({row.file});
        start.ui.background_browse_btn->click();
        if (row.message.isEmpty()) {
            EXPECT_TRUE(m_seam.messages.isEmpty());
            ASSERT_EQ(gallery->model()->rowCount(), before + 1);
            EXPECT_EQ(gallery->currentIndex().data().toString(), QFileInfo(row.file).completeBaseName());
            EXPECT_FALSE(gallery->currentIndex().data(Qt::DecorationRole).value<QIcon>().isNull());
            continue;
        }
        EXPECT_EQ(gallery->model()->rowCount(), before);
        ASSERT_EQ(m_seam.messages.size(), 1);
        EXPECT_EQ(m_seam.messages.first().text.trimmed(), row.message);
    }
}
