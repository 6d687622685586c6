#include "platform/gdi/SpanRasterDeviceContext.h"

#include <algorithm>

namespace lx {

namespace {

using Spans = std::vector<std::pair<int, int>>;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu; // a new bitmap's pixels

// Spans [left, right) of one colour along a row of `width` columns, after the
// fills spanning the row are painted in order; false when the row holds a
// colour other than `first` and `second` (0 while not met yet).
class RowPainter {
public:
    explicit RowPainter(int width) : width_(width), row_(static_cast<std::size_t>(width)) {}

    // `fills` span the row, sorted by their left edge; they were painted in
    // the order they have in memory.
    template <class Fill>
    bool Paint(const std::vector<const Fill*>& fills, std::uint32_t& first, std::uint32_t& second, Spans& spans)
    {
        spans.clear();
        if (!PaintUnderOver(fills, first, second, spans))
            PaintInOrder(fills, first, second, spans);
        return !failed_;
    }

private:
    // The usual symbol row: one colour across, then the other in places.
    template <class Fill>
    bool PaintUnderOver(const std::vector<const Fill*>& fills, std::uint32_t& first, std::uint32_t& second,
                        Spans& spans)
    {
        if (fills.empty()) {
            Add(0, width_, kWhite, first, second, spans);
            return true;
        }
        const Fill* bottom = *std::min_element(fills.begin(), fills.end());
        const std::uint32_t under = bottom->argb;
        const Fill* lastUnder = nullptr;
        const Fill* firstOver = nullptr;
        std::uint32_t over = under;
        int covered = 0;
        for (const Fill* f : fills) {
            if (f->argb == under) {
                lastUnder = lastUnder ? std::max(lastUnder, f) : f;
                covered = f->area.left <= covered ? std::max(covered, f->area.right) : covered;
            } else if (over == under || f->argb == over) {
                over = f->argb;
                firstOver = firstOver ? std::min(firstOver, f) : f;
            } else {
                return false;
            }
        }
        if ((firstOver && lastUnder > firstOver) || (under != kWhite && covered < width_))
            return false;
        int x = 0;
        for (const Fill* f : fills) {
            if (f->argb == under)
                continue;
            Add(x, f->area.left, under, first, second, spans);
            Add(std::max(f->area.left, x), f->area.right, over, first, second, spans);
            x = std::max(x, f->area.right);
        }
        Add(x, width_, under, first, second, spans);
        return true;
    }

    template <class Fill>
    void PaintInOrder(std::vector<const Fill*> fills, std::uint32_t& first, std::uint32_t& second, Spans& spans)
    {
        std::sort(fills.begin(), fills.end());
        std::fill(row_.begin(), row_.end(), kWhite);
        for (const Fill* fill : fills)
            std::fill(row_.begin() + fill->area.left, row_.begin() + fill->area.right, fill->argb);
        for (int x = 0; x < width_ && !failed_; ++x)
            Add(x, x + 1, row_[static_cast<std::size_t>(x)], first, second, spans);
    }

    // Columns [left, right) of colour c; spans gathers those of `first`.
    void Add(int left, int right, std::uint32_t c, std::uint32_t& first, std::uint32_t& second, Spans& spans)
    {
        if (left >= right)
            return;
        if (first == 0)
            first = c;
        else if (c != first && second == 0)
            second = c;
        else if (c != first && c != second)
            failed_ = true;
        if (c != first)
            return;
        if (!spans.empty() && spans.back().second >= left)
            spans.back().second = std::max(spans.back().second, right);
        else
            spans.emplace_back(left, right);
    }

    int width_;
    std::vector<std::uint32_t> row_;
    bool failed_ = false;
};

} // namespace

SpanRasterDeviceContext::SpanRasterDeviceContext(int width, int height, const DeviceInfo& device)
    : DeviceContext(device), width_(std::max(width, 0)), height_(std::max(height, 0))
{
}

void SpanRasterDeviceContext::PaintRect(const Rect& rect, ColorRef color)
{
    const std::uint32_t argb = ArgbFromColorRef(color);
    const Rect area = rect.Intersected(DeviceBounds());
    if (!clip_) {
        if (!area.Empty())
            fills_.push_back({area, argb});
        return;
    }
    for (const Rect& band : *clip_)
        if (const Rect part = area.Intersected(band); !part.Empty())
            fills_.push_back({part, argb});
}

void SpanRasterDeviceContext::ClipChanged(const Region* effective)
{
    if (effective)
        clip_ = effective->Rects();
    else
        clip_.reset();
}

std::optional<SpanRaster> SpanRasterDeviceContext::Result() const
{
    const auto ByLeft = [](const Fill* a, const Fill* b) {
        return a->area.left < b->area.left || (a->area.left == b->area.left && a < b);
    };
    if (spoiled_ || width_ == 0 || height_ == 0)
        return std::nullopt;
    // Rows between two consecutive fill edges are painted alike.
    std::vector<char> edge(static_cast<std::size_t>(height_) + 1, 0);
    for (const Fill& fill : fills_)
        edge[static_cast<std::size_t>(fill.area.top)] = edge[static_cast<std::size_t>(fill.area.bottom)] = 1;
    edge[0] = 1;
    // The fills in order of their top rows, each row's in painting order.
    std::vector<const Fill*> byTop;
    byTop.reserve(fills_.size());
    for (const Fill& fill : fills_)
        byTop.push_back(&fill);
    const auto ByTop = [](const Fill* a, const Fill* b) { return a->area.top < b->area.top; };
    // Symbols are painted row by row: their fills come in order already.
    if (!std::is_sorted(byTop.begin(), byTop.end(), ByTop))
        std::stable_sort(byTop.begin(), byTop.end(), ByTop);
    auto next = byTop.begin();
    // The spans of the first colour met, the other colour is the rest.
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    SpanRaster raster;
    RowPainter painter(width_);
    std::vector<const Fill*> active; // by left edge
    Spans spans;
    for (int top = 0; top < height_; ++top) {
        if (!edge[static_cast<std::size_t>(top)])
            continue;
        std::erase_if(active, [&](const Fill* f) { return f->area.bottom <= top; });
        for (; next != byTop.end() && (*next)->area.top <= top; ++next)
            active.insert(std::upper_bound(active.begin(), active.end(), *next, ByLeft), *next);
        if (!painter.Paint(active, first, second, spans))
            return std::nullopt;
        if (!raster.bands.empty() && raster.bands.back().spans == spans)
            continue;
        if (!raster.bands.empty())
            raster.bands.back().bottom = top;
        raster.bands.push_back({top, height_, spans});
    }
    raster.width = width_;
    raster.height = height_;
    const bool firstIsDark = second == 0 || DarkerColour(first, second);
    raster.dark = firstIsDark ? first : second;
    raster.light = second == 0 ? first : firstIsDark ? second : first;
    for (SpanRaster::Band& band : raster.bands) {
        if (second == 0)
            band.spans.clear();
        else if (!firstIsDark)
            band.spans = ComplementSpans(band.spans, width_);
    }
    return raster;
}

} // namespace lx
