#pragma once

#include <QPaintDevice>

#include <functional>
#include <memory>

class QPainter;

// A paint device that hands every text item Qt's text drawing draws on it to another painter,
// one fill at a time, as Qt draws them: QTextLine::draw() and QTextLayout::draw() draw a line
// item by item, and a font of several faces face by face, each a fill of its own. After each
// item `endItem` is called, so that what the item drew can be taken apart from the next one.
//
// Anything else drawn on the device (underlines, inline pictures) is not handed on; it is noted
// in drewOtherThanText().
class TextItemLayers : public QPaintDevice
{
public:
    // `target` is an active painter; its transform is set to the drawing painter's for each
    // item, its render hints to the drawing painter's, and its pen is left as it is.
    TextItemLayers(QPainter &target, QSize size, std::function<void()> endItem);
    ~TextItemLayers() override;

    QPaintEngine *paintEngine() const override;

    int items() const;
    bool drewOtherThanText() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    std::unique_ptr<Engine> m_engine;
    QSize m_size;
};
