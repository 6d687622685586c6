// Rendering a label cell of 50 text objects (Japanese and Latin, horizontal
// and vertical) at 600 dpi; reports objects per second.
#include "designer/model/LxLabelObjectManager.h"
#include "designer/model/LxLabelString.h"
#include "platform/fonts/FaceList.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kObjects = 50;

std::unique_ptr<lx::TlxLabelObjectManager> FiftyTexts()
{
    static const char* texts[] = {"品名：りんご\r\n産地 青森県", "Lot 2024-0815\r\nNo. 12345",
                                  "賞味期限\r\n2025年3月31日", "株式会社テスト商事",
                                  "〒100-0001\r\n東京都千代田区千代田1-1"};
    auto list = std::make_unique<lx::TlxLabelObjectManager>(lx::TrueTypeFaceList(), 90, 60, 0);
    for (int i = 0; i < kObjects; ++i) {
        auto text = std::make_unique<lx::TLxLabelObjectString>();
        text->SetText(lx::Sjis(texts[i % 5]));
        text->SetVerticalWriting(i % 3 == 0 ? 1 : 0);
        text->SetAlignment(static_cast<std::uint8_t>(i % 3));
        text->SetFontSize(8 + i % 7);
        text->SetLeft(2 + (i % 5) * 17);
        text->SetTop(2 + (i / 5) * 5.5);
        list->AddObject(std::move(text), false);
    }
    return list;
}

// RenderLabel: the cell recorded as a metafile at the printer's 600 dpi.
void BM_RenderFiftyTexts(benchmark::State& state)
{
    auto list = FiftyTexts();
    for (auto _ : state) {
        const lx::EnhMetafile label = list->RenderLabel(1);
        benchmark::DoNotOptimize(label.Bytes().data());
    }
    state.counters["objects/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kObjects), benchmark::Counter::kIsRate);
}

// The same cell recorded and played back onto a 600 dpi bitmap, as a
// printed label is.
void BM_RenderAndPlayFiftyTexts(benchmark::State& state)
{
    auto list = FiftyTexts();
    for (auto _ : state) {
        const lx::EnhMetafile label = list->RenderLabel(1);
        const lx::Size size = label.PixelSize();
        lx::Bitmap cell(size.cx, size.cy);
        lx::RasterDeviceContext dc(cell);
        lx::PlayEnhMetafile(dc, label, lx::Rect{0, 0, size.cx, size.cy});
        benchmark::DoNotOptimize(cell.Data());
    }
    state.counters["objects/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kObjects), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_RenderFiftyTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAndPlayFiftyTexts)->Unit(benchmark::kMillisecond);
