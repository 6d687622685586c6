#pragma once
// Shared pieces of the linear encoders: bounded writers for the element string
// and the text, the error cell, and the option word fields.
#include "symbol/encoders/LinearEncoder.h"

#include <cstdint>

namespace lx::linear {

// Appends elements, alternating from a bar, never beyond the caller's buffer.
class ElementWriter {
public:
    explicit ElementWriter(std::uint8_t* out) : out_(out) {}

    void Bar(std::uint8_t width) { Put(static_cast<std::uint8_t>(kLinearBar | width)); }
    void Space(std::uint8_t width) { Put(width); }
    // Module widths given as digits ("3211"), alternating from a bar or a space.
    void Modules(const char* widths, bool barFirst);
    // `count` elements from the high bit of `wideMask` down: 1 wide, 0 narrow.
    void WideNarrow(unsigned wideMask, int count, bool barFirst);

    int Count() const { return count_; }
    bool Overflowed() const { return overflowed_; }
    // Where the next element goes.
    std::uint8_t* End() const { return out_ + count_; }

private:
    void Put(std::uint8_t element)
    {
        if (count_ < kLinearElementCapacity)
            out_[count_++] = element;
        else
            overflowed_ = true;
    }

    std::uint8_t* out_;
    int count_ = 0;
    bool overflowed_ = false;
};

// Builds the zero-terminated human-readable text, never beyond its buffer.
class TextWriter {
public:
    explicit TextWriter(char* out) : out_(out) { out_[0] = '\0'; }

    void Put(char c)
    {
        if (length_ + 1 < kLinearTextCapacity) {
            out_[length_++] = c;
            out_[length_] = '\0';
        } else {
            overflowed_ = true;
        }
    }
    void Put(const char* text, int length)
    {
        for (int i = 0; i < length; ++i)
            Put(text[i]);
    }
    bool Overflowed() const { return overflowed_; }
    int Length() const { return length_; }

private:
    char* out_;
    int length_ = 0;
    bool overflowed_ = false;
};

// Sets the error cell, empties the text and gives the failed element count 0.
int Fail(std::int32_t error, char* text);
// The element count of a finished symbol, or a failure when a writer ran out.
int Finish(const ElementWriter& elements, const TextWriter& text, char* textOut);

void ResetError();
std::int32_t Error();

inline int CheckOption(std::int32_t option) { return option & 0xFF; }
inline int KeyOption(std::int32_t key) { return key & 0xFF; }
// The inter-character space: one narrow width, or the gap when it is 2 or more.
std::uint8_t GapElement(std::int32_t option);

inline bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }
inline std::uint8_t ToUpper(std::uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 32) : c; }
// Index of `c` in the zero-terminated `set`, -1 when absent (never matches 0).
int IndexIn(const char* set, std::uint8_t c);

// Modulo-10 check digit with weights 3 and 1, 3 on the rightmost digit
// (digits given as values 0-9).
int Mod10Weight31(const std::uint8_t* digits, int count);

} // namespace lx::linear
