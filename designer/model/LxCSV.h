#pragma once
// The merge table of a design: the lines of a CSV file (code page 932, no
// header line) split into rows of cells, embedded whole in the design file.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/io/Stream.h"
#include "platform/text/TextFile.h"

namespace lx {

class TLxCSV {
public:
    TLxCSV() = default;

    // Loads and parses a file, its text converted to CP932 (TextFileToCp932,
    // which asks `choose` about text that reads two ways). A missing or
    // unreadable file gives false; a file over the size limit, and text that
    // cannot be used (a binary file, a character CP932 cannot hold, text that
    // reads two ways with no one to ask) throw ReadError saying why. Either
    // way the table stays exactly as it was.
    bool LoadFromFile(std::string_view path, const EncodingChooser& choose = {});
    // Rebuilds the rows from the lines. A row is as wide as the widest row
    // up to it (and the column count before the call): cells beyond a line's
    // own fields are empty.
    void ParseCsv();

    // The cell at a 1-based column and 0-based row, or "列を選択してください"
    // for column 0, a row outside the table or a column beyond the row.
    std::string CsvCell(std::int32_t column, std::int32_t row) const;
    // The column's cells of the first maxRows rows, each followed by CR LF;
    // an earlier row narrower than the column shows an empty line.
    std::string GetColumnPreview(std::int32_t column, std::int32_t maxRows) const;

    // The merge-table block: loaded flag, row count, column count, the lines
    // joined with CR LF. Reading checks the counts (ReadError) and rebuilds
    // the rows at once; a later ParseCsv changes nothing. On a ReadError the
    // table is unchanged.
    void SaveToStream(Stream& stream) const;
    void LoadFromStream(Stream& stream);

    // The loaded flag and lines, parsed afresh (column count from 0). The
    // copy shares the text, which no table ever changes.
    std::unique_ptr<TLxCSV> Clone() const;
    void Clear();

    bool IsLoaded() const { return loaded_; }
    std::int32_t GetRowCount() const { return rowCount_; }
    std::int32_t GetColCount() const { return colCount_; }
    std::vector<std::string> GetLines() const;

private:
    // The cells stay in the file's own bytes and are split again when asked
    // for. Beside the bytes the table keeps where every kLinesPerStart-th line
    // starts, the rows where the width grows, and for lines of more than
    // kFieldsPerMark fields where every kFieldsPerMark-th field starts; so
    // memory stays near the text's size whatever its shape, and a cell is
    // found by splitting a few lines and fields.
    struct WidthFrom {
        std::uint32_t Row;
        std::int32_t Width;
    };
    struct WideRow {
        std::uint32_t Row;
        std::uint32_t FirstMark;
    };

    std::string_view Line(std::size_t row) const;
    std::int32_t RowWidth(std::size_t row) const;
    // The raw field (quotes included), or nothing when the row's line has
    // fewer fields.
    std::optional<std::string_view> RawField(std::size_t row, std::size_t index) const;
    // Marks the line's fields; returns how many it has.
    std::uint32_t IndexFields(std::string_view line, std::uint32_t row);
    // The lines each followed by CR LF, as the block stores them.
    std::string JoinedText() const;
    std::size_t LongestLine() const;

    bool loaded_ = false;
    // The bytes as read (file or block), line breaks as they came.
    std::shared_ptr<const std::string> text_ = std::make_shared<const std::string>();
    std::vector<std::uint32_t> lineStarts_;
    std::vector<WidthFrom> widths_;
    std::vector<WideRow> wideRows_;
    std::vector<std::uint32_t> marks_;
    // The size of the lines each followed by CR LF.
    std::size_t joinedSize_ = 0;
    std::int32_t rowCount_ = 0;
    std::int32_t colCount_ = 0;
};

} // namespace lx
