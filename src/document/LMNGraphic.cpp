#include "document/LMNGraphic.h"

#include "document/DashedStroke.h"

#include "document/DocumentGlobals.h"
#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNSignature.h"
#include "document/LMNText.h"
#include "document/PaintStyles.h"
#include "document/Shape_Control.h"
#include "document/StrokeMaskCache.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>

LMNGraphic::LMNGraphic()
    : Text_Value(QStringLiteral("Text here"))
    , _Text_contents(QStringLiteral("Text here"))
    , text_ctrl_font(Text_Ctrl_Font, 14.0)
    , value_font_val(QStringLiteral("ArialMT"), 12.0)
    , header_font_val(QStringLiteral("ArialMT"), 12.0)
    , footer_font_val(QStringLiteral("ArialMT"), 12.0)
{
}

LMNGraphic::~LMNGraphic() = default;

void LMNGraphic::readPictureFile(const QString &path)
{
    _file_path = path;
    QByteArray bytes;
    _image = PaintStyles::readPicture(path, nullptr, &bytes);
    _image_bytes = PictureBytes(bytes, _image);
}

PictureBytes LMNGraphic::*LMNGraphic::storedBytesOf(QImage LMNGraphic::*picture)
{
    return picture == &LMNGraphic::_barcode_image ? &LMNGraphic::_barcode_image_bytes : &LMNGraphic::_image_bytes;
}

QString LMNGraphic::className(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Graphic: return QStringLiteral("LMNGraphic");
    case GraphicKind::Text: return QStringLiteral("LMNText");
    case GraphicKind::Line: return QStringLiteral("LMNLine");
    case GraphicKind::Image: return QStringLiteral("LMNImage");
    case GraphicKind::Shape: return QStringLiteral("Shape_Control");
    case GraphicKind::Signature: return QStringLiteral("LMNSignature");
    case GraphicKind::Barcode: return QStringLiteral("LMNBarcode");
    }
    return QStringLiteral("LMNGraphic");
}

GraphicKind LMNGraphic::kindFromClassName(const QString &name, bool *known)
{
    for (GraphicKind k : {GraphicKind::Graphic, GraphicKind::Text, GraphicKind::Line, GraphicKind::Image,
                          GraphicKind::Shape, GraphicKind::Signature, GraphicKind::Barcode}) {
        if (className(k) == name) {
            if (known)
                *known = true;
            return k;
        }
    }
    if (known)
        *known = false;
    return GraphicKind::Graphic;
}

GraphicPtr LMNGraphic::create(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Graphic: return std::make_shared<LMNGraphic>();
    case GraphicKind::Text: return std::make_shared<LMNText>();
    case GraphicKind::Line: return std::make_shared<LMNLine>();
    case GraphicKind::Image: return std::make_shared<LMNImage>();
    case GraphicKind::Shape: return std::make_shared<Shape_Control>();
    case GraphicKind::Signature: return std::make_shared<LMNSignature>();
    case GraphicKind::Barcode: return std::make_shared<LMNBarcode>();
    }
    return std::make_shared<LMNGraphic>();
}

GraphicPtr LMNGraphic::clone() const
{
    return std::make_shared<LMNGraphic>(*this);
}

void LMNGraphic::setText(const QString &text)
{
    Text_Value = text;
    _Text_contents = text;
}

double LMNGraphic::opacityFraction(float value)
{
    if (!(value > 0.0f))
        return 0.0;
    return value >= 1.0f ? 1.0 : double(value);
}

void LMNGraphic::draw(QPainter &painter, const DrawContext &context) const
{
    if (ctrl_is_visible == 0)
        return;
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    drawContents(painter, context);
    painter.restore();
}

void LMNGraphic::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}

bool LMNGraphic::hitTest(const QPointF &point) const
{
    return ctrl_is_visible != 0 && drawingBounds().contains(point);
}

QRectF LMNGraphic::drawingBounds() const
{
    const double half = hasVisibleStroke() ? _strokeWidth / 2.0 : 0.0;
    return _bounds.adjusted(-half, -half, half, half);
}

void LMNGraphic::makeNaturalSize()
{
}

QBrush LMNGraphic::fillBrush(const QRectF &area) const
{
    const double opacity = opacityFraction(alpha_val);
    if (_fill_type == QLatin1String("G"))
        return PaintStyles::angledGradient(area, _fill_grad_angle, PaintStyles::withOpacity(_fill_Grad_clr1, opacity),
                                           PaintStyles::withOpacity(_fill_Grad_clr2, opacity));
    if (_fill_type == QLatin1String("H"))
        return QBrush(PaintStyles::withOpacity(_fill_htch_clr, opacity));
    return QBrush(PaintStyles::withOpacity(_fillColor, opacity));
}

void LMNGraphic::paintFill(QPainter &painter, const QPainterPath &path, const DrawContext &context) const
{
    const QRectF area = path.boundingRect();
    const QBrush plain = fillBrush(area);
    if (!StrokeMaskCache::fill(painter, path, plain))
        painter.fillPath(path, plain);
    if (_fill_type != QLatin1String("H"))
        return;
    const QImage pattern = PaintStyles::hatchPattern(context.resourcePath, _fill_hatch_type);
    if (pattern.isNull())
        return; // no pattern chosen or none on disk: the background colour alone
    // Anchored to the element, so the pattern travels with it and looks alike at any resolution.
    const QBrush brush = PaintStyles::patternBrush(pattern, _bounds.topLeft(), painter.deviceTransform());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(painter.opacity() * opacityFraction(alpha_val));
    painter.fillPath(path, brush);
    painter.restore();
}

QPen LMNGraphic::strokePen() const
{
    return PaintStyles::borderPen(PaintStyles::withOpacity(_strokeColor, opacityFraction(alpha_val_stroke)),
                                  _strokeWidth, _stroke_border_type);
}

void LMNGraphic::fillAndStroke(QPainter &painter, const QPainterPath &path, const DrawContext &context) const
{
    if (_isDrawingFill)
        paintFill(painter, path, context);
    if (hasVisibleStroke())
        DashedStroke::strokePath(painter, path, strokePen());
}

QRectF LMNGraphic::strokedBounds(const QPainterPath &path, const QPen &pen)
{
    QPainterPathStroker stroker;
    stroker.setWidth(pen.widthF());
    stroker.setCapStyle(pen.capStyle());
    stroker.setJoinStyle(pen.joinStyle());
    stroker.setMiterLimit(pen.miterLimit());
    return stroker.createStroke(path).boundingRect().united(path.boundingRect());
}

bool LMNGraphic::onStroke(const QPainterPath &path, const QPen &pen, const QPointF &point, double tolerance)
{
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(pen.widthF(), tolerance));
    stroker.setCapStyle(pen.capStyle());
    stroker.setJoinStyle(pen.joinStyle());
    stroker.setMiterLimit(pen.miterLimit());
    return stroker.createStroke(path).contains(point);
}
