#pragma once

#include <QList>
#include <QObject>

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

    QAction *undo() const { return m_undo; }
    QAction *redo() const { return m_redo; }
    QAction *alignWithGrid() const { return m_alignWithGrid; }

    // Shows `tool` as the current drawing tool.
    void checkTool(int tool);

private:
    void createMenus();
    void createToolBars();

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
};
