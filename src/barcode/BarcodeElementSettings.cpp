#include "barcode/BarcodeElementSettings.h"

#include "barcode/BarcodeLists.h"
#include "document/LMNGraphic.h"

namespace {

CardFont fontOrStart(const CardFont &font)
{
    if (font.isNull() || !(font.pointSize > 0))
        return CardFont(QStringLiteral("TimesNewRomanPSMT"), 10);
    return font;
}

// Applies `op` to each pair of same-named fields of the record and the element, in the order
// of the element's barcode fields.
template<typename Record, typename Graphic, typename Op>
void eachField(Record &r, Graphic &g, Op op)
{
    op(r.linear_or_2d, g.linear_or_2d);
    op(r.barcode_font_index, g.barcode_font_index);
    op(r.linear_font_val, g.linear_font_val);
    op(r.two_d_font_val, g.two_d_font_val);
    op(r.header_val, g.header_val);
    op(r.footer_val, g.footer_val);
    op(r.show_hide_hdr, g.show_hide_hdr);
    op(r.show_hide_ftr, g.show_hide_ftr);
    op(r.show_hide_val, g.show_hide_val);
    op(r.show_val_on_top, g.show_val_on_top);
    op(r.align_hdr_index, g.align_hdr_index);
    op(r.align_ftr_index, g.align_ftr_index);
    op(r.linear_height_val, g.linear_height_val);
    op(r.linear_width_val, g.linear_width_val);
    op(r.qr_size_val, g.qr_size_val);
    op(r.qr_version_index, g.qr_version_index);
    op(r.qr_ec_index, g.qr_ec_index);
    op(r.pdf_hgt_val, g.pdf_hgt_val);
    op(r.pdf_wdt_val, g.pdf_wdt_val);
    op(r.pdf_ec_val, g.pdf_ec_val);
    op(r.dm_module_val, g.dm_module_val);
    op(r.dm_format_index, g.dm_format_index);
    op(r.dm_encoding_index, g.dm_encoding_index);
    op(r.hdr_margin_val, g.hdr_margin_val);
    op(r.ftr_margin_val, g.ftr_margin_val);
    op(r.val_margin_val, g.val_margin_val);
    op(r.TB_marging_val, g.TB_marging_val);
    op(r.LR_margin_val, g.LR_margin_val);
    op(r.value_font_val, g.value_font_val);
    op(r.header_font_val, g.header_font_val);
    op(r.footer_font_val, g.footer_font_val);
    op(r.barcode_hdr_clr_val, g.barcode_hdr_clr_val);
    op(r.barcode_ftr_clr_val, g.barcode_ftr_clr_val);
    op(r.barcode_val_clr_val, g.barcode_val_clr_val);
    op(r.barcode_back_clr_val, g.barcode_back_clr_val);
    op(r.barcode_clr_val, g.barcode_clr_val);
    op(r.dpi_val_index, g.dpi_val_index);
    op(r.dpi_custom_val, g.dpi_custom_val);
    op(r.kerning_value_val, g.kerning_value_val);
}

} // namespace

bool BarcodeElementSettings::isNeverDesigned(const LMNGraphic &g)
{
    // The designer always stores a QR side and a bar height; a fresh element has neither.
    return g.qr_size_val == 0 && g.linear_height_val == 0.0f && g.linear_font_val.isEmpty() && g.two_d_font_val.isEmpty();
}

BarcodeElementSettings BarcodeElementSettings::fromGraphic(const LMNGraphic &graphic)
{
    BarcodeElementSettings record;
    if (isNeverDesigned(graphic))
        return record;
    eachField(record, graphic, [](auto &field, const auto &value) { field = value; });
    record.value_font_val = fontOrStart(record.value_font_val);
    record.header_font_val = fontOrStart(record.header_font_val);
    record.footer_font_val = fontOrStart(record.footer_font_val);
    return record;
}

void BarcodeElementSettings::applyTo(LMNGraphic &graphic) const
{
    eachField(*this, graphic, [](const auto &value, auto &field) { field = value; });
}

QString BarcodeElementSettings::title() const
{
    return BarcodeLists::symbologyTitle(barcode_font_index);
}

bool BarcodeElementSettings::isTwoDimensional() const
{
    return BarcodeLists::isTwoDimensional(title());
}

BarcodeElementSettings BarcodeElementSettings::withTwoDColours() const
{
    // The designer hides the bar and background wells of a 2D symbol: what they hold is left
    // over from a linear barcode and never reaches a symbol.
    BarcodeElementSettings copy = *this;
    copy.barcode_clr_val = Qt::black;
    copy.barcode_back_clr_val = Qt::white;
    return copy;
}

QString BarcodeElementSettings::value() const
{
    return isTwoDimensional() ? two_d_font_val : linear_font_val;
}

int BarcodeElementSettings::resolution(QString *failure) const
{
    const QString item = BarcodeLists::resolutions().value(dpi_val_index);
    if (item == QLatin1String("Custom")) {
        bool ok = false;
        const int dpi = dpi_custom_val.trimmed().toInt(&ok);
        if (ok && dpi >= BarcodeLists::kMinResolution && dpi <= BarcodeLists::kMaxResolution)
            return dpi;
        if (failure)
            *failure = QStringLiteral("The custom resolution must be a whole number from %1 to %2 dots per inch.")
                           .arg(BarcodeLists::kMinResolution)
                           .arg(BarcodeLists::kMaxResolution);
        return 0;
    }
    const int dpi = item.toInt();
    return dpi > 0 ? dpi : BarcodeLists::kAutoResolution;
}

BarcodeSizeFields BarcodeElementSettings::sizeFields() const
{
    BarcodeSizeFields fields;
    fields.unit = 1;
    fields.barHeight = linear_height_val;
    fields.valueMargin = val_margin_val;
    fields.headerMargin = hdr_margin_val;
    fields.footerMargin = ftr_margin_val;
    fields.lrMargin = LR_margin_val;
    fields.tbMargin = TB_marging_val;
    fields.captionHidden = show_hide_val == 1;
    fields.headerHidden = show_hide_hdr == 1;
    fields.footerHidden = show_hide_ftr == 1;
    return fields;
}

BarcodeSettings BarcodeElementSettings::rendererSettings() const
{
    BarcodeSettings s;
    s.value_font = value_font_val;
    s.header_font = header_font_val;
    s.footer_font = footer_font_val;
    BarcodeSizes::readMargins(sizeFields(), s);
    const BarcodeElementSettings &colours = isTwoDimensional() ? withTwoDColours() : *this;
    s.barColor = colours.barcode_clr_val;
    s.backgroundColor = colours.barcode_back_clr_val;
    s.captionColor = barcode_val_clr_val;
    s.headerColor = barcode_hdr_clr_val;
    s.footerColor = barcode_ftr_clr_val;
    const QStringList alignments = BarcodeLists::textAlignments();
    s.headerAlignment = alignments.value(align_hdr_index);
    s.footerAlignment = alignments.value(align_ftr_index);
    s.captionOnTop = show_val_on_top == 1;
    s.stretchCaption = kerning_value_val == 1;
    return s;
}
