#pragma once
// An independent reader of drawn postal customer barcodes for tests: finds
// the bars in a bitmap by their pixels and names each by its extent (F long,
// A ascender, D descender, T timing), and the published bar table in its own
// notation (1 long, 2 ascender, 3 descender, 4 timing) to compare with.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/Bitmap.h"

namespace lxtest {

struct PostalBarReading {
    std::string bars; // one letter per bar, left to right
    std::vector<int> widths; // pixels of each bar
    std::vector<int> gaps; // pixels between neighbouring bars
    int longHeight = 0;
    int timingHeight = 0;
};

inline bool IsInk(std::uint32_t argb)
{
    const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return r + g + b < 3 * 128;
}

inline PostalBarReading ReadPostalBars(const lx::Bitmap& bitmap)
{
    struct Bar {
        int x0, x1, top, bottom;
    };
    std::vector<Bar> bars;
    for (int x = 0; x < bitmap.Width(); ++x) {
        int top = -1, bottom = -1;
        for (int y = 0; y < bitmap.Height(); ++y)
            if (IsInk(bitmap.Pixel(x, y))) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        if (top < 0)
            continue;
        if (!bars.empty() && bars.back().x1 == x - 1) {
            Bar& bar = bars.back();
            bar.x1 = x;
            bar.top = std::min(bar.top, top);
            bar.bottom = std::max(bar.bottom, bottom);
        } else {
            bars.push_back({x, x, top, bottom});
        }
    }
    PostalBarReading reading;
    if (bars.empty())
        return reading;
    int top = bars[0].top, bottom = bars[0].bottom;
    for (const Bar& b : bars)
        top = std::min(top, b.top), bottom = std::max(bottom, b.bottom);
    const int height = bottom - top + 1;
    // A bar reaches an end of the symbol when it comes within a sixth of the
    // long bar's height of it.
    const int slack = height / 6;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& b = bars[i];
        const bool up = b.top - top <= slack;
        const bool down = bottom - b.bottom <= slack;
        reading.bars += up && down ? 'F' : up ? 'A' : down ? 'D' : 'T';
        reading.widths.push_back(b.x1 - b.x0 + 1);
        if (i > 0)
            reading.gaps.push_back(b.x0 - bars[i - 1].x1 - 1);
        if (up && down)
            reading.longHeight = std::max(reading.longHeight, b.bottom - b.top + 1);
        if (!up && !down)
            reading.timingHeight = std::max(reading.timingHeight, b.bottom - b.top + 1);
    }
    return reading;
}

// The published bar table of the customer barcode, by symbol name.
inline const std::map<std::string, std::string>& PublishedBarTable()
{
    static const std::map<std::string, std::string> table = {
        {"1", "114"},   {"2", "132"},   {"3", "312"},   {"4", "123"},   {"5", "141"},   {"6", "321"},    {"7", "213"},
        {"8", "231"},   {"9", "411"},   {"0", "144"},   {"-", "414"},   {"CC1", "324"}, {"CC2", "342"},  {"CC3", "234"},
        {"CC4", "432"}, {"CC5", "243"}, {"CC6", "423"}, {"CC7", "441"}, {"CC8", "111"}, {"START", "13"}, {"STOP", "31"},
    };
    return table;
}

// The bars of a bar string written with the charset "()ABCDEFGH", as letters.
inline std::string ExpectedPostalBars(std::string_view barString)
{
    std::string bars;
    for (char c : barString) {
        std::string name(1, c);
        if (c == '(')
            name = "START";
        else if (c == ')')
            name = "STOP";
        else if (c >= 'A' && c <= 'H')
            name = "CC" + std::to_string(c - 'A' + 1);
        for (char digit : PublishedBarTable().at(name))
            bars += "FADT"[digit - '1'];
    }
    return bars;
}

} // namespace lxtest
