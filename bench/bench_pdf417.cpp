// Symbols per second of the PDF417 encoder for short and long requests.
#include "symbol/encoders/Pdf417Encoder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void Encode(benchmark::State& state, const std::string& request, int model)
{
    std::vector<std::uint8_t> matrix(lx::kPdf417MatrixBytes);
    std::int32_t numCell = 0;
    std::int32_t ecc = 0;
    for (auto _ : state) {
        const int rc =
            lx::EncodePdf417(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                             &numCell, matrix.data(), model, 0, &ecc);
        benchmark::DoNotOptimize(rc);
        benchmark::DoNotOptimize(matrix.data());
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

std::string LongMixed()
{
    std::string s;
    while (s.size() < 1000)
        s += "Invoice 2024-0815 total 12345678901234 JPY; \x82\xa0\x82\xa2 item#42/a ";
    return s.substr(0, 1000);
}

void BM_Pdf417Short(benchmark::State& state) { Encode(state, "0,Hello PDF417", lx::kPdf417Standard); }
void BM_Pdf417Long(benchmark::State& state) { Encode(state, "0," + LongMixed(), lx::kPdf417Standard); }
void BM_Pdf417LongDigits(benchmark::State& state)
{
    Encode(state, "0," + std::string(2000, '7'), lx::kPdf417Truncated);
}
void BM_MicroPdf417Short(benchmark::State& state) { Encode(state, "0,Hello Micro", lx::kMicroPdf417); }

} // namespace

BENCHMARK(BM_Pdf417Short);
BENCHMARK(BM_Pdf417Long);
BENCHMARK(BM_Pdf417LongDigits);
BENCHMARK(BM_MicroPdf417Short);
