// Saving and loading a design of 24 label cells holding 1,000 objects: texts,
// merge texts, serial numbers, figures, grids and effect texts.
#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelString.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "tests/support/MergeTables.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kCells = 24;
constexpr int kObjects = 1000;

lx::TlxLblInfo MakeLayout()
{
    lx::TlxLblInfo layout;
    layout.Paper = lx::TlxPaperObject("3", "L-24", "A4", "A4", "210", "297");
    layout.Header = "LBLBASE";
    layout.Version = "1.00";
    for (int i = 0; i < kCells; ++i)
        layout.Cells.emplace_back(lx::lxLineNomal, 7 + 66 * (i % 3), 12 + 34 * (i / 3), 64, 33.9);
    layout.LabelCount = kCells;
    return layout;
}

// 100 addresses to merge from, as the merge-table block holds them.
lx::TLxCSV MakeTable()
{
    std::vector<std::string> lines;
    for (int r = 0; r < 100; ++r)
        lines.push_back(std::to_string(r) + ",山田 太郎,東京都千代田区");
    return lxtest::MergeTableOf(lines);
}

// Every object a little different, as a real design's are.
class Sample {
public:
    Sample() : table_(std::make_shared<lx::TLxCSV>(MakeTable())), layout_(MakeLayout()), document_(kCells, layout_)
    {
        const std::uint8_t kinds[] = {lx::KindString, lx::KindString,  lx::KindFigure,
                                      lx::KindGrid,   lx::KindEffects, lx::KindRenbanString};
        for (int i = 0; i < kObjects; ++i) {
            const int face = i % kCells;
            if (i % 7 == 6)
                document_.AddMergeObject(lx::KindCsvString, face, table_);
            else
                document_.AddObject(kinds[i % std::size(kinds)], face);
            lx::TLxLableObjectBase* object = document_.GetObject(0, face);
            object->SetLeft(1 + i % 40);
            object->SetTop(2 + i % 25);
            if (auto* text = dynamic_cast<lx::TLxLabelObjectString*>(object))
                text->SetText(lx::Sjis("〒100-0005 東京都千代田区丸の内 ") + std::to_string(i));
        }
    }
    void Write(lx::Stream& stream) const { lx::WriteDesign(stream, *table_, layout_, document_); }
    void Save(const std::string& path) const { lx::SaveDesignFile(path, *table_, layout_, document_); }

private:
    std::shared_ptr<lx::TLxCSV> table_;
    lx::TlxLblInfo layout_;
    lx::TlxLabelManager document_;
};

class Folder {
public:
    Folder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lxbench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string File(const char* name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

const Sample& Design()
{
    static const Sample sample;
    return sample;
}

void BM_SaveDesignFile(benchmark::State& state)
{
    const Folder folder;
    const std::string path = folder.File("design.bv2");
    for (auto _ : state)
        Design().Save(path);
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_SaveDesignFile)->Unit(benchmark::kMillisecond);

void BM_LoadDesignFile(benchmark::State& state)
{
    const Folder folder;
    const std::string path = folder.File("design.bv2");
    Design().Save(path);
    for (auto _ : state) {
        const lx::Design loaded = lx::LoadDesignFile(path);
        if (loaded.Document->GetFaceCount() != kCells)
            state.SkipWithError("the design did not load whole");
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_LoadDesignFile)->Unit(benchmark::kMillisecond);

// The same two steps without the disk.
void BM_WriteAndReadDesign(benchmark::State& state)
{
    for (auto _ : state) {
        lx::MemoryStream stream;
        Design().Write(stream);
        stream.Seek(0);
        benchmark::DoNotOptimize(lx::ReadDesign(stream));
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_WriteAndReadDesign)->Unit(benchmark::kMillisecond);

} // namespace
