#pragma once

#include "barcode/linear/NKDEAN13Barcode.h"

// EAN-8: 7 digits and a check digit, typed with or without it.
class NKDEAN8Barcode : public NKDEAN13Barcode
{
public:
    QString className() const override { return QStringLiteral("NKDEAN8Barcode"); }
    double quietZone() const override { return 7.0 * double(barWidth()); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;
    QString caption() const override;
    bool isContentValid() const override;
    void generateChecksum() override;
    int digitsToLeft() const override { return 0; }
    int digitsToRight() const override { return 0; }

    NKD_BARCODE_CLONE(NKDEAN8Barcode)
};
