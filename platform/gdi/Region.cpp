#include "platform/gdi/Region.h"

#include <algorithm>
#include <cmath>

namespace lx {

Rect Rect::Normalized() const
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

std::vector<PixelRun> EllipseRuns(const Rect& boxIn, int firstRow, int lastRow)
{
    const Rect box = boxIn.Normalized();
    const double w = static_cast<double>(box.right) - box.left;
    const double h = static_cast<double>(box.bottom) - box.top;
    const int from = std::max(box.top, firstRow);
    const int to = std::min(box.bottom, lastRow);
    std::vector<PixelRun> rows;
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

Region::Region(std::vector<PixelRun> runs)
{
    if (!runs.empty())
        runs_ = std::make_shared<const std::vector<PixelRun>>(std::move(runs));
}

const std::vector<PixelRun>& Region::Runs() const
{
    static const std::vector<PixelRun> none;
    return runs_ ? *runs_ : none;
}

Region Region::FromRect(const Rect& rectIn)
{
    const Rect rect = Limited(rectIn);
    if (rect.Empty())
        return {};
    std::vector<PixelRun> runs;
    runs.reserve(static_cast<std::size_t>(rect.Height()));
    for (int y = rect.top; y < rect.bottom; ++y)
        runs.push_back({y, rect.left, rect.right});
    return Region(std::move(runs));
}

Region Region::FromEllipse(const Rect& box)
{
    std::vector<PixelRun> runs;
    for (const PixelRun& run : EllipseRuns(box))
        if (run.x1 > run.x0)
            runs.push_back(run);
    return Region(std::move(runs));
}

Region Region::FromRuns(std::vector<PixelRun> runs)
{
    runs.erase(std::remove_if(runs.begin(), runs.end(), [](const PixelRun& r) { return r.x1 <= r.x0; }), runs.end());
    std::sort(runs.begin(), runs.end(),
              [](const PixelRun& p, const PixelRun& q) { return p.y != q.y ? p.y < q.y : p.x0 < q.x0; });
    // Overlapping or touching runs of one row are merged.
    std::vector<PixelRun> merged;
    for (const PixelRun& run : runs) {
        if (!merged.empty() && merged.back().y == run.y && run.x0 <= merged.back().x1)
            merged.back().x1 = std::max(merged.back().x1, run.x1);
        else
            merged.push_back(run);
    }
    return Region(std::move(merged));
}

Region Region::FromRects(const std::vector<Rect>& rects)
{
    std::vector<PixelRun> runs;
    for (const Rect& rectIn : rects) {
        const Rect rect = Limited(rectIn);
        for (int y = rect.top; y < rect.bottom; ++y)
            runs.push_back({y, rect.left, rect.right});
    }
    return FromRuns(std::move(runs));
}

Region Region::Intersected(const Region& other) const
{
    if (runs_ == other.runs_)
        return *this;
    std::vector<PixelRun> result;
    const auto& mine = Runs();
    const auto& theirs = other.Runs();
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
    const auto& runs = Runs();
    auto it = std::lower_bound(runs.begin(), runs.end(), PixelRun{y, x, x}, [](const PixelRun& p, const PixelRun& q) {
        return p.y != q.y ? p.y < q.y : p.x1 <= q.x0;
    });
    return it != runs.end() && it->y == y && it->x0 <= x && x < it->x1;
}

Rect Region::Bounds() const
{
    const auto& runs = Runs();
    if (runs.empty())
        return {};
    Rect bounds{runs.front().x0, runs.front().y, runs.front().x1, runs.back().y + 1};
    for (const PixelRun& run : runs) {
        bounds.left = std::min(bounds.left, run.x0);
        bounds.right = std::max(bounds.right, run.x1);
    }
    return bounds;
}

std::vector<Rect> Region::Rects() const
{
    const auto& runs = Runs();
    std::vector<Rect> rects;
    std::size_t i = 0;
    std::size_t bandStart = 0; // index into rects of the previous row's first rectangle
    std::size_t bandCount = 0;
    int previousRow = 0;
    while (i < runs.size()) {
        const int y = runs[i].y;
        std::size_t j = i;
        while (j < runs.size() && runs[j].y == y)
            ++j;
        // A row equal to the previous one extends its rectangles downward.
        bool same = bandCount == j - i && previousRow == y - 1;
        for (std::size_t k = 0; same && k < bandCount; ++k)
            same = rects[bandStart + k].left == runs[i + k].x0 && rects[bandStart + k].right == runs[i + k].x1;
        if (same) {
            for (std::size_t k = 0; k < bandCount; ++k)
                rects[bandStart + k].bottom = y + 1;
        } else {
            bandStart = rects.size();
            bandCount = j - i;
            for (std::size_t k = i; k < j; ++k)
                rects.push_back({runs[k].x0, y, runs[k].x1, y + 1});
        }
        previousRow = y;
        i = j;
    }
    return rects;
}

} // namespace lx
