#include "platform/metafile/EnhMetafile.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/metafile/ByteCursor.h"
#include "platform/metafile/Dib.h"
#include "platform/metafile/EmfRecords.h"
#include "platform/metafile/MetafileRaster.h"
#include "platform/metafile/PlaybackObjects.h"
#include "platform/text/Cp932.h"

namespace lx {

namespace {

Rect ReadRect(ByteReader& r)
{
    Rect rect;
    rect.left = r.I32();
    rect.top = r.I32();
    rect.right = r.I32();
    rect.bottom = r.I32();
    return rect;
}

Size ReadSize(ByteReader& r)
{
    Size size;
    size.cx = r.I32();
    size.cy = r.I32();
    return size;
}

} // namespace

bool EnhMetafile::LooksLikeEmf(std::string_view bytes)
{
    if (bytes.size() < 44)
        return false;
    ByteReader r(bytes);
    const std::uint32_t type = r.U32();
    r.Seek(40);
    return type == emf::kHeader && r.U32() == emf::kSignature;
}

EnhMetafile EnhMetafile::FromBytes(std::string bytes)
{
    if (!LooksLikeEmf(bytes) || bytes.size() < 88)
        throw ReadError(kBadMetafileMessage);
    EnhMetafile metafile;
    EmfHeader& h = metafile.header_;
    ByteReader r(bytes);
    r.U32();
    const std::uint32_t headerSize = r.U32();
    h.bounds = ReadRect(r);
    h.frame = ReadRect(r);
    r.U32();
    r.U32();
    h.bytes = r.U32();
    h.records = r.U32();
    h.handles = r.U16();
    r.U16();
    const std::uint32_t descriptionChars = r.U32();
    const std::uint32_t descriptionOffset = r.U32();
    r.U32();
    h.device = ReadSize(r);
    h.millimeters = ReadSize(r);
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > bytes.size() || h.bytes < headerSize)
        throw ReadError(kBadMetafileMessage);
    if (h.bytes < bytes.size())
        bytes.resize(h.bytes); // clipboard blocks may carry slack behind the metafile
    if (descriptionChars > 0 && descriptionOffset >= 88 &&
        static_cast<std::uint64_t>(descriptionOffset) + 2ull * descriptionChars <= headerSize) {
        ByteReader d(std::string_view(bytes).substr(descriptionOffset, 2ull * descriptionChars));
        for (std::uint32_t i = 0; i < descriptionChars; ++i)
            h.description += static_cast<char16_t>(d.U16());
    }
    // The record chain must fit the bytes exactly, up to the end record.
    std::size_t at = headerSize;
    bool ended = false;
    while (at < bytes.size() && !ended) {
        ByteReader rec(std::string_view(bytes).substr(at));
        const std::uint32_t type = rec.U32();
        const std::uint32_t size = rec.U32();
        if (size < 8 || size % 4 != 0 || size > bytes.size() - at)
            throw ReadError(kBadMetafileMessage);
        ended = type == emf::kEof;
        at += size;
    }
    if (!ended)
        throw ReadError(kBadMetafileMessage);
    bytes.resize(at);
    metafile.bytes_ = std::move(bytes);
    return metafile;
}

namespace {

// A frame length in 0.01 mm as pixels of a device of `pixels` over `mm`.
int FramePixels(int frame, int pixels, int mm)
{
    if (mm <= 0)
        return 0;
    const double size = static_cast<double>(frame) * pixels / (mm * 100.0);
    return static_cast<int>(std::llround(std::clamp(size, -1e9, 1e9))); // half away from zero
}

} // namespace

Size EnhMetafile::PixelSize() const
{
    return {FramePixels(header_.frame.Width(), header_.device.cx, header_.millimeters.cx),
            FramePixels(header_.frame.Height(), header_.device.cy, header_.millimeters.cy)};
}

Rect FrameForPixels(Size pixels, const DeviceInfo& reference)
{
    auto hundredths = [](int px, int mm, int res) {
        return static_cast<int>(std::llround(static_cast<double>(px) * mm * 100.0 / res));
    };
    return {0, 0, hundredths(pixels.cx, reference.horzSizeMm, reference.horzRes),
            hundredths(pixels.cy, reference.vertSizeMm, reference.vertRes)};
}

namespace {

// Replays EMF records onto a device context.
class EmfPlayer {
public:
    EmfPlayer(DeviceContext& dc, const Transform& outer, std::size_t handles)
        : dc_(dc), outer_(outer), objects_(std::min<std::size_t>(handles, 0xFFFF))
    {
    }

    void Play(std::string_view bytes)
    {
        ByteReader all(bytes);
        all.Seek(4);
        std::size_t at = all.U32();
        while (at < bytes.size()) {
            ByteReader head(bytes.substr(at));
            const std::uint32_t type = head.U32();
            const std::uint32_t size = head.U32();
            if (size < 8 || size > bytes.size() - at)
                throw ReadError(kBadMetafileMessage);
            if (type == emf::kEof)
                return;
            ByteReader record(bytes.substr(at, size));
            record.Seek(8);
            Record(type, record);
            at += size;
        }
    }

private:
    std::vector<Point> ReadPoints(ByteReader& r, std::uint32_t count, bool small)
    {
        r.RequireItems(count, small ? 4 : 8);
        std::vector<Point> points(count);
        for (Point& p : points) {
            p.x = small ? r.I16() : r.I32();
            p.y = small ? r.I16() : r.I32();
        }
        return points;
    }

    void Polygon(const std::vector<Point>& points, bool closed, bool fromCurrent)
    {
        if (points.empty())
            return;
        const bool ownPath = !dc_.HasOpenPath();
        const Point keep = dc_.CurrentPosition();
        if (ownPath && closed)
            dc_.BeginPath();
        std::size_t first = 0;
        if (!fromCurrent) {
            dc_.MoveTo(points[0].x, points[0].y);
            first = 1;
        }
        for (std::size_t i = first; i < points.size(); ++i)
            dc_.LineTo(points[i].x, points[i].y);
        if (closed)
            dc_.CloseFigure();
        if (ownPath && closed) {
            dc_.EndPath();
            dc_.StrokeAndFillPath();
        }
        if (!fromCurrent)
            dc_.MoveTo(keep.x, keep.y);
    }

    void SelectClip(ByteReader& r)
    {
        const std::uint32_t dataSize = r.U32();
        const std::uint32_t mode = r.U32();
        if (dataSize == 0) {
            if (mode == emf::kRgnCopy)
                dc_.SelectClipRegion(nullptr);
            return;
        }
        r.U32();
        r.U32();
        const std::uint32_t count = r.U32();
        r.U32();
        ReadRect(r);
        r.RequireItems(count, 16);
        std::vector<Rect> rects(count);
        double rows = 0;
        for (Rect& rect : rects) {
            rect = ReadRect(r);
            rows += std::min(std::abs((double(rect.bottom) - rect.top) * outer_.sy), 4.0 * kRegionLimit);
        }
        if (rows > (1 << 22)) // far more than any page holds
            throw ReadError(kBadMetafileMessage);
        Region region = Region::FromRects(rects).Transformed(outer_.sx, outer_.sy, outer_.dx, outer_.dy);
        if (mode == emf::kRgnAnd) {
            if (const auto current = dc_.ClipRegion())
                region = region.Intersected(*current);
        } else if (mode != emf::kRgnCopy) {
            return; // combinations we never write
        }
        dc_.SelectClipRegion(&region);
    }

    void Text(ByteReader& r, bool wide)
    {
        ReadRect(r);
        r.U32();
        r.U32();
        r.U32();
        const int x = r.I32();
        const int y = r.I32();
        const std::uint32_t chars = r.U32();
        const std::uint32_t offset = r.U32();
        const std::string_view raw = r.Range(offset, static_cast<std::uint64_t>(chars) * (wide ? 2 : 1));
        std::string bytes;
        if (!wide) {
            bytes = raw;
        } else {
            ByteReader s(raw);
            std::u16string text;
            for (std::uint32_t i = 0; i < chars; ++i)
                text += static_cast<char16_t>(s.U16());
            if (dc_.CurrentFont().charSet == kSymbolCharset)
                for (char16_t c : text)
                    bytes += static_cast<char>(c & 0xFF);
            else
                bytes = Utf16ToCp932(text);
        }
        dc_.TextOut(x, y, bytes);
    }

    void Bitmap(ByteReader& r, std::uint32_t type)
    {
        ReadRect(r);
        int xDest = r.I32(), yDest = r.I32();
        int xSrc = 0, ySrc = 0, cxSrc = 0, cySrc = 0, cxDest = 0, cyDest = 0;
        std::uint32_t offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0, rop = 0;
        std::optional<ColorRef> key;
        if (type == emf::kStretchDibits) {
            xSrc = r.I32(), ySrc = r.I32(), cxSrc = r.I32(), cySrc = r.I32();
            offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
            r.U32();
            rop = r.U32();
            cxDest = r.I32(), cyDest = r.I32();
        } else if (type == emf::kTransparentBlt) {
            cxDest = r.I32(), cyDest = r.I32();
            key = r.U32();
            rop = emf::kSrcCopy;
            xSrc = r.I32(), ySrc = r.I32();
            r.Bytes(24 + 4 + 4);
            offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
            cxSrc = r.I32(), cySrc = r.I32();
        } else { // a block transfer: only the pattern fill without a source is drawn
            cxDest = r.I32(), cyDest = r.I32();
            rop = r.U32();
            if (rop == emf::kPatCopy && dc_.CurrentBrush().style == BrushStyle::Solid)
                dc_.FillRect(RectFromSize(xDest, yDest, cxDest, cyDest), dc_.CurrentBrush().color);
            return;
        }
        if (rop != emf::kSrcCopy || cbBmi == 0)
            return;
        const Rect dest = RectFromSize(xDest, yDest, cxDest, cyDest);
        if (!key && dc_.TakesSpans()) {
            // A two-colour picture (a symbol) stays spans when the whole of it is drawn.
            std::optional<SpanRaster> spans = DecodeDibSpans(r.Range(offBmi, cbBmi), r.Range(offBits, cbBits));
            if (spans && xSrc == 0 && ySrc == 0 && cxSrc == spans->width && cySrc == spans->height) {
                dc_.StretchDrawSpans(dest, *spans);
                return;
            }
        }
        const lx::Bitmap whole = DecodeDib(r.Range(offBmi, cbBmi), r.Range(offBits, cbBits));
        const lx::Bitmap part = Crop(whole, xSrc, ySrc, cxSrc, cySrc);
        dc_.StretchDraw(dest, part, key);
    }

    static lx::Bitmap Crop(const lx::Bitmap& bitmap, int x, int y, int w, int h)
    {
        if (x == 0 && y == 0 && w == bitmap.Width() && h == bitmap.Height())
            return bitmap;
        const Rect r = RectFromSize(x, y, w, h);
        const int x0 = std::clamp(r.left, 0, bitmap.Width()), y0 = std::clamp(r.top, 0, bitmap.Height());
        const int x1 = std::clamp(r.right, x0, bitmap.Width()), y1 = std::clamp(r.bottom, y0, bitmap.Height());
        lx::Bitmap part(x1 - x0, y1 - y0);
        for (int row = y0; row < y1; ++row)
            for (int col = x0; col < x1; ++col)
                part.SetPixel(col - x0, row - y0, bitmap.Pixel(col, row));
        return part;
    }

    void Record(std::uint32_t type, ByteReader& r)
    {
        switch (type) {
        case emf::kSetMapMode: {
            const std::uint32_t mode = r.U32();
            dc_.SetMapMode(mode == 7 ? MapMode::Isotropic : mode == 8 ? MapMode::Anisotropic : MapMode::Text);
            break;
        }
        case emf::kSetWindowExtEx: {
            const int cx = r.I32();
            dc_.SetWindowExt(cx, r.I32());
            break;
        }
        case emf::kSetWindowOrgEx: {
            const int x = r.I32();
            dc_.SetWindowOrg(x, r.I32());
            break;
        }
        case emf::kSetViewportExtEx: {
            const int cx = r.I32();
            dc_.SetViewportExt(cx, r.I32());
            break;
        }
        case emf::kSetViewportOrgEx: {
            const int x = r.I32();
            dc_.SetViewportOrg(x, r.I32());
            break;
        }
        case emf::kSaveDC:
            dc_.SaveDC();
            ++depth_;
            break;
        case emf::kRestoreDC: {
            const int relative = r.I32();
            if (relative < 0 && -relative <= depth_) {
                dc_.RestoreDC(relative);
                depth_ += relative;
            }
            break;
        }
        case emf::kSetTextColor: dc_.SetTextColor(r.U32() & 0xFFFFFF); break;
        case emf::kSetBkColor: dc_.SetBkColor(r.U32() & 0xFFFFFF); break;
        case emf::kSetBkMode: dc_.SetBkMode(r.U32() == 1 ? BkMode::Transparent : BkMode::Opaque); break;
        case emf::kSetTextAlign: dc_.SetTextAlign(r.U32()); break;
        case emf::kCreatePen: {
            const std::uint32_t index = r.U32();
            const std::uint32_t style = r.U32();
            const int width = r.I32();
            r.I32();
            objects_.Put(index, PenFromRecord(style, width, r.U32()));
            break;
        }
        case emf::kExtCreatePen: {
            const std::uint32_t index = r.U32();
            r.Bytes(16);
            const std::uint32_t style = r.U32();
            const int width = r.I32();
            const std::uint32_t brushStyle = r.U32();
            const std::uint32_t color = r.U32();
            Pen pen = PenFromRecord(style & 0xF, (style & 0x10000) ? width : 0, color);
            if (brushStyle == 1)
                pen.style = PenStyle::Null;
            objects_.Put(index, pen);
            break;
        }
        case emf::kCreateBrushIndirect: {
            const std::uint32_t index = r.U32();
            const std::uint32_t style = r.U32();
            objects_.Put(index, Brush{style == 1 ? BrushStyle::Clear : BrushStyle::Solid, r.U32() & 0xFFFFFF});
            break;
        }
        case emf::kExtCreateFontIndirectW: {
            const std::uint32_t index = r.U32();
            objects_.Put(index, ReadLogFontW(r));
            break;
        }
        case emf::kSelectObject: objects_.Select(dc_, r.U32()); break;
        case emf::kDeleteObject: objects_.Delete(r.U32()); break;
        case emf::kMoveToEx: {
            const int x = r.I32();
            dc_.MoveTo(x, r.I32());
            break;
        }
        case emf::kLineTo: {
            const int x = r.I32();
            dc_.LineTo(x, r.I32());
            break;
        }
        case emf::kRectangle: {
            const Rect b = ReadRect(r);
            dc_.Rectangle(b.left, b.top, b.right, b.bottom);
            break;
        }
        case emf::kEllipse: {
            const Rect b = ReadRect(r);
            dc_.Ellipse(b.left, b.top, b.right, b.bottom);
            break;
        }
        case emf::kPolygon:
        case emf::kPolyline:
        case emf::kPolylineTo:
        case emf::kPolyBezierTo:
        case emf::kPolygon16:
        case emf::kPolyline16:
        case emf::kPolylineTo16:
        case emf::kPolyBezierTo16: {
            ReadRect(r);
            const bool small = type >= emf::kPolygon16;
            const std::uint32_t count = r.U32();
            const std::vector<Point> points = ReadPoints(r, count, small);
            if (type == emf::kPolyBezierTo || type == emf::kPolyBezierTo16)
                dc_.PolyBezierTo(points);
            else
                Polygon(points, type == emf::kPolygon || type == emf::kPolygon16,
                        type == emf::kPolylineTo || type == emf::kPolylineTo16);
            break;
        }
        case emf::kPolyPolygon16: {
            ReadRect(r);
            const std::uint32_t polygons = r.U32();
            const std::uint32_t total = r.U32();
            r.RequireItems(polygons, 4);
            std::vector<std::uint32_t> counts(polygons);
            std::uint64_t sum = 0;
            for (std::uint32_t& c : counts)
                sum += (c = r.U32());
            if (sum != total)
                throw ReadError(kBadMetafileMessage);
            const std::vector<Point> points = ReadPoints(r, total, true);
            const bool ownPath = !dc_.HasOpenPath();
            if (ownPath)
                dc_.BeginPath();
            std::size_t at = 0;
            for (std::uint32_t c : counts) {
                Polygon(std::vector<Point>(points.begin() + static_cast<long>(at),
                                           points.begin() + static_cast<long>(at + c)),
                        true, false);
                at += c;
            }
            if (ownPath) {
                dc_.EndPath();
                dc_.StrokeAndFillPath();
            }
            break;
        }
        case emf::kBeginPath: dc_.BeginPath(); break;
        case emf::kEndPath: dc_.EndPath(); break;
        case emf::kCloseFigure: dc_.CloseFigure(); break;
        case emf::kFlattenPath: dc_.FlattenPath(); break;
        case emf::kStrokeAndFillPath: dc_.StrokeAndFillPath(); break;
        case emf::kFillPath: dc_.FillPath(); break;
        case emf::kStrokePath: dc_.StrokePath(); break;
        case emf::kAbortPath:
            dc_.BeginPath();
            dc_.EndPath();
            break;
        case emf::kExtSelectClipRgn: SelectClip(r); break;
        case emf::kIntersectClipRect: {
            const Region region = Region::FromRect(dc_.LogicalToDevice(ReadRect(r)));
            const auto current = dc_.ClipRegion();
            const Region clip = current ? current->Intersected(region) : region;
            dc_.SelectClipRegion(&clip);
            break;
        }
        case emf::kExtTextOutW: Text(r, true); break;
        case emf::kExtTextOutA: Text(r, false); break;
        case emf::kStretchDibits:
        case emf::kTransparentBlt:
        case emf::kBitBlt: Bitmap(r, type); break;
        default: break; // records we do not draw
        }
    }

    DeviceContext& dc_;
    Transform outer_;
    PlaybackObjects objects_;
    int depth_ = 0;
};

} // namespace

namespace {

// What maps a picture of `pixels` whose frame begins at (frameX, frameY) of
// its device onto `dest`, x and y scaled separately.
Transform PictureTransform(const DeviceContext& dc, const Rect& dest, Size pixels, double frameX, double frameY)
{
    const Transform t = dc.CurrentTransform();
    const double left = dest.left * t.sx + t.dx;
    const double top = dest.top * t.sy + t.dy;
    Transform outer;
    outer.sx = (dest.right * t.sx + t.dx - left) / pixels.cx;
    outer.sy = (dest.bottom * t.sy + t.dy - top) / pixels.cy;
    outer.dx = left - frameX * outer.sx;
    outer.dy = top - frameY * outer.sy;
    return outer;
}

// Spans `draw` on a fresh state of dc under `outer`, then gives dc its state back.
template <typename Draw>
void DrawUnder(DeviceContext& dc, const Transform& outer, Draw draw)
{
    const int level = dc.SaveDC();
    dc.BeginPlayback(outer);
    try {
        draw();
    } catch (...) {
        dc.RestoreDC(level);
        throw;
    }
    dc.RestoreDC(level);
}

} // namespace

void PlayEnhMetafile(DeviceContext& dc, const EnhMetafile& metafile, const Rect& dest)
{
    if (metafile.Empty())
        return;
    if (dc.PlaysPicturesAsBitmaps()) {
        DrawThroughBitmap(dc, dest,
                          [&](DeviceContext& raster, const Rect& area) { PlayEnhMetafile(raster, metafile, area); });
        return;
    }
    const EmfHeader& h = metafile.Header();
    const Size pixels = metafile.PixelSize();
    if (pixels.cx <= 0 || pixels.cy <= 0)
        return;
    const double frameX = static_cast<double>(h.frame.left) * h.device.cx / (h.millimeters.cx * 100.0);
    const double frameY = static_cast<double>(h.frame.top) * h.device.cy / (h.millimeters.cy * 100.0);
    const Transform outer = PictureTransform(dc, dest, pixels, frameX, frameY);
    DrawUnder(dc, outer, [&] { EmfPlayer(dc, outer, h.handles).Play(metafile.Bytes()); });
}

void DrawAsPicture(DeviceContext& dc, const Rect& dest, Size cell, const DeviceInfo& reference,
                   const std::function<void(DeviceContext&)>& draw)
{
    const Rect frame = FrameForPixels(cell, reference);
    const Size pixels{FramePixels(frame.Width(), reference.horzRes, reference.horzSizeMm),
                      FramePixels(frame.Height(), reference.vertRes, reference.vertSizeMm)};
    if (pixels.cx <= 0 || pixels.cy <= 0)
        return;
    const Transform outer = PictureTransform(dc, dest, pixels, 0, 0);
    // Pictures inside go through bitmaps of the recording's pixels: only a
    // place of the same pixels draws them alike without the recording.
    if (dc.IsRecording() || outer.sx != 1 || outer.sy != 1) {
        EmfRecorder recorder(reference, frame);
        draw(recorder);
        PlayEnhMetafile(dc, recorder.Close(), dest);
        return;
    }
    const bool standing = dc.StandsInForRecording();
    dc.SetStandsInForRecording(true);
    try {
        DrawUnder(dc, outer, [&] { draw(dc); });
    } catch (...) {
        dc.SetStandsInForRecording(standing);
        throw;
    }
    dc.SetStandsInForRecording(standing);
}

} // namespace lx
