#pragma once

#include "barcode/linear/NKDUPCABarcode.h"

// UPC-E: the zero-suppressed form of a UPC-A number. Content: the number system ('0' or '1')
// and six digits; typed with its check digit (8 digits), without it (7 digits: the check
// digit of the expanded UPC-A number is computed), or as the 11 digits of a UPC-A number
// that can be zero-suppressed.
class NKDUPCEBarcode : public NKDUPCABarcode
{
public:
    QString className() const override { return QStringLiteral("NKDUPCEBarcode"); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;
    // Whether the digit at `position` (1..6) takes even parity, by check digit and number system.
    virtual bool parityForDigit(int position) const;
    bool isContentValid() const override;
    QByteArray terminator() const override { return QByteArrayLiteral("010101"); }
    QString caption() const override;

    // The six-digit UPC-E body of a UPC-A number (number system, five manufacturer digits,
    // five product digits, check digit: at least 12 characters); empty when the number
    // cannot be zero-suppressed.
    static QByteArray UPCAToUPCE(const QByteArray &upca);
    // The 11 digits (without check digit) of the UPC-A number a UPC-E number system and
    // body stand for; empty for anything but 7 digits.
    static QByteArray UPCEToUPCA(const QByteArray &upce);

    NKD_BARCODE_CLONE(NKDUPCEBarcode)
};
