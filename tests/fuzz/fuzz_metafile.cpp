// Hostile metafile bytes: the EMF and WMF readers and players must reject or
// draw them, never crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Errors.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    lx::Bitmap bitmap(48, 32);
    lx::RasterDeviceContext dc(bitmap);
    try {
        if (lx::EnhMetafile::LooksLikeEmf(bytes))
            lx::PlayEnhMetafile(dc, lx::EnhMetafile::FromBytes(bytes), {0, 0, 48, 32});
        else
            lx::PlayWindowsMetafile(dc, lx::WindowsMetafile::FromBytes(bytes), {0, 0, 48, 32});
    } catch (const lx::Error&) {
    }
    return 0;
}
