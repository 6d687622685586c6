// Hostile requests, models and size indexes into the DataMatrix encoder. The
// request and the matrix are exact-size heap blocks, so AddressSanitizer
// catches any access outside them.
#include "symbol/encoders/DataMatrixEncoder.h"

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int model = data[0] & 3; // includes invalid models 0 and 3
    const int sizeIndex = (data[0] >> 2 & 31) - 2; // -2 .. 29
    const std::size_t length = size - 1;
    auto request = std::make_unique<std::uint8_t[]>(length ? length : 1);
    std::memcpy(request.get(), data + 1, length);
    auto matrix = std::make_unique<std::uint8_t[]>(lx::kDataMatrixMatrixBytes);
    std::int32_t numCell = 0;
    const int rc =
        lx::EncodeDataMatrix(static_cast<int>(length), request.get(), &numCell, matrix.get(), model, sizeIndex);
    if (rc == 0) {
        const int columns = numCell & 0xFFFF;
        const int rows = numCell >> 16;
        if (columns < 10 || rows < 8 || columns > 144 || rows > 144)
            __builtin_trap();
    } else if (rc != -1 && rc != -3 && rc != -4 && rc != -6) {
        __builtin_trap();
    }
    return 0;
}
