// The painters and metafile makers with hostile sizes, pitches, adjusts and
// matrices: they must draw or refuse, never read outside the buffer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/gdi/RasterDeviceContext.h"
#include "symbol/encoders/MetafileMaker.h"
#include "symbol/encoders/SymbolPainter.h"

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::int32_t Next(int bytes)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = v << 8 | (at < size ? data[at++] : 0u);
        return static_cast<std::int32_t>(v);
    }
    std::int32_t Signed16() { return static_cast<std::int16_t>(Next(2)); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lx;
    Reader r{data, size};
    const int family = r.Next(1) % 5;
    const std::int32_t sizeWord = r.Next(4);
    const int quietZone = r.Signed16();
    const int pitch = r.Signed16();
    const int adjust = r.Signed16();
    const int factor = r.Next(1) - 8;
    const int fill = r.Next(1) - 2;
    const int rotate = r.Next(1) - 2;
    const int mirror = r.Next(1);
    const std::int32_t option = r.Next(4);
    const int extentW = r.Signed16();
    const int extentH = r.Signed16();
    const int text = r.Next(1);
    const std::span<const std::uint8_t> matrix(data + r.at, size - std::min(size, r.at));

    Bitmap bitmap(48, 48);
    RasterDeviceContext dc(bitmap);
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(200, -200);
    dc.SetViewportExt(48, 48);
    switch (family) {
    case 0:
        DrawQr(dc, matrix, sizeWord, quietZone, pitch, adjust, fill, rotate, option, mirror & 2, 0, 0xFFFFFF);
        PlayWindowsMetafile(dc, MakeQrWmf(matrix, sizeWord, pitch, adjust, 600, quietZone, rotate, fill, mirror,
                                          mirror & 2, 0, 0xFFFFFF), {0, 0, 200, -200});
        break;
    case 1:
        DrawDataMatrix(dc, matrix, sizeWord, quietZone, pitch, adjust, fill, rotate, mirror, 0, 0xFFFFFF);
        PlayEnhMetafile(dc, MakeDataMatrixEmf(nullptr, matrix, sizeWord, pitch, adjust, option, quietZone, rotate,
                                              fill, mirror, 0, 0xFFFFFF), {0, 0, 200, -200});
        break;
    case 2:
        DrawMaxiCode(dc, matrix, quietZone, pitch, adjust, fill, rotate, mirror, 0, 0xFFFFFF);
        PlayWindowsMetafile(dc, MakeMaxiCodeWmf(matrix, pitch, adjust, 600, quietZone, rotate, fill, mirror, 0,
                                                0xFFFFFF), {0, 0, 200, -200});
        break;
    case 3:
        DrawPdf417(dc, matrix, sizeWord, quietZone, pitch, adjust, factor, fill, rotate, mirror, 0, 0xFFFFFF);
        break;
    default: {
        const std::string_view label = text ? "0123" : "";
        DrawLinear(dc, option, matrix, sizeWord, quietZone, pitch, adjust, factor, extentH, extentW, text % 3,
                   extentH / 5, label, fill, rotate, 0, 0xFFFFFF);
        PlayEnhMetafile(dc, MakeLinearEmf(nullptr, option, matrix, sizeWord, quietZone, pitch, adjust, factor,
                                          extentH, extentW, text % 3, extentH / 5, label, fill, rotate, 0, 0xFFFFFF,
                                          text * 10),
                        {0, 0, 200, -200});
        break;
    }
    }
    return 0;
}
