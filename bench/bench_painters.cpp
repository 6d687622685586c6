// The symbol painters on a printer-resolution raster and into metafiles, and
// the image-file writers: the roads every render and file output takes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdi/RasterDeviceContext.h"
#include "symbol/encoders/DataMatrixEncoder.h"
#include "symbol/encoders/ImageWriter.h"
#include "symbol/encoders/LinearEncoder.h"
#include "symbol/encoders/MetafileMaker.h"
#include "symbol/encoders/QrEncoder.h"
#include "symbol/encoders/SymbolPainter.h"

namespace {

struct Qr {
    std::vector<std::uint8_t> matrix = std::vector<std::uint8_t>(177 * 23);
    int n = 0;
};

// Version 40: the largest matrix and the most cell runs.
const Qr& LargestQr()
{
    static const Qr qr = [] {
        Qr q;
        std::string request = "LA,";
        for (int i = 0; i < 2900; ++i)
            request += static_cast<char>('!' + i * 7 % 90);
        std::vector<std::uint8_t> buffer(request.begin(), request.end());
        buffer.push_back(0);
        lx::EncodeQr(static_cast<int>(request.size()), buffer.data(), &q.n, q.matrix.data(), 2, 0);
        return q;
    }();
    return qr;
}

void BM_PaintQrOnRaster(benchmark::State& state)
{
    const Qr& qr = LargestQr();
    const int pitch = static_cast<int>(state.range(0));
    const int side = pitch * (qr.n + 8);
    lx::Bitmap bitmap(side, side);
    for (auto _ : state) {
        lx::RasterDeviceContext dc(bitmap);
        dc.SetMapMode(lx::MapMode::Anisotropic);
        dc.SetWindowExt(side, -side);
        dc.SetViewportExt(side, side);
        lx::DrawQr(dc, {.matrix = qr.matrix, .size = qr.n, .quietZone = 4, .pitch = pitch, .rotate = 1});
    }
}
BENCHMARK(BM_PaintQrOnRaster)->Arg(4)->Arg(10);

void BM_MakeQrEmf(benchmark::State& state)
{
    const Qr& qr = LargestQr();
    const lx::DeviceInfo printer{600, 600, 6000, 9000, 254, 381, 0, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            lx::MakeQrEmf(&printer, {.matrix = qr.matrix, .size = qr.n, .quietZone = 4, .pitch = 10}, 600));
}
BENCHMARK(BM_MakeQrEmf);

void BM_MakeDataMatrixWmf(benchmark::State& state)
{
    std::vector<std::uint8_t> matrix(lx::kDataMatrixMatrixBytes);
    std::int32_t size = 0;
    const std::string data(1500, '7');
    lx::EncodeDataMatrix(static_cast<int>(data.size()), reinterpret_cast<const std::uint8_t*>(data.data()), &size,
                         matrix.data(), 1, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(lx::MakeDataMatrixWmf({.matrix = matrix, .size = size, .quietZone = 1, .pitch = 8}));
}
BENCHMARK(BM_MakeDataMatrixWmf);

void BM_PaintCode128WithText(benchmark::State& state)
{
    std::vector<std::uint8_t> elements(lx::kLinearElementCapacity);
    std::vector<char> text(lx::kLinearTextCapacity);
    std::int32_t count = 0;
    const std::string data = "BENCH 0123456789 linear";
    lx::EncodeLinear(static_cast<int>(data.size()), reinterpret_cast<const std::uint8_t*>(data.data()), &count,
                     elements.data(), lx::kLinearCode128B, 1, text.data());
    lx::Bitmap bitmap(1400, 180);
    for (auto _ : state) {
        lx::RasterDeviceContext dc(bitmap);
        dc.SetMapMode(lx::MapMode::Anisotropic);
        dc.SetWindowExt(1400, -180);
        dc.SetViewportExt(1400, 180);
        lx::DrawLinear(dc,
                       {.key = lx::kLinearCode128B,
                        .elements = elements,
                        .elementCount = count,
                        .startOffset = 40,
                        .narrow = 4,
                        .wide = 8,
                        .drawnHeight = 180,
                        .drawnWidth = 1400,
                        .chrDisplay = 1,
                        .textHeight = 36,
                        .text = text.data()});
    }
}
BENCHMARK(BM_PaintCode128WithText);

void BM_WriteImageFiles(benchmark::State& state)
{
    lx::MonochromeBitmap mono{1600, 1600, std::vector<std::uint8_t>(1600 / 8 * 1600, 0x5A)};
    const std::string path = "/tmp/lx_bench_painters_" + std::to_string(state.range(0));
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: benchmark::DoNotOptimize(lx::WriteBmpFile(path, mono)); break;
        case 1: benchmark::DoNotOptimize(lx::WritePngImage(path, mono)); break;
        default: benchmark::DoNotOptimize(lx::WriteTiffFile(600, mono, path)); break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteImageFiles)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
