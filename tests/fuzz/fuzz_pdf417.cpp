// Hostile requests, models and parameter words into the PDF417 encoder. The
// request and the module buffer are exact-size heap blocks, so AddressSanitizer
// catches any access outside them.
#include "symbol/encoders/Pdf417Encoder.h"

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const int model = data[0] % 5; // includes invalid models 0 and 4
    std::int32_t params = 0;
    std::memcpy(&params, data + 1, 4);
    if (data[0] & 0x80)
        params &= 0x0FFF1F1F; // mostly valid words
    const std::size_t length = size - 5;
    auto request = std::make_unique<std::uint8_t[]>(length ? length : 1);
    std::memcpy(request.get(), data + 5, length);
    auto matrix = std::make_unique<std::uint8_t[]>(lx::kPdf417MatrixBytes);
    std::int32_t numCell = 0;
    std::int32_t ecc = 0;
    const int rc =
        lx::EncodePdf417(static_cast<int>(length), request.get(), &numCell, matrix.get(), model, params, &ecc);
    if (rc == 0) {
        const int width = numCell & 0xFFFF;
        const int rows = numCell >> 16;
        if (width < 38 || rows < 3 || rows > 90 || (width + 7) / 8 * rows > lx::kPdf417MatrixBytes)
            __builtin_trap();
    }
    return 0;
}
