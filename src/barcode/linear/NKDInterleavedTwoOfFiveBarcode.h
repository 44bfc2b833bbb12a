#pragma once

#include "barcode/linear/NKDBarcode.h"

// Interleaved 2 of 5: digit pairs, the first digit of a pair in the bars and the second in
// the spaces; wide elements are three modules. An odd number of digits gets a leading zero,
// which the caption shows too, so that it reads what a scanner reads.
class NKDInterleavedTwoOfFiveBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDInterleavedTwoOfFiveBarcode"); }

    QByteArray barcode() const override;
    // Element k (0..4) of a digit: true narrow, false wide.
    static bool _getBarForDigit(char digit, int barNumber);
    QByteArray initiator() const override { return QByteArrayLiteral("1010"); }
    QByteArray terminator() const override { return QByteArrayLiteral("11101"); }
    // Modulo-10 check digit with weights 3 and 1; nothing in the designer asks for it.
    void generateChecksum() override;
    bool isContentValid() const override;
    QString caption() const override;

    NKD_BARCODE_CLONE(NKDInterleavedTwoOfFiveBarcode)

protected:
    // The digits drawn: the content and the check digit when one is set.
    QByteArray digitsToDraw() const;
};
