#include "editor/ui/EditorMenus.h"

#include "output/ui/ExportCommands.h"
#include "document/LMNDocument.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/ui/DesignFileCommands.h"
#include "document/LMNGrid.h"
#include "panels/ui/LayoutCommands.h"
#include "editor/ui/LMNWindowController.h"
#include "help/ui/HelpCommands.h"
#include "profile/ui/ProfileCommands.h"

#include <QActionGroup>
#include <QSet>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

#include <optional>
#include <utility>

namespace {

// Drawing tools in the order of their numbers: 0 arrow ... 15 polygon.
struct ToolInfo
{
    const char *icon;
    const char *title;
};
const ToolInfo kTools[] = {
    {"tool-00-arrow", QT_TRANSLATE_NOOP("LMNWindowController", "Select")},
    {"tool-01-line", QT_TRANSLATE_NOOP("LMNWindowController", "Line")},
    {"tool-02-text", QT_TRANSLATE_NOOP("LMNWindowController", "Text")},
    {"tool-03-rectangle", QT_TRANSLATE_NOOP("LMNWindowController", "Rectangle")},
    {"tool-04-circle", QT_TRANSLATE_NOOP("LMNWindowController", "Circle")},
    {"tool-05-rounded-rectangle", QT_TRANSLATE_NOOP("LMNWindowController", "Rounded Rectangle")},
    {"tool-06-triangle", QT_TRANSLATE_NOOP("LMNWindowController", "Triangle")},
    {"tool-07-diamond", QT_TRANSLATE_NOOP("LMNWindowController", "Diamond")},
    {"tool-08-picture-file", QT_TRANSLATE_NOOP("LMNWindowController", "Picture from a File")},
    {"tool-09-picture-library", QT_TRANSLATE_NOOP("LMNWindowController", "Picture from the Library")},
    {"tool-10-barcode", QT_TRANSLATE_NOOP("LMNWindowController", "Barcode")},
    {"tool-11-signature", QT_TRANSLATE_NOOP("LMNWindowController", "Signature")},
    {"tool-12-fingerprint", QT_TRANSLATE_NOOP("LMNWindowController", "Fingerprint")},
    {"tool-13-star", QT_TRANSLATE_NOOP("LMNWindowController", "Star")},
    {"tool-14-multi-point-star", QT_TRANSLATE_NOOP("LMNWindowController", "Multi-point Star")},
    {"tool-15-polygon", QT_TRANSLATE_NOOP("LMNWindowController", "Polygon")},
};

QIcon themedIcon(const char *name)
{
    QIcon icon;
    if (*name == 0)
        return icon;
    for (const char *size : {"24", "48"})
        icon.addFile(QStringLiteral(":/icons/%1/%2.png").arg(QLatin1String(size), QLatin1String(name)));
    return icon;
}

using CommandKeys = EditorMenus::CommandKeys;

CommandKeys commandKeys(QKeyCombination own, QKeySequence::StandardKey standard)
{
    return {{QKeySequence(own)}, standard};
}

CommandKeys commandKeys(const QKeySequence &own)
{
    return {own.isEmpty() ? QList<QKeySequence>() : QList<QKeySequence>{own}, std::nullopt};
}

CommandKeys commandKeys(const CommandKeys &keys)
{
    return keys;
}

} // namespace

EditorMenus::EditorMenus(LMNWindowController *window)
    : QObject(window)
    , m_window(window)
{
    createMenus();
    createToolBars();
    addPlatformKeys();
}

void EditorMenus::setKeys(QAction *action, const CommandKeys &keys)
{
    action->setShortcuts(keys.own);
    if (keys.standard)
        m_platformKeys.append({action, *keys.standard});
}

void EditorMenus::addPlatformKeys()
{
    // A key two commands of the window hold runs neither (Qt finds it ambiguous): the
    // platform's keys for a command (Delete's include Ctrl+D on X11, Duplicate's own key) are
    // added only where no command of the window owns them yet.
    QSet<QKeySequence> owned;
    const QList<QAction *> actions = m_window->findChildren<QAction *>();
    for (const QAction *action : actions)
        for (const QKeySequence &key : action->shortcuts())
            owned.insert(key);
    for (const auto &[action, standard] : std::as_const(m_platformKeys)) {
        QList<QKeySequence> keys = action->shortcuts();
        for (const QKeySequence &key : QKeySequence::keyBindings(standard))
            if (!key.isEmpty() && !owned.contains(key)) {
                keys.append(key);
                owned.insert(key);
            }
        action->setShortcuts(keys);
    }
}

void EditorMenus::checkTool(int tool)
{
    if (tool >= 0 && tool < m_toolActions.size())
        m_toolActions.at(tool)->setChecked(true);
}

void EditorMenus::createMenus()
{
    LMNWindowController *w = m_window;
    QMenu *file = m_window->menuBar()->addMenu(tr("&File"));
    auto add = [w, this](QMenu *menu, const QString &text, const char *icon, const auto &keys, auto slot) {
        QAction *action = menu->addAction(themedIcon(icon), text);
        setKeys(action, commandKeys(keys));
        QObject::connect(action, &QAction::triggered, w, slot);
        return action;
    };
    m_newAction = add(file, tr("&New"), "new", commandKeys(Qt::CTRL | Qt::Key_N, QKeySequence::New), &LMNWindowController::newDesignCommand);
    m_openAction = add(file, tr("&Open…"), "open", commandKeys(Qt::CTRL | Qt::Key_O, QKeySequence::Open), [w] { w->files()->open(); });
    m_saveAction = add(file, tr("&Save"), "save", commandKeys(Qt::CTRL | Qt::Key_S, QKeySequence::Save), [w] { w->files()->save(); });
    add(file, tr("Save &As…"), "save", commandKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_S, QKeySequence::SaveAs), [w] { w->files()->saveAs(); });
    add(file, tr("Save as &Template…"), "save", QKeySequence(), [w] { w->files()->saveAsTemplateCommand(); });
    file->addSeparator();
    m_exportAction = add(file, tr("&Export…"), "export", QKeySequence(), [w] { ExportCommands::Export_Button(*w); });
    m_printAction = add(file, tr("&Print…"), "print", commandKeys(Qt::CTRL | Qt::Key_P, QKeySequence::Print), &LMNWindowController::Print_Button);
    m_mailAction = add(file, tr("&Mail…"), "mail", QKeySequence(), &LMNWindowController::Mail_Button);
    file->addSeparator();
    add(file, tr("E&xit"), "", commandKeys(Qt::CTRL | Qt::Key_Q, QKeySequence::Quit), &LMNWindowController::Exit_App);

    QMenu *edit = m_window->menuBar()->addMenu(tr("&Edit"));
    m_undo = edit->addAction(themedIcon("undo"), tr("&Undo"));
    setKeys(m_undo, commandKeys(Qt::CTRL | Qt::Key_Z, QKeySequence::Undo));
    connect(m_undo, &QAction::triggered, this, [w] {
        w->document()->undoManager()->undo();
        w->Refresh_Canvas();
    });
    m_redo = edit->addAction(themedIcon("redo"), tr("&Redo"));
    setKeys(m_redo, commandKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z, QKeySequence::Redo));
    connect(m_redo, &QAction::triggered, this, [w] {
        w->document()->undoManager()->redo();
        w->Refresh_Canvas();
    });
    // The tool bar's buttons keep one text, so the buttons beside them never move; they run
    // the menu items and are enabled with them.
    m_undoButton = new QAction(themedIcon("undo"), tr("Undo"), this);
    m_redoButton = new QAction(themedIcon("redo"), tr("Redo"), this);
    for (auto [item, button] : {std::pair(m_undo, m_undoButton), std::pair(m_redo, m_redoButton)}) {
        connect(button, &QAction::triggered, item, &QAction::trigger);
        connect(item, &QAction::enabledChanged, button, &QAction::setEnabled);
        button->setEnabled(item->isEnabled());
    }
    // The menu items and the buttons' tool tips name the step they take back or again, as
    // QUndoStack::createUndoAction does ("Undo Change Font"); with nothing to name they read
    // "Undo" or "Redo".
    QUndoStack *history = w->document()->undoManager();
    auto nameStep = [](QAction *item, QAction *button, const QString &plain, const QString &named) {
        return [item, button, plain, named](const QString &step) {
            item->setText(step.isEmpty() ? plain : named.arg(step));
            button->setToolTip(QString(item->text()).remove(QLatin1Char('&')));
        };
    };
    const auto nameUndo = nameStep(m_undo, m_undoButton, tr("&Undo"), tr("&Undo %1"));
    const auto nameRedo = nameStep(m_redo, m_redoButton, tr("&Redo"), tr("&Redo %1"));
    connect(history, &QUndoStack::undoTextChanged, m_undo, nameUndo);
    connect(history, &QUndoStack::redoTextChanged, m_redo, nameRedo);
    nameUndo(history->undoText());
    nameRedo(history->redoText());
    edit->addSeparator();
    add(edit, tr("Cu&t"), "", commandKeys(Qt::CTRL | Qt::Key_X, QKeySequence::Cut), [w] { w->currentCanvas()->cut(); });
    add(edit, tr("&Copy"), "", commandKeys(Qt::CTRL | Qt::Key_C, QKeySequence::Copy), [w] { w->currentCanvas()->copy(); });
    add(edit, tr("&Paste"), "", commandKeys(Qt::CTRL | Qt::Key_V, QKeySequence::Paste), [w] { w->currentCanvas()->paste(); });
    add(edit, tr("Dupl&icate"), "", QKeySequence(Qt::CTRL | Qt::Key_D), [w] { w->currentCanvas()->duplicate(); });
    add(edit, tr("&Delete"), "", commandKeys(Qt::Key_Delete, QKeySequence::Delete), [w] { w->currentCanvas()->deleteSelection(); });
    add(edit, tr("Select &All"), "", commandKeys(Qt::CTRL | Qt::Key_A, QKeySequence::SelectAll), [w] { w->currentCanvas()->selectAll(); });

    QMenu *arrange = m_window->menuBar()->addMenu(tr("&Arrange"));
    add(arrange, tr("Centre on Card"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Center_Clicked(); });
    add(arrange, tr("Align Left Edges"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Left_Clicked(); });
    add(arrange, tr("Align Right Edges"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Right_Clicked(); });
    add(arrange, tr("Align Top Edges"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Top_Clicked(); });
    add(arrange, tr("Align Bottom Edges"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Bottom_Clicked(); });
    add(arrange, tr("Align Horizontal Centres"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Horz_Clicked(); });
    add(arrange, tr("Align Vertical Centres"), "", QKeySequence(), [w] { w->layoutCommands()->Align_Vert_Clicked(); });
    arrange->addSeparator();
    add(arrange, tr("Same Width"), "", QKeySequence(), [w] { w->layoutCommands()->Make_Same_Width_Clicked(); });
    add(arrange, tr("Same Height"), "", QKeySequence(), [w] { w->layoutCommands()->Make_Same_Height_Clicked(); });
    add(arrange, tr("Natural Size"), "", QKeySequence(), [w] { w->layoutCommands()->Make_Natural_Clicked(); });
    arrange->addSeparator();
    m_alignWithGrid = add(arrange, tr("Align with Grid"), "", QKeySequence(), [w] { w->layoutCommands()->Align_To_Grid_Clicked(); });
    m_alignWithGrid->setEnabled(false);
    add(arrange, tr("Grid…"), "", QKeySequence(), [w] { w->layoutCommands()->toggleGridShowing(); });
    QAction *snap = add(arrange, tr("Snap to Grid"), "", QKeySequence(), [w] { w->layoutCommands()->toggleGridConstraining(); });
    snap->setCheckable(true);
    connect(w->grid, &LMNGrid::changed, snap, [w, snap] { snap->setChecked(w->grid->isConstraining()); });

    QMenu *view = m_window->menuBar()->addMenu(tr("&View"));
    add(view, tr("&Front Side"), "front-side", QKeySequence(Qt::CTRL | Qt::Key_1), &LMNWindowController::Select_front_side);
    add(view, tr("&Back Side"), "back-side", QKeySequence(Qt::CTRL | Qt::Key_2), &LMNWindowController::Select_back_side);
    add(view, tr("&Working Side"), "", QKeySequence(Qt::CTRL | Qt::Key_3), &LMNWindowController::Select_temp_design_side);
    view->addSeparator();
    add(view, tr("Zoom &In"), "", commandKeys(Qt::CTRL | Qt::Key_Plus, QKeySequence::ZoomIn), [w] { w->currentCanvas()->zoomIn(); });
    add(view, tr("Zoom &Out"), "", commandKeys(Qt::CTRL | Qt::Key_Minus, QKeySequence::ZoomOut), [w] { w->currentCanvas()->zoomOut(); });
    add(view, tr("&Actual Size"), "", QKeySequence(Qt::CTRL | Qt::Key_0), [w] { w->currentCanvas()->setZoom(1.0); });
    add(view, tr("Fit &Card in Window"), "", QKeySequence(Qt::CTRL | Qt::Key_9), [w] { w->fitCardInWindow(); });

    QMenu *data = m_window->menuBar()->addMenu(tr("&Data"));
    add(data, tr("Data &Series…"), "data-series", QKeySequence(), &LMNWindowController::Batch_Series_Button);
    add(data, tr("&Create Series…"), "data-series", QKeySequence(), &LMNWindowController::Create_Series_Button);
    add(data, tr("&Import Series…"), "data-series", QKeySequence(), &LMNWindowController::Import_Wizard_Button);

    QMenu *profile = m_window->menuBar()->addMenu(tr("&Profile"));
    add(profile, tr("Sender &Profile…"), "profile", QKeySequence(), [w] { w->profile()->User_Profile_Button_Clicked(); });

    QMenu *help = m_window->menuBar()->addMenu(tr("&Help"));
    add(help, tr("Festiloom &Help…"), "help", commandKeys(Qt::Key_F1, QKeySequence::HelpContents), [w] { w->help()->Help_Button(); });
    help->addSeparator();
    add(help, tr("Festiloom &Web Site"), "", QKeySequence(), &HelpCommands::Open_Website_1);
    add(help, tr("Card &Gallery Web Site"), "", QKeySequence(), &HelpCommands::Open_Website_3);
    add(help, tr("Write to &Support…"), "", QKeySequence(), &HelpCommands::Open_Support_Mail);
    add(help, tr("Become a &Reseller…"), "", QKeySequence(), &HelpCommands::Open_Reseller_Mail);
    help->addSeparator();
    add(help, tr("Share &Festiloom…"), "", QKeySequence(), [w] { w->help()->Show_Share_It_Window(); });
    add(help, tr("Comments and Sharing &Page"), "", QKeySequence(), &HelpCommands::Share_It_Button_Clicked);
    add(help, tr("Sharing Web Site"), "", QKeySequence(), &HelpCommands::Open_Website_2);
    QMenu *products = help->addMenu(tr("More from the &Makers"));
    add(products, tr("Partyline Messenger…"), "", QKeySequence(), [w] { w->help()->Open_Promotion(QStringLiteral("S")); });
    add(products, tr("RSVP Keeper…"), "", QKeySequence(), [w] { w->help()->Open_Promotion(QStringLiteral("R")); });
    add(products, tr("Labelwright Barcode Studio…"), "", QKeySequence(), [w] { w->help()->Open_Promotion(QStringLiteral("B")); });
}

void EditorMenus::createToolBars()
{
    LMNWindowController *w = m_window;
    QToolBar *commands = m_window->addToolBar(tr("Commands"));
    commands->setObjectName(QStringLiteral("commands_toolbar"));
    commands->setIconSize(QSize(24, 24));
    commands->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (QAction *action : {m_newAction, m_openAction, m_saveAction})
        commands->addAction(action);
    commands->addSeparator();
    commands->addAction(m_undoButton);
    commands->addAction(m_redoButton);
    commands->addSeparator();
    for (QAction *action : {m_exportAction, m_printAction, m_mailAction})
        commands->addAction(action);

    QToolBar *tools = new QToolBar(tr("Tools"), m_window);
    tools->setObjectName(QStringLiteral("tools_toolbar"));
    tools->setIconSize(QSize(24, 24));
    m_window->addToolBar(Qt::LeftToolBarArea, tools);
    m_tools = new QActionGroup(this);
    m_tools->setExclusive(true);
    for (int tool = 0; tool < int(std::size(kTools)); ++tool) {
        QAction *action = tools->addAction(themedIcon(kTools[tool].icon), tr(kTools[tool].title));
        action->setCheckable(true);
        action->setData(tool);
        m_tools->addAction(action);
        m_toolActions.append(action);
        connect(action, &QAction::triggered, this, [w, tool] { w->selectToolNumber(tool); });
    }
    m_toolActions.first()->setChecked(true);
}

