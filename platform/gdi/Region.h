#pragma once
// A set of device pixels (clipping regions), kept as horizontal spans sorted by
// row and column. Coordinates are device pixels, right and bottom exclusive.
#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace lx {

// Regions reach no further than this many pixels from the origin: beyond
// any page the system prints, and a bound on what hostile input can cost.
constexpr int kRegionLimit = 1 << 15;

// One row of pixels [x0, x1) at row y.
struct PixelSpan {
    int y = 0;
    int x0 = 0;
    int x1 = 0;
    friend bool operator==(const PixelSpan&, const PixelSpan&) = default;
};

// The pixel rows of the ellipse inscribed in a box [left, right) x [top,
// bottom): one span per row (empty when x0 == x1), top row first, limited to
// the rows [firstRow, lastRow). The shape is symmetric about both centre
// lines by construction.
std::vector<PixelSpan> EllipseSpans(const Rect& box, int firstRow = -kRegionLimit, int lastRow = kRegionLimit);

class Region {
public:
    Region() = default;
    static Region FromRect(const Rect& rect);
    static Region FromEllipse(const Rect& box);
    // Spans must be sorted by (y, x0) and not overlap.
    static Region FromSpans(std::vector<PixelSpan> spans);
    // Bands of rectangles, each a whole number of rows.
    static Region FromRects(const std::vector<Rect>& rects);

    Region Intersected(const Region& other) const;
    // The region mapped by x' = x * sx + dx, y' = y * sy + dy (pixel edges
    // rounded half up), as when a metafile is played into a scaled rectangle.
    Region Transformed(double sx, double sy, double dx, double dy) const;

    bool Empty() const { return Spans().empty(); }
    bool Contains(int x, int y) const;
    Rect Bounds() const;
    const std::vector<PixelSpan>& Spans() const;
    // The same pixels as rectangles: rows with equal spans merged into bands.
    std::vector<Rect> Rects() const;

    friend bool operator==(const Region& a, const Region& b) { return a.spans_ == b.spans_ || a.Spans() == b.Spans(); }

private:
    explicit Region(std::vector<PixelSpan> spans);

    // Never changed once made, so copies share it: a clip is copied into
    // every saved state and compared on every change.
    std::shared_ptr<const std::vector<PixelSpan>> spans_;
};

} // namespace lx
