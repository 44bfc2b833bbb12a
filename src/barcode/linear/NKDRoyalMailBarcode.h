#pragma once

#include "barcode/linear/NKDBarcode.h"

// Royal Mail 4-state customer code (RM4SCC): digits and capital letters (lower case is
// turned to upper case), four bars each, a check character, a start bar and a stop bar.
// Every bar has a tracker; an ascender reaches up, a descender down.
class NKDRoyalMailBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDRoyalMailBarcode"); }
    // Two millimetres, as the postal service asks.
    double quietZone() const override { return 2.0 * 72.0 / 25.4; }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }
    QByteArray initiator() const override { return QByteArrayLiteral("10"); }
    QByteArray terminator() const override { return QByteArrayLiteral("1"); }
    QByteArray _encodeChar(char c) const override;
    bool isContentValid() const override;
    // The bar ending at module n: bit 1 ascender, bit 0 descender (3 full, 0 tracker).
    int _barDescriptor(int module) const;
    float barTop(int module) const override;
    float barBottom(int module) const override;
    bool drawsFromBarBottom() const override { return true; }
    void generateChecksum() override;

    // Four bar descriptors of a character, first bar in the highest group; 0 when not encoded.
    static int royalmail_characterDescriptor(char c);

    NKD_BARCODE_CLONE(NKDRoyalMailBarcode)
};
