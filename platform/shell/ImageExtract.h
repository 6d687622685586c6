#pragma once
// Thumbnails of picture files, made by our own image code: the file is
// decoded (BMP, JPEG, PNG) and scaled down by area averaging.
#include <string_view>

#include "platform/image/Bitmap.h"

namespace lx {

// The picture scaled to fit within maxWidth x maxHeight, proportions kept,
// each pixel the average of the source area it covers (alpha-weighted, so
// transparent pixels lend no colour). A picture that already fits is
// returned as it is; never smaller than 1 x 1. Empty source or box: empty.
Bitmap ScaleToFit(const Bitmap& source, int maxWidth, int maxHeight);

// The file's thumbnail for a box of the bitmap's current width and height:
// on success the bitmap becomes the picture scaled to fit the box (its own
// proportions, so one side may be shorter) and the result is true. A file
// that cannot be read or is no BMP, JPEG or PNG picture gives false and
// leaves the bitmap as it was. The path is a system path (Files.h).
bool ExtractThumbnail(std::string_view path, Bitmap& bitmap);

} // namespace lx
