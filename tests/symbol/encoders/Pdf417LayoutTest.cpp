// Codeword vectors worked out by hand, and MicroPDF417 (which no decoder here
// reads) checked against ISO/IEC 24728, its Reed-Solomon words by their roots.
#include "Pdf417TestSupport.h"

#include "symbol/encoders/Pdf417Tables.h"

#include <gtest/gtest.h>

#include <map>

using namespace lx;
using namespace lxtest;

namespace {

std::vector<int> Compact(const std::string& data, bool micro = false)
{
    int cw[kPdf417MaxCodewords];
    const int n = Pdf417Compact(reinterpret_cast<const std::uint8_t*>(data.data()), static_cast<int>(data.size()),
                                micro, cw, kPdf417MaxCodewords);
    return n < 0 ? std::vector<int>{-1} : std::vector<int>(cw, cw + n);
}

// Element widths of a run of modules starting at `start`.
std::string Widths(const std::vector<bool>& row, int start, int length)
{
    std::string w;
    int run = 1;
    for (int i = start + 1; i < start + length; ++i) {
        if (row[i] == row[i - 1]) {
            ++run;
        } else {
            w += static_cast<char>('0' + run);
            run = 1;
        }
    }
    return w + static_cast<char>('0' + run);
}

// Codeword value of 17 modules looked up in the cluster's patterns.
int ReadCodeword(const std::vector<bool>& row, int start, int cluster)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 17; ++i)
        bits = bits << 1 | (row[start + i] ? 1u : 0u);
    for (int v = 0; v < 929; ++v)
        if (kPdf417Patterns[cluster][v] == bits)
            return v;
    return -1;
}

// Sum of c_i x^(n-1-i) at x = 3^j must vanish for j = 1..k.
void ExpectRoots(const std::vector<int>& cw, int k)
{
    int root = 1;
    for (int j = 1; j <= k; ++j) {
        root = root * 3 % 929;
        long long s = 0;
        for (int v : cw)
            s = (s * root + v) % 929;
        ASSERT_EQ(s, 0) << "root 3^" << j << " of " << k;
    }
}

// ISO/IEC 24728 row address patterns 1-52 (bar/space widths).
const char* kSideRap[52] = {"221311", "311311", "312211", "222211", "213211", "214111", "223111", "313111", "322111",
                            "412111", "421111", "331111", "241111", "232111", "231211", "321211", "411211", "411121",
                            "411112", "321112", "312112", "311212", "311221", "311131", "311122", "311113", "221113",
                            "221122", "221131", "221221", "222121", "312121", "321121", "231121", "231112", "222112",
                            "213112", "212212", "212221", "212131", "212122", "212113", "211213", "211123", "211132",
                            "211141", "211231", "211222", "211312", "211321", "211411", "212311"};
const char* kCentreRap[52] = {"112231", "121231", "122131", "131131", "131221", "132121", "141121", "141211", "142111",
                              "133111", "132211", "131311", "122311", "123211", "124111", "115111", "114211", "114121",
                              "123121", "123112", "122212", "122221", "121321", "121411", "112411", "113311", "113221",
                              "113212", "113122", "122122", "131122", "131113", "122113", "113113", "112213", "112222",
                              "112312", "112321", "111421", "111331", "111322", "111232", "111223", "111133", "111124",
                              "111214", "112114", "121114", "121123", "121132", "112132", "112141"};

} // namespace

TEST(Pdf417Compaction, HandWorkedVectors)
{
    const std::map<std::string, std::vector<int>> cases = {
        {"ABC", {1, 2 * 30 + 29}}, // A B | C ps
        {"ab", {27 * 30 + 0, 1 * 30 + 29}}, // ll a | b ps
        {"a1", {27 * 30 + 0, 28 * 30 + 1}}, // ll a | ml 1
        {"A;", {0 * 30 + 29, 0 * 30 + 29}}, // A ps | ; ps
        {"aB", {27 * 30 + 0, 27 * 30 + 1}}, // ll a | as B
        {"1a", {28 * 30 + 1, 27 * 30 + 0}}, // ml 1 | ll a
        {"&;A", {28 * 30 + 10, 25 * 30 + 0, 29 * 30 + 0}}, // ml & | pl ; | al A
        {"\x80", {901, 128}},
        {"\x80\x81\x82\x83\x84\x85", {924, 215, 318, 502, 193, 33}}, // 0x808182838485 in base 900
        {"1234567890123", {902, 17, 110, 836, 811, 223}}, // 11234567890123 in base 900
        {"\x01"
         "ABCDE",
         {901, 1, 900, 1, 2 * 30 + 3, 4 * 30 + 29}},
    };
    for (const auto& [data, expected] : cases)
        EXPECT_EQ(Compact(data), expected) << data;
    // Twelve digits stay in text: a mixed latch, then six digit pairs.
    const auto twelve = Compact("123456789012");
    ASSERT_EQ(twelve.size(), 7u);
    EXPECT_EQ(twelve[0], 28 * 30 + 1);
    // MicroPDF417 opens a text start with 900.
    EXPECT_EQ(Compact("ABC", true), (std::vector<int>{900, 1, 89}));
    // A capacity that is one short fails instead of writing past it.
    int cw[3];
    EXPECT_EQ(Pdf417Compact(reinterpret_cast<const std::uint8_t*>("ABCDEFG"), 7, false, cw, 3), -1);
}

TEST(Pdf417Layout, StandardRowsCarryStartIndicatorsAndStop)
{
    const auto s = EncodePdf417Request("2,HELLO ROWS", kPdf417Standard, Pdf417Params(2, 7));
    ASSERT_EQ(s.result, 0);
    ASSERT_EQ(s.rows, 7);
    const auto rows = ModulesFromMatrix(s.matrix.data(), s.width, s.rows);
    for (int r = 0; r < s.rows; ++r) {
        const int cluster = r % 3;
        EXPECT_EQ(Widths(rows[r], 0, 17), "81111113");
        EXPECT_EQ(Widths(rows[r], s.width - 18, 18), "711311121");
        // Indicators: rows (R-1)/3 = 2, level 1 with (R-1)%3 = 0 -> 3, columns - 1 = 1.
        const int expectLeft[3] = {2, 3, 1};
        const int expectRight[3] = {1, 2, 3};
        EXPECT_EQ(ReadCodeword(rows[r], 17, cluster), 30 * (r / 3) + expectLeft[cluster]) << r;
        EXPECT_EQ(ReadCodeword(rows[r], s.width - 35, cluster), 30 * (r / 3) + expectRight[cluster]) << r;
    }
    // The padding bits of the last byte stay clear.
    const int stride = (s.width + 7) / 8;
    EXPECT_EQ(s.matrix[stride - 1] >> (s.width % 8 ? s.width % 8 : 8), 0);
}

TEST(Pdf417Layout, MicroSizesRowAddressesAndClusters)
{
    for (int i = 0; i < 34; ++i) {
        const auto& size = kMicroPdf417Sizes[i];
        // Bytes in 924 groups of six: 5 codewords each, filling the capacity exactly when possible.
        const int groups = (size.dataCodewords - 1) / 5;
        const std::string data(static_cast<std::size_t>(6 * groups), '\xA5');
        const auto s = EncodePdf417Request("0," + data, kMicroPdf417, Pdf417Params(size.columns, 0));
        ASSERT_EQ(s.result, 0) << i;
        ASSERT_EQ(s.width, 17 * size.columns + (size.columns <= 2 ? 21 : 31)) << i;
        // The smallest size of the column count that holds the data.
        const auto* chosen = &size;
        for (int j = 0; j < 34; ++j)
            if (kMicroPdf417Sizes[j].columns == size.columns && kMicroPdf417Sizes[j].dataCodewords >= 1 + 5 * groups) {
                chosen = &kMicroPdf417Sizes[j];
                break;
            }
        ASSERT_EQ(s.rows, chosen->rows) << i;
        const auto rows = ModulesFromMatrix(s.matrix.data(), s.width, s.rows);
        std::vector<int> codewords;
        for (int r = 0; r < s.rows; ++r) {
            const auto& row = rows[r];
            EXPECT_EQ(Widths(row, 0, 10), kSideRap[(chosen->leftRap - 1 + r) % 52]) << i << " row " << r;
            EXPECT_EQ(Widths(row, s.width - 11, 10), kSideRap[(chosen->rightRap - 1 + r) % 52]) << i << " row " << r;
            EXPECT_TRUE(row[s.width - 1]) << "stop bar";
            const int cluster = (chosen->leftRap - 1 + r) % 3;
            int x = 10;
            for (int c = 0; c < chosen->columns; ++c) {
                if (chosen->columns >= 3 && c == chosen->columns - 2) {
                    EXPECT_EQ(Widths(row, x, 10), kCentreRap[(chosen->centreRap - 1 + r) % 52]) << i << " row " << r;
                    x += 10;
                }
                // The pattern's own cluster number, (b1 - b2 + b3 - b4) mod 9.
                const std::string w = Widths(row, x, 17);
                ASSERT_EQ(w.size(), 8u);
                EXPECT_EQ(((w[0] - w[2] + w[4] - w[6]) % 9 + 9) % 9, 3 * cluster);
                codewords.push_back(ReadCodeword(row, x, cluster));
                x += 17;
            }
        }
        const int k = chosen->columns * chosen->rows - chosen->dataCodewords;
        ExpectRoots(codewords, k);
        const int used = groups > 0 ? 1 + 5 * groups : 0;
        if (groups > 0) {
            EXPECT_EQ(codewords[0], 924) << i;
        }
        for (int p = used; p < chosen->dataCodewords; ++p)
            EXPECT_EQ(codewords[p], 900) << "pad " << p;
    }
}

TEST(Pdf417Layout, MicroSizeChoiceAndMacroBlock)
{
    // 20 data codewords: 1 x 28 automatically, 4 x 10 with four columns.
    const std::string twenty(2 * 19 - 1, 'A'); // 900 + 19 text codewords
    auto automatic = EncodePdf417Request("0," + twenty, kMicroPdf417);
    ASSERT_EQ(automatic.result, 0);
    EXPECT_EQ(automatic.width, 17 + 21);
    EXPECT_EQ(automatic.rows, 28);
    auto four = EncodePdf417Request("0," + twenty, kMicroPdf417, Pdf417Params(4, 0));
    ASSERT_EQ(four.result, 0);
    EXPECT_EQ(four.width, 68 + 31);
    EXPECT_EQ(four.rows, 10);
    EXPECT_EQ(EncodePdf417Request("0," + std::string(2 * 126, 'A'), kMicroPdf417).result, kPdf417TooMuchData);

    // The last segment ends its data with 928, the index pair, the file and 922.
    const auto s = EncodePdf417Request("D0000200002077,0,AB", kMicroPdf417);
    ASSERT_EQ(s.result, 0);
    const auto rows = ModulesFromMatrix(s.matrix.data(), s.width, s.rows);
    std::vector<int> cw;
    const auto* size = &kMicroPdf417Sizes[0];
    for (const auto& candidate : kMicroPdf417Sizes)
        if (candidate.columns * 17 + 21 == s.width && candidate.rows == s.rows)
            size = &candidate;
    for (int r = 0; r < s.rows; ++r)
        cw.push_back(ReadCodeword(rows[r], 10, (size->leftRap - 1 + r) % 3));
    const int data = size->dataCodewords;
    EXPECT_EQ(std::vector<int>(cw.begin() + data - 5, cw.begin() + data),
              (std::vector<int>{928, 100001 / 900, 100001 % 900, 77, 922}));
}
