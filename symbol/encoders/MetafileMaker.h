#pragma once
// The metafile makers: one Windows metafile (WMF) and one enhanced metafile
// (EMF) maker per symbol family. Each records a mapping in which one logical
// unit is one CellUnit unit with y growing upward (window extent (W, -H)),
// runs the family's painter into it and returns the picture.
//
// W x H is the symbol's extent after the turn (odd rotations swap them):
//   QR, Micro QR  adjust + pitch x (n + 2q), the same
//   DataMatrix    adjust + pitch x (columns + 2q), adjust + pitch x (rows + 2q)
//   MaxiCode      MaxiCodeWidth, MaxiCodeHeight
//   PDF417        adjust + pitch x (modules per row + 2q),
//                 pitch x (factor x rows + 2q)
//   linear        the drawn extent the caller gives, already turned
// The WMF records no viewport: its player chooses one. The EMF has the frame
// ((u / 2 + W x 2540) / u, likewise H) in 0.01 mm, u = CellUnit, and the
// viewport of that frame in pixels of the reference device.
//
// A picture that cannot be made comes back empty (the null handle): an
// extent beyond the 16-bit coordinates of a WMF, a CellUnit below 1, or an
// extent beyond the coordinate range. An empty symbol (size or pitch 0)
// still gives a valid picture holding only the mapping.
//
// reference: the device the EMF is made for (the control's default
// printer); null makes it against the display.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"

namespace lx {

// The MaxiCode extent for a rotation (odd rotations exchange the formulas).
int MaxiCodeWidth(int pitch, int adjust, int quietZone, int rotate);
int MaxiCodeHeight(int pitch, int adjust, int quietZone, int rotate);

// The QR makers take the mirror alone as the painter's option word (no gap
// allowance) and roundCells as its round-cell flag. `cellUnit` only shapes
// the EMF; the WMF makers take it so that both kinds share one argument list.
WindowsMetafile MakeQrWmf(std::span<const std::uint8_t> matrix, int n, int pitch, int adjust, int cellUnit,
                          int quietZone, int rotate, int fillType, int mirror, int roundCells, ColorRef dark,
                          ColorRef light);
EnhMetafile MakeQrEmf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, int n, int pitch, int adjust,
                      int cellUnit, int quietZone, int rotate, int fillType, int mirror, int roundCells, ColorRef dark,
                      ColorRef light);

// size = columns | rows << 16.
WindowsMetafile MakeDataMatrixWmf(std::span<const std::uint8_t> matrix, std::int32_t size, int pitch, int adjust,
                                  int cellUnit, int quietZone, int rotate, int fillType, int mirror, ColorRef dark,
                                  ColorRef light);
EnhMetafile MakeDataMatrixEmf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, std::int32_t size,
                              int pitch, int adjust, int cellUnit, int quietZone, int rotate, int fillType, int mirror,
                              ColorRef dark, ColorRef light);

WindowsMetafile MakeMaxiCodeWmf(std::span<const std::uint8_t> matrix, int pitch, int adjust, int cellUnit,
                                int quietZone, int rotate, int fillType, int mirror, ColorRef dark, ColorRef light);
EnhMetafile MakeMaxiCodeEmf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, int pitch, int adjust,
                            int cellUnit, int quietZone, int rotate, int fillType, int mirror, ColorRef dark,
                            ColorRef light);

// size = modules per row | rows << 16; factor = row height in modules.
WindowsMetafile MakePdf417Wmf(std::span<const std::uint8_t> matrix, std::int32_t size, int pitch, int adjust,
                              int factor, int cellUnit, int quietZone, int rotate, int fillType, int mirror,
                              ColorRef dark, ColorRef light);
EnhMetafile MakePdf417Emf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, std::int32_t size,
                          int pitch, int adjust, int factor, int cellUnit, int quietZone, int rotate, int fillType,
                          int mirror, ColorRef dark, ColorRef light);

// The arguments of DrawLinear without the device context; the EMF maker
// takes CellUnit last.
WindowsMetafile MakeLinearWmf(std::int32_t key, std::span<const std::uint8_t> elements, int elementCount,
                              int startOffset, int narrow, int wide, int adjust, int drawnHeight, int drawnWidth,
                              int chrDisplay, int textHeight, std::string_view text, int fillType, int rotate,
                              ColorRef dark, ColorRef light);
EnhMetafile MakeLinearEmf(const DeviceInfo* reference, std::int32_t key, std::span<const std::uint8_t> elements,
                          int elementCount, int startOffset, int narrow, int wide, int adjust, int drawnHeight,
                          int drawnWidth, int chrDisplay, int textHeight, std::string_view text, int fillType,
                          int rotate, ColorRef dark, ColorRef light, int cellUnit);

} // namespace lx
