#pragma once

#include "barcode/linear/NKDPostnetBarcode.h"

// PLANET: POSTNET with tall and short bars swapped, for 11 or 13 digits and a check digit.
class NKDPlanetBarcode : public NKDPostnetBarcode
{
public:
    QString className() const override { return QStringLiteral("NKDPlanetBarcode"); }

    float _heightForDigit(int digitIndex, int bar) const override;

    NKD_BARCODE_CLONE(NKDPlanetBarcode)

protected:
    bool isValidLength(qsizetype length) const override { return length == 11 || length == 13; }
};
