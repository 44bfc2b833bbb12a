#include "document/ElementClipboard.h"

#include "document/DocumentGlobals.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNRenderingView.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <unordered_set>

namespace {

constexpr int MaximumPasteSteps = 20;

// A rectangle as a key for finding equal bounds among many: coordinates to 1/1024 point,
// far below anything drawn.
struct BoundsKey
{
    qint64 x, y, w, h;
    explicit BoundsKey(const QRectF &r)
        : x(qRound64(r.x() * 1024)), y(qRound64(r.y() * 1024)), w(qRound64(r.width() * 1024)), h(qRound64(r.height() * 1024))
    {
    }
    bool operator==(const BoundsKey &) const = default;
};

struct BoundsKeyHash
{
    size_t operator()(const BoundsKey &k) const noexcept { return qHashMulti(0, k.x, k.y, k.w, k.h); }
};

} // namespace

QImage ElementClipboard::pictureOf(const GraphicList &graphics)
{
    QRectF area;
    for (const GraphicPtr &g : graphics)
        area = area.united(g->drawingBounds());
    const QRect pixels = area.toAlignedRect();
    if (pixels.isEmpty() || qint64(pixels.width()) * pixels.height() > 64LL * 1024 * 1024)
        return {};
    QImage picture(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    painter.translate(-pixels.topLeft());
    LMNRenderingView::drawGraphics(painter, graphics, QRectF(), DrawContext{Resource_Path, 1.0}, false);
    return picture;
}

QMimeData *ElementClipboard::mimeDataFor(const GraphicList &graphics)
{
    auto *data = new QMimeData;
    data->setData(LMNGraphicViewPasteboardType, LMNGraphicArchive::encodeList(graphics, true));
    const QImage picture = pictureOf(graphics);
    if (!picture.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (picture.save(&buffer, "PNG"))
            data->setData(QStringLiteral("image/png"), png);
    }
    return data;
}

void ElementClipboard::stepAside(const GraphicList &pasted, const GraphicList &present, double step)
{
    std::unordered_set<BoundsKey, BoundsKeyHash> taken;
    taken.reserve(size_t(present.size()));
    for (const GraphicPtr &g : present)
        taken.insert(BoundsKey(g->bounds()));
    const auto occupied = [&taken, &pasted](double offset) {
        return std::any_of(pasted.cbegin(), pasted.cend(), [&taken, offset](const GraphicPtr &p) {
            return taken.count(BoundsKey(p->bounds().translated(offset, offset))) > 0;
        });
    };
    double offset = 0;
    for (int s = 0; s < MaximumPasteSteps && occupied(offset); ++s)
        offset += step;
    for (const GraphicPtr &g : pasted)
        g->setBounds(g->bounds().translated(offset, offset));
}
