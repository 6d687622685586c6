#pragma once
// Enhanced metafiles (EMF): the label picture of every render, the symbol on
// the clipboard, metafile pictures in design files and ".emf" files. Held as
// the real file bytes; recorded by EmfRecorder, replayed by PlayEnhMetafile.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/metafile/Dib.h"

namespace lx {

// The header fields the system reads.
struct EmfHeader {
    Rect bounds; // device units of the reference device, inclusive
    Rect frame; // 0.01 mm, inclusive
    Size device; // reference device in pixels
    Size millimeters; // reference device in millimetres
    std::uint32_t bytes = 0;
    std::uint32_t records = 0;
    std::uint16_t handles = 0;
    std::u16string description;
};

class EnhMetafile {
public:
    EnhMetafile() = default;
    // Checks the header and the record chain; throws ReadError with a
    // Japanese message when the bytes are not a sound EMF.
    static EnhMetafile FromBytes(std::string bytes);
    // True for bytes that begin like an EMF (type 1, " EMF" at offset 40).
    static bool LooksLikeEmf(std::string_view bytes);

    bool Empty() const { return bytes_.empty(); }
    const std::string& Bytes() const { return bytes_; }
    const EmfHeader& Header() const { return header_; }
    // The frame in pixels of the reference device: frame width (0.01 mm) x
    // device pixels / (device millimetres x 100), rounded half away from zero.
    Size PixelSize() const;

private:
    std::string bytes_;
    EmfHeader header_;
};

// The frame, in 0.01 mm, of a picture of `pixels` pixels of the reference
// device, such that PixelSize gives the pixels back.
Rect FrameForPixels(Size pixels, const DeviceInfo& reference);

// Plays the metafile into `dest` (logical units of dc): its frame maps onto
// the rectangle, x and y scaled separately. The context's state is saved and
// restored around it; the clip it has is kept (and narrowed by recorded
// clips), no clip of its own is added. Unknown records are skipped; a
// malformed record ends the playback with ReadError.
void PlayEnhMetafile(DeviceContext& dc, const EnhMetafile& metafile, const Rect& dest);

// Draws into `dest` what `draw` would record on an EmfRecorder of
// `reference` with the frame FrameForPixels(cell, reference), as playing
// that recording would: the same mapping, a fresh state, the clip dc has,
// pictures through a bitmap. Where dest is the cell's pixels on the device
// (a printer of the reference's resolution) nothing is recorded.
void DrawAsPicture(DeviceContext& dc, const Rect& dest, Size cell, const DeviceInfo& reference,
                   const std::function<void(DeviceContext&)>& draw);

// Records drawing calls into an EMF. The reference device gives the header's
// device size and millimetres and the context's device capabilities; the
// frame, in 0.01 mm, is computed from the drawn bounds when not given.
class EmfRecorder : public DeviceContext {
public:
    explicit EmfRecorder(const DeviceInfo& reference, std::optional<Rect> frame = {}, std::u16string description = {});
    ~EmfRecorder() override;

    // Ends the recording; the recorder must not be used afterwards.
    EnhMetafile Close();

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
    void StretchDrawSpans(const Rect& dest, const SpanRaster& source) override;
    bool TakesSpans() const override { return true; }
    void BeginPath() override;
    void EndPath() override;
    void CloseFigure() override;
    void FlattenPath() override;
    void PolyBezierTo(const std::vector<Point>& points) override;
    void StrokeAndFillPath() override;
    void FillPath() override;
    void StrokePath() override;
    void SelectClipRegion(const Region* region) override;

private:
    struct Writer;
    void WriteStretch(const Rect& dest, const DibParts& dib, Size source, std::optional<ColorRef> transparentKey);

    std::unique_ptr<Writer> writer_;
};

} // namespace lx
