#pragma once

#include "barcode/linear/NKDBarcode.h"

// Modified Plessey (MSI): every digit as four bits, most significant first, a 1 bit drawn
// "110" and a 0 bit "100"; start "110", stop "1001"; a modulo-10 check digit.
class NKDModifiedPlesseyBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDModifiedPlesseyBarcode"); }
    double quietZone() const override { return 12.0 * double(barWidth()); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray _encodeChar(char c) const override;
    QByteArray initiator() const override { return QByteArrayLiteral("110"); }
    QByteArray terminator() const override { return QByteArrayLiteral("1001"); }
    void generateChecksum() override;

    // The modulo-10 check digit of a run of digits ('0'..'9'); 0 when one is not a digit.
    static char modulo10CheckDigit(const QByteArray &digits);

    NKD_BARCODE_CLONE(NKDModifiedPlesseyBarcode)

protected:
    // The 12 modules of a value 0..15.
    static QByteArray bitsPattern(int value);
};
