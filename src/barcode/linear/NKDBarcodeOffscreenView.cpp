#include "barcode/linear/NKDBarcodeOffscreenView.h"

#include "barcode/BarcodeText.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/linear/NKDAbstractUPCEANBarcode.h"
#include "barcode/linear/NKDBarcode.h"
#include "document/GreyPictures.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kInchesPerMetre = 39.37007874015748;
// Bitmaps beyond this many bytes are refused rather than attempted.
constexpr qint64 kMaxImageBytes = qint64(1) << 30;
constexpr int kPdfResolution = 1200;

// A bar in picture points, y down.
struct Bar
{
    double x;
    double top;
    double width;
    double height;
};

// Whether a colour is drawn as the same level on every channel, fully opaque.
bool isOpaqueGrey(const QColor &colour)
{
    return GreyPictures::isOpaqueGrey(colour.rgba64().toArgb32());
}

// The symbol with its white (light) modules in `background`; the symbol itself when that is white.
QImage lightModulesIn(const QImage &symbol, const QColor &background)
{
    const QRgb light = qPremultiply(background.rgba());
    if (light == 0xFFFFFFFFu)
        return symbol;
    if (symbol.format() == QImage::Format_Grayscale8 && isOpaqueGrey(background)) {
        QImage recoloured = symbol;
        const uchar level = uchar(qRed(light));
        for (int y = 0; y < recoloured.height(); ++y) {
            uchar *row = recoloured.scanLine(y);
            std::replace(row, row + recoloured.width(), uchar(255), level);
        }
        return recoloured;
    }
    QImage recoloured = symbol.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < recoloured.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(recoloured.scanLine(y));
        for (int x = 0; x < recoloured.width(); ++x)
            if (row[x] == 0xFFFFFFFFu)
                row[x] = light;
    }
    return recoloured;
}

// A symbol of `pixels` made for `target` (points) at the bitmap's resolution.
bool madeAtScale(const QRectF &target, const QSize &pixels, double pixelsPerPoint)
{
    return pixelsPerPoint > 0 && std::abs(target.width() * pixelsPerPoint - pixels.width()) < 0.5
        && std::abs(target.height() * pixelsPerPoint - pixels.height()) < 0.5;
}

// The symbol's top-left pixel: its corner on the nearest pixel.
QPoint symbolCorner(const QRectF &target, double pixelsPerPoint)
{
    return {int(std::lround(target.x() * pixelsPerPoint)), int(std::lround(target.y() * pixelsPerPoint))};
}

// The pixels `area` of `image` from `picture` (of the same depth) laid with its top-left pixel at `corner`.
void copyRows(QImage &image, const QRect &area, const QImage &picture, const QPoint &corner)
{
    const int depth = image.depth() / 8;
    uchar *bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    const std::size_t rowBytes = std::size_t(area.width()) * std::size_t(depth);
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(bits + y * bytesPerLine + qsizetype(area.left()) * depth,
                    picture.constScanLine(y - corner.y()) + qsizetype(area.left() - corner.x()) * depth, rowBytes);
}

// Every row of `image` (pixels of type T) from bands of equal rows: see fillRows().
template<typename T>
void fillBands(QImage &image, const std::vector<QRect> &bars, T background, T ink, const QRect &spared)
{
    // Between two bar ends every row is the same: each band of rows is composed once and
    // copied, so that no pixel is written twice and short bar runs are not set row by row.
    std::vector<int> edges{0, image.height()};
    for (const QRect &bar : bars) {
        edges.push_back(bar.top());
        edges.push_back(bar.bottom() + 1);
    }
    const QRect hole = spared.intersected(image.rect());
    if (!hole.isEmpty()) {
        edges.push_back(hole.top());
        edges.push_back(hole.bottom() + 1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    const int width = image.width();
    std::vector<T> row(static_cast<std::size_t>(width));
    uchar *bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (std::size_t band = 0; band + 1 < edges.size(); ++band) {
        const int top = std::max(edges[band], 0);
        const int bottom = std::min(edges[band + 1], image.height());
        if (top >= bottom)
            continue;
        std::fill(row.begin(), row.end(), background);
        for (const QRect &bar : bars) {
            if (top >= bar.top() && top <= bar.bottom())
                std::fill(row.begin() + bar.left(), row.begin() + bar.right() + 1, ink);
        }
        if (!hole.isEmpty() && top >= hole.top() && top <= hole.bottom()) {
            // The pixels left and right of the spared ones.
            const std::size_t leftBytes = std::size_t(hole.left()) * sizeof(T);
            const std::size_t rightBytes = std::size_t(width - hole.right() - 1) * sizeof(T);
            for (int y = top; y < bottom; ++y) {
                uchar *line = bits + y * bytesPerLine;
                std::memcpy(line, row.data(), leftBytes);
                std::memcpy(line + leftBytes + std::size_t(hole.width()) * sizeof(T), row.data() + hole.right() + 1,
                            rightBytes);
            }
            continue;
        }
        for (int y = top; y < bottom; ++y)
            std::memcpy(bits + y * bytesPerLine, row.data(), std::size_t(width) * sizeof(T));
    }
}

} // namespace

NKDBarcodeOffscreenView::NKDBarcodeOffscreenView(const NKDBarcode &barcode)
    : m_barcode(&barcode)
    , m_settings(barcode.settings())
{
    const float headerWidth = barcode.printsHeader() ? barcode.headerWidth() : 0.0f;
    const float footerWidth = barcode.printsFooter() ? barcode.footerWidth() : 0.0f;
    m_size = QSizeF(std::max({headerWidth, footerWidth, barcode.width()}), barcode.height());
    m_bars = barRects(&m_barHeight);
}

NKDBarcodeOffscreenView::NKDBarcodeOffscreenView(const QImage &symbol, const TwoDPictureLayout &layout,
                                                 const BarcodeSettings &settings)
    : m_symbol(symbol)
    , m_layout(layout)
    , m_settings(settings)
    , m_size(layout.width, layout.height)
{
}

NKDBarcodeOffscreenView::NKDBarcodeOffscreenView(const ModuleGridPicture::Plan &symbol, const TwoDPictureLayout &layout,
                                                 const BarcodeSettings &settings)
    : m_plan(symbol)
    , m_layout(layout)
    , m_settings(settings)
    , m_size(layout.width, layout.height)
{
}

void NKDBarcodeOffscreenView::draw(QPainter &painter) const
{
    paint(painter, 0.0);
}

void NKDBarcodeOffscreenView::paint(QPainter &painter, double pixelsPerPoint, const std::vector<int> &edges) const
{
    if (m_barcode)
        drawLinear(painter, pixelsPerPoint, edges);
    else
        drawTwoD(painter, pixelsPerPoint);
}

std::vector<QRectF> NKDBarcodeOffscreenView::barRects(double *barHeight) const
{
    const NKDBarcode &barcode = *m_barcode;
    const BarcodeSettings &s = m_settings;
    const double bh = m_size.height();
    const double b = barcode.barWidth();
    const QByteArray bars = barcode.completeBarcode();
    const qsizetype L = bars.size();
    const double capH = barcode.printsCaption() ? double(barcode.captionHeight()) * 72.0 : 0.0;
    const double ftrH = barcode.printsFooter() ? double(barcode.footerHeight()) * 72.0 : 0.0;
    // The common bottom line of the bars.
    const double y0 = s.captionOnTop ? ftrH + s.footer_margin + s.TB_margin
                                     : capH + ftrH + s.value_margin + s.footer_margin + s.TB_margin;
    const bool fromBottom = barcode.drawsFromBarBottom();

    // One run of '1' modules is one bar, its ends taken from the run's last module.
    std::vector<QRectF> rects;
    double x = (m_size.width() - double(L) * b) / 2.0;
    int run = 0;
    int last = 0;
    double barH = 0.0;
    const auto emitBar = [&] {
        const double top = barcode.barTop(last);
        const double bottom = fromBottom ? double(barcode.barBottom(last)) : 0.0;
        rects.emplace_back(x, bh - y0 - top, b * run, top - bottom);
        barH = top;
    };
    for (qsizetype i = 0; i < L; ++i) {
        if (bars.at(i) == '1') {
            ++run;
            last = int(i);
            if (i == L - 1)
                emitBar();
        } else {
            if (run > 0)
                emitBar();
            x += b * (run + 1);
            run = 0;
        }
    }
    if (barHeight)
        *barHeight = barH;
    return rects;
}

QRect NKDBarcodeOffscreenView::snapped(const QRectF &device)
{
    const int left = int(std::lround(device.left()));
    const int right = int(std::lround(device.right()));
    const int top = int(std::lround(device.top()));
    const int bottom = int(std::lround(device.bottom()));
    return QRect(left, top, right - left, bottom - top);
}

void NKDBarcodeOffscreenView::drawLinear(QPainter &painter, double pixelsPerPoint, const std::vector<int> &edges) const
{
    const NKDBarcode &barcode = *m_barcode;
    const BarcodeSettings &s = m_settings;
    const double bw = m_size.width();
    const double bh = m_size.height();
    const double W = barcode.width();
    const double b = barcode.barWidth();
    const int m = int(barcode.initiator().size());
    const double hdrH = barcode.printsHeader() ? double(barcode.headerHeight()) * 72.0 : 0.0;
    const double ftrH = barcode.printsFooter() ? double(barcode.footerHeight()) * 72.0 : 0.0;
    const bool onTop = s.captionOnTop;

    // A bitmap comes filled with the background already.
    if (pixelsPerPoint <= 0)
        painter.fillRect(QRectF(0, 0, bw, bh), s.backgroundColor);

    // A bitmap holds the bars already (toImage() puts them on whole pixels).
    const double barH = m_barHeight;
    if (pixelsPerPoint <= 0) {
        for (const QRectF &bar : m_bars)
            painter.fillRect(bar, s.barColor);
    }

    if (barcode.printsCaption()) {
        const double firstBar = barcode.firstBar();
        const double yc = onTop ? ftrH + s.footer_margin + barH + s.value_margin + s.TB_margin
                                : ftrH + s.footer_margin + s.TB_margin;
        const bool slotted = dynamic_cast<const NKDAbstractUPCEANBarcode *>(&barcode) != nullptr;
        if (slotted)
            drawDigitSlots(painter, bh - yc, edges, pixelsPerPoint);
        const QString left = slotted ? QString() : barcode.leftCaption();
        const QString middle = slotted ? QString() : barcode.caption();
        const QString right = slotted ? QString() : barcode.rightCaption();
        if (!left.isEmpty())
            BarcodeText::drawAtPoint(painter, left, s.value_font, s.captionColor, 0.0,
                                     QPointF(firstBar * 0.25 + s.LR_margin, bh - yc));
        if (!middle.isEmpty()) {
            const QStringList groups = middle.split(QLatin1Char('\t'));
            const qsizetype n = groups.size();
            if (left.isEmpty() && n == 1) {
                const QSizeF measured = BarcodeText::measure(middle, s.value_font);
                // Stretched, the first letter starts at the first bar and the last one ends at
                // the last bar; the quiet zones and side margins stay clear.
                double barsLeft = W;
                double barsRight = 0.0;
                for (const QRectF &bar : m_bars) {
                    barsLeft = std::min(barsLeft, bar.left());
                    barsRight = std::max(barsRight, bar.right());
                }
                const int length = int(middle.size());
                const double spacing = oneGroupKerning(barsRight - barsLeft, measured.width(), length, s.stretchCaption);
                if (s.stretchCaption && length > 1 && barsRight - barsLeft > measured.width())
                    BarcodeText::drawAtPoint(painter, middle, s.value_font, s.captionColor, spacing,
                                             QPointF(barsLeft, bh - yc));
                else {
                    // One line across the picture, clear of its side margins: a caption too
                    // long for it is set smaller rather than wrapped onto a line with no room.
                    const FittedCaption fitted = fittedCaption(middle, s.value_font, spacing,
                                                               bw - 2.0 * std::max(s.LR_margin, 1.0));
                    BarcodeText::drawInRect(painter, middle, fitted.font, s.captionColor, fitted.spacing,
                                            Qt::AlignHCenter,
                                            QRectF(0, bh - yc - fitted.size.height(), bw, fitted.size.height()));
                }
            } else {
                QList<double> widths;
                QList<int> lengths;
                for (const QString &group : groups) {
                    widths << BarcodeText::measure(group, s.value_font).width();
                    lengths << int(group.size());
                }
                const QList<CaptionGroup> placed = groupedCaption(W, b, m, firstBar, s.LR_margin, widths, lengths);
                for (qsizetype i = 0; i < n; ++i)
                    BarcodeText::drawAtPoint(painter, groups.at(i), s.value_font, s.captionColor, placed.at(i).kerning,
                                             QPointF(placed.at(i).x, bh - yc));
            }
        }
        if (!right.isEmpty())
            BarcodeText::drawAtPoint(painter, right, s.value_font, s.captionColor, 0.0,
                                     QPointF(double(barcode.lastBar()) + 0.07 * W + s.LR_margin, bh - yc));
    }

    if (barcode.printsHeader()) {
        const double th = BarcodeText::measure(barcode.header(), s.header_font).height();
        BarcodeText::drawInRect(painter, barcode.header(), s.header_font, s.headerColor, BarcodeText::kHeaderFooterKerning,
                                BarcodeSettings::alignmentFromName(s.headerAlignment),
                                QRectF(0, hdrH + s.TB_margin - th, bw, th));
    }
    if (barcode.printsFooter()) {
        const double th = BarcodeText::measure(barcode.footer(), s.footer_font).height();
        BarcodeText::drawInRect(painter, barcode.footer(), s.footer_font, s.footerColor, BarcodeText::kHeaderFooterKerning,
                                BarcodeSettings::alignmentFromName(s.footerAlignment),
                                QRectF(0, bh - s.TB_margin - th, bw, th));
    }
}

QList<int> NKDBarcodeOffscreenView::digitSlots(int modules, int start, int end, const QList<int> &digits)
{
    QList<int> places;
    if (digits.size() == 1) {
        for (int i = 0; i < digits.first(); ++i)
            places << start + i * kModulesPerDigit;
    } else if (digits.size() == 2) {
        const int centre = start + (modules - start - end - 5) / 2;
        for (int i = digits.at(0); i > 0; --i)
            places << centre - i * kModulesPerDigit;
        for (int i = 0; i < digits.at(1); ++i)
            places << centre + 5 + i * kModulesPerDigit;
    }
    return places;
}

void NKDBarcodeOffscreenView::drawDigitSlots(QPainter &painter, double bottom, const std::vector<int> &edges,
                                             double pixelsPerPoint) const
{
    const NKDBarcode &barcode = *m_barcode;
    const BarcodeSettings &s = m_settings;
    const QByteArray pattern = barcode.completeBarcode();
    const qsizetype n = pattern.size();
    const double nominalLeft = (m_size.width() - double(n) * barcode.barWidth()) / 2.0;
    // Where module k starts: where the bars were laid for readers, or as measured.
    const bool laid = qsizetype(edges.size()) == n + 1 && pixelsPerPoint > 0;
    const auto moduleX = [&](qsizetype k) {
        return laid ? edges[std::size_t(k)] / pixelsPerPoint : nominalLeft + double(k) * barcode.barWidth();
    };
    const double barsLeft = moduleX(0);
    const double barsRight = moduleX(n);
    const double b = n > 0 ? (barsRight - barsLeft) / double(n) : barcode.barWidth();
    QString digits;
    QList<int> groups;
    for (const QString &group : barcode.caption().split(QLatin1Char('\t'))) {
        const QString trimmed = group.trimmed();
        digits += trimmed;
        groups << int(trimmed.size());
    }
    const QList<int> places = digitSlots(int(n), int(barcode.initiator().size()), int(barcode.terminator().size()),
                                         groups);
    const QString left = barcode.leftCaption();
    const QString right = barcode.rightCaption();

    // One type size and one baseline for every digit, those outside the guards too: the widest
    // digit keeps a module clear of its slot's neighbours, an outer digit a module clear of the
    // bars and a point of the picture's edge.
    const auto widest = [&](const QString &text, const CardFont &font) {
        double width = 0.0;
        for (const QChar c : text)
            width = std::max(width, BarcodeText::measure(QString(c), font).width());
        return width;
    };
    CardFont font = s.value_font;
    double scale = 1.0;
    double narrowest = kModulesPerDigit * b;
    for (const int place : places)
        if (place >= 0 && place + kModulesPerDigit <= n)
            narrowest = std::min(narrowest, moduleX(place + kModulesPerDigit) - moduleX(place));
    if (const double w = widest(digits, font); w > 0)
        scale = std::min(scale, (narrowest - b) / w);
    const double side = std::min(barsLeft, m_size.width() - barsRight) - b - 1.0;
    for (const QString &outer : {left, right})
        if (const double w = widest(outer, font); w > 0)
            scale = std::min(scale, std::max(side, 0.0) / w);
    if (scale < 1.0)
        font.pointSize = s.value_font.pointSize * scale;

    for (qsizetype i = 0; i < digits.size() && i < places.size(); ++i) {
        const int place = places.at(i);
        if (place < 0 || place + kModulesPerDigit > n)
            continue;
        const QString digit(digits.at(i));
        const double width = BarcodeText::measure(digit, font).width();
        const double from = moduleX(place);
        const double to = moduleX(place + kModulesPerDigit);
        BarcodeText::drawAtPoint(painter, digit, font, s.captionColor, 0.0,
                                 QPointF((from + to - width) / 2.0, bottom));
    }
    if (!left.isEmpty())
        BarcodeText::drawAtPoint(painter, left, font, s.captionColor, 0.0,
                                 QPointF(barsLeft - b - BarcodeText::measure(left, font).width(), bottom));
    if (!right.isEmpty())
        BarcodeText::drawAtPoint(painter, right, font, s.captionColor, 0.0, QPointF(barsRight + b, bottom));
}

void NKDBarcodeOffscreenView::drawTwoD(QPainter &painter, double pixelsPerPoint) const
{
    const BarcodeSettings &s = m_settings;
    const double bw = m_size.width();
    const double bh = m_size.height();
    if (pixelsPerPoint <= 0)
        painter.fillRect(QRectF(0, 0, bw, bh), s.backgroundColor);

    if (m_layout.printsHeader) {
        const double th = BarcodeText::measure(m_layout.header, s.header_font).height();
        const double headerBottom = double(m_layout.headerHeight) * 72.0 + s.TB_margin;
        BarcodeText::drawInRect(painter, m_layout.header, s.header_font, s.headerColor, BarcodeText::kHeaderFooterKerning,
                                BarcodeSettings::alignmentFromName(s.headerAlignment), QRectF(0, headerBottom - th, bw, th));
    }
    QImage *bitmap = painter.device() && painter.device()->devType() == QInternal::Image
        ? static_cast<QImage *>(painter.device())
        : nullptr;
    const QRect copied = bitmap ? copiedSymbolPixels(pixelsPerPoint, *bitmap) : QRect();
    if (!copied.isEmpty()) {
        // rasterise() left these pixels to the symbol: its rows go straight into the bitmap, as
        // a painter would copy them, or its modules without a symbol picture between.
        const QPoint corner = symbolCorner(symbolTarget(), pixelsPerPoint);
        if (m_symbol.isNull())
            ModuleGridPicture::drawInto(*bitmap, corner, m_plan);
        else
            copyRows(*bitmap, copied, lightModulesIn(m_symbol, s.backgroundColor), corner);
    } else if (const QImage symbol = symbolPicture(); !symbol.isNull()) {
        const QRectF target = symbolTarget();
        if (pixelsPerPoint <= 0) {
            drawSymbolLossless(painter, target, symbol);
        } else {
        // Drawn over the background: the symbol's transparent margin and its light modules take
        // the picture's background colour, so the quiet zone never lets a card show through.
        const QImage drawn = lightModulesIn(symbol, s.backgroundColor);
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (madeAtScale(target, drawn.size(), pixelsPerPoint)) {
            // A symbol made at the picture's resolution goes in pixel for pixel, its corner on
            // the nearest pixel: modules keep their pixel widths and opaque rows are copied.
            const QPoint corner = symbolCorner(target, pixelsPerPoint);
            painter.resetTransform();
            painter.drawImage(corner, drawn);
        } else {
            painter.drawImage(target, drawn);
        }
        painter.restore();
        }
    }
    if (m_layout.printsFooter) {
        const double th = BarcodeText::measure(m_layout.footer, s.footer_font).height();
        BarcodeText::drawInRect(painter, m_layout.footer, s.footer_font, s.footerColor, BarcodeText::kHeaderFooterKerning,
                                BarcodeSettings::alignmentFromName(s.footerAlignment),
                                QRectF(0, bh - s.TB_margin - th, bw, th));
    }
}

QRectF NKDBarcodeOffscreenView::symbolTarget() const
{
    // Below the header band's lower edge and the header margin, centred across.
    const double hdrH = m_layout.printsHeader ? double(m_layout.headerHeight) * 72.0 : 0.0;
    const QSizeF symbol = m_symbol.isNull() ? ModuleGridPicture::pointSize(m_plan) : BarcodeUnits::pointSize(m_symbol);
    return QRectF((double(m_layout.width) - symbol.width()) / 2.0,
                  hdrH + m_settings.TB_margin + m_settings.header_margin, symbol.width(), symbol.height());
}

QRect NKDBarcodeOffscreenView::copiedSymbolPixels(double pixelsPerPoint, const QImage &bitmap) const
{
    // Opaque pixels on an opaque background in the bitmap's own format: what a painter would
    // blend is a plain copy. A module grid on an opaque background, drawn where the picture's
    // background leaves its white as it is, writes the pixels its picture would have.
    if (m_barcode || m_settings.backgroundColor.alpha() != 255
        || (bitmap.format() != QImage::Format_Grayscale8 && bitmap.depth() != 32))
        return {};
    QSize pixels;
    if (m_symbol.isNull()) {
        if (qAlpha(m_plan.background) != 255 || qPremultiply(m_settings.backgroundColor.rgba()) != 0xFFFFFFFFu)
            return {};
        pixels = ModuleGridPicture::pixelSize(m_plan);
    } else {
        const bool sameFormat = bitmap.format() == QImage::Format_Grayscale8
            ? m_symbol.format() == QImage::Format_Grayscale8
            : m_symbol.format() == QImage::Format_RGB32;
        if (!sameFormat)
            return {};
        pixels = m_symbol.size();
    }
    const QRectF target = symbolTarget();
    if (pixels.isEmpty() || !madeAtScale(target, pixels, pixelsPerPoint))
        return {};
    return QRect(symbolCorner(target, pixelsPerPoint), pixels).intersected(bitmap.rect());
}

bool NKDBarcodeOffscreenView::drawsGrey() const
{
    const BarcodeSettings &s = m_settings;
    for (const QColor &colour : {s.backgroundColor, s.barColor, s.captionColor, s.headerColor, s.footerColor})
        if (!isOpaqueGrey(colour))
            return false;
    if (m_barcode || m_symbol.format() == QImage::Format_Grayscale8)
        return true;
    return m_symbol.isNull() && !m_plan.grid.isEmpty() && GreyPictures::isOpaqueGrey(m_plan.background);
}

QImage NKDBarcodeOffscreenView::symbolPicture() const
{
    return m_symbol.isNull() && !m_plan.grid.isEmpty() ? ModuleGridPicture::render(m_plan) : m_symbol;
}

QList<NKDBarcodeOffscreenView::CaptionGroup> NKDBarcodeOffscreenView::groupedCaption(double W, double b, int m,
                                                                                     double firstBar, double lrMargin,
                                                                                     const QList<double> &widths,
                                                                                     const QList<int> &lengths)
{
    const qsizetype n = std::min(widths.size(), lengths.size());
    QList<CaptionGroup> groups;
    if (n == 0)
        return groups;
    const double g = n == 1 ? W - 2.0 * m * b - 2.0 * firstBar : W / double(n) - m * b - firstBar;
    for (qsizetype i = 0; i < n; ++i) {
        const double k = lengths.at(i) > 0 ? (g - widths.at(i)) / (2.0 * lengths.at(i)) : 0.0;
        groups.append({3.0 * k + firstBar + double(i + 1) * m * b + double(i) * g + lrMargin, 1.3 * k});
    }
    return groups;
}

double NKDBarcodeOffscreenView::oneGroupKerning(double span, double w, int length, bool stretch)
{
    // The spacing after the last letter lies beyond its ink: length - 1 gaps share the room.
    if (!stretch || length < 2 || !(span > w))
        return kUnstretchedKerning;
    return (span - w) / double(length - 1);
}

NKDBarcodeOffscreenView::FittedCaption NKDBarcodeOffscreenView::fittedCaption(const QString &text,
                                                                             const CardFont &font, double spacing,
                                                                             double room)
{
    FittedCaption fitted{font, spacing, BarcodeText::measure(text, font, spacing)};
    if (!(room > 0) || !(fitted.size.width() > room))
        return fitted;
    // Letters and spacing shrink together, so the width follows the scale closely; what
    // rounding leaves over is taken off a percent at a time.
    double scale = room / fitted.size.width();
    for (int attempt = 0; attempt < 50; ++attempt, scale *= 0.99) {
        fitted.font.pointSize = font.pointSize * scale;
        fitted.spacing = spacing * scale;
        fitted.size = BarcodeText::measure(text, fitted.font, fitted.spacing);
        if (fitted.size.width() <= room)
            break;
    }
    return fitted;
}

void NKDBarcodeOffscreenView::fillRows(QImage &image, const std::vector<QRect> &bars, QRgb background, QRgb ink,
                                       const QRect &spared)
{
    if (image.format() == QImage::Format_Grayscale8)
        fillBands<uchar>(image, bars, uchar(qRed(background)), uchar(qRed(ink)), spared);
    else
        fillBands<QRgb>(image, bars, background, ink, spared);
}

std::vector<int> NKDBarcodeOffscreenView::moduleEdges(double scale, double quietZone) const
{
    const double b = m_barcode->barWidth();
    if (quietZone < 0 || !(b > 0))
        return {};
    return readableEdges(m_barcode->completeBarcode(), b * scale, quietZone / b, m_size.width() * scale);
}

std::vector<QRect> NKDBarcodeOffscreenView::deviceBars(double scale, const std::vector<int> &edges,
                                                       const QRect &bounds) const
{
    std::vector<QRect> bars;
    bars.reserve(m_bars.size());
    const double b = m_barcode->barWidth();
    const QByteArray pattern = m_barcode->completeBarcode();
    const double start = (m_size.width() - double(pattern.size()) * b) / 2.0;
    for (const QRectF &bar : m_bars) {
        QRect device = snapped(QRectF(bar.x() * scale, bar.y() * scale, bar.width() * scale, bar.height() * scale));
        if (!edges.empty()) {
            const qsizetype first = std::clamp<qsizetype>(std::lround((bar.x() - start) / b), 0, pattern.size());
            const qsizetype end = std::clamp<qsizetype>(first + std::max(1L, std::lround(bar.width() / b)), 0, pattern.size());
            device.setLeft(edges[std::size_t(first)]);
            device.setRight(edges[std::size_t(end)] - 1);
        }
        device = device.intersected(bounds);
        if (!device.isEmpty())
            bars.push_back(device);
    }
    return bars;
}

std::vector<int> NKDBarcodeOffscreenView::readableEdges(const QByteArray &pattern, double exact, double quiet,
                                                        double width)
{
    const qsizetype n = pattern.size();
    if (n == 0 || !(exact > 0))
        return {};
    std::vector<int> edges(std::size_t(n) + 1, 0);
    const double own = double(n) * exact;
    // A picture that leaves less beside the bars than the quiet zone (EAN and UPC place caption
    // digits there) keeps what it leaves.
    quiet = std::max(0.0, std::min(quiet, (width - own) / 2.0 / exact));
    const auto centred = [width](double span) { return width / 2.0 - span / 2.0; };

    if (exact >= kExactModulePixels) {
        // Rounding moves each edge by half a pixel at most, so a group of narrow elements may
        // come out a pixel wider than its modules: the quiet zone gets a quarter pixel a module
        // and a pixel more, when narrowing the bars by 3 % at most makes room.
        const double room = (width - quiet / 2.0 - 2.0) / (double(n) + 2.0 * quiet);
        const double module = room < exact && room >= 0.97 * exact ? room : exact;
        const double first = centred(double(n) * module);
        for (qsizetype k = 0; k <= n; ++k)
            edges[std::size_t(k)] = int(std::lround(first + double(k) * module));
        return edges;
    }

    // Small modules: every module `whole` pixels. The bars keep their span (less what a quiet
    // zone of such modules needs, by 3 % at most): the pixels over or under it come off or go
    // to some elements, one each, spread along the symbol.
    struct Run
    {
        qsizetype start;
        int modules;
        int pixels;
    };
    std::vector<Run> runs;
    int widest = 0;
    for (qsizetype k = 0; k < n;) {
        qsizetype e = k;
        while (e < n && pattern.at(e) == pattern.at(k))
            ++e;
        runs.push_back({k, int(e - k), 0});
        widest = std::max(widest, int(e - k));
        k = e;
    }
    const int whole = std::max(1, int(std::lround(exact)));
    const double allowed = std::min(own, width - 2.0 * (quiet * whole + 1.0));
    const int span = std::min(int(std::lround(own)), int(std::floor(allowed)));
    int surplus = int(n) * whole - span;
    // The elements that take the pixel over or under the span, one each. Codes of narrow and
    // twice as wide elements lose it on single-module spaces next to a wide space: readers
    // tell narrow from wide within a character by a threshold between its narrowest and widest
    // spaces, which a thinner narrow space beside a wide one never crosses, whereas a wide
    // element a pixel thinner would reach it. Other codes lose or gain it on their widest
    // elements, where it weighs least; at most one in four of them.
    std::vector<std::size_t> takers;
    const bool twoWidths = widest <= 2;
    if (surplus > 0 && twoWidths && whole > 1) {
        std::vector<std::size_t> spaces;
        for (std::size_t i = 0; i < runs.size(); ++i)
            if (pattern.at(runs[i].start) != '1')
                spaces.push_back(i);
        for (std::size_t j = 0; j < spaces.size(); ++j) {
            const bool wideBefore = j > 0 && runs[spaces[j - 1]].modules >= 2;
            const bool wideAfter = j + 1 < spaces.size() && runs[spaces[j + 1]].modules >= 2;
            if (runs[spaces[j]].modules == 1 && (wideBefore || wideAfter))
                takers.push_back(spaces[j]);
        }
    } else if (surplus != 0) {
        for (int modules = widest; modules >= 2; --modules)
            for (std::size_t i = 0; i < runs.size(); ++i)
                if (runs[i].modules == modules)
                    takers.push_back(i);
    }
    const bool spread = surplus > 0 && twoWidths;
    if (double(span) < 0.97 * own || (surplus != 0 && (spread ? 1 : 4) * std::abs(surplus) > qsizetype(takers.size()))) {
        // Too many to spread: even modules, rounded down unless the bars and their quiet zone
        // in rounded modules fit the picture.
        int module = whole;
        if (double(module) * (double(n) + 2.0 * quiet) + 2.0 > width)
            module = std::max(1, int(std::floor(exact)));
        const int first = int(std::lround(centred(double(n) * module)));
        for (qsizetype k = 0; k <= n; ++k)
            edges[std::size_t(k)] = first + int(k) * module;
        return edges;
    }
    for (Run &run : runs)
        run.pixels = run.modules * whole;
    const int step = surplus > 0 ? -1 : 1;
    if (spread) {
        // Spread along the symbol.
        const std::size_t take = std::size_t(surplus);
        for (std::size_t j = 0; j < take; ++j)
            runs[takers[(2 * j + 1) * takers.size() / (2 * take)]].pixels -= 1;
    } else {
        // The widest first, each width spread along the symbol.
        std::size_t from = 0;
        int remaining = std::abs(surplus);
        while (remaining > 0 && from < takers.size()) {
            std::size_t to = from;
            while (to < takers.size() && runs[takers[to]].modules == runs[takers[from]].modules)
                ++to;
            const std::size_t alike = to - from;
            const std::size_t take = std::min(alike, std::size_t(remaining));
            for (std::size_t j = 0; j < take; ++j)
                runs[takers[from + (2 * j + 1) * alike / (2 * take)]].pixels += step;
            remaining -= int(take);
            from = to;
        }
    }
    int x = int(std::lround(centred(double(span))));
    for (const Run &run : runs) {
        edges[std::size_t(run.start)] = x;
        x += run.pixels;
    }
    edges[std::size_t(n)] = x;
    return edges;
}

QImage NKDBarcodeOffscreenView::toImage(double dpi) const
{
    return rasterise(dpi, -1.0);
}

QImage NKDBarcodeOffscreenView::toReadableImage(double dpi, double quietZone) const
{
    return rasterise(dpi, std::max(0.0, quietZone));
}

QImage NKDBarcodeOffscreenView::toArgbImage(double dpi) const
{
    return rasterise(dpi, -1.0, false);
}

QImage NKDBarcodeOffscreenView::rasterise(double dpi, double quietZone, bool mayBeGrey) const
{
    if (!(dpi > 0) || !(m_size.width() > 0) || !(m_size.height() > 0))
        return {};
    const double wPixels = std::ceil(m_size.width() * dpi / 72.0);
    const double hPixels = std::ceil(m_size.height() * dpi / 72.0);
    if (wPixels * hPixels * 4.0 > double(kMaxImageBytes) || wPixels > 1e6 || hPixels > 1e6)
        return {};
    const QSize pixels = BarcodeUnits::pixelSize(m_size, dpi);
    QImage image(pixels, mayBeGrey && drawsGrey() ? QImage::Format_Grayscale8 : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    const int dotsPerMetre = int(std::lround(dpi * kInchesPerMetre));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    const double scale = dpi / 72.0;
    std::vector<QRect> bars;
    std::vector<int> edges;
    if (m_barcode) {
        edges = moduleEdges(scale, quietZone);
        bars = deviceBars(scale, edges, image.rect());
    }
    if (m_barcode && m_settings.barColor.alpha() == 255) {
        // Background and opaque bars go straight into the pixels: many tall thin rectangles
        // cost a painter more than the rest of the picture.
        fillRows(image, bars, qPremultiply(m_settings.backgroundColor.rgba()), m_settings.barColor.rgba());
    } else if (const QRect symbol = copiedSymbolPixels(scale, image); !symbol.isEmpty()) {
        // The background around the symbol's pixels, which drawTwoD() copies in: no pixel is
        // written twice.
        fillRows(image, {}, qPremultiply(m_settings.backgroundColor.rgba()), 0, symbol);
    } else if (image.format() == QImage::Format_Grayscale8) {
        image.fill(uint(qRed(m_settings.backgroundColor.rgba64().toArgb32())));
    } else {
        // The whole bitmap, also a last row or column that the picture covers only in part.
        image.fill(m_settings.backgroundColor);
    }
    QPainter painter(&image);
    if (m_barcode && m_settings.barColor.alpha() != 255) {
        // Every bar edge on a pixel edge, so that equal modules stay equal and no bar is
        // smeared into grey.
        for (const QRect &bar : bars)
            painter.fillRect(bar, m_settings.barColor);
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(scale, scale);
    paint(painter, scale, edges);
    painter.end();
    return image;
}

void NKDBarcodeOffscreenView::drawSymbolLossless(QPainter &painter, const QRectF &target, const QImage &picture) const
{
    // Dark modules are the symbol's pixels in the bar colour (or black).
    const QImage symbol = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb ink = qPremultiply(m_settings.barColor.rgba());
    const auto isDark = [ink](QRgb pixel) { return pixel == ink || pixel == 0xFF000000u; };
    const int w = symbol.width();
    const int h = symbol.height();
    const bool blackOnWhite = m_settings.barColor == QColor(Qt::black) && m_settings.backgroundColor == QColor(Qt::white);
    if (blackOnWhite) {
        // A one-bit picture of exactly black and white, which PDF writers keep losslessly.
        QImage mono(w, h, QImage::Format_Mono);
        mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        mono.fill(1);
        for (int y = 0; y < h; ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(symbol.constScanLine(y));
            uchar *bits = mono.scanLine(y);
            for (int x = 0; x < w; ++x)
                if (isDark(row[x]))
                    bits[x >> 3] &= uchar(~(0x80 >> (x & 7)));
        }
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, mono);
        painter.restore();
        return;
    }
    // Other colours: the dark modules as one filled outline, runs of equal rows merged.
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const double sx = target.width() / std::max(1, w);
    const double sy = target.height() / std::max(1, h);
    std::vector<std::pair<int, int>> runs;
    std::vector<std::pair<int, int>> previous;
    int bandTop = 0;
    const auto flush = [&](int bandBottom) {
        for (const auto &[from, to] : previous)
            path.addRect(QRectF(target.x() + from * sx, target.y() + bandTop * sy, (to - from) * sx,
                                (bandBottom - bandTop) * sy));
    };
    for (int y = 0; y <= h; ++y) {
        runs.clear();
        if (y < h) {
            const auto *row = reinterpret_cast<const QRgb *>(symbol.constScanLine(y));
            for (int x = 0; x < w;) {
                if (!isDark(row[x])) {
                    ++x;
                    continue;
                }
                const int from = x;
                while (x < w && isDark(row[x]))
                    ++x;
                runs.emplace_back(from, x);
            }
        }
        if (y == h || runs != previous) {
            flush(y);
            previous = runs;
            bandTop = y;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(path, m_settings.barColor);
    painter.restore();
}

QPicture NKDBarcodeOffscreenView::toPicture() const
{
    QPicture picture;
    QPainter painter(&picture);
    paint(painter, 0.0);
    painter.end();
    picture.setBoundingRect(QRect(QPoint(0, 0), m_size.toSize()));
    return picture;
}

QByteArray NKDBarcodeOffscreenView::toPdf() const
{
    if (!(m_size.width() > 0) || !(m_size.height() > 0))
        return {};
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(m_size, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const double scale = kPdfResolution / 72.0;
        painter.scale(scale, scale);
        paint(painter, 0.0);
        painter.end();
    }
    buffer.close();
    return data;
}

QImage NKDBarcodeOffscreenView::imageFromBarcode(const NKDBarcode *barcode)
{
    if (!barcode)
        return {};
    return NKDBarcodeOffscreenView(*barcode).toImage(barcode->settings().resolution);
}

QImage NKDBarcodeOffscreenView::imageFromBarcodeImage(const QImage &symbol, const TwoDPictureLayout &layout,
                                                      const BarcodeSettings &settings)
{
    if (symbol.isNull())
        return {};
    return NKDBarcodeOffscreenView(symbol, layout, settings).toImage(settings.resolution);
}

QImage NKDBarcodeOffscreenView::imageFromModuleGrid(const ModuleGridPicture::Plan &symbol,
                                                    const TwoDPictureLayout &layout, const BarcodeSettings &settings)
{
    if (ModuleGridPicture::pixelSize(symbol).isEmpty())
        return {};
    return NKDBarcodeOffscreenView(symbol, layout, settings).toImage(settings.resolution);
}

QByteArray NKDBarcodeOffscreenView::pdfFromBarcode(const NKDBarcode *barcode)
{
    if (!barcode)
        return {};
    return NKDBarcodeOffscreenView(*barcode).toPdf();
}
