// Design files, templates, sides and the card pages, through the real editor window.

#include "EditorWindowFixture.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/SpreadsheetTable.h"
#include "document/DocumentGlobals.h"
#include "document/LMNGraphicArchive.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/DesignFile.h"
#include "editor/ui/DesignFileCommands.h"
#include "editor/ui/Template_Wizard.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/DataSourcePage.h"
#include "panels/ui/SettingsPanel.h"
#include "support/TestHelpers.h"

#include <QDockWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>

#include <plist/plist.h>

namespace {

using EditorWindow = EditorWindowFixture;

// Every field of every element, as the archive writes them: equal archives mean equal elements.
QByteArray archiveOf(const GraphicList &graphics)
{
    return LMNGraphicArchive::encodeList(graphics, false);
}

} // namespace

TEST_F(EditorWindow, SavedDesignOpensAgainWithEverything)
{
    startWithCard();
    m_window->setSelected_Control_Tool(3);
    m_window->_graphicView->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(20, 30, 60, 40),
                                                 QStringLiteral("F"), QString(), QString());
    m_window->setSelected_Control_Tool(2);
    m_window->_graphicView_BACK->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(10, 10, 100, 20),
                                                      QStringLiteral("B"), QStringLiteral("On the back"),
                                                      QStringLiteral("BACK_NOTE"));
    m_window->Front_card_Prop.Card_border_chk = true;
    m_window->Front_card_Prop.Card_border_style = QStringLiteral("DD");
    m_window->Back_card_Prop.Card_fill_chk = true;
    m_window->Back_card_Prop.Card_fill_style = QStringLiteral("G");
    Card_Shape = 2;
    SpreadsheetTable records;
    records.titles = QStringList{QStringLiteral("No."), QStringLiteral("Guest"), QStringLiteral("Städte")};
    records.appendRecord({QStringLiteral("Ann"), QStringLiteral("Köln")}, 2);
    records.appendRecord({QString(), QStringLiteral("Oslo")}, 2);
    SpreadsheetTable::live() = records;
    Excel_Binding_Use = true;
    Excel_Source_Path = QStringLiteral("/home/ann/guests.xlsx");

    const QByteArray front = archiveOf(m_document.graphics);
    const QByteArray back = archiveOf(m_document.graphics_back);
    const Card_Property frontRecord = m_window->Front_card_Prop;
    const QString path = QDir(m_resources.path()).filePath(QStringLiteral("party.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(path));

    // Start over, then open what was saved.
    m_window->New_Project_Setting_Reset();
    SpreadsheetTable::live() = SpreadsheetTable();
    Excel_Binding_Use = false;
    Excel_Source_Path.clear();
    ASSERT_TRUE(m_document.graphics.isEmpty());
    ASSERT_TRUE(m_window->Read_and_load_design_Log(path, true));

    EXPECT_EQ(archiveOf(m_document.graphics), front);
    EXPECT_EQ(archiveOf(m_document.graphics_back), back);
    EXPECT_EQ(Card_Shape.load(), 2);
    const Card_Property &opened = m_window->Front_card_Prop;
    EXPECT_TRUE(opened.Card_border_chk && opened.Card_border_style == "DD" && opened.Card_Size == frontRecord.Card_Size);
    EXPECT_EQ(m_window->Back_card_Prop.Card_fill_style, QStringLiteral("G"));
    EXPECT_EQ(m_window->designFilePath(), path);
    EXPECT_EQ(m_window->cardSize(), frontRecord.Card_Size);
    EXPECT_EQ(SpreadsheetTable::live(), records);
    EXPECT_TRUE(Excel_Binding_Use && Excel_Source_Path == "/home/ann/guests.xlsx");
    EXPECT_TRUE(m_seam.messages.isEmpty()) << m_seam.messageTexts().join(QLatin1Char('|')).toStdString();
    SpreadsheetTable::live() = SpreadsheetTable();
    Excel_Binding_Use = false;
    Excel_Source_Path.clear();
}

TEST_F(EditorWindow, SaveAsTemplateWritesDesignAndPreviewForTheGallery)
{
    startWithCard();
    ASSERT_TRUE(m_window->saveAsTemplate(QStringLiteral("My Party")));
    const QDir user(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    ASSERT_TRUE(QFileInfo(user.filePath(QStringLiteral("My Party.dcard"))).isFile());
    const QImage preview(user.filePath(QStringLiteral("My Party.png")));
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview.width(), qCeil(m_window->cardSize().width()));
    EXPECT_TRUE(Template_Wizard::templateFiles(QDir(Resource_Path).filePath(QStringLiteral("Templates")))
                    .contains(user.filePath(QStringLiteral("My Party.dcard"))));

    // A name that would leave the folder is cleaned, never followed.
    ASSERT_TRUE(m_window->saveAsTemplate(QStringLiteral("../../Escape")));
    EXPECT_TRUE(QFileInfo(user.filePath(QStringLiteral("....Escape.dcard"))).isFile()
                || QFileInfo(user.filePath(QStringLiteral("Escape.dcard"))).isFile());
    EXPECT_FALSE(QFileInfo(QDir(Resource_Path).filePath(QStringLiteral("Escape.dcard"))).exists());
}

TEST_F(EditorWindow, SidesSwitchCanvasLabelAndSideInWorkAndCardPagesAreReadBackIntoIt)
{
    startWithCard();
    m_window->Select_back_side();
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);
    EXPECT_EQ(m_window->Front_back_label->text(), QStringLiteral("Back"));
    EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView_BACK);

    m_window->Select_temp_design_side();
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);   // the working side previews the back
    EXPECT_EQ(m_window->Front_back_label->text(), QStringLiteral("TEMP"));
    EXPECT_EQ(m_document.graphics_temp, m_document.graphics_back);

    m_window->Select_front_side();
    EXPECT_EQ(Card_Front_Or_Back.load(), 0);
    EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView);

    SettingsPanel *panel = m_window->settingsPanel();
    m_window->Select_back_side();

    panel->ui.Card_border_chk->click();   // the border page is not the visible tab
    EXPECT_TRUE(m_window->Back_card_Prop.Card_border_chk);
    EXPECT_FALSE(m_window->Front_card_Prop.Card_border_chk);
    EXPECT_EQ(m_window->Back_card_Prop.Card_Side_Name, QStringLiteral("B"));

    // The back keeps a special fill only while its fill is on.
    panel->ui.Card_gradient_fill_rd->setChecked(true);
    panel->ui.card_name->setText(QStringLiteral("   "));
    m_window->Update_Card_Graphics();
    EXPECT_EQ(m_window->Back_card_Prop.Card_fill_style, QStringLiteral("S"));
    EXPECT_EQ(m_window->Back_card_Prop.Card_Name, QStringLiteral("Untitled"));

    panel->ui.Card_alpha_Stepper->setValue(50);
    panel->ui.Card_fill_chk->click();
    EXPECT_TRUE(m_window->Back_card_Prop.Card_fill_chk);
    EXPECT_FLOAT_EQ(m_window->Back_card_Prop.Card_alpha_Stepper, 0.5f);
    EXPECT_NEAR(m_window->Back_card_Prop.Card_fill_clr.alphaF(), 0.5, 0.01);

    // While the panel is being loaded nothing is written back.
    Not_Draw_Only_Prop_Change = true;
    panel->ui.Card_border_chk->setChecked(false);
    m_window->Update_Card_Graphics();
    Not_Draw_Only_Prop_Change = false;
    EXPECT_TRUE(m_window->Back_card_Prop.Card_border_chk);
}

TEST_F(EditorWindow, ChoosingACardSizeResizesEveryCanvas)
{
    startWithCard();
    SettingsPanel *panel = m_window->settingsPanel();
    panel->ui.Category_ComboBox->setCurrentText(QStringLiteral("PVC Card"));
    m_window->fillCardSizeList(QStringLiteral("PVC Card"));
    EXPECT_EQ(m_window->Get_Item_Text(0), QStringLiteral("CR80-Credit Card Size"));
    m_window->Mark_List_New_Selection(0);
    EXPECT_NEAR(m_window->cardSize().width(), 85.6 * 2.834645669291, 0.01);
    EXPECT_EQ(m_window->_graphicView_BACK->canvasSize(), m_window->cardSize());
    EXPECT_EQ(m_window->_graphicView_TEMP->canvasSize(), m_window->cardSize());
    EXPECT_EQ(m_window->Front_card_Prop.Card_Sub_Category, QStringLiteral("CR80-Credit Card Size"));
    EXPECT_EQ(m_window->Front_card_Prop.Card_Cat_index, 0);
    EXPECT_TRUE(m_window->Get_Item_Text(99).isEmpty());
}

TEST_F(EditorWindow, DataSourceHelpButtonsShowTheBatchHelp)
{
    startWithCard();
    // The settings panel's source page and the barcode designer's data-source row.
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(m_window->settingsPanel()->ui.datasource_tab->ui.data_source_help_btn),
                                    static_cast<QAbstractButton *>(Barcode_Gen::defaultInstance()->ui.data_source_help_btn)}) {
        SCOPED_TRACE(button->window()->metaObject()->className());
        QString title, text;
        m_seam.onDialog([&](QDialog *dialog) {
            title = dialog->findChild<QLabel *>(QStringLiteral("title_lbl"))->text();
            text = dialog->findChild<QPlainTextEdit *>(QStringLiteral("msg_txt"))->toPlainText();
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(title, QStringLiteral("Batch Processing Settings Help :"));
        EXPECT_TRUE(text.startsWith(QStringLiteral("Select Data Source as 'Manual' to enter value manually"))) << text.toStdString();
    }
}

// At every width the editor allows, the card's canvas is wider than either panel beside it: the Backgrounds strip gives way first, then the settings column, which scrolls what it
// cannot show; neither is cut. Where the window has room the panels keep their own widths.
TEST_F(EditorWindow, TheCanvasKeepsTheLargestShareAtEveryWidth)
{
    startWithCard();
    m_window->show();
    auto *strip = m_window->findChild<QDockWidget *>(QStringLiteral("background_gallery_dock"));
    auto *canvas = m_window->findChild<QWidget *>(QStringLiteral("canvas_column"));
    auto *settings = m_window->findChild<QScrollArea *>(QStringLiteral("settings_scroll"));
    ASSERT_TRUE(strip && canvas && settings);
    EXPECT_EQ(m_window->minimumSizeHint().expandedTo(m_window->minimumSize()).width(), 540);
    auto *thumbnails = strip->findChild<QAbstractScrollArea *>();
    ASSERT_NE(thumbnails, nullptr);
    for (int width = 540; width <= 1600; width += 20) {
        SCOPED_TRACE(width);
        m_window->resize(width, 700);
        QCoreApplication::processEvents();
        ASSERT_EQ(m_window->width(), width);
        EXPECT_GT(canvas->width(), strip->width());
        EXPECT_GT(canvas->width(), settings->width());
        // Every column lies inside the window.
        for (QWidget *column : {static_cast<QWidget *>(strip), canvas, static_cast<QWidget *>(settings)})
            EXPECT_TRUE(m_window->rect().contains(QRect(column->mapTo(m_window.get(), QPoint()), column->size())));
        // The settings panel is never squeezed below its content: the column scrolls instead.
        EXPECT_GE(m_window->settingsPanel()->width(), m_window->settingsPanel()->minimumSizeHint().width());
        EXPECT_FALSE(thumbnails->horizontalScrollBar()->isVisible());
        if (width >= 1280) {   // room for all: the panels' own widths
            EXPECT_EQ(strip->width(), strip->sizeHint().width());
            EXPECT_EQ(settings->width(), 340);
        }
    }
}

namespace {

// A drag with the left button held, as a user's hand makes it, on `widget` from `from` by `by`.
void drag(QWidget *widget, QPoint from, QPoint by)
{
    const auto send = [widget](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, {});
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        send(QEvent::MouseMove, from + by * step / 4, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
}

} // namespace

// A panel the user dragged wider keeps that width when the window is resized, as long as the
// canvas stays the widest column; a narrow window still takes it back.
TEST_F(EditorWindow, APanelTheUserWidenedKeepsItsWidthWhereTheWindowHasRoom)
{
    startWithCard();
    m_window->show();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    auto *strip = m_window->findChild<QDockWidget *>(QStringLiteral("background_gallery_dock"));
    auto *splitter = m_window->findChild<QSplitter *>(QStringLiteral("main_splitter"));
    auto *canvas = m_window->findChild<QWidget *>(QStringLiteral("canvas_column"));
    auto *settings = m_window->findChild<QScrollArea *>(QStringLiteral("settings_scroll"));
    ASSERT_TRUE(strip && splitter && canvas && settings);
    m_window->resize(1600, 700);
    QCoreApplication::processEvents();
    const int stripBefore = strip->width();
    const int settingsBefore = settings->width();
    // The strip's edge is moved as the window's separator moves it (the window's layout resizes
    // the dock and nothing else); the splitter's handle is dragged.
    m_window->resizeDocks({strip}, {stripBefore + 80}, Qt::Horizontal);
    QCoreApplication::processEvents();
    drag(splitter->handle(1), splitter->handle(1)->rect().center(), QPoint(20, 0));
    const int stripWidth = strip->width();
    const int settingsWidth = settings->width();
    ASSERT_GT(stripWidth, stripBefore + 40);
    ASSERT_LT(settingsWidth, settingsBefore - 10);
    for (const int width : {1500, 1300, 1600}) {
        SCOPED_TRACE(width);
        m_window->resize(width, 700);
        QCoreApplication::processEvents();
        EXPECT_EQ(strip->width(), stripWidth);
        EXPECT_EQ(settings->width(), settingsWidth);
    }
    m_window->resize(700, 700);
    QCoreApplication::processEvents();
    EXPECT_GT(canvas->width(), strip->width());
    EXPECT_GT(canvas->width(), settings->width());
}

TEST(EditorStartUp, AResourceFolderThatCannotBeMadeEndsTheApplication)
{
    QTemporaryDir scratch;
    const QString blocker = TestHelpers::writeFile(QDir(scratch.path()).filePath(QStringLiteral("file")));
    qputenv("FESTILOOM_RESOURCE_DIR", QDir(blocker).filePath(QStringLiteral("resources")).toUtf8());

    ScriptedModalSeam seam;
    LMNDocument document;
    LMNWindowController window(&document);
    EXPECT_FALSE(window.windowDidLoad());
    ASSERT_EQ(seam.messages.size(), 1);
    EXPECT_TRUE(seam.messages.first().text.contains(QStringLiteral("resource folder")));
    EXPECT_TRUE(seam.dialogsRun.isEmpty());   // the start screen never came
}
