#pragma once

#include "document/ImageEffects.h"
#include "document/LMNGraphic.h"
#include "document/PictureMemo.h"

// LMNImage: a picture from a file, drawn stretched into the element's bounds, with flips,
// rotation, transparency, the image-effect pipeline (see ImageEffects.h) and an optional
// border. The effects are worked out once per output size and remembered, so redrawing the
// same card (the canvas, a batch of records) does not redo them.
class LMNImage : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Image; }
    GraphicPtr clone() const override { return std::make_shared<LMNImage>(*this); }

    // Stores the path and loads its picture; an empty, missing or unreadable file leaves the
    // element without a picture (it then draws nothing).
    void setFilePath(const QString &path);

    // The picture's own size in points (its resolution, 72 dpi when it has none); nothing
    // changes without a picture.
    void makeNaturalSize() override;

    // The size the picture is drawn at: the bounds, shrunk just enough that the picture turned
    // about its centre by rotate_image (degrees, clockwise as seen on the card, like every
    // angle on it) stays inside them.
    QSizeF rotatedPictureSize() const;

    // The picture with the effects applied, scaled to at most `pixels` (never enlarged).
    QImage processedPicture(const QSize &pixels) const;

    // Takes `picture` as its own, already scaled to the pixels it is drawn at, with
    // `processed` that picture with the element's effects applied, so drawing it at that size
    // (a batch run's card after card) neither scales nor processes it again.
    void setPreparedPicture(const QImage &picture, const QImage &processed);
    // The element's effect settings as text, equal for equal settings.
    QString effectsKey() const;

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;

private:
    static QString memoKey(const QImage &picture, const QSize &working, const ImageEffects::Settings &settings);

    PictureMemo m_processed;
};
