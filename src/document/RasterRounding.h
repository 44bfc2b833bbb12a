#pragma once

#include <QtGlobal>

// Qt's raster engine's own arithmetic, for code that blends pixels itself and must come out
// exactly as the engine would have drawn them.
namespace RasterRounding {

// x * a / 255 on all four channels of a 32-bit pixel at once, rounded as Qt's raster engine
// rounds it.
inline quint32 byteMul(quint32 x, quint32 a)
{
    quint32 t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

} // namespace RasterRounding
