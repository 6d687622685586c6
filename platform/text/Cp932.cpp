#include "platform/text/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace lx {

namespace {

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and Unicode");
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible. Returns false and leaves in/inLeft at the
    // offending input when a character cannot be converted.
    bool Convert(const char*& in, std::size_t& inLeft, std::string& out)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t r = iconv(handle_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t handle_;
};

Converter& FromCp932ToUtf8()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& FromCp932ToUtf16()
{
    thread_local Converter converter("UTF-16LE", "CP932");
    return converter;
}

Converter& FromUtf16ToCp932()
{
    thread_local Converter converter("CP932", "UTF-16LE");
    return converter;
}

void AppendUtf16(std::string& out, char16_t unit)
{
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

std::u16string Utf16FromBytes(const std::string& bytes)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return text;
}

// Decodes CP932, replacing each undecodable byte by what escape() appends.
template <typename Escape>
std::string Decode(Converter& converter, std::string_view text, Escape escape)
{
    std::string out;
    out.reserve(text.size() * 2);
    const char* in = text.data();
    std::size_t left = text.size();
    while (!converter.Convert(in, left, out)) {
        escape(out, static_cast<unsigned char>(*in));
        ++in;
        --left;
    }
    return out;
}

// Decodes one UTF-8 sequence at i. A malformed one (bad continuation bytes,
// overlong or out of range) gives U+FFFD and consumes only its first byte.
// Surrogates pass, so the byte escapes U+DC80-U+DCFF survive UTF-8.
char32_t DecodeUtf8(std::string_view text, std::size_t i, std::size_t& length)
{
    const unsigned char c = static_cast<unsigned char>(text[i]);
    length = 1;
    if (c < 0x80)
        return c;
    std::size_t n = 0;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    if (n == 0 || i + n > text.size())
        return 0xFFFD;
    char32_t cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (next & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[n] || cp > 0x10FFFF)
        return 0xFFFD;
    length = n;
    return cp;
}

constexpr bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
constexpr bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// The Microsoft twin CP932 maps for a character of the JIS mapping.
char16_t MicrosoftForm(char16_t unit)
{
    switch (unit) {
    case u'\u301C': return u'\uFF5E'; // wave dash
    case u'\u2016': return u'\u2225'; // double vertical line
    case u'\u2212': return u'\uFF0D'; // minus sign
    case u'\u00A2': return u'\uFFE0'; // cent sign
    case u'\u00A3': return u'\uFFE1'; // pound sign
    case u'\u00AC': return u'\uFFE2'; // not sign
    default: return unit;
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    const int n = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out.push_back(static_cast<char>(kLead[n] | (cp >> (6 * (n - 1)))));
    for (int k = n - 2; k >= 0; --k)
        out.push_back(static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F)));
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        const char32_t cp = DecodeUtf8(text, i, n);
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00));
        else
            AppendUtf8(out, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? 0xFFFD : unit);
    }
    return out;
}

namespace {

// Length of the well-formed UTF-8 character at i, or 0 where the byte at i
// begins none (malformed, overlong or a surrogate).
std::size_t WellFormedUtf8Length(std::string_view text, std::size_t i)
{
    std::size_t n = 1;
    const char32_t cp = DecodeUtf8(text, i, n);
    return (cp == 0xFFFD && n == 1) || (cp >= 0xD800 && cp < 0xE000) ? 0 : n;
}

} // namespace

bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = WellFormedUtf8Length(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

bool IsCp932(std::string_view text)
{
    std::string sink;
    for (std::size_t pos = 0; pos < text.size();) {
        // Pieces end between characters, so a piece never ends inside one.
        std::size_t end = pos;
        while (end < text.size() && end - pos < 65536)
            end += CharLength(text, end);
        const char* in = text.data() + pos;
        std::size_t left = end - pos;
        sink.clear();
        if (!FromCp932ToUtf16().Convert(in, left, sink))
            return false;
        pos = end;
    }
    return true;
}

std::size_t AppendCp932Until(std::u16string_view text, std::string& out)
{
    // In pieces, so that a stop costs a piece at most, however many follow.
    constexpr std::size_t kPiece = 4096;
    std::string bytes;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.size(), start + kPiece);
        if (end < text.size() && IsHighSurrogate(text[end - 1]))
            ++end;
        bytes.clear();
        for (std::size_t i = start; i < end; ++i)
            AppendUtf16(bytes, MicrosoftForm(text[i]));
        const char* in = bytes.data();
        std::size_t left = bytes.size();
        if (!FromUtf16ToCp932().Convert(in, left, out))
            return start + static_cast<std::size_t>(in - bytes.data()) / 2;
        start = end;
    }
    return text.size();
}

std::size_t FindCharWithoutCp932(std::u16string_view text)
{
    std::string sink;
    for (std::size_t pos = 0; pos < text.size();) {
        sink.clear();
        pos += AppendCp932Until(text.substr(pos), sink);
        if (pos == text.size() || text[pos] < 0xDC80 || text[pos] > 0xDCFF)
            return pos;
        ++pos;
    }
    return text.size();
}

std::size_t Utf16CharLength(std::u16string_view text, std::size_t pos)
{
    return IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1]) ? 2 : 1;
}

std::string CharWithoutCp932Message(std::size_t line, std::u16string_view text, std::size_t pos)
{
    return std::to_string(line) + "行目の文字「" + Utf16ToUtf8(text.substr(pos, Utf16CharLength(text, pos))) +
        "」はこのプログラムでは扱えません。";
}

std::string CharsWithoutCp932Message(std::u16string_view text)
{
    // A long paste of foreign text would make a box no one reads.
    constexpr std::size_t kNamed = 5;
    std::vector<std::u16string_view> named;
    std::size_t more = 0;
    std::size_t namedLine = 0;
    std::string list;
    std::size_t line = 1;
    std::size_t from = 0;
    for (std::size_t at = FindCharWithoutCp932(text); at < text.size();
         at = from + FindCharWithoutCp932(text.substr(from))) {
        line += static_cast<std::size_t>(std::count(text.begin() + from, text.begin() + at, u'\n'));
        const std::u16string_view character = text.substr(at, Utf16CharLength(text, at));
        from = at + character.size();
        if (std::find(named.begin(), named.end(), character) != named.end())
            continue;
        if (named.size() >= kNamed) {
            // Counted once each, as they are named.
            named.push_back(character);
            ++more;
            continue;
        }
        if (line != namedLine)
            list += (named.empty() ? "" : "、") + std::to_string(line) + "行目の文字";
        namedLine = line;
        list += "「" + Utf16ToUtf8(character) + "」";
        named.push_back(character);
    }
    if (named.empty())
        return {};
    if (more > 0)
        list += "ほか" + std::to_string(more) + "文字";
    return list + "はこのプログラムでは扱えません。";
}

std::size_t CharCount(std::string_view text)
{
    std::size_t count = 0;
    ForEachChar(text, [&](std::string_view) { ++count; });
    return count;
}

std::string Cp932ToUtf8(std::string_view text)
{
    return Decode(FromCp932ToUtf8(), text, [](std::string& out, unsigned char) { out += "\xEF\xBF\xBD"; });
}

std::u16string Cp932ToUtf16(std::string_view text)
{
    return Utf16FromBytes(Decode(FromCp932ToUtf16(), text, [](std::string& out, unsigned char byte) {
        AppendUtf16(out, static_cast<char16_t>(0xDC00 + byte));
    }));
}

std::string Utf16ToCp932(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    while (!text.empty()) {
        const std::size_t done = AppendCp932Until(text, out);
        if (done == text.size())
            break;
        const char16_t unit = text[done];
        std::size_t skip = 1;
        if (unit >= 0xDC80 && unit <= 0xDCFF) {
            out.push_back(static_cast<char>(unit - 0xDC00));
        } else {
            out.push_back('?');
            if (IsHighSurrogate(unit) && done + 1 < text.size() && IsLowSurrogate(text[done + 1]))
                skip = 2;
        }
        text.remove_prefix(done + skip);
    }
    return out;
}

std::string Utf8ToCp932(std::string_view text) { return Utf16ToCp932(Utf8ToUtf16(text)); }

std::string Sjis(std::string_view utf8) { return Utf8ToCp932(utf8); }

std::string BytesShownVisibly(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = WellFormedUtf8Length(text, i);
        if (n == 0) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(text[i]);
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
            i += 1;
            continue;
        }
        shown.append(text.substr(i, n));
        i += n;
    }
    return shown;
}

std::string ReadableFileName(std::string_view path)
{
    std::string readable;
    readable.reserve(path.size());
    while (true) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        if (IsUtf8(part))
            readable.append(part);
        else if (IsCp932(part))
            readable += Cp932ToUtf8(part);
        else
            readable += BytesShownVisibly(part);
        if (slash == std::string_view::npos)
            return readable;
        readable += '/';
        path.remove_prefix(slash + 1);
    }
}

} // namespace lx
