#include "platform/twain/TwainTypes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/text/Cp932.h"

namespace lx::twain {

std::string Str32(const TW_STR32& field)
{
    return std::string(field, strnlen(field, sizeof(TW_STR32)));
}

void SetStr32(TW_STR32& field, std::string_view text)
{
    std::size_t length = 0;
    while (length < text.size()) {
        const std::size_t next = length + CharLength(text, length);
        if (next > sizeof(TW_STR32) - 1)
            break;
        length = next;
    }
    std::memset(field, 0, sizeof(TW_STR32));
    std::copy_n(text.data(), length, field);
}

std::string ManagerLibraryPath()
{
    if (const char* path = std::getenv("LX_TWAIN_DSM"); path && *path)
        return path;
    return "liblxtwain.so";
}

} // namespace lx::twain
