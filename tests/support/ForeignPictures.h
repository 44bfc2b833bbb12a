#pragma once

// Picture data as it arrives from elsewhere: the five kinds Festiloom reads as another program
// (Pillow) writes them, a TIFF in the byte order Pillow does not write, kinds it does not read,
// and SVG data that names a file on this disk, which a reader of SVG would open (NamedFiles).

#include "support/TestHelpers.h"

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ForeignPictures {

// The kinds Festiloom reads, by Pillow's names.
inline QStringList readKinds()
{
    return {QStringLiteral("PNG"), QStringLiteral("JPEG"), QStringLiteral("GIF"), QStringLiteral("BMP"),
            QStringLiteral("TIFF")};
}

// A picture of 16 x 16 pixels of `colour` (a name Pillow knows: "blue") written by Pillow as
// `kind` (Pillow's name of a format it writes: "PNG", "WEBP", "TGA", ...).
inline QByteArray writtenByPillow(const QString &kind, const QString &colour = QStringLiteral("blue"))
{
    return TestHelpers::runProgram(QStringLiteral("/usr/bin/python3"),
                                   {QStringLiteral("-c"),
                                    QStringLiteral("import io, sys\n"
                                                   "from PIL import Image\n"
                                                   "out = io.BytesIO()\n"
                                                   "Image.new('RGB', (16, 16), sys.argv[2]).save(out, sys.argv[1])\n"
                                                   "sys.stdout.buffer.write(out.getvalue())\n"),
                                    kind, colour});
}

// A picture of 16 x 16 pixels of `colour` as a TIFF file in the Motorola byte order (it starts
// "MM\0*"), uncompressed RGB in one strip, as ImageMagick writes one with
// -define tiff:endian=msb. Pillow writes RGB TIFF only in the Intel order ("II*\0").
inline QByteArray bigEndianTiff(QRgb colour)
{
    constexpr quint32 bitsAt = 8 + 2 + 9 * 12 + 4, pixelsAt = bitsAt + 6;
    // One directory of nine entries: tag, type (3 SHORT, 4 LONG), count, value (one SHORT in
    // its first half). Width and length 16; 8 bits in each of three samples; no compression;
    // RGB; the strip's place; three samples a pixel; 16 rows a strip; the strip's bytes.
    const quint32 entries[][4] = {{256, 4, 1, 16}, {257, 4, 1, 16}, {258, 3, 3, bitsAt}, {259, 3, 1, 1 << 16},
                                  {262, 3, 1, 2 << 16}, {273, 4, 1, pixelsAt}, {277, 3, 1, 3 << 16},
                                  {278, 4, 1, 16}, {279, 4, 1, 16 * 16 * 3}};
    QByteArray tiff;
    QDataStream out(&tiff, QIODevice::WriteOnly);   // big-endian unless told otherwise
    out.writeRawData("MM", 2);
    out << quint16(42) << quint32(8) << quint16(9);
    for (const auto &[tag, type, count, value] : entries)
        out << quint16(tag) << quint16(type) << count << value;
    out << quint32(0) << quint16(8) << quint16(8) << quint16(8);   // no next directory; the bits
    for (int i = 0; i < 16 * 16; ++i)
        out << quint8(qRed(colour)) << quint8(qGreen(colour)) << quint8(qBlue(colour));
    return tiff;
}

// An SVG of 16 x 16 pixels that draws the picture file `path` names, absolute or relative (an
// SVG reader resolves it from the current folder).
inline QByteArray svgNaming(const QString &path)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                          "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"16\" height=\"16\">"
                          "<image x=\"0\" y=\"0\" width=\"16\" height=\"16\" xlink:href=\"%1\"/></svg>\n")
        .arg(path.toHtmlEscaped())
        .toUtf8();
}

// An XPM picture of 2 x 2 pixels (C source text, read by Qt's own XPM reader).
inline QByteArray xpm()
{
    return "/* XPM */\nstatic const char *p[] = {\"2 2 1 1\", \"a c #0000FF\", \"aa\", \"aa\"};\n";
}

// An element archive (XML) of two elements: a text, then an element of `className` whose picture
// field `field` holds `data`, as another program could put it on the clipboard.
inline QByteArray archiveHolding(const QString &className, const QString &field, const QByteArray &data)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><array>"
                          "<dict><key>class</key><string>LMNText</string></dict>"
                          "<dict><key>class</key><string>%1</string><key>%2</key><data>%3</data></dict>"
                          "</array></plist>")
        .arg(className, field, QString::fromLatin1(data.toBase64()))
        .toUtf8();
}

// Why picture data of any other kind is not read.
inline QString notReadReason()
{
    return QStringLiteral("it is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF");
}

// What SVG data may name in `folder`, made the current folder while this lives: a red picture of
// 16 x 16 pixels, "local.png", and "fifo", a FIFO that a reader opening it would wait on for
// ever. A thread keeps opening the FIFO's other end for a moment: a reader that opened it is
// counted and gets an empty file at once, so a fault fails its test instead of hanging it.
class NamedFiles
{
public:
    explicit NamedFiles(const QString &folder)
        : m_before(QDir::currentPath())
        , m_picture(QDir(folder).filePath(QStringLiteral("local.png")))
        , m_fifo(QDir(folder).filePath(QStringLiteral("fifo")))
    {
        QDir::setCurrent(folder);
        QImage red(16, 16, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QByteArray fifo = QFile::encodeName(m_fifo);
        m_ready = red.save(m_picture) && ::mkfifo(fifo.constData(), 0600) == 0;
        m_guard = std::thread([this, fifo] {
            while (!m_stop.load()) {
                // Opening the writing end without waiting succeeds only while a reader has it open.
                const int end = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
                if (end >= 0) {
                    ++m_opened;
                    ::close(end);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~NamedFiles()
    {
        m_stop = true;
        m_guard.join();
        QFile::remove(m_fifo);
        QDir::setCurrent(m_before);
    }
    NamedFiles(const NamedFiles &) = delete;
    NamedFiles &operator=(const NamedFiles &) = delete;

    bool ready() const { return m_ready; }
    QString picture() const { return m_picture; }
    QString fifo() const { return m_fifo; }
    // How many times a reader was found holding the FIFO open.
    int fifoOpened() const { return m_opened.load(); }

    // Text Qt would take for HTML, as a file, a workbook, a font name or a mail server may hand
    // it over: an <img> naming the FIFO from the current folder (short enough for a message to
    // quote whole), and bold markup.
    static QStringList markup() { return {QStringLiteral("<img src=\"fifo\">"), QStringLiteral("<b>bold</b> text")}; }
    // The same as a file's name can hold it: "/" written as "&#47;".
    static QStringList markupNames()
    {
        QStringList names = markup();
        for (QString &name : names)
            name.replace(QLatin1Char('/'), QStringLiteral("&#47;"));
        return names;
    }

    // SVG data, by what it names: the picture by its absolute path, the picture by a path
    // relative to the current folder, the FIFO.
    QList<std::pair<QString, QByteArray>> svgs() const
    {
        return {{QStringLiteral("SVG naming a local picture"), svgNaming(m_picture)},
                {QStringLiteral("SVG naming a local picture from the current folder"), svgNaming(QStringLiteral("local.png"))},
                {QStringLiteral("SVG naming a FIFO"), svgNaming(m_fifo)}};
    }

private:
    QString m_before;
    QString m_picture;
    QString m_fifo;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_opened{0};
    std::thread m_guard;
};

} // namespace ForeignPictures
