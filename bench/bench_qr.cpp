// QR encoding speed at level M: a 13-digit number (version 1), a 30-character
// URL, 100 bytes and 400 alphanumeric characters, in symbols per second;
// libqrencode encodes the same inputs beside ours when it is installed.
#include "symbol/encoders/QrEncoder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#if LX_HAVE_QRENCODE
#include <qrencode.h>
#endif

namespace {

struct Input {
    const char* name;
    std::string data;
    bool binary;
};

std::string Bytes100()
{
    std::string s;
    for (int i = 0; i < 100; ++i)
        s += static_cast<char>((i * 73 + 41) % 256);
    return s;
}

std::string Alphanumeric400()
{
    const char* set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    std::string s;
    for (int i = 0; i < 400; ++i)
        s += set[(i * 7 + i / 45) % 45];
    return s;
}

const std::vector<Input>& Inputs()
{
    static const std::vector<Input> inputs = {
        {"digits13", "4901234567894", false},
        {"url30", "https://www.example.jp/a/12345", false},
        {"bytes100", Bytes100(), true},
        {"alnum400", Alphanumeric400(), false},
    };
    return inputs;
}

// The request the control builds: text is analysed, bytes go as one segment.
std::vector<std::uint8_t> RequestFor(const Input& input)
{
    std::string r;
    if (input.binary) {
        char count[8];
        std::snprintf(count, sizeof count, "%04d", static_cast<int>(input.data.size()));
        r = std::string("MM,B") + count + input.data;
    } else {
        r = "MA," + input.data;
    }
    std::vector<std::uint8_t> request(r.begin(), r.end());
    request.push_back(0);
    return request;
}

void EncodeOurs(benchmark::State& state, const Input& input)
{
    std::vector<std::uint8_t> request = RequestFor(input);
    const int length = static_cast<int>(request.size()) - 1;
    static std::uint8_t matrix[177 * 23];
    int count = 0;
    for (auto _ : state) {
        const int result = lx::EncodeQr(length, request.data(), &count, matrix, 2, 0);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(matrix);
    }
    state.counters["modules"] = count;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void EncodeAllOurs(benchmark::State& state)
{
    std::vector<std::vector<std::uint8_t>> requests;
    for (const Input& input : Inputs())
        requests.push_back(RequestFor(input));
    static std::uint8_t matrix[177 * 23];
    int count = 0;
    for (auto _ : state)
        for (auto& request : requests)
            benchmark::DoNotOptimize(
                lx::EncodeQr(static_cast<int>(request.size()) - 1, request.data(), &count, matrix, 2, 0));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * requests.size()));
}

#if LX_HAVE_QRENCODE
QRcode* EncodeWithQrencode(const Input& input)
{
    if (input.binary)
        return QRcode_encodeData(static_cast<int>(input.data.size()),
                                 reinterpret_cast<const unsigned char*>(input.data.data()), 0, QR_ECLEVEL_M);
    return QRcode_encodeString(input.data.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
}

void EncodeQrencode(benchmark::State& state, const Input& input)
{
    int width = 0;
    for (auto _ : state) {
        QRcode* code = EncodeWithQrencode(input);
        width = code ? code->width : 0;
        QRcode_free(code);
    }
    state.counters["modules"] = width;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void EncodeAllQrencode(benchmark::State& state)
{
    for (auto _ : state)
        for (const Input& input : Inputs())
            QRcode_free(EncodeWithQrencode(input));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Inputs().size()));
}
#endif

const bool kRegistered = [] {
    for (const Input& input : Inputs()) {
        benchmark::RegisterBenchmark((std::string("EncodeQr/") + input.name).c_str(), EncodeOurs, input);
#if LX_HAVE_QRENCODE
        benchmark::RegisterBenchmark((std::string("libqrencode/") + input.name).c_str(), EncodeQrencode, input);
#endif
    }
    benchmark::RegisterBenchmark("EncodeQr/all4", EncodeAllOurs);
#if LX_HAVE_QRENCODE
    benchmark::RegisterBenchmark("libqrencode/all4", EncodeAllQrencode);
#endif
    return true;
}();

} // namespace
