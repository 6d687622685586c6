// EAN-13, EAN-8, UPC-A, UPC-E and their 2- and 5-digit add-ons.
#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

namespace lx {

using namespace linear;

namespace {

// Module widths of the digits, space first: set A (odd parity) and set B
// (even parity). Set C is set A drawn bar first.
const char* const kSetA[10] = {"3211", "2221", "2122", "1411", "1132", "1231", "1114", "1312", "1213", "3112"};
const char* const kSetB[10] = {"1123", "1222", "2212", "1141", "2311", "1321", "4111", "2131", "3121", "2113"};

// Parity masks, first digit in the highest bit, 1 = set B.
// EAN-13 digits 2-7 by the first digit:
const unsigned kEan13Parity[10] = {000, 013, 015, 016, 023, 031, 034, 025, 026, 032};
// UPC-E number system 0 by the check digit:
const unsigned kUpcEParity[10] = {070, 064, 062, 061, 054, 046, 043, 052, 051, 045};
// 5-digit add-on by its weighted sum:
const unsigned kAddOn5Parity[10] = {030, 024, 022, 021, 014, 006, 003, 012, 011, 005};
// 2-digit add-on by its value modulo 4:
const unsigned kAddOn2Parity[4] = {0, 1, 2, 3};

constexpr int kMaxAddOnDigits = 5;

enum class DigitSet { A, B, C };

void PutDigit(ElementWriter& out, int digit, DigitSet set)
{
    if (set == DigitSet::B)
        out.Modules(kSetB[digit], false);
    else
        out.Modules(kSetA[digit], set == DigitSet::C);
}

DigitSet ParitySet(unsigned mask, int position, int count)
{
    return (mask >> (count - 1 - position)) & 1 ? DigitSet::B : DigitSet::A;
}

// Length (main part plus the add-on allowance) first, then the characters.
std::int32_t CheckDigitsData(int length, const std::uint8_t* data, int mainDigits, bool addOn)
{
    if (length < 0 || length > mainDigits + (addOn ? kMaxAddOnDigits : 0))
        return kLinearTooLong;
    for (int i = 0; i < length; ++i)
        if (!IsDigit(data[i]))
            return kLinearBadCharacter;
    return kLinearOk;
}

// The first `count` digits as values, short data padded with 0 at the end.
void TakeDigits(const std::uint8_t* data, int length, int count, std::uint8_t* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = i < length ? static_cast<std::uint8_t>(data[i] - '0') : 0;
}

void PutDigitText(TextWriter& text, const std::uint8_t* digits, int count)
{
    for (int i = 0; i < count; ++i)
        text.Put(static_cast<char>('0' + digits[i]));
}

// The add-on after a main symbol: `length` (0-5) digits of `data`.
void AppendAddOn(ElementWriter& out, TextWriter& text, const std::uint8_t* data, int length)
{
    const int size = length <= 2 ? 2 : kMaxAddOnDigits;
    std::uint8_t digits[kMaxAddOnDigits];
    TakeDigits(data, length, size, digits);
    unsigned parity;
    if (size == 2) {
        parity = kAddOn2Parity[(digits[0] * 10 + digits[1]) % 4];
    } else {
        const int sum = 3 * (digits[0] + digits[2] + digits[4]) + 9 * (digits[1] + digits[3]);
        parity = kAddOn5Parity[sum % 10];
    }
    out.Space(9);
    out.Modules("112", true);
    for (int i = 0; i < size; ++i) {
        if (i > 0)
            out.Modules("11", false);
        PutDigit(out, digits[i], ParitySet(parity, i, size));
    }
    text.Put(' ');
    PutDigitText(text, digits, size);
}

void PutEan13(ElementWriter& out, const std::uint8_t* digits)
{
    out.Modules("111", true);
    for (int i = 1; i <= 6; ++i)
        PutDigit(out, digits[i], ParitySet(kEan13Parity[digits[0]], i - 1, 6));
    out.Modules("11111", false);
    for (int i = 7; i <= 12; ++i)
        PutDigit(out, digits[i], DigitSet::C);
    out.Modules("111", true);
}

void PutEan8(ElementWriter& out, const std::uint8_t* digits)
{
    out.Modules("111", true);
    for (int i = 0; i < 4; ++i)
        PutDigit(out, digits[i], DigitSet::A);
    out.Modules("11111", false);
    for (int i = 4; i < 8; ++i)
        PutDigit(out, digits[i], DigitSet::C);
    out.Modules("111", true);
}

// The UPC-A number (11 digits, number system 0) that a UPC-E number stands
// for: the last UPC-E digit tells where the run of zeros goes.
void ExpandUpcE(const std::uint8_t* e, std::uint8_t* a)
{
    for (int i = 0; i < 11; ++i)
        a[i] = 0;
    a[1] = e[0];
    a[2] = e[1];
    switch (e[5]) {
    case 0:
    case 1:
    case 2:
        a[3] = e[5];
        a[8] = e[2];
        a[9] = e[3];
        a[10] = e[4];
        break;
    case 3:
        a[3] = e[2];
        a[9] = e[3];
        a[10] = e[4];
        break;
    case 4:
        a[3] = e[2];
        a[4] = e[3];
        a[10] = e[4];
        break;
    default:
        a[3] = e[2];
        a[4] = e[3];
        a[5] = e[4];
        a[10] = e[5];
        break;
    }
}

// The main part as written, followed by the add-on of the data behind its
// digits when the key has one.
int FinishWithAddOn(const ElementWriter& out, const TextWriter& shown, char* text, bool addOn, const std::uint8_t* data,
                    int length, int mainDigits)
{
    const int mainCount = Finish(out, shown, text);
    if (!addOn || mainCount == 0)
        return mainCount;
    // At most 32 elements and 6 characters: the buffers have room after any main part.
    const int addOnLength = length > mainDigits ? length - mainDigits : 0;
    const std::uint8_t* addOnData = addOnLength > 0 ? data + mainDigits : data;
    const int addOnCount = EncodeEanAddOn(addOnLength, addOnData, out.End(), text + shown.Length());
    return addOnCount == 0 ? Fail(Error(), text) : mainCount + addOnCount;
}

} // namespace

int EncodeEanUpc(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key,
                 std::int32_t /*option*/, char* text)
{
    bool upcA = false;
    bool eight = false;
    switch (key) {
    case kLinearEan13:
    case kLinearEan13AddOn: break;
    case kLinearEan8:
    case kLinearEan8AddOn: eight = true; break;
    case kLinearUpcA:
    case kLinearUpcAAddOn: upcA = true; break;
    default: return Fail(kLinearUnknownKey, text);
    }
    const bool addOn = KeyOption(key) >= 3;
    const int mainDigits = eight ? 7 : upcA ? 11 : 12;
    if (const std::int32_t error = CheckDigitsData(length, data, mainDigits, addOn))
        return Fail(error, text);

    // UPC-A is EAN-13 with a leading 0.
    std::uint8_t digits[13] = {};
    const int first = upcA ? 1 : 0;
    TakeDigits(data, length, mainDigits, digits + first);
    const int total = eight ? 8 : 13;
    digits[total - 1] = static_cast<std::uint8_t>(Mod10Weight31(digits, total - 1));

    ElementWriter out(elements);
    TextWriter shown(text);
    eight ? PutEan8(out, digits) : PutEan13(out, digits);
    PutDigitText(shown, digits + first, total - first);
    return FinishWithAddOn(out, shown, text, addOn, data, length, mainDigits);
}

int EncodeUpcE(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t /*option*/,
               char* text)
{
    if (key != kLinearUpcE && key != kLinearUpcEAddOn)
        return Fail(kLinearUnknownKey, text);
    const bool addOn = key == kLinearUpcEAddOn;
    if (const std::int32_t error = CheckDigitsData(length, data, 6, addOn))
        return Fail(error, text);

    std::uint8_t digits[7];
    TakeDigits(data, length, 6, digits);
    std::uint8_t expanded[11];
    ExpandUpcE(digits, expanded);
    digits[6] = static_cast<std::uint8_t>(Mod10Weight31(expanded, 11));

    ElementWriter out(elements);
    TextWriter shown(text);
    out.Modules("111", true);
    for (int i = 0; i < 6; ++i)
        PutDigit(out, digits[i], ParitySet(kUpcEParity[digits[6]], i, 6));
    out.Modules("111111", false);
    PutDigitText(shown, digits, 7);
    return FinishWithAddOn(out, shown, text, addOn, data, length, 6);
}

int EncodeEanAddOn(int length, const std::uint8_t* digits, std::uint8_t* elements, char* text)
{
    if (const std::int32_t error = CheckDigitsData(length, digits, 0, true))
        return Fail(error, text);
    ElementWriter out(elements);
    TextWriter shown(text);
    AppendAddOn(out, shown, digits, length);
    return Finish(out, shown, text);
}

} // namespace lx
