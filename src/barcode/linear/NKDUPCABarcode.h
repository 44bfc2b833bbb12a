#pragma once

#include "barcode/linear/NKDAbstractUPCEANBarcode.h"

// UPC-A: 11 digits and a check digit, typed with or without it; longer input is refused.
class NKDUPCABarcode : public NKDAbstractUPCEANBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDUPCABarcode"); }
    double quietZone() const override { return 9.0 * double(barWidth()); }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    QByteArray barcode() const override;
    void generateChecksum() override;
    QString caption() const override;
    bool isContentValid() const override;

    NKD_BARCODE_CLONE(NKDUPCABarcode)
};
