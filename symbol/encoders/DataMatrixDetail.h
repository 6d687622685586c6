#pragma once
// Pieces of the DataMatrix encoder shared by its units (not a public API).
#include <climits>
#include <cstdint>
#include <span>

namespace lx::dm {

// One ECC200 symbol size.
struct SymbolSize {
    int rows;
    int columns;
    int regionsDown; // data regions vertically
    int regionsAcross; // data regions horizontally
    int dataCodewords;
    int eccCodewords; // all blocks together
    int blocks;
};

// Sizes of one shape (0 square, 1 rectangular) in ascending capacity.
std::span<const SymbolSize> SizesOf(int shape);

// Codewords of the largest symbol, data and error correction together.
inline constexpr int kMaxCodewords = 2178;

// Codeword sink over a fixed array: every write checks the room first.
class CodewordBuffer {
public:
    CodewordBuffer(std::uint8_t* storage, int capacity) : data_(storage), capacity_(capacity) {}
    [[nodiscard]] bool Put(int value)
    {
        if (count_ >= capacity_)
            return false;
        data_[count_++] = static_cast<std::uint8_t>(value);
        return true;
    }
    int Count() const { return count_; }
    std::uint8_t* Data() { return data_; }
    std::uint8_t& operator[](int i) { return data_[i]; }

private:
    std::uint8_t* data_;
    int capacity_;
    int count_ = 0;
};

// Which symbols the encodation may end in: every size of a shape, or one.
struct SizeLimit {
    std::span<const SymbolSize> sizes;
    const SymbolSize* fixed = nullptr;

    // Data capacity of the smallest allowed size holding n codewords, or
    // INT_MAX when none does.
    int CapacityHolding(int n) const
    {
        if (fixed)
            return n <= fixed->dataCodewords ? fixed->dataCodewords : INT_MAX;
        for (const SymbolSize& s : sizes)
            if (s.dataCodewords >= n)
                return s.dataCodewords;
        return INT_MAX;
    }
};

// Encodes data bytes with the six encodations after whatever `out` holds;
// false when the codewords do not fit the buffer.
bool EncodeData(const std::uint8_t* data, int length, CodewordBuffer& out, const SizeLimit& limit);

// Appends the Reed-Solomon codewords behind size.dataCodewords data codewords.
void AddErrorCorrection(std::uint8_t* codewords, const SymbolSize& size);

// Draws finder, timing and data modules into a work matrix of 144 rows of
// 18 bytes (cleared by the caller).
void PlaceModules(const std::uint8_t* codewords, const SymbolSize& size, std::uint8_t* work);

inline constexpr int kWorkStride = 18;

} // namespace lx::dm
