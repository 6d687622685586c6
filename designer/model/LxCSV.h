#pragma once
// The merge table of a design: the lines of a CSV file (code page 932, no
// header line) split into rows of cells, embedded whole in the design file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/io/Stream.h"

namespace lx {

class TLxCSV {
public:
    TLxCSV() = default;

    // Loads and parses a file. On failure (missing, unreadable) returns false
    // and leaves the table exactly as it was; never throws.
    bool LoadFromFile(std::string_view fileName);
    // Rebuilds the rows from the lines. A row is as wide as the widest row
    // up to it (and the column count before the call): cells beyond a line's
    // own fields are empty.
    void ParseCsv();

    // The cell at a 1-based column and 0-based row, or "列を選択してください"
    // for column 0, a row outside the table or a column beyond the row. The
    // reference lives until the table changes.
    const std::string& CsvCell(std::int32_t column, std::int32_t row) const;
    // The column's cells of the first maxRows rows, each followed by CR LF;
    // an earlier row narrower than the column shows an empty line.
    std::string GetColumnPreview(std::int32_t column, std::int32_t maxRows) const;

    // The merge-table block: loaded flag, row count, column count, the lines
    // joined with CR LF. Reading checks the counts (ReadError) and rebuilds
    // the rows at once; a later ParseCsv changes nothing. On a ReadError the
    // table is unchanged.
    void SaveToStream(Stream& stream) const;
    void LoadFromStream(Stream& stream);

    // The loaded flag and lines, parsed afresh (column count from 0).
    std::unique_ptr<TLxCSV> Clone() const;
    void Clear();

    bool IsLoaded() const { return loaded_; }
    std::int32_t GetRowCount() const { return rowCount_; }
    std::int32_t GetColCount() const { return colCount_; }
    const std::vector<std::string>& GetLines() const { return lines_; }

private:
    // A row keeps only its own fields; its width (the column count when it
    // was parsed) says how many cells it has. Padding every row out to the
    // width would let one wide line times many empty lines exhaust memory.
    struct Row {
        std::vector<std::string> Fields;
        std::int32_t Width = 0;
    };

    bool loaded_ = false;
    std::vector<std::string> lines_;
    std::vector<Row> rows_;
    std::int32_t rowCount_ = 0;
    std::int32_t colCount_ = 0;
};

} // namespace lx
