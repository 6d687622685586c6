#include "platform/com/ComTypes.h"

#include <cstdio>

namespace lx {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string Guid::ToString() const
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return text;
}

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at text[pos] into value.
bool ReadHex(std::string_view text, std::size_t pos, int digits, std::uint64_t& value)
{
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = HexDigit(text[pos + static_cast<std::size_t>(i)]);
        if (d < 0)
            return false;
        value = value * 16 + static_cast<std::uint64_t>(d);
    }
    return true;
}

} // namespace

std::optional<Guid> Guid::Parse(std::string_view text)
{
    // {8-4-4-4-12}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return std::nullopt;
    Guid guid;
    std::uint64_t v = 0;
    if (!ReadHex(text, 1, 8, v))
        return std::nullopt;
    guid.data1 = static_cast<std::uint32_t>(v);
    if (!ReadHex(text, 10, 4, v))
        return std::nullopt;
    guid.data2 = static_cast<std::uint16_t>(v);
    if (!ReadHex(text, 15, 4, v))
        return std::nullopt;
    guid.data3 = static_cast<std::uint16_t>(v);
    static constexpr std::size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!ReadHex(text, kBytePos[i], 2, v))
            return std::nullopt;
        guid.data4[i] = static_cast<std::uint8_t>(v);
    }
    return guid;
}

} // namespace lx
