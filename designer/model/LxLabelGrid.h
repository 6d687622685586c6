#pragma once
// The grid object (kind 9): the object's box divided into Columns x Rows
// equal boxes, with inner lines and a frame that each have their own colour,
// width and pen style.
#include <cstdint>
#include <memory>

#include "designer/model/LxLabelBase.h"

namespace lx {

class TLxLabelObjectGrid : public TLxLableObjectBase {
public:
    // Name "格子模様シート", kind 9, 5 x 3 boxes, dotted inner lines of 0.1 mm
    // and a solid 0.3 mm frame, all black.
    TLxLabelObjectGrid();

    std::optional<std::uint8_t> ClassKind() const override { return KindGrid; }
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // Stored as they are; the drawing copes with any count.
    std::int32_t GetColumns() const { return columns_; }
    void SetColumns(std::int32_t columns) { columns_ = columns; }
    std::int32_t GetRows() const { return rows_; }
    void SetRows(std::int32_t rows) { rows_ = rows; }
    std::uint32_t GetInnerLineColor() const { return innerLineColor_; }
    void SetInnerLineColor(std::uint32_t color) { innerLineColor_ = color; }
    std::uint32_t GetOuterLineColor() const { return outerLineColor_; }
    void SetOuterLineColor(std::uint32_t color) { outerLineColor_ = color; }
    // Tenths of a millimetre; count for solid lines only.
    std::int32_t GetInnerLineWidth() const { return innerLineWidth_; }
    void SetInnerLineWidth(std::int32_t width) { innerLineWidth_ = width; }
    std::int32_t GetOuterLineWidth() const { return outerLineWidth_; }
    void SetOuterLineWidth(std::int32_t width) { outerLineWidth_ = width; }
    // Pen styles: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot.
    std::uint8_t GetInnerLineType() const { return innerLineType_; }
    void SetInnerLineType(std::uint8_t type) { innerLineType_ = type; }
    std::uint8_t GetOuterLineType() const { return outerLineType_; }
    void SetOuterLineType(std::uint8_t type) { outerLineType_ = type; }

    // The eight fields in declared order: six int32 and two bytes, 26 bytes.
    // On a ReadError the fields read
    // before it keep their new values.
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

private:
    std::int32_t columns_ = 5;
    std::int32_t rows_ = 3;
    std::uint32_t innerLineColor_ = 0;
    std::uint32_t outerLineColor_ = 0;
    std::int32_t innerLineWidth_ = 1;
    std::int32_t outerLineWidth_ = 3;
    std::uint8_t innerLineType_ = 2;
    std::uint8_t outerLineType_ = 0;
};

} // namespace lx
