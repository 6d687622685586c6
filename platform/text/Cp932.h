#pragma once
// Code page 932 (Shift_JIS with the NEC and IBM extensions), the encoding of
// all text inside the model and its files. Conversion happens only at the
// edges: file names, widgets, fonts, the control's wide-string interface.
#include <cstddef>
#include <string>
#include <string_view>

namespace lx {

// Lead byte of a double-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length in bytes of the character at pos: 2 for a lead byte followed by any
// byte, otherwise 1 (a lone lead byte at the end is one character).
constexpr std::size_t CharLength(std::string_view text, std::size_t pos)
{
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Number of characters under the CharLength rule.
std::size_t CharCount(std::string_view text);

// Calls f(std::string_view character) for every character in order.
template <typename F>
void ForEachChar(std::string_view text, F&& f)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t n = CharLength(text, pos);
        f(text.substr(pos, n));
        pos += n;
    }
}

// Decoding never fails and never reads past the end. A byte that does not
// begin a valid character is decoded alone: to U+FFFD in UTF-8, and to the
// lone surrogate U+DC00 + byte in UTF-16, so that any byte string survives a
// trip through UTF-16 and back.
std::string Cp932ToUtf8(std::string_view text);
std::u16string Cp932ToUtf16(std::string_view text);

// Encoding: characters without a CP932 form become "?"; the escape
// surrogates U+DC80-U+DCFF become their byte again.
// The characters Linux input methods type for some CP932 characters (U+301C
// WAVE DASH, U+2212 MINUS SIGN, ...) take the CP932 form of their Microsoft
// twins.
std::string Utf8ToCp932(std::string_view text);
std::string Utf16ToCp932(std::u16string_view text);

// Appends the CP932 form of text to out up to the first character without
// one (an escape surrogate counts as one) and returns its index, or
// text.size() when every character was converted.
std::size_t AppendCp932Until(std::u16string_view text, std::string& out);

// Index of the first character of text that CP932 cannot hold, or
// text.size(). An escape surrogate (a byte of the model kept through UTF-16)
// counts as held.
std::size_t FindCharWithoutCp932(std::u16string_view text);
// Length in units of the character at pos: 2 for a surrogate pair, else 1.
std::size_t Utf16CharLength(std::u16string_view text, std::size_t pos);
// The user's message for the character at pos of text that CP932 cannot
// hold, on the given line: "2行目の文字「é」はこのプログラムでは扱えません。"
std::string CharWithoutCp932Message(std::size_t line, std::u16string_view text, std::size_t pos);
// The same for every such character of text, each named once with the line
// it first stands on, the first few of them and how many more:
// "1行目の文字「😀」「é」、3行目の文字「€」はこのプログラムでは扱えません。"
// Empty when CP932 holds the whole text.
std::string CharsWithoutCp932Message(std::u16string_view text);

// Plain Unicode conversions, for text that never goes into the model (file
// names, messages). Malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Well-formed UTF-8: no malformed, overlong or surrogate sequence.
bool IsUtf8(std::string_view text);
// Every byte begins or continues a character CP932 defines.
bool IsCp932(std::string_view text);
// A file name or path, the system's bytes, as a person reads it (UTF-8):
// each part between slashes as it is when it is UTF-8, else its CP932
// reading (names from Windows archives), else with every byte that is no
// UTF-8 shown as \xNN.
std::string ReadableFileName(std::string_view path);
// Text with every byte that is no UTF-8 shown as \xNN, the rest as it is.
std::string BytesShownVisibly(std::string_view text);

// CP932 bytes of a UTF-8 literal, for model texts written in the source:
// Sjis("文字シート").
std::string Sjis(std::string_view utf8);

} // namespace lx
