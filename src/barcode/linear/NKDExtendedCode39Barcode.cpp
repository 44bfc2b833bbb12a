#include "barcode/linear/NKDExtendedCode39Barcode.h"

bool NKDExtendedCode39Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDCode39Barcode::initWithContent(content, printsCaption))
        return false;
    // Upper case was only for the Code 39 checks; the full-ASCII code keeps the user's case.
    setContent(content);
    calculateWidth();
    return true;
}

QByteArray NKDExtendedCode39Barcode::fullAsciiPair(char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '-' || c == '.')
        return QByteArray(1, c);
    if (c >= 'a' && c <= 'z')
        return QByteArray("+") + char(c - 'a' + 'A');
    if (c >= '!' && c <= ',')
        return QByteArray("/") + char(c - '!' + 'A');
    switch (c) {
    case '/': return QByteArrayLiteral("/O");
    case ':': return QByteArrayLiteral("/Z");
    case '@': return QByteArrayLiteral("%V");
    case '`': return QByteArrayLiteral("%W");
    default: break;
    }
    if (c >= ';' && c <= '?')
        return QByteArray("%") + char(c - ';' + 'F');
    if (c >= '[' && c <= '_')
        return QByteArray("%") + char(c - '[' + 'K');
    if (c >= '{' && c <= '~')
        return QByteArray("%") + char(c - '{' + 'P');
    return {};
}

QByteArray NKDExtendedCode39Barcode::_encodeChar(char c) const
{
    const QByteArray pair = fullAsciiPair(c);
    QByteArray bars;
    for (const char part : pair)
        bars += patternOf(part);
    return bars;
}

QString NKDExtendedCode39Barcode::getRequirementDescription() const
{
    return QStringLiteral("Printable 7-bit text: letters of either case, digits, space and punctuation.");
}
