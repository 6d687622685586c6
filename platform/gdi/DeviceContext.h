#pragma once
// Device contexts: the drawing surface every picture of the system goes
// through (label renders, symbol painters, previews, printing, metafiles).
//
// Design note for callers
// - One interface, several backends: RasterDeviceContext draws on a Bitmap,
//   the printer context (platform/printing) on a printer page or a PDF file,
//   EmfRecorder and WmfRecorder (platform/metafile) record real metafiles, and
//   PlayEnhMetafile / PlayWmf replay a metafile onto any context.
// - The rules are GDI's: logical coordinates go through the mapping mode
//   (Text, or Anisotropic with window/viewport extents and origins; a
//   negative window y extent makes y grow upward) and are rounded to device
//   pixels half up; Rectangle and Ellipse cover [left, right) x [top, bottom)
//   in device space, the pen's band lying inside that box; LineTo leaves out
//   its end point; pens of width 0 are one device pixel whatever the mapping.
// - Objects are values: SelectPen/SelectBrush/SelectFont return the value
//   they replace, so a painter restores what it found by selecting it again.
//   Colours are 0x00BBGGRR; system colours (0x80000000 | index) resolve on
//   selection.
// - Text: TextOut takes CP932 bytes (every character set but the symbol set
//   decodes them as CP932; CR and LF are not line breaks). The reference point
//   is the top-left of the text cell unless SetTextAlign says otherwise, and
//   with an escapement the glyphs rotate about it. GetTextExtent is the sum of
//   the integer advances and the cell height, in logical units.
// - The background mode starts Opaque as in GDI: a canvas that draws text or
//   styled lines "with a clear brush" should call SetBkMode(Transparent).
// - Paths collect figures and text outlines in device space between BeginPath
//   and EndPath; GetPath hands them back in logical units; StrokeAndFillPath
//   fills even-odd without anti-aliasing.
// - Clipping regions are in device pixels (Region).
// - Elsewhere: RasterDeviceContext (a Bitmap; ToMonochrome for 1-bit DIB
//   rows), PrintJob and CurrentPrinterDevice (platform/printing; the virtual
//   600 dpi printer without one), EnhMetafile/WindowsMetafile with their
//   recorders and players and DrawMetafileImage for pictures
//   (platform/metafile), Clipboard (platform/clipboard), ScaledFont and
//   TrueTypeFaceList (platform/fonts), RegisterDeviceContext for interfaces
//   that pass a context as a 32-bit number.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/fonts/FontEngine.h"
#include "platform/gdi/DevicePath.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Region.h"
#include "platform/image/Bitmap.h"
#include "platform/image/SpanRaster.h"

namespace lx {

// Text metrics in logical units.
struct TextMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int aveCharWidth = 0;
};

// The mapping from logical to device coordinates: device = logical * s + d.
struct Transform {
    double sx = 1;
    double sy = 1;
    double dx = 0;
    double dy = 0;
    Transform Then(const Transform& outer) const
    {
        return {sx * outer.sx, sy * outer.sy, dx * outer.sx + outer.dx, dy * outer.sy + outer.dy};
    }
};

class DeviceContext {
public:
    explicit DeviceContext(const DeviceInfo& device);
    virtual ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Device.
    int GetDeviceCaps(DeviceCap cap) const;
    // True for the metafile recorders, which draw no pixels.
    virtual bool IsRecording() const { return false; }
    // While drawing stands in for playing a recording of it (DrawAsPicture),
    // clip regions come in the recording's pixels and pictures go through a
    // bitmap first, as a recording keeps them.
    void SetStandsInForRecording(bool on) { standsInForRecording_ = on; }
    bool StandsInForRecording() const { return standsInForRecording_; }
    bool PlaysPicturesAsBitmaps() const { return IsRecording() || standsInForRecording_; }
    const DeviceInfo& Device() const { return device_; }

    // Mapping.
    virtual void SetMapMode(MapMode mode);
    virtual void SetWindowExt(int cx, int cy);
    virtual void SetWindowOrg(int x, int y);
    virtual void SetViewportExt(int cx, int cy);
    virtual void SetViewportOrg(int x, int y);
    MapMode GetMapMode() const { return state_.mapMode; }
    Size GetWindowExt() const { return state_.windowExt; }
    Point GetWindowOrg() const { return state_.windowOrg; }
    Size GetViewportExt() const { return state_.viewportExt; }
    Point GetViewportOrg() const { return state_.viewportOrg; }
    Transform CurrentTransform() const;
    Point LogicalToDevice(Point p) const
    {
        const Transform& t = state_.toDevice;
        if (state_.unitSteps)
            return {UnitStepToPixel(p.x, t.sx, t.dx), UnitStepToPixel(p.y, t.sy, t.dy)};
        return {RoundToPixel(p.x * t.sx + t.dx), RoundToPixel(p.y * t.sy + t.dy)};
    }
    Rect LogicalToDevice(const Rect& r) const; // normalised
    // Device coordinates round half up, so that a shift by whole pixels
    // moves every figure by exactly that many pixels; they are held well
    // inside the integer range, whatever the input.
    static int RoundToPixel(double v)
    {
        constexpr double kLimit = 1 << 29;
        return std::isnan(v) ? 0 : static_cast<int>(std::clamp(std::floor(v + 0.5), -kLimit, kLimit));
    }
    // RoundToPixel(v * s + d) for a scale of +-1 and a whole offset, which
    // integers map exactly (as symbols and labels are drawn: one logical
    // unit a pixel, y up or down).
    static int UnitStepToPixel(int v, double s, double d)
    {
        constexpr std::int64_t kLimit = 1 << 29;
        const std::int64_t p = (s < 0 ? -std::int64_t{v} : std::int64_t{v}) + static_cast<std::int64_t>(d);
        return static_cast<int>(std::clamp(p, -kLimit, kLimit));
    }

    // Saved states: SaveDC returns the new depth; RestoreDC takes a depth or,
    // when negative, a count back from the top.
    virtual int SaveDC();
    virtual bool RestoreDC(int level);

    // Objects and attributes; each setter returns the previous value.
    virtual Pen SelectPen(const Pen& pen);
    virtual Brush SelectBrush(const Brush& brush);
    virtual LogFont SelectFont(const LogFont& font);
    virtual ColorRef SetTextColor(ColorRef color);
    virtual ColorRef SetBkColor(ColorRef color);
    virtual BkMode SetBkMode(BkMode mode);
    virtual std::uint32_t SetTextAlign(std::uint32_t align);
    const Pen& CurrentPen() const { return state_.pen; }
    const Brush& CurrentBrush() const { return state_.brush; }
    const LogFont& CurrentFont() const { return state_.font; }
    ColorRef GetTextColor() const { return state_.textColor; }
    ColorRef GetBkColor() const { return state_.bkColor; }
    BkMode GetBkMode() const { return state_.bkMode; }
    std::uint32_t GetTextAlign() const { return state_.textAlign; }

    // Figures.
    virtual void MoveTo(int x, int y);
    virtual void LineTo(int x, int y);
    virtual void Rectangle(int left, int top, int right, int bottom);
    virtual void Ellipse(int left, int top, int right, int bottom);
    // Fills [left, right) x [top, bottom) with a solid colour, no outline.
    virtual void FillRect(const Rect& rect, ColorRef color);
    Point CurrentPosition() const { return state_.current; }

    // Text.
    virtual void TextOut(int x, int y, std::string_view bytes);
    Size GetTextExtent(std::string_view bytes) const;
    TextMetrics GetTextMetrics() const;

    // Bitmaps: the source stretched into dest without smoothing; with a key,
    // source pixels whose colour equals it exactly are left out.
    virtual void StretchDraw(const Rect& dest, const Bitmap& source, std::optional<ColorRef> transparentKey = {});
    // The same for a two-colour picture kept as spans: the pixels are made
    // only for a context that does not take spans.
    virtual void StretchDrawSpans(const Rect& dest, const SpanRaster& source);
    virtual bool TakesSpans() const { return false; }

    // Paths.
    virtual void BeginPath();
    virtual void EndPath();
    virtual void CloseFigure();
    virtual void FlattenPath();
    // Bezier segments from the current position, three points each.
    virtual void PolyBezierTo(const std::vector<Point>& points);
    virtual void StrokeAndFillPath();
    virtual void FillPath();
    virtual void StrokePath();
    // With null buffers the point count; otherwise fills up to `capacity`
    // points and types and returns the count; -1 when there is no closed path
    // or the buffers are too small.
    int GetPath(Point* points, std::uint8_t* types, int capacity) const;
    bool HasOpenPath() const { return pathState_ == PathState::Open; }

    // Clipping, device pixels; null removes the clip.
    virtual void SelectClipRegion(const Region* region);
    std::optional<Region> ClipRegion() const { return state_.clip; }

    // Metafile playback: an extra mapping applied after the context's own
    // and a clip that recorded clip changes cannot widen. Used by the
    // players; callers save and restore the state around them.
    void BeginPlayback(const Transform& outer);

protected:
    // The device area a backend paints; empty for recorders, which paint
    // nothing. Work outside it is skipped.
    virtual Rect DeviceBounds() const { return {}; }
    // Device-space output of the drawing backends. Recorders leave them be.
    virtual void PaintRect(const Rect& /*rect*/, ColorRef /*color*/) {}
    virtual void PaintSpans(const std::vector<PixelSpan>& spans, ColorRef color);
    virtual void PaintPath(const DevicePath& /*path*/, bool /*winding*/, ColorRef /*color*/) {}
    virtual void PaintStroke(const DevicePath& /*path*/, double /*width*/, ColorRef /*color*/) {}
    virtual void PaintBitmap(const Rect& /*dest*/, const Bitmap& /*source*/, std::optional<ColorRef> /*key*/) {}
    virtual void PaintSpanRaster(const Rect& dest, const SpanRaster& source)
    {
        PaintBitmap(dest, source.ToBitmap(), {});
    }
    virtual void ClipChanged(const Region* /*effective*/) {}

    // The pen width in device pixels (0 for cosmetic pens).
    double DevicePenWidth() const;
    std::shared_ptr<const ScaledFont> DeviceFont() const;
    // A line of glyphs placed in device space.
    struct PlacedGlyphs : GlyphFrame {
        std::shared_ptr<const ScaledFont> font;
        std::vector<GlyphSlot> glyphs;
    };
    // A line of glyphs, its cell corners and its bars, in device space.
    struct TextGeometry {
        PlacedGlyphs placed;
        DevicePath cell;
        DevicePath decorations; // underline and strike-out bars
        double boldOffsetX = 0;
        double boldOffsetY = 0;
    };
    TextGeometry LayoutText(int x, int y, std::string_view bytes) const;
    // The glyph outlines of a line moved by (dx, dy).
    static DevicePath GlyphOutlines(const PlacedGlyphs& placed, double dx = 0, double dy = 0);
    // Fills the glyphs of a line moved by (dx, dy); backends that keep text
    // as text draw it so, the others fill the outlines.
    virtual void PaintGlyphs(const PlacedGlyphs& placed, double dx, double dy, ColorRef color);

private:
    struct State {
        MapMode mapMode = MapMode::Text;
        Point windowOrg;
        Size windowExt{1, 1};
        Point viewportOrg;
        Size viewportExt{1, 1};
        Pen pen;
        Brush brush;
        LogFont font = StockFont();
        ColorRef textColor = 0;
        ColorRef bkColor = 0xFFFFFF;
        BkMode bkMode = BkMode::Opaque;
        std::uint32_t textAlign = 0;
        Point current;
        std::optional<Region> clip;
        Transform outer;
        std::optional<Region> metaClip;
        Transform toDevice; // the mapping above, then outer
        bool unitSteps = true; // toDevice scales by +-1 and moves by whole pixels
    };
    enum class PathState { None, Open, Closed };

    // The device rectangle a stretched picture fills; nothing when nothing
    // is to be drawn.
    std::optional<Rect> StretchTarget(const Rect& dest, bool emptySource) const;
    // Works out state_.toDevice again after a change of the mapping.
    void MappingChanged();
    void DrawCosmeticLine(Point from, Point to);
    void PaintFrame(const Rect& box, int band, ColorRef color);
    void StrokeWithinReach(const DevicePath& flat);
    void AddToPath(const DevicePath& figure);
    void PaintFigure(const DevicePath& path, bool fill, bool stroke);
    void ApplyClip();
    std::optional<Region> EffectiveClip() const;
    Point PathPointToLogical(const PathPoint& p) const;

    struct FontAtScale {
        LogFont font;
        double sx = 0;
        double sy = 0;
        std::shared_ptr<const ScaledFont> scaled;
    };

    DeviceInfo device_;
    mutable std::optional<FontAtScale> lastFont_;
    bool standsInForRecording_ = false;
    State state_;
    std::vector<State> saved_;
    PathState pathState_ = PathState::None;
    DevicePath path_;
};

// Handles of device contexts for interfaces that pass a context as a 32-bit
// number; 0 is never used.
std::int32_t RegisterDeviceContext(DeviceContext* dc);
DeviceContext* DeviceContextFromHandle(std::int32_t handle);

} // namespace lx
