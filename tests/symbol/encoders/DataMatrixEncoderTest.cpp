// DataMatrix encoder: every symbol is read back by zxing-cpp; codewords are
// checked against the standard's published example.
#include "symbol/encoders/DataMatrixEncoder.h"
#include "symbol/encoders/DataMatrixDetail.h"

#include "platform/text/Cp932.h"
#include "symbol/encoders/PureRead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace lx;

namespace {

struct Symbol {
    int result = 0;
    int columns = 0;
    int rows = 0;
    std::vector<std::uint8_t> matrix;
};

Symbol Encode(const std::string& request, int model = 1, int sizeIndex = 0)
{
    Symbol s;
    s.matrix.assign(kDataMatrixMatrixBytes, 0xA5);
    std::int32_t size = -7;
    s.result = EncodeDataMatrix(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                                &size, s.matrix.data(), model, sizeIndex);
    if (s.result == 0) {
        s.columns = size & 0xFFFF;
        s.rows = size >> 16;
    }
    return s;
}

using Read = lxtest::PureRead;

Read ReadBack(const Symbol& s)
{
    const auto image = lxtest::RenderModules(lxtest::ModulesFromMatrix(s.matrix.data(), s.columns, s.rows), 3, 2);
    return lxtest::ReadPure(image, ZXing::BarcodeFormat::DataMatrix);
}

// Encodes data without structured append and expects zxing to read it back.
void ExpectRoundTrip(const std::string& data, int model = 1, int sizeIndex = 0)
{
    const std::string escaped = data.starts_with("@") ? "@" + data : data;
    const Symbol s = Encode("," + escaped, model, sizeIndex);
    ASSERT_EQ(s.result, 0) << "length " << data.size();
    const Read read = ReadBack(s);
    ASSERT_TRUE(read.ok) << "length " << data.size() << " in " << s.columns << "x" << s.rows;
    EXPECT_EQ(read.bytes, data);
}

std::string RandomText(std::mt19937& rng, const std::string& alphabet, int length)
{
    std::string text;
    for (int i = 0; i < length; ++i)
        text += alphabet[rng() % alphabet.size()];
    return text;
}

std::string RandomBytes(std::mt19937& rng, int length)
{
    std::string text;
    for (int i = 0; i < length; ++i)
        text += static_cast<char>(rng() % 256);
    return text;
}

const std::string kDigits = "0123456789";
const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
const std::string kLower = "abcdefghijklmnopqrstuvwxyz0123456789 ";
const std::string kX12 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 *>\r";
const std::string kEdifact = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^";
const std::string kMixed = "AbC dEf 12.-/x@!~{}\t";

} // namespace

TEST(DataMatrixEncoder, PublishedExampleCodewords)
{
    // ISO/IEC 16022: "123456" in a 10 x 10 symbol.
    std::uint8_t codewords[dm::kMaxCodewords] = {};
    dm::CodewordBuffer out(codewords, dm::kMaxCodewords);
    const std::uint8_t data[] = {'1', '2', '3', '4', '5', '6'};
    ASSERT_TRUE(dm::EncodeData(data, 6, out, {dm::SizesOf(0)}));
    ASSERT_EQ(out.Count(), 3);
    dm::AddErrorCorrection(codewords, dm::SizesOf(0)[0]);
    const std::vector<int> expected = {142, 164, 186, 114, 25, 5, 88, 102};
    EXPECT_EQ(std::vector<int>(codewords, codewords + 8), expected);

    const Symbol s = Encode(",123456");
    ASSERT_EQ(s.result, 0);
    EXPECT_EQ(s.columns, 10);
    EXPECT_EQ(s.rows, 10);
    EXPECT_EQ(ReadBack(s).bytes, "123456");
}

TEST(DataMatrixEncoder, RoundTripsEveryKindOfData)
{
    std::mt19937 rng(20240);
    const std::vector<std::string> alphabets = {kDigits, kUpper, kLower, kX12, kEdifact, kMixed};
    for (const auto& alphabet : alphabets)
        for (int length = 1; length <= 60; ++length)
            ExpectRoundTrip(RandomText(rng, alphabet, length));
    for (int length : {1, 2, 3, 5, 20, 100, 249, 250, 251, 600})
        ExpectRoundTrip(RandomBytes(rng, length));
    // Alphabets changing inside the message make the encodations switch.
    for (int i = 0; i < 80; ++i) {
        std::string text;
        for (int part = 0; part < 4; ++part)
            text += RandomText(rng, alphabets[rng() % alphabets.size()], 1 + rng() % 14);
        if (i % 5 == 0)
            text += RandomBytes(rng, 1 + rng() % 6);
        ExpectRoundTrip(text);
    }
    ExpectRoundTrip(Sjis("日本語のラベル印刷テスト、半角ｶﾅ混じり"));
    ExpectRoundTrip(Sjis("品番:ABC-123 数量:45 ①②③"));
}

TEST(DataMatrixEncoder, FillsEverySizeOfBothModelsExactly)
{
    for (int model = 1; model <= 2; ++model) {
        const auto sizes = dm::SizesOf(model - 1);
        for (int index = 1; index <= static_cast<int>(sizes.size()); ++index) {
            const dm::SymbolSize& size = sizes[index - 1];
            const std::string full(2 * size.dataCodewords, '7'); // two digits a codeword
            const Symbol s = Encode("," + full, model, index);
            ASSERT_EQ(s.result, 0) << size.rows << "x" << size.columns;
            EXPECT_EQ(s.columns, size.columns);
            EXPECT_EQ(s.rows, size.rows);
            const Read read = ReadBack(s);
            ASSERT_TRUE(read.ok) << size.rows << "x" << size.columns;
            EXPECT_EQ(read.bytes, full);
            // One codeword more does not fit the chosen size; the automatic
            // choice takes the next one.
            EXPECT_EQ(Encode("," + full + "12", model, index).result, -1);
            const Symbol next = Encode("," + full + "12", model, 0);
            if (index == static_cast<int>(sizes.size())) {
                EXPECT_EQ(next.result, -1);
                continue;
            }
            ASSERT_EQ(next.result, 0);
            EXPECT_EQ(next.columns, sizes[index].columns);
        }
    }
}

TEST(DataMatrixEncoder, LargestSymbolTakesDigitsAndBytesUpToItsCapacity)
{
    std::mt19937 rng(99);
    // Digits: two a codeword, 1558 codewords; one byte more is refused outright.
    ExpectRoundTrip(std::string(3116, '5'));
    const Symbol over = Encode(std::string(",").append(3117, '5'));
    EXPECT_EQ(over.result, -1);
    EXPECT_EQ(std::count(over.matrix.begin(), over.matrix.end(), 0xA5), kDataMatrixMatrixBytes) << "matrix written";
    // Bytes: Base256 latch and a two-codeword length leave 1555.
    std::string binary = RandomBytes(rng, 1556);
    for (auto& c : binary)
        c = static_cast<char>(128 + (static_cast<unsigned char>(c) % 100));
    ExpectRoundTrip(binary.substr(0, 1555));
    EXPECT_EQ(Encode("," + binary).result, -1);
}

TEST(DataMatrixEncoder, EachAlphabetFillsEachSizeToItsLastCodeword)
{
    // The ends of C40, Text, X12 and EDIFACT runs depend on the room left in
    // the symbol: the longest text that a given size takes must still read.
    std::mt19937 rng(4);
    for (int model = 1; model <= 2; ++model) {
        const auto sizes = dm::SizesOf(model - 1);
        for (int index = 1; index <= static_cast<int>(sizes.size()); ++index) {
            for (int round = 0; round < 20; ++round) {
                const std::string* alphabets[] = {&kUpper, &kLower, &kX12, &kEdifact, &kMixed};
                const std::string& alphabet = *alphabets[round % 5];
                const std::string pool = RandomText(rng, alphabet, 3 * sizes[index - 1].dataCodewords + 3);
                int fits = 1; // a length that fits with the next one not fitting
                int fails = static_cast<int>(pool.size());
                while (fails - fits > 1) {
                    const int mid = (fits + fails) / 2;
                    (Encode(std::string(",").append(pool, 0, static_cast<std::size_t>(mid)), model, index).result == 0
                         ? fits
                         : fails) = mid;
                }
                ASSERT_EQ(
                    Encode(std::string(",").append(pool, 0, static_cast<std::size_t>(fails)), model, index).result, -1);
                if (pool[0] == '@')
                    continue;
                ExpectRoundTrip(pool.substr(0, fits), model, index);
            }
        }
    }
}

TEST(DataMatrixEncoder, ResultCodes)
{
    const struct {
        const char* request;
        int model;
        int sizeIndex;
        int expected;
    } cases[] = {
        {",A", 0, 0, -4},           {",A", 3, 0, -4},           {"D030212345,A", 1, 0, -3}, // position above total
        {"D171612345,A", 1, 0, -3}, {"D011712345,A", 1, 0, -3}, {"D000112345,A", 1, 0, -3},
        {"D010112345,A", 1, 0, -3}, // a total of one has no sequence indicator
        {"D01021234", 1, 0, -3}, // header cut short
        {"D01x212345,A", 1, 0, -3}, {",A", 1, 25, -6},          {",A", 2, 7, -6},
        {",A", 1, -1, -6},          {",A", 1, 24, 0},           {",A", 2, 6, 0},
        {"D1616123,A", 1, 0, -3},
    };
    for (const auto& c : cases) {
        const Symbol s = Encode(c.request, c.model, c.sizeIndex);
        EXPECT_EQ(s.result, c.expected) << c.request;
        // A failure leaves the matrix untouched.
        EXPECT_TRUE(s.result == 0 || std::count(s.matrix.begin(), s.matrix.end(), 0xA5) == kDataMatrixMatrixBytes)
            << c.request;
    }
    std::int32_t size = 0;
    std::uint8_t matrix[kDataMatrixMatrixBytes];
    EXPECT_EQ(EncodeDataMatrix(-1, nullptr, &size, matrix, 1, 0), -1);
}

TEST(DataMatrixEncoder, StructuredAppendPartsCarryPositionTotalAndFile)
{
    const std::string parts[] = {"FIRST PART ", "second part ", "THIRD"};
    std::string ids[3];
    for (int i = 0; i < 3; ++i) {
        const Symbol s = Encode("D0" + std::to_string(i + 1) + "0312345," + parts[i]);
        ASSERT_EQ(s.result, 0);
        const Read read = ReadBack(s);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.bytes, parts[i]);
        EXPECT_EQ(read.sequenceIndex, i);
        EXPECT_EQ(read.sequenceSize, 3);
        ids[i] = read.sequenceId;
    }
    EXPECT_FALSE(ids[0].empty());
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_EQ(ids[1], ids[2]);
    // Sixteen parts is the most; the file number always gives valid bytes.
    for (const char* header : {"D161600000,", "D011699999,", "D021665535,", "D021600255,"}) {
        const Symbol s = Encode(std::string(header) + "X");
        ASSERT_EQ(s.result, 0) << header;
        const Read read = ReadBack(s);
        ASSERT_TRUE(read.ok) << header;
        EXPECT_EQ(read.bytes, "X");
    }
    EXPECT_LT(DataMatrixFileNumber(1'807'695), 100000);
}

TEST(DataMatrixEncoder, AtSignEscapeOnlyAtTheStartOfTheWholeMessage)
{
    // FNC1 first marks GS1 data.
    Symbol s = Encode(",@101234567890123");
    ASSERT_EQ(s.result, 0);
    Read read = ReadBack(s);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.symbology, "]d2");
    EXPECT_EQ(read.bytes, "01234567890123");

    const std::string rs = "\x1E", gs = "\x1D";
    const struct {
        const char* request;
        std::string expected;
    } cases[] = {
        {",@@AB", "@AB"},
        {",@XY", "XY"},
        {",@", "@"}, // a lone "@" is data
        {"D010200123,@", "@"}, // also as the first part
        {"D020200123,@1AB", "@1AB"}, // later parts start with plain data
        {"D020200123,@@", "@@"},
        {",@5ABC", "[)>" + rs + "05" + gs + "ABC" + rs + "\x04"}, // the format envelopes
        {",@6ABC", "[)>" + rs + "06" + gs + "ABC" + rs + "\x04"},
    };
    for (const auto& c : cases) {
        s = Encode(c.request);
        ASSERT_EQ(s.result, 0) << c.request;
        read = ReadBack(s);
        ASSERT_TRUE(read.ok) << c.request;
        EXPECT_EQ(read.bytes, c.expected) << c.request;
    }
}

TEST(DataMatrixEncoder, ReadsNothingBehindTheRequest)
{
    // The request ends with the escape byte; the byte behind it is poison.
    std::vector<std::uint8_t> request = {',', '@', '1'};
    std::int32_t size = 0;
    std::vector<std::uint8_t> matrix(kDataMatrixMatrixBytes);
    ASSERT_EQ(EncodeDataMatrix(2, request.data(), &size, matrix.data(), 1, 0), 0);
    Symbol s;
    s.matrix = matrix;
    s.columns = size & 0xFFFF;
    s.rows = size >> 16;
    EXPECT_EQ(ReadBack(s).bytes, "@");
    EXPECT_EQ(request[2], '1'); // no end mark written behind the request
}

TEST(DataMatrixEncoder, RepeatedSizesReuseTheModuleMap)
{
    // The kept module map must follow size changes in both directions.
    for (int round = 0; round < 2; ++round)
        for (const char* text : {"A", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "A", "0123456789012345678901234567890123456789"})
            ExpectRoundTrip(text, 1 + round);
}
