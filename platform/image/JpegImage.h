#pragma once
// JPEG files through libjpeg, and the JPEG graphic that keeps one.
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/image/Graphic.h"

namespace lx {

// Width and height from the header; checks the size limits without decoding
// the pixels. Throws ReadError.
ImageSize ReadJpegSize(std::string_view file);
// Decodes a JPEG file (baseline or progressive; grey, colour or CMYK) into
// opaque pixels, at 1/scaleDenominator of its size (1, 2, 4 or 8; libjpeg's
// scaled decoding, sides rounded up). Throws ReadError.
Bitmap DecodeJpeg(std::string_view file, int scaleDenominator = 1);

// Decodes the whole file and throws ReadError when libjpeg finds it cut short
// or damaged (what DecodeJpeg fills in silently).
void CheckJpegComplete(std::string_view file);

inline constexpr int kDefaultJpegQuality = 90;
// A baseline JPEG file: 24-bit colour, accurate (slow) DCT, the given quality
// (1-100); alpha is dropped. Throws Error when the bitmap is empty.
std::string EncodeJpeg(const Bitmap& bitmap, int quality = kDefaultJpegQuality);

// A JPEG graphic. It keeps the file it was given and writes it back
// unchanged; the pixels are decoded on first use, no larger than drawn.
class JpegImage : public RasterGraphic {
public:
    JpegImage() = default;

    std::string_view ClassName() const override { return "TJPEGImage"; }
    bool Empty() const override { return file_.empty(); }
    int Width() const override { return size_.width; }
    int Height() const override { return size_.height; }
    // Checks the header only; damaged image data shows when decoding.
    void LoadFromBytes(std::string_view bytes) override;
    std::string SaveToBytes() const override { return file_; }
    std::unique_ptr<Graphic> Clone() const override;
    SharedPixels PixelsFor(int boxWidth, int boxHeight) const override;

    // Replaces the content with the bitmap compressed at `quality`.
    void Compress(const Bitmap& bitmap, int quality = kDefaultJpegQuality);

private:
    std::string file_;
    ImageSize size_;
    mutable PixelCache pixels_;
};

} // namespace lx
