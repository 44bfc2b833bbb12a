#pragma once

#include "document/LMNGraphic.h"
#include "document/PictureMemo.h"

#include <mutex>
#include <optional>

// LMNSignature: a signature or fingerprint picture (sign_or_fingureprint "S" signature, any
// other value fingerprint), drawn stretched into the bounds with an optional border.
//
// The element shows the picture of _file_path. The signature panel writes that field
// directly, so when it no longer names the picture the element holds, drawing reads the new
// file instead (remembered, and safe while other threads draw the same element); the held
// picture _image itself is only replaced on the owning thread, by setFilePath or
// reloadPictureIfPathChanged. A picture put into _image directly (a restored design) is taken
// to belong to the _file_path it is first drawn with.
class LMNSignature : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Signature; }
    GraphicPtr clone() const override { return std::make_shared<LMNSignature>(*this); }

    bool isFingerprint() const { return sign_or_fingureprint != QLatin1String("S"); }

    // Stores the path and loads its picture; an empty, missing or unreadable file leaves the
    // element without a picture (it then draws nothing).
    void setFilePath(const QString &path);
    // Loads _file_path into _image when the path changed since the picture was loaded.
    void reloadPictureIfPathChanged();
    // Takes _image, put back directly (undo, redo), as the picture of _file_path.
    void adoptPicture();
    // The picture drawing shows: _image while it belongs to _file_path, else the file's picture.
    QImage currentPicture() const;

    // The picture's own size in points; nothing changes without a picture.
    void makeNaturalSize() override;

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;

private:
    // The path _image belongs to; unknown until loaded here or first drawn with a picture.
    struct HeldPath
    {
        HeldPath() = default;
        HeldPath(const HeldPath &other);
        HeldPath &operator=(const HeldPath &) = delete;
        mutable std::mutex mutex;
        mutable std::optional<QString> path;
    };
    HeldPath m_held;
    PictureMemo m_reloaded{1};
};
