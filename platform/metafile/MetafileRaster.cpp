#include "platform/metafile/MetafileRaster.h"

#include <algorithm>

#include "platform/gdi/RasterDeviceContext.h"

namespace lx {

void DrawThroughBitmap(DeviceContext& dc, const Rect& dest,
                       const std::function<void(DeviceContext&, const Rect&)>& play)
{
    const Rect device = dc.LogicalToDevice(dest);
    constexpr int kMaxSide = 8192;
    const int width = std::clamp(device.Width(), 0, kMaxSide);
    const int height = std::clamp(device.Height(), 0, kMaxSide);
    if (width == 0 || height == 0)
        return;
    Bitmap bitmap(width, height);
    {
        RasterDeviceContext raster(bitmap, dc.Device());
        play(raster, Rect{0, 0, width, height});
    }
    dc.StretchDraw(dest, bitmap);
}

} // namespace lx
