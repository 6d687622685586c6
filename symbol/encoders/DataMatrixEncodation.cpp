// ECC200 data encodation: ASCII, C40, Text, X12, EDIFACT and Base256,
// switched by the look-ahead test of the standard.
#include "symbol/encoders/DataMatrixDetail.h"
#include "symbol/encoders/DataMatrixEncoder.h"

#include <algorithm>

namespace lx::dm {
namespace {

enum Mode { kAscii, kC40, kText, kX12, kEdifact, kBase256, kModeCount };

constexpr int kLatch[kModeCount] = {0, 230, 239, 238, 240, 231};
constexpr int kUnlatch = 254;
constexpr int kEdifactUnlatch = 31;
constexpr int kMaxBase256Run = 1555; // the longest run a length field can state

// Look-ahead counts are kept in twelfths so that thirds and quarters stay exact.
constexpr int kUnit = 12;
constexpr int kExcluded = 3000 * kUnit;

bool IsDigit(int b) { return b >= '0' && b <= '9'; }
bool IsUpper(int b) { return b >= 'A' && b <= 'Z'; }
bool IsLower(int b) { return b >= 'a' && b <= 'z'; }
bool IsExtended(int b) { return b >= 128; }
bool IsNativeC40(int b) { return b == ' ' || IsDigit(b) || IsUpper(b); }
bool IsNativeText(int b) { return b == ' ' || IsDigit(b) || IsLower(b); }
bool IsX12(int b) { return b == '\r' || b == '*' || b == '>' || IsNativeC40(b); }
bool IsEdifact(int b) { return b >= 32 && b <= 94; }

int CeilUnit(int count) { return (count + kUnit - 1) / kUnit * kUnit; }

// Adds one character's cost to the six counts.
void CountCharacter(int b, int* counts)
{
    const bool ext = IsExtended(b);
    if (IsDigit(b))
        counts[kAscii] += kUnit / 2;
    else
        counts[kAscii] = CeilUnit(counts[kAscii]) + (ext ? 2 * kUnit : kUnit);
    counts[kC40] += IsNativeC40(b) ? 8 : ext ? 32 : 16;
    counts[kText] += IsNativeText(b) ? 8 : ext ? 32 : 16;
    counts[kX12] += IsX12(b) ? 4 : ext ? 52 : 40;
    counts[kEdifact] += IsEdifact(b) ? 9 : ext ? 51 : 39;
    counts[kBase256] += kUnit;
}

// True when counts[mode] + margin is below (or, with orEqual, not above) the
// count of every mode in `others`.
bool Beats(const int* counts, int mode, int margin, std::initializer_list<int> others, bool orEqual)
{
    for (int other : others) {
        const int mine = counts[mode] + margin;
        if (orEqual ? mine > counts[other] : mine >= counts[other])
            return false;
    }
    return true;
}

int DecideMidway(const int* counts)
{
    if (Beats(counts, kAscii, kUnit, {kC40, kText, kX12, kEdifact, kBase256}, true))
        return kAscii;
    if (Beats(counts, kBase256, kUnit, {kC40, kText, kX12, kEdifact}, false) &&
        Beats(counts, kBase256, kUnit, {kAscii}, true))
        return kBase256;
    if (Beats(counts, kEdifact, kUnit, {kAscii, kC40, kText, kX12, kBase256}, false))
        return kEdifact;
    if (Beats(counts, kText, kUnit, {kAscii, kC40, kX12, kEdifact, kBase256}, false))
        return kText;
    if (Beats(counts, kX12, kUnit, {kAscii, kC40, kText, kEdifact, kBase256}, false))
        return kX12;
    if (Beats(counts, kC40, kUnit, {kAscii, kText, kEdifact, kBase256}, false))
        return kC40;
    return -1;
}

int DecideAtEnd(int* counts)
{
    for (int m = 0; m < kModeCount; ++m)
        counts[m] = CeilUnit(counts[m]);
    for (int mode : {kAscii, kBase256, kEdifact, kText, kX12}) {
        bool best = true;
        for (int other = 0; other < kModeCount; ++other)
            best = best && counts[mode] <= counts[other];
        if (best)
            return mode;
    }
    return kC40;
}

// C40 and Text values of the segment being encoded, each with the position of
// the byte it came from so that whole characters can be taken back.
std::uint8_t g_values[4 * (kDataMatrixMaxDataBytes + 1)];
std::uint16_t g_valueSource[4 * (kDataMatrixMaxDataBytes + 1)];

class Encoder {
public:
    Encoder(const std::uint8_t* data, int length, CodewordBuffer& out, const SizeLimit& limit)
        : data_(data), length_(length), out_(out), limit_(limit)
    {
    }

    bool Run()
    {
        while (pos_ < length_) {
            if (pos_ + 1 < length_ && IsDigit(data_[pos_]) && IsDigit(data_[pos_ + 1])) {
                if (!out_.Put(130 + (data_[pos_] - '0') * 10 + (data_[pos_ + 1] - '0')))
                    return false;
                pos_ += 2;
                continue;
            }
            const int next = pos_ < asciiUntil_ ? kAscii : LookAhead(pos_, kAscii);
            if (next != kAscii && CanEnter(next)) {
                if (!out_.Put(kLatch[next]) || !RunMode(next))
                    return false;
                continue;
            }
            if (!PutAscii(data_[pos_++]))
                return false;
        }
        return true;
    }

private:
    int LookAhead(int pos, int current) const
    {
        int counts[kModeCount];
        for (int m = 0; m < kModeCount; ++m)
            counts[m] = (current == kAscii ? 0 : kUnit) + (m == kAscii ? 0 : kUnit);
        counts[kBase256] += kUnit / 4;
        counts[current] = 0;
        // Our own rule: never pick an encodation that cannot take the first byte.
        if (!IsX12(data_[pos]))
            counts[kX12] = kExcluded;
        if (!IsEdifact(data_[pos]))
            counts[kEdifact] = kExcluded;
        for (int p = pos, seen = 1; p < length_; ++p, ++seen) {
            CountCharacter(data_[p], counts);
            if (seen >= 4) {
                const int decided = DecideMidway(counts);
                if (decided >= 0)
                    return decided;
            }
        }
        return DecideAtEnd(counts);
    }

    bool CanEnter(int mode) const
    {
        const int rest = length_ - pos_;
        switch (mode) {
        case kC40:
        case kText: return rest >= 2;
        case kX12: return rest >= 3 && IsX12(data_[pos_]) && IsX12(data_[pos_ + 1]) && IsX12(data_[pos_ + 2]);
        case kEdifact: return rest >= 3 && IsEdifact(data_[pos_]);
        default: return true;
        }
    }

    bool RunMode(int mode)
    {
        switch (mode) {
        case kC40: return RunC40Text(false);
        case kText: return RunC40Text(true);
        case kX12: return RunX12();
        case kEdifact: return RunEdifact();
        default: return RunBase256();
        }
    }

    bool PutAscii(int b)
    {
        if (IsExtended(b))
            return out_.Put(235) && out_.Put(b - 127);
        return out_.Put(b + 1);
    }

    int AsciiCost(int from, int to) const
    {
        int cost = 0;
        for (int p = from; p < to; ++p) {
            if (p + 1 < to && IsDigit(data_[p]) && IsDigit(data_[p + 1]))
                ++p;
            cost += IsExtended(data_[p]) ? 2 : 1;
        }
        return cost;
    }

    // --- C40 and Text ---

    // Values of a byte below 128: one for the basic set, else shift and value.
    static int AppendShifted(int b, bool text, int* v)
    {
        int shift = -1;
        int value = 0;
        if (b == ' ')
            value = 3;
        else if (IsDigit(b))
            value = b - '0' + 4;
        else if (text ? IsLower(b) : IsUpper(b))
            value = b - (text ? 'a' : 'A') + 14;
        else if (b < 32)
            shift = 0, value = b;
        else if (b <= 47)
            shift = 1, value = b - 33;
        else if (b <= 64)
            shift = 1, value = b - 58 + 15;
        else if (b >= 91 && b <= 95)
            shift = 1, value = b - 91 + 22;
        else if (text && IsUpper(b))
            shift = 2, value = b - 64; // Text keeps capitals in shift 3
        else
            shift = 2, value = b - 96;
        if (shift < 0) {
            v[0] = value;
            return 1;
        }
        v[0] = shift;
        v[1] = value;
        return 2;
    }

    static int C40Values(int b, bool text, int* v)
    {
        if (!IsExtended(b))
            return AppendShifted(b, text, v);
        v[0] = 1; // shift 2, upper shift
        v[1] = 30;
        return 2 + AppendShifted(b - 128, text, v + 2);
    }

    bool RunC40Text(bool text)
    {
        const int mode = text ? kText : kC40;
        int count = 0;
        for (bool first = true; pos_ < length_; first = false) {
            if (!first && count % 3 == 0 && (length_ - pos_ < 2 || LookAhead(pos_, mode) != mode))
                break;
            int v[4];
            const int n = C40Values(data_[pos_], text, v);
            for (int i = 0; i < n; ++i) {
                g_values[count] = static_cast<std::uint8_t>(v[i]);
                g_valueSource[count++] = static_cast<std::uint16_t>(pos_);
            }
            ++pos_;
        }
        if (pos_ == length_ && count % 3 == 2)
            g_values[count++] = 0; // shift 1 completes the last pair
        if (count % 3) {
            // Take back whole characters until the values end on a triple; the
            // bytes taken back go out in ASCII.
            asciiUntil_ = length_;
            while (count % 3) {
                pos_ = g_valueSource[count - 1];
                while (count > 0 && g_valueSource[count - 1] == pos_)
                    --count;
            }
        }
        for (int i = 0; i < count; i += 3) {
            const int packed = 1600 * g_values[i] + 40 * g_values[i + 1] + g_values[i + 2] + 1;
            if (!out_.Put(packed / 256) || !out_.Put(packed % 256))
                return false;
        }
        return EndTriples();
    }

    // Unlatch after C40, Text or X12, left out when at most one byte that
    // takes one ASCII codeword remains and the symbol is then exactly full.
    bool EndTriples()
    {
        const int rest = length_ - pos_;
        const int cost = AsciiCost(pos_, length_);
        const int n = out_.Count();
        if (rest <= 1 && cost <= 1 && limit_.CapacityHolding(n + cost) == n + cost) {
            asciiUntil_ = length_;
            return true;
        }
        return out_.Put(kUnlatch);
    }

    // --- X12 ---

    static int X12Value(int b)
    {
        switch (b) {
        case '\r': return 0;
        case '*': return 1;
        case '>': return 2;
        case ' ': return 3;
        default: return IsDigit(b) ? b - '0' + 4 : b - 'A' + 14;
        }
    }

    bool RunX12()
    {
        for (bool first = true;; first = false) {
            if (length_ - pos_ < 3 || !IsX12(data_[pos_]) || !IsX12(data_[pos_ + 1]) || !IsX12(data_[pos_ + 2]))
                break;
            if (!first && LookAhead(pos_, kX12) != kX12)
                break;
            const int packed =
                1600 * X12Value(data_[pos_]) + 40 * X12Value(data_[pos_ + 1]) + X12Value(data_[pos_ + 2]) + 1;
            if (!out_.Put(packed / 256) || !out_.Put(packed % 256))
                return false;
            pos_ += 3;
        }
        return EndTriples();
    }

    // --- EDIFACT ---

    bool PutEdifactGroup(const int* values, int count)
    {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = bits << 6 | (i < count ? values[i] : 0);
        const int bytes = (6 * count + 7) / 8;
        for (int i = 0; i < bytes; ++i)
            if (!out_.Put((bits >> (16 - 8 * i)) & 0xFF))
                return false;
        return true;
    }

    // A reader leaves EDIFACT by itself when fewer than three codewords are
    // left, so a short ASCII tail needs no unlatch when the symbol ends there.
    bool AsciiTailFits(int from) const
    {
        const int cost = AsciiCost(from, length_);
        if (length_ - from > 2 || cost > 2)
            return false;
        const int capacity = limit_.CapacityHolding(out_.Count() + cost);
        return capacity != INT_MAX && capacity - out_.Count() <= 2;
    }

    bool RunEdifact()
    {
        for (bool first = true;; first = false) {
            if (!first && (length_ - pos_ <= 2 || !IsEdifact(data_[pos_]) || LookAhead(pos_, kEdifact) != kEdifact)) {
                if (AsciiTailFits(pos_)) {
                    asciiUntil_ = length_;
                    return true;
                }
                return out_.Put(kEdifactUnlatch << 2);
            }
            const int groupStart = pos_;
            int values[4];
            int k = 0;
            while (k < 4 && pos_ < length_ && IsEdifact(data_[pos_]))
                values[k++] = data_[pos_++] & 63;
            if (k == 4) {
                if (!PutEdifactGroup(values, 4))
                    return false;
                continue;
            }
            if (pos_ == length_ && AsciiTailFits(groupStart)) {
                pos_ = groupStart;
                asciiUntil_ = length_;
                return true;
            }
            values[k] = kEdifactUnlatch;
            return PutEdifactGroup(values, k + 1);
        }
    }

    // --- Base256 ---

    bool RunBase256()
    {
        const int start = pos_;
        for (bool first = true; pos_ < length_; first = false) {
            if (!first && LookAhead(pos_, kBase256) != kBase256)
                break;
            ++pos_;
        }
        const int count = pos_ - start;
        if (count > kMaxBase256Run)
            return false;
        const int fieldStart = out_.Count();
        const bool fieldOk = count < 250 ? out_.Put(count) : out_.Put(count / 250 + 249) && out_.Put(count % 250);
        if (!fieldOk)
            return false;
        for (int p = start; p < pos_; ++p)
            if (!out_.Put(data_[p]))
                return false;
        for (int i = fieldStart; i < out_.Count(); ++i) {
            const int value = out_[i] + (149 * (i + 1)) % 255 + 1;
            out_[i] = static_cast<std::uint8_t>(value <= 255 ? value : value - 256);
        }
        return true;
    }

    const std::uint8_t* data_;
    int length_;
    CodewordBuffer& out_;
    const SizeLimit& limit_;
    int pos_ = 0;
    int asciiUntil_ = 0; // bytes before this position go out in ASCII
};

} // namespace

bool EncodeData(const std::uint8_t* data, int length, CodewordBuffer& out, const SizeLimit& limit)
{
    return Encoder(data, length, out, limit).Run();
}

} // namespace lx::dm
