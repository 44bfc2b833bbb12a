#pragma once

#include "barcode/linear/NKDBarcode.h"

// Japan Post customer barcode: a postal code and address number as 20 codes of three
// four-state bars each, a check code, a start and a stop code. Letters take two codes (a
// control code and a digit), characters without a code are dropped, and short texts are
// padded with the filler code.
//
// The symbol size is a number 8.5..11.5 (10 is the standard size); height() holds it until
// the picture size is computed, and the bar width is always a sixth of it.
class JapanPostBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("JapanPostBarcode"); }
    // Two millimetres, as the postal service asks.
    double quietZone() const override { return 2.0 * 72.0 / 25.4; }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption, float barWidth, float height, float fontSize,
                         qint8 checkDigit) override;
    void setHeight(float height) override;
    void setBarWidth(float barWidth) override;
    void setContent(const QString &content) override;
    void generateChecksum() override;
    bool isContentValid() const override;
    QByteArray barcode() const override;
    bool printsCaption() const override { return true; }
    bool printsHeader() const override { return true; }
    bool printsFooter() const override { return true; }
    QByteArray initiator() const override;
    QByteArray terminator() const override;
    QByteArray _encodeChar(char c) const override;
    float barTop(int module) const override;
    float barBottom(int module) const override;
    bool drawsFromBarBottom() const override { return true; }
    void calculateWidth() override;
    // The bar ending at module n: bit 1 ascender, bit 0 descender.
    int _barDescriptor(int module) const;
    // The 20 codes that are drawn.
    QByteArray japanpostContents() const { return m_japanpostContents; }

    // The size number the bar lengths follow (six bar widths).
    float symbolSize() const { return 6.0f * barWidth(); }

    NKD_BARCODE_CLONE(JapanPostBarcode)

private:
    QByteArray m_japanpostContents;
};
