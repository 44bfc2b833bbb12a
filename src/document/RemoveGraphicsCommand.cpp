#include "document/RemoveGraphicsCommand.h"

RemoveGraphicsCommand::RemoveGraphicsCommand(LMNDocument *document, GraphicList *list,
                                             const GraphicList &elements, const QString &text)
    : GraphicEditCommand(document, list, text)
{
    for (qsizetype i = 0; i < list->size(); ++i)
        if (elements.contains(list->at(i)))
            m_placements.append({i, list->at(i)});
}

GraphicList RemoveGraphicsCommand::affected() const
{
    GraphicList elements;
    for (const auto &p : m_placements)
        elements.append(p.second);
    return elements;
}
