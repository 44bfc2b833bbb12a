#include "output/PrintGlobals.h"

float Points_to_MM_Convert(float points)
{
    return float(double(points) * 0.3527777777778);
}

float MM_to_Points_Convert(float millimetres)
{
    return float(double(millimetres) * 2.834645669291);
}
