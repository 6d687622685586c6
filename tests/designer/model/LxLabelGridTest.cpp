#include "designer/model/LxLabelGrid.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

TEST(LabelGrid, NewGridOwnPartIsTheTwentySixDefaultBytes)
{
    const TLxLabelObjectGrid grid;
    EXPECT_EQ(grid.GetKind(), KindGrid);
    EXPECT_EQ(grid.GetName(), Sjis("格子模様シート"));
    EXPECT_EQ(Hex(lxtest::OwnPart(grid)), "05000000" "03000000" "00000000" "00000000" "01000000" "03000000" "02" "00");
}

TEST(LabelGrid, EachFieldHasItsOwnPlaceInTheRecord)
{
    TLxLabelObjectGrid grid;
    grid.SetColumns(-1);
    grid.SetRows(0x01020304);
    grid.SetInnerLineColor(0x00AABBCC);
    grid.SetOuterLineColor(0x80000008);
    grid.SetInnerLineWidth(11);
    grid.SetOuterLineWidth(22);
    grid.SetInnerLineType(3);
    grid.SetOuterLineType(4);
    const std::string own = lxtest::OwnPart(grid);
    EXPECT_EQ(Hex(own), "FFFFFFFF" "04030201" "CCBBAA00" "08000080" "0B000000" "16000000" "03" "04");

    const std::string record = lxtest::Record(grid);
    const auto loaded = lxtest::Reloaded<TLxLabelObjectGrid>(record);
    EXPECT_EQ(loaded->GetColumns(), -1);
    EXPECT_EQ(loaded->GetRows(), 0x01020304);
    EXPECT_EQ(loaded->GetInnerLineColor(), 0x00AABBCCu);
    EXPECT_EQ(loaded->GetOuterLineColor(), 0x80000008u);
    EXPECT_EQ(loaded->GetInnerLineWidth(), 11);
    EXPECT_EQ(loaded->GetOuterLineWidth(), 22);
    EXPECT_EQ(loaded->GetInnerLineType(), 3);
    EXPECT_EQ(loaded->GetOuterLineType(), 4);
    EXPECT_EQ(lxtest::Record(*loaded), record);
}

TEST(LabelGrid, CloneEqualsTheSourceInOwnAndCommonFields)
{
    TLxLabelObjectGrid grid;
    grid.SetColumns(50);
    grid.SetRows(1);
    grid.SetOuterLineType(1);
    grid.SetInnerLineColor(0xFF);
    grid.SetName(Sjis("表"));
    grid.SetTop(33.3);
    grid.SetCanMove(0);
    grid.SetSelected(1);
    const auto clone = grid.Clone();
    ASSERT_NE(dynamic_cast<TLxLabelObjectGrid*>(clone.get()), nullptr);
    EXPECT_EQ(lxtest::Record(*clone), lxtest::Record(grid));
}

TEST(LabelGrid, ACutOwnPartIsAReadError)
{
    const std::string record = lxtest::Record(TLxLabelObjectGrid());
    for (std::size_t drop : {1u, 2u, 5u, 25u, 26u})
        EXPECT_THROW(lxtest::Reloaded<TLxLabelObjectGrid>(record.substr(0, record.size() - drop)), ReadError);
}
