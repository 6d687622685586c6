// The discrete two-width symbologies: Codabar, Code 39 and Code 11. Every
// character starts and ends with a bar; a space separates the characters.
#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

namespace lx {

using namespace linear;

namespace {

constexpr int kMaxData = 120;
// Room for the data, a start, a stop and two check characters.
constexpr int kMaxCharacters = kMaxData + 5;

// Patterns: elements from the first bar, highest bit first, 1 = wide.
const char kCodabarSet[] = "0123456789-$:/.+ABCD";
const unsigned kCodabarPatterns[20] = {
    0b0000011, 0b0000110, 0b0001001, 0b1100000, 0b0010010, 0b1000010, 0b0100001, 0b0100100, 0b0110000, 0b1001000,
    0b0001100, 0b0011000, 0b1000101, 0b1010001, 0b1010100, 0b0010101, 0b0011010, 0b0101001, 0b0001011, 0b0001110,
};
constexpr int kCodabarFirstStartStop = 16; // A

const char kCode39Set[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
const unsigned kCode39Patterns[44] = {
    0b000110100, 0b100100001, 0b001100001, 0b101100000, 0b000110001, 0b100110000, 0b001110000, 0b000100101, 0b100100100,
    0b001100100, 0b100001001, 0b001001001, 0b101001000, 0b000011001, 0b100011000, 0b001011000, 0b000001101, 0b100001100,
    0b001001100, 0b000011100, 0b100000011, 0b001000011, 0b101000010, 0b000010011, 0b100010010, 0b001010010, 0b000000111,
    0b100000110, 0b001000110, 0b000010110, 0b110000001, 0b011000001, 0b111000000, 0b010010001, 0b110010000, 0b011010000,
    0b010000101, 0b110000100, 0b011000100, 0b010101000, 0b010100010, 0b010001010, 0b000101010, 0b010010100,
};
constexpr int kCode39Star = 43;

const char kCode11Set[] = "0123456789-";
const unsigned kCode11Patterns[11] = {
    0b00001, 0b10001, 0b01001, 0b11000, 0b00101, 0b10100, 0b01100, 0b00011, 0b10010, 0b10000, 0b00100,
};
constexpr unsigned kCode11StartStop = 0b00110;

// A symbol's characters as pattern indexes, and the text printed under it.
struct Characters {
    int values[kMaxCharacters];
    int count = 0;
    void Add(int value) { values[count++] = value; }
};

void PutCharacters(ElementWriter& out, const Characters& chars, const unsigned* patterns, int elementsPerChar,
                   std::uint8_t gap)
{
    for (int i = 0; i < chars.count; ++i) {
        if (i > 0)
            out.Space(gap);
        out.WideNarrow(patterns[chars.values[i]], elementsPerChar, true);
    }
}

void PutText(TextWriter& text, const Characters& chars, const char* set)
{
    for (int i = 0; i < chars.count; ++i)
        text.Put(set[chars.values[i]]);
}

// Characters allowed only at the ends (start and stop characters) from
// `endsFrom` on in `set`; lower case is read as upper case.
std::int32_t CheckCharacters(int length, const std::uint8_t* data, const char* set, int endsFrom)
{
    for (int i = 0; i < length; ++i) {
        const int value = IndexIn(set, ToUpper(data[i]));
        if (value < 0 || (value >= endsFrom && i != 0 && i != length - 1))
            return kLinearBadCharacter;
    }
    return kLinearOk;
}

// Weights 1 to maxWeight from the rightmost character, repeating.
int Code11Check(const Characters& chars, int maxWeight)
{
    int sum = 0;
    for (int i = chars.count - 1, weight = 1; i >= 0; --i, weight = weight % maxWeight + 1)
        sum += chars.values[i] * weight;
    return sum % 11;
}

} // namespace

int EncodeCodabar(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t /*key*/,
                  std::int32_t option, char* text)
{
    const int check = CheckOption(option);
    if (check > 1)
        return Fail(kLinearBadCheckOption, text);
    if (length < 0 || length > kMaxData)
        return Fail(kLinearTooLong, text);
    if (const std::int32_t error = CheckCharacters(length, data, kCodabarSet, kCodabarFirstStartStop))
        return Fail(error, text);

    auto valueAt = [&](int i) { return IndexIn(kCodabarSet, ToUpper(data[i])); };
    int first = 0;
    int end = length;
    int start = kCodabarFirstStartStop;
    if (length > 0 && valueAt(0) >= kCodabarFirstStartStop)
        start = valueAt(first++);
    int stop = start;
    if (length >= 2 && valueAt(length - 1) >= kCodabarFirstStartStop)
        stop = valueAt(--end);

    Characters chars;
    chars.Add(start);
    for (int i = first; i < end; ++i)
        chars.Add(valueAt(i));
    if (check == 1) {
        int sum = stop;
        for (int i = 0; i < chars.count; ++i)
            sum += chars.values[i];
        chars.Add((16 - sum % 16) % 16);
    }
    chars.Add(stop);

    ElementWriter out(elements);
    TextWriter shown(text);
    PutCharacters(out, chars, kCodabarPatterns, 7, GapElement(option));
    PutText(shown, chars, kCodabarSet);
    return Finish(out, shown, text);
}

int EncodeCode39(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t /*key*/,
                 std::int32_t option, char* text)
{
    const int check = CheckOption(option);
    if (check > 1)
        return Fail(kLinearBadCheckOption, text);
    const bool leadingStar = length > 0 && data[0] == '*';
    if (length < 0 || length > kMaxData + (leadingStar ? 1 : 0))
        return Fail(kLinearTooLong, text);
    if (const std::int32_t error = CheckCharacters(length, data, kCode39Set, kCode39Star))
        return Fail(error, text);

    const int first = leadingStar ? 1 : 0;
    const int end = length >= 2 && data[length - 1] == '*' ? length - 1 : length;
    Characters chars;
    chars.Add(kCode39Star);
    int sum = 0;
    for (int i = first; i < end; ++i) {
        chars.Add(IndexIn(kCode39Set, ToUpper(data[i])));
        sum += chars.values[chars.count - 1];
    }
    if (check == 1)
        chars.Add(sum % 43);
    chars.Add(kCode39Star);

    ElementWriter out(elements);
    TextWriter shown(text);
    PutCharacters(out, chars, kCode39Patterns, 9, GapElement(option));
    PutText(shown, chars, kCode39Set);
    return Finish(out, shown, text);
}

int EncodeCode11(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t /*key*/,
                 std::int32_t option, char* text)
{
    const int check = CheckOption(option);
    if (check > 1)
        return Fail(kLinearBadCheckOption, text);
    if (length < 0 || length > kMaxData)
        return Fail(kLinearTooLong, text);
    for (int i = 0; i < length; ++i)
        if (IndexIn(kCode11Set, data[i]) < 0)
            return Fail(kLinearBadCharacter, text);

    Characters chars;
    for (int i = 0; i < length; ++i)
        chars.Add(IndexIn(kCode11Set, data[i]));
    chars.Add(Code11Check(chars, 10));
    if (check == 1)
        chars.Add(Code11Check(chars, 9));

    ElementWriter out(elements);
    TextWriter shown(text);
    out.WideNarrow(kCode11StartStop, 5, true);
    for (int i = 0; i < chars.count; ++i) {
        out.Space(kLinearNarrow);
        out.WideNarrow(kCode11Patterns[chars.values[i]], 5, true);
    }
    out.Space(kLinearNarrow);
    out.WideNarrow(kCode11StartStop, 5, true);
    shown.Put(reinterpret_cast<const char*>(data), length);
    return Finish(out, shown, text);
}

} // namespace lx
