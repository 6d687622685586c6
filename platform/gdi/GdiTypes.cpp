#include "platform/gdi/GdiTypes.h"

#include <algorithm>
#include <array>

#include "platform/text/Cp932.h"

namespace lx {

Rect RectFromSize(int x, int y, int cx, int cy)
{
    auto add = [](int a, int b) {
        const long long v = static_cast<long long>(a) + b;
        return static_cast<int>(std::clamp<long long>(v, -2147483647LL, 2147483647LL));
    };
    return {x, y, add(x, cx), add(y, cy)};
}

ColorRef ColorToRgb(ColorRef color)
{
    if ((color & 0x80000000u) == 0)
        return color & 0xFFFFFFu;
    // The classic desktop scheme, indexed by system colour number.
    static constexpr std::array<ColorRef, 25> kSystemColors = {
        0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, // scroll bar .. menu
        0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, // window, frame, menu text, window text, caption text
        0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, // borders, workspace, highlight, highlight text
        0xC8D0D4, 0x808080, 0x808080, 0x000000, 0xC8D0D4, // button face, shadow, grey text, button text
        0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF, // button highlight, 3D, info text, info background
    };
    const std::uint32_t index = color & 0xFFu;
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
}

LogFont StockFont()
{
    LogFont font;
    font.height = -12;
    font.charSet = kShiftJisCharset;
    font.faceName = Sjis("ＭＳ Ｐゴシック");
    return font;
}

DeviceInfo DisplayDevice() { return DeviceInfo{}; }

} // namespace lx
