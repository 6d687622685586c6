#include "platform/gdi/Region.h"

#include <algorithm>
#include <cmath>

namespace lx {

Rect Rect::Normalized() const
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

std::vector<PixelSpan> EllipseSpans(const Rect& boxIn, int firstRow, int lastRow)
{
    const Rect box = boxIn.Normalized();
    const double w = static_cast<double>(box.right) - box.left;
    const double h = static_cast<double>(box.bottom) - box.top;
    const int from = std::max(box.top, firstRow);
    const int to = std::min(box.bottom, lastRow);
    std::vector<PixelSpan> rows;
    if (w <= 0 || h <= 0 || from >= to)
        return rows;
    rows.reserve(static_cast<std::size_t>(to - from));
    const double a = w / 2.0;
    const double b = h / 2.0;
    // Pixel centres inside the ellipse. A row is computed from its distance
    // to the nearer edge, so mirrored rows and both sides are exact
    // reflections.
    for (int y = from; y < to; ++y) {
        const double k = std::min<double>(y - box.top, box.bottom - 1 - y);
        const double dy = (k + 0.5 - b) / b;
        const double half = dy * dy < 1.0 ? a * std::sqrt(1.0 - dy * dy) : -1.0;
        const double inset = std::ceil(a - half - 0.5);
        if (half < 0 || 2 * inset >= w)
            rows.push_back({y, box.left, box.left});
        else
            rows.push_back({y, box.left + static_cast<int>(inset), box.right - static_cast<int>(inset)});
    }
    return rows;
}

namespace {
Rect Limited(const Rect& rect)
{
    auto clamp = [](int v) { return std::clamp(v, -kRegionLimit, kRegionLimit); };
    return Rect{clamp(rect.left), clamp(rect.top), clamp(rect.right), clamp(rect.bottom)}.Normalized();
}
} // namespace

Region::Region(std::vector<PixelSpan> spans)
{
    if (!spans.empty())
        spans_ = std::make_shared<const std::vector<PixelSpan>>(std::move(spans));
}

const std::vector<PixelSpan>& Region::Spans() const
{
    static const std::vector<PixelSpan> none;
    return spans_ ? *spans_ : none;
}

Region Region::FromRect(const Rect& rectIn)
{
    const Rect rect = Limited(rectIn);
    if (rect.Empty())
        return {};
    std::vector<PixelSpan> spans;
    spans.reserve(static_cast<std::size_t>(rect.Height()));
    for (int y = rect.top; y < rect.bottom; ++y)
        spans.push_back({y, rect.left, rect.right});
    return Region(std::move(spans));
}

Region Region::FromEllipse(const Rect& box)
{
    std::vector<PixelSpan> spans;
    for (const PixelSpan& span : EllipseSpans(box))
        if (span.x1 > span.x0)
            spans.push_back(span);
    return Region(std::move(spans));
}

Region Region::FromSpans(std::vector<PixelSpan> spans)
{
    spans.erase(std::remove_if(spans.begin(), spans.end(), [](const PixelSpan& r) { return r.x1 <= r.x0; }),
                spans.end());
    std::sort(spans.begin(), spans.end(),
              [](const PixelSpan& p, const PixelSpan& q) { return p.y != q.y ? p.y < q.y : p.x0 < q.x0; });
    // Overlapping or touching spans of one row are merged.
    std::vector<PixelSpan> merged;
    for (const PixelSpan& span : spans) {
        if (!merged.empty() && merged.back().y == span.y && span.x0 <= merged.back().x1)
            merged.back().x1 = std::max(merged.back().x1, span.x1);
        else
            merged.push_back(span);
    }
    return Region(std::move(merged));
}

Region Region::FromRects(const std::vector<Rect>& rects)
{
    std::vector<PixelSpan> spans;
    for (const Rect& rectIn : rects) {
        const Rect rect = Limited(rectIn);
        for (int y = rect.top; y < rect.bottom; ++y)
            spans.push_back({y, rect.left, rect.right});
    }
    return FromSpans(std::move(spans));
}

Region Region::Intersected(const Region& other) const
{
    if (spans_ == other.spans_)
        return *this;
    std::vector<PixelSpan> result;
    const auto& mine = Spans();
    const auto& theirs = other.Spans();
    auto p = mine.begin();
    auto q = theirs.begin();
    while (p != mine.end() && q != theirs.end()) {
        if (p->y != q->y) {
            (p->y < q->y ? p : q)++;
            continue;
        }
        const int x0 = std::max(p->x0, q->x0);
        const int x1 = std::min(p->x1, q->x1);
        if (x1 > x0)
            result.push_back({p->y, x0, x1});
        (p->x1 < q->x1 ? p : q)++;
    }
    return Region(std::move(result));
}

Region Region::Transformed(double sx, double sy, double dx, double dy) const
{
    auto edge = [](double v) {
        return static_cast<int>(std::clamp(std::floor(v + 0.5), -2.0 * kRegionLimit, 2.0 * kRegionLimit));
    };
    std::vector<Rect> rects;
    for (const Rect& r : Rects())
        rects.push_back(
            Rect{edge(r.left * sx + dx), edge(r.top * sy + dy), edge(r.right * sx + dx), edge(r.bottom * sy + dy)}
                .Normalized());
    return FromRects(rects);
}

bool Region::Contains(int x, int y) const
{
    const auto& spans = Spans();
    auto it =
        std::lower_bound(spans.begin(), spans.end(), PixelSpan{y, x, x},
                         [](const PixelSpan& p, const PixelSpan& q) { return p.y != q.y ? p.y < q.y : p.x1 <= q.x0; });
    return it != spans.end() && it->y == y && it->x0 <= x && x < it->x1;
}

Rect Region::Bounds() const
{
    const auto& spans = Spans();
    if (spans.empty())
        return {};
    Rect bounds{spans.front().x0, spans.front().y, spans.front().x1, spans.back().y + 1};
    for (const PixelSpan& span : spans) {
        bounds.left = std::min(bounds.left, span.x0);
        bounds.right = std::max(bounds.right, span.x1);
    }
    return bounds;
}

std::vector<Rect> Region::Rects() const
{
    const auto& spans = Spans();
    std::vector<Rect> rects;
    std::size_t i = 0;
    std::size_t bandStart = 0; // index into rects of the previous row's first rectangle
    std::size_t bandCount = 0;
    int previousRow = 0;
    while (i < spans.size()) {
        const int y = spans[i].y;
        std::size_t j = i;
        while (j < spans.size() && spans[j].y == y)
            ++j;
        // A row equal to the previous one extends its rectangles downward.
        bool same = bandCount == j - i && previousRow == y - 1;
        for (std::size_t k = 0; same && k < bandCount; ++k)
            same = rects[bandStart + k].left == spans[i + k].x0 && rects[bandStart + k].right == spans[i + k].x1;
        if (same) {
            for (std::size_t k = 0; k < bandCount; ++k)
                rects[bandStart + k].bottom = y + 1;
        } else {
            bandStart = rects.size();
            bandCount = j - i;
            for (std::size_t k = i; k < j; ++k)
                rects.push_back({spans[k].x0, y, spans[k].x1, y + 1});
        }
        previousRow = y;
        i = j;
    }
    return rects;
}

} // namespace lx
