#pragma once
// The graphics a picture can hold: each one loads from and saves to its own
// file form in memory (BMP, metafile, JPEG, PNG). Readers treat the bytes as
// hostile and fail with ReadError.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"

namespace lx {

// Largest image a file may ask for; a bigger one is refused before any pixel
// memory is reserved.
inline constexpr std::int64_t kMaxImagePixels = 100'000'000;

struct ImageSize {
    int width = 0;
    int height = 0;
};

// Throws ReadError "画像が大きすぎます。" unless width x height (both >= 0) is
// within kMaxImagePixels.
void CheckImageSize(std::int64_t width, std::int64_t height);

class Graphic {
public:
    virtual ~Graphic() = default;

    // The class name the design file's picture kind is chosen by:
    // "TBitmap", "TMetafile", "TJPEGImage" or "TPngImage".
    virtual std::string_view ClassName() const = 0;
    virtual bool Empty() const = 0;
    // Size in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Replaces the content with the graphic in `bytes`; throws ReadError when
    // the bytes are not a valid file of this kind (the content is then
    // unchanged).
    virtual void LoadFromBytes(std::string_view bytes) = 0;
    // The graphic's file form; empty for an empty graphic.
    virtual std::string SaveToBytes() const = 0;

    virtual std::unique_ptr<Graphic> Clone() const = 0;

protected:
    Graphic() = default;
    Graphic(const Graphic&) = default;
    Graphic& operator=(const Graphic&) = default;
};

// A graphic made of pixels (bitmap, JPEG, PNG), as opposed to a metafile.
class RasterGraphic : public Graphic {
public:
    // The pixels; compressed forms are decoded on first use (may throw
    // ReadError when the compressed data is damaged).
    virtual const Bitmap& GetBitmap() const = 0;

protected:
    RasterGraphic() = default;
    RasterGraphic(const RasterGraphic&) = default;
    RasterGraphic& operator=(const RasterGraphic&) = default;
};

} // namespace lx
