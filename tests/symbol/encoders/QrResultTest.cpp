// Result codes of EncodeQr, each for its cause, and hostile requests.
#include "QrTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace lxtest {
namespace {

struct ResultCase {
    const char* why;
    std::string request;
    int model;
    int version;
    int expected;
};

std::string Repeat(const std::string& s, int times)
{
    std::string r;
    for (int i = 0; i < times; ++i)
        r += s;
    return r;
}

TEST(QrResult, EveryCodeForItsCause)
{
    const ResultCase cases[] = {
        {"model 0", "MA,1", 0, 0, lx::kQrBadModel},
        {"model 4", "MA,1", 4, 0, lx::kQrBadModel},
        {"D with Micro QR", "D0102a5,MA,1", 3, 0, lx::kQrBadStructuredAppend},
        {"total 01", "D0101a5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"position 03 of total 02", "D0302a5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"position 00", "D0002a5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"position 17", "D1717a5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"total 17", "D0117a5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"parity not hexadecimal", "D0102g5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"header cut short", "D010", 2, 0, lx::kQrBadStructuredAppend},
        {"tens digit without units", "D1x02a5,MA,1", 2, 0, lx::kQrBadStructuredAppend},
        {"given segments above 7,366 bytes", "MM,N" + std::string(4000, '1') + ",N" + std::string(3367, '2'), 2, 0,
         lx::kQrDataDoesNotFit},
        {"B with four bytes after it", "MM,B0001", 2, 0, lx::kQrDataDoesNotFit},
        {"B count not decimal", "MM,B00x1abc", 2, 0, lx::kQrDataDoesNotFit},
        {"7,090 digits at L", "LA," + std::string(7090, '9'), 2, 0, lx::kQrDataDoesNotFit},
        {"Model 1 beyond version 14", "LA," + std::string(1200, '9'), 1, 0, lx::kQrDataDoesNotFit},
        {"Micro QR at level H", "HA,1", 3, 0, lx::kQrDataDoesNotFit},
        {"Micro QR at level Q below M4", "QA,1", 3, 3, lx::kQrDataDoesNotFit},
        {"Micro QR at level Q in M4", "QA,1", 3, 0, lx::kQrOk},
        {"Micro QR byte data beyond M4", "LA," + std::string(16, 'x'), 3, 0, lx::kQrDataDoesNotFit},
        {"version 7 asked and needed", "MA," + std::string(280, '5'), 2, 7, lx::kQrOk},
        {"version 6 is too small", "MA," + std::string(280, '5'), 2, 6, lx::kQrDataDoesNotFit},
        {"requested M2 with byte data", "LA,abc", 3, 2, lx::kQrDataDoesNotFit},
        {"letters in a numeric segment", "MM,N12A4", 2, 0, lx::kQrDataDoesNotFit},
        {"odd kanji segment", "MM,K\x88\x9F\x88", 2, 0, lx::kQrDataDoesNotFit},
        {"comma leading an implicit segment", "MM,,AB", 2, 0, lx::kQrDataDoesNotFit},
        {"more than 200 segments", "MA," + Repeat("123456789012345678901234abcdefghijkl", 101), 2, 0,
         lx::kQrTooManySegments},
        {"version 41", "MA,1", 2, 41, lx::kQrVersionOutOfRange},
        {"Model 1 version 15", "MA,1", 1, 15, lx::kQrVersionOutOfRange},
        {"Micro version 5", "LA,1", 3, 5, lx::kQrVersionOutOfRange},
        {"negative version", "MA,1", 2, -1, lx::kQrVersionOutOfRange},
        {"version 40", "MA,1", 2, 40, lx::kQrOk},
        {"Model 1 version 14", "MA,1", 1, 14, lx::kQrOk},
        {"lower-case header", "d0203ff;qa,123", 2, 0, lx::kQrOk},
        {"one-digit position and total", "D23ff,QA,123", 2, 0, lx::kQrOk},
        {"200 given segments", "MM," + Repeat("N1,", 199) + "N1", 2, 0, lx::kQrOk},
        {"201 given segments", "MM," + Repeat("N1,", 200) + "N1", 2, 0, lx::kQrTooManySegments},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(EncodeQrRequest(c.request, c.model, c.version).result, c.expected);
    }
}

// On failure neither the module count nor the matrix changes; the end mark
// is written either way.
TEST(QrResult, FailureLeavesOutputsAlone)
{
    std::vector<std::uint8_t> request = {'H', 'A', ',', '1', 'x'};
    std::vector<std::uint8_t> matrix(177 * 23, 0x5A);
    int count = 12345;
    EXPECT_EQ(lx::EncodeQr(4, request.data(), &count, matrix.data(), 3, 0), lx::kQrDataDoesNotFit);
    EXPECT_EQ(count, 12345);
    EXPECT_EQ(std::count(matrix.begin(), matrix.end(), 0x5A), 177 * 23);
    EXPECT_EQ(request[4], 0xFF);
    EXPECT_EQ(lx::EncodeQr(4, request.data(), &count, matrix.data(), 2, 0), lx::kQrOk);
    EXPECT_EQ(count, 21);
    EXPECT_EQ(matrix[21 * 3], 0x5A) << "wrote beyond 21 rows of 3 bytes";
}

TEST(QrResult, EmptyDataGivesTheSmallestSymbol)
{
    for (int model : {1, 2}) {
        const QrSymbol symbol = EncodeQrRequest("MA,", model);
        ASSERT_EQ(symbol.result, 0);
        EXPECT_EQ(symbol.size, 21);
    }
    const QrSymbol symbol = EncodeQrRequest("M", 2);
    ASSERT_EQ(symbol.result, 0);
    const Decoded decoded = DecodeQrSymbol(symbol);
    EXPECT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.bytes, "");
}

// Hostile requests: truncated headers, counts that run past the end, kanji
// lead bytes beyond the data buffer, and random bytes for every model and
// version. The helper's request buffer ends right behind the end mark.
TEST(QrResult, HostileRequestsReturnACode)
{
    const std::string leads(7366, '\x81');
    const ResultCase cases[] = {
        {"B count past the end", "MM,B9999abc", 2, 0, lx::kQrOk},
        {"B count at the very end", "MM,B99", 2, 0, lx::kQrDataDoesNotFit},
        {"7,366 kanji lead bytes", "MA," + leads, 2, 0, lx::kQrDataDoesNotFit},
        {"14,732 kanji lead bytes", "MA," + leads + leads, 2, 0, lx::kQrDataDoesNotFit},
        {"a kanji segment of 7,366 lead bytes", "MM,K" + leads, 2, 0, lx::kQrDataDoesNotFit},
        {"a kanji segment of 7,368 lead bytes", "MM,K" + leads + "\x81\x81", 2, 0, lx::kQrDataDoesNotFit},
        {"lone lead byte at the end", "MA,AB\x81", 2, 0, lx::kQrOk},
        {"D alone", "D", 2, 0, lx::kQrBadStructuredAppend},
        {"header without separator", "D0102ff", 2, 0, lx::kQrOk},
        {"empty request", "", 2, 0, lx::kQrOk},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(EncodeQrRequest(c.request, c.model, c.version).result, c.expected);
    }
    std::mt19937 rng(99);
    for (int i = 0; i < 2000; ++i) {
        std::string request(rng() % 64, '\0');
        for (char& ch : request)
            ch = static_cast<char>(i % 2 ? "DMAB0123456789,\r\nKNLQH"[rng() % 23] : rng() % 256);
        const int model = static_cast<int>(rng() % 5);
        const int version = static_cast<int>(rng() % 44) - 1;
        const QrSymbol symbol = EncodeQrRequest(request, model, version);
        ASSERT_TRUE(symbol.result == 0 || symbol.result == -1 || symbol.result == -2 || symbol.result == -3 ||
                    symbol.result == -4 || symbol.result == -6);
        if (symbol.result == 0) {
            ASSERT_GE(symbol.size, 11);
            ASSERT_LE(symbol.size, 177);
            for (int r = 0; r < symbol.size; ++r)
                for (int c = symbol.size; c < (symbol.size + 7) / 8 * 8; ++c)
                    ASSERT_FALSE(symbol.Dark(r, c)) << "bit beyond the last column";
        }
    }
}

} // namespace
} // namespace lxtest
