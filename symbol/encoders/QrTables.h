#pragma once
// Symbol tables of QR Code Model 1, Model 2 and Micro QR: capacities, block
// counts, character-count widths and the alphanumeric character set.
#include "symbol/encoders/QrSegments.h"

#include <cstdint>

namespace lx {

// Per version: total codewords, data codewords and error-correction blocks by
// level (L, M, Q, H). A level a Micro version lacks has 0 data codewords.
struct QrVersionInfo {
    std::int16_t total;
    std::int16_t data[4];
    std::uint8_t blocks[4];
};

// Highest version number of a model: 14, 40 or 4.
int QrMaxVersion(int model);

// Version index is 0-based (Micro: 0 = M1).
const QrVersionInfo& QrVersionTable(int model, int versionIndex);

// Modules per side.
int QrSymbolSize(int model, int versionIndex);

// Bits the data may occupy; 0 when the version lacks the level.
int QrDataCapacityBits(int model, int versionIndex, int level);

// Character-count width of a mode at a version.
int QrCountWidth(int model, int versionIndex, int mode);

// Length of the mode indicator: 4, or 0..3 for Micro M1..M4.
int QrModeIndicatorBits(int model, int versionIndex);

// Count-width bracket of a Model 1/2 version index: 0 (1-9), 1 (10-26), 2 (27-40).
constexpr int QrCountBracket(int versionIndex) { return versionIndex < 9 ? 0 : versionIndex < 26 ? 1 : 2; }

// Value 0..44 of a character in the 45-character set, -1 for any other byte
// (lower-case letters included).
int QrAlphanumericValue(std::uint8_t c);

} // namespace lx
