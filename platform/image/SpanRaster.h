#pragma once
// A picture of at most two colours kept as the spans of its dark pixels, the
// form symbols are drawn in: a printer takes the spans as rectangles and
// nothing turns them into pixels unless pixels are asked for.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/image/Bitmap.h"

namespace lx {

struct SpanRaster {
    // Rows top to bottom - 1 that have the same dark spans [left, right),
    // ascending and apart.
    struct Band {
        int top = 0;
        int bottom = 0;
        std::vector<std::pair<int, int>> spans;
    };

    int width = 0;
    int height = 0;
    // 0xAARRGGBB as in a Bitmap; equal when the picture has one colour.
    std::uint32_t dark = 0xFFFFFFFFu;
    std::uint32_t light = 0xFFFFFFFFu;
    // Cover the rows 0 to height - 1 in order.
    std::vector<Band> bands;

    bool Empty() const { return width <= 0 || height <= 0; }
    // The band holding row y (0 <= y < height).
    const Band& BandAt(int y) const;
    Bitmap ToBitmap() const;
};

// The columns of [0, width) outside the spans (ascending and apart).
std::vector<std::pair<int, int>> ComplementSpans(const std::vector<std::pair<int, int>>& spans, int width);

// Of two colours (0xRRGGBB or 0xAARRGGBB), whether `a` is the darker one,
// by the weighted sum of its channels.
bool DarkerColour(std::uint32_t a, std::uint32_t b);

} // namespace lx
