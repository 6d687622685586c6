// Standard and truncated PDF417 read back by zxing-cpp; result codes and limits.
#include "Pdf417TestSupport.h"

#include "PureRead.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <random>

using namespace lx;
using namespace lxtest;

namespace {

std::string RandomData(std::mt19937& rng, int kind, int length)
{
    static const std::string kText =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz 0123456789&,:#-.$/+%*=^;<>@[\\]_`~!\"|()?{}'\r\n\t";
    std::string s;
    for (int i = 0; i < length; ++i) {
        switch (kind) {
        case 0: s += static_cast<char>('0' + rng() % 10); break; // digits
        case 1: s += static_cast<char>('A' + rng() % 26); break; // upper
        case 2: s += kText[rng() % kText.size()]; break; // mixed text
        case 3: s += static_cast<char>(rng() % 256); break; // binary
        default: s += rng() % 4 ? kText[rng() % 62] : static_cast<char>('0' + rng() % 10);
        }
    }
    return s;
}

struct OracleCase {
    int model;
    std::string data;
    int eccDigit;
    std::int32_t params;
};

void ExpectRoundTrip(const OracleCase& c)
{
    const auto s =
        EncodePdf417Request(std::string(1, static_cast<char>('0' + c.eccDigit)) + "," + c.data, c.model, c.params);
    ASSERT_EQ(s.result, 0) << c.data.size() << " bytes, params " << c.params;
    if (c.eccDigit > 0) {
        EXPECT_EQ(s.eccLevel, c.eccDigit - 1);
    }
    const int columns = (s.width - (c.model == kPdf417Standard ? 69 : 35)) / 17;
    if (c.params & 0xFF) {
        EXPECT_EQ(columns, c.params & 0xFF);
    }
    const auto d = DecodePdf417(s);
    ASSERT_TRUE(d.ok) << "model " << c.model << ", " << c.data.size() << " bytes, " << columns << "x" << s.rows;
    EXPECT_EQ(d.bytes, c.data);
}

} // namespace

TEST(Pdf417Oracle, RandomDataOfEveryKindAtEveryLevelAndShape)
{
    std::mt19937 rng(417);
    int decoded = 0;
    for (int i = 0; i < 360; ++i) {
        const int kind = i % 5;
        const int length = 1 + static_cast<int>(rng() % (i % 3 == 0 ? 300 : 40));
        const int eccDigit = i % 10; // automatic and levels 0-8
        std::int32_t params = 0;
        switch (i % 4) {
        case 1: params = Pdf417Params(1 + static_cast<int>(rng() % 30), 0); break;
        case 2: params = Pdf417Params(0, 3 + static_cast<int>(rng() % 88)); break;
        case 3: params = Pdf417Params(0, 0, 1 + static_cast<int>(rng() % 7), 1 + static_cast<int>(rng() % 10)); break;
        }
        OracleCase c{i % 2 ? kPdf417Truncated : kPdf417Standard, RandomData(rng, kind, length), eccDigit, params};
        const auto s =
            EncodePdf417Request(std::string(1, static_cast<char>('0' + eccDigit)) + "," + c.data, c.model, params);
        if (s.result == kPdf417TooMuchData)
            continue; // a chosen row count that cannot hold the data at a high level
        ExpectRoundTrip(c);
        ++decoded;
    }
    EXPECT_GT(decoded, 300);
}

TEST(Pdf417Oracle, CompactionBoundariesAndCodePage932)
{
    const std::vector<std::string> inputs = {
        "1234567890123", // 13 digits: numeric compaction
        "123456789012", // 12 digits: text
        "AB1234567890123456CD", // digits inside text
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
        "aBcDeF gHiJ", // shifts between lower and upper
        "a;b<c>d@e[f", // punctuation from lower
        "#$%^&*()!@;:", // mixed and punctuation latches
        "\x80\x81\x82\x83\x84\x85", // six bytes: 924
        "\x80\x81\x82\x83\x84\x85\x86", // seven bytes: 901
        std::string("A\0B", 3), // a zero byte is data
        "12345678901234567890123456789012345678901234567890", // beyond one 44-digit group
        "ABCDE\x01"
        "12",
        "1234567890123\x01"
        "ABCDEFG", // lone byte after numeric
        Sjis("文字シート 123 ラベル"),
        Sjis("ＭＳ ゴシック"),
    };
    for (int model : {kPdf417Standard, kPdf417Truncated})
        for (const auto& data : inputs)
            ExpectRoundTrip({model, data, 0, 0});
}

TEST(Pdf417Oracle, MacroHeaderCarriesSegmentAndFile)
{
    struct Case {
        int index, count, file;
    } cases[] = {{1, 2, 0}, {2, 2, 123}, {1, 1, 899}, {5, 99999, 42}, {99999, 99999, 7}};
    for (const auto& c : cases) {
        char header[32];
        std::snprintf(header, sizeof header, "D%05d%05d%03d,3,", c.index, c.count, c.file);
        const auto s = EncodePdf417Request(std::string(header) + "PART DATA 42");
        ASSERT_EQ(s.result, 0);
        const PureRead r = ReadPure(RenderPdf417(s), ZXing::BarcodeFormat::PDF417);
        ASSERT_TRUE(r.ok) << c.index << "/" << c.count;
        EXPECT_EQ(r.bytes, "PART DATA 42");
        EXPECT_EQ(r.sequenceIndex, c.index - 1);
        EXPECT_EQ(r.lastInSequence, c.index == c.count);
        EXPECT_NE(r.sequenceId.find(std::to_string(c.file)), std::string::npos) << r.sequenceId;
        EXPECT_EQ(s.eccLevel, 2);
    }
}

TEST(Pdf417Result, EachCodeForItsCause)
{
    struct Case {
        const char* why;
        std::string request;
        int model;
        std::int32_t params;
        int expected;
    } cases[] = {
        {"model 0", "0,A", 0, 0, kPdf417BadModel},
        {"model 4", "0,A", 4, 0, kPdf417BadModel},
        {"header too short", "D0000100002,0,", 1, 0, kPdf417BadMacroHeader},
        {"count below index", "D00003000020000,A", 1, 0, kPdf417BadMacroHeader},
        {"index 0", "D00000000010000,A", 1, 0, kPdf417BadMacroHeader},
        {"file above 899", "D00001000019000,A", 1, 0, kPdf417BadMacroHeader},
        {"letter in header", "D0000x000020000,A", 1, 0, kPdf417BadMacroHeader},
        {"ecc letter", "A,DATA", 1, 0, kPdf417BadEccDigit},
        {"no ecc byte", "", 2, 0, kPdf417BadEccDigit},
        {"columns 31", "0,A", 1, Pdf417Params(31, 0), kPdf417BadParams},
        {"rows 2", "0,A", 1, Pdf417Params(0, 2), kPdf417BadParams},
        {"rows 91", "0,A", 1, Pdf417Params(0, 91), kPdf417BadParams},
        {"ratio 1", "0,A", 1, 4 << 24 | 1 << 16, kPdf417BadParams},
        {"ratio 129", "0,A", 1, 4 << 24 | 129 << 16, kPdf417BadParams},
        {"row height 0", "0,A", 1, 16 << 16, kPdf417BadParams},
        {"row height 11", "0,A", 1, 11 << 24 | 16 << 16, kPdf417BadParams},
        {"first cluster 3", "0,A", 1, static_cast<std::int32_t>(3u << 28 | 4u << 24 | 16u << 16), kPdf417BadParams},
        {"rows too few for data", "9," + std::string(200, 'A'), 1, Pdf417Params(1, 3), kPdf417TooMuchData},
        {"micro columns 5", "0,A", 3, Pdf417Params(5, 0), kPdf417TooMuchData},
        {"micro ecc byte ignored", "X,A", 3, 0, kPdf417Ok},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodePdf417Request(c.request, c.model, c.params).result, c.expected) << c.why;
}

TEST(Pdf417Result, CapacityJustAtAndJustOver)
{
    std::mt19937 rng(9);
    std::string bytes;
    for (int i = 0; i < 1109; ++i)
        bytes += static_cast<char>(0x80 | rng() % 128);
    // Level 0: 925 compacted codewords fill 928 with descriptor and two check words.
    const auto at = EncodePdf417Request("1," + bytes.substr(0, 1108));
    ASSERT_EQ(at.result, 0);
    EXPECT_EQ(at.rows * ((at.width - 69) / 17), 928);
    EXPECT_EQ(DecodePdf417(at).bytes, bytes.substr(0, 1108));
    EXPECT_EQ(EncodePdf417Request("1," + bytes).result, kPdf417TooMuchData);

    // MicroPDF417: 150 bytes are 924 + 125 codewords, the 126 of the largest size.
    const auto microAt = EncodePdf417Request("0," + bytes.substr(0, 150), kMicroPdf417);
    ASSERT_EQ(microAt.result, 0);
    EXPECT_EQ(microAt.width, 17 * 4 + 31);
    EXPECT_EQ(microAt.rows, 44);
    EXPECT_EQ(EncodePdf417Request("0," + bytes.substr(0, 151), kMicroPdf417).result, kPdf417TooMuchData);

    // Digits: 2710 fit at level 0 with numeric groups of 44.
    std::string digits;
    for (int i = 0; i < 2711; ++i)
        digits += static_cast<char>('0' + rng() % 10);
    const auto numeric = EncodePdf417Request("1," + digits.substr(0, 2710));
    ASSERT_EQ(numeric.result, 0);
    EXPECT_EQ(DecodePdf417(numeric).bytes, digits.substr(0, 2710));
    EXPECT_EQ(EncodePdf417Request("1," + digits).result, kPdf417TooMuchData);
}

TEST(Pdf417Size, AutomaticChoices)
{
    // Empty data: descriptor and 8 check words in 1 x 9.
    auto empty = EncodePdf417Request("0,");
    ASSERT_EQ(empty.result, 0);
    EXPECT_EQ(empty.width, 17 + 69);
    EXPECT_EQ(empty.rows, 9);
    EXPECT_EQ(empty.eccLevel, 2);

    // 40 text codewords (80 capitals) choose level 3, 39 choose level 2.
    EXPECT_EQ(EncodePdf417Request("0," + std::string(80, 'Q')).eccLevel, 3);
    EXPECT_EQ(EncodePdf417Request("0," + std::string(78, 'Q')).eccLevel, 2);

    // Width ratio turns the shape: about square at 16, tall at 2, flat at 128.
    const std::string data(300, 'x');
    auto shape = [&](int heightRatio) {
        const auto s = EncodePdf417Request("0," + data, kPdf417Standard, Pdf417Params(0, 0, heightRatio, 4));
        EXPECT_EQ(s.result, 0);
        return static_cast<double>(s.width) / (4.0 * s.rows);
    };
    EXPECT_NEAR(shape(4), 1.0, 0.35);
    EXPECT_LT(shape(1), 0.5);
    EXPECT_GT(shape(7), 3.0);

    // Too many cells for the given rows and columns: 32 rows, columns from the data.
    const auto big = EncodePdf417Request("0," + std::string(400, 'A'), kPdf417Standard, Pdf417Params(30, 40));
    ASSERT_EQ(big.result, 0);
    EXPECT_EQ(big.rows, 32);
}
