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
    return tr("it is not a picture Festiloom can read");
}

} // namespace

void PictureReading::install()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(int(DesignBytes >> 20)); });
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

PictureReading::Result PictureReading::readFile(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    const QFileInfo info(clean);
    if (path.isEmpty() || !info.isFile())
        return refused(Outcome::Missing, {}, tr("it does not exist"));
    if (info.size() <= 0)
        return refused(Outcome::NotAPicture, {}, notAPicture());
    if (info.size() <= MaximumKeptBytes) {
        QFile file(clean);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (file.error() != QFileDevice::NoError)
            return refused(Outcome::Damaged, {}, tr("it cannot be read (%1)").arg(file.errorString()));
        Result result = readData(bytes);
        if (result.outcome != Outcome::NotAPicture)
            return result;
    }
    QImageReader reader(clean);
    reader.setAutoTransform(true);
    return read(reader);
}

PictureReading::Result PictureReading::readData(const QByteArray &data)
{
    if (data.isEmpty())
        return refused(Outcome::NotAPicture, {}, notAPicture());
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    Result result = read(reader);
    if (result.outcome == Outcome::Read)
        result.bytes = data;
    return result;
}

QString PictureReading::fileMessage(const QString &path, const Result &result)
{
    const QString name = QFileInfo(path).fileName();
    switch (result.outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return tr("The picture \"%1\" cannot be found.").arg(path);
    case Outcome::NotAPicture:
        return tr("The file \"%1\" is not a picture Festiloom can read.").arg(name);
    case Outcome::TooLarge:
    case Outcome::Damaged:
        break;
    }
    return tr("The picture \"%1\" cannot be used: %2.").arg(name, result.reason);
}
