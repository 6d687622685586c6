#include "platform/text/TextFile.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <algorithm>
#include <string_view>

namespace lx {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
// Converted in pieces of about this many units, so that no whole-file UTF-16
// copy is ever held.
constexpr std::size_t kPieceUnits = 65536;

ReadError NotText() { return ReadError("テキストファイルではないため、差込データとして読み込めません。"); }

bool HasByteFrom(std::string_view bytes, unsigned char low)
{
    return std::any_of(bytes.begin(), bytes.end(), [low](char c) { return static_cast<unsigned char>(c) >= low; });
}

// Japanese UTF-8 text always holds three-byte characters; text whose only
// multi-byte sequences are two bytes long is as likely CP932 half-width kana
// (ﾐｶ is D0 B6, also the UTF-8 of ж), and stays CP932 where it is valid CP932.
bool ReadAsUtf8(std::string_view text)
{
    if (!HasByteFrom(text, 0x80) || !IsUtf8(text))
        return false;
    return HasByteFrom(text, 0xE0) || !IsCp932(text);
}

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Bytes no CP932 text holds outside a double-byte character. A lead byte
// without its trail (a line cut after it) is kept as it is.
bool LooksLikeCp932Text(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (IsLeadByte(c) && pos + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[pos + 1])))
            ++pos;
        else if (c == 0x80 || c == 0xA0 || c >= 0xFD)
            return false;
    }
    return true;
}

// Line breaks as the merge table counts them: CR LF, LF or CR.
std::size_t CountBreaks(std::u16string_view text, bool& afterCr)
{
    std::size_t breaks = 0;
    for (const char16_t unit : text) {
        if (unit == u'\r' || (unit == u'\n' && !afterCr))
            ++breaks;
        afterCr = unit == u'\r';
    }
    return breaks;
}

// Collects the CP932 form of UTF-16 pieces, counting lines for the message.
class Cp932Writer {
public:
    explicit Cp932Writer(std::size_t sizeHint) { out_.reserve(sizeHint); }

    void Append(std::u16string_view piece)
    {
        if (piece.find(u'\0') != std::u16string_view::npos)
            throw NotText();
        const std::size_t done = AppendCp932Until(piece, out_);
        if (done == piece.size()) {
            line_ += CountBreaks(piece, afterCr_);
            return;
        }
        line_ += CountBreaks(piece.substr(0, done), afterCr_);
        throw ReadError(CharWithoutCp932Message(line_, piece, done));
    }

    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    std::size_t line_ = 1;
    bool afterCr_ = false;
};

// Where a piece starting at start ends: near the piece size, never inside a
// character (a CR LF split between pieces still counts once).
template <typename IsBoundary>
std::size_t PieceEnd(std::size_t start, std::size_t size, std::size_t step, IsBoundary isBoundary)
{
    std::size_t end = std::min(size, start + kPieceUnits * step);
    while (end < size && !isBoundary(end))
        end += step;
    return end;
}

std::string FromUtf8(std::string_view text)
{
    Cp932Writer writer(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        // A UTF-8 character never starts with a continuation byte.
        const std::size_t end = PieceEnd(
            pos, text.size(), 1, [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80; });
        writer.Append(Utf8ToUtf16(text.substr(pos, end - pos)));
        pos = end;
    }
    return writer.Take();
}

std::string FromUtf16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        throw NotText();
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    Cp932Writer writer(bytes.size());
    std::u16string piece;
    for (std::size_t pos = 0; pos < bytes.size();) {
        // A piece never ends between the halves of a surrogate pair.
        const std::size_t end = PieceEnd(pos, bytes.size(), 2, [&](std::size_t i) {
            const char16_t unit = unitAt(i);
            return unit < 0xDC00 || unit >= 0xE000;
        });
        piece.clear();
        for (std::size_t i = pos; i < end; i += 2)
            piece.push_back(unitAt(i));
        writer.Append(piece);
        pos = end;
    }
    return writer.Take();
}

} // namespace

std::string TextFileToCp932(std::string bytes)
{
    const std::string_view text = bytes;
    if (text.starts_with(kUtf16LeMark))
        return FromUtf16(text.substr(kUtf16LeMark.size()), false);
    if (text.starts_with(kUtf16BeMark))
        return FromUtf16(text.substr(kUtf16BeMark.size()), true);
    if (text.find('\0') != std::string_view::npos)
        throw NotText();
    if (text.starts_with(kUtf8Mark)) {
        if (!IsUtf8(text.substr(kUtf8Mark.size())))
            throw NotText();
        return FromUtf8(text.substr(kUtf8Mark.size()));
    }
    if (ReadAsUtf8(text))
        return FromUtf8(text);
    if (!LooksLikeCp932Text(text))
        throw NotText();
    return bytes;
}

} // namespace lx
