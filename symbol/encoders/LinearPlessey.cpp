// The Plessey family: MSI, Plessey (dual and single stop) and Anker. Every
// bit is a bar and a space: 1 a wide bar and a narrow space, 0 the reverse.
#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

#include <initializer_list>

namespace lx {

using namespace linear;

namespace {

constexpr int kMsiMaxData = 120;
constexpr int kPlesseyMaxData = 25;
// x^8 + x^7 + x^6 + x^5 + x^3 + 1 without its x^8 term.
constexpr unsigned kPlesseyPolynomial = 0xE9;
const char kHexDigits[] = "0123456789ABCDEF";

void PutBit(ElementWriter& out, bool one)
{
    out.Bar(one ? kLinearWide : kLinearNarrow);
    out.Space(one ? kLinearNarrow : kLinearWide);
}

// Luhn-style: every other digit from the rightmost doubled, digit sums added.
int MsiCheck(const std::uint8_t* digits, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i) {
        const int value = (digits[count - 1 - i] - '0') * (i % 2 == 0 ? 2 : 1);
        sum += value / 10 + value % 10;
    }
    return (10 - sum % 10) % 10;
}

// The CRC register after shifting in one data bit.
unsigned ShiftCrc(unsigned crc, bool bit)
{
    const bool feedback = ((crc >> 7) & 1) != bit;
    crc = (crc << 1) & 0xFF;
    return feedback ? crc ^ kPlesseyPolynomial : crc;
}

} // namespace

int EncodeMsi(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t /*key*/, std::int32_t option,
              char* text)
{
    const int checks = CheckOption(option);
    if (checks > 2)
        return Fail(kLinearBadCheckOption, text);
    if (length < 0 || length > kMsiMaxData)
        return Fail(kLinearTooLong, text);
    std::uint8_t digits[kMsiMaxData + 2];
    for (int i = 0; i < length; ++i) {
        if (!IsDigit(data[i]))
            return Fail(kLinearBadCharacter, text);
        digits[i] = data[i];
    }
    int count = length;
    // The second check digit covers the data and the first.
    for (int i = 0; i < checks; ++i, ++count)
        digits[count] = static_cast<std::uint8_t>('0' + MsiCheck(digits, count));

    ElementWriter out(elements);
    TextWriter shown(text);
    out.Modules("21", true);
    for (int i = 0; i < count; ++i)
        for (int bit = 3; bit >= 0; --bit)
            PutBit(out, ((digits[i] - '0') >> bit) & 1);
    out.Modules("121", true);
    shown.Put(reinterpret_cast<const char*>(digits), count);
    return Finish(out, shown, text);
}

int EncodePlessey(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key,
                  std::int32_t /*option*/, char* text)
{
    if (key != kLinearPlesseyDual && key != kLinearPlesseySingle && key != kLinearAnker)
        return Fail(kLinearUnknownKey, text);
    if (length < 0 || length > kPlesseyMaxData)
        return Fail(kLinearTooLong, text);
    for (int i = 0; i < length; ++i)
        if (IndexIn(kHexDigits, ToUpper(data[i])) < 0)
            return Fail(kLinearBadCharacter, text);

    ElementWriter out(elements);
    TextWriter shown(text);
    for (const bool bit : {true, true, false, true})
        PutBit(out, bit);
    // Each digit least significant bit first; the CRC covers the data bits.
    unsigned crc = 0;
    for (int i = 0; i < length; ++i) {
        const int value = IndexIn(kHexDigits, ToUpper(data[i]));
        for (int bit = 0; bit < 4; ++bit) {
            PutBit(out, (value >> bit) & 1);
            crc = ShiftCrc(crc, (value >> bit) & 1);
        }
        shown.Put(kHexDigits[value]);
    }
    if (key == kLinearAnker)
        crc ^= 0xFF;
    for (int bit = 7; bit >= 0; --bit)
        PutBit(out, (crc >> bit) & 1);
    // The check characters read like data digits: least significant bit first.
    for (const unsigned nibble : {crc >> 4, crc & 0x0F}) {
        const unsigned reversed = ((nibble & 1) << 3) | ((nibble & 2) << 1) | ((nibble & 4) >> 1) | ((nibble & 8) >> 3);
        shown.Put(kHexDigits[reversed]);
    }

    if (key == kLinearPlesseySingle) {
        out.Modules("212", true);
    } else if (key == kLinearAnker) {
        out.Modules("121221212", true);
    } else {
        out.Bar(kLinearNarrowRun + 5);
        out.Modules("21211212", false);
    }
    return Finish(out, shown, text);
}

} // namespace lx
