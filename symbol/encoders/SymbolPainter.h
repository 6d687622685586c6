#pragma once
// The symbol painters: an encoded symbol (a module matrix or a linear element
// string) drawn as rectangles, ellipses and text on a device context, so the
// same call fills a bitmap, a printer page, a WMF or an EMF.
//
// Coordinates: logical units chosen by the caller (CellUnit units), y axis
// up. The symbol's top-left corner, quiet zone included, is the logical
// origin; the symbol lies at x 0..width and y 0..-height. The caller sets a
// mapping whose y axis points up (window extent (width, -height)).
// Rectangles and ellipses exclude their right and bottom edges; every figure
// is outlined with a one-unit pen of its own fill colour.
//
// Matrices: rows from the top, (columns + 7) / 8 bytes a row, module c in
// bit 1 << (c % 8) of byte c / 8, set = dark (a bar module for PDF417). The
// span is the caller's buffer; a size that does not fit it draws nothing.
// Element strings: one byte per bar or space, bit 7 = bar, width code in
// bits 0-6 (2 = one wide element, any other k = (k & 63) narrow widths).
//
// Fill types (the control's Color value): 0 light background, dark modules;
// 1 dark background, light modules; 2 dark modules, no background; 3 light
// modules, no background. Other values draw no background and leave the
// modules in the pen and brush the context already holds (DrawMaxiCode
// takes any nonzero value as 1, DrawLinear reads bit 0 as the colour swap
// and bit 1 as no background).
//
// The painters restore the pen, brush, font, text colour, alignment and
// background mode they found, keep no state and never fail: a pitch or size
// of 0 (or less), a size the buffer cannot hold, or a symbol beyond the
// coordinate range draws nothing. Work buffers are fixed local arrays.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/gdi/DeviceContext.h"

namespace lx {

// Largest matrices the painters take.
inline constexpr int kQrMaxModules = 177;
inline constexpr int kDataMatrixMaxModules = 144;
inline constexpr int kMaxiCodeColumns = 30;
inline constexpr int kMaxiCodeRows = 33;
inline constexpr int kPdf417MaxRowModules = 17 * 30 + 69;
inline constexpr int kPdf417MaxRows = 90;

// QR Code and Micro QR, n x n modules. option: bit 0 mirror (a reflection
// about the main diagonal before the turn), bits 16-31 the gap allowance in
// logical units added to every dark area's right and bottom edge.
// roundCells nonzero draws every dark module alone as a circle.
void DrawQr(DeviceContext& dc, std::span<const std::uint8_t> matrix, int n, int quietZone, int pitch, int adjust,
            int fillType, int rotate, std::int32_t option, int roundCells, ColorRef dark, ColorRef light);

// DataMatrix; size = columns | rows << 16. mirror: bit 0, a left-right
// reflection after the clockwise turn.
void DrawDataMatrix(DeviceContext& dc, std::span<const std::uint8_t> matrix, std::int32_t size, int quietZone,
                    int pitch, int adjust, int fillType, int rotate, int mirror, ColorRef dark, ColorRef light);

// MaxiCode: 33 rows of 30 modules (4 bytes a row), drawn as dots on the
// staggered grid around the bull's-eye.
void DrawMaxiCode(DeviceContext& dc, std::span<const std::uint8_t> matrix, int quietZone, int pitch, int adjust,
                  int fillType, int rotate, int mirror, ColorRef dark, ColorRef light);

// PDF417, truncated PDF417 and MicroPDF417; size = modules per row | rows
// << 16; a row is pitch x factor high. Rows stay rows: odd rotations draw
// them as vertical strips.
void DrawPdf417(DeviceContext& dc, std::span<const std::uint8_t> matrix, std::int32_t size, int quietZone, int pitch,
                int adjust, int factor, int fillType, int rotate, int mirror, ColorRef dark, ColorRef light);

// Every linear symbology. key: the symbology key of the linear encoder
// (kLinearItfBearer draws the bearer frame); startOffset: quiet zone x
// pitch; narrow, wide: element widths; drawnHeight, drawnWidth: the extent
// as drawn (after the rotation); chrDisplay nonzero draws `text` (CP932)
// in a band textHeight high beside the bars, in DefaultFontName().
void DrawLinear(DeviceContext& dc, std::int32_t key, std::span<const std::uint8_t> elements, int elementCount,
                int startOffset, int narrow, int wide, int adjust, int drawnHeight, int drawnWidth, int chrDisplay,
                int textHeight, std::string_view text, int fillType, int rotate, ColorRef dark, ColorRef light);

// The face of the human-readable text of linear symbols, shared by the
// module: "Arial" until the control sets the face of its font. At most 99
// bytes are kept, whole characters only.
void SetDefaultFontName(std::string_view cp932Face);
std::string DefaultFontName();

} // namespace lx
