#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>
#include <optional>
#include <utility>

#include "platform/fonts/FontEngine.h"
#include "platform/text/Cp932.h"

namespace lx {

namespace {

int RoundPx(double v) { return DeviceContext::RoundToPixel(v); }

// Dash patterns of cosmetic styled pens, in pixel steps: on, off, on, off...
const std::vector<int>& DashPattern(PenStyle style)
{
    static const std::vector<int> solid;
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case PenStyle::Dash: return dash;
    case PenStyle::Dot: return dot;
    case PenStyle::DashDot: return dashDot;
    case PenStyle::DashDotDot: return dashDotDot;
    default: return solid;
    }
}

// Adds a pixel to a list of spans, extending the last span when it continues it.
void AddPixel(std::vector<PixelSpan>& spans, int x, int y)
{
    if (!spans.empty() && spans.back().y == y && spans.back().x1 == x)
        ++spans.back().x1;
    else if (!spans.empty() && spans.back().y == y && spans.back().x0 == x + 1)
        --spans.back().x0;
    else
        spans.push_back({y, x, x + 1});
}

// The span of row y in spans of consecutive rows; an empty span outside them.
PixelSpan SpanAtRow(const std::vector<PixelSpan>& spans, int y)
{
    if (spans.empty() || y < spans.front().y || y > spans.back().y)
        return {y, 0, 0};
    return spans[static_cast<std::size_t>(y - spans.front().y)];
}

// The part [t0, t1] of the segment a + t (b - a), 0 <= t <= 1, inside the
// box (Liang-Barsky); nothing when it misses the box.
std::optional<std::pair<double, double>> SegmentPartWithin(double ax, double ay, double bx, double by, double left,
                                                           double top, double right, double bottom)
{
    double t0 = 0, t1 = 1;
    const double dx = bx - ax, dy = by - ay;
    const auto side = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        return t0 <= t1;
    };
    if (!side(-dx, ax - left) || !side(dx, right - ax) || !side(-dy, ay - top) || !side(dy, bottom - ay))
        return std::nullopt;
    return std::pair{t0, t1};
}

// The segments of a flattened path (closing ones included) cut to the area
// grown by `reach`; a path wholly within it comes back as it is.
DevicePath PathWithinReach(const DevicePath& flat, const Rect& area, double reach)
{
    const double left = area.left - reach, top = area.top - reach;
    const double right = area.right + reach, bottom = area.bottom + reach;
    const auto within = [&](const PathPoint& p) { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; };
    if (std::all_of(flat.begin(), flat.end(), within))
        return flat;
    DevicePath kept;
    const auto cut = [&](const PathPoint& a, const PathPoint& b) {
        const auto part = SegmentPartWithin(a.x, a.y, b.x, b.y, left, top, right, bottom);
        if (!part)
            return;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const PathPoint from{a.x + part->first * dx, a.y + part->first * dy, kPtMoveTo};
        if (kept.empty() || kept.back().x != from.x || kept.back().y != from.y)
            kept.push_back(from);
        kept.push_back({a.x + part->second * dx, a.y + part->second * dy, kPtLineTo});
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < flat.size(); ++i) {
        if (flat[i].type == kPtMoveTo || i == 0) {
            start = i;
            continue;
        }
        cut(flat[i - 1], flat[i]);
        if (flat[i].type & kPtCloseFigure)
            cut(flat[i], flat[start]);
    }
    return kept;
}

// Whether a segment of the path has an end on the area.
bool TouchesArea(const DevicePath& path, const Rect& area)
{
    for (std::size_t i = 1; i < path.size(); ++i)
        if (path[i].type != kPtMoveTo)
            for (const PathPoint& p : {path[i - 1], path[i]})
                if (p.x >= area.left && p.x < area.right && p.y >= area.top && p.y < area.bottom)
                    return true;
    return false;
}

DevicePath EllipsePath(const Rect& box)
{
    // Four cubic quarter arcs.
    constexpr double k = 0.5522847498;
    const double cx = (box.left + box.right) / 2.0;
    const double cy = (box.top + box.bottom) / 2.0;
    const double rx = box.Width() / 2.0;
    const double ry = box.Height() / 2.0;
    return {{cx + rx, cy, kPtMoveTo},
            {cx + rx, cy - k * ry, kPtBezierTo},
            {cx + k * rx, cy - ry, kPtBezierTo},
            {cx, cy - ry, kPtBezierTo},
            {cx - k * rx, cy - ry, kPtBezierTo},
            {cx - rx, cy - k * ry, kPtBezierTo},
            {cx - rx, cy, kPtBezierTo},
            {cx - rx, cy + k * ry, kPtBezierTo},
            {cx - k * rx, cy + ry, kPtBezierTo},
            {cx, cy + ry, kPtBezierTo},
            {cx + k * rx, cy + ry, kPtBezierTo},
            {cx + rx, cy + k * ry, kPtBezierTo},
            {cx + rx, cy, kPtBezierTo | kPtCloseFigure}};
}

// The box from a0 to a1 along the line of glyphs and from c0 to c1 across it.
DevicePath Quad(const GlyphFrame& f, double a0, double a1, double c0, double c1)
{
    return {f.At(a0, c0, kPtMoveTo), f.At(a1, c0, kPtLineTo), f.At(a1, c1, kPtLineTo),
            f.At(a0, c1, kPtLineTo | kPtCloseFigure)};
}

} // namespace

DeviceContext::DeviceContext(const DeviceInfo& device) : device_(device) {}

DeviceContext::~DeviceContext() = default;

int DeviceContext::GetDeviceCaps(DeviceCap cap) const
{
    switch (cap) {
    case DeviceCap::HorzSize: return device_.horzSizeMm;
    case DeviceCap::VertSize: return device_.vertSizeMm;
    case DeviceCap::HorzRes: return device_.horzRes;
    case DeviceCap::VertRes: return device_.vertRes;
    case DeviceCap::LogPixelsX: return device_.dpiX;
    case DeviceCap::LogPixelsY: return device_.dpiY;
    case DeviceCap::PhysicalOffsetX: return device_.physicalOffsetX;
    case DeviceCap::PhysicalOffsetY: return device_.physicalOffsetY;
    }
    return 0;
}

// ---- mapping

void DeviceContext::SetMapMode(MapMode mode)
{
    state_.mapMode = mode;
    MappingChanged();
}

void DeviceContext::SetWindowExt(int cx, int cy)
{
    // Extents only count in the scalable modes, and never as 0.
    if (state_.mapMode != MapMode::Text && cx != 0 && cy != 0)
        state_.windowExt = {cx, cy};
    MappingChanged();
}

void DeviceContext::SetWindowOrg(int x, int y)
{
    state_.windowOrg = {x, y};
    MappingChanged();
}

void DeviceContext::SetViewportExt(int cx, int cy)
{
    if (state_.mapMode != MapMode::Text && cx != 0 && cy != 0)
        state_.viewportExt = {cx, cy};
    MappingChanged();
}

void DeviceContext::SetViewportOrg(int x, int y)
{
    state_.viewportOrg = {x, y};
    MappingChanged();
}

void DeviceContext::MappingChanged()
{
    Transform t;
    if (state_.mapMode != MapMode::Text) {
        t.sx = static_cast<double>(state_.viewportExt.cx) / state_.windowExt.cx;
        t.sy = static_cast<double>(state_.viewportExt.cy) / state_.windowExt.cy;
        if (state_.mapMode == MapMode::Isotropic) {
            const double m = std::min(std::abs(t.sx), std::abs(t.sy));
            t.sx = std::copysign(m, t.sx);
            t.sy = std::copysign(m, t.sy);
        }
    }
    t.dx = state_.viewportOrg.x - state_.windowOrg.x * t.sx;
    t.dy = state_.viewportOrg.y - state_.windowOrg.y * t.sy;
    state_.toDevice = t.Then(state_.outer);
    const Transform& d = state_.toDevice;
    const auto whole = [](double v) { return std::floor(v) == v && std::abs(v) <= (1 << 30); };
    state_.unitSteps = std::abs(d.sx) == 1 && std::abs(d.sy) == 1 && whole(d.dx) && whole(d.dy);
}

Transform DeviceContext::CurrentTransform() const { return state_.toDevice; }

Rect DeviceContext::LogicalToDevice(const Rect& r) const
{
    const Point a = LogicalToDevice(Point{r.left, r.top});
    const Point b = LogicalToDevice(Point{r.right, r.bottom});
    return Rect{a.x, a.y, b.x, b.y}.Normalized();
}

Point DeviceContext::PathPointToLogical(const PathPoint& p) const
{
    const Transform t = CurrentTransform();
    return {RoundPx((p.x - t.dx) / t.sx), RoundPx((p.y - t.dy) / t.sy)};
}

// ---- state

int DeviceContext::SaveDC()
{
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool DeviceContext::RestoreDC(int level)
{
    const long index = level > 0 ? level - 1L : static_cast<long>(saved_.size()) + level;
    if (level == 0 || index < 0 || index >= static_cast<long>(saved_.size()))
        return false;
    state_ = saved_[static_cast<std::size_t>(index)];
    saved_.resize(static_cast<std::size_t>(index));
    ApplyClip();
    return true;
}

Pen DeviceContext::SelectPen(const Pen& pen)
{
    Pen previous = state_.pen;
    state_.pen = pen;
    state_.pen.color = ColorToRgb(pen.color);
    state_.pen.width = std::max(0, pen.width);
    return previous;
}

Brush DeviceContext::SelectBrush(const Brush& brush)
{
    Brush previous = state_.brush;
    state_.brush = brush;
    state_.brush.color = ColorToRgb(brush.color);
    return previous;
}

LogFont DeviceContext::SelectFont(const LogFont& font)
{
    LogFont previous = state_.font;
    state_.font = font;
    // A logical font holds 31 bytes of face name; a character is never cut.
    std::size_t keep = 0;
    while (keep < state_.font.faceName.size()) {
        const std::size_t next = keep + CharLength(state_.font.faceName, keep);
        if (next > 31)
            break;
        keep = next;
    }
    state_.font.faceName.resize(keep);
    return previous;
}

ColorRef DeviceContext::SetTextColor(ColorRef color) { return std::exchange(state_.textColor, ColorToRgb(color)); }
ColorRef DeviceContext::SetBkColor(ColorRef color) { return std::exchange(state_.bkColor, ColorToRgb(color)); }
BkMode DeviceContext::SetBkMode(BkMode mode) { return std::exchange(state_.bkMode, mode); }
std::uint32_t DeviceContext::SetTextAlign(std::uint32_t align) { return std::exchange(state_.textAlign, align); }

// ---- figures

double DeviceContext::DevicePenWidth() const
{
    if (state_.pen.width == 0)
        return 0;
    const Transform t = CurrentTransform();
    return std::clamp(std::floor(state_.pen.width * std::abs(t.sx) + 0.5), 1.0, 16384.0);
}

void DeviceContext::MoveTo(int x, int y)
{
    state_.current = {x, y};
    if (pathState_ == PathState::Open) {
        const Point d = LogicalToDevice(state_.current);
        if (!path_.empty() && path_.back().type == kPtMoveTo)
            path_.pop_back();
        path_.push_back({double(d.x), double(d.y), kPtMoveTo});
    }
}

void DeviceContext::LineTo(int x, int y)
{
    const Point from = LogicalToDevice(state_.current);
    state_.current = {x, y};
    const Point to = LogicalToDevice(state_.current);
    if (pathState_ == PathState::Open) {
        AddToPath({{double(from.x), double(from.y), kPtMoveTo}, {double(to.x), double(to.y), kPtLineTo}});
        return;
    }
    if (state_.pen.style == PenStyle::Null || DeviceBounds().Empty())
        return;
    if (state_.pen.width == 0)
        DrawCosmeticLine(from, to);
    else
        StrokeWithinReach({{double(from.x), double(from.y), kPtMoveTo}, {double(to.x), double(to.y), kPtLineTo}});
}

void DeviceContext::DrawCosmeticLine(Point from, Point to)
{
    const std::vector<int>& pattern = DashPattern(state_.pen.style);
    // A line reaching far outside the device is cut to it first; the dash
    // pattern keeps its phase.
    const Rect area = DeviceBounds();
    int phase = 0;
    const auto outside = [&](Point p) {
        return p.x < area.left - 2 || p.x > area.right + 2 || p.y < area.top - 2 || p.y > area.bottom + 2;
    };
    if (outside(from) || outside(to)) {
        const auto part = SegmentPartWithin(from.x, from.y, to.x, to.y, area.left - 2.0, area.top - 2.0,
                                            area.right + 2.0, area.bottom + 2.0);
        if (!part)
            return;
        const auto [t0, t1] = *part;
        const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
        const double steps = std::max(std::abs(dx), std::abs(dy));
        phase = static_cast<int>(std::fmod(std::floor(steps * t0), 1 << 20));
        const Point a{RoundPx(from.x + dx * t0), RoundPx(from.y + dy * t0)};
        const Point b{RoundPx(from.x + dx * t1), RoundPx(from.y + dy * t1)};
        from = a;
        to = b;
    }
    const bool opaque = state_.bkMode == BkMode::Opaque;
    std::vector<PixelSpan> on;
    std::vector<PixelSpan> off;
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    const int steps = std::max(dx, dy);
    int x = from.x;
    int y = from.y;
    int error = (dx > dy ? dx : -dy) / 2;
    std::size_t dash = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    for (int skipped = 0; !pattern.empty() && skipped < phase % 36; ++skipped)
        if (--left == 0) {
            dash = (dash + 1) % pattern.size();
            left = pattern[dash];
        }
    // The end point is left out; the style counts one per pixel step.
    for (int i = 0; i < steps; ++i) {
        const bool drawn = pattern.empty() || dash % 2 == 0;
        if (drawn)
            AddPixel(on, x, y);
        else if (opaque)
            AddPixel(off, x, y);
        if (!pattern.empty() && --left == 0) {
            dash = (dash + 1) % pattern.size();
            left = pattern[dash];
        }
        const int e = error;
        if (e > -dx) {
            error -= dy;
            x += stepX;
        }
        if (e < dy) {
            error += dx;
            y += stepY;
        }
    }
    if (!off.empty())
        PaintSpans(off, state_.bkColor);
    if (!on.empty())
        PaintSpans(on, state_.pen.color);
}

void DeviceContext::PaintSpans(const std::vector<PixelSpan>& spans, ColorRef color)
{
    for (const PixelSpan& span : spans)
        if (span.x1 > span.x0)
            PaintRect({span.x0, span.y, span.x1, span.y + 1}, color);
}

void DeviceContext::Rectangle(int left, int top, int right, int bottom)
{
    const Rect box = LogicalToDevice(Rect{left, top, right, bottom});
    if (pathState_ == PathState::Open) {
        AddToPath({{double(box.left), double(box.top), kPtMoveTo},
                   {double(box.right), double(box.top), kPtLineTo},
                   {double(box.right), double(box.bottom), kPtLineTo},
                   {double(box.left), double(box.bottom), kPtLineTo | kPtCloseFigure}});
        return;
    }
    if (box.Empty() || DeviceBounds().Empty())
        return;
    const int pen = state_.pen.style == PenStyle::Null ? 0 : std::max(1, static_cast<int>(DevicePenWidth()));
    if (pen > 0 && state_.brush.style == BrushStyle::Solid && state_.brush.color == state_.pen.color) {
        PaintRect(box, state_.pen.color); // frame and inside, as one (a symbol's modules)
        return;
    }
    const Rect inner{box.left + pen, box.top + pen, box.right - pen, box.bottom - pen};
    if (state_.brush.style == BrushStyle::Solid && !inner.Empty())
        PaintRect(inner, state_.brush.color);
    if (pen > 0)
        PaintFrame(box, pen, state_.pen.color);
}

void DeviceContext::PaintFrame(const Rect& box, int band, ColorRef color)
{
    // Each band keeps inside the box; where the bands meet they cover it all.
    const int topEnd = std::min(box.top + band, box.bottom);
    const int bottomStart = std::max(box.bottom - band, topEnd);
    const int leftEnd = std::min(box.left + band, box.right);
    const int rightStart = std::max(box.right - band, leftEnd);
    PaintRect({box.left, box.top, box.right, topEnd}, color);
    if (bottomStart < box.bottom)
        PaintRect({box.left, bottomStart, box.right, box.bottom}, color);
    if (topEnd < bottomStart) {
        PaintRect({box.left, topEnd, leftEnd, bottomStart}, color);
        if (rightStart < box.right)
            PaintRect({rightStart, topEnd, box.right, bottomStart}, color);
    }
}

void DeviceContext::Ellipse(int left, int top, int right, int bottom)
{
    const Rect box = LogicalToDevice(Rect{left, top, right, bottom});
    if (pathState_ == PathState::Open) {
        AddToPath(EllipsePath(box));
        return;
    }
    const Rect area = DeviceBounds();
    if (area.Empty())
        return;
    const int pen = state_.pen.style == PenStyle::Null ? 0 : std::max(1, static_cast<int>(DevicePenWidth()));
    // Only the device's rows are painted. A row's interior keeps the pixels
    // at least `pen` steps from the outside along the row and the column:
    // the pen's band lies inside the box. The row ends move away from the
    // centre monotonically, so the rows `pen` above and below bound every
    // row between them, and the work does not grow with the pen.
    const std::vector<PixelSpan> rows = EllipseSpans(box, area.top, area.bottom);
    const std::vector<PixelSpan> above = EllipseSpans(box, area.top - pen, area.bottom - pen);
    const std::vector<PixelSpan> below = EllipseSpans(box, area.top + pen, area.bottom + pen);
    std::vector<PixelSpan> ring;
    std::vector<PixelSpan> inside;
    for (const PixelSpan& row : rows) {
        if (row.x1 <= row.x0)
            continue;
        const PixelSpan up = SpanAtRow(above, row.y - pen);
        const PixelSpan down = SpanAtRow(below, row.y + pen);
        const int x0 = std::max({row.x0 + pen, up.x0, down.x0});
        const int x1 = std::min({row.x1 - pen, up.x1, down.x1});
        if (x1 <= x0) {
            ring.push_back(row);
            continue;
        }
        inside.push_back({row.y, x0, x1});
        ring.push_back({row.y, row.x0, x0});
        ring.push_back({row.y, x1, row.x1});
    }
    if (state_.brush.style == BrushStyle::Solid)
        PaintSpans(inside, state_.brush.color);
    else if (pen == 0)
        return;
    if (pen > 0)
        PaintSpans(ring, state_.pen.color);
    else
        PaintSpans(ring, state_.brush.color);
}

void DeviceContext::FillRect(const Rect& rect, ColorRef color)
{
    const Rect box = LogicalToDevice(rect);
    if (!box.Empty())
        PaintRect(box, ColorToRgb(color));
}

// ---- text

std::shared_ptr<const ScaledFont> DeviceContext::DeviceFont() const
{
    const Transform t = CurrentTransform();
    const double sx = std::abs(t.sx);
    const double sy = std::abs(t.sy);
    // Text goes out a character at a time: the font of the last one is
    // asked for again and again.
    if (!lastFont_ || lastFont_->sx != sx || lastFont_->sy != sy || !(lastFont_->font == state_.font))
        lastFont_ = FontAtScale{state_.font, sx, sy, ScaledFont::Get(state_.font, sx, sy)};
    return lastFont_->scaled;
}

Size DeviceContext::GetTextExtent(std::string_view bytes) const
{
    const auto font = DeviceFont();
    const Transform t = CurrentTransform();
    return {RoundPx(font->TextWidth(bytes) / std::abs(t.sx)), RoundPx(font->Metrics().height / std::abs(t.sy))};
}

TextMetrics DeviceContext::GetTextMetrics() const
{
    const auto font = DeviceFont();
    const FontMetrics& m = font->Metrics();
    const Transform t = CurrentTransform();
    const double sy = std::abs(t.sy);
    return {RoundPx(m.height / sy), RoundPx(m.ascent / sy), RoundPx(m.descent / sy), RoundPx(m.internalLeading / sy),
            RoundPx(m.aveCharWidth / std::abs(t.sx))};
}

DeviceContext::TextGeometry DeviceContext::LayoutText(int x, int y, std::string_view bytes) const
{
    TextGeometry geometry;
    PlacedGlyphs& placed = geometry.placed;
    placed.font = DeviceFont();
    const FontMetrics& m = placed.font->Metrics();
    placed.glyphs = placed.font->Layout(bytes);
    int total = 0;
    for (const GlyphSlot& slot : placed.glyphs)
        total += slot.advance;
    // A font asking for left-handed angles turns with the mapping: where the
    // mapping flips one axis (y up), its escapement runs clockwise on the device.
    const Transform t = CurrentTransform();
    const bool flipped = (state_.font.clipPrecision & kClipLhAngles) && ((t.sx < 0) != (t.sy < 0));
    const int escapement = flipped ? -state_.font.escapement : state_.font.escapement;
    const double angle = escapement / 10.0 * std::numbers::pi / 180.0;
    double ux = std::cos(angle);
    double uy = -std::sin(angle);
    if (escapement % 900 == 0) { // exact quarter turns
        ux = std::round(ux);
        uy = std::round(uy);
    }
    const double vx = -uy;
    const double vy = ux;
    const Point ref = LogicalToDevice(Point{x, y});
    const std::uint32_t align = state_.textAlign;
    double along = 0;
    if ((align & kTaCenter) == kTaCenter)
        along = -(total / 2);
    else if (align & kTaRight)
        along = -total;
    double across = 0;
    if ((align & kTaBaseline) == kTaBaseline)
        across = -m.ascent;
    else if (align & kTaBottom)
        across = -m.height;
    placed.originX = ref.x + along * ux + across * vx;
    placed.originY = ref.y + along * uy + across * vy;
    placed.ux = ux;
    placed.uy = uy;
    placed.vx = vx;
    placed.vy = vy;
    geometry.cell = Quad(placed, 0, total, 0, m.height);
    if (state_.font.underline) {
        const double c = m.ascent + m.underlineOffset;
        const DevicePath bar = Quad(placed, 0, total, c, c + m.underlineSize);
        geometry.decorations.insert(geometry.decorations.end(), bar.begin(), bar.end());
    }
    if (state_.font.strikeOut) {
        const double c = m.ascent - m.strikeOffset - m.strikeSize / 2;
        const DevicePath bar = Quad(placed, 0, total, c, c + m.strikeSize);
        geometry.decorations.insert(geometry.decorations.end(), bar.begin(), bar.end());
    }
    geometry.boldOffsetX = placed.font->SyntheticBold() * ux;
    geometry.boldOffsetY = placed.font->SyntheticBold() * uy;
    return geometry;
}

DevicePath DeviceContext::GlyphOutlines(const PlacedGlyphs& placed, double dx, double dy)
{
    DevicePath glyphs;
    GlyphFrame frame = placed;
    frame.originX += dx;
    frame.originY += dy;
    int pen = 0;
    for (const GlyphSlot& slot : placed.glyphs) {
        placed.font->AppendGlyph(slot, frame, pen, glyphs);
        pen += slot.advance;
    }
    return glyphs;
}

void DeviceContext::PaintGlyphs(const PlacedGlyphs& placed, double dx, double dy, ColorRef color)
{
    const DevicePath glyphs = GlyphOutlines(placed, dx, dy);
    if (!glyphs.empty())
        PaintPath(glyphs, true, color);
}

void DeviceContext::TextOut(int x, int y, std::string_view bytes)
{
    if (pathState_ != PathState::Open && DeviceBounds().Empty())
        return;
    const TextGeometry text = LayoutText(x, y, bytes);
    if (pathState_ == PathState::Open) {
        AddToPath(GlyphOutlines(text.placed));
        return;
    }
    if (state_.bkMode == BkMode::Opaque)
        PaintPath(text.cell, true, state_.bkColor);
    PaintGlyphs(text.placed, 0, 0, state_.textColor);
    if (text.boldOffsetX != 0 || text.boldOffsetY != 0)
        PaintGlyphs(text.placed, text.boldOffsetX, text.boldOffsetY, state_.textColor);
    if (!text.decorations.empty())
        PaintPath(text.decorations, true, state_.textColor);
}

// ---- bitmaps

void DeviceContext::StretchDraw(const Rect& dest, const Bitmap& source, std::optional<ColorRef> transparentKey)
{
    const std::optional<Rect> device = StretchTarget(dest, source.Empty());
    if (!device)
        return;
    if (transparentKey)
        transparentKey = ColorToRgb(*transparentKey);
    PaintBitmap(*device, source, transparentKey);
}

void DeviceContext::StretchDrawSpans(const Rect& dest, const SpanRaster& source)
{
    if (!TakesSpans()) {
        StretchDraw(dest, source.ToBitmap());
        return;
    }
    if (const std::optional<Rect> device = StretchTarget(dest, source.Empty()))
        PaintSpanRaster(*device, source);
}

std::optional<Rect> DeviceContext::StretchTarget(const Rect& dest, bool emptySource) const
{
    if (pathState_ == PathState::Open || emptySource || DeviceBounds().Empty())
        return std::nullopt;
    const Point a = LogicalToDevice(Point{dest.left, dest.top});
    const Point b = LogicalToDevice(Point{dest.right, dest.bottom});
    if (a.x == b.x || a.y == b.y)
        return std::nullopt;
    return Rect{a.x, a.y, b.x, b.y};
}

// ---- paths

void DeviceContext::BeginPath()
{
    path_.clear();
    pathState_ = PathState::Open;
}

void DeviceContext::EndPath()
{
    if (pathState_ == PathState::Open)
        pathState_ = PathState::Closed;
}

void DeviceContext::CloseFigure()
{
    if (pathState_ == PathState::Open && !path_.empty() && path_.back().type != kPtMoveTo)
        path_.back().type |= kPtCloseFigure;
}

void DeviceContext::FlattenPath()
{
    if (pathState_ == PathState::Closed)
        path_ = FlattenedPath(path_);
}

void DeviceContext::AddToPath(const DevicePath& figure)
{
    for (std::size_t i = 0; i < figure.size(); ++i) {
        const PathPoint& p = figure[i];
        // A figure continuing from the current point does not repeat its move.
        if (i == 0 && p.type == kPtMoveTo && !path_.empty() && !(path_.back().type & kPtCloseFigure) &&
            path_.back().x == p.x && path_.back().y == p.y)
            continue;
        if (i == 0 && p.type == kPtMoveTo && !path_.empty() && path_.back().type == kPtMoveTo)
            path_.pop_back();
        path_.push_back(p);
    }
}

void DeviceContext::PolyBezierTo(const std::vector<Point>& points)
{
    if (points.size() % 3 != 0 || points.empty())
        return;
    const Point start = LogicalToDevice(state_.current);
    DevicePath figure{{double(start.x), double(start.y), kPtMoveTo}};
    for (const Point& p : points) {
        const Point d = LogicalToDevice(p);
        figure.push_back({double(d.x), double(d.y), kPtBezierTo});
    }
    state_.current = points.back();
    if (pathState_ == PathState::Open)
        AddToPath(figure);
    else
        PaintFigure(figure, false, true);
}

void DeviceContext::StrokeWithinReach(const DevicePath& flat)
{
    // A wide pen's work grows with the length and width of what it strokes:
    // only what the pen can reach of the device is stroked, and a pen that
    // covers the whole device from a point on it just fills the device.
    const Rect area = DeviceBounds();
    const double width = DevicePenWidth();
    const double reach = width / 2 + 2;
    const DevicePath near = PathWithinReach(flat, area, reach);
    if (reach > std::hypot(area.Width(), area.Height()) + 2 && TouchesArea(near, area)) {
        PaintRect(area, state_.pen.color);
        return;
    }
    if (!near.empty())
        PaintStroke(near, width, state_.pen.color);
}

void DeviceContext::PaintFigure(const DevicePath& path, bool fill, bool stroke)
{
    const DevicePath flat = FlattenedPath(path);
    if (fill && state_.brush.style == BrushStyle::Solid)
        PaintPath(flat, false, state_.brush.color);
    if (!stroke || state_.pen.style == PenStyle::Null)
        return;
    if (state_.pen.width != 0) {
        StrokeWithinReach(flat);
        return;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < flat.size(); ++i) {
        if (flat[i].type == kPtMoveTo) {
            start = i;
            continue;
        }
        const PathPoint& a = flat[i - 1];
        DrawCosmeticLine({RoundPx(a.x), RoundPx(a.y)}, {RoundPx(flat[i].x), RoundPx(flat[i].y)});
        if (flat[i].type & kPtCloseFigure)
            DrawCosmeticLine({RoundPx(flat[i].x), RoundPx(flat[i].y)},
                             {RoundPx(flat[start].x), RoundPx(flat[start].y)});
    }
}

void DeviceContext::StrokeAndFillPath()
{
    if (pathState_ != PathState::Closed)
        return;
    DevicePath closed = path_;
    pathState_ = PathState::None;
    path_.clear();
    PaintFigure(closed, true, true);
}

void DeviceContext::FillPath()
{
    if (pathState_ != PathState::Closed)
        return;
    DevicePath closed = path_;
    pathState_ = PathState::None;
    path_.clear();
    PaintFigure(closed, true, false);
}

void DeviceContext::StrokePath()
{
    if (pathState_ != PathState::Closed)
        return;
    DevicePath closed = path_;
    pathState_ = PathState::None;
    path_.clear();
    PaintFigure(closed, false, true);
}

int DeviceContext::GetPath(Point* points, std::uint8_t* types, int capacity) const
{
    if (pathState_ != PathState::Closed)
        return -1;
    const int count = static_cast<int>(path_.size());
    if (!points && !types)
        return count;
    if (!points || !types || capacity < count)
        return -1;
    for (int i = 0; i < count; ++i) {
        points[i] = PathPointToLogical(path_[static_cast<std::size_t>(i)]);
        types[i] = path_[static_cast<std::size_t>(i)].type;
    }
    return count;
}

// ---- clipping and playback

void DeviceContext::SelectClipRegion(const Region* region)
{
    const Transform& outer = state_.outer;
    if (region && standsInForRecording_)
        state_.clip = region->Transformed(outer.sx, outer.sy, outer.dx, outer.dy);
    else if (region)
        state_.clip = *region;
    else
        state_.clip.reset();
    ApplyClip();
}

std::optional<Region> DeviceContext::EffectiveClip() const
{
    if (state_.clip && state_.metaClip)
        return state_.clip->Intersected(*state_.metaClip);
    return state_.clip ? state_.clip : state_.metaClip;
}

void DeviceContext::ApplyClip()
{
    const std::optional<Region> clip = EffectiveClip();
    ClipChanged(clip ? &*clip : nullptr);
}

void DeviceContext::BeginPlayback(const Transform& outer)
{
    const std::optional<Region> clip = EffectiveClip();
    State fresh;
    fresh.outer = outer;
    fresh.metaClip = clip;
    state_ = fresh;
    MappingChanged();
    ApplyClip();
}

// ---- handles

namespace {
std::mutex handleMutex;
std::map<std::int32_t, DeviceContext*>& Handles()
{
    static std::map<std::int32_t, DeviceContext*> handles;
    return handles;
}
std::int32_t nextHandle = 1;
} // namespace

std::int32_t RegisterDeviceContext(DeviceContext* dc)
{
    std::lock_guard lock(handleMutex);
    while (Handles().count(nextHandle) || nextHandle <= 0)
        nextHandle = nextHandle <= 0 ? 1 : nextHandle + 1;
    Handles()[nextHandle] = dc;
    return nextHandle++;
}

DeviceContext* DeviceContextFromHandle(std::int32_t handle)
{
    std::lock_guard lock(handleMutex);
    auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

} // namespace lx
