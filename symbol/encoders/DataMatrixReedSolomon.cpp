// Reed-Solomon error correction of ECC200: GF(256) with the primitive
// polynomial 0x12D, generator roots alpha^1 .. alpha^n, blocks interleaved.
#include "symbol/encoders/DataMatrixDetail.h"

#include <array>

namespace lx::dm {
namespace {

struct Field {
    std::array<std::uint8_t, 512> exp{};
    std::array<int, 256> log{};
    constexpr Field()
    {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            exp[i] = static_cast<std::uint8_t>(x);
            log[x] = i;
            x <<= 1;
            if (x & 0x100)
                x ^= 0x12D;
        }
        for (int i = 255; i < 512; ++i)
            exp[i] = exp[i - 255];
    }
    constexpr int Mul(int a, int b) const { return a && b ? exp[log[a] + log[b]] : 0; }
};

constexpr Field kField;
constexpr int kMaxBlockEcc = 68;

// Coefficients g[1..n] of the monic generator of degree n (g[0] = 1).
void Generator(int n, std::array<int, kMaxBlockEcc + 1>& g)
{
    g.fill(0);
    g[0] = 1;
    for (int i = 1; i <= n; ++i) {
        const int root = kField.exp[i];
        for (int j = i; j >= 1; --j)
            g[j] ^= kField.Mul(g[j - 1], root);
    }
}

// The 144 x 144 symbol (the only one with blocks of two lengths) interleaves
// its error correction starting with its shorter blocks, the last two.
int EccSlotShift(const SymbolSize& size)
{
    const int longerBlocks = size.dataCodewords % size.blocks;
    return longerBlocks ? size.blocks - longerBlocks : 0;
}

} // namespace

void AddErrorCorrection(std::uint8_t* codewords, const SymbolSize& size)
{
    const int blocks = size.blocks;
    const int eccPerBlock = size.eccCodewords / blocks;
    std::array<int, kMaxBlockEcc + 1> g;
    Generator(eccPerBlock, g);
    for (int b = 0; b < blocks; ++b) {
        std::array<int, kMaxBlockEcc> remainder{};
        for (int i = b; i < size.dataCodewords; i += blocks) {
            const int factor = codewords[i] ^ remainder[0];
            for (int j = 0; j < eccPerBlock - 1; ++j)
                remainder[j] = remainder[j + 1] ^ kField.Mul(factor, g[j + 1]);
            remainder[eccPerBlock - 1] = kField.Mul(factor, g[eccPerBlock]);
        }
        const int slot = (b + EccSlotShift(size)) % blocks;
        for (int j = 0; j < eccPerBlock; ++j)
            codewords[size.dataCodewords + slot + j * blocks] = static_cast<std::uint8_t>(remainder[j]);
    }
}

} // namespace lx::dm
