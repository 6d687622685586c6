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

// A matrix symbol and how to draw it.
struct MatrixDrawing {
    std::span<const std::uint8_t> matrix;
    // QR: n (n x n modules); DataMatrix: columns | rows << 16; PDF417:
    // modules per row | rows << 16; MaxiCode: not read.
    std::int32_t size = 0;
    int quietZone = 0; // in modules
    int pitch = 0; // logical units a module
    int adjust = 0;
    int factor = 1; // PDF417: row height in modules
    int fillType = 0;
    int rotate = 0; // quarter turns clockwise
    // Bit 0: QR reflects about the main diagonal before the turn, the other
    // families left-right after the clockwise turn.
    int mirror = 0;
    // QR: logical units added to every dark area's right and bottom edge,
    // and every dark module drawn alone as a circle.
    std::uint16_t qrGap = 0;
    bool roundCells = false;
    ColorRef dark = 0;
    ColorRef light = 0xFFFFFF;
};

// QR Code and Micro QR.
void DrawQr(DeviceContext& dc, const MatrixDrawing& m);
// DataMatrix.
void DrawDataMatrix(DeviceContext& dc, const MatrixDrawing& m);
// MaxiCode: 33 rows of 30 modules (4 bytes a row), drawn as dots on the
// staggered grid around the bull's-eye.
void DrawMaxiCode(DeviceContext& dc, const MatrixDrawing& m);
// PDF417, truncated PDF417 and MicroPDF417; a row is pitch x factor high.
// Rows stay rows: odd rotations draw them as vertical strips.
void DrawPdf417(DeviceContext& dc, const MatrixDrawing& m);

// A linear symbol and how to draw it.
struct LinearDrawing {
    std::int32_t key = 0; // symbology key of the linear encoder (kLinearItfBearer draws the bearer frame)
    std::span<const std::uint8_t> elements;
    int elementCount = 0;
    int startOffset = 0; // quiet zone x pitch
    int narrow = 0; // element widths
    int wide = 0;
    int adjust = 0;
    int drawnHeight = 0; // the extent as drawn (after the rotation)
    int drawnWidth = 0;
    // Nonzero draws `text` (CP932) in a band textHeight high beside the
    // bars, in DefaultFontName().
    int chrDisplay = 0;
    int textHeight = 0;
    std::string_view text;
    int fillType = 0;
    int rotate = 0;
    ColorRef dark = 0;
    ColorRef light = 0xFFFFFF;
};

// Every linear symbology.
void DrawLinear(DeviceContext& dc, const LinearDrawing& s);

// The face of the human-readable text of linear symbols, shared by the
// module: "Arial" until the control sets the face of its font. At most 99
// bytes are kept, whole characters only.
void SetDefaultFontName(std::string_view cp932Face);
std::string DefaultFontName();

} // namespace lx
