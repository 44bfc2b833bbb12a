#pragma once

#include "barcode/linear/NKDCode39Barcode.h"

// Full-ASCII Code 39: printable 7-bit text, the characters Code 39 lacks written as pairs
// of Code 39 characters (a prefix $ % / + and a letter) by the published full-ASCII table.
// Control characters and DEL are refused.
class NKDExtendedCode39Barcode : public NKDCode39Barcode
{
public:
    QString className() const override { return QStringLiteral("NKDExtendedCode39Barcode"); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray _encodeChar(char c) const override;
    bool isContentValid() const override { return NKDBarcode::isContentValid(); }
    QString getRequirementDescription() const;

    // The two Code 39 characters standing for `c`, or one for those encoded directly;
    // empty when `c` is not encoded.
    static QByteArray fullAsciiPair(char c);

    NKD_BARCODE_CLONE(NKDExtendedCode39Barcode)
};
