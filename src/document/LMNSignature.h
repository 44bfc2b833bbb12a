#pragma once

#include "document/LMNGraphic.h"

// LMNSignature: a signature or fingerprint picture (sign_or_fingureprint "S" or other), reloaded from _file_path when that path changes.
class LMNSignature : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Signature; }
    GraphicPtr clone() const override { return std::make_shared<LMNSignature>(*this); }

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
