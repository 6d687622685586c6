// Facts published in ISO/IEC 18004: the worked examples' codewords, format
// and version information, and the layout of the function patterns.
#include "QrTestSupport.h"

#include "symbol/encoders/QrBitStream.h"
#include "symbol/encoders/QrMasking.h"
#include "symbol/encoders/QrReedSolomon.h"
#include "symbol/encoders/QrTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <random>

namespace lxtest {
namespace {

std::vector<int> Codewords(int model, int version, int level, const lx::QrSegmentList& segments, const char* data)
{
    const lx::QrSymbolKind kind{model, level};
    std::uint8_t codewords[64] = {};
    std::uint8_t sequence[64] = {};
    lx::QrBuildBitStream(segments, reinterpret_cast<const std::uint8_t*>(data), kind, version - 1, codewords);
    const int bits = lx::QrAddReedSolomon(model, version - 1, level, codewords, sequence);
    return std::vector<int>(sequence, sequence + (bits + 7) / 8);
}

TEST(QrStandard, WorkedExampleCodewords)
{
    lx::QrSegmentList segments;
    segments.items[0] = {lx::kQrNumeric, 8, 0};
    segments.count = 1;
    // 1-M: 16 data codewords, then 10 error-correction codewords.
    const std::vector<int> model2 = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC,
                                     0x11, 0xEC, 0x11, 0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55};
    EXPECT_EQ(Codewords(lx::kQrModel2, 1, lx::kQrLevelM, segments, "01234567"), model2);
    // Micro QR M2-L: 5 data codewords, then 5 error-correction codewords.
    const std::vector<int> micro = {0x40, 0x18, 0xAC, 0xC3, 0x00, 0x86, 0x0D, 0x22, 0xAE, 0x30};
    EXPECT_EQ(Codewords(lx::kQrMicro, 2, lx::kQrLevelL, segments, "01234567"), micro);
}

// M1 and M3 end their data with a 4-bit codeword; the error correction
// follows it directly, and a padded one is 0000.
TEST(QrStandard, MicroHalfCodewords)
{
    lx::QrSegmentList segments;
    segments.items[0] = {lx::kQrNumeric, 1, 0};
    segments.count = 1;
    // M1: indicator none, count 001, digit 0101, terminator 000, then 0 bits.
    const std::vector<int> m1 = Codewords(lx::kQrMicro, 1, lx::kQrLevelL, segments, "5");
    ASSERT_EQ(m1.size(), 5u);  // 20 data bits + 16 error-correction bits in 36 bits
    EXPECT_EQ(m1[0], 0x2A);
    EXPECT_EQ(m1[1], 0x00);
    std::uint8_t data[3] = {0x2A, 0x00, 0x00};
    std::uint8_t ec[2];
    lx::QrReedSolomonBlock(data, 3, 2, ec);
    EXPECT_EQ(m1[2], ec[0] >> 4);
    EXPECT_EQ(m1[3], (ec[0] << 4 | ec[1] >> 4) & 0xFF);
    EXPECT_EQ(m1[4], (ec[1] << 4) & 0xF0);
}

TEST(QrStandard, FormatAndVersionInformation)
{
    EXPECT_EQ(lx::QrFormatBits(lx::kQrModel2, 0, lx::kQrLevelL, 0), 0b111011111000100);
    EXPECT_EQ(lx::QrFormatBits(lx::kQrModel2, 0, lx::kQrLevelM, 0), 0b101010000010010);
    EXPECT_EQ(lx::QrFormatBits(lx::kQrModel2, 0, lx::kQrLevelM, 2), 0b101111001111100);
    EXPECT_EQ(lx::QrFormatBits(lx::kQrModel2, 0, lx::kQrLevelQ, 0), 0b011010101011111);
    EXPECT_EQ(lx::QrFormatBits(lx::kQrModel2, 0, lx::kQrLevelH, 0), 0b001011010001001);
    EXPECT_EQ(lx::QrVersionBits(7), 0x07C94);
    EXPECT_EQ(lx::QrVersionBits(8), 0x085BC);
    EXPECT_EQ(lx::QrVersionBits(10), 0x0A4D3);
    EXPECT_EQ(lx::QrVersionBits(40), 0x28C69);
}

TEST(QrStandard, EveryBlockHasItsGenerator)
{
    for (int model = 0; model < 3; ++model)
        for (int v = 0; v < lx::QrMaxVersion(model); ++v)
            for (int level = 0; level < 4; ++level) {
                const lx::QrVersionInfo& info = lx::QrVersionTable(model, v);
                if (info.blocks[level] == 0)
                    continue;
                const int ec = (info.total - info.data[level]) / info.blocks[level];
                EXPECT_TRUE(lx::QrHasGenerator(ec)) << model << " " << v << " " << level;
            }
}

TEST(QrStandard, FunctionPatternLayout)
{
    const QrSymbol v1 = EncodeQrRequest("MA,QRCODE", 2, 1);
    ASSERT_EQ(v1.matrix.size(), 21u * 3);
    EXPECT_EQ(v1.matrix[0], 0x7F);
    EXPECT_EQ(v1.matrix[2] & 0xE0, 0) << "bits beyond column 20 are 0";
    EXPECT_TRUE(v1.Dark(13, 8)) << "the dark module at (n - 8, 8)";

    // Version information from version 7: bit k at (k / 3, n - 11 + k % 3) and mirrored.
    const QrSymbol v7 = EncodeQrRequest("MA,1", 2, 7);
    int upper = 0, lower = 0;
    for (int k = 0; k < 18; ++k) {
        upper |= v7.Dark(k / 3, v7.size - 11 + k % 3) << k;
        lower |= v7.Dark(v7.size - 11 + k % 3, k / 3) << k;
    }
    EXPECT_EQ(upper, 0x07C94);
    EXPECT_EQ(lower, 0x07C94);
    EncodeQrRequest("MA,1", 2, 6);
    EXPECT_TRUE(lx::QrModuleAt(lx::QrLastWorkMatrix().functionMap, 0, 41 - 11)) << "no version area below 7";

    const QrSymbol m1 = EncodeQrRequest("LA,1", 3, 1);
    EXPECT_EQ(m1.size, 11);
    EXPECT_EQ(m1.matrix.size(), 11u * 2);
    for (int i = 8; i < 11; ++i) {
        EXPECT_EQ(m1.Dark(0, i), i % 2 == 0) << "timing along the top";
        EXPECT_EQ(m1.Dark(i, 0), i % 2 == 0) << "timing down the left";
    }
}

void FillRandom(lx::QrWorkMatrix& m, int size, std::mt19937& rng)
{
    m.size = size;
    for (auto& row : m.result)
        for (auto& b : row)
            b = static_cast<std::uint8_t>(rng() & rng());  // a quarter dark, so that long runs occur
    for (int r = 0; r < size; ++r)
        for (int c = size; c < lx::kQrRowStride * 8; ++c)
            m.result[r][c / 8] &= static_cast<std::uint8_t>(~(1u << (c % 8)));
}

// The penalty rules applied module by module to one line.
int PlainLinePenalty(const std::vector<int>& line)
{
    std::vector<int> runs;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i == 0 || line[i] != line[i - 1])
            runs.push_back(0);
        ++runs.back();
    }
    int penalty = 0;
    for (int length : runs)
        penalty += length >= 5 ? length - 2 : 0;
    const int count = static_cast<int>(runs.size());
    for (int i = 0; i + 5 <= count; ++i) {
        const int a = runs[i];
        const bool dark = line[std::accumulate(runs.begin(), runs.begin() + i, 0)] == 1;
        if (!dark || runs[i + 1] != a || runs[i + 2] != 3 * a || runs[i + 3] != a || runs[i + 4] != a)
            continue;
        const int before = i == 0 || i == 1 ? 127 : runs[i - 1];
        const int after = i + 5 == count || i + 6 == count ? 127 : runs[i + 5];
        penalty += before >= 4 * a || after >= 4 * a ? 40 : 0;
    }
    return penalty;
}

// The word-wise counts against plain module-by-module counts.
TEST(QrStandard, ScoresMatchPlainCounts)
{
    static lx::QrWorkMatrix m;
    std::mt19937 rng(5);
    for (int size : {21, 25, 63, 64, 65, 127, 128, 129, 177}) {
        FillRandom(m, size, rng);
        // Plant finder-like runs: at the left edge, in the middle, and one
        // light module in from either edge with a short run on the far side.
        auto set = [&](int r, int c, bool dark) {
            const auto bit = static_cast<std::uint8_t>(1u << (c % 8));
            m.result[r][c / 8] = static_cast<std::uint8_t>(dark ? m.result[r][c / 8] | bit : m.result[r][c / 8] & ~bit);
        };
        for (int c : {0, 2, 3, 4, 6, 20, 22, 23, 24, 26})
            set(3, c, true);
        for (int c = 0; c <= 10; ++c) {
            set(5, c, c == 1 || c == 3 || c == 4 || c == 5 || c == 7 || c == 9);
            set(7, size - 1 - c, c == 1 || c == 3 || c == 4 || c == 5 || c == 7 || c == 9);
        }
        int blocks = 0, penalty = 0, dark = 0;
        for (int r = 0; r < size; ++r) {
            std::vector<int> row, column;
            for (int c = 0; c < size; ++c) {
                row.push_back(lx::QrModuleAt(m.result, r, c));
                column.push_back(lx::QrModuleAt(m.result, c, r));
                dark += row.back();
                if (r + 1 < size && c + 1 < size) {
                    const int sum = lx::QrModuleAt(m.result, r, c) + lx::QrModuleAt(m.result, r, c + 1) +
                                    lx::QrModuleAt(m.result, r + 1, c) + lx::QrModuleAt(m.result, r + 1, c + 1);
                    blocks += sum == 0 || sum == 4;
                }
            }
            penalty += PlainLinePenalty(row) + PlainLinePenalty(column);
        }
        const int k = (dark / (size * size / 100) - 50) / 5;
        EXPECT_EQ(lx::QrCountBlocks(m), blocks) << size;
        EXPECT_EQ(lx::QrRunPenalty(m), penalty + 10 * std::abs(k)) << size;
    }
}

// Run penalties worked by hand on 21 x 21 symbols.
TEST(QrStandard, RunPenalty)
{
    static lx::QrWorkMatrix m;
    m.size = 21;
    std::memset(m.result, 0, sizeof m.result);
    // All light: 42 lines of one 21-module run (19 each), dark share 0 % (k = -10).
    EXPECT_EQ(lx::QrRunPenalty(m), 42 * 19 + 100);
    // Row 10: dark, light, dark x3, light, dark from column 0, light after:
    // the finder-like runs touch the left edge (+40); the row's light tail
    // is 14 long (+12) instead of 21 (+19); the seven columns 0, 2, 3, 4 and 6
    // are split into runs of 10 and 10 (+8 +8 each instead of +19). 5 dark
    // modules in 441: 5 / 4 = 1 %, k = -9.
    for (int c : {0, 2, 3, 4, 6})
        m.result[10][c / 8] |= static_cast<std::uint8_t>(1u << (c % 8));
    const int rows = 20 * 19 + 40 + 12;
    const int columns = 16 * 19 + 5 * 16;
    EXPECT_EQ(lx::QrRunPenalty(m), rows + columns + 90);
}

} // namespace
} // namespace lxtest
