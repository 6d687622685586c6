#pragma once
// Encodes PDF417 requests and reads the symbols back: zxing-cpp for standard
// and truncated symbols, a module reader for the layout checks.
#include "symbol/encoders/Pdf417Encoder.h"

#include "support/Decoders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

struct Pdf417Symbol {
    int result = 0;
    int width = 0;
    int rows = 0;
    int eccLevel = -1;
    std::vector<std::uint8_t> matrix;
};

inline Pdf417Symbol EncodePdf417Request(const std::string& request, int model = lx::kPdf417Standard,
                                        std::int32_t params = 0)
{
    Pdf417Symbol s;
    s.matrix.assign(lx::kPdf417MatrixBytes, 0xAA);
    std::int32_t numCell = -7;
    std::int32_t ecc = -1;
    s.result = lx::EncodePdf417(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                                &numCell, s.matrix.data(), model, params, &ecc);
    if (s.result == 0) {
        s.width = numCell & 0xFFFF;
        s.rows = numCell >> 16;
        s.eccLevel = ecc;
    } else {
        EXPECT_EQ(numCell, -7) << "size written on failure";
    }
    return s;
}

// Parameter word as the control packs it.
inline std::int32_t Pdf417Params(int columns, int rows, int heightRatio = 4, int rowHeight = 4)
{
    return rowHeight << 24 | (1 << heightRatio) << 16 | rows << 8 | columns;
}

// Renders each module `scale` pixels wide and each row `rowHeight` modules high.
inline GreyImage RenderPdf417(const Pdf417Symbol& s, int rowHeight = 3, int scale = 2)
{
    auto modules = ModulesFromMatrix(s.matrix.data(), s.width, s.rows);
    std::vector<std::vector<bool>> tall;
    for (const auto& row : modules)
        for (int i = 0; i < rowHeight; ++i)
            tall.push_back(row);
    return RenderModules(tall, scale, 2);
}

// Short truncated symbols need taller rows before zxing finds them.
inline Decoded DecodePdf417(const Pdf417Symbol& s)
{
    Decoded d;
    for (int rowHeight : {3, 8, 16}) {
        for (bool pure : {true, false}) {
            d = ZxingDecode(RenderPdf417(s, rowHeight), ZXing::BarcodeFormat::PDF417, pure);
            if (d.ok)
                return d;
        }
    }
    return d;
}

} // namespace lxtest
