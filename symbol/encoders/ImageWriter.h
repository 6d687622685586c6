#pragma once
// The image-file writers behind the control's file method: the placeable
// Windows metafile and the BMP, PNG and TIFF files of a monochrome symbol
// bitmap (rendered at one pixel per CellUnit unit, bit 1 = white).
//
// File names are system paths (UTF-8, see Files.h), used as given. A file
// is replaced whole or not at all (FileReplacement): on any failure the old
// one stays as it was.
#include <string>

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/WindowsMetafile.h"

namespace lx {

// Status values of the bitmap writers.
inline constexpr int kImageWriteOk = 0;
inline constexpr int kImageWriteFailed = 5; // not opened or not completely written, or no bitmap
inline constexpr int kImageOutOfMemory = 11;

// A placeable metafile file: the 22-byte header (box 0, 0, width, height in
// 0.01 mm, 2540 units per inch) and the metafile. Returns 1, or 0 when the
// file cannot be created or the metafile is empty. A box beyond the 16-bit
// header fields is written in a coarser unit (fewer units per inch), so the
// picture keeps its size.
int WritePlaceableWmf(const WindowsMetafile& metafile, const std::string& fileName, int width, int height);

// A 1-bit BMP (palette black, white), rows bottom first.
int WriteBmpFile(const std::string& fileName, const MonochromeBitmap& bitmap);

// A 1-bit palette PNG (index 0 black, 1 white) at compression level 7.
// Returns 0 or 5.
int WritePngImage(const std::string& fileName, const MonochromeBitmap& bitmap);

// An uncompressed one-strip TIFF ("II", white is zero) at `resolution`
// pixels per inch (the CellUnit).
int WriteTiffFile(int resolution, const MonochromeBitmap& bitmap, const std::string& fileName);

// The Software text of our TIFF files.
inline constexpr const char* kTiffSoftware = "Pixoran ver 1.31 Copyright (C) Quillon";

} // namespace lx
