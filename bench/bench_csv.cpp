// Loading a merge table of 10,000 rows and 10 columns and reading every cell,
// as a merge print of the whole table does.
#include "designer/model/LxCSV.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 10;

// Addresses, names and numbers, some quoted with commas and blanks inside.
std::string MakeCsv()
{
    const std::string name = lx::Sjis("山田 太郎");
    const std::string address = "\"" + lx::Sjis("東京都千代田区丸の内1-2-3, ビル5F") + "\"";
    std::string text;
    for (int r = 0; r < kRows; ++r) {
        text += std::to_string(r) + "," + name + "," + address + ",100-" + std::to_string(1000 + r % 9000);
        for (int c = 4; c < kColumns; ++c)
            text += ",\"field " + std::to_string(c) + " \"\"" + std::to_string(r) + "\"\"\"";
        text += "\r\n";
    }
    return text;
}

class CsvFile {
public:
    CsvFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lxbench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        path_ = lx::SystemPath(folder_ + "/merge.csv");
        lx::WriteFileReplacing(path_, MakeCsv());
    }
    ~CsvFile() { std::filesystem::remove_all(folder_); }
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

void BM_LoadCsvAndReadEveryCell(benchmark::State& state)
{
    static const CsvFile file;
    for (auto _ : state) {
        lx::TLxCSV table;
        if (!table.LoadFromFile(file.Path()) || table.GetColCount() != kColumns)
            state.SkipWithError("the CSV file did not load as 10 columns");
        std::size_t bytes = 0;
        for (int r = 0; r < table.GetRowCount(); ++r)
            for (int c = 1; c <= kColumns; ++c)
                bytes += table.CsvCell(c, r).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_LoadCsvAndReadEveryCell)->Unit(benchmark::kMillisecond);

} // namespace
