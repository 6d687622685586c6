#include "symbol/encoders/QrPlacement.h"

#include "symbol/encoders/QrSegments.h"

#include <cstring>
#include <initializer_list>

namespace lx {
namespace {

void SetModule(QrWorkMatrix& m, int row, int column, bool dark)
{
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (column & 7));
    if (dark)
        m.symbol[row][column >> 3] |= bit;
    else
        m.symbol[row][column >> 3] &= static_cast<std::uint8_t>(~bit);
}

// A function module: drawn as given and never masked.
void SetFunction(QrWorkMatrix& m, int row, int column, bool dark)
{
    SetModule(m, row, column, dark);
    m.functionMap[row][column >> 3] &= static_cast<std::uint8_t>(~(1u << (column & 7)));
}

void ReserveArea(QrWorkMatrix& m, int top, int left, int rows, int columns)
{
    for (int r = top; r < top + rows; ++r)
        for (int c = left; c < left + columns; ++c)
            SetFunction(m, r, c, false);
}

int Chebyshev(int dr, int dc)
{
    dr = dr < 0 ? -dr : dr;
    dc = dc < 0 ? -dc : dc;
    return dr > dc ? dr : dc;
}

// Finder pattern with its light separator, clipped to the symbol.
void DrawFinder(QrWorkMatrix& m, int top, int left)
{
    for (int dr = -1; dr <= 7; ++dr)
        for (int dc = -1; dc <= 7; ++dc) {
            const int r = top + dr, c = left + dc;
            if (r < 0 || c < 0 || r >= m.size || c >= m.size)
                continue;
            const int d = Chebyshev(dr - 3, dc - 3);
            SetFunction(m, r, c, d != 2 && d != 4);
        }
}

void DrawAlignment(QrWorkMatrix& m, int row, int column)
{
    for (int dr = -2; dr <= 2; ++dr)
        for (int dc = -2; dc <= 2; ++dc)
            SetFunction(m, row + dr, column + dc, Chebyshev(dr, dc) != 1);
}

// Centres 6 and n - 7 with equal even steps between; version 32 alone has
// a step the general rule does not give.
int AlignmentPositions(int version, int* positions)
{
    if (version < 2)
        return 0;
    const int count = version / 7 + 2;
    const int last = 17 + 4 * version - 7;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (2 * count - 2) * 2;
    positions[0] = 6;
    for (int i = count - 1, p = last; i >= 1; --i, p -= step)
        positions[i] = p;
    return count;
}

void DrawModel2Extras(QrWorkMatrix& m)
{
    const int version = m.versionIndex + 1;
    int positions[7];
    const int count = AlignmentPositions(version, positions);
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j) {
            const bool onFinder = (i == 0 && j == 0) || (i == 0 && j == count - 1) || (i == count - 1 && j == 0);
            if (!onFinder)
                DrawAlignment(m, positions[i], positions[j]);
        }
    if (version < 7)
        return;
    const int bits = QrVersionBits(version);
    const int n = m.size;
    for (int k = 0; k < 18; ++k) {
        const bool dark = (bits >> k) & 1;
        SetFunction(m, k / 3, n - 11 + k % 3, dark);
        SetFunction(m, n - 11 + k % 3, k / 3, dark);
    }
}

// The bottom-right corner and the fixed blocks along the right and bottom
// edges; placement writes their contents.
void DrawModel1Extras(QrWorkMatrix& m)
{
    const int n = m.size;
    ReserveArea(m, n - 2, n - 2, 2, 2);
    SetFunction(m, n - 1, n - 1, true);
    for (int bottom = n - 9; bottom >= 13; bottom -= 8)
        ReserveArea(m, bottom - 3, n - 2, 4, 2);
    for (int right = n - 9; right >= 13; right -= 8)
        ReserveArea(m, n - 2, right - 3, 2, 4);
}

void DrawModels12(QrWorkMatrix& m)
{
    const int n = m.size;
    DrawFinder(m, 0, 0);
    DrawFinder(m, 0, n - 7);
    DrawFinder(m, n - 7, 0);
    ReserveArea(m, 8, 0, 1, 9);
    ReserveArea(m, 0, 8, 9, 1);
    ReserveArea(m, 8, n - 8, 1, 8);
    ReserveArea(m, n - 8, 8, 8, 1);
    for (int i = 8; i < n - 8; ++i) {
        SetFunction(m, 6, i, i % 2 == 0);
        SetFunction(m, i, 6, i % 2 == 0);
    }
    SetFunction(m, n - 8, 8, true);
    if (m.model == kQrModel2)
        DrawModel2Extras(m);
    else
        DrawModel1Extras(m);
}

void DrawMicro(QrWorkMatrix& m)
{
    ReserveArea(m, 0, 0, 9, 9);
    DrawFinder(m, 0, 0);
    for (int i = 8; i < m.size; ++i) {
        SetFunction(m, 0, i, i % 2 == 0);
        SetFunction(m, i, 0, i % 2 == 0);
    }
}

bool BitAt(const std::uint8_t* sequence, int bit) { return (sequence[bit >> 3] >> (7 - (bit & 7))) & 1; }

// Two-column zigzag from the bottom-right corner over the data modules,
// most significant bit first; Models 1 and 2 step over the timing column.
void PlaceZigzag(QrWorkMatrix& m, const std::uint8_t* sequence, int bitCount)
{
    const int n = m.size;
    int bit = 0;
    bool upward = true;
    for (int right = n - 1; right >= 1; right -= 2) {
        if (right == 6 && m.model != kQrMicro)
            right = 5;
        for (int step = 0; step < n; ++step) {
            const int r = upward ? n - 1 - step : step;
            for (int c = right; c > right - 2; --c) {
                if (!QrModuleAt(m.functionMap, r, c))
                    continue;
                if (bit < bitCount && BitAt(sequence, bit))
                    SetModule(m, r, c, true);
                ++bit;
            }
        }
        upward = !upward;
    }
}

// Model 1 block placement: a 2 x 4 block (two columns, four rows) or a 4 x 2
// block (four columns, two rows) anchored at its bottom-right module; bit 0
// is the most significant. Dark bits are ORed into the symbol layer.
class Model1Placer {
public:
    Model1Placer(QrWorkMatrix& m, const std::uint8_t* sequence, int codewords)
        : m_(m), sequence_(sequence), codewords_(codewords)
    {
    }

    void Place()
    {
        const int n = m_.size;
        for (int r = n - 1; r > 8; r -= 4) {
            const int group = (n - 1 - r) / 4;
            Tall(r, n - 1, group % 2 == 0 && group != 0 && r >= 13 ? 0xAA : Next());
        }
        for (int r = n - 1; r > 8; r -= 4)
            Tall(r, n - 3, Next());
        for (int r = n - 1; r > 8; r -= 2)
            Wide(r, n - 5, Next());
        for (int c = n - 9; c > 8; c -= 4) {
            Wide(n - 1, c, c < 13 || ((n - c - 1) / 4) % 2 == 1 ? Next() : 0xF0);
            for (int r = n - 3; r >= 1; r -= 2) {
                if (r == 6)
                    r = 5;
                Wide(r, c, Next());
            }
        }
        for (int c : {8, 5, 3, 1})
            for (int r = n - 9; r > 8; r -= 4)
                Tall(r, c, Next());
    }

private:
    std::uint8_t Next() { return index_ < codewords_ ? sequence_[index_++] : 0; }

    void Tall(int r, int c, std::uint8_t byte)
    {
        for (int i = 0; i < 8; ++i)
            if ((byte >> (7 - i)) & 1)
                SetModule(m_, r - i / 2, c - i % 2, true);
    }

    void Wide(int r, int c, std::uint8_t byte)
    {
        for (int i = 0; i < 8; ++i)
            if ((byte >> (7 - i)) & 1)
                SetModule(m_, r - i / 4, c - i % 4, true);
    }

    QrWorkMatrix& m_;
    const std::uint8_t* sequence_;
    int codewords_;
    int index_ = 0;
};

void SetFormatBit(QrWorkMatrix& m, int row, int column, int bits, int k) { SetModule(m, row, column, (bits >> k) & 1); }

} // namespace

void QrBuildFunctionPatterns(QrWorkMatrix& m)
{
    if (m.model == kQrMicro)
        DrawMicro(m);
    else
        DrawModels12(m);
}

void QrPlaceCodewords(QrWorkMatrix& m, const std::uint8_t* sequence, int bitCount)
{
    const int n = m.size;
    std::memset(m.symbol, 0, sizeof m.symbol);
    std::memset(m.functionMap, 0, sizeof m.functionMap);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            m.functionMap[r][c >> 3] |= static_cast<std::uint8_t>(1u << (c & 7));
    QrBuildFunctionPatterns(m);
    if (m.model == kQrModel1)
        Model1Placer(m, sequence, bitCount / 8).Place();
    else
        PlaceZigzag(m, sequence, bitCount);
}

int QrFormatBits(int model, int versionIndex, int level, int mask)
{
    static constexpr int kLevelBits[4] = {1, 0, 3, 2};
    static constexpr int kMicroSymbolBase[4] = {0, 1, 3, 5};
    const int data = model == kQrMicro ? (kMicroSymbolBase[versionIndex] + (versionIndex == 0 ? 0 : level)) << 2 | mask
                                       : kLevelBits[level] << 3 | mask;
    int remainder = data << 10;
    for (int i = 14; i >= 10; --i)
        if ((remainder >> i) & 1)
            remainder ^= 0x537 << (i - 10);
    static constexpr int kXor[3] = {0x2825, 0x5412, 0x4445};
    return (data << 10 | remainder) ^ kXor[model];
}

int QrVersionBits(int version)
{
    int remainder = version << 12;
    for (int i = 17; i >= 12; --i)
        if ((remainder >> i) & 1)
            remainder ^= 0x1F25 << (i - 12);
    return version << 12 | remainder;
}

void QrWriteFormatInformation(QrWorkMatrix& m, int mask)
{
    const int bits = QrFormatBits(m.model, m.versionIndex, m.level, mask);
    const int n = m.size;
    if (m.model == kQrMicro) {
        for (int k = 0; k < 8; ++k)
            SetFormatBit(m, k + 1, 8, bits, k);
        for (int k = 8; k < 15; ++k)
            SetFormatBit(m, 8, 15 - k, bits, k);
        return;
    }
    for (int k = 0; k < 8; ++k) {
        SetFormatBit(m, k < 6 ? k : k + 1, 8, bits, k);
        SetFormatBit(m, 8, n - 1 - k, bits, k);
    }
    for (int k = 8; k < 15; ++k) {
        SetFormatBit(m, 8, k == 8 ? 7 : 14 - k, bits, k);
        SetFormatBit(m, n - 15 + k, 8, bits, k);
    }
}

} // namespace lx
