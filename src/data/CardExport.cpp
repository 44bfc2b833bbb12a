#include "data/CardExport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

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
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QRgb all = 0xff000000u;
        for (int x = 0; x < image.width(); ++x)
            all &= row[x];
        if ((all >> 24) != 0xffu)
            return false;
    }
    return true;
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
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("\"%1\" is a folder.").arg(path));
    const QByteArray format = formatFor(path);
    QImage picture = image;
    int quality = -1;
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
        quality = 90;
    } else if (isOpaque(picture)) {
        // A card has no transparency unless its shape is rounded: three bytes a pixel encode faster.
        picture = picture.convertToFormat(QImage::Format_RGB888);
        if (format == "png")
            quality = 80;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QImageWriter writer(&file, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(picture)) {
        file.cancelWriting();
        return fail(writer.errorString());
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
