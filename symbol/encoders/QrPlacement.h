#pragma once
// Module placement of QR Code Model 1, Model 2 and Micro QR: function
// patterns, codeword placement, format and version information.
#include <cstdint>

namespace lx {

inline constexpr int kQrMaxSize = 177;
inline constexpr int kQrRowStride = 23;

// Work areas of one symbol, rows top first, module column c at bit
// 1 << (c % 8) of byte c / 8; bits beyond the last column stay 0.
struct QrWorkMatrix {
    int model = 0;
    int versionIndex = 0;
    int level = 0;
    int size = 0;
    std::uint8_t symbol[kQrMaxSize][kQrRowStride]; // function patterns and codeword bits, unmasked
    std::uint8_t functionMap[kQrMaxSize][kQrRowStride]; // 1 where a module carries data and takes the mask
    std::uint8_t result[kQrMaxSize][kQrRowStride]; // the masked symbol
};

// Bytes a row of n modules takes.
constexpr int QrRowBytes(int size) { return (size + 7) / 8; }

constexpr bool QrModuleAt(const std::uint8_t (&layer)[kQrMaxSize][kQrRowStride], int row, int column)
{
    return (layer[row][column >> 3] >> (column & 7)) & 1;
}

// Draws the finder, separator, timing, alignment and Model 1 corner and
// fixed-block areas into the symbol layer and marks them in the function
// map; format and version areas are reserved (version information drawn).
void QrBuildFunctionPatterns(QrWorkMatrix& m);

// Clears the layers, draws the function patterns and places bitCount bits
// of the codeword sequence (model, version and size must be set).
void QrPlaceCodewords(QrWorkMatrix& m, const std::uint8_t* sequence, int bitCount);

// The 15-bit format information, BCH-protected and masked by the model's
// pattern (0x2825 Model 1, 0x5412 Model 2, 0x4445 Micro QR).
int QrFormatBits(int model, int versionIndex, int level, int mask);

// The 18-bit version information of versions 7 to 40.
int QrVersionBits(int version);

// Writes the format information for a mask number into the symbol layer.
void QrWriteFormatInformation(QrWorkMatrix& m, int mask);

} // namespace lx
