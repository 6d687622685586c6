#pragma once
// ECC200 DataMatrix encoder: one encode request in, one module matrix out.
// Plain function over fixed static buffers: no heap, not re-entrant.
#include <cstdint>

namespace lx {

// Bytes the largest module matrix takes (144 rows of 18 bytes); the caller's
// matrix buffer must hold at least this many.
inline constexpr int kDataMatrixMatrixBytes = 144 * 18;

// Data bytes one request may carry at most (more gives -1).
inline constexpr int kDataMatrixMaxDataBytes = 3116;

// Encodes the request
//   ["D" position(2 digits) total(2 digits) file(5 digits)] [","] data
// into an ECC200 symbol. The position runs 1..16 and the total 2..16; the file
// number 0..99999 becomes the two-byte file identification (each byte 1..254).
// At the start of the whole message (no header, or position 1) "@1" writes
// FNC1, "@5" and "@6" the macro codewords, "@" and any other byte that byte.
// model: 1 square, 2 rectangular. sizeIndex: 0 smallest that fits, else the
// 1-based index among the sizes of the model in ascending order.
// Returns 0 and sets *size to columns | rows << 16 with the matrix filled
// (rows of (columns + 7) / 8 bytes, top row first, bit 1 << (c % 8) of byte
// c / 8 = column c, 1 dark), or a negative code with nothing written:
// -1 data too long or no size holds it, -3 bad structured-append header,
// -4 model not 1..2, -6 size index out of range. Reads only the given bytes.
int EncodeDataMatrix(int requestLength, const std::uint8_t* request, std::int32_t* size, std::uint8_t* matrix,
                     int model, int sizeIndex);

// The file number a request header carries for a message whose bytes add up to
// byteSum: always five digits.
constexpr int DataMatrixFileNumber(std::uint64_t byteSum) { return static_cast<int>(byteSum % 100000); }

} // namespace lx
