#pragma once
// The control's road to the painters, metafile makers and image-file
// writers: everything they need of one control, gathered once.
#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"
#include "symbol/control/ControlProperties.h"

namespace lx {

// MakeStatus values of the output methods.
inline constexpr int kStatusNoFile = -5;
inline constexpr int kStatusBadFormat = -7;
inline constexpr int kStatusWriteFailed = 5;
inline constexpr int kStatusOutOfMemory = 11;

struct SymbolDrawing {
    const ControlProperties* properties = nullptr;
    const EncodedSymbol* symbol = nullptr;
    int unit = 2540; // CellUnit, positive
    Size extent; // GetSymbolExtent, rotated
    int linearKey = -1;
    int wideWidth = 0; // linear wide element in logical units
    int textHeight = 0; // linear human-readable text height
    int qrOption = 0; // mirror in bit 0, gap allowance in the high 16 bits
    bool roundCells = false; // QR cells as circles
    int linearFill = 0; // fill type of linear symbols
    ColorRef dark = 0;
    ColorRef light = 0xFFFFFF;

    int FillType() const { return properties->Color ? 1 : 0; }
};

// Draws the symbol at the logical origin of dc (y axis up, one unit a CellUnit).
void PaintSymbol(DeviceContext& dc, const SymbolDrawing& d);
// The family's metafile makers.
WindowsMetafile MakeSymbolWmf(const SymbolDrawing& d);
EnhMetafile MakeSymbolEmf(const SymbolDrawing& d, const DeviceInfo& reference);

// Plays the metafile into a new monochrome bitmap of width x height pixels.
MonochromeBitmap RenderMetafileToBitmap(const WindowsMetafile& metafile, int width, int height);
// Placeable metafile file; 1 on success, 0 when the file could not be made.
int WriteSymbolPlaceableWmf(const WindowsMetafile& metafile, const std::string& path, int width, int height);
// Formats 2 BMP, 3 PNG, 4 TIFF (resolution in pixels per inch): 0, 5 or 11.
int WriteSymbolBitmapFile(int format, const std::string& path, const MonochromeBitmap& bitmap, int resolution);

} // namespace lx
