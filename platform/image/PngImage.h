#pragma once
// PNG files through libpng, and the PNG graphic that keeps one.
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/image/Graphic.h"

namespace lx {

// Width and height from the header, with the size limits checked. Throws
// ReadError.
ImageSize ReadPngSize(std::string_view file);
// Decodes a PNG file of any colour type, depth and interlacing into ARGB
// pixels (transparency kept in the alpha channel). Throws ReadError.
Bitmap DecodePng(std::string_view file);

enum class PngColors {
    Rgb, // 8-bit RGB, alpha dropped
    BlackWhite // 1-bit palette, index 0 black, 1 white; only pure white pixels are white
};

inline constexpr int kDefaultPngCompression = 7;
// A non-interlaced PNG file. Throws Error when the bitmap is empty.
std::string EncodePng(const Bitmap& bitmap, PngColors colors = PngColors::Rgb,
                      int compressionLevel = kDefaultPngCompression);

// A PNG graphic: keeps its file and decodes the pixels on first use. The
// design file has no picture kind for it, so it is stored as no picture.
class PngImage : public RasterGraphic {
public:
    PngImage() = default;

    std::string_view ClassName() const override { return "TPngImage"; }
    bool Empty() const override { return file_.empty(); }
    int Width() const override { return size_.width; }
    int Height() const override { return size_.height; }
    void LoadFromBytes(std::string_view bytes) override;
    std::string SaveToBytes() const override { return file_; }
    std::unique_ptr<Graphic> Clone() const override;
    // libpng decodes whole images only: all the pixels, whatever the box.
    SharedPixels PixelsFor(int boxWidth, int boxHeight) const override;

    // Replaces the content with the bitmap as an RGB PNG.
    void Compress(const Bitmap& bitmap);

private:
    std::string file_;
    ImageSize size_;
    mutable PixelCache pixels_;
};

} // namespace lx
