#include "document/ElementClipboard.h"

#include "document/DocumentGlobals.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNRenderingView.h"

#include <QBuffer>
#include <QCoreApplication>
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
    LMNRenderingView::drawGraphics(painter, graphics, QRectF(), DrawContext{Resource_Path, 1.0, {}}, false);
    return picture;
}

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ElementClipboard", text);
}

// Why Paste would refuse the elements or their archive for their size, or nothing. The
// pictures first: counting them costs nothing, encoding them much.
QString tooLargeToPaste(const GraphicList &graphics, QByteArray *archive)
{
    if (LMNGraphicArchive::picturePeak({&graphics}) > LMNGraphicArchive::MaximumPictureBytes)
        return (graphics.size() == 1 ? tr("its pictures would take more than the %1 MB Paste gives pictures.")
                                     : tr("their pictures would take more than the %1 MB Paste gives pictures."))
            .arg(LMNGraphicArchive::MaximumPictureBytes >> 20);
    if (quint64(graphics.size()) > LMNGraphicArchive::MaximumElements)
        return tr("Paste reads at most %L1 elements.").arg(LMNGraphicArchive::MaximumElements);
    *archive = LMNGraphicArchive::encodeList(graphics, true);
    if (archive->size() > LMNGraphicArchive::MaximumSize)
        return tr("it would take %1 MB on the clipboard, more than the %2 MB Paste reads.")
            .arg((archive->size() + (1 << 20) - 1) >> 20)
            .arg(LMNGraphicArchive::MaximumSize >> 20);
    if (PropertyListCheck::binary(*archive, LMNGraphicArchive::readingLimits()) != PropertyListCheck::Result::Fine)
        return tr("it holds more than the %L1 values Paste reads (some %L2 elements as the editor makes them).")
            .arg(LMNGraphicArchive::MaximumValues)
            .arg(LMNGraphicArchive::MaximumValuesInElements);
    return {};
}

} // namespace

QMimeData *ElementClipboard::mimeDataFor(const GraphicList &graphics, QString *error)
{
    // Held to what Paste reads, so the clipboard never holds elements that cannot be pasted.
    QByteArray archive;
    if (const QString why = tooLargeToPaste(graphics, &archive); !why.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("ElementClipboard", "The %Ln selected element(s) cannot be copied: %1",
                                                 nullptr, int(graphics.size()))
                         .arg(why);
        return nullptr;
    }
    auto *data = new QMimeData;
    data->setData(LMNGraphicViewPasteboardType, archive);
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
