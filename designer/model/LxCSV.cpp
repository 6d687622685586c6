#include "designer/model/LxCSV.h"

#include "designer/model/UnitCommon.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "platform/text/TextFile.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <limits>

namespace lx {

namespace {

constexpr std::uint64_t kMaxCsvBytes = 64u << 20;
constexpr std::size_t kLinesPerStart = 4;
constexpr std::size_t kFieldsPerMark = 16;
constexpr char kComma = ',';
// Blanks stand in for this marker while a line is split, so that they stay
// inside their field instead of ending it; the marker itself, in any letter
// case, becomes a blank.
constexpr std::string_view kBlankMarker = "#SPACE#";

const std::string& Prompt()
{
    static const std::string prompt = Sjis("列を選択してください");
    return prompt;
}

bool IsMarkerAt(std::string_view text, std::size_t pos)
{
    if (pos + kBlankMarker.size() > text.size())
        return false;
    for (std::size_t i = 0; i < kBlankMarker.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[pos + i])) != kBlankMarker[i])
            return false;
    return true;
}

// Every marker, in any letter case, back to one blank.
std::string RestoreBlanks(std::string_view field)
{
    std::string text;
    text.reserve(field.size());
    for (std::size_t pos = 0; pos < field.size();) {
        if (field[pos] == '#' && IsMarkerAt(field, pos)) {
            text += ' ';
            pos += kBlankMarker.size();
        } else {
            text += field[pos++];
        }
    }
    return text;
}

std::string MarkBlanks(std::string_view field)
{
    std::string marked;
    for (const char c : field) {
        if (c == ' ')
            marked += kBlankMarker;
        else
            marked += c;
    }
    return marked;
}

// A field split with blanks inside it, as if every blank had been the marker.
std::string CellText(std::string_view raw)
{
    std::string text = FieldText(raw);
    // Without '#' the only markers would be the blanks themselves.
    if (text.find('#') == std::string::npos)
        return text;
    return RestoreBlanks(MarkBlanks(text));
}

std::size_t LineEnd(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    return pos;
}

// CR LF, LF or CR end a line.
std::size_t NextLineStart(std::string_view text, std::size_t end)
{
    if (end >= text.size())
        return text.size();
    return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

std::size_t CountLines(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = NextLineStart(text, LineEnd(text, pos)))
        ++count;
    return count;
}

std::shared_ptr<const std::string> SharedText(std::string bytes)
{
    // Offsets into the text are 32 bits wide; no file or block reaches that.
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
        throw ReadError("差込データが大きすぎます。");
    return std::make_shared<const std::string>(std::move(bytes));
}

} // namespace

bool TLxCSV::LoadFromFile(std::string_view path, const EncodingChooser& choose)
{
    try {
        if (!FileExists(path))
            return false;
        std::error_code error;
        if (std::filesystem::file_size(std::filesystem::path(path), error) > kMaxCsvBytes && !error)
            throw ReadError("ファイルが大きすぎます。差込データとして読み込めるのは" +
                            std::to_string(kMaxCsvBytes >> 20) + "MiBまでです。");
        TLxCSV read;
        read.loaded_ = true;
        read.text_ = SharedText(TextFileToCp932(ReadFileBytes(path, kMaxCsvBytes), choose));
        read.ParseCsv();
        *this = std::move(read);
        return true;
    } catch (const ReadError&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

std::uint32_t TLxCSV::IndexFields(std::string_view line, std::uint32_t row)
{
    DelimitedFields walk(line, kComma, true);
    std::uint32_t fields = 0;
    for (std::string_view raw;; ++fields) {
        if (fields > 0 && fields % kFieldsPerMark == 0) {
            if (fields == kFieldsPerMark)
                wideRows_.push_back({row, static_cast<std::uint32_t>(marks_.size())});
            marks_.push_back(static_cast<std::uint32_t>(walk.Position()));
        }
        if (!walk.Next(raw))
            break;
    }
    // A mark behind the last field would only point at the line's end.
    if (fields % kFieldsPerMark == 0 && fields > 0) {
        marks_.pop_back();
        if (fields == kFieldsPerMark)
            wideRows_.pop_back();
    }
    return fields;
}

void TLxCSV::ParseCsv()
{
    TLxCSV parsed;
    parsed.loaded_ = loaded_;
    parsed.text_ = text_;
    const std::string_view text = *text_;
    parsed.lineStarts_.reserve(CountLines(text) / kLinesPerStart + 1);
    std::int64_t width = colCount_;
    std::uint32_t row = 0;
    for (std::size_t pos = 0; pos < text.size(); ++row) {
        if (row % kLinesPerStart == 0)
            parsed.lineStarts_.push_back(static_cast<std::uint32_t>(pos));
        const std::size_t end = LineEnd(text, pos);
        const std::uint32_t fields = parsed.IndexFields(text.substr(pos, end - pos), row);
        parsed.joinedSize_ += end - pos + 2;
        pos = NextLineStart(text, end);
        if (row == 0 || fields > width) {
            width = std::max<std::int64_t>(width, fields);
            parsed.widths_.push_back({row, static_cast<std::int32_t>(width)});
        }
    }
    parsed.rowCount_ = static_cast<std::int32_t>(row);
    parsed.colCount_ = static_cast<std::int32_t>(width);
    parsed.lineStarts_.shrink_to_fit();
    parsed.widths_.shrink_to_fit();
    parsed.wideRows_.shrink_to_fit();
    parsed.marks_.shrink_to_fit();
    *this = std::move(parsed);
}

std::string_view TLxCSV::Line(std::size_t row) const
{
    const std::string_view text = *text_;
    std::size_t pos = lineStarts_[row / kLinesPerStart];
    for (std::size_t skip = row % kLinesPerStart; skip > 0; --skip)
        pos = NextLineStart(text, LineEnd(text, pos));
    return text.substr(pos, LineEnd(text, pos) - pos);
}

std::int32_t TLxCSV::RowWidth(std::size_t row) const
{
    const auto after = std::upper_bound(widths_.begin(), widths_.end(), row,
                                        [](std::size_t r, const WidthFrom& from) { return r < from.Row; });
    return after == widths_.begin() ? 0 : std::prev(after)->Width;
}

std::optional<std::string_view> TLxCSV::RawField(std::size_t row, std::size_t index) const
{
    const std::size_t mark = index / kFieldsPerMark;
    std::size_t start = 0;
    if (mark > 0) {
        const auto wide = std::lower_bound(wideRows_.begin(), wideRows_.end(), row,
                                           [](const WideRow& w, std::size_t r) { return w.Row < r; });
        if (wide == wideRows_.end() || wide->Row != row)
            return std::nullopt;
        const std::size_t end = std::next(wide) == wideRows_.end() ? marks_.size() : std::next(wide)->FirstMark;
        if (wide->FirstMark + mark - 1 >= end)
            return std::nullopt;
        start = marks_[wide->FirstMark + mark - 1];
    }
    DelimitedFields walk(Line(row), kComma, true, start);
    std::string_view raw;
    for (std::size_t i = mark * kFieldsPerMark; i <= index; ++i)
        if (!walk.Next(raw))
            return std::nullopt;
    return raw;
}

std::string TLxCSV::CsvCell(std::int32_t column, std::int32_t row) const
{
    if (column < 1 || row < 0 || row >= rowCount_ || column > RowWidth(static_cast<std::size_t>(row)))
        return Prompt();
    const auto raw = RawField(static_cast<std::size_t>(row), static_cast<std::size_t>(column - 1));
    return raw ? CellText(*raw) : std::string();
}

std::string TLxCSV::GetColumnPreview(std::int32_t column, std::int32_t maxRows) const
{
    std::string text;
    if (column < 1)
        return text;
    const std::int32_t count = std::min(rowCount_, std::max(maxRows, 0));
    for (std::int32_t r = 0; r < count; ++r) {
        if (const auto raw = RawField(static_cast<std::size_t>(r), static_cast<std::size_t>(column - 1)))
            text += CellText(*raw);
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> TLxCSV::GetLines() const
{
    std::vector<std::string> lines;
    for (std::int32_t r = 0; r < rowCount_; ++r)
        lines.emplace_back(Line(static_cast<std::size_t>(r)));
    return lines;
}

std::string TLxCSV::JoinedText() const
{
    std::string joined;
    for (std::int32_t r = 0; r < rowCount_; ++r) {
        joined += Line(static_cast<std::size_t>(r));
        joined += "\r\n";
    }
    return joined;
}

std::size_t TLxCSV::LongestLine() const
{
    std::size_t longest = 0;
    for (std::int32_t r = 0; r < rowCount_; ++r)
        longest = std::max(longest, Line(static_cast<std::size_t>(r)).size());
    return longest;
}

void TLxCSV::SaveToStream(Stream& stream) const
{
    stream.WriteUInt8(loaded_ ? 1 : 0);
    stream.WriteInt32(rowCount_);
    stream.WriteInt32(colCount_);
    // Text whose every line already ends with CR LF is written as it is.
    const bool crLfText = text_->size() == joinedSize_;
    WriteStreamString(crLfText ? std::string_view(*text_) : std::string_view(JoinedText()), stream);
}

void TLxCSV::LoadFromStream(Stream& stream)
{
    TLxCSV read;
    read.loaded_ = stream.ReadUInt8() != 0;
    const std::int32_t rowCount = stream.ReadInt32();
    const std::int32_t colCount = stream.ReadInt32();
    if (rowCount < 0 || colCount < 0)
        throw ReadError("差込データの行数または列数が正しくありません。");
    read.text_ = SharedText(ReadStreamString(stream));
    // The stored row count is only what the lines give again.
    read.colCount_ = colCount;
    read.ParseCsv();
    // A line of n bytes splits into at most n + 1 fields; a stored column
    // count beyond that did not come from these lines.
    if (read.rowCount_ == 0 ? colCount > 0 : static_cast<std::size_t>(colCount) > read.LongestLine() + 1)
        throw ReadError("差込データの列数が正しくありません。");
    *this = std::move(read);
}

std::unique_ptr<TLxCSV> TLxCSV::Clone() const
{
    auto copy = std::make_unique<TLxCSV>();
    copy->loaded_ = loaded_;
    copy->text_ = text_;
    copy->ParseCsv();
    return copy;
}

void TLxCSV::Clear() { *this = TLxCSV(); }

} // namespace lx
