// ECC200 module placement: the diagonal walk over the mapping matrix with its
// four corner cases, then finder and timing patterns around each data region.
#include "symbol/encoders/DataMatrixDetail.h"

#include <cstdint>

namespace lx::dm {
namespace {

constexpr int kMaxMapping = 132; // mapping matrix side of the 144 x 144 symbol
constexpr std::uint16_t kDarkCorner = 1; // below any codeword x 10 + bit

// Module map: codeword number (1-based) x 10 + bit (1 = most significant) per
// mapping module; rebuilt only when the mapping size changes.
std::uint16_t g_map[kMaxMapping * kMaxMapping];
int g_mapRows = 0;
int g_mapColumns = 0;

class MapBuilder {
public:
    MapBuilder(int rows, int columns) : rows_(rows), columns_(columns) {}

    void Build()
    {
        for (int i = 0; i < rows_ * columns_; ++i)
            g_map[i] = 0;
        int codeword = 1;
        int row = 4;
        int column = 0;
        do {
            if (row == rows_ && column == 0)
                CornerA(codeword++);
            if (row == rows_ - 2 && column == 0 && columns_ % 4)
                CornerB(codeword++);
            if (row == rows_ - 2 && column == 0 && columns_ % 8 == 4)
                CornerC(codeword++);
            if (row == rows_ + 4 && column == 2 && !(columns_ % 8))
                CornerD(codeword++);
            do { // up and to the right
                if (row < rows_ && column >= 0 && !At(row, column))
                    Utah(row, column, codeword++);
                row -= 2;
                column += 2;
            } while (row >= 0 && column < columns_);
            row += 1;
            column += 3;
            do { // down and to the left
                if (row >= 0 && column < columns_ && !At(row, column))
                    Utah(row, column, codeword++);
                row += 2;
                column -= 2;
            } while (row < rows_ && column >= 0);
            row += 3;
            column += 1;
        } while (row < rows_ || column < columns_);
        // An unfilled lower-right corner gets its fixed pattern.
        if (!At(rows_ - 1, columns_ - 1)) {
            At(rows_ - 1, columns_ - 1) = kDarkCorner;
            At(rows_ - 2, columns_ - 2) = kDarkCorner;
        }
    }

private:
    std::uint16_t& At(int row, int column) { return g_map[row * columns_ + column]; }

    void Module(int row, int column, int codeword, int bit)
    {
        if (row < 0) {
            row += rows_;
            column += 4 - (rows_ + 4) % 8;
        }
        if (column < 0) {
            column += columns_;
            row += 4 - (columns_ + 4) % 8;
        }
        At(row, column) = static_cast<std::uint16_t>(codeword * 10 + bit);
    }

    void Utah(int row, int column, int codeword)
    {
        Module(row - 2, column - 2, codeword, 1);
        Module(row - 2, column - 1, codeword, 2);
        Module(row - 1, column - 2, codeword, 3);
        Module(row - 1, column - 1, codeword, 4);
        Module(row - 1, column, codeword, 5);
        Module(row, column - 2, codeword, 6);
        Module(row, column - 1, codeword, 7);
        Module(row, column, codeword, 8);
    }

    void CornerA(int codeword)
    {
        Module(rows_ - 1, 0, codeword, 1);
        Module(rows_ - 1, 1, codeword, 2);
        Module(rows_ - 1, 2, codeword, 3);
        Module(0, columns_ - 2, codeword, 4);
        Module(0, columns_ - 1, codeword, 5);
        Module(1, columns_ - 1, codeword, 6);
        Module(2, columns_ - 1, codeword, 7);
        Module(3, columns_ - 1, codeword, 8);
    }

    void CornerB(int codeword)
    {
        Module(rows_ - 3, 0, codeword, 1);
        Module(rows_ - 2, 0, codeword, 2);
        Module(rows_ - 1, 0, codeword, 3);
        Module(0, columns_ - 4, codeword, 4);
        Module(0, columns_ - 3, codeword, 5);
        Module(0, columns_ - 2, codeword, 6);
        Module(0, columns_ - 1, codeword, 7);
        Module(1, columns_ - 1, codeword, 8);
    }

    void CornerC(int codeword)
    {
        Module(rows_ - 3, 0, codeword, 1);
        Module(rows_ - 2, 0, codeword, 2);
        Module(rows_ - 1, 0, codeword, 3);
        Module(0, columns_ - 2, codeword, 4);
        Module(0, columns_ - 1, codeword, 5);
        Module(1, columns_ - 1, codeword, 6);
        Module(2, columns_ - 1, codeword, 7);
        Module(3, columns_ - 1, codeword, 8);
    }

    void CornerD(int codeword)
    {
        Module(rows_ - 1, 0, codeword, 1);
        Module(rows_ - 1, columns_ - 1, codeword, 2);
        Module(0, columns_ - 3, codeword, 3);
        Module(0, columns_ - 2, codeword, 4);
        Module(0, columns_ - 1, codeword, 5);
        Module(1, columns_ - 3, codeword, 6);
        Module(1, columns_ - 2, codeword, 7);
        Module(1, columns_ - 1, codeword, 8);
    }

    int rows_;
    int columns_;
};

void SetDark(std::uint8_t* work, int row, int column)
{
    work[row * kWorkStride + column / 8] |= static_cast<std::uint8_t>(1u << (column % 8));
}

void DrawRegionPatterns(const SymbolSize& size, std::uint8_t* work)
{
    const int regionHeight = size.rows / size.regionsDown;
    const int regionWidth = size.columns / size.regionsAcross;
    for (int ry = 0; ry < size.regionsDown; ++ry) {
        for (int rx = 0; rx < size.regionsAcross; ++rx) {
            const int top = ry * regionHeight;
            const int left = rx * regionWidth;
            const int bottom = top + regionHeight - 1;
            const int right = left + regionWidth - 1;
            for (int y = top; y <= bottom; ++y) {
                SetDark(work, y, left); // solid left edge
                if ((y - top) % 2)
                    SetDark(work, y, right); // alternating right edge
            }
            for (int x = left; x <= right; ++x) {
                SetDark(work, bottom, x); // solid bottom edge
                if ((x - left) % 2 == 0)
                    SetDark(work, top, x); // alternating top edge
            }
        }
    }
}

} // namespace

void PlaceModules(const std::uint8_t* codewords, const SymbolSize& size, std::uint8_t* work)
{
    const int mapRows = size.rows - 2 * size.regionsDown;
    const int mapColumns = size.columns - 2 * size.regionsAcross;
    if (mapRows != g_mapRows || mapColumns != g_mapColumns) {
        MapBuilder(mapRows, mapColumns).Build();
        g_mapRows = mapRows;
        g_mapColumns = mapColumns;
    }
    const int innerHeight = mapRows / size.regionsDown;
    const int innerWidth = mapColumns / size.regionsAcross;
    for (int r = 0; r < mapRows; ++r) {
        for (int c = 0; c < mapColumns; ++c) {
            const int entry = g_map[r * mapColumns + c];
            const bool dark =
                entry == kDarkCorner || (entry > kDarkCorner && (codewords[entry / 10 - 1] >> (8 - entry % 10)) & 1);
            if (dark)
                SetDark(work, r / innerHeight * (innerHeight + 2) + 1 + r % innerHeight,
                        c / innerWidth * (innerWidth + 2) + 1 + c % innerWidth);
        }
    }
    DrawRegionPatterns(size, work);
}

} // namespace lx::dm
