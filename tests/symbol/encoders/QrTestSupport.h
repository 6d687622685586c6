#pragma once
// Helpers of the QR encoder tests: run EncodeQr on a request string and
// decode the result with zxing-cpp.
#include "support/Decoders.h"
#include "symbol/encoders/QrEncoder.h"
#include "symbol/encoders/QrSegments.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

struct QrSymbol {
    int result = 0;
    int size = 0;
    std::vector<std::uint8_t> matrix; // size x (size + 7) / 8 bytes

    bool Dark(int row, int column) const { return (matrix[row * ((size + 7) / 8) + column / 8] >> (column % 8)) & 1; }
};

// Encodes with a request buffer of exactly length + 1 bytes, so that a read or
// write beyond the end mark shows under AddressSanitizer.
inline QrSymbol EncodeQrRequest(const std::string& request, int model = 2, int version = 0)
{
    std::vector<std::uint8_t> buffer(request.begin(), request.end());
    buffer.push_back(0);
    QrSymbol symbol;
    std::vector<std::uint8_t> matrix(177 * 23, 0xCD);
    int count = -7;
    symbol.result =
        lx::EncodeQr(static_cast<int>(request.size()), buffer.data(), &count, matrix.data(), model, version);
    if (symbol.result == 0) {
        symbol.size = count;
        matrix.resize(static_cast<std::size_t>(count) * ((count + 7) / 8));
        symbol.matrix = std::move(matrix);
    }
    return symbol;
}

// The 15 format bits of a Model 1/2 symbol, from the copy around the top-left
// finder or from the one split between the other two finders.
inline int FormatCopy(const QrSymbol& s, bool second)
{
    const int n = s.size;
    int bits = 0;
    for (int k = 0; k < 15; ++k) {
        const bool dark = second ? (k < 8 ? s.Dark(8, n - 1 - k) : s.Dark(n - 15 + k, 8))
                                 : (k < 8 ? s.Dark(k < 6 ? k : k + 1, 8) : s.Dark(8, k == 8 ? 7 : 14 - k));
        bits |= dark << k;
    }
    return bits;
}

inline Decoded DecodeQrSymbol(const QrSymbol& symbol, bool micro = false)
{
    const auto modules = ModulesFromMatrix(symbol.matrix.data(), symbol.size, symbol.size);
    return ZxingDecode(RenderModules(modules, 3, micro ? 2 : 4),
                       micro ? ZXing::BarcodeFormat::MicroQRCode : ZXing::BarcodeFormat::QRCode);
}

} // namespace lxtest
