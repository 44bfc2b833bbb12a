#include "output/CardExport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include <libdeflate.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CompressorFree
{
    void operator()(libdeflate_compressor *c) const { libdeflate_free_compressor(c); }
};

// One level-1 compressor per thread: allocating one costs more than a small card's deflate.
libdeflate_compressor *fastCompressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(libdeflate_alloc_compressor(1));
    return compressor.get();
}

void putBigEndian(char *out, quint32 value)
{
    out[0] = char(value >> 24);
    out[1] = char(value >> 16);
    out[2] = char(value >> 8);
    out[3] = char(value);
}

void appendChunk(QByteArray *png, const char type[4], const QByteArray &data)
{
    char length[4];
    putBigEndian(length, quint32(data.size()));
    png->append(length, 4);
    const qsizetype start = png->size();
    png->append(type, 4);
    png->append(data);
    char crc[4];
    putBigEndian(crc, libdeflate_crc32(0, png->constData() + start, size_t(png->size() - start)));
    png->append(crc, 4);
}

// The rows of a 32-bit picture as PNG scanlines with the "up" filter: RGB when `opaque`, else
// RGBA with straight (not premultiplied) alpha.
QByteArray filteredRows(const QImage &image, bool opaque)
{
    const int width = image.width();
    const int height = image.height();
    const int channels = opaque ? 3 : 4;
    const qsizetype rowBytes = qsizetype(width) * channels;
    QByteArray rows(qsizetype(height) * (rowBytes + 1), Qt::Uninitialized);
    std::vector<uchar> previous(static_cast<size_t>(rowBytes), 0);
    std::vector<uchar> current(static_cast<size_t>(rowBytes));
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    uchar *out = reinterpret_cast<uchar *>(rows.data());
    for (int y = 0; y < height; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *c = current.data();
        if (opaque) {
            for (int x = 0; x < width; ++x, c += 3) {
                const QRgb p = line[x];
                c[0] = uchar(qRed(p));
                c[1] = uchar(qGreen(p));
                c[2] = uchar(qBlue(p));
            }
        } else {
            for (int x = 0; x < width; ++x, c += 4) {
                const QRgb p = premultiplied ? qUnpremultiply(line[x]) : line[x];
                c[0] = uchar(qRed(p));
                c[1] = uchar(qGreen(p));
                c[2] = uchar(qBlue(p));
                c[3] = uchar(qAlpha(p));
            }
        }
        *out++ = 2;   // "up": each byte less the byte above it
        for (qsizetype i = 0; i < rowBytes; ++i)
            out[i] = uchar(current[size_t(i)] - previous[size_t(i)]);
        out += rowBytes;
        previous.swap(current);
    }
    return rows;
}

// PNG of a 32-bit picture: the "up" filter on every row and whole-buffer deflate at level 1
// (libdeflate), which the export benchmark measured at well under half the time of zlib's
// fastest level for files under 1% larger. The resolution goes into pHYs.
bool encodePng(const QImage &image, bool opaque, QByteArray *png, QString *error)
{
    libdeflate_compressor *compressor = fastCompressor();
    if (!compressor) {
        *error = QStringLiteral("Not enough memory to encode the picture.");
        return false;
    }
    const QByteArray rows = filteredRows(image, opaque);
    QByteArray idat(qsizetype(libdeflate_zlib_compress_bound(compressor, size_t(rows.size()))), Qt::Uninitialized);
    const size_t packed = libdeflate_zlib_compress(compressor, rows.constData(), size_t(rows.size()), idat.data(), size_t(idat.size()));
    if (packed == 0) {
        *error = QStringLiteral("The picture could not be compressed.");
        return false;
    }
    idat.truncate(qsizetype(packed));

    QByteArray header(13, '\0');
    putBigEndian(header.data(), quint32(image.width()));
    putBigEndian(header.data() + 4, quint32(image.height()));
    header[8] = 8;                  // bits per channel
    header[9] = opaque ? 2 : 6;     // truecolour, with alpha or without
    png->clear();
    png->reserve(idat.size() + 128);
    png->append("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        QByteArray phys(9, '\0');
        putBigEndian(phys.data(), quint32(image.dotsPerMeterX()));
        putBigEndian(phys.data() + 4, quint32(image.dotsPerMeterY()));
        phys[8] = 1;   // per metre
        appendChunk(png, "pHYs", phys);
    }
    appendChunk(png, "IDAT", idat);
    appendChunk(png, "IEND", QByteArray());
    return true;
}


// Writes `data` to `path` whole or not at all, never through a symbolic link: the bytes go to
// a new hidden file beside it, created so that it cannot be anything that already exists, which
// then takes the name by rename(2). That replaces a same-named regular file (keeping its
// permissions) and would replace, not follow, a link that appeared meanwhile, so nothing is
// ever written outside the folder. A link, a folder or anything else but a regular file under
// the name is refused.
bool writeWhole(const QString &path, const QByteArray &data, QString *error)
{
    const QByteArray target = QFile::encodeName(path);
    const auto systemError = [&](int code) {
        *error = QStringLiteral("\"%1\" could not be written: %2").arg(path, QString::fromLocal8Bit(std::strerror(code)));
        return false;
    };
    struct stat existing{};
    bool replacing = false;
    if (::lstat(target.constData(), &existing) == 0) {
        if (S_ISLNK(existing.st_mode)) {
            *error = QStringLiteral("\"%1\" is a symbolic link: a card is never written through a link. Remove "
                                    "it or choose another folder.").arg(path);
            return false;
        }
        if (S_ISDIR(existing.st_mode)) {
            *error = QStringLiteral("\"%1\" is a folder.").arg(path);
            return false;
        }
        if (!S_ISREG(existing.st_mode)) {
            *error = QStringLiteral("\"%1\" is not a regular file.").arg(path);
            return false;
        }
        replacing = true;
    } else if (errno != ENOENT) {
        return systemError(errno);
    }
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 64; ++attempt) {
        temporary = folder + ".festiloom-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".part";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return systemError(errno);
    }
    if (fd < 0)
        return systemError(EEXIST);
    const auto abandon = [&](int code) {
        ::close(fd);
        ::unlink(temporary.constData());
        return systemError(code);
    };
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return abandon(written < 0 ? errno : EIO);
        done += written;
    }
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return systemError(code);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return systemError(code);
    }
    return true;
}

} // namespace

QString CardExport::batchFolder(const QString &chosenFolder)
{
    return QDir(chosenFolder).filePath(QStringLiteral("QOVA Festiloom"));
}

QString CardExport::cardPath(const QString &folder, int number, const QString &extension)
{
    return QDir(folder).filePath(QStringLiteral("Card_%1.%2").arg(number).arg(extension));
}

QString CardExport::Create_Back_Card_Path(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString name = suffix.isEmpty() ? info.fileName() + QStringLiteral("_Back")
                                          : QStringLiteral("%1_Back.%2").arg(info.completeBaseName(), suffix);
    const int slash = int(path.lastIndexOf(QLatin1Char('/')));
    return slash < 0 ? name : path.left(slash + 1) + name;
}

QImage CardExport::combined(const QImage &front, const QImage &back)
{
    if (front.isNull() || back.isNull())
        return {};
    QImage picture(front.width(), front.height() * 2, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};
    picture.fill(Qt::transparent);
    picture.setDotsPerMeterX(front.dotsPerMeterX());
    picture.setDotsPerMeterY(front.dotsPerMeterY());
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), front);
    painter.drawImage(QPoint(0, front.height()), back);
    painter.end();
    return picture;
}

bool CardExport::makeFolder(const QString &folder, QString *error)
{
    const QFileInfo info(folder);
    // Cards go into this folder itself, never through a link to somewhere else.
    if (info.isSymLink()) {
        if (error)
            *error = QStringLiteral("\"%1\" is a symbolic link: cards are only written into a real folder.").arg(folder);
        return false;
    }
    if (info.isDir())
        return true;
    // QDir::mkpath creates with 0777 less the umask, as any program the user runs does.
    if (!info.exists() && QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return true;
    if (error)
        *error = info.exists() ? QStringLiteral("\"%1\" is not a folder.").arg(folder)
                               : QStringLiteral("The folder \"%1\" could not be made.").arg(folder);
    return false;
}

QByteArray CardExport::formatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tiff") || suffix == QLatin1String("tif"))
        return "tiff";
    if (suffix == QLatin1String("jpeg") || suffix == QLatin1String("jpg"))
        return "jpeg";
    return "png";
}

bool CardExport::isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    if (image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_ARGB32)
        return isOpaque(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QRgb all = 0xff000000u;
        for (int x = 0; x < width; ++x)
            all &= row[x];
        if ((all >> 24) != 0xffu)
            return false;
    }
    return true;
}

QByteArray CardExport::pngData(const QImage &image, QString *error)
{
    // A card has no transparency unless its shape is rounded: three bytes a pixel encode faster.
    QImage picture = image;
    const QImage::Format format = picture.format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_ARGB32 && format != QImage::Format_RGB32)
        picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QByteArray png;
    QString reason;
    if (picture.isNull() || !encodePng(picture, isOpaque(picture), &png, &reason)) {
        if (error)
            *error = reason.isEmpty() ? QStringLiteral("Not enough memory to encode the picture.") : reason;
        return {};
    }
    return png;
}

bool CardExport::writePicture(const QImage &image, const QString &path, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("There is no picture to save."));
    const QByteArray format = formatFor(path);
    QByteArray data;
    if (format == "png") {
        QString encodeError;
        data = pngData(image, &encodeError);
        if (data.isEmpty())
            return fail(encodeError);
    } else {
        QImage picture = image;
        if (format == "jpeg") {
            if (!isOpaque(picture)) {
                QImage white(picture.size(), QImage::Format_RGB32);
                white.fill(Qt::white);
                white.setDotsPerMeterX(picture.dotsPerMeterX());
                white.setDotsPerMeterY(picture.dotsPerMeterY());
                QPainter painter(&white);
                painter.drawImage(QPoint(0, 0), picture);
                painter.end();
                picture = white;
            }
            picture = picture.convertToFormat(QImage::Format_RGB888);
        } else if (isOpaque(picture)) {
            picture = picture.convertToFormat(QImage::Format_RGB888);
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        if (format == "jpeg")
            writer.setQuality(90);
        if (!writer.write(picture))
            return fail(writer.errorString());
    }
    QString reason;
    if (!writeWhole(path, data, &reason))
        return fail(reason);
    return true;
}
