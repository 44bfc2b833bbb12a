#pragma once

#include "barcode/linear/NKDAbstractUPCEANBarcode.h"

// EAN-13: 12 digits and a check digit. Typing all 13 digits is accepted when the last one
// is the right check digit; anything longer is refused, never cut.
class NKDEAN13Barcode : public NKDAbstractUPCEANBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDEAN13Barcode"); }
    double quietZone() const override { return 11.0 * double(barWidth()); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;
    // Whether the digit at `position` (1..6) takes even parity, by the first digit.
    virtual bool _parityForSystemDigit(char systemDigit, int position) const;
    int digitsToRight() const override { return 0; }
    QString rightCaption() const override { return {}; }
    QString caption() const override;
    void generateChecksum() override;
    bool isContentValid() const override;

protected:
    // Stores a content typed with or without its check digit: `length` digits give the
    // check digit computed, `length` + 1 digits give their last one as the check digit.
    void splitTypedCheckDigit(int length);

    NKD_BARCODE_CLONE(NKDEAN13Barcode)
};
