#include "help/ui/Promotion_Pattern.h"

#include "document/DocumentGlobals.h"
#include "document/PictureReading.h"

#include <QDir>

#include <QPaintEvent>
#include <QPainter>

Promotion_Pattern::Promotion_Pattern(QWidget *parent)
    : QLabel(parent)
{
}

QImage Promotion_Pattern::pattern() const
{
    if (!m_pattern.isNull() || Resource_Path.isEmpty())
        return m_pattern;
    // Read once per resource folder: the label repaints often.
    static QString readFrom;
    static QImage shared;
    if (readFrom != Resource_Path) {
        readFrom = Resource_Path;
        shared = PictureReading::readFile(QDir(Resource_Path).filePath(QStringLiteral("pattern_1.jpg"))).picture;
    }
    return shared;
}

void Promotion_Pattern::paintEvent(QPaintEvent *event)
{
    const QImage tile = pattern();
    if (!tile.isNull()) {
        QPainter painter(this);
        painter.fillRect(event->rect(), QBrush(tile));
    }
    QLabel::paintEvent(event);
}
