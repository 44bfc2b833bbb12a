#include "document/GraphicArrangement.h"

#include "document/LMNGrid.h"

namespace {

void add(QList<BoundsChange> &changes, const GraphicPtr &g, const QRectF &after)
{
    if (g->bounds() != after)
        changes.append({g, g->bounds(), after});
}

QRectF movedTo(const QRectF &r, double x, double y)
{
    return {x, y, r.width(), r.height()};
}

} // namespace

QList<BoundsChange> GraphicArrangement::centreOnCard(const GraphicList &selected, const QSizeF &card)
{
    QList<BoundsChange> changes;
    for (const GraphicPtr &g : selected) {
        if (g->ctrl_is_locked)
            continue;
        const QRectF r = g->bounds();
        add(changes, g, movedTo(r, (card.width() - r.width()) / 2.0, (card.height() - r.height()) / 2.0));
    }
    return changes;
}

QList<BoundsChange> GraphicArrangement::align(const GraphicList &selected, Alignment alignment, const QSizeF &card)
{
    QList<BoundsChange> changes;
    if (selected.isEmpty())
        return changes;

    if (selected.size() == 1) {
        const GraphicPtr &g = selected.first();
        if (g->ctrl_is_locked)
            return changes;
        const QRectF r = g->bounds();
        double x = r.x();
        double y = r.y();
        switch (alignment) {
        case Alignment::Left: x = 0.0; break;
        case Alignment::Right: x = card.width() - r.width(); break;
        case Alignment::Top: y = 0.0; break;
        case Alignment::Bottom: y = card.height() - r.height(); break;
        case Alignment::HorizontalCentre: x = (card.width() - r.width()) / 2.0; break;
        case Alignment::VerticalCentre: y = (card.height() - r.height()) / 2.0; break;
        }
        add(changes, g, movedTo(r, x, y));
        return changes;
    }

    const QRectF ref = selected.first()->bounds();
    for (qsizetype i = 1; i < selected.size(); ++i) {
        const GraphicPtr &g = selected.at(i);
        if (g->ctrl_is_locked)
            continue;
        const QRectF r = g->bounds();
        double x = r.x();
        double y = r.y();
        switch (alignment) {
        case Alignment::Left: x = ref.left(); break;
        case Alignment::Right: x = ref.x() + ref.width() - r.width(); break;
        case Alignment::Top: y = ref.top(); break;
        case Alignment::Bottom: y = ref.y() + ref.height() - r.height(); break;
        case Alignment::HorizontalCentre: x = ref.x() + ref.width() / 2.0 - r.width() / 2.0; break;
        case Alignment::VerticalCentre: y = ref.y() + ref.height() / 2.0 - r.height() / 2.0; break;
        }
        add(changes, g, movedTo(r, x, y));
    }
    return changes;
}

QList<BoundsChange> GraphicArrangement::sameWidth(const GraphicList &selected)
{
    QList<BoundsChange> changes;
    if (selected.size() < 2)
        return changes;
    const double width = selected.first()->bounds().width();
    for (qsizetype i = 1; i < selected.size(); ++i) {
        const GraphicPtr &g = selected.at(i);
        if (!g->ctrl_is_locked)
            add(changes, g, QRectF(g->bounds().topLeft(), QSizeF(width, g->bounds().height())));
    }
    return changes;
}

QList<BoundsChange> GraphicArrangement::sameHeight(const GraphicList &selected)
{
    QList<BoundsChange> changes;
    if (selected.size() < 2)
        return changes;
    const double height = selected.first()->bounds().height();
    for (qsizetype i = 1; i < selected.size(); ++i) {
        const GraphicPtr &g = selected.at(i);
        if (!g->ctrl_is_locked)
            add(changes, g, QRectF(g->bounds().topLeft(), QSizeF(g->bounds().width(), height)));
    }
    return changes;
}

QList<BoundsChange> GraphicArrangement::naturalSize(const GraphicList &selected)
{
    QList<BoundsChange> changes;
    for (const GraphicPtr &g : selected) {
        // Asked of a copy, so the element itself changes only through the undoable edit.
        const GraphicPtr probe = g->clone();
        probe->makeNaturalSize();
        add(changes, g, probe->bounds());
    }
    return changes;
}

QList<BoundsChange> GraphicArrangement::alignWithGrid(const GraphicList &selected, const LMNGrid &grid)
{
    QList<BoundsChange> changes;
    for (const GraphicPtr &g : selected)
        if (!g->ctrl_is_locked)
            add(changes, g, grid.alignedRect(g->bounds()));
    return changes;
}

QList<BoundsChange> GraphicArrangement::moveBy(const GraphicList &selected, const QPointF &delta)
{
    QList<BoundsChange> changes;
    for (const GraphicPtr &g : selected)
        if (!g->ctrl_is_locked)
            add(changes, g, g->bounds().translated(delta));
    return changes;
}
