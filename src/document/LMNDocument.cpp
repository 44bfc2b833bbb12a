#include "document/LMNDocument.h"

#include "document/GraphicEditCommand.h"

LMNDocument::LMNDocument(QObject *parent)
    : QObject(parent)
{
}

LMNDocument::~LMNDocument()
{
    // The history refers to the lists; let it go before they do.
    m_undoStack.clear();
}

GraphicList *LMNDocument::listForSide(int side)
{
    switch (side) {
    case 0: return &graphics;
    case 1: return &graphics_back;
    case 2: return &graphics_temp;
    default: return nullptr;
    }
}

void LMNDocument::disableUndoRegistration()
{
    ++m_registrationDisabled;
}

void LMNDocument::enableUndoRegistration()
{
    if (m_registrationDisabled > 0)
        --m_registrationDisabled;
}

void LMNDocument::perform(GraphicEditCommand *command, bool alreadyApplied)
{
    if (!command)
        return;
    if (!isUndoRegistrationEnabled()) {
        if (!alreadyApplied)
            command->redo();
        delete command;
        return;
    }
    if (alreadyApplied)
        command->skipNextRedo();
    m_undoStack.push(command);
}

void LMNDocument::beginEditGroup(const QString &text)
{
    if (!isUndoRegistrationEnabled())
        return;
    ++m_openGroups;
    m_undoStack.beginMacro(text);
}

void LMNDocument::endEditGroup()
{
    if (m_openGroups == 0)
        return;
    --m_openGroups;
    m_undoStack.endMacro();
    // A group in which nothing was recorded is no step: it is taken off the history again.
    if (m_openGroups == 0 && m_undoStack.index() > 0) {
        auto *group = const_cast<QUndoCommand *>(m_undoStack.command(m_undoStack.index() - 1));
        if (group && group->childCount() == 0) {
            group->setObsolete(true);
            m_undoStack.undo();
        }
    }
}

void LMNDocument::setCanvasSize(const QSizeF &size)
{
    emit canvasSizeChanged(size);
}

void LMNDocument::notifyEdited(GraphicList *list, const GraphicList &affected, bool fromHistory)
{
    emit graphicsEdited(list, affected, fromHistory);
}
