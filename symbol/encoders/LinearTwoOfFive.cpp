// Interleaved 2 of 5 (ITF) and Standard 2 of 5 (STF): each digit is five
// elements of which two are wide.
#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

namespace lx {

using namespace linear;

namespace {

constexpr int kMaxData = 120;
// Data, a padding 0 and a check digit.
constexpr int kMaxDigits = kMaxData + 2;

// Highest bit first, 1 = wide.
const unsigned kDigitPatterns[10] = {0b00110, 0b10001, 0b01001, 0b11000, 0b00101,
                                     0b10100, 0b01100, 0b00011, 0b10010, 0b01010};

std::uint8_t Width(int digit, int element)
{
    return (kDigitPatterns[digit] >> (4 - element)) & 1 ? kLinearWide : kLinearNarrow;
}

struct Digits {
    std::uint8_t values[kMaxDigits];
    int count = 0;
    void Add(int value) { values[count++] = static_cast<std::uint8_t>(value); }
};

// The check-option, length and character checks shared by both; copies the
// digits as values.
std::int32_t TakeDigits(int length, const std::uint8_t* data, std::int32_t option, Digits& digits)
{
    if (CheckOption(option) > 1)
        return kLinearBadCheckOption;
    if (length < 0 || length > kMaxData)
        return kLinearTooLong;
    for (int i = 0; i < length; ++i) {
        if (!IsDigit(data[i]))
            return kLinearBadCharacter;
        digits.Add(data[i] - '0');
    }
    return kLinearOk;
}

void PutText(TextWriter& text, const Digits& digits)
{
    for (int i = 0; i < digits.count; ++i)
        text.Put(static_cast<char>('0' + digits.values[i]));
}

} // namespace

int EncodeItf(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t /*key*/, std::int32_t option,
              char* text)
{
    Digits digits;
    if (const std::int32_t error = TakeDigits(length, data, option, digits))
        return Fail(error, text);
    const bool check = CheckOption(option) == 1;
    // The digits go in pairs: an odd count gets a 0 behind the data.
    if ((digits.count + (check ? 1 : 0)) % 2 == 1)
        digits.Add(0);
    if (check)
        digits.Add(Mod10Weight31(digits.values, digits.count));

    ElementWriter out(elements);
    TextWriter shown(text);
    out.Modules("1111", true);
    for (int i = 0; i + 1 < digits.count; i += 2) {
        for (int e = 0; e < 5; ++e) {
            out.Bar(Width(digits.values[i], e));
            out.Space(Width(digits.values[i + 1], e));
        }
    }
    out.Modules("211", true);
    PutText(shown, digits);
    return Finish(out, shown, text);
}

int EncodeStf(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
              char* text)
{
    const bool normal = key == kLinearStfNormal;
    if (!normal && key != kLinearStfShort)
        return Fail(kLinearUnknownKey, text);
    Digits digits;
    if (const std::int32_t error = TakeDigits(length, data, option, digits))
        return Fail(error, text);
    if (CheckOption(option) == 1)
        digits.Add(Mod10Weight31(digits.values, digits.count));

    ElementWriter out(elements);
    TextWriter shown(text);
    out.Modules(normal ? "212111" : "1111", true);
    for (int i = 0; i < digits.count; ++i) {
        for (int e = 0; e < 5; ++e) {
            out.Bar(Width(digits.values[i], e));
            out.Space(kLinearNarrow);
        }
    }
    out.Modules(normal ? "21112" : "211", true);
    PutText(shown, digits);
    return Finish(out, shown, text);
}

} // namespace lx
