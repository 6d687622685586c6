#include "platform/gdi/PainterDeviceContext.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace lx {

namespace {

QColor ToQColor(ColorRef c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

QPainterPath ToQPath(const DevicePath& path, bool winding)
{
    QPainterPath q;
    q.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PathPoint& p = path[i];
        switch (p.type & ~kPtCloseFigure) {
        case kPtMoveTo: q.moveTo(p.x, p.y); break;
        case kPtBezierTo:
            if (i + 2 < path.size()) {
                q.cubicTo(p.x, p.y, path[i + 1].x, path[i + 1].y, path[i + 2].x, path[i + 2].y);
                i += 2;
            }
            break;
        default: q.lineTo(p.x, p.y); break;
        }
        if (path[i].type & kPtCloseFigure)
            q.closeSubpath();
    }
    return q;
}

} // namespace

PainterDeviceContext::PainterDeviceContext(QPainter* painter, const DeviceInfo& device, const Rect& bounds)
    : DeviceContext(device), painter_(painter), bounds_(bounds)
{
    if (painter_) {
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->resetTransform();
    }
}

PainterDeviceContext::~PainterDeviceContext() = default;

void PainterDeviceContext::PaintRect(const Rect& rect, ColorRef color)
{
    if (!painter_ || !painter_->isActive())
        return;
    painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void PainterDeviceContext::PaintPath(const DevicePath& path, bool winding, ColorRef color)
{
    if (!painter_ || !painter_->isActive())
        return;
    // Pixel centres decide coverage, as GDI's fills do.
    painter_->fillPath(ToQPath(path, winding).translated(-0.5, -0.5), ToQColor(color));
}

void PainterDeviceContext::PaintStroke(const DevicePath& path, double width, ColorRef color)
{
    if (!painter_ || !painter_->isActive())
        return;
    QPen pen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter_->strokePath(ToQPath(path, true).translated(-0.5, -0.5), pen);
}

void PainterDeviceContext::PaintBitmap(const Rect& dest, const Bitmap& source, std::optional<ColorRef> key)
{
    if (!painter_ || !painter_->isActive())
        return;
    Rect area = dest.Normalized();
    const Rect limit = clipBounds_ ? *clipBounds_ : bounds_;
    area = {std::max(area.left, limit.left), std::max(area.top, limit.top), std::min(area.right, limit.right),
            std::min(area.bottom, limit.bottom)};
    if (area.Empty())
        return;
    // Nearest neighbour by pixel centres, so that every source pixel covers a
    // whole number of device pixels; a reversed edge mirrors the picture.
    const double width = dest.right - dest.left;
    const double height = dest.bottom - dest.top;
    std::vector<int> columns(static_cast<std::size_t>(area.Width()));
    for (int x = area.left; x < area.right; ++x) {
        const double u = (x + 0.5 - dest.left) / width;
        columns[static_cast<std::size_t>(x - area.left)] =
            std::clamp(static_cast<int>(std::floor(u * source.Width())), 0, source.Width() - 1);
    }
    const std::uint32_t keyArgb = key ? ArgbFromColorRef(*key) : 0;
    QImage image(area.Width(), area.Height(), QImage::Format_ARGB32);
    for (int y = area.top; y < area.bottom; ++y) {
        const double v = (y + 0.5 - dest.top) / height;
        const int sy = std::clamp(static_cast<int>(std::floor(v * source.Height())), 0, source.Height() - 1);
        const std::uint32_t* in = source.Row(sy);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y - area.top));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::uint32_t argb = in[columns[i]] | 0xFF000000u;
            out[i] = key && argb == keyArgb ? 0u : argb;
        }
    }
    painter_->drawImage(QPoint(area.left, area.top), image);
}

void PainterDeviceContext::ClipChanged(const Region* effective)
{
    if (!painter_ || !painter_->isActive())
        return;
    if (!effective) {
        painter_->setClipping(false);
        clipBounds_.reset();
        return;
    }
    QRegion region;
    for (const Rect& r : effective->Rects())
        region += QRect(r.left, r.top, r.Width(), r.Height());
    painter_->setClipRegion(region);
    clipBounds_ = effective->Bounds();
}

} // namespace lx
