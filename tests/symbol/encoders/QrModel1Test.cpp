// QR Code Model 1 has no decoder among the oracles: its symbols are checked
// against the published sizes and capacities, the format information, the
// fixed patterns, and by reading the codewords back in block order.
#include "QrTestSupport.h"

#include "symbol/encoders/QrMasking.h"
#include "symbol/encoders/QrReedSolomon.h"
#include "symbol/encoders/QrTables.h"

#include <gtest/gtest.h>

#include <random>

namespace lxtest {
namespace {

// Data codewords of Model 1 versions 1-14 at L, M, Q, H.
constexpr int kDataCodewords[14][4] = {
    {19, 16, 13, 9},      {36, 30, 24, 16},     {57, 44, 36, 24},     {80, 60, 50, 34},     {108, 82, 68, 46},
    {136, 106, 86, 58},   {170, 132, 108, 72},  {208, 160, 128, 87},  {246, 186, 156, 102}, {290, 222, 183, 124},
    {336, 256, 208, 145}, {384, 292, 244, 165}, {432, 332, 276, 192}, {489, 368, 310, 210}};

int MaxDigits(int version, int level)
{
    const int bits = 8 * kDataCodewords[version - 1][level] - 4 - 4 - (version < 10 ? 10 : 12);
    int digits = bits / 10 * 3;
    const int rest = bits % 10;
    return digits + (rest >= 7 ? 2 : rest >= 4 ? 1 : 0);
}

// Reads the codewords of the unmasked layer in Model 1 block order, leaving
// out the fixed blocks.
std::vector<std::uint8_t> ReadBlocks(const lx::QrWorkMatrix& m)
{
    const int n = m.size;
    std::vector<std::uint8_t> out;
    auto read = [&](int r, int c, int width) {
        int byte = 0;
        for (int i = 0; i < 8; ++i)
            byte = byte << 1 | lx::QrModuleAt(m.symbol, r - i / width, c - i % width);
        out.push_back(static_cast<std::uint8_t>(byte));
    };
    for (int r = n - 1; r > 8; r -= 4)
        if (!((n - 1 - r) / 4 % 2 == 0 && r != n - 1 && r >= 13))
            read(r, n - 1, 2);
    for (int r = n - 1; r > 8; r -= 4)
        read(r, n - 3, 2);
    for (int r = n - 1; r > 8; r -= 2)
        read(r, n - 5, 4);
    for (int c = n - 9; c > 8; c -= 4) {
        if (c < 13 || (n - c - 1) / 4 % 2 == 1)
            read(n - 1, c, 4);
        for (int r = n - 3; r >= 1; r -= 2)
            read(r == 6 ? --r : r, c, 4);
    }
    for (int c : {8, 5, 3, 1})
        for (int r = n - 9; r > 8; r -= 4)
            read(r, c, 2);
    return out;
}

int ReadBits(const std::vector<std::uint8_t>& bytes, int& pos, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i, ++pos)
        value = value << 1 | ((bytes[pos / 8] >> (7 - pos % 8)) & 1);
    return value;
}

TEST(QrModel1, SizesAndCapacities)
{
    for (int version = 1; version <= 14; ++version)
        for (int level = 0; level < 4; ++level) {
            const std::string request = std::string(1, "LMQH"[level]) + "M,N";
            const int digits = MaxDigits(version, level);
            const QrSymbol full = EncodeQrRequest(request + std::string(digits, '8'), 1, 0);
            ASSERT_EQ(full.result, 0);
            EXPECT_EQ(full.size, 17 + 4 * version) << version << "LMQH"[level];
            EXPECT_EQ(EncodeQrRequest(request + std::string(digits + 1, '8'), 1, version).result,
                      lx::kQrDataDoesNotFit);
        }
}

// Both copies of the format information carry level and mask under the
// Model 1 pattern 0x2825, with a valid BCH(15,5) remainder.
TEST(QrModel1, FormatInformation)
{
    for (int level = 0; level < 4; ++level)
        for (int mask = 0; mask < 8; ++mask) {
            const QrSymbol s = EncodeQrRequest(std::string(1, "LMQH"[level]) + std::to_string(mask) + "A,MODEL1", 1, 3);
            ASSERT_EQ(s.result, 0);
            const int bits = FormatCopy(s, false);
            EXPECT_EQ(FormatCopy(s, true), bits);
            const int plain = bits ^ 0x2825;
            int remainder = plain;
            for (int i = 14; i >= 10; --i)
                if (remainder >> i & 1)
                    remainder ^= 0x537 << (i - 10);
            EXPECT_EQ(remainder, 0);
            EXPECT_EQ(plain >> 10, (level ^ 1) << 3 | mask); // L 01, M 00, Q 11, H 10
        }
}

// The dark corner module and the fixed blocks: right edge columns dark, light
// in 4-row groups; bottom edge rows dark, light in 4-column groups.
TEST(QrModel1, FixedPatterns)
{
    for (int version = 1; version <= 14; ++version) {
        const QrSymbol s = EncodeQrRequest("MA,", 1, version);
        const int n = s.size;
        EXPECT_TRUE(s.Dark(n - 1, n - 1));
        for (int bottom = n - 9; bottom >= 13; bottom -= 8)
            for (int r = bottom - 3; r <= bottom; ++r) {
                EXPECT_TRUE(s.Dark(r, n - 1)) << version << " row " << r;
                EXPECT_FALSE(s.Dark(r, n - 2)) << version << " row " << r;
            }
        for (int right = n - 9; right >= 13; right -= 8)
            for (int c = right - 3; c <= right; ++c) {
                EXPECT_TRUE(s.Dark(n - 1, c)) << version << " column " << c;
                EXPECT_FALSE(s.Dark(n - 2, c)) << version << " column " << c;
            }
    }
}

// Every data module takes exactly one codeword bit: total codewords of all
// ones darken every data module, one codeword fewer leaves eight light.
TEST(QrModel1, BlocksCoverTheDataModules)
{
    static lx::QrWorkMatrix m;
    std::vector<std::uint8_t> ones(700, 0xFF);
    for (int v = 0; v < 14; ++v) {
        m.model = lx::kQrModel1;
        m.versionIndex = v;
        m.size = lx::QrSymbolSize(lx::kQrModel1, v);
        const int total = lx::QrVersionTable(lx::kQrModel1, v).total;
        for (int placed : {total, total - 1}) {
            lx::QrPlaceCodewords(m, ones.data(), placed * 8);
            int light = 0;
            for (int r = 0; r < m.size; ++r)
                for (int c = 0; c < m.size; ++c)
                    light += lx::QrModuleAt(m.functionMap, r, c) && !lx::QrModuleAt(m.symbol, r, c);
            EXPECT_EQ(light, placed == total ? 0 : 8) << "version " << v + 1;
        }
    }
}

// Reading the codewords back: four 0 bits, the segments, and valid error
// correction for every block; the result is the symbol layer masked over the
// data modules only.
TEST(QrModel1, CodewordsReadBack)
{
    std::mt19937 rng(3);
    for (int version = 1; version <= 14; ++version)
        for (int level = 0; level < 4; ++level) {
            std::string digits(static_cast<std::size_t>(MaxDigits(version, level) / 2), '0');
            for (char& d : digits)
                d = static_cast<char>('0' + rng() % 10);
            const int mask = static_cast<int>(rng() % 8);
            const QrSymbol s =
                EncodeQrRequest(std::string(1, "LMQH"[level]) + std::to_string(mask) + "M,N" + digits, 1, version);
            ASSERT_EQ(s.result, 0);
            const lx::QrWorkMatrix& m = lx::QrLastWorkMatrix();
            std::vector<std::uint8_t> words = ReadBlocks(m);
            // The first block's upper half is the fixed 2 x 2 corner with its
            // dark module: it stands for the stream's four leading 0 bits.
            EXPECT_EQ(words[0] >> 4, 0x8);
            words[0] &= 0x0F;
            const lx::QrVersionInfo& info = lx::QrVersionTable(lx::kQrModel1, version - 1);
            ASSERT_EQ(static_cast<int>(words.size()), info.total);

            int pos = 0;
            EXPECT_EQ(ReadBits(words, pos, 4), 0);
            EXPECT_EQ(ReadBits(words, pos, 4), 1);
            ASSERT_EQ(ReadBits(words, pos, version < 10 ? 10 : 12), static_cast<int>(digits.size()));
            std::string read;
            for (std::size_t i = 0; i < digits.size(); i += 3) {
                const int group = static_cast<int>(std::min<std::size_t>(3, digits.size() - i));
                const int value = ReadBits(words, pos, group == 3 ? 10 : group == 2 ? 7 : 4);
                char text[8];
                std::snprintf(text, sizeof text, "%0*d", group, value);
                read += text;
            }
            EXPECT_EQ(read, digits);

            const int blocks = info.blocks[level];
            const int dataLength = info.data[level] / blocks;
            const int ecLength = (info.total - info.data[level]) / blocks;
            for (int b = 0; b < blocks; ++b) {
                std::uint8_t ec[80];
                lx::QrReedSolomonBlock(words.data() + b * dataLength, dataLength, ecLength, ec);
                EXPECT_TRUE(std::equal(ec, ec + ecLength, words.begin() + info.data[level] + b * ecLength))
                    << "version " << version << " block " << b;
            }
            for (int r = 0; r < s.size; ++r)
                for (int c = 0; c < s.size; ++c) {
                    const bool masked = lx::QrModuleAt(m.functionMap, r, c) &&
                        lx::QrModuleAt(m.result, r, c) != lx::QrModuleAt(m.symbol, r, c);
                    const bool flip = lx::QrModuleAt(m.result, r, c) != lx::QrModuleAt(m.symbol, r, c);
                    ASSERT_EQ(flip, masked) << "function module changed by the mask";
                }
        }
}

} // namespace
} // namespace lxtest
