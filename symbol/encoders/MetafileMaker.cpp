#include "symbol/encoders/MetafileMaker.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#include "symbol/encoders/SymbolPainter.h"
#include "symbol/encoders/SymbolPainterDetail.h"

namespace lx {

namespace {

// An extent in logical units, before the checks of the picture kind.
struct Extent {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

Extent Turned(std::int64_t width, std::int64_t height, int rotate)
{
    return rotate % 2 != 0 ? Extent{height, width} : Extent{width, height};
}

Extent GridExtent(int columns, int rows, int pitch, int adjust, int quietZone, int rotate)
{
    const std::int64_t q2 = 2 * std::int64_t{quietZone};
    return Turned(adjust + std::int64_t{pitch} * (columns + q2), adjust + std::int64_t{pitch} * (rows + q2), rotate);
}

Extent Pdf417Extent(std::int32_t size, int pitch, int adjust, int factor, int quietZone, int rotate)
{
    const std::int64_t q2 = 2 * std::int64_t{quietZone};
    const std::int64_t columns = size & 0xFFFF;
    const std::int64_t rows = (size >> 16) & 0xFFFF;
    return Turned(adjust + pitch * (columns + q2), pitch * (std::int64_t{factor} * rows + q2), rotate);
}

Extent MaxiExtent(int pitch, int adjust, int quietZone, int rotate)
{
    return {MaxiCodeWidth(pitch, adjust, quietZone, rotate), MaxiCodeHeight(pitch, adjust, quietZone, rotate)};
}

std::int64_t MaxiEvenWidth(int pitch, int adjust, int quietZone)
{
    return adjust + std::int64_t{pitch} * (kMaxiCodeColumns + 2 * std::int64_t{quietZone});
}

std::int64_t MaxiEvenHeight(int pitch, int adjust, int quietZone)
{
    return adjust + kMaxiCodeRows * ((std::int64_t{76} * pitch + 44) / 88) + 2 * std::int64_t{quietZone} * pitch;
}

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

template <typename Paint>
WindowsMetafile RecordWmf(const Extent& e, Paint&& paint)
{
    // Coordinates of this format are 16-bit: a larger picture cannot be made.
    constexpr std::int64_t kLimit = 32767;
    if (e.width > kLimit || e.height > kLimit || e.width < -kLimit || e.height < -kLimit)
        return {};
    WmfRecorder recorder;
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(static_cast<int>(e.width), static_cast<int>(-e.height));
    recorder.SetWindowOrg(0, 0);
    paint(recorder);
    return recorder.Close();
}

// The frame in 0.01 mm and the viewport in reference pixels of an extent.
struct EmfPlacement {
    Rect frame;
    Size viewport;
};

std::optional<EmfPlacement> PlaceEmf(const Extent& e, int cellUnit, const DeviceInfo& reference)
{
    if (cellUnit <= 0 || !painting::FitsCoordinates(e.width, e.height))
        return std::nullopt;
    const std::int64_t wf = (cellUnit / 2 + e.width * 2540) / cellUnit;
    const std::int64_t hf = (cellUnit / 2 + e.height * 2540) / cellUnit;
    const std::int64_t vx = (wf * reference.dpiX + 1270) / 2540;
    const std::int64_t vy = (hf * reference.dpiY + 1270) / 2540;
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    if (std::abs(wf) > kMax || std::abs(hf) > kMax || std::abs(vx) > kMax || std::abs(vy) > kMax)
        return std::nullopt;
    return EmfPlacement{{0, 0, static_cast<int>(wf), static_cast<int>(hf)}, {static_cast<int>(vx), static_cast<int>(vy)}};
}

template <typename Paint>
EnhMetafile RecordEmf(const DeviceInfo* reference, int cellUnit, const Extent& e, Paint&& paint)
{
    const DeviceInfo device = reference ? *reference : DisplayDevice();
    const auto place = PlaceEmf(e, cellUnit, device);
    if (!place)
        return {};
    EmfRecorder recorder(device, place->frame);
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(static_cast<int>(e.width), static_cast<int>(-e.height));
    recorder.SetViewportExt(place->viewport.cx, place->viewport.cy);
    recorder.SetWindowOrg(0, 0);
    paint(recorder);
    return recorder.Close();
}

} // namespace

int MaxiCodeWidth(int pitch, int adjust, int quietZone, int rotate)
{
    return ClampToInt(rotate % 2 != 0 ? MaxiEvenHeight(pitch, adjust, quietZone) : MaxiEvenWidth(pitch, adjust, quietZone));
}

int MaxiCodeHeight(int pitch, int adjust, int quietZone, int rotate)
{
    return ClampToInt(rotate % 2 != 0 ? MaxiEvenWidth(pitch, adjust, quietZone) : MaxiEvenHeight(pitch, adjust, quietZone));
}

// ---- QR Code and Micro QR

WindowsMetafile MakeQrWmf(std::span<const std::uint8_t> matrix, int n, int pitch, int adjust, int /*cellUnit*/,
                          int quietZone, int rotate, int fillType, int mirror, int roundCells, ColorRef dark,
                          ColorRef light)
{
    return RecordWmf(GridExtent(n, n, pitch, adjust, quietZone, 0), [&](DeviceContext& dc) {
        DrawQr(dc, matrix, n, quietZone, pitch, adjust, fillType, rotate, mirror & 1, roundCells, dark, light);
    });
}

EnhMetafile MakeQrEmf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, int n, int pitch, int adjust,
                      int cellUnit, int quietZone, int rotate, int fillType, int mirror, int roundCells, ColorRef dark,
                      ColorRef light)
{
    return RecordEmf(reference, cellUnit, GridExtent(n, n, pitch, adjust, quietZone, 0), [&](DeviceContext& dc) {
        DrawQr(dc, matrix, n, quietZone, pitch, adjust, fillType, rotate, mirror & 1, roundCells, dark, light);
    });
}

// ---- DataMatrix

WindowsMetafile MakeDataMatrixWmf(std::span<const std::uint8_t> matrix, std::int32_t size, int pitch, int adjust,
                                  int /*cellUnit*/, int quietZone, int rotate, int fillType, int mirror, ColorRef dark,
                                  ColorRef light)
{
    const Extent e = GridExtent(size & 0xFFFF, (size >> 16) & 0xFFFF, pitch, adjust, quietZone, rotate);
    return RecordWmf(e, [&](DeviceContext& dc) {
        DrawDataMatrix(dc, matrix, size, quietZone, pitch, adjust, fillType, rotate, mirror, dark, light);
    });
}

EnhMetafile MakeDataMatrixEmf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, std::int32_t size,
                              int pitch, int adjust, int cellUnit, int quietZone, int rotate, int fillType, int mirror,
                              ColorRef dark, ColorRef light)
{
    const Extent e = GridExtent(size & 0xFFFF, (size >> 16) & 0xFFFF, pitch, adjust, quietZone, rotate);
    return RecordEmf(reference, cellUnit, e, [&](DeviceContext& dc) {
        DrawDataMatrix(dc, matrix, size, quietZone, pitch, adjust, fillType, rotate, mirror, dark, light);
    });
}

// ---- MaxiCode

WindowsMetafile MakeMaxiCodeWmf(std::span<const std::uint8_t> matrix, int pitch, int adjust, int /*cellUnit*/,
                                int quietZone, int rotate, int fillType, int mirror, ColorRef dark, ColorRef light)
{
    return RecordWmf(MaxiExtent(pitch, adjust, quietZone, rotate), [&](DeviceContext& dc) {
        DrawMaxiCode(dc, matrix, quietZone, pitch, adjust, fillType, rotate, mirror, dark, light);
    });
}

EnhMetafile MakeMaxiCodeEmf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, int pitch, int adjust,
                            int cellUnit, int quietZone, int rotate, int fillType, int mirror, ColorRef dark,
                            ColorRef light)
{
    return RecordEmf(reference, cellUnit, MaxiExtent(pitch, adjust, quietZone, rotate), [&](DeviceContext& dc) {
        DrawMaxiCode(dc, matrix, quietZone, pitch, adjust, fillType, rotate, mirror, dark, light);
    });
}

// ---- PDF417

WindowsMetafile MakePdf417Wmf(std::span<const std::uint8_t> matrix, std::int32_t size, int pitch, int adjust,
                              int factor, int /*cellUnit*/, int quietZone, int rotate, int fillType, int mirror,
                              ColorRef dark, ColorRef light)
{
    return RecordWmf(Pdf417Extent(size, pitch, adjust, factor, quietZone, rotate), [&](DeviceContext& dc) {
        DrawPdf417(dc, matrix, size, quietZone, pitch, adjust, factor, fillType, rotate, mirror, dark, light);
    });
}

EnhMetafile MakePdf417Emf(const DeviceInfo* reference, std::span<const std::uint8_t> matrix, std::int32_t size,
                          int pitch, int adjust, int factor, int cellUnit, int quietZone, int rotate, int fillType,
                          int mirror, ColorRef dark, ColorRef light)
{
    const Extent e = Pdf417Extent(size, pitch, adjust, factor, quietZone, rotate);
    return RecordEmf(reference, cellUnit, e, [&](DeviceContext& dc) {
        DrawPdf417(dc, matrix, size, quietZone, pitch, adjust, factor, fillType, rotate, mirror, dark, light);
    });
}

// ---- linear symbols

WindowsMetafile MakeLinearWmf(std::int32_t key, std::span<const std::uint8_t> elements, int elementCount,
                              int startOffset, int narrow, int wide, int adjust, int drawnHeight, int drawnWidth,
                              int chrDisplay, int textHeight, std::string_view text, int fillType, int rotate,
                              ColorRef dark, ColorRef light)
{
    return RecordWmf({drawnWidth, drawnHeight}, [&](DeviceContext& dc) {
        DrawLinear(dc, key, elements, elementCount, startOffset, narrow, wide, adjust, drawnHeight, drawnWidth,
                   chrDisplay, textHeight, text, fillType, rotate, dark, light);
    });
}

EnhMetafile MakeLinearEmf(const DeviceInfo* reference, std::int32_t key, std::span<const std::uint8_t> elements,
                          int elementCount, int startOffset, int narrow, int wide, int adjust, int drawnHeight,
                          int drawnWidth, int chrDisplay, int textHeight, std::string_view text, int fillType,
                          int rotate, ColorRef dark, ColorRef light, int cellUnit)
{
    const DeviceInfo device = reference ? *reference : DisplayDevice();
    const Extent e{drawnWidth, drawnHeight};
    const auto place = PlaceEmf(e, cellUnit, device);
    if (!place)
        return {};
    EmfRecorder recorder(device, place->frame, u"0");
    recorder.SetWindowOrg(0, 0);
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(drawnWidth, -drawnHeight);
    recorder.SetViewportExt(place->viewport.cx, place->viewport.cy);
    DrawLinear(recorder, key, elements, elementCount, startOffset, narrow, wide, adjust, drawnHeight, drawnWidth,
               chrDisplay, textHeight, text, fillType, rotate, dark, light);
    recorder.SetViewportExt(1, 1);
    recorder.SetWindowExt(1, 1);
    recorder.SetWindowOrg(0, 0);
    recorder.SetMapMode(MapMode::Text);
    return recorder.Close();
}

} // namespace lx
