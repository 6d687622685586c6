#pragma once
// The drawing backend shared by bitmaps and printer pages: device-space
// output through a QPainter with anti-aliasing off and an identity transform
// (the context has already mapped and rounded everything).
#include <memory>

#include "platform/gdi/DeviceContext.h"

class QPainter;

namespace lx {

class PainterDeviceContext : public DeviceContext {
public:
    // The painter must be active and outlive the context; `bounds` is the
    // device area that can be painted.
    PainterDeviceContext(QPainter* painter, const DeviceInfo& device, const Rect& bounds);
    ~PainterDeviceContext() override;

protected:
    Rect DeviceBounds() const override { return bounds_; }
    void PaintRect(const Rect& rect, ColorRef color) override;
    void PaintPath(const DevicePath& path, bool winding, ColorRef color) override;
    void PaintStroke(const DevicePath& path, double width, ColorRef color) override;
    void PaintBitmap(const Rect& dest, const Bitmap& source, std::optional<ColorRef> key) override;
    void ClipChanged(const Region* effective) override;
    void SetPainter(QPainter* painter) { painter_ = painter; }

private:
    QPainter* painter_;
    Rect bounds_;
    std::optional<Rect> clipBounds_;
};

} // namespace lx
