#pragma once

// Peak memory of one step of a benchmark, from /proc/self: reset the peak, run the step, read
// the growth of the peak resident size.

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <string>

namespace BenchMemory {

// A "Vm...:" line of /proc/self/status, in KiB.
inline long statusKiB(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::strlen(key));
    return 0;
}

inline void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Call before the step; returns the resident size to pass to peakGrowthKiB afterwards.
inline long startStep()
{
    malloc_trim(0);   // freed memory of earlier work must not hide this step's growth
    const long before = statusKiB("VmRSS:");
    resetPeakResident();
    return before;
}

inline long peakGrowthKiB(long before)
{
    return statusKiB("VmHWM:") - before;
}

} // namespace BenchMemory
