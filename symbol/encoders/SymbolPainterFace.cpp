// The face of the human-readable text: one store for the module, set by the
// control from its resources and its font, read by the linear painter.
#include <mutex>
#include <string>

#include "platform/text/Cp932.h"
#include "symbol/encoders/SymbolPainter.h"

namespace lx {

namespace {
std::mutex fontNameMutex;
std::string& FontNameStore()
{
    static std::string name = "Arial";
    return name;
}
} // namespace

void SetDefaultFontName(std::string_view cp932Face)
{
    std::size_t keep = 0;
    while (keep < cp932Face.size()) {
        const std::size_t next = keep + CharLength(cp932Face, keep);
        if (next > 99)
            break;
        keep = next;
    }
    std::lock_guard lock(fontNameMutex);
    FontNameStore().assign(cp932Face.substr(0, keep));
}

std::string DefaultFontName()
{
    std::lock_guard lock(fontNameMutex);
    return FontNameStore();
}

} // namespace lx
