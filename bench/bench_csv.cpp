// Loading merge tables and reading their cells: time, and the peak heap the
// load takes per megabyte of input (counted by the allocation hooks below).
#include "designer/model/LxCSV.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void Count(void* p)
{
    const std::size_t live = liveBytes += malloc_usable_size(p);
    std::size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {}
}

} // namespace

void* operator new(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    Count(p);
    return p;
}

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

class CsvFile {
public:
    explicit CsvFile(const std::string& text)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lxbench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        path_ = folder_ + "/merge.csv";
        lx::WriteFileReplacing(path_, text);
        size_ = text.size();
    }
    ~CsvFile() { std::filesystem::remove_all(folder_); }
    const std::string& Path() const { return path_; }
    std::size_t Size() const { return size_; }

private:
    std::string folder_;
    std::string path_;
    std::size_t size_ = 0;
};

// A million short records of about 43 bytes: number, name, quoted address
// with a comma and a blank, postal code.
const CsvFile& MillionRows()
{
    static const CsvFile file([] {
        std::string row(1, ',');
        row += lx::Sjis("山田 太郎") + ",\"" + lx::Sjis("東京都千代田区, 5F") + "\",100-";
        std::string text;
        for (int r = 0; r < 1000000; ++r)
            text += std::to_string(r) + row + std::to_string(1000 + r % 9000) + "\r\n";
        return text;
    }());
    return file;
}

// One line of 1,000,001 empty columns over a thousand empty lines.
const CsvFile& MillionColumns()
{
    static const CsvFile file(std::string(1000000, ',') + "\r\n" + std::string(1000, '\n'));
    return file;
}

void LoadAndMeasure(benchmark::State& state, const CsvFile& file, std::int32_t readColumns)
{
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = liveBytes.load();
        peakBytes = before;
        lx::TLxCSV table;
        if (!table.LoadFromFile(file.Path()))
            state.SkipWithError("the CSV file did not load");
        std::size_t bytes = 0;
        for (std::int32_t r = 0; r < table.GetRowCount(); r += 97)
            for (std::int32_t c = 1; c <= readColumns; ++c)
                bytes += table.CsvCell(c, r).size();
        benchmark::DoNotOptimize(bytes);
        peak = std::max(peak, peakBytes.load() - before);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.Size()));
    state.counters["input_MiB"] = static_cast<double>(file.Size()) / kMiB;
    state.counters["peak_heap_MiB"] = static_cast<double>(peak) / kMiB;
    state.counters["peak_per_input_MiB"] = static_cast<double>(peak) / static_cast<double>(file.Size());
}

void BM_LoadMillionRowCsv(benchmark::State& state) { LoadAndMeasure(state, MillionRows(), 4); }
BENCHMARK(BM_LoadMillionRowCsv)->Unit(benchmark::kMillisecond);

void BM_LoadMillionColumnCsv(benchmark::State& state) { LoadAndMeasure(state, MillionColumns(), 1); }
BENCHMARK(BM_LoadMillionColumnCsv)->Unit(benchmark::kMillisecond);

} // namespace
