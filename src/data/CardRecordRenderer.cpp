#include "data/CardRecordRenderer.h"

#include "barcode/generator/BarcodeDevicePainter.h"
#include "data/DataBinding.h"
#include "data/PictureCache.h"
#include "document/ImageEffects.h"
#include "document/LMNImage.h"
#include "document/PictureReading.h"
#include "document/StringUtilities.h"

#include <QMap>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <mutex>

#include <malloc.h>

namespace {

// Bound pictures kept for a run, at the size they are drawn at: a few hundred cards' worth of
// photos of a card's size, whatever the size of the files.
constexpr qint64 kPictureBudget = qint64(128) << 20;

// Device pixels per point of a card side drawn at `dpi`, as the renderer rounds the side to
// whole pixels.
QSizeF pixelsPerPoint(const QSizeF &card, double dpi)
{
    auto scale = [dpi](double points) {
        return points > 0 ? std::ceil(points * dpi / 72.0 - 1e-9) / points : dpi / 72.0;
    };
    return QSizeF(scale(card.width()), scale(card.height()));
}

// The pixels a picture element covers at `scale` device pixels a point, as LMNImage counts
// them when it draws.
QSize drawnPixels(const LMNImage &image, const QSizeF &scale)
{
    const QSizeF size = image.rotatedPictureSize();
    auto devicePixels = [](double length) { return int(std::clamp(std::ceil(length), 1.0, 1.0e6)); };
    return QSize(devicePixels(size.width() * scale.width()), devicePixels(size.height() * scale.height()));
}

// The picture of `path` no larger than `pixels` (stretched to it like the element draws it,
// never enlarged). Formats that can, JPEG above all, decode straight at the small size, so a
// 12-megapixel photo never becomes 48 MB of pixels for a card a few centimetres wide.
PictureReading::Result readScaled(const QString &path, const QSize &pixels)
{
    return PictureReading::readFile(path, [pixels](const QSize &upright) {
        return QSize(std::clamp(pixels.width(), 1, upright.width()), std::clamp(pixels.height(), 1, upright.height()));
    });
}

// Cards are pictures of a few megabytes made and dropped one after another on every worker:
// freed memory is kept for the next card rather than handed back to the system and faulted
// in again page by page.
void keepFreedPictureMemory()
{
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 128 << 20);
        return true;
    }();
    Q_UNUSED(done);
}

QString rangesText(const QList<QPair<int, int>> &ranges)
{
    constexpr int kShown = 6;
    QStringList parts;
    for (qsizetype i = 0; i < std::min<qsizetype>(ranges.size(), kShown); ++i) {
        const auto &[first, last] = ranges.at(i);
        parts << (first == last ? QString::number(first) : QStringLiteral("%1\u2013%2").arg(first).arg(last));
    }
    if (ranges.size() > kShown)
        parts << QStringLiteral("\u2026");
    const bool one = ranges.size() == 1 && ranges.first().first == ranges.first().second;
    return (one ? QStringLiteral("Card ") : QStringLiteral("Cards ")) + parts.join(QStringLiteral(", "));
}

QString kindName(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Image: return QStringLiteral("picture");
    case GraphicKind::Barcode: return QStringLiteral("barcode");
    default: return QStringLiteral("text");
    }
}

} // namespace

struct CardRecordRenderer::Private
{
    CardSnapshot snapshot;
    // Shared by every thread that asks for cards: bound pictures decoded at the size they are
    // drawn at, and their copies with each element's effects, within a budget of bytes.
    PictureCache pictures{kPictureBudget};
    // Why bound picture paths where something is were not taken (not a regular file, not a
    // picture, damaged, too large), by path: told at the end of the run, beside the cards that
    // lack them.
    std::mutex problemsMutex;
    QMap<QString, QString> pictureProblems;

    void noteProblem(const QString &path, const PictureReading::Result &read)
    {
        if (read.outcome == PictureReading::Outcome::Read || read.outcome == PictureReading::Outcome::Missing)
            return;
        QString message = PictureReading::fileMessage(path, read);
        if (message.endsWith(QLatin1Char('.')))
            message.chop(1);
        std::lock_guard lock(problemsMutex);
        pictureProblems.insert(path, message);
    }

    // Gives `image` the picture of `path` ready for `scale` device pixels a point (the full
    // picture when `scale` is empty).
    void preparePicture(LMNImage &image, const QString &path, const QSizeF &scale)
    {
        if (scale.isEmpty()) {
            const QString key = QStringLiteral("full|") + path;
            QImage picture;
            if (!pictures.find(key, &picture)) {
                const PictureReading::Result read = PictureReading::readFile(path);
                noteProblem(path, read);
                picture = read.picture;
                if (!picture.isNull())
                    pictures.store(key, picture);
            }
            image._image = picture;
            return;
        }
        const QSize pixels = drawnPixels(image, scale);
        const QString key = QStringLiteral("%1x%2|").arg(pixels.width()).arg(pixels.height()) + path;
        const bool neutral = ImageEffects::Settings::fromGraphic(image).isNeutral();
        const QString processedKey = key + QLatin1Char('|') + image.effectsKey();
        QImage picture;
        QImage processed;
        if (pictures.find(key, &picture) && (neutral || pictures.find(processedKey, &processed))) {
            image.setPreparedPicture(picture, processed);
            return;
        }
        if (picture.isNull()) {
            const PictureReading::Result read = readScaled(path, pixels);
            noteProblem(path, read);
            picture = read.picture;
            if (picture.isNull()) {
                image._image = QImage();
                return;
            }
            pictures.store(key, picture);
        }
        image.setPreparedPicture(picture, QImage());
        if (!neutral) {
            processed = image.processedPicture(picture.size());
            pictures.store(processedKey, processed);
            image.setPreparedPicture(picture, processed);
        }
    }
};

CardRecordRenderer::CardRecordRenderer(CardSnapshot snapshot) : d(std::make_unique<Private>())
{
    d->snapshot = std::move(snapshot);
    // Every card of a run is an output: its barcodes are drawn for the device they land on.
    if (!d->snapshot.drawContext.drawBarcode)
        d->snapshot.drawContext.drawBarcode = &BarcodeDevicePainter::draw;
}

CardRecordRenderer::~CardRecordRenderer() = default;

const CardSnapshot &CardRecordRenderer::snapshot() const
{
    return d->snapshot;
}

int CardRecordRenderer::cardCount() const
{
    const CardSnapshot &s = d->snapshot;
    return std::max(s.useSeries ? s.seriesRows : 0, s.useSpreadsheet ? s.spreadsheetRows : 0);
}

GraphicList CardRecordRenderer::filledSide(int record, int side, QString *failure) const
{
    return filledSide(record, side, failure, nullptr);
}

GraphicList CardRecordRenderer::filledSide(int record, int side, QString *failure, QStringList *missingPictures) const
{
    return filledSide(record, side, failure, missingPictures, QSizeF());
}

GraphicList CardRecordRenderer::filledSide(int record, int side, QString *failure, QStringList *missingPictures,
                                           const QSizeF &pixelsPerPoint) const
{
    const CardSnapshot &s = d->snapshot;
    // A one-sided card's back is never filled: its elements keep their values.
    const bool back = side != 0;
    GraphicList elements = LMNRenderingView::snapshot(back ? s.back : s.front);
    if (back && s.cardSides != QLatin1String("2"))
        return elements;
    QString reason;
    const auto load = [this, pixelsPerPoint](LMNImage &image, const QString &path) {
        d->preparePicture(image, path, pixelsPerPoint);
    };
    if (!DataBinding::Assign_Batch_Values_To_Control(elements, record, s, true, &reason, missingPictures, load)) {
        if (failure)
            *failure = reason;
        return {};
    }
    return elements;
}

QImage CardRecordRenderer::cardImage(int record, int side, int printBox, double dpi, QString *failure) const
{
    return cardImage(record, side, printBox, dpi, failure, nullptr);
}

QImage CardRecordRenderer::cardImage(int record, int side, int printBox, double dpi, QString *failure,
                                     QStringList *missingPictures) const
{
    const CardSnapshot &s = d->snapshot;
    keepFreedPictureMemory();
    QString reason;
    const GraphicList elements = filledSide(record, side, &reason, missingPictures, pixelsPerPoint(s.cardSize, dpi));
    if (!reason.isEmpty()) {
        if (failure)
            *failure = reason;
        return {};
    }
    LMNRenderingView view(s.cardSize, side != 0 ? s.backBackground : s.frontBackground, s.drawContext);
    view.setResolution(dpi);
    QImage image = view.image_From_Card_Graphics(elements, printBox);
    if (image.isNull() && failure)
        *failure = QStringLiteral("The card could not be drawn (not enough memory).");
    return image;
}

bool CardRecordRenderer::drawCard(QPainter &painter, const QRectF &target, int record, int side, int printBox,
                                  QString *failure) const
{
    Q_UNUSED(printBox);
    const CardSnapshot &s = d->snapshot;
    if (!(s.cardSize.width() > 0) || !(s.cardSize.height() > 0)) {
        if (failure)
            *failure = QStringLiteral("The card has no size.");
        return false;
    }
    const QRectF card(QPointF(0, 0), s.cardSize);
    // Pictures are made ready for the device pixels the card covers on this painter.
    const QTransform device = painter.deviceTransform();
    const QSizeF pictureScale(std::hypot(device.m11(), device.m12()) * target.width() / card.width(),
                       std::hypot(device.m21(), device.m22()) * target.height() / card.height());
    QString reason;
    const GraphicList elements =
        filledSide(record, side, &reason, nullptr, pictureScale.width() > 0 && pictureScale.height() > 0 ? pictureScale : QSizeF());
    if (!reason.isEmpty()) {
        if (failure)
            *failure = reason;
        return false;
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / card.width(), target.height() / card.height());
    painter.setClipRect(card, Qt::IntersectClip);
    const LMNRenderingView::BackgroundPainter &background = side != 0 ? s.backBackground : s.frontBackground;
    painter.save();
    if (background)
        background(painter, card, card);
    else
        LMNRenderingView::whiteCard(painter, card, card);
    painter.restore();
    DrawContext context = s.drawContext;
    const double scale = painter.transform().m11();
    context.devicePixelsPerPoint = scale > 0 ? scale : 1.0;
    LMNRenderingView::drawGraphics(painter, elements, QRectF(), context, true);
    painter.restore();
    return true;
}

QStringList CardRecordRenderer::missingValues(int cards, bool front, bool back) const
{
    const CardSnapshot &s = d->snapshot;
    QStringList lines;
    QStringList refusals; // first: a series not read explains the values missing after it
    const bool twoSided = s.cardSides == QLatin1String("2");
    auto scan = [&](const GraphicList &elements, bool isBack) {
        for (const GraphicPtr &graphic : elements) {
            if (!graphic || !DataBinding::takesPart(*graphic) || graphic->ctrl_is_visible == 0 || graphic->print_object != 0)
                continue;
            if (graphic->data_source_type == 1) {
                const QString refusal = s.seriesRefusals.value(graphic->batch_list_name);
                if (!refusal.isEmpty() && !refusals.contains(refusal))
                    refusals << refusal;
            }
            QString source;
            std::function<bool(int)> has;
            if (graphic->data_source_type == 1 && s.useSeries) {
                const int index = DataBinding::seriesIndexFor(*graphic, s.seriesNames);
                const QStringList values = index >= 0 ? s.seriesValues.value(index) : QStringList();
                source = QStringLiteral("series ") + graphic->batch_list_name;
                has = [values](int r) { return r < values.size() && !Trim_Str(values.at(r)).isEmpty(); };
            } else if (graphic->data_source_type == 2 && s.useSpreadsheet) {
                const int column = graphic->excel_col_indx;
                const QString title = s.table.titles.value(column);
                source = QStringLiteral("column ") + (title.isEmpty() ? QString::number(column) : title);
                has = [&s, column](int r) {
                    return !Trim_Str(DataBinding::Get_sel_row_col_value_of_Excel(r, column, s.table, s.spreadsheetRows)).isEmpty();
                };
            } else {
                continue;
            }
            QList<QPair<int, int>> ranges;
            for (int r = 0; r < cards; ++r) {
                if (has(r))
                    continue;
                if (!ranges.isEmpty() && ranges.last().second == r)
                    ranges.last().second = r + 1;
                else
                    ranges.append({r + 1, r + 1});
            }
            if (ranges.isEmpty())
                continue;
            const QString where = isBack && front ? QStringLiteral(" on the back") : QString();
            lines << QStringLiteral("%1: no value for the %2%3 bound to %4")
                         .arg(rangesText(ranges), kindName(graphic->kind()), where, source);
        }
    };
    if (front)
        scan(s.front, false);
    if (back && twoSided)
        scan(s.back, true);
    {
        std::lock_guard lock(d->problemsMutex);
        lines += d->pictureProblems.values();
    }
    return refusals + lines;
}
