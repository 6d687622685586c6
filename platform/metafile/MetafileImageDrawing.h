#pragma once
// Drawing the metafile graphic of a picture (an EMF or a placeable WMF kept
// as its file bytes) through the players.
#include "platform/gdi/DeviceContext.h"
#include "platform/image/MetafileImage.h"

namespace lx {

// Plays the graphic into dest (logical units of dc). Malformed bytes draw
// nothing; the graphic itself is never changed.
void DrawMetafileImage(DeviceContext& dc, const MetafileImage& image, const Rect& dest);

} // namespace lx
