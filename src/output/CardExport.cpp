#include "output/CardExport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <spng.h>

#include <cmath>
#include <memory>

namespace {

// PNG through libspng: fast deflate (level 1) with the "up" filter on every row, which the
// export benchmark measured at about 60% of Qt's encoder at its fastest real compression, for
// files of the same size. `picture` is RGB888 or RGBA8888; the resolution goes into pHYs.
bool encodePng(const QImage &picture, QByteArray *png, QString *error)
{
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER), &spng_ctx_free);
    if (!ctx) {
        *error = QStringLiteral("Not enough memory to encode the picture.");
        return false;
    }
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
    spng_ihdr ihdr{};
    ihdr.width = uint32_t(picture.width());
    ihdr.height = uint32_t(picture.height());
    ihdr.bit_depth = 8;
    ihdr.color_type = picture.format() == QImage::Format_RGB888 ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    int result = spng_set_ihdr(ctx.get(), &ihdr);
    if (result == 0 && picture.dotsPerMeterX() > 0 && picture.dotsPerMeterY() > 0) {
        spng_phys phys{uint32_t(picture.dotsPerMeterX()), uint32_t(picture.dotsPerMeterY()), 1};
        result = spng_set_phys(ctx.get(), &phys);
    }
    if (result == 0)
        result = spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    const size_t rowBytes = size_t(picture.width()) * (ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR ? 3 : 4);
    for (int y = 0; result == 0 && y < picture.height(); ++y)
        result = spng_encode_row(ctx.get(), picture.constScanLine(y), rowBytes);
    if (result != 0 && result != SPNG_EOI) {
        *error = QString::fromUtf8(spng_strerror(result));
        return false;
    }
    size_t length = 0;
    void *data = spng_get_png_buffer(ctx.get(), &length, &result);
    if (!data) {
        *error = QString::fromUtf8(spng_strerror(result));
        return false;
    }
    *png = QByteArray(static_cast<const char *>(data), qsizetype(length));
    free(data);
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

QByteArray CardExport::pngData(const QImage &image, QString *error)
{
    // A card has no transparency unless its shape is rounded: three bytes a pixel encode faster.
    const QImage picture = image.convertToFormat(isOpaque(image) ? QImage::Format_RGB888 : QImage::Format_RGBA8888);
    QByteArray png;
    QString reason;
    if (!encodePng(picture, &png, &reason)) {
        if (error)
            *error = reason;
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
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("\"%1\" is a folder.").arg(path));
    const QByteArray format = formatFor(path);
    QImage picture = image;
    QByteArray png;
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
    } else if (format == "png") {
        QString encodeError;
        png = pngData(picture, &encodeError);
        if (png.isEmpty())
            return fail(encodeError);
    } else if (isOpaque(picture)) {
        picture = picture.convertToFormat(QImage::Format_RGB888);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (format == "png") {
        if (file.write(png) != png.size()) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(reason);
        }
    } else {
        QImageWriter writer(&file, format);
        if (format == "jpeg")
            writer.setQuality(90);
        if (!writer.write(picture)) {
            const QString reason = writer.errorString();
            file.cancelWriting();
            return fail(reason);
        }
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
