#pragma once
// Reed-Solomon error correction of QR symbols over GF(256) with the
// polynomial x^8 + x^4 + x^3 + x^2 + 1, and the block structure of each model.
#include <cstdint>

namespace lx {

// The ecLength error-correction codewords of one block: the remainder of the
// data polynomial times x^ecLength divided by the generator with roots
// alpha^0 .. alpha^(ecLength - 1). ecLength must have a generator.
void QrReedSolomonBlock(const std::uint8_t* data, int dataLength, int ecLength, std::uint8_t* ec);

// Splits the data codewords into the version's blocks, adds their error
// correction and writes the final sequence in placement order: Model 2
// interleaved, Model 1 block after block without interleaving, Micro QR as
// one bit stream in which the error correction follows the 4-bit last data
// codeword of M1 and M3 directly. Returns the number of bits in the sequence.
int QrAddReedSolomon(int model, int versionIndex, int level, const std::uint8_t* data, std::uint8_t* sequence);

} // namespace lx
