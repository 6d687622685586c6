#include "platform/postal/CustomerBarcode.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/text/Cp932.h"

namespace lx {

namespace {

using Text = std::u32string;

// Bars of the symbols 0-9, hyphen, CC1-CC8, start, stop.
constexpr std::array<std::string_view, 21> kSymbolBars = {
    "FTT", "FFT", "FDA", "DFA", "FAD", "FTF", "DAF", "AFD", "ADF", "TFF", // 0-9
    "TFT", // hyphen
    "DAT", "DTA", "ADT", "TDA", "ATD", "TAD", "TTF", "FFF", // CC1-CC8
    "FD",  "DF", // start, stop
};

// Address numbers keep 13 places, the whole data part 20.
constexpr std::size_t kDataSymbols = 20;
constexpr int kCheckModulus = 19;
// Kanji numeral runs longer than this are left as they are (no address
// number has that many digits, and the value must fit).
constexpr std::size_t kMaxNumeralRun = 12;

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsCapital(char32_t c) { return c >= U'A' && c <= U'Z'; }

bool IsHyphenLike(char32_t c)
{
    switch (c) {
    case U'-':
    case U'\u2010':
    case U'\u2011':
    case U'\u2012':
    case U'\u2013':
    case U'\u2014':
    case U'\u2015':
    case U'\u2212':
    case U'\uFE63': return true;
    default: return false;
    }
}

// The prolonged sound mark stands for a hyphen after a digit ("11ー32").
bool IsProlongedMark(char32_t c) { return c == U'\u30FC' || c == U'\uFF70'; }

bool IsDropped(char32_t c) { return c == U'&' || c == U'/' || c == U'.' || c == U'\u30FB' || c == U'\uFF65'; }

Text Decode(std::string_view cp932)
{
    const std::u16string utf16 = Cp932ToUtf16(cp932);
    Text out;
    out.reserve(utf16.size());
    for (char16_t c : utf16)
        out += static_cast<char32_t>(c); // CP932 has no character beyond the BMP
    return out;
}

// Full-width letters and digits folded to ASCII, capitals only, the dropped
// marks gone, every hyphen form as '-'.
Text Normalize(const Text& text)
{
    Text out;
    for (char32_t c : text) {
        if (c >= U'\uFF01' && c <= U'\uFF5E')
            c -= 0xFEE0;
        if (c >= U'a' && c <= U'z')
            c -= 0x20;
        if (IsDropped(c))
            continue;
        if (IsHyphenLike(c) || (IsProlongedMark(c) && !out.empty() && IsDigit(out.back())))
            c = U'-';
        out += c;
    }
    return out;
}

int NumeralDigit(char32_t c)
{
    switch (c) {
    case U'〇':
    case U'零': return 0;
    case U'一':
    case U'壱': return 1;
    case U'二':
    case U'弐': return 2;
    case U'三':
    case U'参': return 3;
    case U'四': return 4;
    case U'五': return 5;
    case U'六': return 6;
    case U'七': return 7;
    case U'八': return 8;
    case U'九': return 9;
    default: return -1;
    }
}

int NumeralMultiplier(char32_t c)
{
    switch (c) {
    case U'十':
    case U'拾': return 10;
    case U'百': return 100;
    case U'千': return 1000;
    default: return 0;
    }
}

bool IsNumeral(char32_t c) { return NumeralDigit(c) >= 0 || NumeralMultiplier(c) > 0; }

// The words after which a kanji numeral is part of the address number.
bool IsNumberWordAt(const Text& text, std::size_t pos)
{
    if (pos >= text.size())
        return false;
    switch (text[pos]) {
    case U'丁':
    case U'番':
    case U'号':
    case U'線':
    case U'の':
    case U'ノ': return true;
    case U'地': return pos + 1 < text.size() && text[pos + 1] == U'割';
    default: return false;
    }
}

// "十一" 11, "百一" 101, "二十五" 25, "一〇一" 101.
std::int64_t NumeralValue(std::u32string_view run)
{
    std::int64_t total = 0;
    std::int64_t pending = 0;
    for (char32_t c : run) {
        if (const int m = NumeralMultiplier(c)) {
            total += (pending == 0 ? 1 : pending) * m;
            pending = 0;
        } else {
            pending = pending * 10 + NumeralDigit(c);
        }
    }
    return total + pending;
}

// A numeral run right after a number word or a hyphen continues the address
// number ("二十五番地の三", "三十五地割六十二").
bool FollowsNumberWord(const Text& text, std::size_t pos)
{
    if (pos == 0)
        return false;
    const char32_t before = text[pos - 1];
    const char32_t twoBefore = pos >= 2 ? text[pos - 2] : U'\0';
    switch (before) {
    case U'丁':
    case U'番':
    case U'号':
    case U'線':
    case U'の':
    case U'ノ':
    case U'-': return true;
    case U'目': return twoBefore == U'丁';
    case U'地': return twoBefore == U'番';
    case U'割': return twoBefore == U'地';
    default: return false;
    }
}

Text ConvertNumerals(const Text& text)
{
    Text out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i;
        while (end < text.size() && IsNumeral(text[end]))
            ++end;
        if (end == i) {
            out += text[i++];
            continue;
        }
        const std::u32string_view run(text.data() + i, end - i);
        if (run.size() <= kMaxNumeralRun && (IsNumberWordAt(text, end) || FollowsNumberWord(text, i))) {
            for (char c : std::to_string(NumeralValue(run)))
                out += static_cast<char32_t>(c);
        } else {
            out += run;
        }
        i = end;
    }
    return out;
}

// A letter is kept only when no letter stands next to it.
bool IsSingleLetter(const Text& text, std::size_t i)
{
    return IsCapital(text[i]) && (i == 0 || !IsCapital(text[i - 1])) &&
        (i + 1 == text.size() || !IsCapital(text[i + 1]));
}

// Digits, hyphens and single letters; every other run in front of one of
// them as one hyphen.
std::string KeepAddressCharacters(const Text& text)
{
    std::string out;
    bool skipped = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (IsDigit(c) || c == U'-' || IsSingleLetter(text, i)) {
            if (skipped)
                out += '-';
            out += static_cast<char>(c);
            skipped = false;
        } else {
            skipped = true;
        }
    }
    return out;
}

bool IsLetterAt(const std::string& s, std::size_t i) { return i < s.size() && s[i] >= 'A' && s[i] <= 'Z'; }

// Repeated hyphens as one, none in front.
std::string TidyHyphens(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != '-' || (!out.empty() && out.back() != '-'))
            out += c;
    return out;
}

std::string DropFloorMarks(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == 'F' && i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9'))
            out += s[i];
    return out;
}

std::string DropHyphensAtLetters(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] != '-' || !((i > 0 && IsLetterAt(s, i - 1)) || IsLetterAt(s, i + 1)))
            out += s[i];
    return out;
}

// Symbol values of the data characters in the designer's charset letters.
int SymbolValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c == '-')
        return kPostalHyphen;
    return kPostalCc1 + (c - 'A');
}

char SymbolLetter(int value)
{
    if (value < kPostalHyphen)
        return static_cast<char>('0' + value);
    if (value == kPostalHyphen)
        return '-';
    return static_cast<char>('A' + (value - kPostalCc1));
}

} // namespace

std::string_view PostalSymbolBars(int symbol)
{
    return symbol >= 0 && symbol < static_cast<int>(kSymbolBars.size()) ? kSymbolBars[symbol] : std::string_view();
}

std::string ExtractAddressNumber(std::string_view cp932Address)
{
    const Text text = ConvertNumerals(Normalize(Decode(cp932Address)));
    std::string number = TidyHyphens(KeepAddressCharacters(text));
    number = DropHyphensAtLetters(DropFloorMarks(number));
    return TidyHyphens(number);
}

std::optional<std::string> NormalizePostalCode(std::string_view cp932PostalCode)
{
    std::string digits;
    for (char32_t c : Normalize(Decode(cp932PostalCode))) {
        if (IsDigit(c))
            digits += static_cast<char>(c);
        else if (c != U'-' && c != U' ' && c != U'\u3000')
            return std::nullopt;
    }
    if (digits.size() != 7)
        return std::nullopt;
    return digits;
}

std::string CustomerBarSymbols(std::string_view postalDigits, std::string_view addressNumber)
{
    std::vector<int> symbols;
    for (char c : postalDigits)
        symbols.push_back(c - '0');
    for (char c : addressNumber) {
        if (symbols.size() >= kDataSymbols)
            break;
        if (c >= 'A' && c <= 'Z') {
            // Letters are a control code (A-J CC1, K-T CC2, U-Z CC3) and a digit.
            const int index = c - 'A';
            symbols.push_back(kPostalCc1 + index / 10);
            if (symbols.size() < kDataSymbols)
                symbols.push_back(index % 10);
        } else {
            symbols.push_back(SymbolValue(c));
        }
    }
    symbols.resize(kDataSymbols, kPostalCc4);
    int sum = 0;
    for (int s : symbols)
        sum += s;
    symbols.push_back((kCheckModulus - sum % kCheckModulus) % kCheckModulus);
    std::string out;
    for (int s : symbols)
        out += SymbolLetter(s);
    return out;
}

std::int32_t GetCBarString(const char* charset, const char* postalCode, const char* address, char* out)
{
    if (!charset || !postalCode || !address || !out || std::strlen(charset) != kCustomerBarcodeCharset.size())
        return kCBarBadArgument;
    const std::optional<std::string> digits = NormalizePostalCode(postalCode);
    if (!digits)
        return kCBarBadPostalCode;
    const std::string symbols = CustomerBarSymbols(*digits, ExtractAddressNumber(address));
    out[0] = charset[0];
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const char c = symbols[i];
        out[1 + i] = c >= 'A' && c <= 'H' ? charset[2 + (c - 'A')] : c;
    }
    out[kCustomerBarStringLength - 1] = charset[1];
    return kCBarOk;
}

} // namespace lx
