#include "support/SymbolImages.h"

#include "platform/image/Graphic.h"

namespace lxtest {

lx::Bitmap PictureBitmap(const lx::Picture& picture)
{
    const auto* raster = dynamic_cast<const lx::RasterGraphic*>(picture.GetGraphic());
    return raster ? raster->GetBitmap() : lx::Bitmap();
}

GreyImage GreyOf(const lx::Bitmap& bitmap, bool invert)
{
    return GreyOfArgb(bitmap.Width(), bitmap.Height(), bitmap.Data(), invert);
}

Decoded DecodeSymbol(const lx::Bitmap& bitmap, ZXing::BarcodeFormats formats)
{
    Decoded decoded = ZxingDecode(GreyOf(bitmap), formats);
    if (decoded.ok || bitmap.Empty())
        return decoded;
    // Enlarged three times on a white margin, for decoders that want room.
    const int margin = 20;
    lx::Bitmap larger(bitmap.Width() * 3 + 2 * margin, bitmap.Height() * 3 + 2 * margin);
    for (int y = 0; y < bitmap.Height() * 3; ++y)
        for (int x = 0; x < bitmap.Width() * 3; ++x)
            larger.SetPixel(margin + x, margin + y, bitmap.Pixel(x / 3, y / 3));
    return ZxingDecode(GreyOf(larger), formats, false);
}

} // namespace lxtest
