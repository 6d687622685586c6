#include "designer/model/PagePlan.h"

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <climits>

namespace lx {

namespace {

std::int64_t SheetsFor(std::int64_t records, std::int32_t perSheet)
{
    if (records <= 0 || perSheet <= 0)
        return 1;
    return (records + perSheet - 1) / perSheet;
}

} // namespace

PagePlan::PagePlan(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV* mergeTable)
    : document_(document), layout_(layout), mergeTable_(mergeTable)
{
}

std::int32_t PagePlan::LabelCount() const
{
    const auto cells = static_cast<std::int32_t>(std::min<std::size_t>(layout_.Cells.size(), INT32_MAX));
    return std::clamp(layout_.LabelCount, 0, cells);
}

bool PagePlan::HasFirstCell() const { return document_.GetFaceCount() > 0; }

bool PagePlan::RecordByRecord() const
{
    return HasFirstCell() && document_.GetSingleMode() && (document_.HasMergeObjects() || document_.HasSerialObjects());
}

std::int32_t PagePlan::PageCount() const
{
    if (!HasFirstCell())
        return 1;
    const std::int32_t n = LabelCount();
    const std::int64_t merge =
        document_.HasMergeObjects() && mergeTable_ ? SheetsFor(mergeTable_->GetRowCount(), n) : 0;
    const std::int64_t serial = document_.HasSerialObjects() ? SheetsFor(document_.GetSerialRecordCount(), n) : 0;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::max(merge, serial), 1, INT32_MAX));
}

std::int64_t PagePlan::ItemCount() const
{
    // A multi-mode sheet prints every cell from its own design, whatever the
    // first cell holds.
    if (!RecordByRecord())
        return LabelCount();
    const std::int64_t rows = mergeTable_ ? mergeTable_->GetRowCount() : 0;
    return std::max<std::int64_t>(rows, document_.GetSerialRecordCount());
}

PlannedLabel PagePlan::LabelOfCell(std::int32_t page, std::int32_t cell) const
{
    const std::int64_t first = std::int64_t{page - 1} * LabelCount();
    return {cell, document_.GetSingleMode() ? 0 : cell, RecordByRecord() ? first + cell : -1};
}

std::vector<PlannedLabel> PagePlan::LabelsOfPage(std::int32_t page) const
{
    std::vector<PlannedLabel> labels;
    if (!HasFirstCell() || page < 1)
        return labels;
    const std::int32_t cells = LabelCount();
    const std::int64_t first = std::int64_t{page - 1} * cells;
    const std::int64_t items = ItemCount();
    for (std::int32_t i = 0; i < cells && first + i < items; ++i) {
        const PlannedLabel label = LabelOfCell(page, i);
        // A design with fewer cells than its layout leaves the others empty.
        if (label.face < document_.GetFaceCount())
            labels.push_back(label);
    }
    return labels;
}

int MmToDots(double mm, double dpi)
{
    // Values from a damaged file may be huge or not numbers at all; they are
    // held to a range that every drawing call can take.
    constexpr double kLimit = 1e6;
    const double pixels = RoundHalfEven(mm * dpi / 25.4);
    if (!(pixels > -kLimit))
        return static_cast<int>(-kLimit);
    return static_cast<int>(pixels < kLimit ? pixels : kLimit);
}

Rect LabelCellPlace(const TlxLblInfo& layout, std::int32_t i, double shiftX, double shiftY, double dpiX, double dpiY)
{
    const int left = MmToDots(layout.GetLabelLeft(i) + shiftX, dpiX);
    const int top = MmToDots(layout.GetLabelTop(i) + shiftY, dpiY);
    return {left, top, left + MmToDots(layout.GetLabelWidth(i), dpiX), top + MmToDots(layout.GetLabelHeight(i), dpiY)};
}

} // namespace lx
