#include "document/InsertGraphicsCommand.h"

#include <algorithm>
#include <vector>

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
    // Inserting one at a time moves the elements after each insertion: many elements
    // (a paste) are merged into a new list in one pass instead. Positions strictly rising
    // give the same list either way; others take the one-at-a-time road.
    qsizetype previous = -1;
    const bool rising = std::all_of(placements.cbegin(), placements.cend(), [&previous](const Placement &p) {
        const bool later = p.first > previous;
        previous = p.first;
        return later;
    });
    if (!rising || placements.size() < 16) {
        for (const Placement &p : placements)
            list.insert(std::clamp<qsizetype>(p.first, 0, list.size()), p.second);
        return;
    }
    GraphicList merged;
    merged.reserve(list.size() + placements.size());
    auto old = list.cbegin();
    for (const Placement &p : placements) {
        while (merged.size() < p.first && old != list.cend())
            merged.append(*old++);
        merged.append(p.second);
    }
    while (old != list.cend())
        merged.append(*old++);
    list = std::move(merged);
}

void InsertGraphicsCommand::removeAll(GraphicList &list, const QList<Placement> &placements)
{
    // Every element where its placement says (the usual undo): one pass keeps the others.
    const bool inPlace = placements.size() >= 16
                         && std::all_of(placements.cbegin(), placements.cend(), [&list](const Placement &p) {
                                return p.first >= 0 && p.first < list.size() && list.at(p.first) == p.second;
                            });
    if (inPlace) {
        std::vector<bool> removed(size_t(list.size()), false);
        for (const Placement &p : placements)
            removed[size_t(p.first)] = true;
        GraphicList kept;
        kept.reserve(list.size() - placements.size());
        for (qsizetype i = 0; i < list.size(); ++i)
            if (!removed[size_t(i)])
                kept.append(list.at(i));
        list = std::move(kept);
        return;
    }
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
