#include <algorithm>
#include <array>
#include <cmath>
#include <variant>

#include "platform/metafile/ByteCursor.h"
#include "platform/metafile/Dib.h"
#include "platform/metafile/EmfRecords.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/SavedSelections.h"
#include "platform/text/Cp932.h"

namespace lx {

using Object = std::variant<Pen, Brush, LogFont>;

struct EmfRecorder::Writer {
    ByteWriter out;
    std::uint32_t records = 0;
    std::size_t start = 0;
    std::vector<std::optional<Object>> objects{std::nullopt}; // index 0 is the metafile itself
    std::uint32_t pen = emf::kStockObject | emf::kBlackPen;
    std::uint32_t brush = emf::kStockObject | emf::kWhiteBrush;
    std::uint32_t font = 0;
    SavedSelections<std::uint32_t> saved;
    std::optional<Rect> bounds;
    DeviceInfo reference;
    std::optional<Rect> frame;
    std::u16string description;

    void Begin(std::uint32_t type)
    {
        start = out.Size();
        out.U32(type);
        out.U32(0);
    }
    void End()
    {
        out.PadTo(4);
        out.PatchU32(start + 4, static_cast<std::uint32_t>(out.Size() - start));
        ++records;
    }
    void Simple(std::uint32_t type)
    {
        Begin(type);
        End();
    }
    void Values(std::uint32_t type, std::initializer_list<std::int32_t> values)
    {
        Begin(type);
        for (std::int32_t v : values)
            out.I32(v);
        End();
    }
    void RectL(const Rect& r)
    {
        out.I32(r.left);
        out.I32(r.top);
        out.I32(r.right);
        out.I32(r.bottom);
    }
    void Touch(const Rect& device)
    {
        const Rect r = device.Normalized();
        if (r.Empty())
            return;
        const Rect inclusive{r.left, r.top, r.right - 1, r.bottom - 1};
        if (!bounds)
            bounds = inclusive;
        else
            bounds = Rect{std::min(bounds->left, inclusive.left), std::min(bounds->top, inclusive.top),
                          std::max(bounds->right, inclusive.right), std::max(bounds->bottom, inclusive.bottom)};
    }
    Rect BoundsOrEmpty() const { return bounds ? *bounds : Rect{0, 0, -1, -1}; }

    std::uint32_t Stock(const Object& value) const
    {
        if (const Pen* p = std::get_if<Pen>(&value)) {
            if (p->style == PenStyle::Null)
                return emf::kStockObject | emf::kNullPen;
            if (*p == Pen{})
                return emf::kStockObject | emf::kBlackPen;
        }
        if (const Brush* b = std::get_if<Brush>(&value)) {
            if (b->style == BrushStyle::Clear)
                return emf::kStockObject | emf::kNullBrush;
            if (*b == Brush{})
                return emf::kStockObject | emf::kWhiteBrush;
        }
        return 0;
    }

    // The handle of an object with this value, created when needed.
    std::uint32_t Handle(const Object& value)
    {
        if (const std::uint32_t stock = Stock(value))
            return stock;
        for (std::size_t i = 1; i < objects.size(); ++i)
            if (objects[i] && *objects[i] == value)
                return static_cast<std::uint32_t>(i);
        if (objects.size() > 4096)
            DropUnselected();
        std::size_t index = 1;
        while (index < objects.size() && objects[index])
            ++index;
        if (index == objects.size())
            objects.emplace_back();
        objects[index] = value;
        Create(static_cast<std::uint32_t>(index), value);
        return static_cast<std::uint32_t>(index);
    }
    void DropUnselected()
    {
        for (std::size_t i = 1; i < objects.size(); ++i) {
            if (!objects[i] || i == pen || i == brush || i == font)
                continue;
            Values(emf::kDeleteObject, {static_cast<std::int32_t>(i)});
            objects[i].reset();
        }
    }
    void Create(std::uint32_t index, const Object& value)
    {
        if (const Pen* p = std::get_if<Pen>(&value)) {
            Begin(emf::kCreatePen);
            out.U32(index);
            out.U32(static_cast<std::uint32_t>(p->style));
            out.I32(p->width);
            out.I32(0);
            out.U32(p->color);
            End();
        } else if (const Brush* b = std::get_if<Brush>(&value)) {
            Begin(emf::kCreateBrushIndirect);
            out.U32(index);
            out.U32(b->style == BrushStyle::Clear ? 1 : 0);
            out.U32(b->color);
            out.U32(0);
            End();
        } else {
            const LogFont& f = std::get<LogFont>(value);
            Begin(emf::kExtCreateFontIndirectW);
            out.U32(index);
            for (int v : {f.height, f.width, f.escapement, f.orientation, f.weight})
                out.I32(v);
            for (std::uint8_t v : {std::uint8_t(f.italic), std::uint8_t(f.underline), std::uint8_t(f.strikeOut),
                                   f.charSet, f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily})
                out.U8(v);
            std::u16string face = Cp932ToUtf16(f.faceName).substr(0, 31);
            face.resize(32, u'\0');
            for (char16_t c : face)
                out.U16(c);
            // The rest of the extended logical font, as Windows writes it.
            out.Zeros(332 - 8 - 4 - 92);
            End();
        }
    }
    void Select(std::uint32_t& current, const Object& value)
    {
        const std::uint32_t handle = Handle(value);
        if (handle == current)
            return;
        Values(emf::kSelectObject, {static_cast<std::int32_t>(handle)});
        current = handle;
    }
};

EmfRecorder::EmfRecorder(const DeviceInfo& reference, std::optional<Rect> frame, std::u16string description)
    : DeviceContext(reference), writer_(std::make_unique<Writer>())
{
    writer_->reference = reference;
    writer_->frame = frame;
    writer_->description = std::move(description);
    writer_->Select(writer_->font, CurrentFont());
}

EmfRecorder::~EmfRecorder() = default;

EnhMetafile EmfRecorder::Close()
{
    Writer& w = *writer_;
    w.Begin(emf::kEof);
    w.out.U32(0);
    w.out.U32(16);
    w.out.U32(20);
    w.End();
    const DeviceInfo& ref = w.reference;
    const Rect bounds = w.BoundsOrEmpty();
    Rect frame;
    if (w.frame) {
        frame = *w.frame;
    } else if (w.bounds) {
        auto hundredthsX = [&](int px) {
            return static_cast<int>(std::lround(px * 100.0 * ref.horzSizeMm / ref.horzRes));
        };
        auto hundredthsY = [&](int px) {
            return static_cast<int>(std::lround(px * 100.0 * ref.vertSizeMm / ref.vertRes));
        };
        frame = {hundredthsX(bounds.left), hundredthsY(bounds.top), hundredthsX(bounds.right + 1),
                 hundredthsY(bounds.bottom + 1)};
    }
    std::u16string description = w.description;
    if (!description.empty())
        description += u'\0';
    const std::size_t headerBytes = emf::kHeaderSize + (description.size() * 2 + 3) / 4 * 4;
    ByteWriter h;
    h.U32(emf::kHeader);
    h.U32(static_cast<std::uint32_t>(headerBytes));
    for (const Rect& r : {bounds, frame}) {
        h.I32(r.left);
        h.I32(r.top);
        h.I32(r.right);
        h.I32(r.bottom);
    }
    h.U32(emf::kSignature);
    h.U32(0x10000);
    h.U32(static_cast<std::uint32_t>(headerBytes + w.out.Size()));
    h.U32(w.records + 1);
    h.U16(static_cast<std::uint16_t>(std::min<std::size_t>(w.objects.size(), 0xFFFF)));
    h.U16(0);
    h.U32(static_cast<std::uint32_t>(description.size()));
    h.U32(description.empty() ? 0 : emf::kHeaderSize);
    h.U32(0);
    h.I32(ref.horzRes);
    h.I32(ref.vertRes);
    h.I32(ref.horzSizeMm);
    h.I32(ref.vertSizeMm);
    h.U32(0);
    h.U32(0);
    h.U32(0);
    h.I32(ref.horzSizeMm * 1000);
    h.I32(ref.vertSizeMm * 1000);
    for (char16_t c : description)
        h.U16(c);
    h.PadTo(4);
    std::string bytes = std::move(h.Data());
    bytes += w.out.Data();
    return EnhMetafile::FromBytes(std::move(bytes));
}

void EmfRecorder::SetMapMode(MapMode mode)
{
    writer_->Values(emf::kSetMapMode, {static_cast<std::int32_t>(mode)});
    DeviceContext::SetMapMode(mode);
}

void EmfRecorder::SetWindowExt(int cx, int cy)
{
    writer_->Values(emf::kSetWindowExtEx, {cx, cy});
    DeviceContext::SetWindowExt(cx, cy);
}

void EmfRecorder::SetWindowOrg(int x, int y)
{
    writer_->Values(emf::kSetWindowOrgEx, {x, y});
    DeviceContext::SetWindowOrg(x, y);
}

void EmfRecorder::SetViewportExt(int cx, int cy)
{
    writer_->Values(emf::kSetViewportExtEx, {cx, cy});
    DeviceContext::SetViewportExt(cx, cy);
}

void EmfRecorder::SetViewportOrg(int x, int y)
{
    writer_->Values(emf::kSetViewportOrgEx, {x, y});
    DeviceContext::SetViewportOrg(x, y);
}

int EmfRecorder::SaveDC()
{
    writer_->Simple(emf::kSaveDC);
    writer_->saved.Push(writer_->pen, writer_->brush, writer_->font);
    return DeviceContext::SaveDC();
}

bool EmfRecorder::RestoreDC(int level)
{
    const auto relative = writer_->saved.Pop(level, writer_->pen, writer_->brush, writer_->font);
    if (!relative)
        return false;
    writer_->Values(emf::kRestoreDC, {*relative});
    return DeviceContext::RestoreDC(level);
}

Pen EmfRecorder::SelectPen(const Pen& pen)
{
    const Pen previous = DeviceContext::SelectPen(pen);
    writer_->Select(writer_->pen, CurrentPen());
    return previous;
}

Brush EmfRecorder::SelectBrush(const Brush& brush)
{
    const Brush previous = DeviceContext::SelectBrush(brush);
    writer_->Select(writer_->brush, CurrentBrush());
    return previous;
}

LogFont EmfRecorder::SelectFont(const LogFont& font)
{
    const LogFont previous = DeviceContext::SelectFont(font);
    writer_->Select(writer_->font, CurrentFont());
    return previous;
}

ColorRef EmfRecorder::SetTextColor(ColorRef color)
{
    const ColorRef previous = DeviceContext::SetTextColor(color);
    writer_->Values(emf::kSetTextColor, {static_cast<std::int32_t>(GetTextColor())});
    return previous;
}

ColorRef EmfRecorder::SetBkColor(ColorRef color)
{
    const ColorRef previous = DeviceContext::SetBkColor(color);
    writer_->Values(emf::kSetBkColor, {static_cast<std::int32_t>(GetBkColor())});
    return previous;
}

BkMode EmfRecorder::SetBkMode(BkMode mode)
{
    writer_->Values(emf::kSetBkMode, {static_cast<std::int32_t>(mode)});
    return DeviceContext::SetBkMode(mode);
}

std::uint32_t EmfRecorder::SetTextAlign(std::uint32_t align)
{
    writer_->Values(emf::kSetTextAlign, {static_cast<std::int32_t>(align)});
    return DeviceContext::SetTextAlign(align);
}

void EmfRecorder::MoveTo(int x, int y)
{
    writer_->Values(emf::kMoveToEx, {x, y});
    DeviceContext::MoveTo(x, y);
}

void EmfRecorder::LineTo(int x, int y)
{
    writer_->Values(emf::kLineTo, {x, y});
    const Point a = LogicalToDevice(CurrentPosition());
    const Point b = LogicalToDevice(Point{x, y});
    writer_->Touch(Rect{a.x, a.y, b.x, b.y}.Normalized());
    writer_->Touch({b.x, b.y, b.x + 1, b.y + 1});
    DeviceContext::LineTo(x, y);
}

void EmfRecorder::Rectangle(int left, int top, int right, int bottom)
{
    writer_->Values(emf::kRectangle, {left, top, right, bottom});
    writer_->Touch(LogicalToDevice(Rect{left, top, right, bottom}));
    if (HasOpenPath()) // a recorder paints nothing; only a path takes the figure
        DeviceContext::Rectangle(left, top, right, bottom);
}

void EmfRecorder::Ellipse(int left, int top, int right, int bottom)
{
    writer_->Values(emf::kEllipse, {left, top, right, bottom});
    writer_->Touch(LogicalToDevice(Rect{left, top, right, bottom}));
    DeviceContext::Ellipse(left, top, right, bottom);
}

void EmfRecorder::FillRect(const Rect& rect, ColorRef color)
{
    // Recorded as a rectangle whose one-pixel outline and fill share the
    // colour: the same pixels in every reader.
    Writer& w = *writer_;
    const ColorRef rgb = ColorToRgb(color);
    const std::uint32_t pen = w.pen;
    const std::uint32_t brush = w.brush;
    w.Select(w.pen, Pen{PenStyle::Solid, 0, rgb});
    w.Select(w.brush, Brush{BrushStyle::Solid, rgb});
    const Rect r = rect;
    w.Values(emf::kRectangle, {r.left, r.top, r.right, r.bottom});
    w.Touch(LogicalToDevice(r));
    if (w.pen != pen)
        w.Values(emf::kSelectObject, {static_cast<std::int32_t>(w.pen = pen)});
    if (w.brush != brush)
        w.Values(emf::kSelectObject, {static_cast<std::int32_t>(w.brush = brush)});
}

void EmfRecorder::TextOut(int x, int y, std::string_view bytes)
{
    Writer& w = *writer_;
    std::u16string text;
    std::vector<int> dx;
    const bool symbol = CurrentFont().charSet == kSymbolCharset;
    auto add = [&](std::string_view ch) {
        const std::u16string units = symbol ? std::u16string(1, static_cast<unsigned char>(ch[0])) : Cp932ToUtf16(ch);
        const int advance = GetTextExtent(ch).cx;
        for (std::size_t i = 0; i < units.size(); ++i) {
            text += units[i];
            dx.push_back(i == 0 ? advance : 0);
        }
    };
    if (symbol)
        for (std::size_t i = 0; i < bytes.size(); ++i)
            add(bytes.substr(i, 1));
    else
        ForEachChar(bytes, add);
    const TextGeometry geometry = LayoutText(x, y, bytes);
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const PathPoint& p : geometry.cell)
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    const Rect bounds{static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)),
                      static_cast<int>(std::ceil(x1)), static_cast<int>(std::ceil(y1))};
    w.Touch(bounds);
    const std::uint32_t stringBytes = static_cast<std::uint32_t>((text.size() * 2 + 3) / 4 * 4);
    w.Begin(emf::kExtTextOutW);
    w.RectL(bounds.Empty() ? Rect{0, 0, -1, -1} : Rect{bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1});
    w.out.U32(1); // compatible graphics mode
    w.out.F32(0);
    w.out.F32(0);
    w.out.I32(x);
    w.out.I32(y);
    w.out.U32(static_cast<std::uint32_t>(text.size()));
    w.out.U32(76);
    w.out.U32(0);
    w.RectL({0, 0, -1, -1});
    w.out.U32(76 + stringBytes);
    for (char16_t c : text)
        w.out.U16(c);
    w.out.PadTo(4);
    for (int d : dx)
        w.out.I32(d);
    w.End();
    DeviceContext::TextOut(x, y, bytes);
}

void EmfRecorder::StretchDraw(const Rect& dest, const Bitmap& source, std::optional<ColorRef> transparentKey)
{
    if (source.Empty())
        return;
    WriteStretch(dest, EncodeCompactDib(source), Size{source.Width(), source.Height()}, transparentKey);
    DeviceContext::StretchDraw(dest, source, transparentKey);
}

void EmfRecorder::StretchDrawSpans(const Rect& dest, const SpanRaster& source)
{
    // The record a bitmap of these pixels gives, without the pixels.
    if (!source.Empty())
        WriteStretch(dest, EncodeCompactDib(source), Size{source.width, source.height}, std::nullopt);
}

void EmfRecorder::WriteStretch(const Rect& dest, const DibParts& dib, Size source,
                               std::optional<ColorRef> transparentKey)
{
    Writer& w = *writer_;
    const Rect device = LogicalToDevice(dest);
    w.Touch(device);
    const Rect bounds =
        device.Empty() ? Rect{0, 0, -1, -1} : Rect{device.left, device.top, device.right - 1, device.bottom - 1};
    if (transparentKey) {
        w.Begin(emf::kTransparentBlt);
        w.RectL(bounds);
        for (int v : {dest.left, dest.top, dest.Width(), dest.Height()})
            w.out.I32(v);
        w.out.U32(ColorToRgb(*transparentKey));
        w.out.I32(0);
        w.out.I32(0);
        for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
            w.out.F32(f);
        w.out.U32(0);
        w.out.U32(0);
        w.out.U32(108); // the fixed part of the record
        w.out.U32(static_cast<std::uint32_t>(dib.info.size()));
        w.out.U32(static_cast<std::uint32_t>(108 + dib.info.size()));
        w.out.U32(static_cast<std::uint32_t>(dib.bits.size()));
        w.out.I32(source.cx);
        w.out.I32(source.cy);
    } else {
        w.Begin(emf::kStretchDibits);
        w.RectL(bounds);
        for (int v : {dest.left, dest.top, 0, 0, source.cx, source.cy})
            w.out.I32(v);
        w.out.U32(80); // the fixed part of the record
        w.out.U32(static_cast<std::uint32_t>(dib.info.size()));
        w.out.U32(static_cast<std::uint32_t>(80 + dib.info.size()));
        w.out.U32(static_cast<std::uint32_t>(dib.bits.size()));
        w.out.U32(0);
        w.out.U32(emf::kSrcCopy);
        w.out.I32(dest.Width());
        w.out.I32(dest.Height());
    }
    w.out.Bytes(dib.info);
    w.out.Bytes(dib.bits);
    w.End();
}

void EmfRecorder::BeginPath()
{
    writer_->Simple(emf::kBeginPath);
    DeviceContext::BeginPath();
}

void EmfRecorder::EndPath()
{
    writer_->Simple(emf::kEndPath);
    DeviceContext::EndPath();
}

void EmfRecorder::CloseFigure()
{
    writer_->Simple(emf::kCloseFigure);
    DeviceContext::CloseFigure();
}

void EmfRecorder::FlattenPath()
{
    writer_->Simple(emf::kFlattenPath);
    DeviceContext::FlattenPath();
}

void EmfRecorder::PolyBezierTo(const std::vector<Point>& points)
{
    if (points.empty() || points.size() % 3 != 0)
        return;
    Writer& w = *writer_;
    w.Begin(emf::kPolyBezierTo);
    Rect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points)
        box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x), std::max(box.bottom, p.y)};
    const Rect device = LogicalToDevice(Rect{box.left, box.top, box.right + 1, box.bottom + 1});
    w.RectL(device);
    w.out.U32(static_cast<std::uint32_t>(points.size()));
    for (const Point& p : points) {
        w.out.I32(p.x);
        w.out.I32(p.y);
    }
    w.End();
    w.Touch(device);
    DeviceContext::PolyBezierTo(points);
}

namespace {
void PathBoundsRecord(ByteWriter& out, const Rect& bounds)
{
    out.I32(bounds.left);
    out.I32(bounds.top);
    out.I32(bounds.right);
    out.I32(bounds.bottom);
}
} // namespace

void EmfRecorder::StrokeAndFillPath()
{
    writer_->Begin(emf::kStrokeAndFillPath);
    PathBoundsRecord(writer_->out, writer_->BoundsOrEmpty());
    writer_->End();
    DeviceContext::StrokeAndFillPath();
}

void EmfRecorder::FillPath()
{
    writer_->Begin(emf::kFillPath);
    PathBoundsRecord(writer_->out, writer_->BoundsOrEmpty());
    writer_->End();
    DeviceContext::FillPath();
}

void EmfRecorder::StrokePath()
{
    writer_->Begin(emf::kStrokePath);
    PathBoundsRecord(writer_->out, writer_->BoundsOrEmpty());
    writer_->End();
    DeviceContext::StrokePath();
}

void EmfRecorder::SelectClipRegion(const Region* region)
{
    Writer& w = *writer_;
    w.Begin(emf::kExtSelectClipRgn);
    if (!region) {
        w.out.U32(0);
        w.out.U32(emf::kRgnCopy);
    } else {
        const std::vector<Rect> rects = region->Rects();
        w.out.U32(static_cast<std::uint32_t>(32 + 16 * rects.size()));
        w.out.U32(emf::kRgnCopy);
        w.out.U32(32);
        w.out.U32(1);
        w.out.U32(static_cast<std::uint32_t>(rects.size()));
        w.out.U32(static_cast<std::uint32_t>(16 * rects.size()));
        w.RectL(region->Bounds());
        for (const Rect& r : rects)
            w.RectL(r);
    }
    w.End();
    DeviceContext::SelectClipRegion(region);
}

} // namespace lx
