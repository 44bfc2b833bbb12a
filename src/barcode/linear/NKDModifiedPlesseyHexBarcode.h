#pragma once

#include "barcode/linear/NKDModifiedPlesseyBarcode.h"

// Modified Plessey with the hexadecimal digits A..F (values 10..15) as well. A content of
// decimal digits gets the decimal check digit, so that it reads like Modified Plessey; one
// with letters gets a Luhn check digit modulo 16 (0..9, A..F).
class NKDModifiedPlesseyHexBarcode : public NKDModifiedPlesseyBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDModifiedPlesseyHexBarcode"); }

    QByteArray _encodeChar(char c) const override;
    void generateChecksum() override;

    static char modulo16CheckDigit(const QByteArray &hexDigits);

    NKD_BARCODE_CLONE(NKDModifiedPlesseyHexBarcode)
};
