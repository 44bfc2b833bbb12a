#pragma once

// Text rules of series values and series names.

#include <QString>

namespace SeriesText {

// White space and line breaks removed from both ends, then control and format characters.
QString trimmed(const QString &text);
// The same, at the end of the text only.
QString trimmedEnd(const QString &text);
// A name typed by the user as a file name: the characters / \ ? % * | " < > stripped from
// both ends (not from inside), then trimmed.
QString cleanedName(const QString &name);

} // namespace SeriesText
