#include "document/LMNRenderingView.h"

#include "document/PoolThreadRunner.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kInchesPerMetre = 39.37007874015748;
// PDF pages carry vectors; this only decides how finely pictures inside are kept.
constexpr int kPdfResolution = 1200;
// Beyond this many pixels a side would take gigabytes: refuse rather than fail to allocate.
constexpr qint64 kMaxImagePixels = qint64(1) << 28;
constexpr double kMaxImageSide = 1 << 20;

} // namespace

QSize LMNRenderingView::pixelSize(const QSizeF &points, double pixelsPerPoint)
{
    // The nearest whole pixel, a half pixel down, with a hair of tolerance so that rounding
    // noise decides nothing (396 points at 300/72 make 1650.0000000000002): a card never gains
    // a column it would only half cover.
    const auto pixels = [pixelsPerPoint](double length) {
        return int(std::max(0.0, std::floor(length * pixelsPerPoint + 0.5 - 1e-6)));
    };
    return QSize(pixels(points.width()), pixels(points.height()));
}

LMNRenderingView::LMNRenderingView(const QSizeF &cardSize, BackgroundPainter background, DrawContext context)
    : m_cardSize(cardSize)
    , m_background(std::move(background))
    , m_context(std::move(context))
{
}

void LMNRenderingView::setResolution(double dotsPerInch)
{
    m_dpi = dotsPerInch;
}

void LMNRenderingView::whiteCard(QPainter &painter, const QRectF &cardRect, const QRectF &)
{
    painter.fillRect(cardRect, Qt::white);
}

void LMNRenderingView::drawGraphics(QPainter &painter, const GraphicList &graphics, const QRectF &dirtyRect,
                                    const DrawContext &context, bool leaveOutNonPrinting)
{
    for (qsizetype i = graphics.size() - 1; i >= 0; --i) {
        const GraphicPtr &graphic = graphics.at(i);
        if (!graphic || graphic->ctrl_is_visible == 0)
            continue;
        if (leaveOutNonPrinting && graphic->print_object != 0)
            continue;
        if (!dirtyRect.isEmpty() && !graphic->drawingBounds().intersects(dirtyRect))
            continue;
        graphic->draw(painter, context);
    }
}

GraphicList LMNRenderingView::snapshot(const GraphicList &graphics)
{
    GraphicList copies;
    copies.reserve(graphics.size());
    for (const GraphicPtr &graphic : graphics) {
        if (graphic)
            copies.append(graphic->clone());
    }
    return copies;
}

void LMNRenderingView::render(QPainter &painter, const GraphicList &graphics, double pixelsPerPoint,
                              const QRectF &card) const
{
    DrawContext context = m_context;
    context.devicePixelsPerPoint = pixelsPerPoint;
    painter.save();
    if (m_background)
        m_background(painter, card, card);
    else
        whiteCard(painter, card, card);
    painter.restore();
    drawGraphics(painter, graphics, QRectF(), context, true);
}

QImage LMNRenderingView::image_From_Card_Graphics(const GraphicList &graphics, int print_box) const
{
    Q_UNUSED(print_box);
    if (!(m_cardSize.width() > 0) || !(m_cardSize.height() > 0) || !(m_dpi > 0) || !std::isfinite(m_dpi))
        return {};
    const double widthPixels = m_cardSize.width() * m_dpi / 72.0;
    const double heightPixels = m_cardSize.height() * m_dpi / 72.0;
    if (!std::isfinite(widthPixels) || !std::isfinite(heightPixels) || widthPixels > kMaxImageSide
        || heightPixels > kMaxImageSide || widthPixels * heightPixels > double(kMaxImagePixels))
        return {};
    QImage image;
    // On a pool thread Qt's raster engine draws every fill itself rather than in pieces.
    PoolThreadRunner::run([this, &graphics, &image] { image = drawImage(graphics); });
    return image;
}

QImage LMNRenderingView::drawImage(const GraphicList &graphics) const
{
    QImage image(pixelSize(m_cardSize, m_dpi / 72.0), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    const int dotsPerMetre = int(std::lround(m_dpi * kInchesPerMetre));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::transparent); // outside a rounded or oval card stays clear

    QPainter painter(&image);
    if (!painter.isActive())
        return {};
    // The elements are drawn at exactly the resolution asked (never stretched to whole pixels).
    // The card itself is the picture: its edges lie on the picture's edges, so a rectangular
    // card is opaque to its last row and column (a card of a fractional pixel size would cover
    // them only in part) and a rounded or oval card's edge keeps its anti-aliasing.
    const double scale = m_dpi / 72.0;
    painter.scale(scale, scale);
    render(painter, graphics, scale, QRectF(0, 0, image.width() / scale, image.height() / scale));
    painter.end();
    return image;
}

bool LMNRenderingView::writePdf(const GraphicList &graphics, QIODevice *device) const
{
    if (!device || !device->isWritable() || !(m_cardSize.width() > 0) || !(m_cardSize.height() > 0))
        return false;
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("Festiloom"));
    writer.setResolution(kPdfResolution);
    if (!writer.setPageSize(QPageSize(m_cardSize, QPageSize::Point, QString(), QPageSize::ExactMatch)))
        return false;
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double scale = kPdfResolution / 72.0;
    painter.scale(scale, scale);
    render(painter, graphics, scale, QRectF(QPointF(0, 0), m_cardSize));
    return painter.end();
}

QByteArray LMNRenderingView::pdfData(const GraphicList &graphics) const
{
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly) || !writePdf(graphics, &buffer))
        return {};
    buffer.close();
    return data;
}
