#pragma once

#include "barcode/linear/NKDBarcode.h"

#include <vector>

// Code 128 in code set A (capitals, digits, punctuation and control characters), B
// (printable 7-bit text) or C (digit pairs), or the set chosen from the content.
//
// A character that the chosen set A or B lacks is written with the shift symbol and its
// value in the other set; set C takes digits only, and an odd last digit goes through a
// change to set B. Both count in the check value, so readers read exactly the content.
class NKDCode128Barcode : public NKDBarcode
{
public:
    enum CodeSet { SetA = 0, SetB = 1, SetC = 2, Automatic = 3 };

    QString className() const override { return QStringLiteral("NKDCode128Barcode"); }

    int codeSet() const { return m_codeSet; }
    // Set before initWithContent(); an object initialised without it uses set A.
    void setCodeSet(int codeSet) { m_codeSet = codeSet; }

    using NKDBarcode::initWithContent;
    bool initWithContent(const QString &content, bool printsCaption) override;
    // The check value 0..102 into checkDigit.
    void generateChecksum() override;
    QByteArray initiator() const override;
    QByteArray terminator() const override;
    // The pattern of a character in the object's set, behind a shift when the set lacks it.
    QByteArray _encodeChar(char c) const override;
    bool isContentValid() const override;
    QByteArray barcode() const override;

    // The set the content suits: C for digits only, A when control characters outnumber
    // lower-case letters, else B.
    int _bestCodeSetForContent() const;
    // Symbol value of a character in set A or B, -1 when the set lacks it.
    static int _valueForChar(char c, int set);
    static bool _canEncodeChar(char c, int set) { return _valueForChar(c, set) >= 0; }
    static QByteArray _encodeChar(char c, int set);
    // The pattern of a two-digit pair "00".."99"; empty for anything else.
    static QByteArray _encodeNumberPair(const QByteArray &pair);
    // The 11-module pattern (13 for the stop, 106) of a symbol value.
    static QByteArray patternOfValue(int value);

    // The symbol values between start and check: data, shifts and set changes.
    std::vector<int> dataSymbols(bool *ok = nullptr) const;

    NKD_BARCODE_CLONE(NKDCode128Barcode)

private:
    int m_codeSet = SetA;
};
