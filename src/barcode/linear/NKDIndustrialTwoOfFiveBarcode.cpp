#include "barcode/linear/NKDIndustrialTwoOfFiveBarcode.h"

QByteArray NKDIndustrialTwoOfFiveBarcode::barcode() const
{
    const QByteArray digits = digitsToDraw();
    QByteArray bars;
    bars.reserve(digits.size() * 14);
    for (const char digit : digits) {
        for (int k = 0; k < 5; ++k)
            bars += _getBarForDigit(digit, k) ? "10" : "1110";
    }
    return bars;
}
