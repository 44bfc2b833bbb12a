#pragma once

#include <QString>

// Text helpers shared by every subsystem.

// The text without white space, line breaks and control or format characters (such as a
// byte-order mark) at either end; characters inside the text stay.
QString Trim_Str(const QString &text);

// A name fit to become a file name: the path separators / and \ removed wherever they are,
// and the characters ? % * | " < > together with what Trim_Str takes removed from both ends.
QString Remove_Reserve_Char_In_File_Name(const QString &text);

// The text without the characters no stored text keeps: NUL (property-list texts are C
// strings) and halves of surrogate pairs (UTF-8 has no form for them). Every road a text
// takes (element archives of both forms, designs, data series, workbooks) leaves them out,
// so a text comes back the same whichever way it went. A text without them is returned as
// it is, without a copy.
QString Storable_Text(const QString &text);

// Whether XML 1.0 can hold the character: tab, line feed, carriage return and everything from
// U+0020 but halves of surrogate pairs, U+FFFE and U+FFFF.
inline bool Is_Xml_Char(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

// The text without the characters XML 1.0 cannot hold (see Is_Xml_Char), as design files
// store texts: every other property-list reader can read them.
QString Xml_Safe_Text(const QString &text);

// A tool tip that shows the text as it is. Qt shows a tip as HTML whenever its first line looks
// like a tag, and then opens the files an <img> in it names; a text from a file, a workbook or a
// font name goes escaped inside a paragraph that keeps its spaces and line breaks. Empty stays
// empty (no tip).
QString plainTextToolTip(const QString &text);
