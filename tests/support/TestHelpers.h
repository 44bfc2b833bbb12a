#pragma once

// Also the headers nearly every test needs: Qt's files, pictures and test tools, and GoogleTest.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class QWidget;

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

namespace TestHelpers {

// Path of a file under the source tree (for shipped resources and test data).
QString sourcePath(const QString &relative);

// Writes `bytes` to `path`, making its folder first; fails the running test when it cannot.
// Returns the path.
QString writeFile(const QString &path, const QByteArray &bytes = "x");
// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);

// True when every channel of `pixel` (alpha included) is within `tolerance` of `expected`.
bool near(QRgb pixel, const QColor &expected, int tolerance = 8);

// Fails the running test for each (x, y, colour) whose pixel is not that colour within
// `tolerance`, naming the pixel.
void expectPixels(const QImage &image, std::initializer_list<std::tuple<int, int, QColor>> pixels, int tolerance = 8);

// Lengths of the alternating ink and gap runs along row `y` from `x0` to `x1` (exclusive),
// starting with ink; ink is a pixel whose lightness is below `darkerThan`.
QList<int> runs(const QImage &image, int y, int x0, int x1, int darkerThan = 128);

// Number of pixels inside `area` whose colour differs from `background` by more than `tolerance`
// in any channel (alpha included).
int countPixelsDifferent(const QImage &image, const QColor &background, const QRect &area, int tolerance = 8);

// True when every pixel outside `inside` equals `background` within `tolerance`.
bool onlyInside(const QImage &image, const QColor &background, const QRect &inside, int tolerance = 8);

// Number of pixels whose 32-bit values differ between two pictures (over the size they share).
int differingPixels(const QImage &a, const QImage &b);

// Empty when `grey` is an 8-bit grey picture of the size of `argb` and every pixel of `argb` is
// opaque with equal channels, the level `grey` holds; else what differs first.
QString greyMismatch(const QImage &grey, const QImage &argb);

// The text a label (a message box's, a tool tip's) shows, as a screen reader is told it: the text
// itself when plain, what a document makes of it when Qt takes it for HTML. Ampersands that
// would mark a shortcut are left out.
QString shownText(QWidget *label);
// The tool tip a widget (a view's viewport for an item's tip) shows for a pointer resting at
// `at`, in the widget's own coordinates, as shownText() reads it once the tip is laid out and
// drawn; empty when it shows none.
QString shownToolTip(QWidget *widget, const QPoint &at);

// Runs a program and returns its standard output; fails the running test on a non-zero exit.
QByteArray runProgram(const QString &program, const QStringList &arguments, const QByteArray &input = {},
                      int *exitCode = nullptr);

// Runs this test program again, only the tests `filter` names, with the environment variable
// `variable` set to 1 (the child tests that plant a fault run only then). Returns what the
// child wrote to its error stream; `exitCode` receives its exit code.
QString runThisProgramAgain(const QString &filter, const char *variable, int *exitCode);

// Collects what goes to the log ("category: message" per line) while it lives.
class LogCapture
{
public:
    LogCapture() { s_lines.clear(); m_previous = qInstallMessageHandler(&LogCapture::handler); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    QStringList lines() const { return s_lines; }

private:
    static void handler(QtMsgType, const QMessageLogContext &context, const QString &message)
    {
        s_lines.append(QLatin1String(context.category) + QLatin1String(": ") + message);
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};

} // namespace TestHelpers
