#pragma once

// Input sizes within the element archive reader's limits, derived from the limits the reader
// exports (LMNGraphicArchive::MaximumValues, MaximumSize) and from the archive checker's own
// count of values, so that a benchmark of reading never times a refusal.

#include "document/LMNGraphicArchive.h"
#include "document/PropertyListCheck.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace BenchArchiveLimits {

// The values a binary archive expands to, as the archive checker counts them: the least
// object limit it passes.
inline std::uint64_t values(const QByteArray &archive)
{
    PropertyListCheck::Limits limits;
    limits.maxBytes = UINT64_MAX;
    std::uint64_t low = 0;
    std::uint64_t high = 1;
    const auto passes = [&](std::uint64_t objects) {
        limits.maxObjects = objects;
        return PropertyListCheck::binary(archive, limits) == PropertyListCheck::Result::Fine;
    };
    while (!passes(high)) {
        low = high;
        high *= 2;
    }
    while (high - low > 1) {
        const std::uint64_t middle = low + (high - low) / 2;
        (passes(middle) ? high : low) = middle;
    }
    return high;
}

// The most elements an archive may hold and still be read: within the reader's element, value
// and size limits, measured on small archives. `binaryOf` makes the binary archive of n elements, whose
// values are counted; `readOf` (when given) the archive of the same elements that is read, in
// another form, whose size counts.
inline int mostElements(const std::function<QByteArray(int)> &binaryOf,
                        const std::function<QByteArray(int)> &readOf = {})
{
    constexpr int kSample = 64;
    const auto &sizeOf = readOf ? readOf : binaryOf;
    const std::uint64_t valuesOne = values(binaryOf(1));
    const double valuesEach = double(values(binaryOf(1 + kSample)) - valuesOne) / kSample;
    const qsizetype bytesOne = sizeOf(1).size();
    const double bytesEach = double(sizeOf(1 + kSample).size() - bytesOne) / kSample;
    const double byValues = double(LMNGraphicArchive::MaximumValues - valuesOne) / valuesEach;
    const double bySize = double(LMNGraphicArchive::MaximumSize - bytesOne) / bytesEach;
    const double byElements = double(LMNGraphicArchive::MaximumElements - 1);
    return 1 + int(std::min({byValues, bySize, byElements}));
}

} // namespace BenchArchiveLimits
