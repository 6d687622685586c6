#include "designer/model/LxCSV.h"

#include "designer/model/UnitCommon.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace lx {

namespace {

constexpr std::uint64_t kMaxCsvBytes = 64u << 20;
// Blanks stand in for this marker while a line is split, so that they stay
// inside their field instead of ending it.
constexpr std::string_view kBlankMarker = "#SPACE#";

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

std::vector<std::string> SplitCsvLine(std::string_view line)
{
    std::string marked;
    marked.reserve(line.size());
    for (const char c : line) {
        if (c == ' ')
            marked += kBlankMarker;
        else
            marked += c;
    }
    auto fields = SplitDelimited(marked, ',');
    for (std::string& field : fields)
        if (field.find('#') != std::string::npos)
            field = RestoreBlanks(field);
    return fields;
}

// A line of n bytes splits into at most n + 1 fields; a stored column count
// beyond that did not come from these lines.
std::size_t MostFieldsPossible(const std::vector<std::string>& lines)
{
    std::size_t most = 0;
    for (const std::string& line : lines)
        most = std::max(most, line.size() + 1);
    return most;
}

} // namespace

bool TLxCSV::LoadFromFile(std::string_view fileName)
{
    try {
        if (!FileExists(fileName))
            return false;
        TLxCSV read;
        read.loaded_ = true;
        read.lines_ = SplitLines(ReadFileBytes(fileName, kMaxCsvBytes));
        read.ParseCsv();
        *this = std::move(read);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TLxCSV::ParseCsv()
{
    std::vector<Row> rows;
    rows.reserve(lines_.size());
    std::size_t width = static_cast<std::size_t>(colCount_);
    for (const std::string& line : lines_) {
        Row row;
        row.Fields = SplitCsvLine(line);
        width = std::max(width, row.Fields.size());
        row.Width = static_cast<std::int32_t>(width);
        rows.push_back(std::move(row));
    }
    rows_ = std::move(rows);
    rowCount_ = static_cast<std::int32_t>(rows_.size());
    colCount_ = static_cast<std::int32_t>(width);
}

const std::string& TLxCSV::CsvCell(std::int32_t column, std::int32_t row) const
{
    static const std::string prompt = Sjis("列を選択してください");
    static const std::string empty;
    if (column < 1 || row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return prompt;
    const Row& cells = rows_[static_cast<std::size_t>(row)];
    if (column > cells.Width)
        return prompt;
    const auto index = static_cast<std::size_t>(column - 1);
    return index < cells.Fields.size() ? cells.Fields[index] : empty;
}

std::string TLxCSV::GetColumnPreview(std::int32_t column, std::int32_t maxRows) const
{
    std::string text;
    if (column < 1)
        return text;
    const auto index = static_cast<std::size_t>(column - 1);
    const std::size_t count = std::min(rows_.size(), static_cast<std::size_t>(std::max(maxRows, 0)));
    for (std::size_t r = 0; r < count; ++r) {
        const auto& fields = rows_[r].Fields;
        if (index < fields.size())
            text += fields[index];
        text += "\r\n";
    }
    return text;
}

void TLxCSV::SaveToStream(Stream& stream) const
{
    stream.WriteUInt8(loaded_ ? 1 : 0);
    stream.WriteInt32(rowCount_);
    stream.WriteInt32(colCount_);
    WriteStreamString(JoinLines(lines_), stream);
}

void TLxCSV::LoadFromStream(Stream& stream)
{
    TLxCSV read;
    read.loaded_ = stream.ReadUInt8() != 0;
    const std::int32_t rowCount = stream.ReadInt32();
    const std::int32_t colCount = stream.ReadInt32();
    if (rowCount < 0 || colCount < 0)
        throw ReadError("差込データの行数または列数が正しくありません。");
    read.lines_ = SplitLines(ReadStreamString(stream));
    if (static_cast<std::size_t>(colCount) > MostFieldsPossible(read.lines_))
        throw ReadError("差込データの列数が正しくありません。");
    // The stored row count is only what the lines give again.
    read.colCount_ = colCount;
    read.ParseCsv();
    *this = std::move(read);
}

std::unique_ptr<TLxCSV> TLxCSV::Clone() const
{
    auto copy = std::make_unique<TLxCSV>();
    copy->loaded_ = loaded_;
    copy->lines_ = lines_;
    copy->ParseCsv();
    return copy;
}

void TLxCSV::Clear() { *this = TLxCSV(); }

} // namespace lx
