// Hostile requests and modes into the MaxiCode encoder. The request and the
// map are exact-size heap blocks, so AddressSanitizer catches any access
// outside them.
#include "symbol/encoders/MaxiCodeEncoder.h"

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int storedMode = data[0] % 8 - 1; // -1 .. 6, the valid ones 1 .. 5
    const std::size_t length = size - 1;
    auto request = std::make_unique<std::uint8_t[]>(length ? length : 1);
    std::memcpy(request.get(), data + 1, length);
    auto map = std::make_unique<std::uint8_t[]>(lx::kMaxiCodeMapBytes);
    const int rc = lx::EncodeMaxiCode(static_cast<int>(length), request.get(), map.get(), storedMode);
    if (rc == 0) {
        for (int row = 0; row < 33; ++row)
            if (map[row * 4 + 3] & 0xC0)
                __builtin_trap(); // columns 30 and 31 stay light
    } else if (rc != -1 && rc != -3 && rc != -4) {
        __builtin_trap();
    }
    return 0;
}
