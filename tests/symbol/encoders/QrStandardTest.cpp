// The mask penalty scores: the word-wise counts against plain module-by-module
// counts.
#include "symbol/encoders/QrMasking.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <random>
#include <vector>

namespace lxtest {
namespace {

void FillRandom(lx::QrWorkMatrix& m, int size, std::mt19937& rng)
{
    m.size = size;
    for (auto& row : m.result)
        for (auto& b : row)
            b = static_cast<std::uint8_t>(rng() & rng()); // a quarter dark, so that long runs occur
    for (int r = 0; r < size; ++r)
        for (int c = size; c < lx::kQrRowStride * 8; ++c)
            m.result[r][c / 8] &= static_cast<std::uint8_t>(~(1u << (c % 8)));
}

// The penalty rules applied module by module to one line.
int PlainLinePenalty(const std::vector<int>& line)
{
    std::vector<int> runs;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i == 0 || line[i] != line[i - 1])
            runs.push_back(0);
        ++runs.back();
    }
    int penalty = 0;
    for (int length : runs)
        penalty += length >= 5 ? length - 2 : 0;
    const int count = static_cast<int>(runs.size());
    for (int i = 0; i + 5 <= count; ++i) {
        const int a = runs[i];
        const bool dark = line[std::accumulate(runs.begin(), runs.begin() + i, 0)] == 1;
        if (!dark || runs[i + 1] != a || runs[i + 2] != 3 * a || runs[i + 3] != a || runs[i + 4] != a)
            continue;
        const int before = i == 0 || i == 1 ? 127 : runs[i - 1];
        const int after = i + 5 == count || i + 6 == count ? 127 : runs[i + 5];
        penalty += before >= 4 * a || after >= 4 * a ? 40 : 0;
    }
    return penalty;
}

// The word-wise counts against plain module-by-module counts.
TEST(QrStandard, ScoresMatchPlainCounts)
{
    static lx::QrWorkMatrix m;
    std::mt19937 rng(5);
    for (int size : {21, 25, 63, 64, 65, 127, 128, 129, 177}) {
        FillRandom(m, size, rng);
        // Plant finder-like runs: at the left edge, in the middle, and one
        // light module in from either edge with a short run on the far side.
        auto set = [&](int r, int c, bool dark) {
            const auto bit = static_cast<std::uint8_t>(1u << (c % 8));
            m.result[r][c / 8] = static_cast<std::uint8_t>(dark ? m.result[r][c / 8] | bit : m.result[r][c / 8] & ~bit);
        };
        for (int c : {0, 2, 3, 4, 6, 20, 22, 23, 24, 26})
            set(3, c, true);
        for (int c = 0; c <= 10; ++c) {
            set(5, c, c == 1 || c == 3 || c == 4 || c == 5 || c == 7 || c == 9);
            set(7, size - 1 - c, c == 1 || c == 3 || c == 4 || c == 5 || c == 7 || c == 9);
        }
        int blocks = 0, penalty = 0, dark = 0;
        for (int r = 0; r < size; ++r) {
            std::vector<int> row, column;
            for (int c = 0; c < size; ++c) {
                row.push_back(lx::QrModuleAt(m.result, r, c));
                column.push_back(lx::QrModuleAt(m.result, c, r));
                dark += row.back();
                if (r + 1 < size && c + 1 < size) {
                    const int sum = lx::QrModuleAt(m.result, r, c) + lx::QrModuleAt(m.result, r, c + 1) +
                        lx::QrModuleAt(m.result, r + 1, c) + lx::QrModuleAt(m.result, r + 1, c + 1);
                    blocks += sum == 0 || sum == 4;
                }
            }
            penalty += PlainLinePenalty(row) + PlainLinePenalty(column);
        }
        const int k = (dark / (size * size / 100) - 50) / 5;
        EXPECT_EQ(lx::QrCountBlocks(m), blocks) << size;
        EXPECT_EQ(lx::QrRunPenalty(m), penalty + 10 * std::abs(k)) << size;
    }
}

} // namespace
} // namespace lxtest
