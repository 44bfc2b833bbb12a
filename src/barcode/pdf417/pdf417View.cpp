#include "barcode/pdf417/pdf417View.h"

#include "barcode/generator/ModuleGridPicture.h"
#include "document/MessageLog.h"

void pdf417View::setErrorLevel(int level)
{
    m_errorLevel = level;
    qCDebug(festiloomDebugLog, "ErrorLevel set to %d", level);
}

int pdf417View::drawWithText(const QString &text, double dpi)
{
    return encode(text, dpi, true);
}

int pdf417View::encodeText(const QString &text)
{
    return encode(text, 0.0, false);
}

int pdf417View::encode(const QString &text, double dpi, bool picture)
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
        if (!picture) {
            m_imageState = ImageReady;
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

ModuleGridPicture::Plan pdf417View::picturePlan(const ModuleGrid &grid, const QSizeF &points, double dpi)
{
    return {grid, points, QRectF(QPointF(0, 0), points), dpi, qRgb(255, 255, 255)};
}

QImage pdf417View::makePicture(const ModuleGrid &grid, const QSizeF &points, double dpi)
{
    return ModuleGridPicture::render(picturePlan(grid, points, dpi));
}
