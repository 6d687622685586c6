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

Extent Pdf417Extent(const MatrixDrawing& m)
{
    const std::int64_t q2 = 2 * std::int64_t{m.quietZone};
    const std::int64_t columns = m.size & 0xFFFF;
    const std::int64_t rows = (m.size >> 16) & 0xFFFF;
    return Turned(m.adjust + m.pitch * (columns + q2), m.pitch * (std::int64_t{m.factor} * rows + q2), m.rotate);
}

Extent MaxiExtent(const MatrixDrawing& m)
{
    return {MaxiCodeWidth(m.pitch, m.adjust, m.quietZone, m.rotate),
            MaxiCodeHeight(m.pitch, m.adjust, m.quietZone, m.rotate)};
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
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
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
    return EmfPlacement{{0, 0, static_cast<int>(wf), static_cast<int>(hf)},
                        {static_cast<int>(vx), static_cast<int>(vy)}};
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
    return ClampToInt(rotate % 2 != 0 ? MaxiEvenHeight(pitch, adjust, quietZone)
                                      : MaxiEvenWidth(pitch, adjust, quietZone));
}

int MaxiCodeHeight(int pitch, int adjust, int quietZone, int rotate)
{
    return ClampToInt(rotate % 2 != 0 ? MaxiEvenWidth(pitch, adjust, quietZone)
                                      : MaxiEvenHeight(pitch, adjust, quietZone));
}

// ---- QR Code and Micro QR

namespace {

MatrixDrawing WithoutGap(const MatrixDrawing& m)
{
    MatrixDrawing plain = m;
    plain.qrGap = 0;
    return plain;
}

Extent QrExtent(const MatrixDrawing& m) { return GridExtent(m.size, m.size, m.pitch, m.adjust, m.quietZone, 0); }

} // namespace

WindowsMetafile MakeQrWmf(const MatrixDrawing& m)
{
    return RecordWmf(QrExtent(m), [&](DeviceContext& dc) { DrawQr(dc, WithoutGap(m)); });
}

EnhMetafile MakeQrEmf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit)
{
    return RecordEmf(reference, cellUnit, QrExtent(m), [&](DeviceContext& dc) { DrawQr(dc, WithoutGap(m)); });
}

// ---- DataMatrix

namespace {

Extent DataMatrixExtent(const MatrixDrawing& m)
{
    return GridExtent(m.size & 0xFFFF, (m.size >> 16) & 0xFFFF, m.pitch, m.adjust, m.quietZone, m.rotate);
}

} // namespace

WindowsMetafile MakeDataMatrixWmf(const MatrixDrawing& m)
{
    return RecordWmf(DataMatrixExtent(m), [&](DeviceContext& dc) { DrawDataMatrix(dc, m); });
}

EnhMetafile MakeDataMatrixEmf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit)
{
    return RecordEmf(reference, cellUnit, DataMatrixExtent(m), [&](DeviceContext& dc) { DrawDataMatrix(dc, m); });
}

// ---- MaxiCode

WindowsMetafile MakeMaxiCodeWmf(const MatrixDrawing& m)
{
    return RecordWmf(MaxiExtent(m), [&](DeviceContext& dc) { DrawMaxiCode(dc, m); });
}

EnhMetafile MakeMaxiCodeEmf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit)
{
    return RecordEmf(reference, cellUnit, MaxiExtent(m), [&](DeviceContext& dc) { DrawMaxiCode(dc, m); });
}

// ---- PDF417

WindowsMetafile MakePdf417Wmf(const MatrixDrawing& m)
{
    return RecordWmf(Pdf417Extent(m), [&](DeviceContext& dc) { DrawPdf417(dc, m); });
}

EnhMetafile MakePdf417Emf(const DeviceInfo* reference, const MatrixDrawing& m, int cellUnit)
{
    return RecordEmf(reference, cellUnit, Pdf417Extent(m), [&](DeviceContext& dc) { DrawPdf417(dc, m); });
}

// ---- linear symbols

WindowsMetafile MakeLinearWmf(const LinearDrawing& s)
{
    return RecordWmf({s.drawnWidth, s.drawnHeight}, [&](DeviceContext& dc) { DrawLinear(dc, s); });
}

EnhMetafile MakeLinearEmf(const DeviceInfo* reference, const LinearDrawing& s, int cellUnit)
{
    const DeviceInfo device = reference ? *reference : DisplayDevice();
    const Extent e{s.drawnWidth, s.drawnHeight};
    const auto place = PlaceEmf(e, cellUnit, device);
    if (!place)
        return {};
    EmfRecorder recorder(device, place->frame, u"0");
    recorder.SetWindowOrg(0, 0);
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(s.drawnWidth, -s.drawnHeight);
    recorder.SetViewportExt(place->viewport.cx, place->viewport.cy);
    DrawLinear(recorder, s);
    recorder.SetViewportExt(1, 1);
    recorder.SetWindowExt(1, 1);
    recorder.SetWindowOrg(0, 0);
    recorder.SetMapMode(MapMode::Text);
    return recorder.Close();
}

} // namespace lx
