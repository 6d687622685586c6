#pragma once
// A device context drawing on a Bitmap (32-bit ARGB), as compatible with the
// display: 96 dpi unless the caller says otherwise.
#include <memory>
#include <optional>

#include "platform/gdi/PainterDeviceContext.h"

namespace lx {

class RasterDeviceContext : public PainterDeviceContext {
public:
    // The bitmap must outlive the context and keep its size meanwhile.
    explicit RasterDeviceContext(Bitmap& bitmap, const DeviceInfo& device = DisplayDevice());
    ~RasterDeviceContext() override;

protected:
    // Rectangles and pixel spans are written straight into the bitmap: the
    // bulk of every symbol, and cheaper than a painter call each.
    void PaintRect(const Rect& rect, ColorRef color) override;
    void ClipChanged(const Region* effective) override;

private:
    struct Surface;
    std::unique_ptr<Surface> surface_;
    Bitmap& bitmap_;
    std::optional<Region> clip_;
};

// A 1-bit device-independent bitmap: rows of ((width + 15) / 16) * 2 bytes,
// top row first, most significant bit leftmost, 1 = white.
struct MonochromeBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;
    int RowBytes() const { return (width + 15) / 16 * 2; }
    bool White(int x, int y) const
    {
        return (bits[static_cast<std::size_t>(y) * RowBytes() + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
    }
};

// Pixels nearer white than black (by luminance) become 1.
MonochromeBitmap ToMonochrome(const Bitmap& bitmap);
Bitmap FromMonochrome(const MonochromeBitmap& mono);

} // namespace lx
