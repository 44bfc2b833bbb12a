#pragma once

#include <QString>

// Text helpers shared by every subsystem. Positions and lengths count UTF-16 code units, as
// QString does. Results that answer "yes or no" are 1 or 0.

// The text without white space, line breaks and control or format characters (such as a
// byte-order mark) at either end; characters inside the text stay.
QString Trim_Str(const QString &text);

// A name fit to become a file name: the path separators / and \ removed wherever they are,
// and the characters ? % * | " < > together with what Trim_Str takes removed from both ends.
QString Remove_Reserve_Char_In_File_Name(const QString &text);

// 1 when `part` occurs in `text` with the same case, else 0. An empty part never occurs.
int Find_Str(const QString &text, const QString &part);
// 1 when `part` occurs in `text` in any case, else 0. An empty part never occurs.
int Find_Str_Case_Insensitive(const QString &text, const QString &part);

// The text with every occurrence of `find` replaced by `replacement`; unchanged when `find`
// is empty.
QString Replace_char_in_string(const QString &text, const QString &find, const QString &replacement);

// The first `count` characters (none for a negative count; the whole text when it is shorter).
QString Left_Str_substringToIndex(const QString &text, int count);
// The characters from position `index` to the end (the whole text for a negative index,
// nothing past the end).
QString Right_Str_substringFromIndex(const QString &text, int index);

// The text after the first occurrence of `part`; empty when `part` does not occur.
QString Read_Str_FromIndex(const QString &text, const QString &part);
// The text before the first occurrence of `part`; the whole text when `part` does not occur.
QString Read_Str_Upto_Index(const QString &text, const QString &part);
