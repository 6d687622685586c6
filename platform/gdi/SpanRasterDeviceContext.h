#pragma once
// A canvas of width x height pixels that keeps what is painted on it as two-
// colour spans, while it is painted with nothing but solid rectangles and
// pixel spans of at most two colours, as symbols are. The pixels are those a
// RasterDeviceContext of the same size and device would hold.
#include <optional>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/image/SpanRaster.h"

namespace lx {

class SpanRasterDeviceContext : public DeviceContext {
public:
    SpanRasterDeviceContext(int width, int height, const DeviceInfo& device = DisplayDevice());

    // The spans; nothing when the drawing used more than two colours or
    // anything but rectangles: the caller then draws into a bitmap instead.
    std::optional<SpanRaster> Result() const;

protected:
    Rect DeviceBounds() const override { return {0, 0, width_, height_}; }
    void PaintRect(const Rect& rect, ColorRef color) override;
    void PaintPath(const DevicePath&, bool, ColorRef) override { spoiled_ = true; }
    void PaintStroke(const DevicePath&, double, ColorRef) override { spoiled_ = true; }
    void PaintBitmap(const Rect&, const Bitmap&, std::optional<ColorRef>) override { spoiled_ = true; }
    void PaintGlyphs(const PlacedGlyphs&, double, double, ColorRef) override { spoiled_ = true; }
    void ClipChanged(const Region* effective) override;

private:
    struct Fill {
        Rect area;
        std::uint32_t argb;
    };

    int width_;
    int height_;
    std::optional<std::vector<Rect>> clip_; // the clip region's rectangles
    std::vector<Fill> fills_; // in painting order
    bool spoiled_ = false;
};

} // namespace lx
