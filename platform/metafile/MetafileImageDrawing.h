#pragma once
// Drawing the graphic of a picture: a metafile (an EMF or a placeable WMF
// kept as its file bytes) through the players, pixels and spans stretched.
#include <optional>

#include "platform/gdi/DeviceContext.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/Picture.h"

namespace lx {

// Plays the graphic into dest (logical units of dc). Malformed bytes draw
// nothing; the graphic itself is never changed.
void DrawMetafileImage(DeviceContext& dc, const MetafileImage& image, const Rect& dest);

// Stretches the picture into dest (logical units of dc). With a key, pixels
// of that colour are left out. Spans go to a context that takes them as they
// are when they reach it whole; pixels are reduced to what the box shows, so
// no more of them reach a metafile than it can show. An empty picture, an
// empty box for pixels, or damaged compressed data draws nothing.
void StretchDrawPicture(DeviceContext& dc, const Picture& picture, const Rect& dest,
                        std::optional<ColorRef> transparentKey = {});

} // namespace lx
