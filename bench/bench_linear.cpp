// Linear encoding speed: Code 128 of 20 characters and EAN-13, in elements
// written per second.
#include "symbol/encoders/LinearEncoder.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void EncodeRepeatedly(benchmark::State& state, std::int32_t key, const char* data)
{
    std::uint8_t elements[lx::kLinearElementCapacity];
    char text[lx::kLinearTextCapacity];
    const int length = static_cast<int>(std::strlen(data));
    std::int64_t written = 0;
    for (auto _ : state) {
        std::int32_t count = 0;
        const int result = lx::EncodeLinear(length, reinterpret_cast<const std::uint8_t*>(data), &count, elements, key,
                                            lx::LinearOption(1, 1), text);
        benchmark::DoNotOptimize(elements);
        benchmark::DoNotOptimize(result);
        written += count;
    }
    state.counters["elements"] = benchmark::Counter(static_cast<double>(written), benchmark::Counter::kIsRate);
}

void BM_Code128Of20Characters(benchmark::State& state)
{
    EncodeRepeatedly(state, lx::kLinearCode128B, "Label-0042 lot 7@@x9");
}
void BM_Ean13(benchmark::State& state) { EncodeRepeatedly(state, lx::kLinearEan13, "490123456789"); }

} // namespace

BENCHMARK(BM_Code128Of20Characters);
BENCHMARK(BM_Ean13);
