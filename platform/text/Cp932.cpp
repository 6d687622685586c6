#include "platform/text/Cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

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

} // namespace

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
    std::string chunk;
    auto flush = [&] {
        const char* in = chunk.data();
        std::size_t left = chunk.size();
        while (!FromUtf16ToCp932().Convert(in, left, out)) {
            // Skip the unconvertible unit (two for a surrogate pair).
            const auto unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                    (static_cast<unsigned char>(in[1]) << 8));
            const std::size_t skip = unit >= 0xD800 && unit < 0xDC00 && left >= 4 ? 4 : 2;
            out.push_back('?');
            in += skip;
            left -= skip;
        }
        chunk.clear();
    };
    for (char16_t unit : text) {
        if (unit >= 0xDC80 && unit <= 0xDCFF) {
            flush();
            out.push_back(static_cast<char>(unit - 0xDC00));
        } else {
            AppendUtf16(chunk, unit);
        }
    }
    flush();
    return out;
}

std::string Utf8ToCp932(std::string_view text) { return Utf16ToCp932(Utf8ToUtf16(text)); }

std::string Sjis(std::string_view utf8) { return Utf8ToCp932(utf8); }

} // namespace lx
