#include "document/DashedStroke.h"

#include "document/StrokeMaskCache.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

thread_local bool t_grouped = false;

// Beyond this many dashes in one outline the grouping itself would cost more than it saves.
constexpr int kMostDashes = 1024;

bool groupable(const QPainter &painter, const QPen &pen)
{
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !painter.testRenderHint(QPainter::Antialiasing))
        return false;
    // Gradients and patterns of a pen may be laid out on the whole outline: solid colours only.
    if (pen.style() <= Qt::SolidLine || pen.style() > Qt::CustomDashLine || pen.isCosmetic()
        || pen.brush().style() != Qt::SolidPattern)
        return false;
    const QTransform transform = painter.combinedTransform();
    if (transform.type() > QTransform::TxScale)
        return false;
    const double scale = std::min(std::abs(transform.m11()), std::abs(transform.m22()));
    // Thinner pens are drawn by Qt's pixel-wide stroker; a dash pattern shorter than half a
    // point is drawn solid by Qt's dasher.
    if (!std::isfinite(pen.widthF()) || pen.widthF() * scale <= 1.5)
        return false;
    const QList<qreal> pattern = pen.dashPattern();
    const double length = std::accumulate(pattern.begin(), pattern.end(), 0.0) * pen.widthF();
    return length >= 1.0;
}

bool hasCurves(const QPainterPath &path)
{
    for (int i = 0; i < path.elementCount(); ++i)
        if (path.elementAt(i).type == QPainterPath::CurveToElement)
            return true;
    return false;
}

enum class Stroked { ByQt, InGroups, AsOne };

// Fills the stroke `outline` (one subpath a dash) in groups whose device pixels are apart, or
// as one fill when the dashes all touch (Qt's stroke is exactly that fill). Beyond kMostDashes
// draws nothing and leaves the stroke to Qt.
Stroked fillInGroups(QPainter &painter, const QPainterPath &outline, const QBrush &brush)
{
    // Subpaths as element ranges with their device pixel bounds (a pixel of margin: the
    // rasterizer works in fixed point).
    struct Piece {
        int first;
        int end;
        QRect pixels;
    };
    std::vector<Piece> pieces;
    const QTransform transform = painter.combinedTransform();
    const int count = outline.elementCount();
    for (int i = 0; i < count;) {
        int end = i + 1;
        while (end < count && outline.elementAt(end).type != QPainterPath::MoveToElement)
            ++end;
        double left = outline.elementAt(i).x, right = left, top = outline.elementAt(i).y, bottom = top;
        for (int k = i + 1; k < end; ++k) {
            const QPainterPath::Element &e = outline.elementAt(k);
            left = std::min(left, e.x);
            right = std::max(right, e.x);
            top = std::min(top, e.y);
            bottom = std::max(bottom, e.y);
        }
        const QRectF device = transform.mapRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
        pieces.push_back({i, end,
                          QRect(QPoint(int(std::floor(device.left())) - 1, int(std::floor(device.top())) - 1),
                                QPoint(int(std::floor(device.right())) + 1, int(std::floor(device.bottom())) + 1))});
        if (int(pieces.size()) > kMostDashes)
            return Stroked::ByQt;
        i = end;
    }
    std::vector<int> parent(pieces.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](int x) {
        while (parent[std::size_t(x)] != x)
            x = parent[std::size_t(x)] = parent[std::size_t(parent[std::size_t(x)])];
        return x;
    };
    for (std::size_t a = 0; a < pieces.size(); ++a)
        for (std::size_t b = a + 1; b < pieces.size(); ++b)
            if (pieces[a].pixels.intersects(pieces[b].pixels))
                parent[std::size_t(root(int(a)))] = root(int(b));

    std::vector<int> groups;
    for (std::size_t a = 0; a < pieces.size(); ++a)
        if (root(int(a)) == int(a))
            groups.push_back(int(a));
    if (groups.size() < 2) {
        painter.fillPath(outline, brush);
        return Stroked::AsOne;
    }

    for (const int group : groups) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (std::size_t a = 0; a < pieces.size(); ++a) {
            if (root(int(a)) != group)
                continue;
            for (int k = pieces[a].first; k < pieces[a].end; ++k) {
                const QPainterPath::Element &e = outline.elementAt(k);
                switch (e.type) {
                case QPainterPath::MoveToElement: path.moveTo(e.x, e.y); break;
                case QPainterPath::LineToElement: path.lineTo(e.x, e.y); break;
                case QPainterPath::CurveToElement:
                    path.cubicTo(e.x, e.y, outline.elementAt(k + 1).x, outline.elementAt(k + 1).y,
                                 outline.elementAt(k + 2).x, outline.elementAt(k + 2).y);
                    k += 2;
                    break;
                case QPainterPath::CurveToDataElement: break;
                }
            }
        }
        painter.fillPath(path, brush);
    }
    return Stroked::InGroups;
}

// Whether every point of the outline lies on the device. Qt's dasher skips the stretches of an
// outline that run wholly beyond the device and lays the dashes after them otherwise than its
// stroker lays them: such outlines are Qt's to draw. A stretch between two points on the device
// runs on it.
bool staysOnDevice(const QPainter &painter, const QPainterPath &path)
{
    const QPaintDevice *device = painter.device();
    if (!device)
        return false;
    const QRectF points = painter.combinedTransform().mapRect(path.controlPointRect());
    return QRectF(0, 0, device->width(), device->height()).contains(points);
}

// Draws the stroke of `path` unless Qt must.
Stroked strokeOutline(QPainter &painter, const QPainterPath &path, const QPen &pen)
{
    if (!groupable(painter, pen) || hasCurves(path) || !staysOnDevice(painter, path))
        return Stroked::ByQt;
    return fillInGroups(painter, QPainterPathStroker(pen).createStroke(path), pen.brush());
}

} // namespace

void DashedStroke::strokePath(QPainter &painter, const QPainterPath &path, const QPen &pen)
{
    const auto qt = [&path](QPainter &target, const QPen &drawn) {
        const Stroked stroked = strokeOutline(target, path, drawn);
        if (stroked == Stroked::ByQt)
            target.strokePath(path, drawn);
        return stroked == Stroked::InGroups;
    };
    bool grouped = false;
    if (!StrokeMaskCache::draw(painter, StrokeMaskCache::Way::Path, path, pen, qt, &grouped))
        grouped = qt(painter, pen);
    t_grouped = grouped;
}

void DashedStroke::drawLine(QPainter &painter, const QLineF &line, const QPen &pen)
{
    const auto qt = [&line](QPainter &target, const QPen &drawn) {
        Stroked stroked = Stroked::ByQt;
        if (drawn.capStyle() == Qt::RoundCap && line.p1() != line.p2()) {
            QPainterPath path(line.p1());
            path.lineTo(line.p2());
            stroked = strokeOutline(target, path, drawn);
        }
        if (stroked == Stroked::ByQt) {
            target.setPen(drawn);
            target.drawLine(line);
        }
        return stroked == Stroked::InGroups;
    };
    QPainterPath path(line.p1());
    path.lineTo(line.p2());
    bool grouped = false;
    if (!StrokeMaskCache::draw(painter, StrokeMaskCache::Way::Line, path, pen, qt, &grouped))
        grouped = qt(painter, pen);
    t_grouped = grouped;
}

bool DashedStroke::lastCallGrouped()
{
    return t_grouped;
}
