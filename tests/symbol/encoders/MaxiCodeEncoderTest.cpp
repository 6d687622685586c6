// MaxiCode encoder: every symbol is drawn as hexagon rows around a bull's-eye
// and read back by zxing-cpp's pure-image reader.
#include "symbol/encoders/MaxiCodeEncoder.h"

#include "platform/text/Cp932.h"
#include "symbol/encoders/PureRead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace lx;

namespace {

struct Symbol {
    int result = 0;
    std::vector<std::uint8_t> map;
};

Symbol Encode(const std::string& request, int storedMode)
{
    Symbol s;
    s.map.assign(kMaxiCodeMapBytes, 0xA5);
    s.result = EncodeMaxiCode(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                              s.map.data(), storedMode);
    return s;
}

bool Dark(const std::vector<std::uint8_t>& map, int row, int column)
{
    return (map[row * 4 + column / 8] >> (column % 8)) & 1;
}

// Odd rows sit half a module to the right; rows are sqrt(3)/2 modules apart;
// the bull's-eye is centred on module 14 of row 16, as the painter draws it.
// zxing's pure reader samples the grid inside the outermost dark pixels, so
// the symbol is drawn with nothing around it but the quiet zone.
lxtest::GreyImage Draw(const std::vector<std::uint8_t>& map)
{
    constexpr double w = 12.0;
    const double h = w * std::sqrt(3.0) / 2;
    const double quiet = 3 * w;
    lxtest::GreyImage image;
    image.width = static_cast<int>(31 * w + 2 * quiet);
    image.height = static_cast<int>(34 * h + 2 * quiet);
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
    auto disc = [&](double cx, double cy, double r, std::uint8_t grey) {
        for (int y = static_cast<int>(cy - r) - 1; y <= static_cast<int>(cy + r) + 1; ++y)
            for (int x = static_cast<int>(cx - r) - 1; x <= static_cast<int>(cx + r) + 1; ++x)
                if ((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy) <= r * r)
                    image.pixels[static_cast<std::size_t>(y) * image.width + x] = grey;
    };
    for (int row = 0; row < 33; ++row)
        for (int column = 0; column < 30; ++column)
            if (Dark(map, row, column))
                disc(quiet + (column + 0.5 + 0.5 * (row % 2)) * w, quiet + (row + 0.5) * h, w / 2, 0);
    for (int ring = 0; ring < 6; ++ring)
        disc(quiet + 14.5 * w, quiet + 16.5 * h, w * (4.4 - 0.76 * ring), ring % 2 ? 255 : 0);
    return image;
}

using Read = lxtest::PureRead;

Read ReadBack(const Symbol& s) { return lxtest::ReadPure(Draw(s.map), ZXing::BarcodeFormat::MaxiCode); }

// zxing reads code set A's carriage return (value 0) as a line feed, so
// both line ends compare alike.
std::string AsRead(std::string text)
{
    for (auto& c : text)
        if (c == '\r')
            c = '\n';
    return text;
}

void ExpectRoundTrip(const std::string& message, int storedMode)
{
    const Symbol s = Encode("," + message, storedMode);
    ASSERT_EQ(s.result, 0) << message.size() << " bytes";
    const Read read = ReadBack(s);
    ASSERT_TRUE(read.ok) << message.size() << " bytes, mode " << storedMode + 1;
    EXPECT_EQ(AsRead(read.bytes), AsRead(message));
}

std::string RandomText(std::mt19937& rng, const std::string& alphabet, int length)
{
    std::string text;
    for (int i = 0; i < length; ++i)
        text += alphabet[rng() % alphabet.size()];
    return text;
}

} // namespace

const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789,./:";
const std::string kLower = "abcdefghijklmnopqrstuvwxyz {}~;<=>?[]^_@!|`";
const std::string kDigitsAndLetters = "0123456789012345678901234567890123456789AB";
const std::string kLatin = "\xC0\xC9\xDF\xE0\xE9\xFF\x80\x8A\x95\x9F\xA1\xAA\xB6\xBF";
const std::string kControls = "\x01\x02\x1B\x1C\x1D\x1E\x1F\x7F\x0A";

TEST(MaxiCodeEncoder, RoundTripsEveryCodeSetInModes4To6)
{
    std::mt19937 rng(16023);
    const std::vector<std::string> alphabets = {kUpper, kLower,    kDigitsAndLetters,
                                                kLatin, kControls, kUpper + kLower + kLatin + "\r"};
    for (int storedMode : {3, 4, 5}) {
        for (const auto& alphabet : alphabets)
            for (int length = 1; length <= 40; length += 3)
                ExpectRoundTrip(RandomText(rng, alphabet, length), storedMode);
    }
    // Runs of each set's length decide between shifts and latches.
    for (int i = 0; i < 120; ++i) {
        std::string text;
        while (text.size() < 30) {
            const auto& alphabet = alphabets[rng() % 5];
            text += RandomText(rng, alphabet, 1 + rng() % 6);
        }
        ExpectRoundTrip(text, 3 + i % 3);
    }
    ExpectRoundTrip(Sjis("配送ラベル"), 3);
}

TEST(MaxiCodeEncoder, EveryByteHasAValue)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    for (std::size_t start = 0; start < all.size(); start += 20)
        ExpectRoundTrip(all.substr(start, 20), 3);
}

TEST(MaxiCodeEncoder, NumericShiftPacksNineDigits)
{
    // 93 values hold fifteen nine-digit runs (six values each) and three digits.
    ExpectRoundTrip(std::string(138, '7'), 3);
    EXPECT_EQ(Encode("," + std::string(139, '7'), 3).result, -1);
    // Eight digits take a value each: 93 of them fit, 94 do not.
    std::string eights;
    while (eights.size() < 94)
        eights += "12345678A";
    ExpectRoundTrip(eights.substr(0, 93), 3);
    EXPECT_EQ(Encode(std::string(",").append(eights, 0, 94), 3).result, -1);
}

TEST(MaxiCodeEncoder, CapacityOfEachMode)
{
    const struct {
        int storedMode;
        int capacity;
    } modes[] = {{1, 84}, {2, 84}, {3, 93}, {4, 77}, {5, 93}};
    for (const auto& m : modes) {
        const std::string primary = m.storedMode <= 2 ? "123456,840,001," : "";
        const std::string full(m.capacity, 'Q');
        Symbol s = Encode("," + primary + full, m.storedMode);
        ASSERT_EQ(s.result, 0) << m.storedMode;
        Read read = ReadBack(s);
        ASSERT_TRUE(read.ok) << m.storedMode;
        EXPECT_NE(read.bytes.find(full), std::string::npos);
        EXPECT_EQ(Encode("," + primary + full + "Q", m.storedMode).result, -1);
        // A structured-append pair takes two values.
        s = Encode("D0102," + primary + full.substr(2), m.storedMode);
        ASSERT_EQ(s.result, 0);
        read = ReadBack(s);
        ASSERT_TRUE(read.ok) << m.storedMode;
        EXPECT_EQ(read.sequenceSize, 2);
        EXPECT_EQ(Encode("D0102," + primary + full.substr(1), m.storedMode).result, -1);
    }
}

// '|' stands for the GS separator the reader puts between the fields.
TEST(MaxiCodeEncoder, CarrierMessageOfModes2And3)
{
    const struct {
        const char* request;
        int storedMode;
        std::string expected;
    } cases[] = {
        {",123456789,840,001,PARCEL", 1, "123456789|840|001|PARCEL"},
        {",12345,840,1,X", 1, "12345|840|100|X"}, // short fields filled with 0 on the right
        {",0,4,2,", 1, "0|400|200|"},
        {",B1050,056,999,HELLO", 2, "B1050 |056|999|HELLO"},
        {",V6B3K9,124,010,rue", 2, "V6B3K9|124|010|rue"},
        {",1234567890,840,001,X", 1, "123456789|000|840|001,X"}, // tenth byte starts the country
        {"D0103,98765,250,300,ABC", 1, "98765|250|300|ABC"},
    };
    for (auto c : cases) {
        std::replace(c.expected.begin(), c.expected.end(), '|', '\x1D');
        const Symbol s = Encode(c.request, c.storedMode);
        ASSERT_EQ(s.result, 0) << c.request;
        const Read read = ReadBack(s);
        ASSERT_TRUE(read.ok) << c.request;
        EXPECT_EQ(read.bytes, c.expected) << c.request;
    }
}

TEST(MaxiCodeEncoder, ResultCodes)
{
    const struct {
        std::string request;
        int storedMode;
        int expected;
    } cases[] = {
        {",A", 0, -4},
        {",A", 5, 0}, // mode 6 is accepted
        {",A", 6, -4},
        {",A", -1, -4},
        {"D32,A", 3, -3}, // position above total
        {"D29,A", 3, -3}, // total above 8
        {"D0109,A", 3, -3},
        {"D0908,A", 3, -3},
        {"D,A", 3, -3},
        {"d12,A", 3, -3}, // "12" is one two-digit number
        {"d23,A", 3, 0},
        {"D0808,A", 3, 0},
        {",@BC123,840,001,X", 2, -1}, // mode 3 postal "@" has no six-bit value
        {",AB\x80"
         "12,840,001,X",
         2, -1}, // nor a byte from 128
        {",ABC123@,840,001,X", 2, 0}, // only the first six characters count
        {"," + std::string(288, 'A'), 3, -1},
    };
    for (const auto& c : cases) {
        const Symbol s = Encode(c.request, c.storedMode);
        EXPECT_EQ(s.result, c.expected) << c.request;
        // A failure leaves the map untouched.
        EXPECT_TRUE(s.result == 0 || std::count(s.map.begin(), s.map.end(), 0xA5) == kMaxiCodeMapBytes) << c.request;
    }
    std::uint8_t map[kMaxiCodeMapBytes];
    EXPECT_EQ(EncodeMaxiCode(-5, nullptr, map, 3), -1);
}

TEST(MaxiCodeEncoder, ZeroByteEndsTheMessage)
{
    std::string request = ",ABC";
    request += '\0';
    request += std::string(400, 'Z'); // never looked at
    const Symbol s = Encode(request, 3);
    ASSERT_EQ(s.result, 0);
    EXPECT_EQ(ReadBack(s).bytes, "ABC");
}

TEST(MaxiCodeEncoder, FixedModulesAndShortRows)
{
    const Symbol s = Encode(",ABC", 3);
    ASSERT_EQ(s.result, 0);
    for (int module : {28, 29, 298, 299, 331, 487, 520, 532, 564, 714, 721, 746, 753})
        EXPECT_TRUE(Dark(s.map, module / 32, module % 32)) << module;
    for (int row = 0; row < 33; ++row) {
        EXPECT_EQ(s.map[row * 4 + 3] & 0xC0, 0) << row; // columns 30 and 31
        if (row % 2) {
            EXPECT_FALSE(Dark(s.map, row, 29)) << row; // short rows have 29 modules
        }
    }
}

TEST(MaxiCodeEncoder, StructuredAppendSequence)
{
    const char* parts[] = {"D0103,FIRST", "D0203,SECOND", "D0303,third"};
    for (int i = 0; i < 3; ++i) {
        const Symbol s = Encode(parts[i], 3);
        ASSERT_EQ(s.result, 0);
        const Read read = ReadBack(s);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.sequenceIndex, i);
        EXPECT_EQ(read.sequenceSize, 3);
        EXPECT_EQ(read.bytes, std::string(parts[i]).substr(6));
    }
    // A total of one writes no pair.
    const Symbol single = Encode("D0101,ALONE", 3);
    ASSERT_EQ(single.result, 0);
    EXPECT_EQ(ReadBack(single).sequenceSize, -1);
}
