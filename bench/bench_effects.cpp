// Drawing one effect-text object of each style into a label metafile at
// 600 dpi, as a render for print does; the deformed styles go through their
// bitmap, also for long texts at 500 points.
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelObjectManager.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Cp932.h"

#include <benchmark/benchmark.h>

namespace {

void DrawStyle(benchmark::State& state, void (lx::TLxLabelObjectEffects::*flag)(std::uint8_t))
{
    static const std::vector<std::string> faces{lx::Sjis("ＭＳ ゴシック") + ":128"};
    lx::DeviceInfo printer;
    printer.dpiX = printer.dpiY = 600;
    for (auto _ : state) {
        lx::TlxLabelObjectManager list(faces, 80, 40, 0);
        list.SetDpiX(600);
        list.SetDpiY(600);
        list.AddEffects();
        auto& effects = dynamic_cast<lx::TLxLabelObjectEffects&>(*list.GetObject(0));
        effects.SetText(lx::Sjis("特殊文字 Effects 123"));
        effects.SetFontSize(24);
        effects.SetWidth(60);
        if (flag)
            (effects.*flag)(1);
        lx::EmfRecorder recorder(printer);
        list.DrawObjects(recorder, true);
        benchmark::DoNotOptimize(recorder.Close().Bytes().size());
    }
}

// Deformed text of many characters at 500 points: the warp's work is bounded
// by its bitmap, not by the text's length.
void DeformLongText(benchmark::State& state)
{
    static const std::vector<std::string> faces{lx::Sjis("ＭＳ ゴシック") + ":128"};
    lx::DeviceInfo printer;
    printer.dpiX = printer.dpiY = 600;
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += lx::Sjis(i % 2 ? "字" : "A");
    for (auto _ : state) {
        lx::TlxLabelObjectManager list(faces, 80, 40, 0);
        list.SetDpiX(600);
        list.SetDpiY(600);
        list.AddEffects();
        auto& effects = dynamic_cast<lx::TLxLabelObjectEffects&>(*list.GetObject(0));
        effects.SetText(text);
        effects.SetFontSize(500);
        effects.SetDeform(1);
        lx::EmfRecorder recorder(printer);
        list.DrawObjects(recorder, true);
        benchmark::DoNotOptimize(recorder.Close().Bytes().size());
    }
}
BENCHMARK(DeformLongText)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The warp alone, at the deform font of 500 points.
void WarpLongText(benchmark::State& state)
{
    static const std::vector<std::string> faces{lx::Sjis("ＭＳ ゴシック") + ":128"};
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += lx::Sjis(i % 2 ? "字" : "A");
    lx::TlxLabelObjectManager list(faces, 80, 40, 0);
    lx::LogFont font;
    font.height = -6667;
    font.faceName = lx::Sjis("ＭＳ ゴシック");
    for (auto _ : state) {
        lx::Bitmap bitmap;
        list.WarpTextPath(bitmap, text, font, 0);
        benchmark::DoNotOptimize(bitmap.Data());
    }
}
BENCHMARK(WarpLongText)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);

using E = lx::TLxLabelObjectEffects;
BENCHMARK_CAPTURE(DrawStyle, Plain, nullptr)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawStyle, Outline, &E::SetOutline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawStyle, Shadow2, &E::SetShadow2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawStyle, Curve, &E::SetCurve)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawStyle, Deform, &E::SetDeform)->Unit(benchmark::kMillisecond);

} // namespace
