// EncodeQr over hostile requests: the first byte picks the model (0-4), the
// second the version (-1..42), the rest is the request.
#include "symbol/encoders/QrEncoder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int model = data[0] % 5;
    const int version = data[1] % 44 - 1;
    // Exactly one spare byte behind the request for the end mark.
    std::vector<std::uint8_t> request(data + 2, data + size);
    request.push_back(0);
    static std::uint8_t matrix[177 * 23];
    int count = -1;
    const int length = static_cast<int>(size - 2);
    const int result = lx::EncodeQr(length, request.data(), &count, matrix, model, version);
    if (request[length] != 0xFF)
        std::abort();
    if (result == 0 && (count < 11 || count > 177))
        std::abort();
    if (result != 0 && result != -1 && result != -2 && result != -3 && result != -4 && result != -6)
        std::abort();
    return 0;
}
