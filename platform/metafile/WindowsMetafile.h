#pragma once
// Windows metafiles (WMF): the control's metafile pictures, placeable
// ".wmf" files and the metafile-picture clipboard format. Held as the bytes
// of the standard metafile (without a placeable header).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/DeviceContext.h"

namespace lx {

// The header of a placeable file: the picture's box in logical units and
// how many of those make an inch.
struct PlaceableHeader {
    Rect box;
    std::uint16_t inch = 0;
};

class WindowsMetafile {
public:
    WindowsMetafile() = default;
    // Accepts a standard metafile or a placeable file (key 0x9AC6CDD7 at
    // offset 0); throws ReadError with a Japanese message when malformed.
    static WindowsMetafile FromBytes(std::string bytes);
    static bool LooksLikePlaceable(std::string_view bytes);

    bool Empty() const { return bytes_.empty(); }
    const std::string& Bytes() const { return bytes_; }
    const std::optional<PlaceableHeader>& Placeable() const { return placeable_; }
    std::uint16_t ObjectCount() const { return objects_; }
    // The placeable file form: header (with its checksum) and the metafile.
    std::string PlaceableBytes(const PlaceableHeader& header) const;

private:
    std::string bytes_;
    std::uint16_t objects_ = 0;
    std::optional<PlaceableHeader> placeable_;
};

// Plays the records onto the context as it is: the recorded mapping mode,
// window extent and origin apply to it, the viewport the caller chose stays.
// The state is saved and restored around the playback.
void PlayWindowsMetafile(DeviceContext& dc, const WindowsMetafile& metafile);
// Plays it into `dest` (logical units of dc): the viewport becomes the
// rectangle and the window starts as the placeable box (or the recorded one).
// Into a recorder the picture goes as a bitmap, as PlayEnhMetafile does.
void PlayWindowsMetafile(DeviceContext& dc, const WindowsMetafile& metafile, const Rect& dest);

// Records drawing calls into a WMF. Coordinates are 16-bit in this format;
// paths are written as polygons; clipping and transparent keys are not
// recorded (bitmaps are drawn opaque).
class WmfRecorder : public DeviceContext {
public:
    explicit WmfRecorder(const DeviceInfo& reference = DisplayDevice());
    ~WmfRecorder() override;

    WindowsMetafile Close();

    bool IsRecording() const override { return true; }
    void SetMapMode(MapMode mode) override;
    void SetWindowExt(int cx, int cy) override;
    void SetWindowOrg(int x, int y) override;
    void SetViewportExt(int cx, int cy) override;
    void SetViewportOrg(int x, int y) override;
    int SaveDC() override;
    bool RestoreDC(int level) override;
    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    LogFont SelectFont(const LogFont& font) override;
    ColorRef SetTextColor(ColorRef color) override;
    ColorRef SetBkColor(ColorRef color) override;
    BkMode SetBkMode(BkMode mode) override;
    std::uint32_t SetTextAlign(std::uint32_t align) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void FillRect(const Rect& rect, ColorRef color) override;
    void TextOut(int x, int y, std::string_view bytes) override;
    void StretchDraw(const Rect& dest, const Bitmap& source, std::optional<ColorRef> transparentKey = {}) override;
    void StrokeAndFillPath() override;
    void FillPath() override;
    void StrokePath() override;

private:
    void PathAsPolygons(bool fill, bool stroke);
    struct Writer;
    std::unique_ptr<Writer> writer_;
};

} // namespace lx
