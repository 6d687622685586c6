// Symbologies no decoder here reads (STF, MSI, Code 11, Plessey, Anker):
// element strings written out by hand from the published definitions, and
// check characters verified by reading the bars back. Then the edge cases,
// the error codes and their order, and the Code 128 escapes.
#include "symbol/encoders/LinearTestSupport.h"

#include "symbol/encoders/LinearEncoder.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace lxtest;

namespace {

// Width codes run together ("2112..."), for module symbologies and two-width
// symbologies alike (1 narrow, 2 wide).
std::string Widths(const std::vector<std::uint8_t>& elements)
{
    std::string out;
    for (const auto e : elements)
        out += std::to_string(e & 0x7F);
    return out;
}

// The bars' widths only: 1 for a wide bar, 0 for a narrow one.
std::vector<int> BarBits(const std::vector<std::uint8_t>& elements, std::size_t from, std::size_t count)
{
    std::vector<int> bits;
    for (std::size_t i = from; i < from + count * 2; i += 2)
        bits.push_back((elements.at(i) & 0x7F) == 2 ? 1 : 0);
    return bits;
}

struct HandCase {
    std::int32_t key;
    const char* data;
    int check;
    const char* text;
    const char* elements; // DescribeElements form
};

TEST(LinearRules, HandWrittenElementStrings)
{
    const HandCase cases[] = {
        // Standard 2 of 5: start 110, digits of five bars each with a narrow space, stop 101.
        {lx::kLinearStfNormal, "12", 0, "12",
         "b2 s1 b2 s1 b1 s1 "
         "b2 s1 b1 s1 b1 s1 b1 s1 b2 s1 "
         "b1 s1 b2 s1 b1 s1 b1 s1 b2 s1 "
         "b2 s1 b1 s1 b2"},
        // Short start 00 and stop 10; the check digit of 5 is 5 (5 x 3 = 15).
        {lx::kLinearStfShort, "5", 1, "55",
         "b1 s1 b1 s1 "
         "b2 s1 b1 s1 b2 s1 b1 s1 b1 s1 b2 s1 b1 s1 b2 s1 b1 s1 b1 s1 "
         "b2 s1 b1"},
        // MSI: start 1, digit 1 = 0001, stop 00 with a narrow bar.
        {lx::kLinearMsi, "1", 0, "1", "b2 s1 b1 s2 b1 s2 b1 s2 b2 s1 b1 s2 b1"},
        // Code 11: start, 1, C = 1, stop, one narrow space between characters.
        {lx::kLinearCode11, "1", 0, "1",
         "b1 s1 b2 s2 b1 s1 b2 s1 b1 s1 b2 s1 b2 s1 b1 s1 b2 s1 b1 s1 b2 s2 b1"},
        // Plessey: start 1101, digit 1 = 1000 (least significant bit first), the CRC of
        // 1000 by x^8+x^7+x^6+x^5+x^3+1 is 11101100, single stop.
        {lx::kLinearPlesseySingle, "1", 0, "173",
         "b2 s1 b2 s1 b1 s2 b2 s1 "
         "b2 s1 b1 s2 b1 s2 b1 s2 "
         "b2 s1 b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 "
         "b2 s1 b2"},
        // Dual stop: a bar of five narrow widths and the rest.
        {lx::kLinearPlesseyDual, "1", 0, "173",
         "b2 s1 b2 s1 b1 s2 b2 s1 "
         "b2 s1 b1 s2 b1 s2 b1 s2 "
         "b2 s1 b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 "
         "b69 s2 b1 s2 b1 s1 b2 s1 b2"},
        // Anker: the CRC inverted (00010011: check characters 8 and C), Anker stop.
        {lx::kLinearAnker, "1", 0, "18C",
         "b2 s1 b2 s1 b1 s2 b2 s1 "
         "b2 s1 b1 s2 b1 s2 b1 s2 "
         "b1 s2 b1 s2 b1 s2 b2 s1 b1 s2 b1 s2 b2 s1 b2 s1 "
         "b1 s2 b1 s2 b2 s1 b2 s1 b2"},
    };
    for (const HandCase& c : cases) {
        SCOPED_TRACE(std::string(c.data) + " key " + std::to_string(c.key));
        const LinearResult r = EncodeLinearText(c.key, c.data, c.check);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(DescribeElements(r.elements), c.elements);
        EXPECT_EQ(r.count, r.result);
    }
}

TEST(LinearRules, PublishedCheckDigits)
{
    const struct {
        std::int32_t key;
        const char* data;
        int check;
        const char* text;
    } cases[] = {
        {lx::kLinearMsi, "1234", 1, "12344"},
        {lx::kLinearMsi, "12345", 1, "123455"},
        {lx::kLinearMsi, "12345", 2, "1234558"},
        {lx::kLinearMsi, "80523", 0, "80523"},
        {lx::kLinearStfNormal, "1234567", 1, "12345670"},
        {lx::kLinearEan13, "490123", 0, "4901230000005"},
        {lx::kLinearUpcA, "03600029145", 0, "036000291452"},
        {lx::kLinearUpcE, "12", 0, "1200003"},
        {lx::kLinearEan13AddOn, "49012345678912", 0, "4901234567894 12"},
        {lx::kLinearEan13AddOn, "490123456789123", 0, "4901234567894 12300"},
        {lx::kLinearCodabar, "12345", 0, "A12345A"},
        {lx::kLinearCodabar, "a123b", 0, "A123B"},
        {lx::kLinearCodabar, "A01234B", 1, "A012345B"},
        {lx::kLinearItf, "1234", 1, "123402"},
        {lx::kLinearItf, "123", 0, "1230"},
        {lx::kLinearCode39, "ABC", 1, "*ABCX*"},
        {lx::kLinearCode39, "*", 0, "**"},
        {lx::kLinearCode11, "123-45", 1, "123-45"},
        {lx::kLinearCode93, "AB@", 0, "AB@"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(EncodeLinearText(c.key, c.data, c.check).text, c.text);
    }
}

// Code 11 characters read back from the bars of their five elements.
std::string ReadCode11(const std::vector<std::uint8_t>& elements)
{
    const char* const patterns[] = {"00001", "10001", "01001", "11000", "00101", "10100",
                                    "01100", "00011", "10010", "10000", "00100", "00110"};
    const char* const chars = "0123456789-*";
    std::string out;
    for (std::size_t at = 0; at + 5 <= elements.size(); at += 6) {
        std::string bits;
        for (std::size_t i = at; i < at + 5; ++i)
            bits += (elements[i] & 0x7F) == 2 ? '1' : '0';
        const auto* found = std::find(std::begin(patterns), std::end(patterns), bits);
        out += found == std::end(patterns) ? '?' : chars[found - std::begin(patterns)];
    }
    return out;
}

TEST(LinearRules, Code11CheckCharactersReadFromTheBars)
{
    // Published example: 12-12345-67890 has C = 8 and K = 9; 123-45 has C = 5, K = 2.
    EXPECT_EQ(ReadCode11(EncodeLinearText(lx::kLinearCode11, "12-12345-67890", 1).elements), "*12-12345-6789089*");
    EXPECT_EQ(ReadCode11(EncodeLinearText(lx::kLinearCode11, "12-12345-67890", 0).elements), "*12-12345-678908*");
    EXPECT_EQ(ReadCode11(EncodeLinearText(lx::kLinearCode11, "123-45", 1).elements), "*123-4552*");
    // A check value of 10 is the dash: 9 at weight 1 plus 1 at weight 2 gives 11 mod 11 = 0,
    // 10 alone at weight 1 gives 10.
    EXPECT_EQ(ReadCode11(EncodeLinearText(lx::kLinearCode11, "-", 0).elements), "*--*");
    EXPECT_EQ(ReadCode11(EncodeLinearText(lx::kLinearCode11, "19", 0).elements), "*190*");
}

// Plessey bits read back from the bars: polynomial division of the data bits
// followed by the check bits leaves no remainder (Anker: after inverting them).
TEST(LinearRules, PlesseyCrcDividesTheBitStream)
{
    const std::vector<int> generator = {1, 1, 1, 1, 0, 1, 0, 0, 1};
    std::mt19937 random(21);
    for (int n = 0; n < 200; ++n) {
        std::string data;
        const int length = 1 + static_cast<int>(random() % 25);
        for (int i = 0; i < length; ++i)
            data += "0123456789ABCDEFabcdef"[random() % 22];
        const std::int32_t key = n % 2 ? lx::kLinearAnker : lx::kLinearPlesseySingle;
        const LinearResult r = EncodeLinearText(key, data, 0);
        ASSERT_GT(r.result, 0) << data;
        std::vector<int> bits = BarBits(r.elements, 8, 4 * data.size() + 8);
        // Data bits: each hexadecimal digit least significant bit first.
        for (std::size_t i = 0; i < data.size(); ++i) {
            const int value = std::stoi(data.substr(i, 1), nullptr, 16);
            for (int b = 0; b < 4; ++b)
                ASSERT_EQ(bits[i * 4 + b], (value >> b) & 1) << data;
        }
        if (key == lx::kLinearAnker)
            for (std::size_t i = bits.size() - 8; i < bits.size(); ++i)
                bits[i] ^= 1;
        for (std::size_t i = 0; i + generator.size() <= bits.size(); ++i)
            if (bits[i])
                for (std::size_t g = 0; g < generator.size(); ++g)
                    bits[i + g] ^= generator[g];
        EXPECT_EQ(std::count(bits.begin(), bits.end(), 1), 0) << data;
        // The two check characters show the check bits like data digits.
        std::string upper = data;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(c));
        ASSERT_EQ(r.text.substr(0, data.size()), upper);
        const std::vector<int> check = BarBits(r.elements, 8 + 8 * data.size(), 8);
        for (int k = 0; k < 2; ++k) {
            const int shown = std::stoi(r.text.substr(data.size() + k, 1), nullptr, 16);
            for (int b = 0; b < 4; ++b)
                EXPECT_EQ((shown >> b) & 1, check[k * 4 + b]) << data;
        }
    }
}

// MSI digits read back from the bars pass the Luhn test with their check
// digits; two check digits pass it twice.
TEST(LinearRules, MsiCheckDigitsPassTheLuhnTest)
{
    auto luhnValid = [](const std::string& digits) {
        int sum = 0;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            int d = digits[digits.size() - 1 - i] - '0';
            if (i % 2 == 1)
                d = d * 2 > 9 ? d * 2 - 9 : d * 2;
            sum += d;
        }
        return sum % 10 == 0;
    };
    std::mt19937 random(22);
    for (int n = 0; n < 200; ++n) {
        std::string data;
        for (int i = 0, length = 1 + static_cast<int>(random() % 30); i < length; ++i)
            data += static_cast<char>('0' + random() % 10);
        const int checks = n % 3;
        const LinearResult r = EncodeLinearText(lx::kLinearMsi, data, checks);
        ASSERT_EQ(r.result, static_cast<int>(2 + 8 * (data.size() + checks) + 3));
        std::string read;
        for (std::size_t d = 0; d < data.size() + checks; ++d) {
            const std::vector<int> bits = BarBits(r.elements, 2 + 8 * d, 4);
            read += static_cast<char>('0' + bits[0] * 8 + bits[1] * 4 + bits[2] * 2 + bits[3]);
        }
        EXPECT_EQ(read, r.text);
        EXPECT_EQ(read.substr(0, data.size()), data);
        if (checks >= 1) {
            EXPECT_TRUE(luhnValid(read.substr(0, data.size() + 1))) << read;
        }
        if (checks == 2) {
            EXPECT_TRUE(luhnValid(read)) << read;
        }
    }
}

// STF digits read back from the five bars of each digit; with the check digit
// the weighted sum (1 on the check digit, then 3, 1, ...) is a multiple of 10.
TEST(LinearRules, StfDigitsAndCheckReadFromTheBars)
{
    const std::vector<std::vector<int>> patterns = {{0, 0, 1, 1, 0}, {1, 0, 0, 0, 1}, {0, 1, 0, 0, 1}, {1, 1, 0, 0, 0},
                                                    {0, 0, 1, 0, 1}, {1, 0, 1, 0, 0}, {0, 1, 1, 0, 0}, {0, 0, 0, 1, 1},
                                                    {1, 0, 0, 1, 0}, {0, 1, 0, 1, 0}};
    std::mt19937 random(23);
    for (int n = 0; n < 100; ++n) {
        std::string data;
        for (int i = 0, length = 1 + static_cast<int>(random() % 30); i < length; ++i)
            data += static_cast<char>('0' + random() % 10);
        const bool normal = n % 2 == 0;
        const LinearResult r = EncodeLinearText(normal ? lx::kLinearStfNormal : lx::kLinearStfShort, data, 1);
        const std::size_t start = normal ? 6 : 4;
        ASSERT_EQ(r.elements.size(), start + 10 * (data.size() + 1) + (normal ? 5 : 3));
        std::string read;
        int sum = 0;
        for (std::size_t d = 0; d <= data.size(); ++d) {
            const auto found = std::find(patterns.begin(), patterns.end(), BarBits(r.elements, start + 10 * d, 5));
            ASSERT_NE(found, patterns.end());
            const int digit = static_cast<int>(found - patterns.begin());
            read += static_cast<char>('0' + digit);
            sum += digit * ((data.size() - d) % 2 == 0 ? 1 : 3);
        }
        EXPECT_EQ(read, r.text);
        EXPECT_EQ(read.substr(0, data.size()), data);
        EXPECT_EQ(sum % 10, 0) << read;
    }
}

TEST(LinearRules, Code128SetCPairsDigitsAndChangesToBForAnOddDigit)
{
    // Start C, 12, 34, CODE B, "5", check (105 + 12 + 2*34 + 3*100 + 4*21) mod 103 = 54, stop.
    const LinearResult r = EncodeLinearText(lx::kLinearCode128C, "12345");
    EXPECT_EQ(Widths(r.elements), std::string("211232") + "112232" + "131123" + "114131" + "213212" + "311123" +
                                      "2331112");
    EXPECT_EQ(r.text, "12345");
}

TEST(LinearRules, UpcEParityFollowsTheCheckDigitOfTheUpcANumber)
{
    // 123456 stands for UPC-A 01234500006, check digit 5: parity pattern BAABBA
    // (B even: widths read 1123-style, i.e. set B patterns).
    const LinearResult r = EncodeLinearText(lx::kLinearUpcE, "123456");
    ASSERT_EQ(r.result, 33);
    EXPECT_EQ(Widths(r.elements), std::string("111") + "1222" + "2122" + "1411" + "2311" + "1321" + "1114" + "111111");
}

TEST(LinearRules, CodabarAndCode39GapBetweenCharacters)
{
    for (const int gap : {0, 1, 2, 3, 10, 200}) {
        SCOPED_TRACE(gap);
        const std::uint8_t expected = gap < 2 ? 1 : static_cast<std::uint8_t>(0x40 + std::min(gap, 63));
        const LinearResult codabar = EncodeLinearText(lx::kLinearCodabar, "12", 0, gap);
        ASSERT_EQ(codabar.result, 4 * 7 + 3);
        for (int c = 1; c < 4; ++c)
            EXPECT_EQ(codabar.elements[c * 8 - 1], expected);
        const LinearResult code39 = EncodeLinearText(lx::kLinearCode39, "ABC", 1, gap);
        EXPECT_EQ(code39.text, "*ABCX*");
        ASSERT_EQ(code39.result, 6 * 9 + 5);
        for (int c = 1; c < 6; ++c)
            EXPECT_EQ(code39.elements[c * 10 - 1], expected);
    }
}

struct Limit {
    std::int32_t key;
    int length;
    bool checksOption; // -5 for an option out of range
};

const Limit kLimits[] = {
    {lx::kLinearEan13, 12, false},       {lx::kLinearEan8, 7, false},           {lx::kLinearEan13AddOn, 17, false},
    {lx::kLinearEan8AddOn, 12, false},   {lx::kLinearUpcA, 11, false},          {lx::kLinearUpcE, 6, false},
    {lx::kLinearUpcAAddOn, 16, false},   {lx::kLinearUpcEAddOn, 11, false},     {lx::kLinearCodabar, 120, true},
    {lx::kLinearItf, 120, true},         {lx::kLinearItfBearer, 120, true},     {lx::kLinearStfNormal, 120, true},
    {lx::kLinearStfShort, 120, true},    {lx::kLinearCode39, 120, true},        {lx::kLinearCode93, 250, false},
    {lx::kLinearCode128A, 250, false},   {lx::kLinearCode128B, 250, false},     {lx::kLinearCode128C, 250, false},
    {lx::kLinearEan128A, 250, false},    {lx::kLinearEan128B, 250, false},      {lx::kLinearEan128C, 250, false},
    {lx::kLinearMsi, 120, true},         {lx::kLinearCode11, 120, true},        {lx::kLinearPlesseyDual, 25, false},
    {lx::kLinearPlesseySingle, 25, false}, {lx::kLinearAnker, 25, false},
};

TEST(LinearRules, ErrorCodesInTheirOrderOptionLengthCharacters)
{
    for (const Limit& limit : kLimits) {
        SCOPED_TRACE(limit.key);
        const std::string fits(static_cast<std::size_t>(limit.length), '1');
        const std::string tooLongAndBad = std::string(static_cast<std::size_t>(limit.length), '\x01') + "\x01";
        const int badOption = 3;
        EXPECT_GT(EncodeLinearText(limit.key, fits, 1).result, 0);
        EXPECT_EQ(EncodeLinearText(limit.key, fits + "1", 1).result, lx::kLinearTooLong);
        EXPECT_EQ(EncodeLinearText(limit.key, tooLongAndBad, 1).result, lx::kLinearTooLong);
        EXPECT_EQ(EncodeLinearText(limit.key, "1\x01", 1).result, lx::kLinearBadCharacter);
        EXPECT_EQ(lx::LastLinearError(), lx::kLinearBadCharacter);
        const LinearResult worst = EncodeLinearText(limit.key, tooLongAndBad, badOption);
        EXPECT_EQ(worst.result, limit.checksOption ? lx::kLinearBadCheckOption : lx::kLinearTooLong);
        EXPECT_EQ(worst.count, 0);
        EXPECT_EQ(worst.text, "");
        // An option the symbology ignores leaves the symbol as it is.
        if (!limit.checksOption) {
            EXPECT_EQ(EncodeLinearText(limit.key, "12", badOption).elements,
                      EncodeLinearText(limit.key, "12", 1).elements);
        }
    }
    // Option ranges: MSI 0-2, the others 0-1.
    EXPECT_GT(EncodeLinearText(lx::kLinearMsi, "1", 2).result, 0);
    EXPECT_EQ(EncodeLinearText(lx::kLinearMsi, "1", 3).result, lx::kLinearBadCheckOption);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode11, "1", 2).result, lx::kLinearBadCheckOption);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode11, "1", 0xFF).result, lx::kLinearBadCheckOption);
    EXPECT_EQ(EncodeLinearText(lx::kLinearPlesseyDual, std::string(26, '1')).result, lx::kLinearTooLong);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode93, "ABc").result, lx::kLinearBadCharacter);
    // Code 39 allows one more byte when the data brings its own leading star.
    EXPECT_GT(EncodeLinearText(lx::kLinearCode39, "*" + std::string(120, 'A')).result, 0);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode39, "*" + std::string(121, 'A')).result, lx::kLinearTooLong);
}

TEST(LinearRules, UnknownKeyLeavesTheCountAlone)
{
    for (const std::int32_t key : {0, 0x100, 0x105, 0x203 + 2, 0x302, 0x403, 0x503, 0x602, 0x804, 0xA02, 0xC04, -1}) {
        const LinearResult r = EncodeLinearText(key, "123");
        EXPECT_EQ(r.result, lx::kLinearUnknownKey) << key;
        EXPECT_EQ(r.count, -99) << key;
        EXPECT_EQ(lx::LastLinearError(), lx::kLinearUnknownKey);
    }
    EXPECT_GT(EncodeLinearText(lx::kLinearEan13, "123").result, 0);
    EXPECT_EQ(lx::LastLinearError(), lx::kLinearOk);
}

TEST(LinearRules, TableListsEverySymbologyOnce)
{
    const char* const names[] = {"EAN13",     "EAN8",      "EAN13add",  "EAN8add",   "UPCA",         "UPCE",
                                 "UPCAadd",   "UPCEadd",   "NW7",       "ITF",       "ITFJIS",       "STFNormal",
                                 "STFShort",  "CODE39",    "CODE93",    "CODE128_A", "CODE128_B",    "CODE128_C",
                                 "EAN128_A",  "EAN128_B",  "EAN128_C",  "MSI",       "CODE11",       "PLESSEY_Dual",
                                 "PLESSEY_Single", "ANKER"};
    std::set<std::int32_t> keys;
    for (int i = 0; i < 26; ++i) {
        EXPECT_STREQ(lx::LinearSymbologyTable[i].name, names[i]);
        EXPECT_EQ(lx::LinearSymbologyTable[i].key, kLimits[i].key);
        EXPECT_NE(lx::LinearSymbologyTable[i].encoder, nullptr);
        keys.insert(lx::LinearSymbologyTable[i].key);
    }
    EXPECT_EQ(keys.size(), 26u);
    EXPECT_EQ(lx::LinearSymbologyTable[26].name, nullptr);
    // The ITF with bearer bars encodes exactly as ITF.
    EXPECT_EQ(EncodeLinearText(lx::kLinearItfBearer, "1234", 1).elements,
              EncodeLinearText(lx::kLinearItf, "1234", 1).elements);
}

TEST(LinearRules, Code128EscapesWithoutMeaningInSetCAreRejected)
{
    for (const char* escape : {"@2", "@3", "@4", "@S"}) {
        SCOPED_TRACE(escape);
        EXPECT_EQ(EncodeLinearText(lx::kLinearCode128C, std::string("12") + escape + "34").result,
                  lx::kLinearBadCharacter);
        EXPECT_EQ(EncodeLinearText(lx::kLinearCode128B, std::string("AB@C12") + escape + "34").result,
                  lx::kLinearBadCharacter);
        EXPECT_EQ(EncodeLinearText(lx::kLinearEan128C, std::string(escape) + "12").result, lx::kLinearBadCharacter);
        // After a change to set B they mean what they say.
        EXPECT_GT(EncodeLinearText(lx::kLinearCode128C, std::string("12@B") + escape + "X").result, 0);
    }
}

TEST(LinearRules, Code128EscapeSyntax)
{
    const struct {
        std::int32_t key;
        const char* data;
        int result; // > 0: same elements as `same`
        const char* same;
    } cases[] = {
        {lx::kLinearCode128B, "AB@", 1, "AB"},         // "@" at the end ends the data
        {lx::kLinearCode128A, "A@AB", 1, "AB"},        // CODE A in set A writes nothing
        {lx::kLinearCode128B, "A@BB", 1, "AB"},
        {lx::kLinearCode128C, "12@C34", 1, "1234"},
        {lx::kLinearCode128B, "AB@S", lx::kLinearBadCharacter, ""},   // SHIFT with nothing to shift
        {lx::kLinearCode128B, "AB@S@", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode128B, "AB@S@1", lx::kLinearBadCharacter, ""}, // only a data character after SHIFT
        {lx::kLinearCode128B, "AB@S@C12", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode128B, "@Z", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode128B, "@a", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode128B, "@0", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode128B, "A\x1F", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode128B, "A\x80", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode93, "@A", lx::kLinearBadCharacter, ""},
        {lx::kLinearCode39, "A*B", lx::kLinearBadCharacter, ""},
        {lx::kLinearCodabar, "1A2", lx::kLinearBadCharacter, ""},
        {lx::kLinearCodabar, "E12", lx::kLinearBadCharacter, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const LinearResult r = EncodeLinearText(c.key, c.data);
        if (c.result > 0) {
            EXPECT_EQ(r.elements, EncodeLinearText(c.key, c.same).elements);
            EXPECT_EQ(r.text, c.same);
        } else {
            EXPECT_EQ(r.result, c.result);
        }
    }
    // "@@" is a literal "@", also in the text; the value escapes are left out of it.
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode128B, "a@@b@D@\\@]").text, "a@b");
}

} // namespace
