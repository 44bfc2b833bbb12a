#include "panels/StackOrderCommand.h"

StackOrderCommand::StackOrderCommand(LMNDocument *document, GraphicList *list, const GraphicList &elements,
                                     bool toFront, const QString &text)
    : GraphicEditCommand(document, list, text)
    , m_elements(elements)
    , m_before(*list)
    , m_after(restacked(*list, elements, toFront))
{
}

GraphicList StackOrderCommand::restacked(const GraphicList &list, const GraphicList &elements, bool toFront)
{
    GraphicList moved, others;
    for (const GraphicPtr &graphic : list)
        (elements.contains(graphic) ? moved : others).append(graphic);
    return toFront ? moved + others : others + moved;
}

void StackOrderCommand::apply()
{
    *list() = m_after;
}

void StackOrderCommand::revert()
{
    *list() = m_before;
}
