#pragma once

#include <QString>

#include <cstring>

// Texts from UTF-8 exactly as they were written. QString::fromUtf8 takes a leading U+FEFF for
// a byte-order mark and drops it; a text typed or pasted with one keeps it here.
namespace Utf8Text {

inline QString decode(const char *utf8, qsizetype length)
{
    QString text;
    while (length >= 3 && std::memcmp(utf8, "\xEF\xBB\xBF", 3) == 0) {
        text += QChar(0xFEFF);
        utf8 += 3;
        length -= 3;
    }
    return text.isEmpty() ? QString::fromUtf8(utf8, length) : text + QString::fromUtf8(utf8, length);
}

inline QString decode(const char *utf8)
{
    return utf8 ? decode(utf8, qsizetype(std::strlen(utf8))) : QString();
}

} // namespace Utf8Text
