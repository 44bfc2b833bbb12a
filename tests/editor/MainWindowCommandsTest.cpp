// The editor window's wiring: every command triggered through its QAction, as a click or a
// shortcut would, and its effect read back from the design; the save question before the
// design is dropped.

#include "EditorWindowFixture.h"

#include "document/DocumentGlobals.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNGrid.h"
#include "document/ui/LMNDeskView.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/DesignFile.h"
#include "editor/ResourceFolder.h"
#include "editor/WindowPlacement.h"
#include "editor/ui/DesignFileCommands.h"
#include "editor/ui/Grid_Wizard.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/Image_Library.h"
#include "panels/ui/SettingsPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QMimeData>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QToolBar>
#include <QUndoStack>
#include <QWheelEvent>

#include <set>

namespace {

const QString kSaveQuestion = QStringLiteral("Do you want to save changes before closing?");

QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

class MainWindowCommands : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        m_window->show();   // the desks know their room once shown
        m_document.graphics.clear();
        // `ref` is the topmost element: the one the others are aligned to.
        m_window->setSelected_Control_Tool(3);
        canvas()->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(10, 10, 20, 10), QStringLiteral("F"),
                                       QString(), QString());
        m_window->setSelected_Control_Tool(2);
        canvas()->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(100, 50, 40, 30), QStringLiteral("F"),
                                       QStringLiteral("Hello"), QStringLiteral("HELLO"));
        ASSERT_EQ(m_document.graphics.size(), 2);
        ref = findById(QStringLiteral("HELLO"));
        ASSERT_EQ(m_document.graphics.first(), ref);
        other = m_document.graphics.last();
        m_window->selectArrowTool();
        m_document.undoManager()->clear();
        QGuiApplication::clipboard()->clear();
    }

    LMNGraphicView *canvas() const { return m_window->_graphicView; }

    QAction *action(const QString &text) const
    {
        for (QAction *menu : m_window->menuBar()->actions())
            for (QAction *a : menu->menu()->actions())
                if (plain(a->text()) == text)
                    return a;
        ADD_FAILURE() << "no command " << text.toStdString();
        return nullptr;
    }

    void trigger(const QString &text)
    {
        if (QAction *a = action(text)) {
            EXPECT_TRUE(a->isEnabled()) << text.toStdString();
            a->trigger();
        }
    }

    void selectRefAndOther() { canvas()->selectGraphics({ref, other}); }
    QToolBar *toolBar(const char *name) const { return m_window->findChild<QToolBar *>(QLatin1String(name)); }

    GraphicPtr ref;
    GraphicPtr other;
};

} // namespace

// One row per command; a command wired to another slot fails its row.
TEST_F(MainWindowCommands, EveryMenuCommandDoesWhatItsNameSays)
{
    const QRectF r(100, 50, 40, 30);   // ref
    const QRectF o(10, 10, 20, 10);    // other
    struct Row
    {
        const char *command;
        std::function<void()> arrange;
        std::function<void()> check;
    };
    auto selectBoth = [this] { canvas()->selectGraphics({other, ref}); };   // list order decides, not selection order
    auto selectOnlyOther = [this] { canvas()->selectGraphics({other}); };
    auto otherBecomes = [this](const QRectF &expected) { return [this, expected] { EXPECT_EQ(other->bounds(), expected); }; };
    const QSizeF card = m_window->cardSize();

    const std::vector<Row> rows = {
        {"Align Left Edges", selectBoth, otherBecomes(QRectF(100, 10, 20, 10))},
        {"Align Right Edges", selectBoth, otherBecomes(QRectF(120, 10, 20, 10))},
        {"Align Top Edges", selectBoth, otherBecomes(QRectF(10, 50, 20, 10))},
        {"Align Bottom Edges", selectBoth, otherBecomes(QRectF(10, 70, 20, 10))},
        {"Align Horizontal Centres", selectBoth, otherBecomes(QRectF(110, 10, 20, 10))},
        {"Align Vertical Centres", selectBoth, otherBecomes(QRectF(10, 60, 20, 10))},
        {"Same Width", selectBoth, otherBecomes(QRectF(10, 10, 40, 10))},
        {"Same Height", selectBoth, otherBecomes(QRectF(10, 10, 20, 30))},
        {"Centre on Card", selectBoth,
         [&] { EXPECT_EQ(ref->bounds(), QRectF((card.width() - 40) / 2, (card.height() - 30) / 2, 40, 30)); }},
        {"Natural Size", selectBoth,
         [&] {
             EXPECT_EQ(other->bounds(), o);   // a shape has no size of its own
             EXPECT_EQ(ref->bounds().topLeft(), r.topLeft());
             EXPECT_NE(ref->bounds().size(), r.size());
         }},
        {"Align with Grid",
         [this] {
             m_window->grid->_spacing = 25;
             m_window->grid->setAlwaysShown(true);
             selectRefAndOther();
         },
         [this] {
             EXPECT_EQ(ref->bounds(), QRectF(100, 50, 50, 25));
             EXPECT_EQ(other->bounds(), QRectF(0, 0, 25, 25));
         }},
        {"Snap to Grid", [this] { m_window->grid->setConstraining(false); },
         [this] { EXPECT_TRUE(m_window->grid->isConstraining()); }},
        {"Select All", {}, [this] { EXPECT_EQ(canvas()->selectedGraphics().size(), 2); }},
        {"Delete", selectOnlyOther, [this] { EXPECT_EQ(m_document.graphics, GraphicList{ref}); }},
        {"Cut", selectOnlyOther,
         [this] {
             EXPECT_EQ(m_document.graphics, GraphicList{ref});
             EXPECT_TRUE(canvas()->canPaste());
         }},
        {"Copy", selectOnlyOther,
         [this] {
             EXPECT_EQ(m_document.graphics.size(), 2);
             EXPECT_TRUE(canvas()->canPaste());
         }},
        {"Paste",
         [this] {
             canvas()->selectGraphics({other});
             canvas()->copy();
         },
         [this] { EXPECT_EQ(m_document.graphics.size(), 3); }},
        {"Duplicate", selectOnlyOther,
         [&] {
             ASSERT_EQ(m_document.graphics.size(), 3);
             const QRectF copy = m_document.graphics.first()->bounds();
             EXPECT_NE(copy, o);   // the copy lies beside its original
             EXPECT_EQ(copy.size(), o.size());
         }},
        // Undo and Redo name the step they take back or again.
        {"Undo Delete",
         [this] {
             canvas()->selectGraphics({other});
             canvas()->deleteSelection();
         },
         [this] { EXPECT_EQ(m_document.graphics.size(), 2); }},
        {"Redo Delete",
         [this] {
             canvas()->selectGraphics({other});
             canvas()->deleteSelection();
             m_document.undoManager()->undo();
         },
         [this] { EXPECT_EQ(m_document.graphics.size(), 1); }},
        {"Back Side", {},
         [this] {
             EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView_BACK);
             EXPECT_EQ(Card_Front_Or_Back.load(), 1);
         }},
        {"Front Side", [this] { m_window->Select_back_side(); },
         [this] {
             EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView);
             EXPECT_EQ(Card_Front_Or_Back.load(), 0);
         }},
        {"Working Side", {},
         [this] {
             EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView_TEMP);
             EXPECT_EQ(m_document.graphics_temp, m_document.graphics);
         }},
        {"Zoom In", [this] { canvas()->setZoom(1.0); }, [this] { EXPECT_GT(canvas()->zoom(), 1.0); }},
        {"Zoom Out", [this] { canvas()->setZoom(1.0); }, [this] { EXPECT_LT(canvas()->zoom(), 1.0); }},
        {"Actual Size", [this] { canvas()->setZoom(3.0); }, [this] { EXPECT_EQ(canvas()->zoom(), 1.0); }},
        {"Fit Card in Window", [this] { canvas()->setZoom(LMNGraphicView::MinimumZoom); },
         [this] {
             // The card fills the view: within the margin of it in one direction, inside it in both.
             const QSize room = canvas()->parentWidget()->size() - canvas()->size();
             EXPECT_GE(std::min(room.width(), room.height()), 2 * LMNDeskView::FitMargin - 1);
             EXPECT_LE(std::min(room.width(), room.height()), 2 * LMNDeskView::FitMargin + 1);
             EXPECT_EQ(m_window->findChild<QLabel *>("zoom_label")->text(),
                       QStringLiteral("Zoom %1%").arg(qRound(canvas()->zoom() * 100)));
         }},
        {"Grid…", [this] { m_seam.onDialog([](QDialog *) { return int(QDialog::Rejected); }); },
         [this] {
             ASSERT_FALSE(m_seam.dialogsRun.isEmpty());
             EXPECT_NE(qobject_cast<Grid_Wizard *>(m_seam.dialogsRun.last()), nullptr);
         }},
    };

    // Every command of the editor's menus is in the table, or tested elsewhere: the file
    // commands below, those of other subsystems' windows with those windows.
    // Undo and Redo read so with nothing to name, as at the end.
    std::set<QString> tested = {"New",  "Open…", "Save", "Save As…", "Save as Template…", "Exit", "Export…", "Print…", "Mail…",
                                "Undo", "Redo"};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.command);
        tested.insert(QString::fromUtf8(row.command));
        // Every row starts from the same two elements, nothing selected, the front in work.
        m_window->Select_front_side();
        m_window->grid->setAlwaysShown(false);
        m_window->grid->_spacing = 9;
        ref->setBounds(r);
        other->setBounds(o);
        m_document.graphics = {ref, other};
        m_document.undoManager()->clear();
        canvas()->Clear_Control_Selection();
        if (row.arrange)
            row.arrange();
        trigger(QString::fromUtf8(row.command));
        row.check();
    }
    for (const QString &menu : {QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Arrange"), QStringLiteral("View")})
        for (QAction *m : m_window->menuBar()->actions())
            if (plain(m->text()) == menu) {
                for (QAction *a : m->menu()->actions())
                    EXPECT_TRUE(a->isSeparator() || tested.count(plain(a->text()))) << "untested " << plain(a->text()).toStdString();
            }
}

TEST_F(MainWindowCommands, WindowOpensOverTheScreenAndKeepsItsPlaceForTheNextRun)
{
    EXPECT_EQ(m_window->size(), QGuiApplication::primaryScreen()->availableGeometry().size());
    const QRect moved(30, 20, 720, 640);
    m_window->setGeometry(moved);
    m_seam.answerMessages({QStringLiteral("No")});   // the card was never saved
    m_seam.onDialog([](QDialog *) { return int(QDialog::Accepted); });   // the review window
    m_window->Exit_App();

    m_window.reset();
    LMNDocument next;
    m_window = std::make_unique<LMNWindowController>(&next);
    startWithCard();
    EXPECT_EQ(m_window->geometry(), moved);
    m_window.reset();
}

TEST_F(MainWindowCommands, ARememberedPlaceOffTheScreenIsBroughtBackOntoIt)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget elsewhere;
    elsewhere.setGeometry(available.right() - 100, available.bottom() - 50, available.width() + 400, 500);
    ResourceFolder::rememberWindowGeometry(m_resources.path(), elsewhere.saveGeometry());
    m_window.reset();
    LMNDocument next;
    m_window = std::make_unique<LMNWindowController>(&next);
    startWithCard();
    EXPECT_TRUE(available.contains(m_window->frameGeometry()));
    m_window.reset();
}

TEST(WindowPlacement, TheFrameIsKeptInsideTheAvailableArea)
{
    const QRect available(0, 30, 1920, 1050);   // a panel above
    const QMargins frame(4, 28, 4, 4);
    struct Row
    {
        const char *name;
        QRect wanted;
        QRect expected;
    };
    const Row rows[] = {
        {"inside: kept", QRect(100, 100, 800, 600), QRect(100, 100, 800, 600)},
        {"the whole area asked: the frame takes its share", available, QRect(4, 58, 1912, 1018)},
        {"title bar above the area: moved down", QRect(200, 40, 800, 600), QRect(200, 58, 800, 600)},
        {"running off the right and bottom: moved in", QRect(1500, 900, 800, 600), QRect(1116, 476, 800, 600)},
        {"off the left: moved in", QRect(-300, 300, 800, 600), QRect(4, 300, 800, 600)},
        {"larger than the screen: shrunk", QRect(-50, -50, 4000, 3000), QRect(4, 58, 1912, 1018)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QRect fitted = WindowPlacement::fitted(row.wanted, frame, available);
        EXPECT_EQ(fitted, row.expected);
        EXPECT_TRUE(available.contains(fitted.marginsAdded(frame)));
    }
    // No frame known yet: the client area itself is kept inside.
    EXPECT_EQ(WindowPlacement::fitted(QRect(0, 0, 1920, 1080), QMargins(), available), available);
}

TEST_F(MainWindowCommands, ToolsChosenFromTheToolBarDrawWithTheCanvas)
{
    QTemporaryDir dir;
    const QString picture = QDir(dir.path()).filePath(QStringLiteral("cake.png"));
    QImage(8, 8, QImage::Format_RGB32).save(picture);
    const QList<QAction *> tools = toolBar("tools_toolbar")->actions();
    ASSERT_EQ(tools.size(), 16);
    for (int tool = 0; tool < tools.size(); ++tool) {
        if (tool == 8)
            m_seam.chooseFiles({picture});   // the picture tools ask for their picture
        if (tool == 9)
            m_seam.onDialog([picture](QDialog *dialog) {   // ... from the picture library
                auto *library = qobject_cast<Image_Library *>(dialog);
                if (!library)
                    return int(QDialog::Rejected);
                library->selected_image = picture;
                library->ui.ok_btn->click();
                return library->result();
            });
        tools[tool]->trigger();
        EXPECT_TRUE(m_window->Selected_Control_Tool() == tool && tools[tool]->isChecked()) << tool;
    }
    EXPECT_EQ(Library_Selected_Image, picture);
    m_seam.chooseFiles({QString()});   // no picture chosen: back to the arrow
    tools[8]->trigger();
    EXPECT_TRUE(m_window->Selected_Control_Tool() == 0 && tools[0]->isChecked());

    // The rectangle tool, then a drag on the card: one new shape, and the arrow again.
    canvas()->setZoom(1.0);
    tools[3]->trigger();
    QTest::mousePress(canvas(), Qt::LeftButton, {}, QPoint(150, 100));
    QTest::mouseMove(canvas(), QPoint(190, 130));
    QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(190, 130));
    ASSERT_EQ(m_document.graphics.size(), 3);
    EXPECT_TRUE(m_document.graphics.first()->kind() == GraphicKind::Shape && m_document.graphics.first()->bounds() == QRectF(150, 100, 40, 30));
    EXPECT_EQ(m_window->Selected_Control_Tool(), 0);
}

TEST_F(MainWindowCommands, ControlAndTheMouseWheelZoomWhileThePlainWheelLeavesTheZoom)
{
    canvas()->setZoom(1.0);
    auto wheel = [this](Qt::KeyboardModifiers modifiers, int delta) {
        QWheelEvent event(QPointF(10, 10), canvas()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas(), &event);
    };
    wheel(Qt::NoModifier, 120);
    EXPECT_EQ(canvas()->zoom(), 1.0);
    wheel(Qt::ControlModifier, 120);
    EXPECT_GT(canvas()->zoom(), 1.0);
    wheel(Qt::ControlModifier, -240);
    EXPECT_LT(canvas()->zoom(), 1.0);
    for (int i = 0; i < 50; ++i)
        wheel(Qt::ControlModifier, 120);
    EXPECT_EQ(canvas()->zoom(), LMNGraphicView::MaximumZoom);
}

TEST_F(MainWindowCommands, AClickOnTheDeskAroundTheCardClearsTheSelection)
{
    m_window->fitCardInWindow();
    auto *desk = qobject_cast<LMNDeskView *>(canvas()->parentWidget()->parentWidget());
    ASSERT_NE(desk, nullptr);
    const QPoint outside(2, 2);
    ASSERT_FALSE(canvas()->geometry().contains(outside));
    selectRefAndOther();
    m_window->Show_RHS_Properties(ref);
    QTest::mouseClick(desk->viewport(), Qt::LeftButton, Qt::ShiftModifier, outside);   // extending: kept
    EXPECT_EQ(canvas()->selectedGraphics().size(), 2);
    QTest::mouseClick(desk->viewport(), Qt::LeftButton, {}, outside);
    EXPECT_TRUE(canvas()->selectedGraphics().isEmpty());
    EXPECT_EQ(m_window->settingsPanel()->Last_Selected_Graphic.lock(), nullptr);   // the card's pages
}

TEST_F(MainWindowCommands, ShortcutsReachTheirCommands)
{
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    canvas()->setFocus();
    QTest::keyClick(canvas(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(canvas()->selectedGraphics().size(), 2);
    QTest::keyClick(canvas(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView_BACK);
}

// Select All, by its command or its key, leaves the editor as selecting the same elements with
// the mouse does: the panel on the topmost element's pages and its edit buttons ready.
TEST_F(MainWindowCommands, SelectAllLeavesTheEditorAsTheMouseDoes)
{
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    SettingsPanel *panel = m_window->settingsPanel();
    const auto state = [&] {
        QStringList s{panel->ui.sel_control_name->text()};
        for (int i = 0; i < panel->ui.sett_tab->count(); ++i)
            s << panel->ui.sett_tab->tabText(i);
        for (QWidget *button : {static_cast<QWidget *>(panel->ui.Cut_btn), static_cast<QWidget *>(panel->ui.Copy_btn),
                                static_cast<QWidget *>(panel->ui.Delete_btn), static_cast<QWidget *>(panel->ui.Begin_Front_btn),
                                static_cast<QWidget *>(panel->ui.Send_Back_btn), static_cast<QWidget *>(panel->ui.Lock_btn),
                                static_cast<QWidget *>(panel->ui.Unlock_btn)})
            s << button->objectName() + (button->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
        for (const GraphicPtr &g : canvas()->selectedGraphics())
            s << g->control_ID;
        return s;
    };
    const auto at = [this](const GraphicPtr &g) { return canvas()->widgetFromPoint(g->bounds().center()).toPoint(); };
    struct Row
    {
        const char *name;
        std::function<void()> select;
    };
    const std::vector<Row> rows = {
        {"mouse",
         [&] {
             QTest::mouseClick(canvas(), Qt::LeftButton, {}, at(other));
             QTest::mouseClick(canvas(), Qt::LeftButton, Qt::ShiftModifier, at(ref));
         }},
        {"Edit menu", [&] { trigger(QStringLiteral("Select All")); }},
        {"Ctrl+A", [&] { QTest::keyClick(canvas(), Qt::Key_A, Qt::ControlModifier); }},
    };
    QStringList byMouse;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        m_window->Select_front_side();   // nothing selected, the card's pages
        canvas()->setFocus();
        const QStringList nothing = state();
        row.select();
        const QStringList selected = state();
        ASSERT_EQ(canvas()->selectedGraphics().size(), 2);
        EXPECT_NE(selected, nothing);
        EXPECT_EQ(panel->Last_Selected_Graphic.lock(), ref);
        EXPECT_TRUE(panel->ui.Cut_btn->isEnabled() && panel->ui.Lock_btn->isEnabled());
        if (byMouse.isEmpty())
            byMouse = selected;
        EXPECT_EQ(selected, byMouse);
    }
}

// Every side opens fitted to its desk as the front does; a zoom the user chose on a side stays
// with it while another side is in front.
TEST_F(MainWindowCommands, EverySideOpensFittedToTheWindow)
{
    QCoreApplication::processEvents();
    const auto fitted = [](LMNGraphicView *view) {
        const auto *desk = qobject_cast<LMNDeskView *>(view->parentWidget()->parentWidget());
        const QSizeF room = QSizeF(desk->viewport()->size()) - QSizeF(2 * LMNDeskView::FitMargin, 2 * LMNDeskView::FitMargin);
        const QSizeF card = view->canvasSize();
        return std::min(room.width() / card.width(), room.height() / card.height());
    };
    // Scroll bars that go as the card shrinks give the desk a little more room than it had.
    const auto expectFitted = [&](LMNGraphicView *view) { EXPECT_NEAR(view->zoom(), fitted(view), 0.03 * fitted(view)); };
    ASSERT_GT(fitted(canvas()), 0.5);
    expectFitted(canvas());
    for (const char *side : {"Back Side", "Working Side", "Front Side"}) {
        SCOPED_TRACE(side);
        trigger(QString::fromLatin1(side));
        LMNGraphicView *view = m_window->currentCanvas();
        expectFitted(view);
        EXPECT_EQ(m_window->findChild<QLabel *>("zoom_label")->text(), QStringLiteral("Zoom %1%").arg(qRound(view->zoom() * 100)));
    }
    trigger(QStringLiteral("Back Side"));
    trigger(QStringLiteral("Actual Size"));
    trigger(QStringLiteral("Front Side"));
    trigger(QStringLiteral("Back Side"));
    EXPECT_DOUBLE_EQ(m_window->currentCanvas()->zoom(), 1.0);
}

TEST_F(MainWindowCommands, FileCommandsWriteAndReadTheDesign)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("party"));
    const QString saved = path + QStringLiteral(".") + DesignFile::Extension;

    m_seam.chooseFiles({path});
    trigger(QStringLiteral("Save"));   // untitled: asks where, adds the extension
    EXPECT_EQ(m_window->designFilePath(), saved);
    EXPECT_EQ(DesignFile::read(saved, nullptr).value_or(CardDesign()).graphics.size(), 2);

    canvas()->selectGraphics({other});
    canvas()->deleteSelection();
    trigger(QStringLiteral("Save"));   // titled: no question
    EXPECT_EQ(DesignFile::read(saved, nullptr)->graphics.size(), 1);

    const QString copy = QDir(dir.path()).filePath(QStringLiteral("copy.dcard"));
    m_seam.chooseFiles({copy});
    trigger(QStringLiteral("Save As…"));
    EXPECT_EQ(m_window->designFilePath(), copy);

    m_seam.onDialog([](QDialog *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        EXPECT_NE(input, nullptr);
        if (input)
            input->setTextValue(QStringLiteral("Mine"));
        return int(QDialog::Accepted);
    });
    trigger(QStringLiteral("Save as Template…"));
    EXPECT_TRUE(QFileInfo::exists(QDir(Resource_Path).filePath(QStringLiteral("Templates/User/Mine.dcard"))));

    m_seam.chooseFiles({saved});
    trigger(QStringLiteral("Open…"));
    EXPECT_TRUE(m_window->designFilePath() == saved && m_document.graphics.size() == 1);
    EXPECT_EQ(m_seam.fileCaptions,
              (QStringList{"Save Design", "Save Design", "Open Design"}));
    EXPECT_TRUE(m_seam.messages.isEmpty()) << m_seam.messageTexts().join('|').toStdString();
}

// Save As adds the design extension to a name typed without it; the file that gets written
// was asked about whenever it existed, and No leaves it as it was. Save as Template asks
// before it replaces a template of the same name.
TEST_F(MainWindowCommands, SavingOverAnExistingFileAsksAboutThatVeryFile)
{
    struct Row
    {
        const char *typed;
        const char *existing;   // holds "keep" before the save; nullptr: nothing there
        const char *answer;     // to the program's own question; nullptr: none may come
        const char *written;    // the design file afterwards; nullptr: nothing saved
    };
    // Enter presses the question's default button, No; a box closed without an answer is No.
    static constexpr const char *Enter = "<Enter>";
    const auto answer = [this](const char *text) {
        if (text && QLatin1String(text) != QLatin1String(Enter))
            m_seam.answerMessages({QString::fromUtf8(text)});
    };
    const QByteArray closedText = ScriptedModalSeam::CloseBox.toUtf8();
    const Row rows[] = {
        {"anna", "anna.dcard", "No", nullptr},
        {"anna", "anna.dcard", Enter, nullptr},
        {"anna", "anna.dcard", closedText.constData(), nullptr},
        {"anna", "anna.dcard", "Yes", "anna.dcard"},
        {"anna", "anna", nullptr, "anna.dcard"},            // the chooser asked about "anna", not written
        {"anna.dcard", "anna.dcard", nullptr, "anna.dcard"},   // the chooser asked about this one
        {"anna.DCARD", nullptr, nullptr, "anna.DCARD"},
        {"anna.v2", "anna.v2.dcard", "No", nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.typed << " over " << (row.existing ? row.existing : "nothing")
                                          << " answered " << (row.answer ? row.answer : "nothing"));
        QTemporaryDir dir;
        const QDir folder(dir.path());
        if (row.existing)
            TestHelpers::writeFile(folder.filePath(QString::fromUtf8(row.existing)), "keep");
        const QString pathBefore = m_window->designFilePath();
        m_seam.messages.clear();
        m_seam.chooseFiles({folder.filePath(QString::fromUtf8(row.typed))});
        answer(row.answer);
        trigger(QStringLiteral("Save As…"));

        QStringList expectedQuestions;
        if (row.answer)
            expectedQuestions.append(QStringLiteral("\"%1\" already exists. Do you want to replace it?").arg(row.existing));
        EXPECT_EQ(m_seam.messageTexts(), expectedQuestions);
        if (row.existing && (!row.written || QLatin1String(row.existing) != QLatin1String(row.written))) {
            EXPECT_EQ(TestHelpers::readFile(folder.filePath(QString::fromUtf8(row.existing))), "keep");
        }
        if (row.written) {
            const QString written = folder.filePath(QString::fromUtf8(row.written));
            EXPECT_EQ(m_window->designFilePath(), written);
            EXPECT_EQ(DesignFile::read(written, nullptr).value_or(CardDesign()).graphics.size(), 2);
        } else {
            EXPECT_EQ(m_window->designFilePath(), pathBefore);
        }
        QStringList files;   // nothing else is written beside them
        for (const char *name : {row.existing, row.written})
            if (name && !files.contains(QString::fromUtf8(name)))
                files.append(QString::fromUtf8(name));
        files.sort();
        EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name), files);
    }

    // Templates: a save under a name in use asks about the template there, its design or, where
    // that is missing, its preview picture; only Yes replaces it.
    const QDir templates(QDir(Resource_Path).filePath(QStringLiteral("Templates/User")));
    const auto saveTemplate = [this](const char *name) {
        m_seam.onDialog([name](QDialog *dialog) {
            if (auto *input = qobject_cast<QInputDialog *>(dialog))
                input->setTextValue(QString::fromUtf8(name));
            return int(QDialog::Accepted);
        });
        trigger(QStringLiteral("Save as Template…"));
    };
    const auto elementsIn = [&](const char *name) {
        const QString path = templates.filePath(QStringLiteral("%1.dcard").arg(name));
        return QFileInfo::exists(path) ? DesignFile::read(path, nullptr).value_or(CardDesign()).graphics.size() : -1;
    };
    m_seam.messages.clear();
    saveTemplate("Mine");
    EXPECT_TRUE(m_seam.messages.isEmpty());
    ASSERT_EQ(elementsIn("Mine"), 2);
    canvas()->selectGraphics({other});
    canvas()->deleteSelection();
    TestHelpers::writeFile(templates.filePath(QStringLiteral("Lone.png")), "keep");
    struct TemplateRow
    {
        const char *name, *answer, *askedAbout;
        qsizetype elementsAfter;   // in the template's design; -1: none there
    };
    const TemplateRow templateRows[] = {
        {"Mine", "No", "Mine.dcard", 2},  {"Mine", Enter, "Mine.dcard", 2},  {"Mine", closedText.constData(), "Mine.dcard", 2},
        {"Lone", "No", "Lone.png", -1},   {"Lone", Enter, "Lone.png", -1},   {"Lone", closedText.constData(), "Lone.png", -1},
        {"Mine", "Yes", "Mine.dcard", 1}, {"Lone", "Yes", "Lone.png", 1},
    };
    for (const TemplateRow &row : templateRows) {
        SCOPED_TRACE(::testing::Message() << "template " << row.name << " answered " << row.answer);
        m_seam.messages.clear();
        answer(row.answer);
        saveTemplate(row.name);
        EXPECT_EQ(m_seam.messageTexts(), QStringList{QStringLiteral("\"%1\" already exists. Do you want to replace it?").arg(row.askedAbout)});
        EXPECT_EQ(elementsIn(row.name), row.elementsAfter);
        // The lone preview is kept until the template replaces it with its own.
        EXPECT_EQ(TestHelpers::readFile(templates.filePath(QStringLiteral("Lone.png"))) == "keep",
                  row.elementsAfter == -1 || QLatin1String(row.name) == QLatin1String("Mine"));
    }
}

// --- The save question --------------------------------------------------------------------

namespace {

enum class Change { None, Empty, Background, SavedAfterEdit, UndoneEdit, Element, Record };
enum class Command { Exit, Close, New, Open };

struct SaveQuestionCase
{
    Change change;
    Command command;
    const char *answer;   // nullptr: the question must not come
    bool saveCancelled;   // "Yes", then the file chooser is cancelled
    bool goesOn;          // the command does what it was for
    bool inFile = false;  // the design was saved to its own file first (else it is in none)
};

std::ostream &operator<<(std::ostream &os, const SaveQuestionCase &c)
{
    return os << "change " << int(c.change) << " command " << int(c.command) << " answer "
              << (c.answer ? c.answer : "none") << (c.saveCancelled ? " save cancelled" : "")
              << (c.inFile ? " in a file" : " in no file");
}

class SaveQuestion : public MainWindowCommands, public ::testing::WithParamInterface<SaveQuestionCase>
{
};

} // namespace

TEST_P(SaveQuestion, IsAskedOnlyWhenSomethingWouldBeLostAndCancelKeepsEverything)
{
    const SaveQuestionCase c = GetParam();
    QTemporaryDir dir;
    const QString otherFile = QDir(dir.path()).filePath(QStringLiteral("other.dcard"));
    const QString savedAs = QDir(dir.path()).filePath(QStringLiteral("kept.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(otherFile));
    if (c.change == Change::Empty || c.change == Change::Background) {   // nothing on either side
        m_document.graphics.clear();
        m_document.graphics_back.clear();
        m_window->Front_card_Prop.Card_BG_Image_Path.clear();
        m_window->Back_card_Prop.Card_BG_Image_Path.clear();
        if (c.change == Change::Background)   // but a picture behind the front
            m_window->Front_card_Prop.Card_BG_Image_Path = QDir(dir.path()).filePath(QStringLiteral("behind.png"));
        m_window->files()->markSaved();
    }
    if (c.inFile) {
        m_seam.chooseFiles({QDir(dir.path()).filePath(QStringLiteral("mine.dcard"))});
        ASSERT_TRUE(m_window->files()->saveAs());
    }

    if (c.change == Change::Record) {
        m_window->settingsPanel()->ui.Card_border_chk->click();   // through the card page
        ASSERT_TRUE(m_window->Front_card_Prop.Card_border_chk);
    } else if (c.change != Change::None && c.change != Change::Empty) {
        canvas()->selectGraphics({other});
        canvas()->moveSelectionBy(QPointF(5, 5));
    }
    if (c.change == Change::UndoneEdit)
        trigger(QStringLiteral("Undo Move"));
    if (c.change == Change::SavedAfterEdit) {
        m_seam.chooseFiles({QDir(dir.path()).filePath(QStringLiteral("first.dcard"))});
        ASSERT_TRUE(m_window->files()->saveAs());
    }
    const QByteArray design = LMNGraphicArchive::encodeList(m_document.graphics, false);
    const Card_Property record = m_window->Front_card_Prop;
    const QString pathBefore = m_window->designFilePath();

    QStringList files;
    if (c.command == Command::Open)
        files.append(otherFile);   // Open asks for the file first
    if (c.answer && QLatin1String(c.answer) == QLatin1String("Yes") && pathBefore.isEmpty())
        files.append(c.saveCancelled ? QString() : savedAs);
    m_seam.chooseFiles(files);
    if (c.answer)
        m_seam.answerMessages({QString::fromUtf8(c.answer)});
    if (c.command == Command::New && c.goesOn)
        finishWizard();
    QSignalSpy ended(m_window.get(), &LMNWindowController::applicationEndRequested);
    const qsizetype dialogs = m_seam.dialogsRun.size();

    if (c.command == Command::Close)
        m_window->close();
    else
        trigger(c.command == Command::Exit ? QStringLiteral("Exit") : c.command == Command::New ? QStringLiteral("New") : QStringLiteral("Open…"));

    EXPECT_EQ(m_seam.messageTexts().count(kSaveQuestion), c.answer ? 1 : 0);
    if (c.answer && !m_seam.messages.isEmpty()) {
        EXPECT_EQ(m_seam.messages.last().buttons, (QStringList{"Yes", "No", "Cancel"}));
    }
    const bool ending = c.command == Command::Exit || c.command == Command::Close;
    EXPECT_EQ(ended.size(), ending && c.goesOn ? 1 : 0);
    const bool startScreenRun = std::any_of(m_seam.dialogsRun.begin() + dialogs, m_seam.dialogsRun.end(),
                                            [](QDialog *d) { return qobject_cast<Invitation_Wizard *>(d); });
    EXPECT_EQ(startScreenRun, c.command == Command::New && c.goesOn);
    if (c.command == Command::Open && c.goesOn) {
        EXPECT_EQ(m_window->designFilePath(), otherFile);
    }
    if (!c.goesOn) {   // the window and the design as they were
        EXPECT_EQ(LMNGraphicArchive::encodeList(m_document.graphics, false), design);
        EXPECT_TRUE(m_window->Front_card_Prop == record && m_window->designFilePath() == pathBefore);
    }
    if (c.answer && QLatin1String(c.answer) == QLatin1String("Yes") && !c.saveCancelled) {
        const auto written = DesignFile::read(pathBefore.isEmpty() ? savedAs : pathBefore, nullptr);
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(LMNGraphicArchive::encodeList(written->graphics, false), design);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EditorWindow, SaveQuestion,
    ::testing::Values(SaveQuestionCase{Change::None, Command::Exit, nullptr, false, true, true},
                      SaveQuestionCase{Change::None, Command::New, nullptr, false, true, true},
                      SaveQuestionCase{Change::Empty, Command::Exit, nullptr, false, true},
                      SaveQuestionCase{Change::Empty, Command::Open, nullptr, false, true},
                      SaveQuestionCase{Change::SavedAfterEdit, Command::Close, nullptr, false, true},
                      SaveQuestionCase{Change::UndoneEdit, Command::Open, nullptr, false, true, true},
                      // A card that was never saved is lost whole: every road out asks.
                      SaveQuestionCase{Change::None, Command::Exit, "Cancel", false, false},
                      SaveQuestionCase{Change::Background, Command::Exit, "Cancel", false, false},
                      SaveQuestionCase{Change::None, Command::Close, "No", false, true},
                      SaveQuestionCase{Change::None, Command::New, "Yes", false, true},
                      SaveQuestionCase{Change::None, Command::Open, "Cancel", false, false},
                      SaveQuestionCase{Change::UndoneEdit, Command::Close, "Cancel", false, false},
                      SaveQuestionCase{Change::Element, Command::Exit, "Yes", false, true, true},
                      SaveQuestionCase{Change::Element, Command::Exit, "Cancel", false, false},
                      SaveQuestionCase{Change::Element, Command::Close, "No", false, true},
                      SaveQuestionCase{Change::Element, Command::New, "Yes", true, false},
                      SaveQuestionCase{Change::Element, Command::Open, "Yes", false, true},
                      SaveQuestionCase{Change::Record, Command::New, "Cancel", false, false},
                      SaveQuestionCase{Change::Record, Command::Open, "Cancel", false, false},
                      SaveQuestionCase{Change::Record, Command::Close, "Yes", false, true},
                      SaveQuestionCase{Change::Record, Command::New, "No", false, true}));

// A Save whose folder has gone says why once and leaves the design unsaved: whatever would
// drop it next asks first. A later Save that works makes it saved again.
TEST_F(MainWindowCommands, AFailedSaveSaysWhyOnceAndLeavesTheDesignUnsaved)
{
    struct Row
    {
        Command command;
        const char *answer;   // to the save question
        bool goesOn;
    };
    const Row rows[] = {{Command::New, "Cancel", false}, {Command::Exit, "Cancel", false},
                        {Command::Open, "Cancel", false}, {Command::Close, "No", true}};
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << "command " << int(row.command));
        QTemporaryDir dir;
        const QString folder = QDir(dir.path()).filePath(QStringLiteral("cards"));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(QStringLiteral("party.dcard"));
        m_seam.chooseFiles({path});
        trigger(QStringLiteral("Save As…"));
        ASSERT_EQ(m_window->designFilePath(), path);
        ASSERT_TRUE(QDir(folder).removeRecursively());

        m_seam.messages.clear();
        trigger(QStringLiteral("Save"));
        ASSERT_EQ(m_seam.messages.size(), 1);
        const QString reason = m_seam.messages.first().text;
        EXPECT_EQ(reason.count(QStringLiteral("could not be saved")), 1) << reason.toStdString();
        EXPECT_EQ(reason.count(path), 1) << reason.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path));

        if (row.command == Command::Open)
            m_seam.chooseFiles({path});
        m_seam.answerMessages({QString::fromUtf8(row.answer)});
        QSignalSpy ended(m_window.get(), &LMNWindowController::applicationEndRequested);
        if (row.command == Command::Close)
            m_window->close();
        else
            trigger(row.command == Command::Exit ? QStringLiteral("Exit")
                    : row.command == Command::New ? QStringLiteral("New")
                                                  : QStringLiteral("Open…"));
        EXPECT_EQ(m_seam.messageTexts().mid(1), QStringList{kSaveQuestion});
        EXPECT_EQ(ended.size(), row.goesOn ? 1 : 0);
        EXPECT_EQ(m_window->designFilePath(), path);
        EXPECT_EQ(m_document.graphics.size(), 2);

        // The folder back: Save writes the design and nothing asks any more.
        ASSERT_TRUE(QDir().mkpath(folder));
        m_seam.messages.clear();
        trigger(QStringLiteral("Save"));
        EXPECT_TRUE(m_seam.messages.isEmpty()) << m_seam.messageTexts().join('|').toStdString();
        EXPECT_TRUE(QFileInfo::exists(path));
        EXPECT_FALSE(m_window->files()->hasUnsavedChanges());
    }
}

// The command tool bar keeps its buttons where they are whatever step Undo and Redo would
// take: the step is named in their tool tips and in the Edit menu, not on the buttons.
TEST_F(MainWindowCommands, TheToolBarStaysPutWhileTheMenuAndTheToolTipsNameTheStep)
{
    m_window->resize(1024, 700);
    QToolBar *commands = toolBar("commands_toolbar");
    ASSERT_NE(commands, nullptr);
    auto geometries = [commands] {
        QList<QRect> places;
        for (QAction *action : commands->actions())
            if (QWidget *button = commands->widgetForAction(action))
                places << button->geometry();
        return places;
    };
    auto button = [commands](const QString &text) -> QAction * {
        for (QAction *action : commands->actions())
            if (plain(action->text()) == text)
                return action;
        return nullptr;
    };
    QAction *undoButton = button(QStringLiteral("Undo"));
    QAction *redoButton = button(QStringLiteral("Redo"));
    ASSERT_TRUE(undoButton && redoButton);
    const QList<QRect> places = geometries();
    QUndoStack *history = m_document.undoManager();

    const QStringList steps = {QStringLiteral("Move"), QStringLiteral("Change Background Picture Layout"),
                               QStringLiteral("Change Font")};
    for (const QString &step : steps)
        history->push(new QUndoCommand(step));
    struct Row
    {
        const char *name;
        std::function<void()> act;
        QString undo, redo;
    };
    const QList<Row> rows = {
        {"three steps", [] {}, QStringLiteral("Undo Change Font"), QStringLiteral("Redo")},
        {"one undone", [undoButton] { undoButton->trigger(); }, QStringLiteral("Undo Change Background Picture Layout"),
         QStringLiteral("Redo Change Font")},
        {"all undone",
         [undoButton] {
             undoButton->trigger();
             undoButton->trigger();
         },
         QStringLiteral("Undo"), QStringLiteral("Redo Move")},
        {"one redone", [redoButton] { redoButton->trigger(); }, QStringLiteral("Undo Move"),
         QStringLiteral("Redo Change Background Picture Layout")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        QCoreApplication::processEvents();
        EXPECT_EQ(geometries(), places);
        EXPECT_EQ(plain(undoButton->text()), QStringLiteral("Undo"));
        EXPECT_EQ(plain(redoButton->text()), QStringLiteral("Redo"));
        EXPECT_EQ(undoButton->toolTip(), row.undo);
        EXPECT_EQ(redoButton->toolTip(), row.redo);
        EXPECT_EQ(plain(m_window->Undo_btn->text()), row.undo);
        EXPECT_EQ(plain(m_window->Redo_btn->text()), row.redo);
        EXPECT_EQ(undoButton->isEnabled(), history->canUndo());
        EXPECT_EQ(redoButton->isEnabled(), history->canRedo());
    }
    EXPECT_EQ(history->index(), 1);
}

// Every menu command with a key shows it in its menu and runs from it, whatever the platform's
// own key bindings hold (the program runs under the offscreen and the xcb platforms). Each key
// is pressed on the canvas and must trigger its menu command; the effect is read back.
TEST_F(MainWindowCommands, MenuKeysAreShownAndRunTheirCommands)
{
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QTemporaryDir dir;
    const QString saved = QDir(dir.path()).filePath(QStringLiteral("keys.") + DesignFile::Extension);
    const auto count = [this] { return m_document.graphics.size(); };
    qsizetype messages = 0, dialogs = 0;
    const auto dirty = [&] {   // the cut and paste since the last save: the save question comes first
        EXPECT_TRUE(m_window->files()->hasUnsavedChanges());
        m_seam.answerMessages({"Cancel"});
        messages = m_seam.messages.size();
    };
    const auto askedToSave = [&] {
        ASSERT_EQ(m_seam.messages.size(), messages + 1);
        EXPECT_EQ(m_seam.messages.last().text, kSaveQuestion);
    };
    const auto countRuns = [&] {
        messages = m_seam.messages.size();
        dialogs = m_seam.dialogsRun.size();
    };
    const auto dialogRun = [&](const char *className) {
        return [&, className] {
            ASSERT_EQ(m_seam.dialogsRun.size(), dialogs + 1);
            EXPECT_STREQ(m_seam.dialogsRun.last()->metaObject()->className(), className);
        };
    };
    // Without a printer the command says so instead.
    const auto printed = [&] {
        if (m_seam.dialogsRun.size() == dialogs + 1)
            EXPECT_STREQ(m_seam.dialogsRun.last()->metaObject()->className(), "Print_Wnd");
        else
            EXPECT_EQ(m_seam.messageTexts().mid(messages), QStringList({"\nNo printer found."}));
    };
    double zoom = 0;
    struct Row
    {
        const char *command;
        const char *shown;
        QKeyCombination key;
        std::function<void()> arrange;
        std::function<void()> check;
    };
    const std::vector<Row> rows = {
        {"Save As…", "Ctrl+Shift+S", Qt::CTRL | Qt::SHIFT | Qt::Key_S, [&] { m_seam.chooseFiles({saved}); },
         [&] {
             EXPECT_EQ(m_window->designFilePath(), saved);
             EXPECT_EQ(DesignFile::read(saved, nullptr).value_or(CardDesign()).graphics.size(), 2);
         }},
        {"Select All", "Ctrl+A", Qt::CTRL | Qt::Key_A, {}, [&] { EXPECT_EQ(canvas()->selectedGraphics().size(), 2); }},
        {"Delete", "Del", Qt::Key_Delete, [&] { canvas()->selectGraphics({other}); }, [&] { EXPECT_EQ(count(), 1); }},
        {"Undo", "Ctrl+Z", Qt::CTRL | Qt::Key_Z, {}, [&] { EXPECT_EQ(count(), 2); }},
        {"Redo", "Ctrl+Shift+Z", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, {}, [&] { EXPECT_EQ(count(), 1); }},
        {"Save", "Ctrl+S", Qt::CTRL | Qt::Key_S, {},
         [&] { EXPECT_EQ(DesignFile::read(saved, nullptr).value_or(CardDesign()).graphics.size(), 1); }},
        {"Copy", "Ctrl+C", Qt::CTRL | Qt::Key_C, [&] { canvas()->selectGraphics({ref}); },
         [&] { EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->formats().isEmpty()); }},
        {"Paste", "Ctrl+V", Qt::CTRL | Qt::Key_V, {}, [&] { EXPECT_EQ(count(), 2); }},
        {"Cut", "Ctrl+X", Qt::CTRL | Qt::Key_X, [&] { canvas()->selectGraphics({ref}); }, [&] { EXPECT_EQ(count(), 1); }},
        {"Duplicate", "Ctrl+D", Qt::CTRL | Qt::Key_D, [&] { canvas()->selectGraphics({m_document.graphics.first()}); },
         [&] { EXPECT_EQ(count(), 2); }},
        {"Back Side", "Ctrl+2", Qt::CTRL | Qt::Key_2, {}, [&] { EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView_BACK); }},
        {"Working Side", "Ctrl+3", Qt::CTRL | Qt::Key_3, {}, [&] { EXPECT_EQ(m_window->currentCanvas(), m_window->_graphicView_TEMP); }},
        {"Front Side", "Ctrl+1", Qt::CTRL | Qt::Key_1, {}, [&] { EXPECT_EQ(m_window->currentCanvas(), canvas()); }},
        {"Actual Size", "Ctrl+0", Qt::CTRL | Qt::Key_0, [&] { canvas()->setZoom(2.5); }, [&] { EXPECT_DOUBLE_EQ(canvas()->zoom(), 1.0); }},
        {"Fit Card in Window", "Ctrl+9", Qt::CTRL | Qt::Key_9, [&] { canvas()->setZoom(8.0); },
         [&] { EXPECT_LT(canvas()->zoom(), 8.0); }},
        {"Zoom In", "Ctrl++", Qt::CTRL | Qt::Key_Plus, [&] { zoom = canvas()->zoom(); }, [&] { EXPECT_GT(canvas()->zoom(), zoom); }},
        {"Zoom Out", "Ctrl+-", Qt::CTRL | Qt::Key_Minus, [&] { zoom = canvas()->zoom(); }, [&] { EXPECT_LT(canvas()->zoom(), zoom); }},
        {"Print…", "Ctrl+P", Qt::CTRL | Qt::Key_P, countRuns, printed},
        {"Festiloom Help…", "F1", Qt::Key_F1, countRuns, dialogRun("Help_Support")},
        {"New", "Ctrl+N", Qt::CTRL | Qt::Key_N, dirty, askedToSave},
        {"Open…", "Ctrl+O", Qt::CTRL | Qt::Key_O, [&] { messages = m_seam.fileCaptions.size(); },
         [&] { EXPECT_EQ(m_seam.fileCaptions.size(), messages + 1); }},   // the chooser, cancelled
        {"Exit", "Ctrl+Q", Qt::CTRL | Qt::Key_Q, dirty, askedToSave},
    };
    // Every command with a key has its row (nothing is done yet: Undo and Redo name no step).
    QStringList keyed, checked;
    for (QAction *menu : m_window->menuBar()->actions())
        for (QAction *a : menu->menu()->actions())
            if (!a->shortcut().isEmpty())
                keyed << plain(a->text());
    for (const Row &row : rows)
        checked << QString::fromUtf8(row.command);
    keyed.sort();
    checked.sort();
    EXPECT_EQ(keyed, checked);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.command);
        // Undo and Redo name the step they take: "Undo Delete".
        QAction *command = nullptr;
        for (QAction *menu : m_window->menuBar()->actions())
            for (QAction *a : menu->menu()->actions())
                if (const QString text = plain(a->text());
                    text == QString::fromUtf8(row.command) || text.startsWith(QString::fromUtf8(row.command) + ' '))
                    command = command ? command : a;
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->shortcut().toString(QKeySequence::NativeText), QLatin1String(row.shown));
        if (row.arrange)
            row.arrange();
        QSignalSpy triggered(command, &QAction::triggered);
        m_window->currentCanvas()->setFocus();
        QTest::keyClick(m_window->currentCanvas(), row.key.key(), row.key.keyboardModifiers());
        EXPECT_EQ(triggered.size(), 1);
        row.check();
    }
}

namespace {

// The keys of a window's commands and key objects, each with its holder.
QList<std::pair<QKeySequence, QObject *>> windowKeys(QWidget *window)
{
    QList<std::pair<QKeySequence, QObject *>> keys;
    QList<QAction *> actions = window->findChildren<QAction *>();
    for (QAction *action : window->actions())
        if (!actions.contains(action))
            actions << action;
    for (QAction *action : std::as_const(actions))
        for (const QKeySequence &key : action->shortcuts())
            keys.append({key, action});
    for (QShortcut *shortcut : window->findChildren<QShortcut *>())
        for (const QKeySequence &key : shortcut->keys())
            keys.append({key, shortcut});
    return keys;
}

// The letters marked with '&' in the entries of one menu (or the menu bar): one entry each.
QStringList repeatedMnemonics(const QList<QAction *> &entries)
{
    QStringList seen, repeated;
    for (const QAction *entry : entries) {
        const qsizetype at = entry->text().indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= entry->text().size())
            continue;
        const QString letter = entry->text().mid(at + 1, 1).toLower();
        (seen.contains(letter) ? repeated : seen) << letter;
    }
    return repeated;
}

} // namespace

// No key belongs to two commands of a window, on any platform (the program runs under the
// offscreen and the xcb platforms, whose own key bindings differ: X11's Delete includes
// Ctrl+D, Duplicate's key): Qt runs neither of two commands sharing a key. Nor do two entries of
// a menu share the letter that picks them. Every window of the program made so far is checked.
TEST_F(MainWindowCommands, MenuKeysBelongToOneCommandEach)
{
    int checkedKeys = 0;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        SCOPED_TRACE(window->metaObject()->className());
        QMap<QKeySequence, QObject *> holders;
        for (const auto &[key, holder] : windowKeys(window)) {
            ++checkedKeys;
            if (QObject *other = holders.value(key); other && other != holder) {
                const auto name = [](QObject *o) {
                    auto *a = qobject_cast<QAction *>(o);
                    return (a ? plain(a->text()) : o->objectName()).toStdString();
                };
                ADD_FAILURE() << key.toString().toStdString() << " runs both " << name(other) << " and " << name(holder);
            }
            holders.insert(key, holder);
        }
    }
    EXPECT_GE(checkedKeys, 20);   // the editor's menu keys were among them
    EXPECT_EQ(repeatedMnemonics(m_window->menuBar()->actions()).join(' ').toStdString(), "");
    for (QMenu *menu : m_window->menuBar()->findChildren<QMenu *>()) {
        SCOPED_TRACE(plain(menu->title()).toStdString());
        EXPECT_EQ(repeatedMnemonics(menu->actions()).join(' ').toStdString(), "");
    }
}
