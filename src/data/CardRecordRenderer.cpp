#include "data/CardRecordRenderer.h"

#include "barcode/generator/BarcodeDevicePainter.h"
#include "data/DataBinding.h"
#include "document/PaintStyles.h"

#include <QHash>

#include <QPainter>

#include <algorithm>
#include <mutex>

struct CardRecordRenderer::Private
{
    CardSnapshot snapshot;

    // Bound pictures read once per run: records usually repeat a few pictures.
    static constexpr int kMaxPictures = 32;
    std::mutex pictureMutex;
    QHash<QString, QImage> pictures;

    QImage picture(const QString &path)
    {
        {
            std::lock_guard lock(pictureMutex);
            const auto found = pictures.constFind(path);
            if (found != pictures.cend())
                return *found;
        }
        const QImage image = PaintStyles::readPicture(path);
        std::lock_guard lock(pictureMutex);
        if (pictures.size() < kMaxPictures)
            pictures.insert(path, image);
        return image;
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
    const CardSnapshot &s = d->snapshot;
    // A one-sided card's back is never filled: its elements keep their values.
    const bool back = side != 0;
    GraphicList elements = LMNRenderingView::snapshot(back ? s.back : s.front);
    if (back && s.cardSides != QLatin1String("2"))
        return elements;
    QString reason;
    const auto load = [this](const QString &path) { return d->picture(path); };
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
    QString reason;
    const GraphicList elements = filledSide(record, side, &reason, missingPictures);
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
    QString reason;
    const GraphicList elements = filledSide(record, side, &reason);
    if (!reason.isEmpty()) {
        if (failure)
            *failure = reason;
        return false;
    }
    const QRectF card(QPointF(0, 0), s.cardSize);
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
