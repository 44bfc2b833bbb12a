#include "document/RemoveGraphicsCommand.h"

#include <QSet>

RemoveGraphicsCommand::RemoveGraphicsCommand(LMNDocument *document, GraphicList *list,
                                             const GraphicList &elements, const QString &text)
    : GraphicEditCommand(document, list, text)
{
    QSet<const LMNGraphic *> removed;
    removed.reserve(elements.size());
    for (const GraphicPtr &g : elements)
        removed.insert(g.get());
    for (qsizetype i = 0; i < list->size(); ++i)
        if (removed.contains(list->at(i).get()))
            m_placements.append({i, list->at(i)});
}

GraphicList RemoveGraphicsCommand::affected() const
{
    GraphicList elements;
    for (const auto &p : m_placements)
        elements.append(p.second);
    return elements;
}
