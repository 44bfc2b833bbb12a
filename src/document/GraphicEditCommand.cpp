#include "document/GraphicEditCommand.h"

#include "document/LMNDocument.h"

GraphicEditCommand::GraphicEditCommand(LMNDocument *document, GraphicList *list, const QString &text)
    : QUndoCommand(text)
    , m_document(document)
    , m_list(list)
{
}

void GraphicEditCommand::redo()
{
    const bool again = m_appliedOnce;
    m_appliedOnce = true;
    if (m_skipNextRedo) {
        m_skipNextRedo = false;
        return;
    }
    apply();
    if (m_document)
        m_document->notifyEdited(m_list, affected(), again);
}

void GraphicEditCommand::undo()
{
    revert();
    if (m_document)
        m_document->notifyEdited(m_list, affected(), true);
}
