// Symbols per second of the MaxiCode encoder for short and long requests.
#include "symbol/encoders/MaxiCodeEncoder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void Encode(benchmark::State& state, const std::string& request, int storedMode)
{
    std::vector<std::uint8_t> map(lx::kMaxiCodeMapBytes);
    for (auto _ : state) {
        const int rc =
            lx::EncodeMaxiCode(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                               map.data(), storedMode);
        benchmark::DoNotOptimize(rc);
        benchmark::DoNotOptimize(map.data());
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_MaxiCodeShort(benchmark::State& state) { Encode(state, ",ABC", 3); }
void BM_MaxiCodeCarrier(benchmark::State& state) { Encode(state, ",123456789,840,001,1Z 999 AA1 01 2345 6784", 1); }
void BM_MaxiCodeLongText(benchmark::State& state)
{
    Encode(state, ",Ship to: Mr. Example, 1-2-3 Chiyoda, Tokyo 100-0001 JAPAN; ref #A-42/xyz", 3);
}
void BM_MaxiCodeLongDigits(benchmark::State& state) { Encode(state, "," + std::string(138, '4'), 3); }

} // namespace

BENCHMARK(BM_MaxiCodeShort);
BENCHMARK(BM_MaxiCodeCarrier);
BENCHMARK(BM_MaxiCodeLongText);
BENCHMARK(BM_MaxiCodeLongDigits);
