#pragma once
// Pictures that cannot be replayed record by record into another recording
// (our players map coordinates in ways a record cannot carry) are drawn
// into it as a bitmap of the destination's device size.
#include <functional>

#include "platform/gdi/DeviceContext.h"

namespace lx {

// Renders `play` (which draws into the given rectangle of a raster context)
// at the device size of `dest` on dc, then stretches the result into dest.
void DrawThroughBitmap(DeviceContext& dc, const Rect& dest,
                       const std::function<void(DeviceContext&, const Rect&)>& play);

} // namespace lx
