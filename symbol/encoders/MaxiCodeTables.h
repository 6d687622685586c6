#pragma once
// Tables of the MaxiCode encoder (not a public API).
#include <cstdint>

namespace lx::maxi {

// Module number (row x 32 + column) of each codeword bit, six a codeword, most
// significant bit first: the module sequence of ISO/IEC 16023.
extern const std::uint16_t kModuleSequence[144 * 6];

// The thirteen modules that are dark in every symbol (orientation marks).
inline constexpr std::uint16_t kFixedDarkModules[] = {28, 29, 298, 299, 331, 487, 520, 532, 564, 714, 721, 746, 753};

enum CodeSet { kSetA, kSetB, kSetC, kSetD, kSetE, kSetCount };

// Value of byte b in a code set, or -1 when the set has no such character.
int CodeSetValue(int set, int b);

} // namespace lx::maxi
