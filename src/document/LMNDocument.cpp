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
    // An open group becomes a step with its first edit: opening it earlier would already
    // drop the redo steps (and a clean state among them) for a group that may change nothing.
    if (m_openGroups > 0 && !m_groupStarted) {
        m_groupStarted = true;
        m_undoStack.beginMacro(m_groupText);
    }
    m_undoStack.push(command);
}

void LMNDocument::beginEditGroup(const QString &text)
{
    if (!isUndoRegistrationEnabled())
        return;
    // Nested groups join the outermost one, which names the step.
    if (m_openGroups++ == 0)
        m_groupText = text;
}

void LMNDocument::endEditGroup()
{
    if (m_openGroups == 0)
        return;
    if (--m_openGroups > 0)
        return;
    if (m_groupStarted) {
        m_groupStarted = false;
        m_undoStack.endMacro();
    }
    m_groupText.clear();
}

void LMNDocument::setCanvasSize(const QSizeF &size)
{
    emit canvasSizeChanged(size);
}

void LMNDocument::notifyEdited(GraphicList *list, const GraphicList &affected, bool fromHistory)
{
    emit graphicsEdited(list, affected, fromHistory);
}
