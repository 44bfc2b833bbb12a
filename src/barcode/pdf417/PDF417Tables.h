#pragma once

#include <cstdint>
#include <vector>

// Constant tables of PDF417 (ISO/IEC 15438).
namespace PDF417Tables {

// Bar-space pattern of every codeword in the three row clusters (0, 3 and 6, indexed 0 to 2):
// 17 modules, most significant bit first, 1 for a bar.
extern const std::uint32_t clusterPatterns[3][929];

constexpr std::uint32_t kStartPattern = 0x1FEA8; // 17 modules
constexpr std::uint32_t kStopPattern = 0x3FA29;  // 18 modules

// Reed-Solomon coefficients over GF(929) of an error correction level (0 to 8): the 2^(level+1)
// lower coefficients, lowest order first, of the monic generator whose roots are 3^1 ... 3^k.
// Computed once on first use; safe from any thread.
const std::vector<int> &errorCorrectionCoefficients(int level);

} // namespace PDF417Tables
