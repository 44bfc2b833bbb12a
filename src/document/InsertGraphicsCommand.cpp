#include "document/InsertGraphicsCommand.h"

#include <algorithm>

InsertGraphicsCommand::InsertGraphicsCommand(LMNDocument *document, GraphicList *list,
                                             QList<Placement> placements, const QString &text)
    : GraphicEditCommand(document, list, text)
    , m_placements(std::move(placements))
{
    std::sort(m_placements.begin(), m_placements.end(),
              [](const Placement &a, const Placement &b) { return a.first < b.first; });
}

QList<InsertGraphicsCommand::Placement> InsertGraphicsCommand::onTop(const GraphicList &elements)
{
    QList<Placement> placements;
    for (qsizetype i = 0; i < elements.size(); ++i)
        placements.append({i, elements.at(i)});
    return placements;
}

void InsertGraphicsCommand::insertAll(GraphicList &list, const QList<Placement> &placements)
{
    for (const Placement &p : placements)
        list.insert(std::clamp<qsizetype>(p.first, 0, list.size()), p.second);
}

void InsertGraphicsCommand::removeAll(GraphicList &list, const QList<Placement> &placements)
{
    for (auto it = placements.crbegin(); it != placements.crend(); ++it) {
        // The list may have been changed behind the history's back (panels and loaders write
        // it directly): fall back to finding the element wherever it now is.
        if (it->first < list.size() && list.at(it->first) == it->second)
            list.removeAt(it->first);
        else
            list.removeOne(it->second);
    }
}

GraphicList InsertGraphicsCommand::affected() const
{
    GraphicList elements;
    for (const Placement &p : m_placements)
        elements.append(p.second);
    return elements;
}
