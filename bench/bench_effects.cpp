// Drawing one effect-text object of each style into a label metafile at
// 600 dpi, as a render for print does; the deformed styles go through their
// bitmap, also for long texts at 500 points.
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelObjectManager.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Cp932.h"

#include <benchmark/benchmark.h>

namespace {

const std::vector<std::string>& Faces()
{
    static const std::vector<std::string> faces{lx::Sjis("ＭＳ ゴシック") + ":128"};
    return faces;
}

// One effect-text object of this text and size set up by `style`, drawn into
// a 600-dpi label metafile on every iteration.
template <typename Style>
void DrawEffects(benchmark::State& state, const std::string& text, int points, Style style)
{
    lx::DeviceInfo printer;
    printer.dpiX = printer.dpiY = 600;
    for (auto _ : state) {
        lx::TlxLabelObjectManager list(Faces(), 80, 40, 0);
        list.SetDpiX(600);
        list.SetDpiY(600);
        list.AddEffects();
        auto& effects = dynamic_cast<lx::TLxLabelObjectEffects&>(*list.GetObject(0));
        effects.SetText(text);
        effects.SetFontSize(points);
        style(effects);
        lx::EmfRecorder recorder(printer);
        list.DrawObjects(recorder, true);
        benchmark::DoNotOptimize(recorder.Close().Bytes().size());
    }
}

void DrawStyle(benchmark::State& state, void (lx::TLxLabelObjectEffects::*flag)(std::uint8_t))
{
    DrawEffects(state, lx::Sjis("特殊文字 Effects 123"), 24, [flag](lx::TLxLabelObjectEffects& effects) {
        effects.SetWidth(60);
        if (flag)
            (effects.*flag)(1);
    });
}

// Deformed text of many characters at 500 points: the warp's work is bounded
// by its bitmap, not by the text's length.
void DeformLongText(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += lx::Sjis(i % 2 ? "字" : "A");
    DrawEffects(state, text, 500, [](lx::TLxLabelObjectEffects& effects) { effects.SetDeform(1); });
}
BENCHMARK(DeformLongText)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The warp alone, at the deform font of 500 points.
void WarpLongText(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += lx::Sjis(i % 2 ? "字" : "A");
    const lx::LabelPainter painter(Faces(), 600, 600);
    lx::LogFont font;
    font.height = -6667;
    font.faceName = lx::Sjis("ＭＳ ゴシック");
    for (auto _ : state) {
        lx::Bitmap bitmap;
        painter.WarpTextPath(bitmap, text, font, 0);
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
