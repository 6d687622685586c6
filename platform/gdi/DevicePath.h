#pragma once
// An outline in device coordinates with the point types of a GDI path
// (move-to, line-to, Bezier-to in threes, close bit). Glyph outlines, figures
// built between BeginPath and EndPath and strokes all travel in this form.
#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace lx {

struct PathPoint {
    double x = 0;
    double y = 0;
    std::uint8_t type = kPtMoveTo;
};

using DevicePath = std::vector<PathPoint>;

// Replaces every Bezier segment with line segments no further than about a
// tenth of a pixel from the curve.
DevicePath FlattenedPath(const DevicePath& path);

} // namespace lx
