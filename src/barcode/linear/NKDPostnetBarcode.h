#pragma once

#include "barcode/linear/NKDBarcode.h"

// POSTNET: 5, 9 or 11 digits and a check digit, each digit five bars of which two are tall,
// between two tall frame bars. Bars are 0.015 inch wide with a two-module space; tall bars
// 0.125 inch, short ones 0.05 inch.
class NKDPostnetBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDPostnetBarcode"); }
    // An eighth of an inch, as the postal service asks beside the bars.
    double quietZone() const override { return 9.0; }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray initiator() const override { return QByteArrayLiteral("100"); }
    QByteArray terminator() const override { return QByteArrayLiteral("1"); }
    QByteArray _encodeChar(char c) const override;
    float barTop(int module) const override;
    // Length in inches of bar 1..5 of the digit at `digitIndex` (the check digit past the content).
    virtual float _heightForDigit(int digitIndex, int bar) const;
    void generateChecksum() override;
    bool isContentValid() const override;

    NKD_BARCODE_CLONE(NKDPostnetBarcode)

protected:
    // Whether bar 1..5 of a digit is tall in POSTNET; false for anything but a digit.
    static bool isTallInPostnet(char digit, int bar);
    // The digit at an index of the content, the check digit just past it, else 0.
    char digitAt(int digitIndex) const;
    virtual bool isValidLength(qsizetype length) const { return length == 5 || length == 9 || length == 11; }
};
