// Hostile data for every key: every byte value in every position, lengths
// from 0 to past each limit, odd options. Either a well-formed symbol or an
// error with an empty text, and never a byte written beyond either buffer.
#include "symbol/encoders/LinearTestSupport.h"

#include "symbol/encoders/LinearEncoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t kGuard = 0xA5;
constexpr int kGuardBytes = 64;

// The promised buffers with guard bytes behind them.
class Buffers {
public:
    int Encode(std::int32_t key, const std::vector<std::uint8_t>& data, std::int32_t option)
    {
        count_ = -99;
        result_ = lx::EncodeLinear(static_cast<int>(data.size()), data.data(), &count_, elements_.data(), key, option,
                                   reinterpret_cast<char*>(text_.data()));
        return result_;
    }

    // The first fault of the last encode, empty when there is none.
    std::string Fault() const
    {
        for (int i = 0; i < kGuardBytes; ++i)
            if (elements_[lx::kLinearElementCapacity + i] != kGuard || text_[lx::kLinearTextCapacity + i] != kGuard)
                return "write past a buffer";
        const auto end = std::find(text_.begin(), text_.begin() + lx::kLinearTextCapacity, 0);
        if (end == text_.begin() + lx::kLinearTextCapacity)
            return "text not terminated";
        if (result_ < 0) {
            const bool known = result_ == lx::kLinearTooLong || result_ == lx::kLinearBadCharacter ||
                result_ == lx::kLinearBadCheckOption;
            return !known                             ? "error " + std::to_string(result_)
                : end != text_.begin() || count_ != 0 ? "failure left a text or a count"
                                                      : "";
        }
        if (result_ == 0 || count_ != result_ || result_ % 2 == 0)
            return "count " + std::to_string(count_) + " for " + std::to_string(result_);
        for (int i = 0; i < result_; ++i) {
            const int code = elements_[i] & 0x7F;
            if (((elements_[i] & 0x80) != 0) != (i % 2 == 0) || (code & 63) == 0 || (code > 9 && code < 0x42))
                return "element " + std::to_string(elements_[i]) + " at " + std::to_string(i);
        }
        if (std::any_of(text_.begin(), end, [](std::uint8_t c) { return c < 32 || c > 127; }))
            return "text byte out of range";
        return {};
    }

private:
    std::vector<std::uint8_t> elements_ = std::vector<std::uint8_t>(lx::kLinearElementCapacity + kGuardBytes, kGuard);
    std::vector<std::uint8_t> text_ = std::vector<std::uint8_t>(lx::kLinearTextCapacity + kGuardBytes, kGuard);
    std::int32_t count_ = 0;
    int result_ = 0;
};

class LinearHostile : public testing::TestWithParam<int> {
protected:
    std::int32_t Key() const { return lx::LinearSymbologyTable[GetParam()].key; }
};

TEST_P(LinearHostile, EveryByteInEveryPosition)
{
    Buffers buffers;
    for (const int length : {1, 3, lxtest::kLinearLimits[GetParam()].length}) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length), '1');
        for (int position = 0; position < length; ++position) {
            for (int byte = 0; byte < 256; ++byte) {
                data[position] = static_cast<std::uint8_t>(byte);
                buffers.Encode(Key(), data, lx::LinearOption(1, 3));
                ASSERT_EQ(buffers.Fault(), "") << "length " << length << " byte " << byte << " at " << position;
            }
            data[position] = '1';
        }
    }
}

TEST_P(LinearHostile, LengthsUpToPastTheLimitWithOddOptions)
{
    Buffers buffers;
    const int limit = lxtest::kLinearLimits[GetParam()].length;
    for (int length = 0; length <= limit + 3; ++length) {
        for (const std::int32_t option : {0, 1, 2, 3, 0xFF, 0x0A01, 0xFFFF, -1}) {
            // Digits pass everywhere; "9@1" brings the escapes in at every length.
            for (const std::string pattern : {"1", "9@1"}) {
                std::vector<std::uint8_t> data;
                for (int i = 0; i < length; ++i)
                    data.push_back(static_cast<std::uint8_t>(pattern[i % pattern.size()]));
                const int result = buffers.Encode(Key(), data, option);
                ASSERT_EQ(buffers.Fault(), "") << "length " << length << " option " << option;
                ASSERT_TRUE(length <= limit || result == lx::kLinearTooLong || result == lx::kLinearBadCheckOption);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKey, LinearHostile, testing::Range(0, 26), [](const testing::TestParamInfo<int>& info) {
    return std::string(lx::LinearSymbologyTable[info.param].name);
});

// The most elements: Code 128 going to set C and back to B every third byte,
// Code 93 made of shift pairs only.
TEST(LinearHostileWorstCase, LongestSymbolsFitTheBuffers)
{
    Buffers buffers;
    std::vector<std::uint8_t> data;
    while (data.size() + 3 <= 250)
        data.insert(data.end(), {'@', 'C', '1'});
    EXPECT_GT(buffers.Encode(lx::kLinearEan128C, data, 1), 0);
    EXPECT_EQ(buffers.Fault(), "");
    const std::vector<std::uint8_t> shifts(250, '@');
    EXPECT_EQ(buffers.Encode(lx::kLinearCode93, shifts, 0), lx::kLinearBadCharacter);
    std::vector<std::uint8_t> pairs;
    while (pairs.size() < 250)
        pairs.insert(pairs.end(), {'@', '+'});
    EXPECT_EQ(buffers.Encode(lx::kLinearCode93, pairs, 0), 6 * (125 + 4) + 1);
    EXPECT_EQ(buffers.Fault(), "");
}

} // namespace
