#include "barcode/generator/BarcodeDevicePainter.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/generator/BarcodeGenerator.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"
#include "document/LMNGraphic.h"

#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <optional>

namespace {

bool isVectorDevice(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine)
        return false;
    switch (engine->type()) {
    case QPaintEngine::Pdf: // also every printer on this platform
    case QPaintEngine::MacPrinter:
    case QPaintEngine::SVG:
    case QPaintEngine::Picture:
        return true;
    default:
        return false;
    }
}

// Whether a barcode of `made` points is the one the element's picture of `picture` shows: the
// same size to within a pixel of the picture's resolution.
bool sameSize(const QSizeF &made, const QSizeF &picture, const QImage &image)
{
    const double dpi = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 72.0;
    const double tolerance = 72.0 / dpi + 0.01;
    return std::abs(made.width() - picture.width()) <= tolerance
        && std::abs(made.height() - picture.height()) <= tolerance;
}

} // namespace

bool BarcodeDevicePainter::draw(QPainter &painter, const LMNGraphic &barcode, const QRectF &target)
{
    const QImage &picture = barcode._barcode_image;
    if (picture.isNull() || BarcodeElementSettings::isNeverDesigned(barcode))
        return false;
    const QTransform device = painter.deviceTransform();
    if (device.type() > QTransform::TxScale || !(device.m11() > 0) || !(device.m22() > 0))
        return false;
    const BarcodeElementSettings settings = BarcodeElementSettings::fromGraphic(barcode);
    QString value = picture.text(BarcodeGenerator::valueKey());
    if (value.isEmpty())
        value = settings.value();

    if (isVectorDevice(painter)) {
        BarcodeGenerator::Output output;
        output.picture = false;
        const BarcodeGenerator::Result made =
            BarcodeGenerator::generate(settings, value, barcode.header_val, barcode.footer_val, output);
        std::optional<NKDBarcodeOffscreenView> view;
        if (made.barcode)
            view.emplace(*made.barcode);
        else if (!made.symbol.isNull())
            view.emplace(made.symbol, made.layout, made.settings);
        if (!view || !sameSize(view->size(), target.size(), picture))
            return false;
        painter.save();
        painter.translate(target.topLeft());
        view->draw(painter);
        painter.restore();
        return true;
    }

    // A bitmap: the same scale both ways, or the picture is drawn.
    const double scale = device.m11();
    if (std::abs(device.m22() - scale) > 1e-6 * scale)
        return false;
    BarcodeGenerator::Output output;
    output.dpi = scale * 72.0;
    const BarcodeGenerator::Result made =
        BarcodeGenerator::generate(settings, value, barcode.header_val, barcode.footer_val, output);
    if (made.picture.isNull())
        return false;
    // A module narrower than a pixel cannot be drawn whole: the picture is smoothed then.
    if (made.barcode && made.barcode->barWidth() * scale < 1.0)
        return false;
    const QSizeF size = made.barcode ? NKDBarcodeOffscreenView(*made.barcode).size()
                                     : QSizeF(made.layout.width, made.layout.height);
    if (!sameSize(size, target.size(), picture))
        return false;
    const QPointF corner = device.map(target.topLeft());
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPoint(int(std::lround(corner.x())), int(std::lround(corner.y()))), made.picture);
    painter.restore();
    return true;
}
