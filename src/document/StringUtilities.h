#pragma once

#include <QString>

// Text helpers shared by every subsystem.

// The text without white space, line breaks and control or format characters (such as a
// byte-order mark) at either end; characters inside the text stay.
QString Trim_Str(const QString &text);

// A name fit to become a file name: the path separators / and \ removed wherever they are,
// and the characters ? % * | " < > together with what Trim_Str takes removed from both ends.
QString Remove_Reserve_Char_In_File_Name(const QString &text);
