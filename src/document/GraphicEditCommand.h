#pragma once

#include "document/LMNGraphic.h"

#include <QUndoCommand>

class LMNDocument;

// Base of the undoable edits of an element list. Subclasses change the list or its elements
// in apply()/revert() and name the elements concerned; the document is told after each step
// so that every canvas showing the list can follow.
class GraphicEditCommand : public QUndoCommand
{
public:
    GraphicEditCommand(LMNDocument *document, GraphicList *list, const QString &text);

    void redo() final;
    void undo() final;

    // The next redo() does nothing: the edit was already carried out live (a mouse drag).
    void skipNextRedo() { m_skipNextRedo = true; }

    GraphicList *list() const { return m_list; }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    // The elements to show as selected after the edit and after taking it back.
    virtual GraphicList affected() const = 0;

    LMNDocument *document() const { return m_document; }

private:
    LMNDocument *m_document;
    GraphicList *m_list;
    bool m_skipNextRedo = false;
    bool m_appliedOnce = false;
};
