#pragma once
// The merge text object (kind 5): a front text, the cell of its bound column
// in the row of its record, and a back text, in the text object's font and
// layout. The shown text is computed afresh at every draw.
#include <cstdint>
#include <memory>
#include <string>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelString.h"

namespace lx {

class TLxLabelObjectCsvString : public TLxLabelObjectString {
public:
    // Name "差込文字シート", kind 5, no column bound, empty front and back
    // texts. The table is shared, so it lives as long as any object or undo
    // snapshot bound to it; it may be null (then every cell is the prompt of
    // an unbound column).
    TLxLabelObjectCsvString(std::shared_ptr<const TLxCSV> csv, std::int32_t recordIndex);

    std::optional<std::uint8_t> ClassKind() const override { return KindCsvString; }

    // Bound to a copy of the table, showing the same record; its Text is the
    // source's merged text.
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    // As Clone, bound to another record.
    std::unique_ptr<TLxLableObjectBase> CloneForRecord(std::int32_t recordIndex) const override;
    // Common part, the text object's own part, then RecordIndex, Column,
    // FrontText and BackText.
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // FrontText + the cell (Column, RecordIndex) + BackText; the cell is
    // "列を選択してください" for column 0 or a row or column outside the table.
    std::string GetMergedText() const { return MergedTextFor(recordIndex_); }
    // The same for another record.
    std::string MergedTextFor(std::int32_t recordIndex) const;

    const std::string& GetFrontText() const { return frontText_; }
    void SetFrontText(std::string text) { frontText_ = std::move(text); }
    const std::string& GetBackText() const { return backText_; }
    void SetBackText(std::string text) { backText_ = std::move(text); }
    // 1-based; 0 = no column bound.
    std::int32_t GetColumn() const { return column_; }
    void SetColumn(std::int32_t column) { column_ = column; }
    std::int32_t GetRecordIndex() const override { return recordIndex_; }
    void SetRecordIndex(std::int32_t recordIndex) override { recordIndex_ = recordIndex; }
    const TLxCSV* GetCSV() const override { return csv_.get(); }
    void SetCSV(std::shared_ptr<const TLxCSV> csv) override { csv_ = std::move(csv); }

private:
    std::unique_ptr<TLxLabelObjectCsvString> CopyBoundTo(std::int32_t recordIndex) const;

    std::shared_ptr<const TLxCSV> csv_;
    std::int32_t recordIndex_;
    std::int32_t column_ = 0;
    std::string frontText_;
    std::string backText_;
};

} // namespace lx
