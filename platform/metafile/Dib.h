#pragma once
// Device-independent bitmaps as metafile records and clipboard formats carry
// them: a 40-byte information header (plus palette) and bottom-up pixel rows
// padded to 4 bytes.
#include <optional>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/image/SpanRaster.h"

namespace lx {

struct DibParts {
    std::string info; // BITMAPINFOHEADER and its palette, if any
    std::string bits;
};

DibParts EncodeDib(const Bitmap& bitmap);
// A bitmap of at most two colours (a symbol) as 1 bit per pixel with a
// palette of the two, a 24th of the size; any other as EncodeDib.
DibParts EncodeCompactDib(const Bitmap& bitmap);
// The same bytes for the pixels of two-colour spans.
DibParts EncodeCompactDib(const SpanRaster& spans);
// Reads 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with bit
// fields, bottom-up or top-down, with the core or the information header.
// Throws ReadError on anything malformed or absurdly large.
Bitmap DecodeDib(std::string_view info, std::string_view bits);
// A DIB of 1 bit per pixel as spans (the pixels DecodeDib gives); nothing for
// other depths. Throws as DecodeDib.
std::optional<SpanRaster> DecodeDibSpans(std::string_view info, std::string_view bits);
// The packed form (header then bits), the device-independent bitmap format
// of the clipboard, and the same with a file header, a BMP file.
std::string PackedDib(const Bitmap& bitmap);
Bitmap DecodePackedDib(std::string_view packed);
std::string BmpFile(const Bitmap& bitmap);

} // namespace lx
