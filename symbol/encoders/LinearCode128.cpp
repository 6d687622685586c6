// Code 128 and EAN-128: the option picks the start set, "@" escapes give the
// function and set-change characters.
#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

namespace lx {

using namespace linear;

namespace {

constexpr int kMaxData = 250;
// A data byte gives at most two symbol characters (CODE B and the byte); start,
// FNC1 and check come on top.
constexpr int kMaxValues = 2 * kMaxData + 3;

// Module widths of values 0-105 (six elements from a bar), then the stop.
const char* const kPatterns[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211",  "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",  "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113",  "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113",  "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",  "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112",  "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112",  "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113",  "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

enum Value : int {
    kFnc3 = 96,
    kFnc2 = 97,
    kShift = 98,
    kCodeC = 99,
    kCodeB = 100, // FNC4 in set B
    kCodeA = 101, // FNC4 in set A
    kFnc1 = 102,
    kStartA = 103,
    kStop = 106,
};

enum class Set { A, B, C };

class Code128Builder {
public:
    Code128Builder(Set set, char* text) : set_(set), text_(text) {}

    // Encodes the data; kLinearOk or the error.
    std::int32_t Encode(const std::uint8_t* data, int length)
    {
        for (int i = 0; i < length;) {
            if (data[i] != '@') {
                const int used = Literal(data[i], i + 1 < length ? data[i + 1] : 0);
                if (used == 0)
                    return kLinearBadCharacter;
                i += used;
                continue;
            }
            // A lone "@" at the end closes the data.
            if (i + 1 == length)
                break;
            if (!Escape(data[i + 1]))
                return kLinearBadCharacter;
            i += 2;
        }
        // A SHIFT must be followed by the character it shifts.
        return shifted_ ? kLinearBadCharacter : kLinearOk;
    }

    void Add(int value) { values_[count_++] = value; }
    const int* Values() const { return values_; }
    int Count() const { return count_; }
    TextWriter& Text() { return text_; }

private:
    // A data byte; in set C a digit pairs with the next byte when that is a
    // digit too, anything else changes to set B first. The bytes used, 0 when
    // the byte has no encoding.
    int Literal(std::uint8_t c, std::uint8_t next)
    {
        if (set_ == Set::C) {
            if (IsDigit(c) && IsDigit(next)) {
                Add((c - '0') * 10 + (next - '0'));
                text_.Put(static_cast<char>(c));
                text_.Put(static_cast<char>(next));
                return 2;
            }
            Add(kCodeB);
            set_ = Set::B;
        }
        if (c < 32 || c > 127)
            return 0;
        const Set set = shifted_ ? Other(set_) : set_;
        shifted_ = false;
        Add(c - 32);
        // In set A the bytes 96-127 stand for the control codes 0-31.
        if (set == Set::B || c < 96)
            text_.Put(static_cast<char>(c));
        return 1;
    }

    // A symbol character given by its value; after a SHIFT it is the shifted one.
    bool RawValue(int value)
    {
        shifted_ = false;
        Add(value);
        return true;
    }

    bool Escape(std::uint8_t e)
    {
        switch (e) {
        case '@': return Literal('@', 0) == 1;
        case 'D': return RawValue(95);
        case '\\': return RawValue(60);
        case ']': return RawValue(0);
        default: break;
        }
        // Only a data character may follow a SHIFT.
        if (shifted_)
            return false;
        switch (e) {
        case '1': Add(kFnc1); return true;
        case '2': return Function(kFnc2);
        case '3': return Function(kFnc3);
        case '4': return Function(set_ == Set::B ? kCodeB : kCodeA);
        case 'S': shifted_ = Function(kShift); return shifted_;
        case 'A': return ChangeSet(Set::A, kCodeA);
        case 'B': return ChangeSet(Set::B, kCodeB);
        case 'C': return ChangeSet(Set::C, kCodeC);
        default: return false;
        }
    }

    // FNC2, FNC3, FNC4 and SHIFT exist in sets A and B only: in set C their
    // values are digit pairs.
    bool Function(int value)
    {
        if (set_ == Set::C)
            return false;
        Add(value);
        return true;
    }

    // A change to the current set writes nothing: its value would be FNC4 (or
    // the pair 99 in set C).
    bool ChangeSet(Set set, int value)
    {
        if (set != set_)
            Add(value);
        set_ = set;
        return true;
    }

    static Set Other(Set set) { return set == Set::A ? Set::B : Set::A; }

    Set set_;
    bool shifted_ = false;
    int values_[kMaxValues];
    int count_ = 0;
    TextWriter text_;
};

} // namespace

int EncodeCode128(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key,
                  std::int32_t /*option*/, char* text)
{
    const int group = key >> 8;
    const int start = KeyOption(key);
    if ((group != 8 && group != 9) || start < 1 || start > 3)
        return Fail(kLinearUnknownKey, text);
    if (length < 0 || length > kMaxData)
        return Fail(kLinearTooLong, text);

    const Set set = start == 1 ? Set::A : start == 2 ? Set::B : Set::C;
    Code128Builder builder(set, text);
    builder.Add(kStartA + start - 1);
    if (group == 9)
        builder.Add(kFnc1);
    if (const std::int32_t error = builder.Encode(data, length))
        return Fail(error, text);

    int sum = builder.Values()[0];
    for (int i = 1; i < builder.Count(); ++i)
        sum += i * builder.Values()[i];
    builder.Add(sum % 103);

    ElementWriter out(elements);
    for (int i = 0; i < builder.Count(); ++i)
        out.Modules(kPatterns[builder.Values()[i]], true);
    out.Modules(kPatterns[kStop], true);
    return Finish(out, builder.Text(), text);
}

} // namespace lx
