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
    const MatrixDrawing m{.matrix = matrix,
                          .size = sizeWord,
                          .quietZone = quietZone,
                          .pitch = pitch,
                          .adjust = adjust,
                          .factor = factor,
                          .fillType = fill,
                          .rotate = rotate,
                          .mirror = mirror,
                          .roundCells = (mirror & 2) != 0};
    switch (family) {
    case 0: {
        MatrixDrawing painted = m;
        painted.mirror = option & 1;
        painted.qrGap = static_cast<std::uint16_t>(static_cast<std::uint32_t>(option) >> 16);
        DrawQr(dc, painted);
        PlayWindowsMetafile(dc, MakeQrWmf(m), {0, 0, 200, -200});
        break;
    }
    case 1:
        DrawDataMatrix(dc, m);
        PlayEnhMetafile(dc, MakeDataMatrixEmf(nullptr, m, option), {0, 0, 200, -200});
        break;
    case 2:
        DrawMaxiCode(dc, m);
        PlayWindowsMetafile(dc, MakeMaxiCodeWmf(m), {0, 0, 200, -200});
        break;
    case 3: DrawPdf417(dc, m); break;
    default: {
        const LinearDrawing s{.key = option,
                              .elements = matrix,
                              .elementCount = sizeWord,
                              .startOffset = quietZone,
                              .narrow = pitch,
                              .wide = adjust,
                              .adjust = factor,
                              .drawnHeight = extentH,
                              .drawnWidth = extentW,
                              .chrDisplay = text % 3,
                              .textHeight = extentH / 5,
                              .text = text ? "0123" : "",
                              .fillType = fill,
                              .rotate = rotate};
        DrawLinear(dc, s);
        PlayEnhMetafile(dc, MakeLinearEmf(nullptr, s, text * 10), {0, 0, 200, -200});
        break;
    }
    }
    return 0;
}
