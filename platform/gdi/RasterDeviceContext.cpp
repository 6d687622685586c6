#include "platform/gdi/RasterDeviceContext.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace lx {

struct RasterDeviceContext::Surface {
    explicit Surface(Bitmap& bitmap)
        : image(reinterpret_cast<uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                static_cast<qsizetype>(bitmap.Width()) * 4, QImage::Format_ARGB32)
    {
        if (!image.isNull())
            painter.begin(&image);
    }
    QImage image;
    QPainter painter;
};

RasterDeviceContext::RasterDeviceContext(Bitmap& bitmap, const DeviceInfo& device)
    : PainterDeviceContext(nullptr, device, Rect{0, 0, bitmap.Width(), bitmap.Height()}),
      surface_(std::make_unique<Surface>(bitmap)), bitmap_(bitmap)
{
    SetPainter(&surface_->painter);
    surface_->painter.setRenderHint(QPainter::Antialiasing, false);
}

RasterDeviceContext::~RasterDeviceContext()
{
    if (surface_->painter.isActive())
        surface_->painter.end();
}

void RasterDeviceContext::PaintRect(const Rect& rect, ColorRef color)
{
    const Rect area = rect.Intersected({0, 0, bitmap_.Width(), bitmap_.Height()});
    if (area.Empty())
        return;
    const std::uint32_t argb = ArgbFromColorRef(color);
    if (!clip_) {
        for (int y = area.top; y < area.bottom; ++y)
            std::fill(bitmap_.Row(y) + area.left, bitmap_.Row(y) + area.right, argb);
        return;
    }
    const auto& spans = clip_->Spans();
    auto span =
        std::lower_bound(spans.begin(), spans.end(), area.top, [](const PixelSpan& r, int y) { return r.y < y; });
    for (; span != spans.end() && span->y < area.bottom; ++span) {
        const int x0 = std::max(span->x0, area.left);
        const int x1 = std::min(span->x1, area.right);
        if (x1 > x0)
            std::fill(bitmap_.Row(span->y) + x0, bitmap_.Row(span->y) + x1, argb);
    }
}

void RasterDeviceContext::ClipChanged(const Region* effective)
{
    if (effective)
        clip_ = *effective;
    else
        clip_.reset();
    PainterDeviceContext::ClipChanged(effective);
}

MonochromeBitmap ToMonochrome(const Bitmap& bitmap)
{
    MonochromeBitmap mono;
    mono.width = bitmap.Width();
    mono.height = bitmap.Height();
    mono.bits.assign(static_cast<std::size_t>(mono.RowBytes()) * static_cast<std::size_t>(mono.height), 0);
    for (int y = 0; y < mono.height; ++y) {
        const std::uint32_t* row = bitmap.Row(y);
        std::uint8_t* out = mono.bits.data() + static_cast<std::size_t>(y) * mono.RowBytes();
        for (int x = 0; x < mono.width; ++x) {
            const std::uint32_t p = row[x];
            const int luminance = (299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF)) / 1000;
            if (luminance >= 128)
                out[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return mono;
}

Bitmap FromMonochrome(const MonochromeBitmap& mono)
{
    Bitmap bitmap(mono.width, mono.height);
    if (mono.bits.size() < static_cast<std::size_t>(mono.RowBytes()) * static_cast<std::size_t>(mono.height))
        return bitmap;
    for (int y = 0; y < mono.height; ++y)
        for (int x = 0; x < mono.width; ++x)
            bitmap.SetPixel(x, y, mono.White(x, y) ? 0xFFFFFFFFu : 0xFF000000u);
    return bitmap;
}

} // namespace lx
