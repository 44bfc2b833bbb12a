#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <optional>

class LMNWindowController;
class QAction;
class QActionGroup;

// The editor window's menus, its command tool bar and its tool bar of drawing tools 0-15.
// Commands whose windows are not part of this version are shown disabled, never faked.
class EditorMenus : public QObject
{
    Q_OBJECT

public:
    explicit EditorMenus(LMNWindowController *window);

    // The keys of a menu command: its own, which the menu shows and which work on every platform
    // (Qt's standard key for Save As, for one, is empty on X11 without a desktop theme and under
    // the offscreen platform), and the standard command whose platform keys it also takes where
    // no other command of the window owns them.
    struct CommandKeys
    {
        QList<QKeySequence> own;
        std::optional<QKeySequence::StandardKey> standard;
    };

    QAction *undo() const { return m_undo; }
    QAction *redo() const { return m_redo; }
    QAction *alignWithGrid() const { return m_alignWithGrid; }

    // Shows `tool` as the current drawing tool.
    void checkTool(int tool);

private:
    void createMenus();
    void createToolBars();
    // Gives `action` its own keys and notes the platform's keys for it.
    void setKeys(QAction *action, const CommandKeys &keys);
    void addPlatformKeys();

    LMNWindowController *m_window;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_undoButton = nullptr;
    QAction *m_redoButton = nullptr;
    QAction *m_alignWithGrid = nullptr;
    QAction *m_newAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_mailAction = nullptr;
    QActionGroup *m_tools = nullptr;
    QList<QAction *> m_toolActions;
    // The commands that also take the platform's keys of a standard command.
    QList<std::pair<QAction *, QKeySequence::StandardKey>> m_platformKeys;
};
