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

bool IsNonAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }

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

// Line breaks as the merge table counts them, in text[0, end).
std::size_t BreaksBefore(std::string_view text, std::size_t end)
{
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < end; ++i)
        breaks += text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'));
    return breaks;
}

// At most kShownBytes of text, ending on a whole character of the reading.
constexpr std::size_t kShownBytes = 90;

std::string ShownUtf8(std::string_view text)
{
    if (text.size() <= kShownBytes)
        return std::string(text);
    std::size_t end = kShownBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end)) + "…";
}

std::string ShownCp932(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && end + CharLength(text, end) <= kShownBytes)
        end += CharLength(text, end);
    return Cp932ToUtf8(text.substr(0, end)) + (end < text.size() ? "…" : "");
}

// The line of the first non-ASCII byte, shown from a little before that byte.
TwoReadings FirstDifference(std::string_view text)
{
    constexpr std::size_t kLeadIn = 20;
    const std::size_t first =
        static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsNonAscii) - text.begin());
    const std::size_t breakBefore = text.find_last_of("\r\n", first);
    const std::size_t lineStart = breakBefore == std::string_view::npos ? 0 : breakBefore + 1;
    const std::size_t lineEnd = std::min(text.find_first_of("\r\n", first), text.size());
    // The bytes before the first difference are ASCII, the same both ways.
    const std::size_t start = std::max(lineStart, first > kLeadIn ? first - kLeadIn : 0);
    const std::string_view shown = text.substr(start, lineEnd - start);
    const std::string cut = start > lineStart ? "…" : "";
    return {BreaksBefore(text, lineStart) + 1, cut + ShownCp932(shown), cut + ShownUtf8(shown)};
}

// For text valid both ways: whether it is UTF-8, as its characters show or
// the user says.
bool MeantAsUtf8(std::string_view text, const EncodingChooser& choose)
{
    if (const auto shown = EncodingTheCharactersShow(text))
        return *shown == TextEncoding::Utf8;
    const TwoReadings readings = FirstDifference(text);
    if (!choose)
        throw ReadError(std::to_string(readings.Line) +
                        "行目は、シフトJISとしてもUTF-8としても読めるため、文字コードを決められません。");
    return choose(readings) == TextEncoding::Utf8;
}

} // namespace

std::string TextFileToCp932(std::string bytes, const EncodingChooser& choose)
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
    if (std::any_of(text.begin(), text.end(), IsNonAscii) && IsUtf8(text)) {
        if (!IsCp932(text) || MeantAsUtf8(text, choose))
            return FromUtf8(text);
        return bytes;
    }
    if (!LooksLikeCp932Text(text))
        throw NotText();
    return bytes;
}

} // namespace lx
