#include "barcode/generator/BarcodeGenerator.h"

#include "barcode/generator/BarcodeSizeAdvice.h"

#include "barcode/BarcodeLists.h"
#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/datamatrix/DataMatrixEncoder.h"
#include "barcode/datamatrix/DataMatrixPicture.h"
#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"
#include "barcode/qr/QREncoder.h"
#include "barcode/pdf417/pdf417View.h"
#include "document/LMNGraphicArchive.h"
#include "document/PictureReading.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <optional>
#include <utility>

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 127)
            return false;
    return true;
}

// Dark modules (opaque black) in the bar colour.
void inkDarkModules(QImage &symbol, const QColor &bar)
{
    const QRgb ink = qPremultiply(bar.rgba());
    if (ink == 0xFF000000u || symbol.isNull())
        return;
    symbol = symbol.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < symbol.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(symbol.scanLine(y));
        for (int x = 0; x < symbol.width(); ++x)
            if (row[x] == 0xFF000000u)
                row[x] = ink;
    }
}

// Rows of pixels above and below the first and last dark module (`ink`) of a symbol, in points.
std::pair<double, double> lightRows(const QImage &symbol, const QColor &ink)
{
    const bool grey = symbol.format() == QImage::Format_Grayscale8;
    const QImage plain = grey ? symbol : symbol.convertToFormat(QImage::Format_RGB32);
    const QRgb wanted = qPremultiply(ink.rgba()) | 0xFF000000u;
    const auto dark = [&plain, wanted, grey](int y) {
        if (grey) {
            // Grey symbols have black dark modules.
            return wanted == 0xFF000000u && std::memchr(plain.constScanLine(y), 0, std::size_t(plain.width()));
        }
        const auto *row = reinterpret_cast<const QRgb *>(plain.constScanLine(y));
        return std::find(row, row + plain.width(), wanted) != row + plain.width();
    };
    const auto [above, below] = ModuleGridPicture::lightRows(plain.height(), dark);
    const double pointsPerPixel = BarcodeUnits::pointSize(symbol).height() / std::max(1, symbol.height());
    return {above * pointsPerPixel, below * pointsPerPixel};
}

// A header and a footer stay two modules away from the symbol's dark modules, whatever the
// margins say: the picture grows by what is missing.
// `light` gives the rows of the symbol picture above and below its dark modules, in points.
void keepTextFromSymbol(const std::pair<double, double> &light, double modulePoints, TwoDPictureLayout &layout,
                        BarcodeSettings &rs)
{
    if (!(modulePoints > 0) || (!layout.printsHeader && !layout.printsFooter))
        return;
    const auto [above, below] = light;
    const double wanted = 2.0 * modulePoints;
    if (layout.printsHeader) {
        // The header's line box ends header_margin above the symbol picture.
        const double missing = wanted - (rs.header_margin + above);
        if (missing > 0) {
            rs.header_margin += missing;
            layout.height += float(missing);
        }
    }
    if (layout.printsFooter) {
        // The footer's line box starts footer band + footer_margin - its height below the picture.
        const double band = double(layout.footerHeight) * 72.0;
        const double text = BarcodeText::measure(layout.footer, rs.footer_font).height();
        const double missing = wanted - (band + rs.footer_margin - text + below);
        if (missing > 0) {
            rs.footer_margin += missing;
            layout.height += float(missing);
        }
    }
}

} // namespace

QImage BarcodeGenerator::picture(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                                 const QString &footer, QString *failure)
{
    Result result = generate(settings, value, header, footer);
    if (failure)
        *failure = result.failure;
    return result.picture;
}

QImage BarcodeGenerator::picture(const BarcodeElementSettings &settings, QString *failure)
{
    return picture(settings, settings.value(), settings.header_val, settings.footer_val, failure);
}

BarcodeGenerator::Result BarcodeGenerator::generate(const BarcodeElementSettings &settings, const QString &value,
                                                    const QString &header, const QString &footer)
{
    return generate(settings, value, header, footer, Output());
}

BarcodeGenerator::Result BarcodeGenerator::generate(const BarcodeElementSettings &settings, const QString &value,
                                                    const QString &header, const QString &footer, const Output &output)
{
    Result result = run(settings, value, header, footer, output, false);
    // Sizes and resolutions the user may choose instead belong to the element's own picture.
    if (result.tooLarge && output.picture && !(output.dpi > 0))
        result.failure += QLatin1Char(' ') + BarcodeSizeAdvice::advice(settings, value, header, footer);
    const bool made = output.picture ? !result.picture.isNull() : (result.barcode || !result.symbol.isNull());
    if (!made && result.failure.isEmpty())
        result.failure = QStringLiteral("The barcode picture could not be made.");
    if (!made)
        result.picture = QImage();
    if (!result.picture.isNull())
        result.picture.setText(valueKey(), value);
    return result;
}

BarcodeGenerator::Result BarcodeGenerator::measure(const BarcodeElementSettings &settings, const QString &value,
                                                   const QString &header, const QString &footer)
{
    return run(settings, value, header, footer, Output(), true);
}

BarcodeGenerator::Result BarcodeGenerator::run(const BarcodeElementSettings &settings, const QString &value,
                                               const QString &header, const QString &footer, const Output &output,
                                               bool sizeOnly)
{
    Result result;
    result.settings = settings.rendererSettings();
    if (value.isEmpty()) {
        result.failure = QStringLiteral("Please enter barcode value");
        return result;
    }
    try {
        if (settings.isTwoDimensional())
            generateTwoD(settings.withTwoDColours(), value, header, footer, output, sizeOnly, result);
        else
            generateLinear(settings, value, header, footer, output, sizeOnly, result);
    } catch (const std::bad_alloc &) {
        result.picture = QImage();
        result.failure = QStringLiteral("There is not enough memory for this barcode picture.");
    } catch (const std::exception &e) {
        result.picture = QImage();
        result.failure = QString::fromLocal8Bit(e.what());
    }
    return result;
}

static_assert(BarcodeGenerator::kMaxPictureBytes <= PictureReading::DesignBytes
                  && BarcodeGenerator::kMaxPictureBytes <= LMNGraphicArchive::MaximumPictureBytes,
              "every barcode picture must be one a design keeps and Paste takes");

bool BarcodeGenerator::fitsCap(const QSizeF &points, double dpi, Result &result)
{
    const QSize pixels = BarcodeUnits::pixelSize(points, dpi);
    // Counted as a design's pictures are read back (PictureReading): a picture within the
    // cap is one Save and Open, Copy and Paste all take back.
    const qint64 bytes = PictureReading::readingBytes(pixels);
    if (bytes <= kMaxPictureBytes && pixels.width() < 1000000 && pixels.height() < 1000000)
        return true;
    // generate() adds which sizes or resolution would do.
    result.tooLarge = true;
    result.failure = QStringLiteral("At %1 dpi the barcode would be a picture of %2 × %3 pixels (%4 MB), more than the "
                                    "%5 MB a barcode picture may take for a design to keep it.")
                         .arg(dpi)
                         .arg(pixels.width())
                         .arg(pixels.height())
                         .arg((bytes + (1 << 20) - 1) >> 20)
                         .arg(kMaxPictureBytes >> 20);
    return false;
}

void BarcodeGenerator::generateLinear(const BarcodeElementSettings &settings, const QString &value,
                                      const QString &header, const QString &footer, const Output &output,
                                      bool sizeOnly, Result &result)
{
    const QString title = settings.title();
    const bool printsCaption = settings.show_hide_val != 1;
    BarcodeSettings &rs = result.settings;
    rs.resolution = output.dpi > 0 ? output.dpi : kLinearResolution;
    std::unique_ptr<NKDBarcode> barcode =
        isAscii(value) ? LinearBarcodes::create(title, value, printsCaption, rs) : nullptr;
    if (!barcode || !barcode->isContentValid()) {
        result.failure = title.isEmpty() ? QStringLiteral("Unknown barcode type.")
                                         : QStringLiteral("%1 cannot encode this value.").arg(title);
        return;
    }
    barcode->setHeader(header);
    barcode->setFooter(footer);
    barcode->setPrintsCaption(printsCaption);
    barcode->setPrintsHeader(settings.show_hide_hdr != 1);
    barcode->setPrintsFooter(settings.show_hide_ftr != 1);
    barcode->setBarWidth(float(BarcodeUnits::milsToPoints(settings.linear_width_val)));
    barcode->setCaptionFontSize(float(rs.value_font.pointSize));
    barcode->setHeaderFontSize(float(rs.header_font.pointSize));
    barcode->setFooterFontSize(float(rs.footer_font.pointSize));
    const BarcodeSizeFields fields = settings.sizeFields();
    BarcodeSizes::Set_Barcode_Height(*barcode, fields);
    barcode->calculateWidth();
    barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, fields));
    // The bars keep the quiet zone readers need, whatever the caption and margins leave beside
    // them, unless the symbology counts it into the bars.
    if (!barcode->quietZoneInBars()) {
        const double bars = double(barcode->completeBarcode().size()) * double(barcode->barWidth());
        const double side = (NKDBarcodeOffscreenView(*barcode).size().width() - bars) / 2.0;
        const double missing = barcode->quietZone() - side;
        if (missing > 0) {
            barcode->setWidth(float(double(barcode->width()) + 2.0 * missing));
            barcode->settings().LR_margin += missing;
        }
    }
    rs = barcode->settings();
    if (!(barcode->width() > 0) || !(barcode->height() > 0)) {
        result.failure = QStringLiteral("The bar height and width must be greater than 0.");
        return;
    }
    if (output.picture) {
        if (!fitsCap(NKDBarcodeOffscreenView(*barcode).size(), rs.resolution, result) || sizeOnly)
            return;
        result.picture = output.dpi > 0
            ? NKDBarcodeOffscreenView(*barcode).toReadableImage(rs.resolution, barcode->quietZone())
            : NKDBarcodeOffscreenView::imageFromBarcode(barcode.get());
    }
    result.barcode = std::move(barcode);
}

ModuleGridPicture::Plan BarcodeGenerator::Draw_QR_Barcode(const BarcodeElementSettings &settings,
                                                          const QString &value, int dpi, Result &result)
{
    // The last symbol this thread encoded is kept: the size advice asks for the same value at
    // many sizes, and a batch run's records often repeat one.
    thread_local struct
    {
        int ec = -1;
        int version = -1;
        QString value;
        ModuleGrid grid;
    } last;
    if (last.ec != settings.qr_ec_index || last.version != settings.qr_version_index || last.value != value) {
        last.grid = QREncoder::encodeWithECLevel(settings.qr_ec_index, settings.qr_version_index, value);
        last.ec = settings.qr_ec_index;
        last.version = settings.qr_version_index;
        last.value = value;
    }
    const ModuleGrid grid = last.grid;
    if (grid.isEmpty()) {
        result.failure = settings.qr_version_index > 0
            ? QStringLiteral("The value does not fit a QR Code of version %1 at this error correction level.")
                  .arg(settings.qr_version_index)
            : QStringLiteral("The value is too long for a QR Code at this error correction level.");
        return {};
    }
    if (settings.qr_size_val < grid.width()) {
        result.failure = QStringLiteral("A QR Code of %1 × %1 modules needs a side of at least %1 points.")
                             .arg(grid.width());
        return {};
    }
    if (!fitsCap(QSizeF(settings.qr_size_val, settings.qr_size_val), dpi, result))
        return {};
    result.modulePoints = double(settings.qr_size_val / grid.width());
    // An opaque background fills the margin left over by whole-point modules.
    const QColor background = settings.barcode_back_clr_val;
    return QREncoder::picturePlan(grid, settings.qr_size_val, dpi,
                                  background.alpha() == 255 ? background.rgb() : qRgba(255, 255, 255, 0));
}

ModuleGridPicture::Plan BarcodeGenerator::Draw_PDF_417_Barcode(const BarcodeElementSettings &settings,
                                                               const QString &value, int dpi, Result &result)
{
    const QSizeF frame(settings.pdf_wdt_val, settings.pdf_hgt_val);
    if (!(frame.width() > 0) || !(frame.height() > 0)) {
        result.failure = QStringLiteral("The PDF417 width and height must be greater than 0.");
        return {};
    }
    if (!fitsCap(frame, dpi, result))
        return {};
    pdf417View view;
    view.setFrameSize(frame);
    view.setErrorLevel(settings.pdf_ec_val);
    ModuleGridPicture::Plan plan;
    if (view.encodeText(value) == pdf417View::ImageReady)
        plan = pdf417View::picturePlan(view.param().outBits, frame, dpi);
    if (view.param().bitColumns > 0)
        result.modulePoints = frame.width() / view.param().bitColumns;
    if (ModuleGridPicture::pixelSize(plan).isEmpty()) {
        result.failure = view.param().error != PDF417::NoError
            ? QStringLiteral("The value is too long for PDF417 at this error correction level.")
            : QStringLiteral("The PDF417 size is too small for its %1 × %2 modules.")
                  .arg(view.param().bitColumns)
                  .arg(view.param().codeRows);
        return {};
    }
    return plan;
}

ModuleGridPicture::Plan BarcodeGenerator::Draw_DataMatrix_Barcode(const BarcodeElementSettings &settings,
                                                                  const QString &value, int dpi, Result &result)
{
    const QByteArray bytes = value.toUtf8();
    int rows = 0;
    int columns = 0;
    BarcodeLists::dataMatrixSize(BarcodeLists::dataMatrixFormats().value(settings.dm_format_index), &rows, &columns);
    std::optional<QByteArray> encoding;
    const QString item = BarcodeLists::dataMatrixEncodings().value(settings.dm_encoding_index);
    const char letter = item == QLatin1String("Ascii")   ? 'A'
                        : item == QLatin1String("C40")   ? 'C'
                        : item == QLatin1String("Text")  ? 'T'
                        : item == QLatin1String("Base256") ? 'B'
                                                           : 0;
    if (letter)
        encoding = QByteArray(bytes.size(), letter);
    DataMatrixReport &report = result.dataMatrix;
    report.width = columns;
    report.height = rows;
    report.encoding = encoding.value_or(QByteArray());
    ModuleGrid grid;
    if (bytes.size() <= DataMatrixEncoder::kMaxInput)
        grid = DataMatrixEncoder::iec16022ecc200(report.width, report.height, encoding, bytes, &report.encoded,
                                                 &report.capacity, &report.ecc);
    if (grid.isEmpty() || report.width == 0) {
        report.refused = true;
        result.failure = QStringLiteral("The value does not fit a DataMatrix symbol of this format and encoding.");
        return {};
    }
    const int module = settings.dm_module_val;
    if (module < 1) {
        result.failure = QStringLiteral("The DataMatrix module size must be at least 1 point.");
        return {};
    }
    if (!fitsCap(QSizeF(double(grid.width() + 2) * module, double(grid.height() + 2) * module), dpi, result))
        return {};
    result.modulePoints = module;
    const ModuleGridPicture::Plan plan = DataMatrixPicture::picturePlan(grid, module, dpi);
    if (ModuleGridPicture::pixelSize(plan).isEmpty()) {
        result.failure = QStringLiteral("A DataMatrix module of %1 points is less than one pixel at %2 dots per inch.")
                             .arg(module)
                             .arg(dpi);
        return {};
    }
    return plan;
}

void BarcodeGenerator::generateTwoD(const BarcodeElementSettings &settings, const QString &value,
                                    const QString &header, const QString &footer, const Output &output,
                                    bool sizeOnly, Result &result)
{
    const int dpi = output.dpi > 0 ? int(std::lround(output.dpi)) : settings.resolution(&result.failure);
    if (dpi <= 0)
        return;
    BarcodeSettings &rs = result.settings;
    rs.resolution = dpi;
    const QString title = settings.title();
    const ModuleGridPicture::Plan plan = title == QLatin1String("QR Code")
        ? Draw_QR_Barcode(settings, value, dpi, result)
        : title == QLatin1String("PDF417") ? Draw_PDF_417_Barcode(settings, value, dpi, result)
                                           : Draw_DataMatrix_Barcode(settings, value, dpi, result);
    // Black modules on white, which the picture keeps as they are, go straight into the
    // picture's pixels; otherwise (and for vector output) the symbol picture is made first.
    const bool straight = output.picture && qPremultiply(settings.barcode_clr_val.rgba()) == 0xFF000000u
        && qPremultiply(settings.barcode_back_clr_val.rgba()) == 0xFFFFFFFFu && qAlpha(plan.background) == 255;
    if (!straight)
        result.symbol = ModuleGridPicture::render(plan);
    if (straight ? ModuleGridPicture::pixelSize(plan).isEmpty() : result.symbol.isNull()) {
        if (result.failure.isEmpty())
            result.failure = QStringLiteral("The barcode symbol could not be made.");
        return;
    }
    inkDarkModules(result.symbol, settings.barcode_clr_val);
    // Every symbol maker leaves no transparent pixel on an opaque background: drawn as opaque,
    // the symbol is copied into the picture rather than blended.
    if (settings.barcode_back_clr_val.alpha() == 255 && result.symbol.format() == QImage::Format_ARGB32_Premultiplied)
        result.symbol.reinterpretAsFormat(QImage::Format_RGB32);
    TwoDPictureLayout &layout = result.layout;
    layout.content = value;
    layout.header = header;
    layout.footer = footer;
    layout.printsCaption = settings.show_hide_val != 1;
    layout.printsHeader = settings.show_hide_hdr != 1;
    layout.printsFooter = settings.show_hide_ftr != 1;
    layout.setCaptionFontSize(float(rs.value_font.pointSize), rs);
    layout.setHeaderFontSize(float(rs.header_font.pointSize), rs);
    layout.setFooterFontSize(float(rs.footer_font.pointSize), rs);
    const BarcodeSizeFields fields = settings.sizeFields();
    const QSizeF symbolPoints = straight ? ModuleGridPicture::pointSize(plan) : BarcodeUnits::pointSize(result.symbol);
    BarcodeSizes::Set_2d_Barcode_Height(layout, symbolPoints, fields, rs);
    BarcodeSizes::Set_2d_Barcode_Width(layout, symbolPoints, fields, rs);
    std::pair<double, double> light;
    if (straight) {
        const auto [above, below] = ModuleGridPicture::lightRows(plan);
        const double pointsPerPixel = symbolPoints.height() / std::max(1, ModuleGridPicture::pixelSize(plan).height());
        light = {above * pointsPerPixel, below * pointsPerPixel};
    } else {
        light = lightRows(result.symbol, rs.barColor);
    }
    keepTextFromSymbol(light, result.modulePoints, layout, rs);
    if (!output.picture)
        return;
    if (!fitsCap(QSizeF(layout.width, layout.height), dpi, result) || sizeOnly)
        return;
    result.picture = straight ? NKDBarcodeOffscreenView::imageFromModuleGrid(plan, layout, rs)
                              : NKDBarcodeOffscreenView::imageFromBarcodeImage(result.symbol, layout, rs);
    // On an opaque background every pixel is opaque: said so, the picture is shown and drawn
    // without a search for transparent pixels.
    if (settings.barcode_back_clr_val.alpha() == 255 && result.picture.format() == QImage::Format_ARGB32_Premultiplied)
        result.picture.reinterpretAsFormat(QImage::Format_RGB32);
}
