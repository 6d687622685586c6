#pragma once
// BMP files and the bitmap graphic that holds one.
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/image/Graphic.h"
#include "platform/image/SpanRaster.h"

namespace lx {

// Decodes a complete BMP file: 1, 4, 8, 16, 24 or 32 bits per pixel,
// uncompressed or with bit-field masks, rows bottom-up or top-down, with an
// information header of 12 (core) or 40 and more bytes. Throws ReadError.
Bitmap DecodeBmp(std::string_view file);

// Bit depths the BMP writer produces.
enum class BmpDepth {
    Mono = 1, // two-colour palette: black, white; only pure white pixels are white
    Rgb24 = 24 // alpha dropped
};

// Whether the information header states the image size; uncompressed files
// may leave it 0, as the symbol writer's files always have.
enum class BmpImageSize { Stated, Zero };

// A complete BMP file, rows bottom-up, uncompressed.
std::string EncodeBmp(const Bitmap& bitmap, BmpDepth depth = BmpDepth::Rgb24,
                      BmpImageSize sizeField = BmpImageSize::Stated);

// A bitmap graphic. While its pixels are unchanged it keeps the file it was
// loaded from and saves exactly those bytes again. Copies share the pixels
// until one of them is written to.
class BitmapImage : public RasterGraphic {
public:
    BitmapImage();
    explicit BitmapImage(Bitmap bitmap);
    // The pixels of the spans, made when they are first asked for.
    explicit BitmapImage(SpanRaster spans);

    std::string_view ClassName() const override { return "TBitmap"; }
    bool Empty() const override { return Width() == 0 || Height() == 0; }
    int Width() const override { return spans_ ? spans_->width : pixels_->Pixels().Width(); }
    int Height() const override { return spans_ ? spans_->height : pixels_->Pixels().Height(); }
    void LoadFromBytes(std::string_view bytes) override;
    // The loaded file while unchanged, else a 24-bit BMP; empty when empty.
    std::string SaveToBytes() const override;
    std::unique_ptr<Graphic> Clone() const override;

    // Bitmaps are kept whole: exact pixels, whatever the box.
    SharedPixels PixelsFor(int, int) const override;
    const SpanRaster* Spans() const override { return spans_.get(); }
    // Write access drops the kept file: the next save encodes the pixels.
    // The size stays; SetBitmap gives new pixels of any size.
    Bitmap& MutableBitmap();
    void SetBitmap(Bitmap bitmap);

private:
    // Never null, except while made of spans and not yet asked for pixels.
    mutable std::shared_ptr<DecodedImage> pixels_;
    std::shared_ptr<const SpanRaster> spans_;
    std::string file_; // the loaded file while the pixels are unchanged
};

} // namespace lx
