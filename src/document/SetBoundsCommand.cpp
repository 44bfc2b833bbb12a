#include "document/SetBoundsCommand.h"

SetBoundsCommand::SetBoundsCommand(LMNDocument *document, GraphicList *list,
                                   const QList<BoundsChange> &changes, const QString &text)
    : GraphicEditCommand(document, list, text)
{
    for (const BoundsChange &c : changes)
        if (c.graphic && c.before != c.after)
            m_changes.append(c);
}

void SetBoundsCommand::apply()
{
    for (const BoundsChange &c : std::as_const(m_changes))
        c.graphic->setBounds(c.after);
}

void SetBoundsCommand::revert()
{
    for (const BoundsChange &c : std::as_const(m_changes))
        c.graphic->setBounds(c.before);
}

GraphicList SetBoundsCommand::affected() const
{
    GraphicList elements;
    for (const BoundsChange &c : m_changes)
        elements.append(c.graphic);
    return elements;
}

bool SetBoundsCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = dynamic_cast<const SetBoundsCommand *>(other);
    if (!next || !m_mergeable || !next->m_mergeable || next->list() != list()
        || next->m_changes.size() != m_changes.size())
        return false;
    for (qsizetype i = 0; i < m_changes.size(); ++i) {
        if (next->m_changes.at(i).graphic != m_changes.at(i).graphic
            || next->m_changes.at(i).before != m_changes.at(i).after)
            return false;
    }
    for (qsizetype i = 0; i < m_changes.size(); ++i)
        m_changes[i].after = next->m_changes.at(i).after;
    return true;
}
