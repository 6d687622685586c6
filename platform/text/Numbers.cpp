#include "platform/text/Numbers.h"

#include "platform/text/Cp932.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace lx {

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// A leading "+" is allowed once, and not before another sign.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

std::string QuotedForMessage(std::string_view text)
{
    std::string quoted(1, '\'');
    quoted += Cp932ToUtf8(text);
    quoted += '\'';
    return quoted;
}

} // namespace

std::optional<std::int64_t> TryParseInt64(std::string_view text)
{
    text = WithoutPlus(TrimBlanks(text));
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> TryParseInt(std::string_view text)
{
    const auto value = TryParseInt64(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::int32_t ParseInt(std::string_view text)
{
    if (const auto value = TryParseInt(text))
        return *value;
    throw ConvertError(QuotedForMessage(text) + " は有効な整数値ではありません。");
}

std::optional<double> TryParseFloat(std::string_view text)
{
    text = WithoutPlus(TrimBlanks(text));
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double ParseFloat(std::string_view text)
{
    if (const auto value = TryParseFloat(text))
        return *value;
    throw ConvertError(QuotedForMessage(text) + " は有効な浮動小数点数値ではありません。");
}

std::string FormatFloat(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    return text == "-0" ? "0" : text;
}

std::int32_t RoundHalfUpClamped(double value)
{
    constexpr double kLimit = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value))
        return 0;
    return static_cast<std::int32_t>(std::clamp(std::floor(value + 0.5), -kLimit, kLimit));
}

std::optional<std::int32_t> TryRoundToInt(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

} // namespace lx
