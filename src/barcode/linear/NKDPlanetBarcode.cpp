#include "barcode/linear/NKDPlanetBarcode.h"

float NKDPlanetBarcode::_heightForDigit(int digitIndex, int bar) const
{
    return isTallInPostnet(digitAt(digitIndex), bar) ? 0.05f : 0.125f;
}
