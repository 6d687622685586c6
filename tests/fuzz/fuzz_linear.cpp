// Linear encoders on hostile data: byte 0 picks the key (a table row or a key
// that is not in the table), bytes 1 and 2 the check option and the gap, the
// rest is the data. The buffers are exactly as large as promised, on the heap,
// so that AddressSanitizer sees any write beyond them.
#include "symbol/encoders/LinearEncoder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    if (size < 3)
        return 0;
    const int row = input[0] % 30;
    const std::int32_t key = row < 26 ? lx::LinearSymbologyTable[row].key : 0x100 * row + input[0];
    const std::int32_t option = lx::LinearOption(input[1], input[2]);
    std::vector<std::uint8_t> data(input + 3, input + size);
    std::vector<std::uint8_t> elements(lx::kLinearElementCapacity);
    std::vector<char> text(lx::kLinearTextCapacity);
    std::int32_t count = -1;
    const int result =
        lx::EncodeLinear(static_cast<int>(data.size()), data.data(), &count, elements.data(), key, option, text.data());
    if (result > 0 && (count != result || !(elements[0] & lx::kLinearBar)))
        std::abort();
    if (!std::memchr(text.data(), 0, text.size()))
        std::abort();
    return 0;
}
