// Hostile data for every key: every byte value in every position, lengths
// from 0 to past each limit, every option. Either a well-formed symbol or an
// error with an empty text, and never a byte written beyond either buffer.
#include "symbol/encoders/LinearEncoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t kGuard = 0xA5;
constexpr int kGuardBytes = 64;

class Buffers {
public:
    Buffers() : elements_(lx::kLinearElementCapacity + kGuardBytes, kGuard), text_(lx::kLinearTextCapacity + kGuardBytes, '\xA5') {}

    int Encode(std::int32_t key, const std::vector<std::uint8_t>& data, std::int32_t option)
    {
        count_ = -99;
        return lx::EncodeLinear(static_cast<int>(data.size()), data.data(), &count_, elements_.data(), key, option,
                                text_.data());
    }

    // Checks the last encode; returns a description of the first fault found.
    std::string Fault(int result) const
    {
        for (int i = 0; i < kGuardBytes; ++i)
            if (elements_[lx::kLinearElementCapacity + i] != kGuard ||
                static_cast<std::uint8_t>(text_[lx::kLinearTextCapacity + i]) != kGuard)
                return "write past a buffer";
        const void* end = std::memchr(text_.data(), 0, lx::kLinearTextCapacity);
        if (!end)
            return "text not terminated";
        const std::size_t textLength = static_cast<const char*>(end) - text_.data();
        if (result < 0) {
            if (result != lx::kLinearTooLong && result != lx::kLinearBadCharacter && result != lx::kLinearBadCheckOption)
                return "unexpected error " + std::to_string(result);
            if (textLength != 0 || count_ != 0)
                return "failure left a text or a count";
            return {};
        }
        if (result == 0 || count_ != result)
            return "count " + std::to_string(count_) + " for result " + std::to_string(result);
        for (int i = 0; i < result; ++i) {
            const std::uint8_t e = elements_[i];
            if (((e & 0x80) != 0) != (i % 2 == 0))
                return "bars and spaces do not alternate at " + std::to_string(i);
            const int code = e & 0x7F;
            if ((code & 63) == 0 || (code > 9 && code < 0x42))
                return "width code " + std::to_string(code) + " at " + std::to_string(i);
        }
        if (result % 2 == 0)
            return "symbol ends with a space";
        for (std::size_t i = 0; i < textLength; ++i) {
            const auto c = static_cast<unsigned char>(text_[i]);
            if (c < 32 || c > 127)
                return "text byte " + std::to_string(c);
        }
        return {};
    }

private:
    std::int32_t count_ = 0;
    std::vector<std::uint8_t> elements_;
    std::vector<char> text_;
};

int LimitOf(std::int32_t key)
{
    switch (key >> 8) {
    case 1:
    case 2: {
        const int main = key == lx::kLinearEan13 || key == lx::kLinearEan13AddOn ? 12
                         : key == lx::kLinearEan8 || key == lx::kLinearEan8AddOn ? 7
                         : key == lx::kLinearUpcA || key == lx::kLinearUpcAAddOn ? 11
                                                                                 : 6;
        return main + ((key & 0xFF) >= 3 ? 5 : 0);
    }
    case 7:
    case 8:
    case 9:
        return 250;
    case 12:
        return 25;
    default:
        return 120;
    }
}

class LinearHostile : public testing::TestWithParam<int> {
protected:
    std::int32_t Key() const { return lx::LinearSymbologyTable[GetParam()].key; }
};

TEST_P(LinearHostile, EveryByteInEveryPosition)
{
    Buffers buffers;
    const int limit = LimitOf(Key());
    for (const int length : {1, 3, limit}) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length), '1');
        for (int position = 0; position < length; ++position) {
            for (int byte = 0; byte < 256; ++byte) {
                data[position] = static_cast<std::uint8_t>(byte);
                const int result = buffers.Encode(Key(), data, lx::LinearOption(1, 3));
                const std::string fault = buffers.Fault(result);
                ASSERT_EQ(fault, "") << "length " << length << " byte " << byte << " at " << position;
            }
            data[position] = '1';
        }
    }
}

TEST_P(LinearHostile, LengthsUpToPastTheLimitWithEveryOption)
{
    Buffers buffers;
    const int limit = LimitOf(Key());
    for (int length = 0; length <= limit + 3; ++length) {
        for (const std::int32_t option : {0, 1, 2, 3, 0xFF, 0x0A01, 0xFFFF, -1}) {
            // Digits pass every symbology; "@1" pairs make the Code 128 escapes and
            // the Code 93 errors show up at every length.
            for (const char* pattern : {"1", "9@1"}) {
                std::vector<std::uint8_t> data;
                for (int i = 0; i < length; ++i)
                    data.push_back(static_cast<std::uint8_t>(pattern[i % std::strlen(pattern)]));
                const int result = buffers.Encode(Key(), data, option);
                ASSERT_EQ(buffers.Fault(result), "") << "length " << length << " option " << option;
                if (length > limit) {
                    ASSERT_TRUE(result == lx::kLinearTooLong || result == lx::kLinearBadCheckOption) << length;
                }
            }
        }
    }
}

// The longest data gives the most elements: Code 128 changing to set C and
// back to B for every third byte, Code 93 with nothing but shift pairs.
TEST(LinearHostileWorstCase, LongestSymbolsFitTheBuffers)
{
    Buffers buffers;
    std::vector<std::uint8_t> data;
    for (int i = 0; data.size() + 3 <= 250; ++i)
        for (const char c : std::string("@C1"))
            data.push_back(static_cast<std::uint8_t>(c));
    data.push_back('A');
    const int code128 = buffers.Encode(lx::kLinearEan128C, data, 1);
    EXPECT_GT(code128, 0);
    EXPECT_EQ(buffers.Fault(code128), "");
    std::vector<std::uint8_t> shifts;
    while (shifts.size() < 250) {
        shifts.push_back('@');
        shifts.push_back('+');
    }
    const int code93 = buffers.Encode(lx::kLinearCode93, shifts, 0);
    EXPECT_EQ(code93, 6 * (125 + 4) + 1);
    EXPECT_EQ(buffers.Fault(code93), "");
}

INSTANTIATE_TEST_SUITE_P(EveryKey, LinearHostile, testing::Range(0, 26),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(lx::LinearSymbologyTable[info.param].name);
                         });

} // namespace
