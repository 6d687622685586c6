// A label of ten 8000 x 8000 JPEG pictures (a design file of about 10 MB):
// loading and rendering it, with the process's peak memory and the decoded
// picture bytes as counters. With LX_PICTURE_DESIGN set to a path, the
// design is also written there, for opening it in the program.
#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelImage.h"
#include "platform/image/DecodedImage.h"
#include "platform/image/JpegImage.h"
#include "platform/io/Files.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/resource.h>

namespace {

constexpr int kPictures = 10;
constexpr int kSide = 8000;

lx::TlxLblInfo OneCellLayout()
{
    lx::TlxLblInfo layout;
    layout.Paper = lx::TlxPaperObject("3", "PIC-1", "A4", "A4", "210", "297");
    layout.Header = "LBLBASE";
    layout.Version = "1.00";
    layout.Cells.emplace_back(lx::lxLineNomal, 5, 5, 200, 287);
    layout.LabelCount = 1;
    return layout;
}

// One flat colour per picture: libjpeg keeps such a file near 1 MB.
std::string PictureFile(int n)
{
    static lx::Bitmap pixels(kSide, kSide);
    pixels.Fill(0xFF000000u | static_cast<std::uint32_t>(0x102030 * (n + 1)));
    return lx::EncodeJpeg(pixels);
}

// The design as a file's bytes, made once.
const std::string& DesignBytes()
{
    static const std::string bytes = [] {
        const lx::TLxCSV table;
        const lx::TlxLblInfo layout = OneCellLayout();
        lx::TlxLabelManager document(1, layout);
        for (int n = 0; n < kPictures; ++n) {
            document.AddObject(lx::KindImage, 0);
            auto& image = dynamic_cast<lx::TLxLabelObjectImage&>(*document.GetObject(0, 0));
            auto jpeg = std::make_unique<lx::JpegImage>();
            jpeg->LoadFromBytes(PictureFile(n));
            image.GetPicture().SetGraphic(std::move(jpeg));
            image.SetLeft(5 + 95 * (n % 2));
            image.SetTop(5 + 55 * (n / 2));
            image.SetWidth(90);
            image.SetHeight(50);
        }
        lx::MemoryStream stream;
        lx::WriteDesign(stream, table, layout, document);
        return stream.Bytes();
    }();
    return bytes;
}

void KeepDesignWhereAsked()
{
    if (const char* path = std::getenv("LX_PICTURE_DESIGN"); path && *path)
        lx::WriteFileReplacing(path, DesignBytes());
}

double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

lx::Design ReadDesignBytes()
{
    lx::MemoryStream stream(DesignBytes());
    return lx::ReadDesign(stream);
}

void BM_RenderTenLargePictures(benchmark::State& state)
{
    KeepDesignWhereAsked();
    for (auto _ : state) {
        const lx::Design design = ReadDesignBytes();
        benchmark::DoNotOptimize(design.Document->RenderFace(0, 0));
        state.counters["decoded_MiB"] = static_cast<double>(lx::DecodedImage::LiveBytes()) / (1 << 20);
    }
    state.counters["file_MiB"] = static_cast<double>(DesignBytes().size()) / (1 << 20);
    state.counters["peak_MiB"] = PeakMiB();
}
BENCHMARK(BM_RenderTenLargePictures)->Unit(benchmark::kMillisecond);

} // namespace
