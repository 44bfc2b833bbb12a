#include "output/SheetLayout.h"


#include <cmath>
#include <limits>

namespace {

// Whole cells of `size` with gaps `gap` that fit `room`; 1 when nothing sensible divides.
int wholeCells(float room, float size)
{
    if (!(size > 0.0f) || !std::isfinite(room / size))
        return 1;
    const float cells = std::floor(room / size);
    if (!(cells >= 1.0f))
        return 1;
    return cells > float(std::numeric_limits<int>::max() / 2) ? std::numeric_limits<int>::max() / 2 : int(cells);
}

// One direction of the fit rule: `count` cells of `size` in a paper length with margins
// `before` and `after`; `gap` in, the gap to use out.
int fitCount(int count, float size, float &gap, float paperLength, float before, float after, bool autoCenter)
{
    count = count < 1 ? 1 : count;
    const float usable = paperLength - before - after;
    if (!autoCenter) {
        const float free = (usable - count * size - (count - 1) * gap) / float(count + 1);
        if (free > 0.0f)
            return count;
        const int most = wholeCells(paperLength + gap - before - after, size + gap);
        return count > most ? most : count;
    }
    const float free = (usable - count * size) / float(count + 1);
    if (free > 0.0f && std::isfinite(free)) {
        gap = free;
        return count;
    }
    gap = 0.0f;
    const float cells = size > 0.0f ? std::trunc(usable / size) : 1.0f;
    const int most = cells >= 1.0f && std::isfinite(cells)
                         ? (cells > float(std::numeric_limits<int>::max() / 2) ? std::numeric_limits<int>::max() / 2
                                                                               : int(cells))
                         : 1;
    return count > most ? most : count;
}

} // namespace

SheetLayout SheetLayout::fitted() const
{
    SheetLayout f = *this;
    if (bothSides()) {
        if (algn == QLatin1String("U"))
            f.H = H * 2;
        else
            f.W = W * 2;
    }
    f.cols = fitCount(cols, f.W, f.gh, float(paper.width()), L, R, autoCenter);
    f.rows = fitCount(rows, f.H, f.gv, float(paper.height()), T, B, autoCenter);
    return f;
}

float SheetLayout::rowBottom(int row) const
{
    const float Ph = float(paper.height());
    float first;
    if (autoCenter)
        first = blockHeight() - H + gv + B;
    else if (align <= 3)
        first = Ph - H - T;
    else if (align <= 6)
        first = (usableHeight() - blockHeight()) / 2 + B + blockHeight() - H;
    else
        first = blockHeight() - H + B;
    float y = first;
    for (int r = 2; r <= row; ++r)
        y = y - H - gv;
    return y;
}

float SheetLayout::columnLeft(int column) const
{
    if (autoCenter)
        return L + column * gh + (column - 1) * W;
    float first;
    switch (align) {
    case 2: case 5: case 8: first = L + (usableWidth() - blockWidth()) / 2; break;
    case 3: case 6: case 9: first = float(paper.width()) - blockWidth() - R; break;
    default: first = L; break;
    }
    float x = first;
    for (int c = 2; c <= column; ++c)
        x = x + W + gh;
    return x;
}

QRectF SheetLayout::cardPart(float x, float y) const
{
    if (!bothSides())
        return QRectF(x, y, W, H);
    if (algn == QLatin1String("U"))
        return QRectF(x, y + H / 2, W, H / 2);
    return QRectF(x, y, W / 2, H);
}

QRectF SheetLayout::cardRect(const QRectF &part, const QSizeF &card) const
{
    const float iw = float(card.width()), ih = float(card.height());
    float x = float(part.x()), y = float(part.y());
    const bool both = bothSides();
    const bool beside = both && algn != QLatin1String("U");
    if (W > (beside ? 2 * iw : iw))
        x += (W - (beside ? 2 * iw : iw)) / 2;
    if (H > (both && !beside ? 2 * ih : ih))
        y += (H - (both && !beside ? 2 * ih : ih)) / 2;
    return QRectF(x, y, iw, ih);
}

QRectF SheetLayout::backCardRect(const QRectF &front) const
{
    if (algn == QLatin1String("U"))
        return front.translated(0, -front.height());
    return front.translated(front.width(), 0);
}

QRectF SheetLayout::toQt(const QRectF &r) const
{
    return QRectF(r.x(), float(paper.height()) - float(r.y()) - float(r.height()), r.width(), r.height());
}

SheetLayout::Cell SheetLayout::cell(int row, int column, const QSizeF &card) const
{
    Cell c;
    c.number = (row - 1) * cols + column;
    const float x = columnLeft(column), y = rowBottom(row);
    const QRectF part = cardPart(x, y);
    const QRectF front = cardRect(part, card);
    c.cell = toQt(QRectF(x, y, W, H));
    c.part = toQt(part);
    c.front = toQt(front);
    if (bothSides())
        c.back = toQt(backCardRect(front));
    return c;
}
