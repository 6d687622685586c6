#pragma once
// The graphics a picture can hold: each one loads from and saves to its own
// file form in memory (BMP, metafile, JPEG, PNG). Readers treat the bytes as
// hostile and fail with ReadError.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/Bitmap.h"
#include "platform/image/DecodedImage.h"
#include "platform/image/ImageSize.h"
#include "platform/image/SpanRaster.h"

namespace lx {

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

    // The two-colour spans the graphic is made of, while it holds them: a
    // printer draws those as rectangles without making pixels. Null for
    // every graphic kept as pixels or as a metafile.
    virtual const SpanRaster* Spans() const { return nullptr; }

protected:
    Graphic() = default;
    Graphic(const Graphic&) = default;
    Graphic& operator=(const Graphic&) = default;
};

// A graphic made of pixels (bitmap, JPEG, PNG), as opposed to a metafile.
// Its decoded pixels are shared by every copy of the graphic.
class RasterGraphic : public Graphic {
public:
    // Pixels enough to draw the graphic into a box of boxWidth x boxHeight
    // device pixels: a format that can decode at a smaller scale (JPEG) does
    // so, never below the box; the largest decoded so far is kept. May throw
    // ReadError when the compressed data is damaged.
    virtual SharedPixels PixelsFor(int boxWidth, int boxHeight) const = 0;
    // All the pixels, decoded on first use and kept while the graphic lives.
    const Bitmap& GetBitmap() const { return PixelsFor(Width(), Height())->Pixels(); }

protected:
    RasterGraphic() = default;
    RasterGraphic(const RasterGraphic&) = default;
    RasterGraphic& operator=(const RasterGraphic&) = default;
};

} // namespace lx
