#include "data/BoundBarcode.h"

#include "barcode/BarcodeSettings.h"
#include "barcode/BarcodeSizes.h"
#include "barcode/LinearBarcodes.h"
#include "barcode/NKDBarcodeOffscreenView.h"

QImage BoundBarcode::picture(const LMNGraphic &barcode, const QString &value, QString *failure)
{
    BarcodeSettings settings;
    settings.barColor = barcode.barcode_clr_val;
    settings.backgroundColor = barcode.barcode_back_clr_val;
    settings.captionColor = barcode.barcode_val_clr_val;
    settings.resolution = 300;
    const QString title = barcode.linear_font_val.isEmpty() ? QStringLiteral("Code 128") : barcode.linear_font_val;
    auto code = LinearBarcodes::create(title, value, true, settings);
    if (!code || !code->isContentValid()) {
        if (failure)
            *failure = QStringLiteral("The barcode cannot encode \"%1\".").arg(value);
        return {};
    }
    code->setHeader(barcode.header_val);
    code->setFooter(barcode.footer_val);
    code->setPrintsHeader(!barcode.header_val.isEmpty());
    code->setPrintsFooter(!barcode.footer_val.isEmpty());
    BarcodeSizes::Set_Barcode_Height(*code, BarcodeSizeFields{});
    code->calculateWidth();
    code->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*code, BarcodeSizeFields{}));
    const QImage image = NKDBarcodeOffscreenView::imageFromBarcode(code.get());
    if (image.isNull() && failure)
        *failure = QStringLiteral("The barcode of \"%1\" could not be drawn.").arg(value);
    return image;
}
