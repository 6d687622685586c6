// Symbols per second of the DataMatrix encoder for short and long requests.
#include "symbol/encoders/DataMatrixEncoder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void Encode(benchmark::State& state, const std::string& request, int model)
{
    std::vector<std::uint8_t> matrix(lx::kDataMatrixMatrixBytes);
    std::int32_t numCell = 0;
    for (auto _ : state) {
        const int rc = lx::EncodeDataMatrix(static_cast<int>(request.size()),
                                            reinterpret_cast<const std::uint8_t*>(request.data()), &numCell,
                                            matrix.data(), model, 0);
        benchmark::DoNotOptimize(rc);
        benchmark::DoNotOptimize(matrix.data());
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

std::string Repeat(const std::string& unit, std::size_t length)
{
    std::string s;
    while (s.size() < length)
        s += unit;
    return s.substr(0, length);
}

void BM_DataMatrixShort(benchmark::State& state) { Encode(state, ",123456", 1); }
void BM_DataMatrixShortText(benchmark::State& state) { Encode(state, ",Lot A-1024 exp 2025/12", 2); }
void BM_DataMatrixLongDigits(benchmark::State& state) { Encode(state, std::string(",").append(3116, '7'), 1); }
void BM_DataMatrixLongText(benchmark::State& state)
{
    Encode(state, std::string(",").append(Repeat("Invoice 2024-0815 TOTAL 12345678 yen; item #42/a ", 1500)), 1);
}
void BM_DataMatrixLongBinary(benchmark::State& state)
{
    std::string bytes;
    for (int i = 0; i < 1500; ++i)
        bytes += static_cast<char>((i * 97 + 13) % 256);
    Encode(state, "," + bytes, 1);
}

} // namespace

BENCHMARK(BM_DataMatrixShort);
BENCHMARK(BM_DataMatrixShortText);
BENCHMARK(BM_DataMatrixLongDigits);
BENCHMARK(BM_DataMatrixLongText);
BENCHMARK(BM_DataMatrixLongBinary);
