#include "symbol/encoders/MaxiCodeEncoder.h"

#include "symbol/encoders/MaxiCodeTables.h"

#include <array>
#include <cstring>

namespace lx {
namespace {

using maxi::CodeSetValue;

constexpr int kMaxMessageBytes = 287;
constexpr int kPrimaryData = 10;
constexpr int kPrimaryEcc = 10;
constexpr int kCodewords = 144;

// Special values of the code sets.
constexpr int kNumericShift = 31;
constexpr int kPad = 33;
constexpr int kTwoShiftA = 56;
constexpr int kThreeShiftA = 57;
constexpr int kLatchAFromCde = 58;
constexpr int kShiftOther = 59; // shift B in set A, shift A in set B
constexpr int kLatchOther = 63; // latch B in A, C, D, E; latch A in B
constexpr int kShiftTo[maxi::kSetCount] = {0, 0, 60, 61, 62};

// --- Reed-Solomon over GF(64), primitive polynomial 0x43, roots alpha^1.. ---

struct Field {
    std::array<std::uint8_t, 128> exp{};
    std::array<int, 64> log{};
    constexpr Field()
    {
        int x = 1;
        for (int i = 0; i < 63; ++i) {
            exp[i] = static_cast<std::uint8_t>(x);
            log[x] = i;
            x <<= 1;
            if (x & 0x40)
                x ^= 0x43;
        }
        for (int i = 63; i < 128; ++i)
            exp[i] = exp[i - 63];
    }
    constexpr int Mul(int a, int b) const { return a && b ? exp[log[a] + log[b]] : 0; }
};

constexpr Field kField;
constexpr int kMaxEcc = 28;

// Error correction of the codewords at data[0], data[step], ... (count of
// them), written to ecc[0], ecc[step], ...
void ReedSolomon(const std::uint8_t* data, int count, int step, int eccCount, std::uint8_t* ecc)
{
    std::array<int, kMaxEcc + 1> g{};
    g[0] = 1;
    for (int i = 1; i <= eccCount; ++i)
        for (int j = i; j >= 1; --j)
            g[j] ^= kField.Mul(g[j - 1], kField.exp[i]);
    std::array<int, kMaxEcc> remainder{};
    for (int i = 0; i < count; ++i) {
        const int factor = data[i * step] ^ remainder[0];
        for (int j = 0; j < eccCount - 1; ++j)
            remainder[j] = remainder[j + 1] ^ kField.Mul(factor, g[j + 1]);
        remainder[eccCount - 1] = kField.Mul(factor, g[eccCount]);
    }
    for (int j = 0; j < eccCount; ++j)
        ecc[j * step] = static_cast<std::uint8_t>(remainder[j]);
}

// --- request ---

struct Request {
    bool structuredAppend = false;
    int position = 1;
    int total = 1;
    const std::uint8_t* postal = nullptr;
    int postalLength = 0;
    char country[3] = {'0', '0', '0'};
    char service[3] = {'0', '0', '0'};
    const std::uint8_t* message = nullptr;
    int messageLength = 0;
};

class RequestReader {
public:
    RequestReader(const std::uint8_t* bytes, int length) : bytes_(bytes), length_(length) {}

    bool More() const { return pos_ < length_; }
    int Peek() const { return bytes_[pos_]; }
    bool Skip(int b)
    {
        if (!More() || Peek() != b)
            return false;
        ++pos_;
        return true;
    }

    // One digit, or two whose first is 0 or 1; -1 when none is there.
    int HeaderNumber()
    {
        if (!More() || !IsDigit(Peek()))
            return -1;
        int value = bytes_[pos_++] - '0';
        if (value <= 1 && More() && IsDigit(Peek()))
            value = value * 10 + (bytes_[pos_++] - '0');
        return value;
    }

    // Up to maxLength bytes before a comma; the comma ending it is skipped.
    const std::uint8_t* Field(int maxLength, int& length)
    {
        const std::uint8_t* start = bytes_ + pos_;
        length = 0;
        while (length < maxLength && More() && Peek() != ',') {
            ++length;
            ++pos_;
        }
        Skip(',');
        return start;
    }

    // The rest up to a zero byte.
    const std::uint8_t* Rest(int& length)
    {
        const std::uint8_t* start = bytes_ + pos_;
        length = 0;
        while (pos_ + length < length_ && start[length] != 0)
            ++length;
        return start;
    }

private:
    static bool IsDigit(int b) { return b >= '0' && b <= '9'; }

    const std::uint8_t* bytes_;
    int length_;
    int pos_ = 0;
};

// Country code and class of service: three characters, filled with "0" on the right.
void ReadThree(RequestReader& reader, char* out)
{
    int length = 0;
    const std::uint8_t* field = reader.Field(3, length);
    for (int i = 0; i < length; ++i)
        out[i] = static_cast<char>(field[i]);
}

// Returns 0 or the result code of a malformed header.
int ParseRequest(const std::uint8_t* bytes, int length, bool primaryFields, Request& out)
{
    RequestReader reader(bytes, length);
    if (reader.Skip('D') || reader.Skip('d')) {
        out.position = reader.HeaderNumber();
        out.total = reader.HeaderNumber();
        if (out.position < 1 || out.position > 8 || out.total > 8 || out.total < out.position)
            return -3;
        out.structuredAppend = out.total > 1;
    }
    reader.Skip(',');
    if (primaryFields) {
        out.postal = reader.Field(9, out.postalLength);
        ReadThree(reader, out.country);
        ReadThree(reader, out.service);
    }
    out.message = reader.Rest(out.messageLength);
    return 0;
}

// --- code sets ---

// Value sink with a fixed capacity: every write checks the room first.
class ValueWriter {
public:
    ValueWriter(std::uint8_t* values, int capacity) : values_(values), capacity_(capacity) {}
    [[nodiscard]] bool Put(int value)
    {
        if (count_ >= capacity_)
            return false;
        values_[count_++] = static_cast<std::uint8_t>(value);
        return true;
    }
    int Count() const { return count_; }
    int Capacity() const { return capacity_; }

private:
    std::uint8_t* values_;
    int capacity_;
    int count_ = 0;
};

class MessageEncoder {
public:
    MessageEncoder(const std::uint8_t* text, int length, ValueWriter& out) : text_(text), length_(length), out_(out) {}

    bool Run()
    {
        while (pos_ < length_) {
            if (NineDigitsAt(pos_)) {
                if (!PutNumericShift())
                    return false;
                continue;
            }
            const int b = text_[pos_];
            if (In(set_, b)) {
                if (!out_.Put(CodeSetValue(set_, b)))
                    return false;
                ++pos_;
                continue;
            }
            if (!ChangeSet(Preferred(b)))
                return false;
        }
        return true;
    }

private:
    static bool In(int set, int b) { return CodeSetValue(set, b) >= 0; }

    static int Preferred(int b)
    {
        int set = maxi::kSetA;
        while (!In(set, b))
            ++set;
        return set;
    }

    bool IsDigitAt(int p) const { return p < length_ && text_[p] >= '0' && text_[p] <= '9'; }

    bool NineDigitsAt(int p) const
    {
        for (int i = 0; i < 9; ++i)
            if (!IsDigitAt(p + i))
                return false;
        return true;
    }

    bool PutNumericShift()
    {
        long number = 0;
        for (int i = 0; i < 9; ++i)
            number = number * 10 + (text_[pos_ + i] - '0');
        pos_ += 9;
        if (!out_.Put(kNumericShift))
            return false;
        for (int shift = 24; shift >= 0; shift -= 6)
            if (!out_.Put((number >> shift) & 63))
                return false;
        return true;
    }

    // Characters from pos_ on (at most limit) that the set holds, stopping
    // before a run of nine digits.
    int RunIn(int set, int limit) const
    {
        int run = 0;
        while (run < limit && pos_ + run < length_ && In(set, text_[pos_ + run]) && !NineDigitsAt(pos_ + run))
            ++run;
        return run;
    }

    bool PutShifted(int shift, int set, int count)
    {
        for (int i = 0; i < count; ++i, ++pos_)
            if ((shift >= 0 && !out_.Put(shift)) || !out_.Put(CodeSetValue(set, text_[pos_])))
                return false;
        return true;
    }

    // Writes the shifts or latches that reach `target` for the byte at pos_.
    bool ChangeSet(int target)
    {
        using namespace maxi;
        if (target >= kSetC)
            return EnterCde(target);
        if (set_ >= kSetC) { // locked in C, D or E
            set_ = target;
            return out_.Put(target == kSetA ? kLatchAFromCde : kLatchOther);
        }
        if (target == kSetB) { // from A
            const bool nextOnlyB = pos_ + 1 < length_ && !In(kSetA, text_[pos_ + 1]) && In(kSetB, text_[pos_ + 1]);
            if (nextOnlyB) {
                set_ = kSetB;
                return out_.Put(kLatchOther);
            }
            return PutShifted(kShiftOther, kSetB, 1);
        }
        // From B to A characters.
        const int run = RunIn(kSetA, 4);
        switch (run) {
        case 1: return PutShifted(kShiftOther, kSetA, 1);
        case 2: return out_.Put(kTwoShiftA) && PutShifted(-1, kSetA, 2);
        case 3: return out_.Put(kThreeShiftA) && PutShifted(-1, kSetA, 3);
        default: set_ = kSetA; return out_.Put(kLatchOther);
        }
    }

    bool EnterCde(int target)
    {
        const int run = RunIn(target, 4);
        if (run >= 4) { // lock-in: the shift twice
            set_ = target;
            return out_.Put(kShiftTo[target]) && out_.Put(kShiftTo[target]);
        }
        return PutShifted(kShiftTo[target], target, run);
    }

    const std::uint8_t* text_;
    int length_;
    ValueWriter& out_;
    int pos_ = 0;
    int set_ = maxi::kSetA;
};

// --- primary message of modes 2 and 3 ---

int DecimalValue(const char* digits, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const int d = digits[i] - '0';
        value = value * 10 + (d >= 0 && d <= 9 ? d : 0); // other characters count as 0
    }
    return value;
}

// Packs the carrier fields, returns false for a mode 3 postal character
// without a six-bit value.
bool PackPrimary(int mode, const Request& r, std::uint8_t* codewords)
{
    std::uint64_t postal = 0;
    if (mode == 2) {
        const int number = DecimalValue(reinterpret_cast<const char*>(r.postal), r.postalLength);
        postal = static_cast<std::uint64_t>(number) | static_cast<std::uint64_t>(r.postalLength) << 30;
    } else {
        for (int i = 0; i < 6; ++i) {
            const int b = i < r.postalLength ? r.postal[i] : ' ';
            if (b == '@' || b >= 128)
                return false; // no six-bit code value
            postal = postal << 6 | static_cast<std::uint64_t>(b < 65 ? b : b - 64);
        }
    }
    const std::uint64_t bits = static_cast<std::uint64_t>(mode) | postal << 4 |
        static_cast<std::uint64_t>(DecimalValue(r.country, 3)) << 40 |
        static_cast<std::uint64_t>(DecimalValue(r.service, 3)) << 50;
    for (int k = 0; k < kPrimaryData; ++k)
        codewords[k] = static_cast<std::uint8_t>(bits >> (6 * k) & 63);
    return true;
}

// --- symbol ---

std::uint8_t g_codewords[kCodewords];
std::uint8_t g_map[kMaxiCodeMapBytes];

void Pad(ValueWriter& out)
{
    if (out.Count() < out.Capacity())
        (void)out.Put(kLatchOther); // leaves C, D or E before the pads
    while (out.Count() < out.Capacity())
        (void)out.Put(kPad);
}

void AddErrorCorrection(int mode)
{
    const int secondaryData = mode == 5 ? 68 : 84;
    const int secondaryEcc = mode == 5 ? 56 : 40;
    ReedSolomon(g_codewords, kPrimaryData, 1, kPrimaryEcc, g_codewords + kPrimaryData);
    const std::uint8_t* data = g_codewords + kPrimaryData + kPrimaryEcc;
    std::uint8_t* ecc = g_codewords + kPrimaryData + kPrimaryEcc + secondaryData;
    for (int half = 0; half < 2; ++half)
        ReedSolomon(data + half, secondaryData / 2, 2, secondaryEcc / 2, ecc + half);
}

void MapModules()
{
    std::memset(g_map, 0, sizeof g_map);
    auto setDark = [](int module) {
        g_map[module / 32 * 4 + module % 32 / 8] |= static_cast<std::uint8_t>(1u << (module % 8));
    };
    for (int module : maxi::kFixedDarkModules)
        setDark(module);
    for (int k = 0; k < kCodewords; ++k)
        for (int bit = 0; bit < 6; ++bit)
            if (g_codewords[k] >> (5 - bit) & 1)
                setDark(maxi::kModuleSequence[k * 6 + bit]);
}

int StructuredAppendValue(const Request& r) { return (r.position - 1) * 8 + (r.total - 1); }

} // namespace

int EncodeMaxiCode(int requestLength, const std::uint8_t* request, std::uint8_t* map, int storedMode)
{
    const int mode = storedMode + 1;
    if (mode < 2 || mode > 6)
        return -4;
    if (requestLength < 0 || (requestLength > 0 && !request) || !map)
        return -1;
    const bool carrier = mode <= 3;
    Request r;
    if (const int error = ParseRequest(request, requestLength, carrier, r))
        return error;
    if (r.messageLength > kMaxMessageBytes)
        return -1;

    // Modes 2 and 3 put the message in the secondary codewords only; modes 4
    // to 6 start it in the primary behind the mode.
    std::memset(g_codewords, 0, sizeof g_codewords);
    const int dataStart = carrier ? kPrimaryData + kPrimaryEcc : 1;
    const int capacity = carrier ? 84 : mode == 5 ? 77 : 93;
    std::uint8_t stream[93];
    ValueWriter out(stream, capacity);
    if (r.structuredAppend && !(out.Put(kPad) && out.Put(StructuredAppendValue(r))))
        return -1;
    if (!MessageEncoder(r.message, r.messageLength, out).Run())
        return -1;
    if (carrier && !PackPrimary(mode, r, g_codewords))
        return -1;
    Pad(out);

    if (!carrier)
        g_codewords[0] = static_cast<std::uint8_t>(mode);
    for (int i = 0; i < capacity; ++i) {
        // In modes 4 to 6 the primary's nine data codewords come first, then
        // the secondary's behind the primary error correction.
        const int at = carrier || i < kPrimaryData - 1 ? dataStart + i : kPrimaryData + kPrimaryEcc + i - 9;
        g_codewords[at] = stream[i];
    }
    AddErrorCorrection(mode);
    MapModules();
    std::memcpy(map, g_map, sizeof g_map);
    return 0;
}

} // namespace lx
