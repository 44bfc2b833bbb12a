#include "document/GreyPictures.h"

#include "document/DrawingCaches.h"
#include "document/ThreadCacheBudget.h"

#include <algorithm>
#include <vector>

namespace GreyPictures {

namespace {

void keepResolution(const QImage &from, QImage &to)
{
    to.setDotsPerMeterX(from.dotsPerMeterX());
    to.setDotsPerMeterY(from.dotsPerMeterY());
    to.setDevicePixelRatio(from.devicePixelRatio());
}

struct Kept
{
    qint64 key;
    QImage picture;
    qint64 bytes;
};

// Most recently used first.
struct KeptPictures
{
    std::vector<Kept> pictures;
    qint64 bytes = 0;

    ~KeptPictures() { clear(); }

    void popOldest()
    {
        bytes -= pictures.back().bytes;
        ThreadCacheBudget::giveBack(pictures.back().bytes);
        pictures.pop_back();
    }

    void clear()
    {
        while (!pictures.empty())
            popOldest();
    }
};

KeptPictures &kept()
{
    thread_local KeptPictures instance;
    return instance;
}

} // namespace

QImage keptThirtyTwoBit(const QImage &grey)
{
    if (!DrawingCaches::enabled())
        return toThirtyTwoBit(grey);
    KeptPictures &k = kept();
    std::vector<Kept> &pictures = k.pictures;
    const qint64 key = grey.cacheKey();
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        if (it->key == key) {
            std::rotate(pictures.begin(), it, it + 1);
            return pictures.front().picture;
        }
    }
    const QImage picture = toThirtyTwoBit(grey);
    const qint64 bytes = picture.sizeInBytes();
    if (bytes > kKeptShare)
        return picture;
    while (!pictures.empty() && (int(pictures.size()) >= kKeptPictures || k.bytes + bytes > kKeptShare))
        k.popOldest();
    bool room = ThreadCacheBudget::take(bytes);
    while (!room && !pictures.empty()) {
        k.popOldest();
        room = ThreadCacheBudget::take(bytes);
    }
    if (room) {
        pictures.insert(pictures.begin(), Kept{key, picture, bytes});
        k.bytes += bytes;
    }
    return picture;
}

void dropKept()
{
    kept().clear();
}

qint64 keptBytes()
{
    return kept().bytes;
}

QImage toThirtyTwoBit(const QImage &grey, QImage::Format format)
{
    if (grey.format() != QImage::Format_Grayscale8
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return grey.convertToFormat(format);
    QImage picture(grey.size(), format);
    if (picture.isNull())
        return grey.convertToFormat(format);
    const int width = grey.width();
    uchar *bits = picture.bits();
    const qsizetype bytesPerLine = picture.bytesPerLine();
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *__restrict from = grey.constScanLine(y);
        quint32 *__restrict to = reinterpret_cast<quint32 *>(bits + y * bytesPerLine);
        for (int x = 0; x < width; ++x)
            to[x] = 0xff000000u | quint32(from[x]) * 0x010101u;
    }
    keepResolution(grey, picture);
    return picture;
}

QImage toGrey(const QImage &picture)
{
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32_Premultiplied
        && picture.format() != QImage::Format_ARGB32)
        return picture.convertToFormat(QImage::Format_Grayscale8);
    QImage grey(picture.size(), QImage::Format_Grayscale8);
    if (grey.isNull())
        return picture.convertToFormat(QImage::Format_Grayscale8);
    const bool opaqueFormat = picture.format() == QImage::Format_RGB32;
    const int width = picture.width();
    uchar *bits = grey.bits();
    const qsizetype bytesPerLine = grey.bytesPerLine();
    quint32 odd = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const quint32 *__restrict from = reinterpret_cast<const quint32 *>(picture.constScanLine(y));
        uchar *__restrict to = bits + y * bytesPerLine;
        for (int x = 0; x < width; ++x) {
            const quint32 pixel = from[x] | (opaqueFormat ? 0xff000000u : 0u);
            const quint32 level = pixel & 0xffu;
            // Zero only for an opaque grey.
            odd |= pixel ^ (0xff000000u | level * 0x010101u);
            to[x] = uchar(level);
        }
    }
    if (odd)
        return picture.convertToFormat(QImage::Format_Grayscale8);
    keepResolution(picture, grey);
    return grey;
}

} // namespace GreyPictures
