#include "document/LMNSignature.h"

#include "document/DashedStroke.h"
#include "document/PaintStyles.h"

#include <QPainter>
#include <QPainterPath>

LMNSignature::HeldPath::HeldPath(const HeldPath &other)
{
    std::lock_guard<std::mutex> lock(other.mutex);
    path = other.path;
}

void LMNSignature::setFilePath(const QString &path)
{
    readPictureFile(path);
    {
        std::lock_guard<std::mutex> lock(m_held.mutex);
        m_held.path = path;
    }
    m_reloaded.clear();
}

void LMNSignature::reloadPictureIfPathChanged()
{
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(m_held.mutex);
        changed = m_held.path ? *m_held.path != _file_path : _image.isNull();
    }
    if (changed)
        setFilePath(_file_path);
}

void LMNSignature::adoptPicture()
{
    {
        std::lock_guard<std::mutex> lock(m_held.mutex);
        m_held.path = _file_path;
    }
    m_reloaded.clear();
}

QImage LMNSignature::currentPicture() const
{
    {
        std::lock_guard<std::mutex> lock(m_held.mutex);
        if (!m_held.path && !_image.isNull())
            m_held.path = _file_path;
        if (m_held.path && *m_held.path == _file_path)
            return _image;
    }
    QImage picture;
    if (!m_reloaded.find(_file_path, &picture)) {
        picture = PaintStyles::readPicture(_file_path);
        m_reloaded.store(_file_path, picture);
    }
    return picture;
}

void LMNSignature::makeNaturalSize()
{
    const QImage picture = currentPicture();
    if (!picture.isNull())
        _bounds.setSize(PaintStyles::pictureSizeInPoints(picture));
}

void LMNSignature::drawContents(QPainter &painter, const DrawContext &) const
{
    const QImage picture = currentPicture();
    if (picture.isNull() || _bounds.isEmpty())
        return; // without a picture nothing is drawn
    painter.drawImage(_bounds, picture);
    if (hasVisibleStroke()) {
        QPainterPath frame;
        frame.addRect(_bounds);
        DashedStroke::strokePath(painter, frame, strokePen());
    }
}
