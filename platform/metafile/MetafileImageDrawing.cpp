#include "platform/metafile/MetafileImageDrawing.h"

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

} // namespace lx
