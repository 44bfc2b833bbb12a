#pragma once

#include "barcode/linear/NKDInterleavedTwoOfFiveBarcode.h"

// Industrial (standard) 2 of 5: every digit in five bars, wide bars three modules, every
// space one module; start and stop are the published bar groups. Any number of digits.
class NKDIndustrialTwoOfFiveBarcode : public NKDInterleavedTwoOfFiveBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDIndustrialTwoOfFiveBarcode"); }

    QByteArray barcode() const override;
    QByteArray initiator() const override { return QByteArrayLiteral("1110111010"); }
    QByteArray terminator() const override { return QByteArrayLiteral("111010111"); }
    QString caption() const override { return QString::fromLatin1(digitsToDraw()); }

    NKD_BARCODE_CLONE(NKDIndustrialTwoOfFiveBarcode)
};
