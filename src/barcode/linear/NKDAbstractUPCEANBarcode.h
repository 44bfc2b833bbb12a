#pragma once

#include "barcode/linear/NKDBarcode.h"

// Text operations on bar strings of the EAN/UPC family.
// Left-hand odd pattern -> right-hand pattern: every '0' becomes '1', every other character '0'.
QByteArray swapHandedness(const QByteArray &bars);
// Odd-parity pattern -> even-parity pattern: swapHandedness, then reversed.
QByteArray swapParity(const QByteArray &bars);

// What EAN-13, EAN-8, UPC-A and UPC-E share: digit patterns, guards, check digit, quiet
// zones (the width is 1.2 times the bars, the bars starting a tenth of it from the left).
class NKDAbstractUPCEANBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDAbstractUPCEANBarcode"); }
    bool quietZoneInBars() const override { return true; }

    void calculateWidth() override;
    float firstBar() const override { return 0.1f * width(); }
    float lastBar() const override { return 0.9f * width() - barWidth(); }
    // Left-hand odd-parity (number set A) pattern of a digit.
    QByteArray _encodeChar(char c) const override;
    QByteArray initiator() const override { return QByteArrayLiteral("101"); }
    QByteArray terminator() const override { return QByteArrayLiteral("101"); }
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
    QString rightCaption() const override { return checkDigitText(); }
    // Computes the check digit for a content of exactly 11 digits; leaves it alone otherwise.
    void generateChecksum() override;

    // The EAN/UPC check digit ('0'..'9') of a run of digits: from the last digit backwards,
    // weights 3, 1, 3, ...; 0 when a character is not a digit.
    static char checkDigitOf(const QByteArray &digits);
    static bool isAllDigits(const QByteArray &text);

protected:
    // The check digit of the content when it has `length` digits; otherwise unchanged.
    void computeCheckDigitForLength(int length);
    // The digit patterns in the three number sets: A (left odd), B (left even), C (right).
    static const char *leftOddPattern(int digit);
    static const char *leftEvenPattern(int digit);
    static const char *rightPattern(int digit);

    NKD_BARCODE_CLONE(NKDAbstractUPCEANBarcode)
};
