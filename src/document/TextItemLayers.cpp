#include "document/TextItemLayers.h"

#include <QPaintEngine>
#include <QPainter>

class TextItemLayers::Engine : public QPaintEngine
{
public:
    Engine(QPainter &target, std::function<void()> endItem)
        : QPaintEngine(QPaintEngine::AllFeatures), m_target(target), m_endItem(std::move(endItem))
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QPainter *drawing = painter();
        if (!drawing) {
            m_other = true;
            return;
        }
        m_target.setRenderHints(drawing->renderHints());
        m_target.setTransform(drawing->combinedTransform());
        m_target.drawTextItem(p, item);
        ++m_items;
        m_endItem();
    }

    void drawRects(const QRect *, int) override { m_other = true; }
    void drawRects(const QRectF *, int) override { m_other = true; }
    void drawLines(const QLine *, int) override { m_other = true; }
    void drawLines(const QLineF *, int) override { m_other = true; }
    void drawEllipse(const QRectF &) override { m_other = true; }
    void drawEllipse(const QRect &) override { m_other = true; }
    void drawPath(const QPainterPath &) override { m_other = true; }
    void drawPoints(const QPointF *, int) override { m_other = true; }
    void drawPoints(const QPoint *, int) override { m_other = true; }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override { m_other = true; }
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override { m_other = true; }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { m_other = true; }
    void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override { m_other = true; }
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override { m_other = true; }

    int m_items = 0;
    bool m_other = false;

private:
    QPainter &m_target;
    std::function<void()> m_endItem;
};

TextItemLayers::TextItemLayers(QPainter &target, QSize size, std::function<void()> endItem)
    : m_engine(std::make_unique<Engine>(target, std::move(endItem))), m_size(size)
{
}

TextItemLayers::~TextItemLayers() = default;

QPaintEngine *TextItemLayers::paintEngine() const
{
    return m_engine.get();
}

int TextItemLayers::items() const
{
    return m_engine->m_items;
}

bool TextItemLayers::drewOtherThanText() const
{
    return m_engine->m_other;
}

int TextItemLayers::metric(PaintDeviceMetric metric) const
{
    // A device of the target's pixels at 72 dots an inch: laid-out text is drawn at the places
    // and sizes it was laid out at, whatever the device says.
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / 72.0);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / 72.0);
    case PdmNumColors:
        return 0;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 72;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}
