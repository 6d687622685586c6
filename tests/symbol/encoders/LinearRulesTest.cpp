// What no decoder here reads (STF, MSI, Code 11, Plessey, Anker): element
// strings written out by hand from the published definitions, check characters
// verified by reading the bars back. Then the edge cases, the error codes in
// their order and the Code 128 escapes.
#include "symbol/encoders/LinearTestSupport.h"

#include "symbol/encoders/LinearEncoder.h"

#include <gtest/gtest.h>

#include <random>

using namespace lxtest;

namespace {

// 1 for each wide bar, 0 for each narrow one, of `count` bar-space pairs.
std::vector<int> BarBits(const std::vector<std::uint8_t>& elements, std::size_t from, std::size_t count)
{
    std::vector<int> bits;
    for (std::size_t i = from; i < from + count * 2; i += 2)
        bits.push_back((elements.at(i) & 0x7F) == 2 ? 1 : 0);
    return bits;
}

std::string RandomText(std::mt19937& random, const std::string& set, int maxLength)
{
    std::string out(1 + random() % maxLength, ' ');
    for (char& c : out)
        c = set[random() % set.size()];
    return out;
}

TEST(LinearRules, HandWrittenElementStrings)
{
    const struct {
        std::int32_t key;
        const char* data;
        int check;
        const char* text;
        const char* elements;
    } cases[] = {
        // Standard 2 of 5: start 110, five bars per digit each with a narrow space, stop 101.
        {lx::kLinearStfNormal, "12", 0, "12",
         "b2 s1 b2 s1 b1 s1 b2 s1 b1 s1 b1 s1 b1 s1 b2 s1 b1 s1 b2 s1 b1 s1 b1 s1 b2 s1 b2 s1 b1 s1 b2"},
        // Short start 00, stop 10; the check digit of 5 is 5 (5 x 3 = 15).
        {lx::kLinearStfShort, "5", 1, "55",
         "b1 s1 b1 s1 b2 s1 b1 s1 b2 s1 b1 s1 b1 s1 b2 s1 b1 s1 b2 s1 b1 s1 b1 s1 b2 s1 b1"},
        // MSI: start 1, digit 1 = 0001 most significant bit first, stop.
        {lx::kLinearMsi, "1", 0, "1", "b2 s1 b1 s2 b1 s2 b1 s2 b2 s1 b1 s2 b1"},
        // Code 11: start, 1, C = 1, stop, a narrow space between characters.
        {lx::kLinearCode11, "1", 0, "1", "b1 s1 b2 s2 b1 s1 b2 s1 b1 s1 b2 s1 b2 s1 b1 s1 b2 s1 b1 s1 b2 s2 b1"},
        // Plessey: start 1101, digit 1 as 1000 (least significant bit first), CRC of
        // 1000 by x^8+x^7+x^6+x^5+x^3+1 = 11101100 (shown as 7 and 3), then each stop.
        {lx::kLinearPlesseySingle, "1", 0, "173",
         "b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 b1 s2 "
         "b2 s1 b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 b2 s1 b2"},
        {lx::kLinearPlesseyDual, "1", 0, "173",
         "b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 b1 s2 "
         "b2 s1 b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 b69 s2 b1 s2 b1 s1 b2 s1 b2"},
        // Anker: the CRC inverted, 00010011 (shown as 8 and C).
        {lx::kLinearAnker, "1", 0, "18C",
         "b2 s1 b2 s1 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 b1 s2 "
         "b1 s2 b1 s2 b1 s2 b2 s1 b1 s2 b1 s2 b2 s1 b2 s1 b1 s2 b1 s2 b2 s1 b2 s1 b2"},
        // Code 128 set C "12345": start C, 12, 34, CODE B, 5,
        // check (105 + 12 + 2 x 34 + 3 x 100 + 4 x 21) mod 103 = 54, stop.
        {lx::kLinearCode128C, "12345", 0, "12345",
         "b2 s1 b1 s2 b3 s2 b1 s1 b2 s2 b3 s2 b1 s3 b1 s1 b2 s3 b1 s1 b4 s1 b3 s1 "
         "b2 s1 b3 s2 b1 s2 b3 s1 b1 s1 b2 s3 b2 s3 b3 s1 b1 s1 b2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const LinearResult r = EncodeLinearText(c.key, c.data, c.check);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(DescribeElements(r.elements), c.elements);
    }
}

TEST(LinearRules, CheckDigitsAndPaddingInTheText)
{
    const struct {
        std::int32_t key;
        const char* data;
        int check;
        const char* text;
    } cases[] = {
        {lx::kLinearMsi, "1234", 1, "12344"}, // published examples
        {lx::kLinearMsi, "12345", 2, "1234558"},
        {lx::kLinearStfNormal, "1234567", 1, "12345670"},
        {lx::kLinearCode39, "*", 0, "**"},
        {lx::kLinearCode11, "123-45", 1, "123-45"},
        {lx::kLinearCode128B, "a@@b@D@\\@]@", 0, "a@b"}, // "@@" shown, value escapes not
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeLinearText(c.key, c.data, c.check).text, c.text) << c.data;
}

TEST(LinearRules, Code11CheckCharactersReadFromTheBars)
{
    const std::string set = "0123456789-*";
    const char* const patterns[] = {"00001", "10001", "01001", "11000", "00101", "10100",
                                    "01100", "00011", "10010", "10000", "00100", "00110"};
    auto read = [&](const char* data, int check) {
        const auto elements = EncodeLinearText(lx::kLinearCode11, data, check).elements;
        std::string out;
        for (std::size_t at = 0; at + 5 <= elements.size(); at += 6) {
            std::string bits;
            for (const int bit : BarBits(elements, at, 3))
                bits += static_cast<char>('0' + bit);
            bits.insert(1, 1, (elements[at + 1] & 0x7F) == 2 ? '1' : '0');
            bits.insert(3, 1, (elements[at + 3] & 0x7F) == 2 ? '1' : '0');
            out += set[std::find(std::begin(patterns), std::end(patterns), bits) - std::begin(patterns)];
        }
        return out;
    };
    // Published: 12-12345-67890 has C = 8 and K = 9. 123-45: C = 5, K = 2; "-" alone: C = 10.
    EXPECT_EQ(read("12-12345-67890", 1), "*12-12345-6789089*");
    EXPECT_EQ(read("12-12345-67890", 0), "*12-12345-678908*");
    EXPECT_EQ(read("123-45", 1), "*123-4552*");
    EXPECT_EQ(read("-", 0), "*--*");
}

// The data bits followed by the check bits divide by the generator polynomial
// (Anker: once the check bits are inverted); the check characters show them.
TEST(LinearRules, PlesseyCrcDividesTheBitStream)
{
    const std::vector<int> generator = {1, 1, 1, 1, 0, 1, 0, 0, 1};
    std::mt19937 random(21);
    for (int n = 0; n < 200; ++n) {
        const std::string data = RandomText(random, "0123456789ABCDEFabcdef", 25);
        const std::int32_t key = n % 2 ? lx::kLinearAnker : lx::kLinearPlesseySingle;
        const LinearResult r = EncodeLinearText(key, data);
        ASSERT_GT(r.result, 0) << data;
        std::vector<int> bits = BarBits(r.elements, 8, 4 * data.size() + 8);
        const std::vector<int> check(bits.end() - 8, bits.end());
        for (std::size_t i = 0; i < data.size(); ++i)
            for (int b = 0; b < 4; ++b)
                ASSERT_EQ(bits[i * 4 + b], (std::stoi(data.substr(i, 1), nullptr, 16) >> b) & 1) << data;
        for (std::size_t i = bits.size() - 8; key == lx::kLinearAnker && i < bits.size(); ++i)
            bits[i] ^= 1;
        for (std::size_t i = 0; i + generator.size() <= bits.size(); ++i) {
            if (bits[i])
                for (std::size_t g = 0; g < generator.size(); ++g)
                    bits[i + g] ^= generator[g];
        }
        EXPECT_EQ(std::count(bits.begin(), bits.end(), 1), 0) << data;
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ((std::stoi(r.text.substr(data.size() + k / 4, 1), nullptr, 16) >> (k % 4)) & 1, check[k]);
    }
}

// MSI digits read back from the bars pass the Luhn test with their first
// check digit, and again with the second.
TEST(LinearRules, MsiCheckDigitsPassTheLuhnTest)
{
    auto luhnValid = [](const std::string& digits) {
        int sum = 0;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            const int d = (digits[digits.size() - 1 - i] - '0') * (i % 2 ? 2 : 1);
            sum += d / 10 + d % 10;
        }
        return sum % 10 == 0;
    };
    std::mt19937 random(22);
    for (int n = 0; n < 200; ++n) {
        const std::string data = RandomText(random, "0123456789", 30);
        const int checks = n % 3;
        const LinearResult r = EncodeLinearText(lx::kLinearMsi, data, checks);
        ASSERT_EQ(r.result, static_cast<int>(2 + 8 * (data.size() + checks) + 3));
        std::string read;
        for (std::size_t d = 0; d < data.size() + checks; ++d) {
            const auto bits = BarBits(r.elements, 2 + 8 * d, 4);
            read += static_cast<char>('0' + bits[0] * 8 + bits[1] * 4 + bits[2] * 2 + bits[3]);
        }
        EXPECT_EQ(read, r.text);
        EXPECT_EQ(read.substr(0, data.size()), data);
        EXPECT_TRUE(checks == 0 || luhnValid(read.substr(0, data.size() + 1))) << read;
        EXPECT_TRUE(checks < 2 || luhnValid(read)) << read;
    }
}

TEST(LinearRules, GapBetweenCodabarAndCode39Characters)
{
    for (const int gap : {0, 1, 2, 3, 10, 200}) {
        const std::uint8_t expected = gap < 2 ? 1 : static_cast<std::uint8_t>(0x40 + std::min(gap, 63));
        const LinearResult codabar = EncodeLinearText(lx::kLinearCodabar, "12", 0, gap);
        const LinearResult code39 = EncodeLinearText(lx::kLinearCode39, "ABC", 1, gap);
        ASSERT_EQ(codabar.result, 4 * 7 + 3);
        ASSERT_EQ(code39.result, 6 * 9 + 5);
        for (int c = 1; c < 6; ++c) {
            EXPECT_TRUE(c > 3 || codabar.elements[c * 8 - 1] == expected) << gap;
            EXPECT_EQ(code39.elements[c * 10 - 1], expected) << gap;
        }
    }
}

TEST(LinearRules, TableRowsAndErrorCodesInTheirOrder)
{
    for (int i = 0; i < 26; ++i) {
        const LinearLimit& limit = kLinearLimits[i];
        SCOPED_TRACE(lx::LinearSymbologyTable[i].name);
        EXPECT_EQ(lx::LinearSymbologyTable[i].key, limit.key);
        const std::string fits(static_cast<std::size_t>(limit.length), '1');
        const std::string bad = std::string(fits.size() + 1, '\x01');
        EXPECT_EQ(EncodeLinearText(limit.key, fits, 1).result, EncodeLinearText(limit.key, fits, 1).count);
        EXPECT_GT(EncodeLinearText(limit.key, fits, 1).result, 0);
        EXPECT_EQ(lx::LastLinearError(), lx::kLinearOk);
        EXPECT_EQ(EncodeLinearText(limit.key, fits + "1", 1).result, lx::kLinearTooLong);
        EXPECT_EQ(EncodeLinearText(limit.key, bad, 1).result, lx::kLinearTooLong);
        EXPECT_EQ(EncodeLinearText(limit.key, "1\x01", 1).result, lx::kLinearBadCharacter);
        EXPECT_EQ(lx::LastLinearError(), lx::kLinearBadCharacter);
        const LinearResult worst = EncodeLinearText(limit.key, bad, 3);
        EXPECT_EQ(worst.result, limit.checksOption ? lx::kLinearBadCheckOption : lx::kLinearTooLong);
        EXPECT_EQ(worst.count, 0);
        EXPECT_EQ(worst.text, "");
        if (!limit.checksOption) { // the option is ignored
            EXPECT_EQ(EncodeLinearText(limit.key, "12", 3).elements, EncodeLinearText(limit.key, "12", 1).elements);
        }
    }
    EXPECT_EQ(lx::LinearSymbologyTable[26].name, nullptr);
    EXPECT_GT(EncodeLinearText(lx::kLinearMsi, "1", 2).result, 0);
    EXPECT_EQ(EncodeLinearText(lx::kLinearMsi, "1", 3).result, lx::kLinearBadCheckOption);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode11, "1", 0xFF).result, lx::kLinearBadCheckOption);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode93, "ABc").result, lx::kLinearBadCharacter);
    // Code 39 takes one byte more when the data brings its own leading star.
    EXPECT_GT(EncodeLinearText(lx::kLinearCode39, std::string("*").append(120, 'A')).result, 0);
    EXPECT_EQ(EncodeLinearText(lx::kLinearCode39, std::string("*").append(121, 'A')).result, lx::kLinearTooLong);
    // A key not in the table: -4 and the element count not written.
    for (const std::int32_t key : {0, 0x105, 0x205, 0x302, 0x403, 0x503, 0x804, 0xA02, 0xC04, -1}) {
        const LinearResult r = EncodeLinearText(key, "123");
        EXPECT_EQ(r.result, lx::kLinearUnknownKey) << key;
        EXPECT_EQ(r.count, -99) << key;
    }
}

TEST(LinearRules, Code128EscapeSyntax)
{
    // FNC2, FNC3, FNC4 and SHIFT mean nothing in set C.
    for (const std::string escape : {"@2", "@3", "@4", "@S"}) {
        EXPECT_EQ(EncodeLinearText(lx::kLinearCode128C, "12" + escape + "34").result, lx::kLinearBadCharacter);
        EXPECT_EQ(EncodeLinearText(lx::kLinearCode128B, "AB@C12" + escape + "34").result, lx::kLinearBadCharacter);
        EXPECT_EQ(EncodeLinearText(lx::kLinearEan128C, escape + "12").result, lx::kLinearBadCharacter);
        EXPECT_GT(EncodeLinearText(lx::kLinearCode128C, "12@B" + escape + "X").result, 0);
    }
    const struct {
        std::int32_t key;
        const char* data;
        const char* same; // nullptr: -2
    } cases[] = {
        {lx::kLinearCode128B, "AB@", "AB"}, // "@" at the end ends the data
        {lx::kLinearCode128A, "A@AB", "AB"}, // a change to the current set writes nothing
        {lx::kLinearCode128B, "A@BB", "AB"},        {lx::kLinearCode128C, "12@C34", "1234"},
        {lx::kLinearCode128B, "AB@S", nullptr}, // SHIFT needs a data character after it
        {lx::kLinearCode128B, "AB@S@", nullptr},    {lx::kLinearCode128B, "AB@S@1", nullptr},
        {lx::kLinearCode128B, "AB@S@C12", nullptr}, {lx::kLinearCode128B, "@Z", nullptr},
        {lx::kLinearCode128B, "@a", nullptr},       {lx::kLinearCode128B, "A\x1F", nullptr},
        {lx::kLinearCode128B, "A\x80", nullptr},    {lx::kLinearCode93, "@A", nullptr},
        {lx::kLinearCode39, "A*B", nullptr},        {lx::kLinearCodabar, "1A2", nullptr},
        {lx::kLinearCodabar, "E12", nullptr},
    };
    for (const auto& c : cases) {
        const LinearResult r = EncodeLinearText(c.key, c.data);
        if (c.same) {
            EXPECT_EQ(r.elements, EncodeLinearText(c.key, c.same).elements) << c.data;
            EXPECT_EQ(r.text, c.same) << c.data;
        } else {
            EXPECT_EQ(r.result, lx::kLinearBadCharacter) << c.data;
        }
    }
}

} // namespace
