#include "platform/twain/TwainTypes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

#include "platform/text/Cp932.h"

namespace lx::twain {

std::string Str32(const TW_STR32& field) { return std::string(field, strnlen(field, sizeof(TW_STR32))); }

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
    constexpr const char* kManager = "liblxtwain.so";
    // The manager is installed beside this library. Naming it by full path
    // keeps the search independent of whichever object calls dlopen (a
    // sanitizer's interceptor would search its own paths).
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&ManagerLibraryPath), &self) && self.dli_fname) {
        const std::string own = self.dli_fname;
        if (const std::size_t slash = own.rfind('/'); slash != std::string::npos) {
            const std::string beside = own.substr(0, slash + 1) + kManager;
            if (::access(beside.c_str(), R_OK) == 0)
                return beside;
        }
    }
    return kManager;
}

} // namespace lx::twain
