#pragma once
// The drawing backend shared by bitmaps and printer pages: device-space
// output through a QPainter with anti-aliasing off and an identity transform
// (the context has already mapped and rounded everything).
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/DeviceContext.h"

class QPainter;

namespace lx {

class PainterDeviceContext : public DeviceContext {
public:
    // The painter must be active and outlive the context; `bounds` is the
    // device area that can be painted.
    PainterDeviceContext(QPainter* painter, const DeviceInfo& device, const Rect& bounds);
    ~PainterDeviceContext() override;

    // For printers and PDF files: text stays text (glyphs of the font
    // files, embedded as subsets), and bitmaps of two colours go out as
    // rectangles of their spans, lossless and small. Pixels on a bitmap stay
    // exactly those of the outlines.
    void SetVectorOutput(bool on) { vectorOutput_ = on; }
    // Draws the glyphs still held back for one text block; before the page
    // ends or the painter is used otherwise.
    void FlushText();
    // Spans go out as rectangles: the pixels of a bitmap, without making one.
    bool TakesSpans() const override { return true; }

protected:
    Rect DeviceBounds() const override { return bounds_; }
    void PaintRect(const Rect& rect, ColorRef color) override;
    void PaintPath(const DevicePath& path, bool winding, ColorRef color) override;
    void PaintStroke(const DevicePath& path, double width, ColorRef color) override;
    void PaintBitmap(const Rect& dest, const Bitmap& source, std::optional<ColorRef> key) override;
    void PaintSpanRaster(const Rect& dest, const SpanRaster& source) override;
    void ClipChanged(const Region* effective) override;
    void PaintGlyphs(const PlacedGlyphs& placed, double dx, double dy, ColorRef color) override;
    void SetPainter(QPainter* painter) { painter_ = painter; }

private:
    // The part of dest (device pixels) that is painted, with the source
    // column of each of its columns; nothing when nothing is painted.
    std::optional<Rect> PaintedArea(const Rect& dest, int sourceWidth, std::vector<int>& columns) const;
    // Two-colour bitmaps as rectangles; false (nothing drawn) for others.
    bool PaintTwoColours(const Rect& dest, const Rect& area, const std::vector<int>& columns, const Bitmap& source);
    // False (nothing drawn) when a glyph has no font file to embed.
    bool DrawPlacedGlyphs(const PlacedGlyphs& placed, double dx, double dy, ColorRef color);

    // Glyphs of one font, colour and direction, drawn one character after
    // another, wait here to go out as one text block.
    struct PendingText;
    std::unique_ptr<PendingText> pendingText_;

    QPainter* painter_;
    Rect bounds_;
    std::optional<Rect> clipBounds_;
    // The clip the painter has: a PDF repeats its path for every change.
    std::optional<Region> appliedClip_;
    bool vectorOutput_ = false;
};

} // namespace lx
