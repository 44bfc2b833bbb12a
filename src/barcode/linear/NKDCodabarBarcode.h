#pragma once

#include "barcode/linear/NKDBarcode.h"

// Codabar: digits and - $ : / . +, framed by the start and stop characters A..D. A content
// typed with its start and stop characters is drawn as typed; one typed without them is
// framed with A...A. Characters are separated by a one-module gap, as readers expect.
class NKDCodabarBarcode : public NKDBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDCodabarBarcode"); }

    QByteArray _encodeChar(char c) const override;
    QByteArray initiator() const override;
    QByteArray terminator() const override;
    bool isContentValid() const override;

    NKD_BARCODE_CLONE(NKDCodabarBarcode)

private:
    // Whether the content carries its own start and stop characters.
    bool hasOwnStartStop() const;
};
