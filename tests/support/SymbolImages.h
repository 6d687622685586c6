#pragma once
// Symbol pictures read back with zxing-cpp.
#include <ZXing/BarcodeFormat.h>

#include "platform/image/Bitmap.h"
#include "platform/image/Picture.h"
#include "support/Decoders.h"

namespace lxtest {

// The bitmap a picture holds (empty when it holds none).
lx::Bitmap PictureBitmap(const lx::Picture& picture);
GreyImage GreyOf(const lx::Bitmap& bitmap, bool invert = false);
// Decodes a symbol picture, first as it stands, then enlarged.
Decoded DecodeSymbol(const lx::Bitmap& bitmap, ZXing::BarcodeFormats formats);

} // namespace lxtest
