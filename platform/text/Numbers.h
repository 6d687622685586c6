#pragma once
// Number parsing and formatting of the system's text files ("." as decimal
// point whatever the locale) and its rounding rules.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/io/Errors.h"

namespace lx {

// A text that should hold a number does not.
class ConvertError : public Error {
public:
    using Error::Error;
};

// Decimal integer with optional sign, surrounding blanks allowed.
std::optional<std::int64_t> TryParseInt64(std::string_view text);
std::optional<std::int32_t> TryParseInt(std::string_view text);
// Throws ConvertError "'text' は有効な整数値ではありません。".
std::int32_t ParseInt(std::string_view text);

// Decimal number ("." point, optional exponent), surrounding blanks allowed.
std::optional<double> TryParseFloat(std::string_view text);
// Throws ConvertError "'text' は有効な浮動小数点数値ではありません。".
double ParseFloat(std::string_view text);

// Shortest general decimal form that reads back to the same value:
// 12 -> "12", 0.5 -> "0.5", 1e21 -> "1e+21".
std::string FormatFloat(double value);

// The system's default rounding: half to even (the FPU's default mode).
inline double RoundHalfEven(double value) { return std::nearbyint(value); }
// Half to even into an integer; the value must be finite and fit.
inline std::int32_t RoundToInt(double value) { return static_cast<std::int32_t>(std::lrint(value)); }
// Half to even, or nothing when the value is not finite or does not fit int32.
std::optional<std::int32_t> TryRoundToInt(double value);
// Half away from zero, as Windows' MulDiv rounds.
inline std::int64_t RoundHalfAway(double value) { return std::llround(value); }
// Half up (add 0.5, floor) into an int, range-checked before converting:
// NaN gives 0, values beyond +-2147483647 give those ends. For hostile
// values that reach geometry.
std::int32_t RoundHalfUpClamped(double value);
// Toward zero.
inline std::int64_t Trunc(double value) { return static_cast<std::int64_t>(std::trunc(value)); }

} // namespace lx
