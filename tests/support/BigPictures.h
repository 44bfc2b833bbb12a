#pragma once

// The pictures users put into designs that pass Qt's own allocation limit: phone photos of
// 33, 48 and 50 megapixels, a grey scan, a large PNG and a QR Code made at 2400 dpi. Each is
// made once per test program, quickly (a smooth pattern written at low compression cost), into
// a folder that lives as long as the program. Every road a picture takes (Insert, the picture
// page, the background, a bound picture, Open, Paste) has a table over these.

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "barcode/generator/BarcodeGenerator.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>
#include <QTemporaryDir>

#include <zlib.h>

#include <map>
#include <vector>

namespace BigPictures {

enum class Kind { Colour33, Colour48, Grey50, Png50, QrCode };

inline std::vector<Kind> all()
{
    return {Kind::Colour33, Kind::Colour48, Kind::Grey50, Kind::Png50, Kind::QrCode};
}

inline const char *name(Kind kind)
{
    switch (kind) {
    case Kind::Colour33: return "Photo33MpJpeg";
    case Kind::Colour48: return "Photo48MpJpeg";
    case Kind::Grey50: return "Grey50MpJpeg";
    case Kind::Png50: return "Picture50MpPng";
    case Kind::QrCode: return "QrCode150pt2400dpi";
    }
    return "";
}

// A smooth picture with a fine checker in it, so that a shifted, scaled or half-read picture
// shows: red across, green down, blue along the diagonal, a checker of 16-pixel tiles in blue.
inline QImage pattern(const QSize &size, QImage::Format format)
{
    QImage picture(size, format);
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        const int g = y * 255 / h;
        if (format == QImage::Format_Grayscale8) {
            uchar *line = picture.scanLine(y);
            for (int x = 0; x < w; ++x)
                line[x] = uchar((x * 255 / w + g) / 2 ^ ((((x >> 4) ^ (y >> 4)) & 1) << 3));
        } else {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < w; ++x)
                line[x] = qRgb(x * 255 / w, g, ((x + y) * 255 / (w + h)) ^ ((((x >> 4) ^ (y >> 4)) & 1) << 3));
        }
    }
    return picture;
}

// The QR Code of 150 points the barcode designer makes at 2400 dpi, value, header and footer
// drawn: 5689 x 6353 pixels, as the picture a design holds.
inline BarcodeElementSettings qrCodeSettings(int points = 150, int dpi = 2400)
{
    BarcodeElementSettings s;
    s.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QStringLiteral("QR Code")));
    s.two_d_font_val = QStringLiteral("https://example.org/rsvp?guest=0042&table=9");
    s.header_val = QStringLiteral("Welcome");
    s.footer_val = QStringLiteral("Table 9");
    s.qr_size_val = points;
    s.dpi_val_index = int(BarcodeLists::resolutions().indexOf(QStringLiteral("Custom")));
    s.dpi_custom_val = QString::number(dpi);
    return s;
}

inline QImage qrCode()
{
    return BarcodeGenerator::picture(qrCodeSettings());
}

// The picture of `kind` as an element holds it once read: the size and format its file
// decodes to (a JPEG's own pixels aside), made without writing or reading a file.
inline QImage picture(Kind kind)
{
    switch (kind) {
    case Kind::Colour33: return pattern(QSize(6600, 5000), QImage::Format_RGB32);
    case Kind::Colour48: return pattern(QSize(8000, 6000), QImage::Format_RGB32);
    case Kind::Grey50: return pattern(QSize(8160, 6120), QImage::Format_Grayscale8);
    case Kind::Png50: return pattern(QSize(8160, 6120), QImage::Format_RGB32);
    case Kind::QrCode: return qrCode();
    }
    return {};
}

// The folder of the program's pictures.
inline QString folder()
{
    static QTemporaryDir dir;
    return dir.path();
}

// The file of `kind`, written on first use: JPEG at quality 90, PNG at the lowest compression
// level, so that making them takes little time.
inline QString file(Kind kind)
{
    static std::map<Kind, QString> made;
    if (const auto found = made.find(kind); found != made.end())
        return found->second;
    const QImage written = picture(kind);
    const QByteArray format = kind == Kind::Png50 || kind == Kind::QrCode ? "png" : "jpg";
    const QString path = QDir(folder()).filePath(QString::fromLatin1(name(kind)) + QLatin1Char('.') + QString::fromLatin1(format));
    QImageWriter writer(path, format);
    if (format == "jpg")
        writer.setQuality(90);
    else
        writer.setCompression(1);
    if (!writer.write(written))
        return {};
    made.emplace(kind, path);
    return path;
}

// The pixels the file of `kind` holds, as Qt's reader gives them (a JPEG's decoded pixels).
inline QImage pixels(Kind kind)
{
    QImageReader reader(file(kind));
    reader.setAutoTransform(true);
    return reader.read();
}

// A PNG of 16 x 16 pixels of one colour.
inline QByteArray smallPng(Qt::GlobalColor colour)
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    return png;
}

// A PNG whose header says it is `size` (its data is cut short after the header): a picture
// past the limit, refused before anything is decoded.
inline QString pngOfSize(const QString &path, const QSize &size)
{
    QByteArray png = smallPng(Qt::red);
    // IHDR is the first chunk: width and height big-endian at bytes 16 and 20, its CRC (over
    // its type and data) at byte 29. The data after it no longer fits the size.
    auto put = [&png](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char((v >> (24 - 8 * i)) & 0xFF);
    };
    put(16, quint32(size.width()));
    put(20, quint32(size.height()));
    put(29, quint32(crc32(0, reinterpret_cast<const Bytef *>(png.constData() + 12), 17)));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(png) != png.size())
        return {};
    return path;
}

// A PNG of 16 x 16 pixels whose picture data is damaged: its header reads, its pixels do not.
inline QByteArray damagedPng()
{
    QByteArray png = smallPng(Qt::blue);
    png[png.size() - 20] = char(png[png.size() - 20] ^ 0x5A);   // inside the compressed pixels
    return png;
}

// A picture as a phone camera's JPEG holds it: smooth light with grain, noise of `grain`
// levels in every pixel (a phone photo of 12 megapixels is some 3.6 MB of JPEG).
inline QImage photo(const QSize &size, int grain, quint32 seed = 1)
{
    QImage picture = pattern(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int((seed >> 24) % quint32(grain));
            line[x] = qRgb((qRed(line[x]) + noise) & 255, (qGreen(line[x]) + noise) & 255, qBlue(line[x]));
        }
    }
    return picture;
}

// The bytes of `picture` written as a file of `format` ("jpg", "png").
inline QByteArray encoded(const QImage &picture, const char *format, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(picture) ? bytes : QByteArray();
}

// A JPEG with an EXIF orientation tag, as a phone stores a photo taken sideways: the pixels
// as the sensor read them, and `orientation` (6: turn a quarter clockwise to show upright).
inline QByteArray withOrientation(const QByteArray &jpeg, int orientation)
{
    // APP1 "Exif", a big-endian TIFF header and one directory of one entry: Orientation
    // (0x0112), a SHORT, count 1.
    const char exif[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                         0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, char(orientation), 0, 0, 0, 0, 0, 0};
    QByteArray tagged = jpeg;
    tagged.insert(2, exif, sizeof exif);   // right after the start-of-image marker
    return tagged;
}

} // namespace BigPictures
