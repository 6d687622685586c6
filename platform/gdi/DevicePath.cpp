#include "platform/gdi/DevicePath.h"

#include <algorithm>
#include <cmath>

namespace lx {

DevicePath FlattenedPath(const DevicePath& path)
{
    constexpr double kTolerance = 0.1;
    DevicePath flat;
    flat.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PathPoint& p = path[i];
        if ((p.type & ~kPtCloseFigure) != kPtBezierTo || i + 2 >= path.size() || flat.empty()) {
            PathPoint q = p;
            if ((q.type & ~kPtCloseFigure) == kPtBezierTo)
                q.type = static_cast<std::uint8_t>(kPtLineTo | (p.type & kPtCloseFigure));
            flat.push_back(q);
            continue;
        }
        const PathPoint p0 = flat.back();
        const PathPoint& p1 = path[i];
        const PathPoint& p2 = path[i + 1];
        const PathPoint& p3 = path[i + 2];
        // Segments enough that the chords stay within the tolerance.
        const double d = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                  std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
        const int n = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * d / kTolerance))), 1, 1000);
        for (int k = 1; k <= n; ++k) {
            const double t = static_cast<double>(k) / n;
            const double s = 1 - t;
            const double a = s * s * s;
            const double b = 3 * s * s * t;
            const double c = 3 * s * t * t;
            const double e = t * t * t;
            PathPoint q{a * p0.x + b * p1.x + c * p2.x + e * p3.x, a * p0.y + b * p1.y + c * p2.y + e * p3.y,
                        kPtLineTo};
            if (k == n)
                q.type = static_cast<std::uint8_t>(kPtLineTo | (p3.type & kPtCloseFigure));
            flat.push_back(q);
        }
        i += 2;
    }
    return flat;
}

} // namespace lx
