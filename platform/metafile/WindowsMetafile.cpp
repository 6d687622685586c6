#include "platform/metafile/WindowsMetafile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <variant>

#include "platform/metafile/ByteCursor.h"
#include "platform/metafile/Dib.h"
#include "platform/metafile/MetafileRaster.h"
#include "platform/metafile/PlaybackObjects.h"
#include "platform/metafile/SavedSelections.h"

namespace lx {

namespace wmf {
enum : std::uint16_t {
    kEof = 0x0000,
    kSetBkColor = 0x0201,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetPolyFillMode = 0x0106,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kSetViewportOrg = 0x020D,
    kSetViewportExt = 0x020E,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kSaveDC = 0x001E,
    kTextOut = 0x0521,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kRestoreDC = 0x0127,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kExtTextOut = 0x0A32,
    kPolyPolygon = 0x0538,
    kStretchDib = 0x0F43,
    kDeleteObject = 0x01F0,
    kCreatePalette = 0x00F7,
    kCreatePatternBrush = 0x01F9,
    kDibCreatePatternBrush = 0x0142,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kCreateRegion = 0x06FF,
};
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
} // namespace wmf

namespace {

int Clamp16(int v) { return std::clamp(v, -32768, 32767); }

} // namespace

// ---- reading

bool WindowsMetafile::LooksLikePlaceable(std::string_view bytes)
{
    return bytes.size() >= 4 && ByteReader(bytes).U32() == wmf::kPlaceableKey;
}

WindowsMetafile WindowsMetafile::FromBytes(std::string bytes)
{
    WindowsMetafile metafile;
    std::size_t start = 0;
    if (LooksLikePlaceable(bytes)) {
        ByteReader p(bytes);
        p.Seek(6);
        PlaceableHeader header;
        header.box.left = p.I16();
        header.box.top = p.I16();
        header.box.right = p.I16();
        header.box.bottom = p.I16();
        header.inch = p.U16();
        p.U32();
        p.U16();
        metafile.placeable_ = header;
        start = 22;
    }
    ByteReader h(std::string_view(bytes).substr(start));
    const std::uint16_t type = h.U16();
    const std::uint16_t headerWords = h.U16();
    h.U16();
    const std::uint32_t sizeWords = h.U32();
    metafile.objects_ = h.U16();
    if ((type != 1 && type != 2) || headerWords != 9)
        throw ReadError(kBadMetafileMessage);
    std::string_view body = std::string_view(bytes).substr(start);
    if (static_cast<std::uint64_t>(sizeWords) * 2 < body.size() && sizeWords >= 9)
        body = body.substr(0, static_cast<std::size_t>(sizeWords) * 2);
    std::size_t at = 18;
    bool ended = false;
    while (at < body.size() && !ended) {
        ByteReader rec(body.substr(at));
        const std::uint32_t words = rec.U32();
        const std::uint16_t function = rec.U16();
        if (words < 3 || words > (body.size() - at) / 2)
            throw ReadError(kBadMetafileMessage);
        ended = function == wmf::kEof;
        at += static_cast<std::size_t>(words) * 2;
    }
    if (!ended)
        throw ReadError(kBadMetafileMessage);
    metafile.bytes_ = std::string(body.substr(0, at));
    return metafile;
}

std::string WindowsMetafile::PlaceableBytes(const PlaceableHeader& header) const
{
    ByteWriter w;
    w.U32(wmf::kPlaceableKey);
    w.U16(0);
    w.I16(header.box.left);
    w.I16(header.box.top);
    w.I16(header.box.right);
    w.I16(header.box.bottom);
    w.U16(header.inch);
    w.U32(0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        checksum ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(w.Data()[i]) |
                                               (static_cast<std::uint8_t>(w.Data()[i + 1]) << 8));
    w.U16(checksum);
    w.Bytes(bytes_);
    return std::move(w.Data());
}

// ---- playback

namespace {

class WmfPlayer {
public:
    WmfPlayer(DeviceContext& dc, std::size_t objects) : dc_(dc), objects_(std::min<std::size_t>(objects, 0xFFFF)) {}

    void Play(std::string_view bytes)
    {
        std::size_t at = 18;
        while (at + 6 <= bytes.size()) {
            ByteReader head(bytes.substr(at));
            const std::uint32_t words = head.U32();
            const std::uint16_t function = head.U16();
            if (words < 3 || words > (bytes.size() - at) / 2)
                throw ReadError(kBadMetafileMessage);
            if (function == wmf::kEof)
                return;
            ByteReader r(bytes.substr(at + 6, static_cast<std::size_t>(words) * 2 - 6));
            Record(function, r);
            at += static_cast<std::size_t>(words) * 2;
        }
    }

private:
    std::vector<Point> Points(ByteReader& r, std::uint32_t count)
    {
        r.RequireItems(count, 4);
        std::vector<Point> points(count);
        for (Point& p : points) {
            p.x = r.I16();
            p.y = r.I16();
        }
        return points;
    }

    void Figure(const std::vector<Point>& points, bool closed)
    {
        if (points.empty())
            return;
        dc_.MoveTo(points[0].x, points[0].y);
        for (std::size_t i = 1; i < points.size(); ++i)
            dc_.LineTo(points[i].x, points[i].y);
        if (closed)
            dc_.CloseFigure();
    }

    void Polygons(const std::vector<std::vector<Point>>& polygons, bool closed)
    {
        const Point keep = dc_.CurrentPosition();
        if (closed) {
            dc_.BeginPath();
            for (const auto& polygon : polygons)
                Figure(polygon, true);
            dc_.EndPath();
            dc_.StrokeAndFillPath();
        } else {
            for (const auto& polygon : polygons)
                Figure(polygon, false);
        }
        dc_.MoveTo(keep.x, keep.y);
    }

    void Record(std::uint16_t function, ByteReader& r)
    {
        switch (function) {
        case wmf::kSetMapMode: {
            const int mode = r.U16();
            dc_.SetMapMode(mode == 7 ? MapMode::Isotropic : mode == 8 ? MapMode::Anisotropic : MapMode::Text);
            break;
        }
        case wmf::kSetWindowExt: {
            const int y = r.I16();
            dc_.SetWindowExt(r.I16(), y);
            break;
        }
        case wmf::kSetWindowOrg: {
            const int y = r.I16();
            dc_.SetWindowOrg(r.I16(), y);
            break;
        }
        case wmf::kSetViewportExt: {
            const int y = r.I16();
            dc_.SetViewportExt(r.I16(), y);
            break;
        }
        case wmf::kSetViewportOrg: {
            const int y = r.I16();
            dc_.SetViewportOrg(r.I16(), y);
            break;
        }
        case wmf::kSaveDC:
            dc_.SaveDC();
            ++depth_;
            break;
        case wmf::kRestoreDC: {
            const int relative = r.I16();
            if (relative < 0 && -relative <= depth_) {
                dc_.RestoreDC(relative);
                depth_ += relative;
            }
            break;
        }
        case wmf::kSetTextColor: dc_.SetTextColor(r.U32() & 0xFFFFFF); break;
        case wmf::kSetBkColor: dc_.SetBkColor(r.U32() & 0xFFFFFF); break;
        case wmf::kSetBkMode: dc_.SetBkMode(r.U16() == 1 ? BkMode::Transparent : BkMode::Opaque); break;
        case wmf::kSetTextAlign: dc_.SetTextAlign(r.U16()); break;
        case wmf::kCreatePenIndirect: {
            const std::uint16_t style = r.U16();
            const int width = r.I16();
            r.I16();
            objects_.Add(PenFromRecord(style, width, r.U32()));
            break;
        }
        case wmf::kCreateBrushIndirect: {
            const std::uint16_t style = r.U16();
            objects_.Add(Brush{style == 1 ? BrushStyle::Clear : BrushStyle::Solid, r.U32() & 0xFFFFFF});
            break;
        }
        case wmf::kCreateFontIndirect: objects_.Add(ReadFont(r)); break;
        case wmf::kCreatePalette:
        case wmf::kCreatePatternBrush:
        case wmf::kDibCreatePatternBrush:
        case wmf::kCreateRegion: objects_.Add(OtherObject{}); break;
        case wmf::kSelectObject: objects_.Select(dc_, r.U16()); break;
        case wmf::kDeleteObject: objects_.Delete(r.U16()); break;
        case wmf::kMoveTo: {
            const int y = r.I16();
            dc_.MoveTo(r.I16(), y);
            break;
        }
        case wmf::kLineTo: {
            const int y = r.I16();
            dc_.LineTo(r.I16(), y);
            break;
        }
        case wmf::kRectangle:
        case wmf::kEllipse: {
            const int bottom = r.I16(), right = r.I16(), top = r.I16(), left = r.I16();
            if (function == wmf::kRectangle)
                dc_.Rectangle(left, top, right, bottom);
            else
                dc_.Ellipse(left, top, right, bottom);
            break;
        }
        case wmf::kIntersectClipRect: {
            const int bottom = r.I16(), right = r.I16(), top = r.I16(), left = r.I16();
            const Region region = Region::FromRect(dc_.LogicalToDevice(Rect{left, top, right, bottom}));
            const auto current = dc_.ClipRegion();
            const Region clip = current ? current->Intersected(region) : region;
            dc_.SelectClipRegion(&clip);
            break;
        }
        case wmf::kTextOut: {
            const std::uint16_t length = r.U16();
            const std::string text(r.Bytes(length));
            r.Bytes(length % 2);
            const int y = r.I16();
            dc_.TextOut(r.I16(), y, text);
            break;
        }
        case wmf::kExtTextOut: {
            const int y = r.I16();
            const int x = r.I16();
            const std::uint16_t length = r.U16();
            const std::uint16_t options = r.U16();
            if (options & 0x0006) // opaque or clipped: a rectangle comes first
                r.Bytes(8);
            dc_.TextOut(x, y, std::string(r.Bytes(length)));
            break;
        }
        case wmf::kPolygon:
        case wmf::kPolyline: {
            const std::uint16_t count = r.U16();
            Polygons({Points(r, count)}, function == wmf::kPolygon);
            break;
        }
        case wmf::kPolyPolygon: {
            const std::uint16_t polygons = r.U16();
            r.RequireItems(polygons, 2);
            std::vector<std::uint16_t> counts(polygons);
            for (auto& c : counts)
                c = r.U16();
            std::vector<std::vector<Point>> all;
            for (std::uint16_t c : counts)
                all.push_back(Points(r, c));
            Polygons(all, true);
            break;
        }
        case wmf::kStretchDib: {
            const std::uint32_t rop = r.U32();
            r.U16();
            const int srcHeight = r.I16(), srcWidth = r.I16(), ySrc = r.I16(), xSrc = r.I16();
            const int destHeight = r.I16(), destWidth = r.I16(), yDest = r.I16(), xDest = r.I16();
            if (rop != wmf::kSrcCopy)
                break;
            const std::string_view dib = r.Bytes(r.Remaining());
            Bitmap bitmap = DecodePackedDib(dib);
            if (xSrc != 0 || ySrc != 0 || srcWidth != bitmap.Width() || srcHeight != bitmap.Height()) {
                Bitmap part(std::max(0, std::min(srcWidth, bitmap.Width() - xSrc)),
                            std::max(0, std::min(srcHeight, bitmap.Height() - ySrc)));
                for (int yy = 0; yy < part.Height(); ++yy)
                    for (int xx = 0; xx < part.Width(); ++xx)
                        if (bitmap.Contains(xx + xSrc, yy + ySrc))
                            part.SetPixel(xx, yy, bitmap.Pixel(xx + xSrc, yy + ySrc));
                bitmap = std::move(part);
            }
            dc_.StretchDraw(RectFromSize(xDest, yDest, destWidth, destHeight), bitmap);
            break;
        }
        default: break;
        }
    }

    static LogFont ReadFont(ByteReader& r)
    {
        LogFont f;
        f.height = r.I16();
        f.width = r.I16();
        f.escapement = r.I16();
        f.orientation = r.I16();
        f.weight = r.I16();
        ReadLogFontStyle(r, f);
        const std::string_view face = r.Bytes(std::min<std::size_t>(32, r.Remaining()));
        f.faceName = std::string(face.substr(0, std::min(face.find('\0'), std::size_t{31})));
        return f;
    }

    DeviceContext& dc_;
    PlaybackObjects objects_;
    int depth_ = 0;
};

} // namespace

void PlayWindowsMetafile(DeviceContext& dc, const WindowsMetafile& metafile)
{
    if (metafile.Empty())
        return;
    const int level = dc.SaveDC();
    try {
        WmfPlayer(dc, metafile.ObjectCount()).Play(metafile.Bytes());
    } catch (...) {
        dc.RestoreDC(level);
        throw;
    }
    dc.RestoreDC(level);
}

void PlayWindowsMetafile(DeviceContext& dc, const WindowsMetafile& metafile, const Rect& dest)
{
    if (metafile.Empty())
        return;
    if (dc.PlaysPicturesAsBitmaps()) {
        DrawThroughBitmap(
            dc, dest, [&](DeviceContext& raster, const Rect& area) { PlayWindowsMetafile(raster, metafile, area); });
        return;
    }
    const Transform t = dc.CurrentTransform();
    const int level = dc.SaveDC();
    dc.BeginPlayback({1, 1, 0, 0});
    // The viewport is the destination in device pixels of the target.
    const auto px = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    const int left = px(dest.left * t.sx + t.dx);
    const int top = px(dest.top * t.sy + t.dy);
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetViewportOrg(left, top);
    dc.SetViewportExt(px(dest.right * t.sx + t.dx) - left, px(dest.bottom * t.sy + t.dy) - top);
    if (const auto& header = metafile.Placeable()) {
        dc.SetWindowOrg(header->box.left, header->box.top);
        dc.SetWindowExt(header->box.Width(), header->box.Height());
    }
    try {
        PlayWindowsMetafile(dc, metafile);
    } catch (...) {
        dc.RestoreDC(level);
        throw;
    }
    dc.RestoreDC(level);
}

// ---- recording

using WmfObject = std::variant<Pen, Brush, LogFont>;

struct WmfRecorder::Writer {
    ByteWriter out;
    std::uint32_t maxRecord = 3;
    std::size_t start = 0;
    std::vector<std::optional<WmfObject>> slots;
    std::size_t maxSlots = 0;
    int pen = -1;
    int brush = -1;
    int font = -1;
    SavedSelections<int> saved;

    void Begin(std::uint16_t function)
    {
        start = out.Size();
        out.U32(0);
        out.U16(function);
    }
    void End()
    {
        out.PadTo(2);
        const auto words = static_cast<std::uint32_t>((out.Size() - start) / 2);
        out.PatchU32(start, words);
        maxRecord = std::max(maxRecord, words);
    }
    void Values(std::uint16_t function, std::initializer_list<int> values)
    {
        Begin(function);
        for (int v : values)
            out.I16(Clamp16(v));
        End();
    }
    void Color(std::uint16_t function, ColorRef color)
    {
        Begin(function);
        out.U32(color);
        End();
    }

    int Handle(const WmfObject& value)
    {
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (slots[i] && *slots[i] == value)
                return static_cast<int>(i);
        if (slots.size() > 1024)
            DropUnselected();
        std::size_t index = 0;
        while (index < slots.size() && slots[index])
            ++index;
        if (index == slots.size())
            slots.emplace_back();
        slots[index] = value;
        maxSlots = std::max(maxSlots, slots.size());
        Create(value);
        return static_cast<int>(index);
    }
    void DropUnselected()
    {
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (slots[i] && static_cast<int>(i) != pen && static_cast<int>(i) != brush && static_cast<int>(i) != font) {
                Values(wmf::kDeleteObject, {static_cast<int>(i)});
                slots[i].reset();
            }
    }
    void Create(const WmfObject& value)
    {
        if (const Pen* p = std::get_if<Pen>(&value)) {
            Begin(wmf::kCreatePenIndirect);
            out.U16(static_cast<std::uint16_t>(p->style));
            out.I16(Clamp16(p->width));
            out.I16(0);
            out.U32(p->color);
            End();
        } else if (const Brush* b = std::get_if<Brush>(&value)) {
            Begin(wmf::kCreateBrushIndirect);
            out.U16(b->style == BrushStyle::Clear ? 1 : 0);
            out.U32(b->color);
            out.U16(0);
            End();
        } else {
            const LogFont& f = std::get<LogFont>(value);
            Begin(wmf::kCreateFontIndirect);
            for (int v : {f.height, f.width, f.escapement, f.orientation, f.weight})
                out.I16(Clamp16(v));
            for (std::uint8_t v : {std::uint8_t(f.italic), std::uint8_t(f.underline), std::uint8_t(f.strikeOut),
                                   f.charSet, f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily})
                out.U8(v);
            std::string face = f.faceName.substr(0, 31);
            face.resize(32, '\0');
            out.Bytes(face);
            End();
        }
    }
    void Select(int& current, const WmfObject& value)
    {
        const int handle = Handle(value);
        if (handle == current)
            return;
        Values(wmf::kSelectObject, {handle});
        current = handle;
    }
};

WmfRecorder::WmfRecorder(const DeviceInfo& reference) : DeviceContext(reference), writer_(std::make_unique<Writer>())
{
    writer_->Select(writer_->pen, CurrentPen());
    writer_->Select(writer_->brush, CurrentBrush());
    writer_->Select(writer_->font, CurrentFont());
}

WmfRecorder::~WmfRecorder() = default;

WindowsMetafile WmfRecorder::Close()
{
    Writer& w = *writer_;
    w.Begin(wmf::kEof);
    w.End();
    ByteWriter h;
    h.U16(1);
    h.U16(9);
    h.U16(0x0300);
    h.U32(static_cast<std::uint32_t>((18 + w.out.Size()) / 2));
    h.U16(static_cast<std::uint16_t>(w.maxSlots));
    h.U32(w.maxRecord);
    h.U16(0);
    std::string bytes = std::move(h.Data());
    bytes += w.out.Data();
    return WindowsMetafile::FromBytes(std::move(bytes));
}

void WmfRecorder::SetMapMode(MapMode mode)
{
    writer_->Values(wmf::kSetMapMode, {static_cast<int>(mode)});
    DeviceContext::SetMapMode(mode);
}

void WmfRecorder::SetWindowExt(int cx, int cy)
{
    writer_->Values(wmf::kSetWindowExt, {cy, cx});
    DeviceContext::SetWindowExt(cx, cy);
}

void WmfRecorder::SetWindowOrg(int x, int y)
{
    writer_->Values(wmf::kSetWindowOrg, {y, x});
    DeviceContext::SetWindowOrg(x, y);
}

void WmfRecorder::SetViewportExt(int cx, int cy)
{
    writer_->Values(wmf::kSetViewportExt, {cy, cx});
    DeviceContext::SetViewportExt(cx, cy);
}

void WmfRecorder::SetViewportOrg(int x, int y)
{
    writer_->Values(wmf::kSetViewportOrg, {y, x});
    DeviceContext::SetViewportOrg(x, y);
}

int WmfRecorder::SaveDC()
{
    writer_->Values(wmf::kSaveDC, {});
    writer_->saved.Push(writer_->pen, writer_->brush, writer_->font);
    return DeviceContext::SaveDC();
}

bool WmfRecorder::RestoreDC(int level)
{
    const auto relative = writer_->saved.Pop(level, writer_->pen, writer_->brush, writer_->font);
    if (!relative)
        return false;
    writer_->Values(wmf::kRestoreDC, {*relative});
    return DeviceContext::RestoreDC(level);
}

Pen WmfRecorder::SelectPen(const Pen& pen)
{
    const Pen previous = DeviceContext::SelectPen(pen);
    writer_->Select(writer_->pen, CurrentPen());
    return previous;
}

Brush WmfRecorder::SelectBrush(const Brush& brush)
{
    const Brush previous = DeviceContext::SelectBrush(brush);
    writer_->Select(writer_->brush, CurrentBrush());
    return previous;
}

LogFont WmfRecorder::SelectFont(const LogFont& font)
{
    const LogFont previous = DeviceContext::SelectFont(font);
    writer_->Select(writer_->font, CurrentFont());
    return previous;
}

ColorRef WmfRecorder::SetTextColor(ColorRef color)
{
    const ColorRef previous = DeviceContext::SetTextColor(color);
    writer_->Color(wmf::kSetTextColor, GetTextColor());
    return previous;
}

ColorRef WmfRecorder::SetBkColor(ColorRef color)
{
    const ColorRef previous = DeviceContext::SetBkColor(color);
    writer_->Color(wmf::kSetBkColor, GetBkColor());
    return previous;
}

BkMode WmfRecorder::SetBkMode(BkMode mode)
{
    writer_->Values(wmf::kSetBkMode, {static_cast<int>(mode)});
    return DeviceContext::SetBkMode(mode);
}

std::uint32_t WmfRecorder::SetTextAlign(std::uint32_t align)
{
    writer_->Values(wmf::kSetTextAlign, {static_cast<int>(align)});
    return DeviceContext::SetTextAlign(align);
}

void WmfRecorder::MoveTo(int x, int y)
{
    // Figures inside a path reach the file as the path's polygons.
    if (!HasOpenPath())
        writer_->Values(wmf::kMoveTo, {y, x});
    DeviceContext::MoveTo(x, y);
}

void WmfRecorder::LineTo(int x, int y)
{
    // Figures inside a path reach the file as the path's polygons.
    if (!HasOpenPath())
        writer_->Values(wmf::kLineTo, {y, x});
    DeviceContext::LineTo(x, y);
}

void WmfRecorder::Rectangle(int left, int top, int right, int bottom)
{
    // Figures inside a path reach the file as the path's polygons.
    if (!HasOpenPath())
        writer_->Values(wmf::kRectangle, {bottom, right, top, left});
    DeviceContext::Rectangle(left, top, right, bottom);
}

void WmfRecorder::Ellipse(int left, int top, int right, int bottom)
{
    // Figures inside a path reach the file as the path's polygons.
    if (!HasOpenPath())
        writer_->Values(wmf::kEllipse, {bottom, right, top, left});
    DeviceContext::Ellipse(left, top, right, bottom);
}

void WmfRecorder::FillRect(const Rect& rect, ColorRef color)
{
    Writer& w = *writer_;
    const int pen = w.pen;
    const int brush = w.brush;
    const ColorRef rgb = ColorToRgb(color);
    w.Select(w.pen, Pen{PenStyle::Solid, 0, rgb});
    w.Select(w.brush, Brush{BrushStyle::Solid, rgb});
    w.Values(wmf::kRectangle, {rect.bottom, rect.right, rect.top, rect.left});
    if (w.pen != pen)
        w.Values(wmf::kSelectObject, {w.pen = pen});
    if (w.brush != brush)
        w.Values(wmf::kSelectObject, {w.brush = brush});
}

void WmfRecorder::TextOut(int x, int y, std::string_view bytes)
{
    Writer& w = *writer_;
    if (HasOpenPath()) {
        DeviceContext::TextOut(x, y, bytes);
        return;
    }
    const std::string_view text = bytes.substr(0, 0x7FFF);
    w.Begin(wmf::kExtTextOut);
    w.out.I16(Clamp16(y));
    w.out.I16(Clamp16(x));
    w.out.U16(static_cast<std::uint16_t>(text.size()));
    w.out.U16(0);
    w.out.Bytes(text);
    w.End();
    DeviceContext::TextOut(x, y, bytes);
}

void WmfRecorder::StretchDraw(const Rect& dest, const Bitmap& source, std::optional<ColorRef> transparentKey)
{
    if (source.Empty())
        return;
    Writer& w = *writer_;
    w.Begin(wmf::kStretchDib);
    w.out.U32(wmf::kSrcCopy);
    w.out.U16(0);
    for (int v : {source.Height(), source.Width(), 0, 0, dest.Height(), dest.Width(), dest.top, dest.left})
        w.out.I16(Clamp16(v));
    w.out.Bytes(PackedDib(source));
    w.End();
    DeviceContext::StretchDraw(dest, source, transparentKey);
}

void WmfRecorder::PathAsPolygons(bool fill, bool stroke)
{
    DeviceContext::FlattenPath();
    const int count = GetPath(nullptr, nullptr, 0);
    if (count <= 0)
        return;
    std::vector<Point> points(static_cast<std::size_t>(count));
    std::vector<std::uint8_t> types(static_cast<std::size_t>(count));
    GetPath(points.data(), types.data(), count);
    std::vector<std::vector<Point>> figures;
    std::vector<bool> closed;
    for (int i = 0; i < count; ++i) {
        if (types[i] == kPtMoveTo || figures.empty()) {
            figures.emplace_back();
            closed.push_back(false);
        }
        figures.back().push_back(points[static_cast<std::size_t>(i)]);
        if (types[i] & kPtCloseFigure)
            closed.back() = true;
    }
    Writer& w = *writer_;
    if (fill) {
        const int pen = w.pen;
        if (!stroke)
            w.Select(w.pen, Pen{PenStyle::Null, 0, 0});
        w.Values(wmf::kSetPolyFillMode, {1});
        w.Begin(wmf::kPolyPolygon);
        w.out.U16(static_cast<std::uint16_t>(figures.size()));
        for (const auto& f : figures)
            w.out.U16(static_cast<std::uint16_t>(f.size()));
        for (const auto& f : figures)
            for (const Point& p : f) {
                w.out.I16(Clamp16(p.x));
                w.out.I16(Clamp16(p.y));
            }
        w.End();
        if (w.pen != pen)
            w.Values(wmf::kSelectObject, {w.pen = pen});
        return;
    }
    for (std::size_t k = 0; k < figures.size(); ++k) {
        std::vector<Point> line = figures[k];
        if (closed[k])
            line.push_back(line.front());
        w.Begin(wmf::kPolyline);
        w.out.U16(static_cast<std::uint16_t>(line.size()));
        for (const Point& p : line) {
            w.out.I16(Clamp16(p.x));
            w.out.I16(Clamp16(p.y));
        }
        w.End();
    }
}

void WmfRecorder::StrokeAndFillPath()
{
    PathAsPolygons(true, true);
    DeviceContext::StrokeAndFillPath();
}

void WmfRecorder::FillPath()
{
    PathAsPolygons(true, false);
    DeviceContext::FillPath();
}

void WmfRecorder::StrokePath()
{
    PathAsPolygons(false, true);
    DeviceContext::StrokePath();
}

} // namespace lx
