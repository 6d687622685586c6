// Recording and playing back a label metafile at printer resolution: 1,000
// rectangles and 100 text runs at 600 dpi; a hostile pen on a small target.
#include <benchmark/benchmark.h>

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/printing/Printer.h"
#include "platform/text/Cp932.h"

namespace {

constexpr int kWidth = 2400; // a 100 x 60 mm label at 600 dpi
constexpr int kHeight = 1440;

lx::EnhMetafile RecordLabel()
{
    lx::EmfRecorder recorder(lx::DisplayDevice(), lx::FrameForPixels({kWidth, kHeight}, lx::DisplayDevice()));
    recorder.SetBkMode(lx::BkMode::Transparent);
    recorder.SelectPen({lx::PenStyle::Solid, 2, 0x000000});
    for (int i = 0; i < 1000; ++i) {
        recorder.SelectBrush({lx::BrushStyle::Solid, static_cast<lx::ColorRef>((i % 3) * 0x7F)});
        const int x = (i % 40) * 60;
        const int y = (i / 40) * 57;
        recorder.Rectangle(x, y, x + 50, y + 50);
    }
    lx::LogFont font;
    font.height = -83; // 10 pt at 600 dpi
    font.charSet = lx::kShiftJisCharset;
    font.faceName = lx::Sjis("ＭＳ ゴシック");
    recorder.SelectFont(font);
    const std::string text = lx::Sjis("ラベル印刷 Label 123");
    for (int i = 0; i < 100; ++i)
        recorder.TextOut((i % 4) * 600, (i / 4) * 57, text);
    return recorder.Close();
}

void BM_RecordLabelMetafile(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordLabel().Bytes().size());
}
BENCHMARK(BM_RecordLabelMetafile)->Unit(benchmark::kMillisecond);

void BM_PlayLabelMetafile(benchmark::State& state)
{
    const lx::EnhMetafile label = RecordLabel();
    lx::Bitmap page(kWidth, kHeight);
    for (auto _ : state) {
        lx::RasterDeviceContext dc(page, lx::VirtualPrinterDevice());
        lx::PlayEnhMetafile(dc, label, {0, 0, kWidth, kHeight});
        benchmark::DoNotOptimize(page.Data());
    }
}
BENCHMARK(BM_PlayLabelMetafile)->Unit(benchmark::kMillisecond);

// An ellipse far larger than a 48 x 32 target, outlined with the widest pen:
// the time follows the target's rows, not the pen.
void BM_PlayHugePenEllipse(benchmark::State& state)
{
    lx::EmfRecorder recorder(lx::DisplayDevice(), lx::FrameForPixels({48, 32}, lx::DisplayDevice()));
    recorder.SelectPen({lx::PenStyle::Solid, 0x7FFFFFFF, 0x000000});
    recorder.Ellipse(-100000000, -100000000, 100000000, 100000000);
    const lx::EnhMetafile picture = recorder.Close();
    lx::Bitmap target(48, 32);
    for (auto _ : state) {
        lx::RasterDeviceContext dc(target);
        lx::PlayEnhMetafile(dc, picture, {0, 0, 48, 32});
        benchmark::DoNotOptimize(target.Data());
    }
}
BENCHMARK(BM_PlayHugePenEllipse)->Unit(benchmark::kMicrosecond);

} // namespace
