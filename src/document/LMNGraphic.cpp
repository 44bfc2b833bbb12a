#include "document/LMNGraphic.h"

#include "document/DocumentGlobals.h"
#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNSignature.h"
#include "document/LMNText.h"
#include "document/Shape_Control.h"

#include <QPainter>
#include <QPainterPath>

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
    const double half = _isDrawingStroke ? _strokeWidth / 2.0 : 0.0;
    return _bounds.adjusted(-half, -half, half, half);
}

void LMNGraphic::makeNaturalSize()
{
}

QBrush LMNGraphic::fillBrush(const QRectF &, const DrawContext &) const
{
    QColor c = _fillColor;
    c.setAlphaF(c.alphaF() * opacityFraction(alpha_val));
    return QBrush(c);
}

QPen LMNGraphic::strokePen() const
{
    QColor c = _strokeColor;
    c.setAlphaF(c.alphaF() * opacityFraction(alpha_val_stroke));
    return QPen(c, _strokeWidth);
}

void LMNGraphic::fillAndStroke(QPainter &painter, const QPainterPath &path, const DrawContext &context) const
{
    if (_isDrawingFill)
        painter.fillPath(path, fillBrush(path.boundingRect(), context));
    if (_isDrawingStroke && _strokeWidth > 0)
        painter.strokePath(path, strokePen());
}
