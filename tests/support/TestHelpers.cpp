#include "TestHelpers.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

namespace TestHelpers {

QString sourcePath(const QString &relative)
{
    return QDir(QStringLiteral(FESTILOOM_SOURCE_DIR_FOR_HELPERS)).filePath(relative);
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "could not write " << path.toStdString();
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool near(QRgb pixel, const QColor &expected, int tolerance)
{
    const QRgb e = expected.rgba();
    return std::abs(qRed(pixel) - qRed(e)) <= tolerance && std::abs(qGreen(pixel) - qGreen(e)) <= tolerance
           && std::abs(qBlue(pixel) - qBlue(e)) <= tolerance && std::abs(qAlpha(pixel) - qAlpha(e)) <= tolerance;
}

void expectPixels(const QImage &image, std::initializer_list<std::tuple<int, int, QColor>> pixels, int tolerance)
{
    for (const auto &[x, y, colour] : pixels) {
        const QColor got = image.pixelColor(x, y);
        EXPECT_TRUE(near(got.rgba(), colour, tolerance)) << "at " << x << "," << y << ": " << got.name(QColor::HexArgb).toStdString()
                                                         << ", expected " << colour.name(QColor::HexArgb).toStdString();
    }
}

QList<int> runs(const QImage &image, int y, int x0, int x1, int darkerThan)
{
    QList<int> result;
    bool ink = true;
    int length = 0;
    for (int x = x0; x < x1; ++x) {
        const bool here = image.pixelColor(x, y).lightness() < darkerThan;
        if (here == ink) {
            ++length;
        } else {
            result.append(length);
            ink = here;
            length = 1;
        }
    }
    result.append(length);
    return result;
}

static bool differs(QRgb a, QRgb b, int tolerance)
{
    return !near(a, QColor::fromRgba(b), tolerance);
}

int countPixelsDifferent(const QImage &source, const QColor &background, const QRect &area, int tolerance)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRect r = area.intersected(image.rect());
    const QRgb bg = background.rgba();
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (differs(image.pixel(x, y), bg, tolerance))
                ++count;
    return count;
}

int differingPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

QString greyMismatch(const QImage &grey, const QImage &argb)
{
    if (grey.format() != QImage::Format_Grayscale8)
        return QStringLiteral("the picture is not 8-bit grey (format %1)").arg(int(grey.format()));
    if (grey.size() != argb.size())
        return QStringLiteral("%1 x %2 pixels against %3 x %4")
            .arg(grey.width()).arg(grey.height()).arg(argb.width()).arg(argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const uchar *levels = grey.constScanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            if (qAlpha(pixel) != 255 || qRed(pixel) != qGreen(pixel) || qRed(pixel) != qBlue(pixel)
                || qRed(pixel) != levels[x])
                return QStringLiteral("pixel %1,%2: grey %3, 32-bit %4").arg(x).arg(y).arg(levels[x])
                    .arg(pixel, 8, 16, QLatin1Char('0'));
        }
    }
    return {};
}

bool onlyInside(const QImage &source, const QColor &background, const QRect &inside, int tolerance)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRgb bg = background.rgba();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!inside.contains(x, y) && differs(image.pixel(x, y), bg, tolerance))
                return false;
    return true;
}

QByteArray runProgram(const QString &program, const QStringList &arguments, const QByteArray &input,
                      int *exitCode)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << "could not start " << program.toStdString();
        return {};
    }
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    if (exitCode)
        *exitCode = process.exitCode();
    else if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

QString runThisProgramAgain(const QString &filter, const char *variable, int *exitCode)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();   // sanitizer options too
    environment.insert(QString::fromLatin1(variable), QStringLiteral("1"));
    // The child runs its tests once, whatever repetition the parent runs under: what it reports
    // is read as one run's.
    environment.remove(QStringLiteral("GTEST_REPEAT"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
    if (!child.waitForFinished(120000))
        ADD_FAILURE() << "the child run did not end";
    *exitCode = child.exitCode();
    return QString::fromLocal8Bit(child.readAllStandardError());
}

} // namespace TestHelpers

QString TestHelpers::shownText(QWidget *label)
{
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(label);
    return reader ? reader->text(QAccessible::Name) : QString();
}

QString TestHelpers::shownToolTip(QWidget *widget, const QPoint &at)
{
    QToolTip::hideText();
    QHelpEvent rest(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &rest);
    QString shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowType() == Qt::ToolTip && window->isVisible()) {
            window->grab();
            shown = shownText(window);
        }
    }
    QToolTip::hideText();
    return shown;
}
