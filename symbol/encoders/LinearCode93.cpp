// Code 93: 47 characters of 9 modules (3 bars, 3 spaces), two check
// characters, shift characters written as "@$", "@%", "@/" and "@+".
#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

namespace lx {

using namespace linear;

namespace {

constexpr int kMaxData = 250;
const char kCode93Set[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
// The shift characters ($), (%), (/), (+) follow the 43 plain ones.
const char kShiftSet[] = "$%/+";
constexpr int kFirstShift = 43;

// Module widths of values 0-46, bar first, then the start/stop character.
const char* const kPatterns[48] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", "141111",
    "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212", "112311", "122112",
    "132111", "111123", "111222", "111321", "121122", "131121", "212112", "212211", "211122", "211221",
    "221121", "222111", "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211", "111141",
};
constexpr int kStartStop = 47;

// Weights 1 to maxWeight from the rightmost value, repeating; modulo 47.
int Code93Check(const int* values, int count, int maxWeight)
{
    int sum = 0;
    for (int i = count - 1, weight = 1; i >= 0; --i, weight = weight % maxWeight + 1)
        sum += values[i] * weight;
    return sum % 47;
}

} // namespace

int EncodeCode93(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t /*key*/,
                 std::int32_t /*option*/, char* text)
{
    if (length < 0 || length > kMaxData)
        return Fail(kLinearTooLong, text);
    int values[kMaxData + 2];
    int count = 0;
    for (int i = 0; i < length; ++i) {
        if (data[i] == '@') {
            // A lone "@" at the end closes the data.
            if (i + 1 == length)
                break;
            const int shift = IndexIn(kShiftSet, data[++i]);
            if (shift < 0)
                return Fail(kLinearBadCharacter, text);
            values[count++] = kFirstShift + shift;
            continue;
        }
        const int value = IndexIn(kCode93Set, data[i]);
        if (value < 0)
            return Fail(kLinearBadCharacter, text);
        values[count++] = value;
    }
    values[count] = Code93Check(values, count, 20);
    ++count;
    values[count] = Code93Check(values, count, 15);
    ++count;

    ElementWriter out(elements);
    TextWriter shown(text);
    out.Modules(kPatterns[kStartStop], true);
    for (int i = 0; i < count; ++i)
        out.Modules(kPatterns[values[i]], true);
    out.Modules(kPatterns[kStartStop], true);
    out.Bar(1);
    shown.Put(reinterpret_cast<const char*>(data), length);
    return Finish(out, shown, text);
}

} // namespace lx
