#include "document/PictureReading.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <mutex>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PictureReading", text);
}

int depthOf(QImage::Format format)
{
    return format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
}

PictureReading::Result refused(PictureReading::Outcome outcome, const QSize &size, const QString &reason)
{
    PictureReading::Result result;
    result.outcome = outcome;
    result.size = size;
    result.reason = reason;
    return result;
}

QString notAPicture()
{
    return tr("it is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF");
}

// The name of Qt's reader for `kind`.
const char *readerFormat(PictureReading::Kind kind)
{
    switch (kind) {
    case PictureReading::Kind::Png: return "png";
    case PictureReading::Kind::Jpeg: return "jpeg";
    case PictureReading::Kind::Gif: return "gif";
    case PictureReading::Kind::Bmp: return "bmp";
    case PictureReading::Kind::Tiff: return "tiff";
    case PictureReading::Kind::Unknown: break;
    }
    return nullptr;
}

} // namespace

void PictureReading::install()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(int(DesignBytes >> 20)); });
}

PictureReading::Kind PictureReading::kindOf(QByteArrayView head)
{
    // The signatures each kind's file starts with, as its own standard gives it.
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return Kind::Png;
    if (head.startsWith("\xff\xd8\xff"))
        return Kind::Jpeg;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return Kind::Gif;
    if (head.startsWith("BM"))
        return Kind::Bmp;
    // Little- and big-endian TIFF, classic (42) and BigTIFF (43).
    if (head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4))
        || head.startsWith(QByteArrayView("II+\0", 4)) || head.startsWith(QByteArrayView("MM\0+", 4)))
        return Kind::Tiff;
    return Kind::Unknown;
}

bool PictureReading::holdReader(QImageReader &reader, QIODevice *device, Result *refusal)
{
    const Kind kind = kindOf(device->peek(KindBytes));
    if (kind == Kind::Unknown) {
        if (refusal)
            *refusal = refused(Outcome::NotAPicture, {}, notAPicture());
        return false;
    }
    // No reader chosen by content or by a file's name: only the one of this kind.
    reader.setDevice(device);
    reader.setFormat(readerFormat(kind));
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    return true;
}

qint64 PictureReading::readingBytes(const QSize &size, QImage::Format format)
{
    if (size.isEmpty())
        return 0;
    // As Qt lays out a picture's lines (padded to 32 bits), at no less than 32 bits a pixel:
    // the depth Qt's reader counts a picture at against its limit, whatever it decodes to.
    const qint64 bits = std::max(32, depthOf(format));
    const qint64 bytesPerLine = ((qint64(size.width()) * bits + 31) >> 5) << 2;
    return bytesPerLine * size.height();
}

QString PictureReading::sizeRefusal(const QSize &size, QImage::Format format)
{
    const qint64 bytes = readingBytes(size, format);
    if (bytes <= DesignBytes)
        return {};
    return tr("it is %L1 x %L2 pixels, which take %L3 MB to read, more than the %L4 MB a design may take")
        .arg(size.width())
        .arg(size.height())
        .arg((bytes + (1 << 20) - 1) >> 20)
        .arg(DesignBytes >> 20);
}

PictureReading::Result PictureReading::read(QImageReader &reader)
{
    install();
    if (!reader.canRead())
        return refused(Outcome::NotAPicture, {}, notAPicture());
    const QSize size = reader.size();
    // A reader that decodes at a smaller size takes only that; the others decode the whole
    // picture first and scale it after.
    QSize decoded = size;
    if (reader.scaledSize().isValid() && reader.supportsOption(QImageIOHandler::ScaledSize))
        decoded = reader.scaledSize();
    if (const QString why = sizeRefusal(decoded, reader.imageFormat()); !why.isEmpty())
        return refused(Outcome::TooLarge, size, why);
    Result result;
    result.size = size;
    result.picture = reader.read();
    if (result.picture.isNull()) {
        const QString detail = reader.errorString();
        QString why = size.isValid() ? tr("it is %L1 x %L2 pixels, but its picture data cannot be read")
                                           .arg(size.width())
                                           .arg(size.height())
                                     : tr("its picture data cannot be read");
        if (!detail.isEmpty())
            why += QStringLiteral(" (%1)").arg(detail);
        return refused(Outcome::Damaged, size, why);
    }
    // Should a header have told less than the data holds, the decoded picture is held to the
    // same limit.
    if (const QString why = sizeRefusal(result.picture.size(), result.picture.format()); !why.isEmpty())
        return refused(Outcome::TooLarge, result.picture.size(), why);
    result.outcome = Outcome::Read;
    return result;
}

namespace {

// Opens the picture file `file` names for reading, or says why it cannot be read. Only a regular
// file is opened: nothing waits on a pipe or a device.
bool openFile(QFile &file, PictureReading::Result *refusal)
{
    using Outcome = PictureReading::Outcome;
    const QFileInfo info(file.fileName());
    if (file.fileName().isEmpty() || !info.exists()) {
        *refusal = refused(Outcome::Missing, {}, tr("it does not exist"));
        return false;
    }
    if (!info.isFile()) {
        *refusal = refused(Outcome::NotAFile, {}, tr("it is not a regular file"));
        return false;
    }
    if (info.size() <= 0) {
        *refusal = refused(Outcome::NotAPicture, {}, notAPicture());
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *refusal = refused(Outcome::Damaged, {}, tr("it cannot be read (%1)").arg(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

PictureReading::Result PictureReading::readFile(const QString &path)
{
    QFile file(QDir::cleanPath(path));
    Result result;
    if (!openFile(file, &result))
        return result;
    if (kindOf(file.peek(KindBytes)) == Kind::Unknown)
        return refused(Outcome::NotAPicture, {}, notAPicture());
    if (file.size() <= MaximumKeptBytes) {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return refused(Outcome::Damaged, {}, tr("it cannot be read (%1)").arg(file.errorString()));
        return readData(bytes);
    }
    QImageReader reader;
    if (!holdReader(reader, &file, &result))
        return result;
    return read(reader);
}

PictureReading::Result PictureReading::readFile(const QString &path, const Fit &fit)
{
    QFile file(QDir::cleanPath(path));
    Result result;
    QImageReader reader;
    if (!openFile(file, &result) || !holdReader(reader, &file, &result))
        return result;
    const QSize stored = reader.size();
    if (!stored.isValid())
        return read(reader);
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize target = fit ? fit(upright) : QSize();
    if (!target.isValid() || target == upright)
        return read(reader);
    reader.setScaledSize(turned ? target.transposed() : target);
    result = read(reader);
    if (!result.picture.isNull() && result.picture.size() != target)
        result.picture = result.picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return result;
}

PictureReading::Fit PictureReading::within(const QSize &box)
{
    return [box](const QSize &upright) { return upright.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)); };
}

namespace {

// Picture data held in memory, open for reading.
class DataDevice : public QBuffer
{
public:
    explicit DataDevice(const QByteArray &data)
    {
        setData(data);
        open(QIODevice::ReadOnly);
    }
};

} // namespace

PictureReading::Result PictureReading::readData(const QByteArray &data)
{
    DataDevice device(data);
    QImageReader reader;
    Result result;
    if (!holdReader(reader, &device, &result))
        return result;
    result = read(reader);
    if (result.outcome == Outcome::Read)
        result.bytes = data;
    return result;
}

QSize PictureReading::headerSize(const QByteArray &data)
{
    DataDevice device(data);
    QImageReader reader;
    return holdReader(reader, &device, nullptr) ? reader.size() : QSize();
}

QString PictureReading::fileMessage(const QString &path, const Result &result)
{
    const QString name = QFileInfo(path).fileName();
    switch (result.outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return tr("The picture \"%1\" cannot be found.").arg(path);
    case Outcome::NotAFile:
        // Named by its whole path, as a missing one is: what is wrong is where it points.
        return tr("The picture \"%1\" cannot be used: %2.").arg(path, result.reason);
    case Outcome::NotAPicture:
        return tr("The file \"%1\" is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF.").arg(name);
    case Outcome::TooLarge:
    case Outcome::Damaged:
        break;
    }
    return tr("The picture \"%1\" cannot be used: %2.").arg(name, result.reason);
}
