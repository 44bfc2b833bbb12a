#include "barcode/pdf417View.h"

#include "barcode/BarcodeGlobals.h"
#include "barcode/BarcodeUnits.h"

#include <QDebug>

void pdf417View::setErrorLevel(int level)
{
    m_errorLevel = level;
    qDebug("ErrorLevel set to %d", level);
}

int pdf417View::drawWithText(const QString &text)
{
    return drawWithText(text, USED_DPI_VALUE.load());
}

int pdf417View::drawWithText(const QString &text, double dpi)
{
    m_image = QImage();
    if (text.isEmpty()) {
        m_imageState = EmptyText;
        return m_imageState;
    }
    try {
        PDF417::pdf417init(m_param);
        m_param.text = text.toUtf8();
        m_param.options = PDF417::UseErrorLevel;
        m_param.errorLevel = m_errorLevel;
        m_param.aspectRatio = 1.0f;
        PDF417::paintCode(m_param);
        if (m_param.error != PDF417::NoError) {
            qWarning("Error encountered while drawing barcode, error %d.", m_param.error);
            m_imageState = EncodingError;
            return m_imageState;
        }
        m_image = makePicture(m_param.outBits, m_frameSize, dpi);
    } catch (const std::exception &e) {
        qWarning() << "PDF417 picture failed:" << e.what();
        m_image = QImage();
    }
    m_imageState = m_image.isNull() ? EncodingError : ImageReady;
    return m_imageState;
}

QImage pdf417View::makePicture(const ModuleGrid &grid, const QSizeF &points, double dpi)
{
    if (grid.isEmpty() || !(dpi > 0))
        return {};
    const QSize pixels = BarcodeUnits::pixelSize(points, dpi);
    if (pixels.width() < grid.width() || pixels.height() < grid.height())
        return {};
    QImage modules(grid.width(), grid.height(), QImage::Format_RGB32);
    if (modules.isNull())
        return {};
    for (int y = 0; y < grid.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(modules.scanLine(y));
        for (int x = 0; x < grid.width(); ++x)
            line[x] = grid.get(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return BarcodeUnits::Increase_DPI(modules, points, dpi);
}
