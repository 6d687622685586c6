#include "platform/image/SpanRaster.h"

#include <algorithm>

namespace lx {

namespace {

int Luminance(std::uint32_t rgb) { return int(rgb >> 16 & 0xFF) * 2 + int(rgb >> 8 & 0xFF) * 5 + int(rgb & 0xFF); }

} // namespace

std::vector<std::pair<int, int>> ComplementSpans(const std::vector<std::pair<int, int>>& spans, int width)
{
    std::vector<std::pair<int, int>> out;
    int x = 0;
    for (const auto& [left, right] : spans) {
        if (left > x)
            out.emplace_back(x, left);
        x = std::max(x, right);
    }
    if (x < width)
        out.emplace_back(x, width);
    return out;
}

bool DarkerColour(std::uint32_t a, std::uint32_t b) { return Luminance(a) < Luminance(b); }

const SpanRaster::Band& SpanRaster::BandAt(int y) const
{
    const auto band =
        std::upper_bound(bands.begin(), bands.end(), y, [](int row, const Band& b) { return row < b.bottom; });
    return band == bands.end() ? bands.back() : *band;
}

Bitmap SpanRaster::ToBitmap() const
{
    Bitmap bitmap(width, height, light);
    for (const Band& band : bands)
        for (int y = std::max(band.top, 0); y < std::min(band.bottom, height); ++y)
            for (const auto& [left, right] : band.spans)
                if (std::max(left, 0) < std::min(right, width))
                    std::fill(bitmap.Row(y) + std::max(left, 0), bitmap.Row(y) + std::min(right, width), dark);
    return bitmap;
}

} // namespace lx
