#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

namespace TestHelpers {

// Path of a file under the source tree (for shipped resources and test data).
QString sourcePath(const QString &relative);

// Number of pixels inside `area` whose colour differs from `background` by more than `tolerance`
// in any channel (alpha included).
int countPixelsDifferent(const QImage &image, const QColor &background, const QRect &area, int tolerance = 8);

// True when every pixel outside `inside` equals `background` within `tolerance`.
bool onlyInside(const QImage &image, const QColor &background, const QRect &inside, int tolerance = 8);

// Runs a program and returns its standard output; fails the running test on a non-zero exit.
QByteArray runProgram(const QString &program, const QStringList &arguments, const QByteArray &input = {},
                      int *exitCode = nullptr);

} // namespace TestHelpers
