#pragma once

#include "document/LMNGraphic.h"

// LMNImage: a picture from a file, with flips, rotation, transparency and the image-effect pipeline.
class LMNImage : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Image; }
    GraphicPtr clone() const override { return std::make_shared<LMNImage>(*this); }

    // Stores the path and loads its picture; an empty, missing or unreadable file leaves the
    // element without a picture (it then draws nothing).
    void setFilePath(const QString &path);

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
