// The page planner without windows: how many sheets a design prints, which
// face and record each cell of a page shows, and where each label lies.
#include "../windows/PreviewTesting.h"

#include "designer/model/PagePlan.h"

#include <gtest/gtest.h>

using namespace lx;
using namespace lxtest;

namespace {

std::vector<std::int64_t> Records(const std::vector<PlannedLabel>& labels)
{
    std::vector<std::int64_t> records;
    for (const PlannedLabel& label : labels)
        records.push_back(label.record);
    return records;
}

} // namespace

TEST(PagePlan, RecordsFillSheetsCellByCell)
{
    const TlxLblInfo sheet = TenCellSheet();
    TlxLabelManager document(sheet.LabelCount, sheet);
    document.SetSingleMode(true);
    auto table = std::make_shared<TLxCSV>(MakeTable(std::vector<std::string>(25, "x")));
    AddMergeText(document, table);
    const PagePlan plan(document, sheet, table.get());
    EXPECT_TRUE(plan.RecordByRecord());
    EXPECT_EQ(plan.PageCount(), 3);
    EXPECT_EQ(plan.ItemCount(), 25);
    EXPECT_EQ(Records(plan.LabelsOfPage(1)), (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    const std::vector<PlannedLabel> last = plan.LabelsOfPage(3);
    ASSERT_EQ(last.size(), 5u);
    for (std::size_t i = 0; i < last.size(); ++i) {
        EXPECT_EQ(last[i].cell, static_cast<std::int32_t>(i));
        EXPECT_EQ(last[i].face, 0) << "one design for every cell";
        EXPECT_EQ(last[i].record, 20 + static_cast<std::int64_t>(i));
    }
    EXPECT_TRUE(plan.LabelsOfPage(4).empty());
    EXPECT_TRUE(plan.LabelsOfPage(0).empty());

    // More serial numbers than rows: they set the count, the plan follows.
    AddSerial(document, 40);
    EXPECT_EQ(plan.PageCount(), 4);
    EXPECT_EQ(plan.ItemCount(), 40);
    EXPECT_EQ(plan.LabelsOfPage(4).size(), 10u);
}

TEST(PagePlan, DesignsWithoutRecordsPrintOneSheetOfTheirFaces)
{
    const TlxLblInfo sheet = TenCellSheet();
    // Multi mode: each cell its own face; a design of fewer faces leaves
    // the other cells empty.
    TlxLabelManager multi(3, sheet);
    multi.SetSingleMode(false);
    const PagePlan plan(multi, sheet, nullptr);
    EXPECT_FALSE(plan.RecordByRecord());
    EXPECT_EQ(plan.PageCount(), 1);
    const std::vector<PlannedLabel> labels = plan.LabelsOfPage(1);
    ASSERT_EQ(labels.size(), 3u);
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(labels[static_cast<std::size_t>(i)].face, i);
        EXPECT_EQ(labels[static_cast<std::size_t>(i)].record, -1);
    }
    // Single mode without merge or serial objects: the one face everywhere.
    TlxLabelManager single(sheet.LabelCount, sheet);
    single.SetSingleMode(true);
    const PagePlan same(single, sheet, nullptr);
    EXPECT_EQ(same.LabelsOfPage(1).size(), 10u);
    EXPECT_EQ(same.LabelsOfPage(1)[9].face, 0);
    EXPECT_EQ(same.LabelsOfPage(1)[9].record, -1);
}

TEST(PagePlan, ALayoutCountingMoreCellsThanItHasPrintsTheCellsItHas)
{
    TlxLblInfo sheet = TenCellSheet();
    TlxLabelManager document(sheet.LabelCount, sheet);
    sheet.LabelCount = 12;
    EXPECT_EQ(PagePlan(document, sheet, nullptr).LabelCount(), 10);
    sheet.LabelCount = -3;
    const PagePlan none(document, sheet, nullptr);
    EXPECT_EQ(none.LabelCount(), 0);
    EXPECT_EQ(none.PageCount(), 1);
    EXPECT_TRUE(none.LabelsOfPage(1).empty());
}

TEST(PagePlan, EveryLabelOfASheetGetsTheSamePixelSize)
{
    // 86.4 x 42.3 mm labels from 18.6 mm at 600 dpi: the corners round from
    // their own positions, the sizes from the label's size.
    const TlxLblInfo sheet = MakeSheet(
        210, 297,
        {TLblPosition(lxLineNomal, 18.6, 21.6, 86.4, 42.3), TLblPosition(lxLineNomal, 105, 63.9, 86.4, 42.3)});
    const Rect first = LabelCellPlace(sheet, 0, 0, 0, 600, 600);
    const Rect second = LabelCellPlace(sheet, 1, 0, 0, 600, 600);
    EXPECT_EQ(first, (Rect{439, 510, 439 + 2041, 510 + 999}));
    EXPECT_EQ(second.Width(), first.Width());
    EXPECT_EQ(second.Height(), first.Height());
    EXPECT_EQ(second.left, 2480);
    // A user's shift moves the corner only.
    const Rect shifted = LabelCellPlace(sheet, 0, 1.0, -0.5, 600, 600);
    EXPECT_EQ(shifted.left, 463);
    EXPECT_EQ(shifted.Width(), first.Width());
    EXPECT_EQ(MmToDots(1e300, 600), 1000000) << "damaged values stay drawable";
}
