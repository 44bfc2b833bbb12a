#include "panels/ElementTabValues.h"

#include "document/LMNImage.h"
#include "document/LMNSignature.h"

const QStringList &BorderCodes::codes()
{
    static const QStringList list = {QStringLiteral("S"), QStringLiteral("DA"), QStringLiteral("DO"),
                                     QStringLiteral("DD"), QStringLiteral("DDD")};
    return list;
}

int BorderCodes::indexOf(const QString &code)
{
    return int(codes().indexOf(code));
}

std::optional<QString> BorderCodes::codeAt(int index)
{
    if (index < 0 || index >= codes().size())
        return std::nullopt;
    return codes().at(index);
}

void StrokeValues::apply(LMNGraphic &graphic) const
{
    graphic._isDrawingStroke = on;
    if (on) {
        graphic._strokeColor = color;
        graphic._strokeWidth = width;
    }
    if (const auto code = BorderCodes::codeAt(styleIndex))
        graphic._stroke_border_type = *code;
}

void ShapeTabValues::apply(LMNGraphic &graphic) const
{
    stroke.apply(graphic);
    graphic._isDrawingFill = fillOn;
    if (fillOn)
        graphic._fillColor = fillColor;
    graphic._fill_type = !fillOn          ? QStringLiteral("S")
                         : gradientRadio ? QStringLiteral("G")
                         : hatchRadio    ? QStringLiteral("H")
                                         : QStringLiteral("S");
    graphic._fill_Grad_clr1 = gradient1;
    graphic._fill_Grad_clr2 = gradient2;
    graphic._fill_grad_angle = gradientAngle;
    graphic._fill_htch_clr = hatchBackground;
    graphic._fill_hatch_type = hatchName;
    graphic.alpha_val = float(opacityPercent / 100.0);
    graphic.cor_rad_val_val = float(cornerRadius);
    graphic.double_star_type = doubleStar;
    graphic.polygon_type = polygon;
    graphic.print_object = printObject;
}

void LineTabValues::apply(LMNGraphic &graphic) const
{
    graphic._isDrawingStroke = true;
    graphic._strokeColor = color;
    graphic._strokeWidth = width;
    graphic.print_object = printObject;
    if (const auto code = BorderCodes::codeAt(styleIndex))
        graphic._stroke_border_type = *code;
    graphic._line_cap_style = std::max(capIndex, 0);
    graphic._line_ori = std::max(orientationIndex, 0);
    graphic.alpha_val_stroke = float(opacityPercent / 100.0);
}

void TextTabValues::apply(LMNGraphic &graphic) const
{
    graphic.print_object = printObject;
    stroke.apply(graphic);
    graphic._isDrawingFill = fillOn;
    if (fillOn)
        graphic._fillColor = fillColor;
    graphic._fill_type = fillOn && gradientRadio ? QStringLiteral("G") : QStringLiteral("S");
    graphic._fill_Grad_clr1 = gradient1;
    graphic._fill_Grad_clr2 = gradient2;
    graphic._fill_grad_angle = gradientAngle;
    graphic.txt_clr = textColor;
    graphic.text_ctrl_font = font;
    if (text)
        graphic.setText(*text);
    graphic.alpha_val = float(opacityPercent / 100.0);
    if (alignment >= 0)
        graphic.text_alignmnet = alignment;
    if (textCase >= 0)
        graphic.text_transfrom_case = textCase;
    graphic.text_kerning = float(kerning);
}

void ImageTabValues::apply(LMNGraphic &graphic) const
{
    graphic.print_object = printObject;
    stroke.apply(graphic);
    graphic._isFlippedHorizontally = flipH;
    graphic._isFlippedVertically = flipV;
    graphic.invert_clr = invert;
    graphic.gray_Scale = grey;
    graphic.Sepia = sepia;
    graphic.img_trnsp_val = opacity;
    graphic.rotate_image = rotation;
    graphic.hue_val = hue;
    graphic.sat_val = saturation;
    graphic.brt_val = brightness;
    graphic.con_val = contrast;
    graphic.srp_val = sharpness;
    graphic.ev_val = exposure;
    graphic.blr_val = blur;
    if (graphic.kind() == GraphicKind::Image && graphic._file_path != path)
        static_cast<LMNImage &>(graphic).setFilePath(path);
}

void ImageTabValues::resetEffects()
{
    flipH = flipV = invert = grey = sepia = false;
    opacity = 100;
    rotation = hue = brightness = sharpness = exposure = blur = 0;
    saturation = contrast = 1;
}

void SignTabValues::apply(LMNGraphic &graphic) const
{
    graphic.print_object = printObject;
    stroke.apply(graphic);
    if (graphic.kind() == GraphicKind::Signature && graphic._file_path != path)
        static_cast<LMNSignature &>(graphic).setFilePath(path);
}
