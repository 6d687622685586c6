#include "symbol/encoders/QrMasking.h"

#include "symbol/encoders/QrSegments.h"

#include <array>
#include <climits>
#include <cstdint>

namespace lx {
namespace {

constexpr bool MaskCondition(int pattern, int i, int j)
{
    switch (pattern) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (i / 2 + j / 3) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

// Every pattern repeats after 12 rows and 24 columns (3 bytes), so it is
// applied a byte at a time.
using PatternBytes = std::array<std::array<std::array<std::uint8_t, 3>, 12>, 8>;

constexpr PatternBytes MakePatternBytes()
{
    PatternBytes bytes{};
    for (int p = 0; p < 8; ++p)
        for (int i = 0; i < 12; ++i)
            for (int b = 0; b < 3; ++b) {
                int value = 0;
                for (int bit = 0; bit < 8; ++bit)
                    if (MaskCondition(p, i, b * 8 + bit))
                        value |= 1 << bit;
                bytes[p][i][b] = static_cast<std::uint8_t>(value);
            }
    return bytes;
}
constexpr PatternBytes kPatternBytes = MakePatternBytes();

constexpr int kMicroPatterns[4] = {1, 4, 6, 7};

struct RowWords {
    std::uint64_t w[3];
};

RowWords LoadRow(const std::uint8_t* row, int bytes)
{
    RowWords r{{0, 0, 0}};
    for (int i = 0; i < bytes; ++i)
        r.w[i >> 3] |= static_cast<std::uint64_t>(row[i]) << ((i & 7) * 8);
    return r;
}

// Without a hardware instruction guaranteed, a branch-free bit count.
int PopCount(std::uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// Adjacent pairs of set bits across the three words.
int CountPairs(const RowWords& x)
{
    int count = 0;
    for (int k = 0; k < 3; ++k) {
        const std::uint64_t next = k < 2 ? x.w[k + 1] << 63 : 0;
        count += PopCount(x.w[k] & ((x.w[k] >> 1) | next));
    }
    return count;
}

// Transposes an 8 x 8 bit block held one row a byte (bit j of byte i is
// row i, column j) so that bit j of byte i becomes bit i of byte j.
std::uint64_t Transpose8(std::uint64_t x)
{
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
    x ^= t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
    x ^= t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
    x ^= t ^ (t << 28);
    return x;
}

// Columns of the result as rows, so that one run routine serves both.
void TransposeResult(const QrWorkMatrix& m, std::uint8_t (&columns)[kQrMaxSize + 7][kQrRowStride])
{
    const int bytes = QrRowBytes(m.size);
    for (int rb = 0; rb < bytes; ++rb)
        for (int cb = 0; cb < bytes; ++cb) {
            std::uint64_t block = 0;
            for (int i = 0; i < 8; ++i) {
                const int r = rb * 8 + i;
                if (r < m.size)
                    block |= static_cast<std::uint64_t>(m.result[r][cb]) << (8 * i);
            }
            block = Transpose8(block);
            for (int j = 0; j < 8; ++j)
                columns[cb * 8 + j][rb] = static_cast<std::uint8_t>(block >> (8 * j));
        }
}

// Runs of one line: lengths in order, the first run's colour given.
int LineRuns(const RowWords& line, int n, int* lengths)
{
    RowWords edges{{0, 0, 0}};
    for (int k = 0; k < 3; ++k) {
        const std::uint64_t previous = (line.w[k] << 1) | (k > 0 ? line.w[k - 1] >> 63 : 0);
        edges.w[k] = line.w[k] ^ previous;
    }
    edges.w[0] &= ~std::uint64_t{1};
    int count = 0;
    int start = 0;
    for (int k = 0; k < 3; ++k) {
        std::uint64_t e = edges.w[k];
        while (e) {
            const int c = k * 64 + __builtin_ctzll(e);
            if (c >= n)
                break;
            lengths[count++] = c - start;
            start = c;
            e &= e - 1;
        }
    }
    lengths[count++] = n - start;
    return count;
}

// Runs of five or more, and dark-light-dark-light-dark runs 1:1:3:1:1 with
// a light run of four units before or after; a light run at the edge, and
// the edge itself, count as 127 light modules.
int LinePenalty(const RowWords& line, int n)
{
    int lengths[kQrMaxSize + 1];
    const int count = LineRuns(line, n, lengths);
    int penalty = 0;
    for (int i = 0; i < count; ++i)
        if (lengths[i] >= 5)
            penalty += lengths[i] - 2;
    const int firstDark = (line.w[0] & 1) ? 0 : 1;
    for (int i = firstDark; i + 5 <= count; i += 2) {
        const int a = lengths[i];
        if (lengths[i + 1] != a || lengths[i + 2] != 3 * a || lengths[i + 3] != a || lengths[i + 4] != a)
            continue;
        const int before = i <= 1 ? 127 : lengths[i - 1];
        const int after = i + 5 >= count - 1 ? 127 : lengths[i + 5];
        if (before >= 4 * a || after >= 4 * a)
            penalty += 40;
    }
    return penalty;
}

void ApplyMicroMask(QrWorkMatrix& m, int mask) { QrApplyMask(m, kMicroPatterns[mask], mask); }

int SelectMicroMask(QrWorkMatrix& m)
{
    int best = 0;
    int bestScore = -1;
    for (int mask = 0; mask < 4; ++mask) {
        ApplyMicroMask(m, mask);
        const int score = QrMicroMaskScore(m);
        if (score > bestScore) {
            bestScore = score;
            best = mask;
        }
    }
    ApplyMicroMask(m, best);
    return best;
}

// The three best by the 2 x 2 count are rescored with the run penalty.
int SelectModelMask(QrWorkMatrix& m)
{
    int keptMask[3] = {0, 0, 0};
    int keptScore[3] = {INT_MIN, INT_MIN, INT_MIN};
    for (int mask = 0; mask < 8; ++mask) {
        QrApplyMask(m, mask, mask);
        const int score = 20888 - 3 * QrCountBlocks(m);
        int slot = 3;
        while (slot > 0 && score > keptScore[slot - 1])
            --slot;
        if (slot == 3)
            continue;
        for (int k = 2; k > slot; --k) {
            keptScore[k] = keptScore[k - 1];
            keptMask[k] = keptMask[k - 1];
        }
        keptScore[slot] = score;
        keptMask[slot] = mask;
    }
    int best = keptMask[0];
    int bestScore = INT_MIN;
    for (int k = 0; k < 3; ++k) {
        QrApplyMask(m, keptMask[k], keptMask[k]);
        const int score = keptScore[k] - QrRunPenalty(m);
        if (score > bestScore) {
            bestScore = score;
            best = keptMask[k];
        }
    }
    QrApplyMask(m, best, best);
    return best;
}

} // namespace

int QrMaskCount(int model) { return model == kQrMicro ? 4 : 8; }

void QrApplyMask(QrWorkMatrix& m, int pattern, int formatMask)
{
    QrWriteFormatInformation(m, formatMask);
    const int bytes = QrRowBytes(m.size);
    const auto& rows = kPatternBytes[pattern];
    for (int r = 0; r < m.size; ++r) {
        const auto& p = rows[r % 12];
        for (int b = 0; b < bytes; ++b)
            m.result[r][b] = static_cast<std::uint8_t>(m.symbol[r][b] ^ (p[b % 3] & m.functionMap[r][b]));
    }
}

int QrSelectMask(QrWorkMatrix& m, int request)
{
    if (request >= 0 && request < QrMaskCount(m.model)) {
        if (m.model == kQrMicro)
            ApplyMicroMask(m, request);
        else
            QrApplyMask(m, request, request);
        return request;
    }
    return m.model == kQrMicro ? SelectMicroMask(m) : SelectModelMask(m);
}

int QrCountBlocks(const QrWorkMatrix& m)
{
    const int n = m.size;
    const int bytes = QrRowBytes(n);
    RowWords valid{{0, 0, 0}};
    for (int c = 0; c < n; ++c)
        valid.w[c >> 6] |= std::uint64_t{1} << (c & 63);
    int count = 0;
    RowWords upper = LoadRow(m.result[0], bytes);
    for (int r = 1; r < n; ++r) {
        const RowWords lower = LoadRow(m.result[r], bytes);
        RowWords allDark, allLight;
        for (int k = 0; k < 3; ++k) {
            allDark.w[k] = upper.w[k] & lower.w[k];
            allLight.w[k] = ~(upper.w[k] | lower.w[k]) & valid.w[k];
        }
        count += CountPairs(allDark) + CountPairs(allLight);
        upper = lower;
    }
    return count;
}

int QrRunPenalty(const QrWorkMatrix& m)
{
    static std::uint8_t columns[kQrMaxSize + 7][kQrRowStride];
    const int n = m.size;
    const int bytes = QrRowBytes(n);
    TransposeResult(m, columns);
    int penalty = 0;
    int darkCount = 0;
    for (int i = 0; i < n; ++i) {
        const RowWords row = LoadRow(m.result[i], bytes);
        penalty += LinePenalty(row, n) + LinePenalty(LoadRow(columns[i], bytes), n);
        darkCount += PopCount(row.w[0]) + PopCount(row.w[1]) + PopCount(row.w[2]);
    }
    const int k = (darkCount / (n * n / 100) - 50) / 5;
    return penalty + 10 * (k < 0 ? -k : k);
}

int QrMicroMaskScore(const QrWorkMatrix& m)
{
    const int n = m.size;
    int right = 0;
    int bottom = 0;
    for (int i = 1; i < n; ++i) {
        right += QrModuleAt(m.result, i, n - 1);
        bottom += QrModuleAt(m.result, n - 1, i);
    }
    const int low = right < bottom ? right : bottom;
    const int high = right < bottom ? bottom : right;
    return 16 * low + high;
}

} // namespace lx
