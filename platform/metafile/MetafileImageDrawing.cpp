#include "platform/metafile/MetafileImageDrawing.h"

#include <cstdint>
#include <cstdlib>

#include "platform/image/DecodedImage.h"
#include "platform/io/Errors.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"

namespace lx {

void DrawMetafileImage(DeviceContext& dc, const MetafileImage& image, const Rect& dest)
{
    if (image.Empty())
        return;
    try {
        if (image.IsEnhanced())
            PlayEnhMetafile(dc, EnhMetafile::FromBytes(image.Bytes()), dest);
        else
            PlayWindowsMetafile(dc, WindowsMetafile::FromBytes(image.Bytes()), dest);
    } catch (const ReadError&) {
        // A damaged picture stays as it is, undrawn.
    }
}

namespace {

// Pixels between two edges, whichever way round.
int Extent(int from, int to)
{
    return static_cast<int>(std::min<std::int64_t>(std::abs(std::int64_t{to} - from), INT32_MAX));
}

// The spans of a graphic, when the context draws them as they are and they
// would reach it whole (no key, no reduction).
const SpanRaster* SpansToDraw(const Graphic& graphic, const DeviceContext& dc, bool keyed, int boxWidth, int boxHeight)
{
    const SpanRaster* spans = graphic.Spans();
    if (!spans || keyed || !dc.TakesSpans())
        return nullptr;
    const ImageSize drawn = DrawnSize(spans->width, spans->height, boxWidth, boxHeight);
    return drawn.width == spans->width && drawn.height == spans->height ? spans : nullptr;
}

void StretchDrawRaster(DeviceContext& dc, const RasterGraphic& raster, const Rect& dest, std::optional<ColorRef> key)
{
    const int boxWidth = Extent(dest.left, dest.right);
    const int boxHeight = Extent(dest.top, dest.bottom);
    if (boxWidth == 0 || boxHeight == 0)
        return;
    if (const SpanRaster* spans = SpansToDraw(raster, dc, key.has_value(), boxWidth, boxHeight)) {
        dc.StretchDrawSpans(dest, *spans);
        return;
    }
    SharedPixels pixels;
    try {
        pixels = raster.PixelsFor(boxWidth, boxHeight);
    } catch (const ReadError&) {
        return; // a damaged JPEG or PNG stays in the picture, undrawn
    }
    const Bitmap& all = pixels->Pixels();
    const ImageSize drawn = DrawnSize(all.Width(), all.Height(), boxWidth, boxHeight);
    if (drawn.width == all.Width() && drawn.height == all.Height())
        dc.StretchDraw(dest, all, key);
    else
        dc.StretchDraw(dest, SampleNearest(all, drawn.width, drawn.height), key);
}

} // namespace

void StretchDrawPicture(DeviceContext& dc, const Picture& picture, const Rect& dest,
                        std::optional<ColorRef> transparentKey)
{
    if (picture.Empty())
        return;
    // The graphic kinds are this layer's own: the model draws any picture
    // without knowing them.
    if (const auto* raster = dynamic_cast<const RasterGraphic*>(picture.GetGraphic()))
        StretchDrawRaster(dc, *raster, dest, transparentKey);
    else if (const auto* metafile = dynamic_cast<const MetafileImage*>(picture.GetGraphic()))
        DrawMetafileImage(dc, *metafile, dest);
}

} // namespace lx
