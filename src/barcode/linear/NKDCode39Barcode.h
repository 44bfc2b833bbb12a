#pragma once

#include "barcode/linear/NKDBarcode.h"

// Code 39: digits, capital letters, space and - . $ / + %, between two '*' start/stop
// characters. Lower case is turned to upper case; a '*' inside the content is refused (a
// reader would take it for the end of the symbol). Narrow elements are one module, wide ones
// two, and every character is followed by a one-module gap.
class NKDCode39Barcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDCode39Barcode"); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray _encodeChar(char c) const override;
    QByteArray initiator() const override;
    QByteArray terminator() const override { return initiator(); }
    bool isContentValid() const override;
    // The modulo-43 check character; nothing in the designer asks for it.
    void generateChecksum() override;

    // The 13-module pattern of a Code 39 character ('*' included); empty for any other.
    static QByteArray patternOf(char c);

    NKD_BARCODE_CLONE(NKDCode39Barcode)
};
