#pragma once

#include "document/LMNGraphic.h"

#include <QObject>
#include <QSizeF>
#include <QUndoStack>

class GraphicEditCommand;

// The card document: the element lists of the front, the back and the working side, and the
// undo history of every canvas edit. Each list is ordered top-down: index 0 is the topmost
// element and new elements are inserted at index 0. The lists are handed out as themselves
// (canvases bind to them, the design reader fills them), never as copies.
//
// The working side (graphics_temp) holds the very element objects of another side so that a
// preview can be built from them; it never owns elements of its own.
class LMNDocument : public QObject
{
    Q_OBJECT

public:
    explicit LMNDocument(QObject *parent = nullptr);
    ~LMNDocument() override;

    GraphicList graphics;       // front side
    GraphicList graphics_back;  // back side
    GraphicList graphics_temp;  // working side

    // The list of a side: 0 front, 1 back, 2 working side; null for any other number.
    GraphicList *listForSide(int side);

    QUndoStack *undoManager() { return &m_undoStack; }

    // Undo registration. While it is off (calls nest), edits still happen but leave no trace
    // in the history; the start-up wizard places its elements this way.
    void disableUndoRegistration();
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return m_registrationDisabled == 0; }

    // Performs an edit and records it (takes ownership). `alreadyApplied` is for edits that
    // were carried out live, as a mouse drag, and only need recording now.
    void perform(GraphicEditCommand *command, bool alreadyApplied = false);

    // Several performed edits that undo as one step (nested groups join the outermost). A group
    // in which nothing was performed leaves the history as it was, Redo and clean state included.
    void beginEditGroup(const QString &text);
    void endEditGroup();

    // The canvas-size operation: hands a new card size to whoever shows the document. The
    // document itself keeps no size: the canvases carry it.
    void setCanvasSize(const QSizeF &size);

    // Called by the edit commands after they changed `list`; `affected` are the elements the
    // edit was about (inserted, removed, moved); `fromHistory` is set when the change comes
    // from undo or redo rather than from the edit being made.
    void notifyEdited(GraphicList *list, const GraphicList &affected, bool fromHistory);

signals:
    void graphicsEdited(GraphicList *list, const GraphicList &affected, bool fromHistory);
    void canvasSizeChanged(const QSizeF &size);

private:
    QUndoStack m_undoStack;
    int m_registrationDisabled = 0;
    int m_openGroups = 0;
    bool m_groupStarted = false;   // the group's macro is open on the stack
    QString m_groupText;
};
