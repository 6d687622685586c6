#pragma once
// MaxiCode encoder: one encode request in, the 33-row module map out.
// Plain function over fixed static buffers: no heap, not re-entrant.
#include <cstdint>

namespace lx {

// Bytes of the module map: 33 rows of 4 bytes (30 modules a row).
inline constexpr int kMaxiCodeMapBytes = 33 * 4;

// Encodes the request
//   ["D" position total] [","] [postal "," country "," class ","] message
// (position and total one digit, or two whose first is 0 or 1; the primary
// fields in modes 2 and 3 only; the message ends at a zero byte) in mode
// storedMode + 1 (2..6). Returns 0 with the map filled (bit 1 << (c % 8) of
// byte row * 4 + c / 8 = module c of the row, 1 dark; the bull's-eye is not
// part of it), or a negative code with the map untouched: -1 message too long
// or a mode 3 postal code character without a six-bit value ("@", bytes from
// 128), -3 bad structured-append header, -4 mode out of range. Reads only the
// given bytes.
int EncodeMaxiCode(int requestLength, const std::uint8_t* request, std::uint8_t* map, int storedMode);

} // namespace lx
