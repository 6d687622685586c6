#pragma once
// The postal customer barcode: postal code and address turned into the bar
// string of the published customer-barcode rules (start code, 7 digits of
// the postal code, 13 characters of the address number, check digit, stop
// code), the function the designer calls for it, and the bar kinds of every
// character (the postal bar font draws them, platform/postal/PostalBarFont.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lx {

// The character-set text the designer hands over: the characters written
// for the start code, the stop code and the control codes CC1 to CC8.
inline constexpr std::string_view kCustomerBarcodeCharset = "()ABCDEFGH";
// Characters of a whole bar string.
inline constexpr int kCustomerBarStringLength = 23;

// The four bar kinds, in the usual letters: F long (full), A ascender (upper
// semi-long), D descender (lower semi-long), T timing (short).
enum class PostalBar : char { Long = 'F', Ascender = 'A', Descender = 'D', Timing = 'T' };

// A symbol of the barcode: a digit 0-9, the hyphen (10), CC1-CC8 (11-18),
// start (19) or stop (20).
inline constexpr int kPostalHyphen = 10;
inline constexpr int kPostalCc1 = 11;
inline constexpr int kPostalCc4 = 14;
inline constexpr int kPostalStart = 19;
inline constexpr int kPostalStop = 20;
// Its bars as letters F/A/D/T: three for every symbol, two for start and stop.
std::string_view PostalSymbolBars(int symbol);

// The address number ("3-20-5B604") of an address, CP932 in, ASCII digits,
// '-' and 'A'-'Z' out. The rules apply to the whole text: lower-case letters
// become capitals; "&", "/", "・" and "." are dropped; digits, hyphens and
// single letters are kept; kanji numerals in front of 丁目, 丁, 番地, 番, 号,
// 地割, 線, の and ノ become digits; any other run in front of a kept
// character becomes one hyphen; repeated and leading hyphens go; an "F"
// after a digit (a floor) is dropped, and so is a hyphen next to a letter.
std::string ExtractAddressNumber(std::string_view cp932Address);

// The seven digits of a postal code ("123-4567", blanks and full-width digits
// allowed), or nothing.
std::optional<std::string> NormalizePostalCode(std::string_view cp932PostalCode);

// The 21 symbols between start and stop: the postal code, the address
// number cut or filled with CC4 to 13 places (a letter is a control code and
// a digit; a letter that does not fit keeps its control code), and the check
// digit that makes the sum of all 21 symbol values a multiple of 19.
std::string CustomerBarSymbols(std::string_view postalDigits, std::string_view addressNumber);

// Results of GetCBarString.
inline constexpr std::int32_t kCBarOk = 0;
inline constexpr std::int32_t kCBarBadArgument = 1; // null text or a charset that is not 10 characters
inline constexpr std::int32_t kCBarBadPostalCode = 2; // not seven digits

// Fills `out` with the 23 characters of the bar string (no terminating zero
// is written): charset[0] for start, the digits and '-' as themselves,
// charset[1 + k] for CC k, the check digit, charset[1] for stop. All texts
// are zero-terminated CP932; 0 on success, `out` untouched otherwise.
std::int32_t GetCBarString(const char* charset, const char* postalCode, const char* address, char* out);

} // namespace lx
