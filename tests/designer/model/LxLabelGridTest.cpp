#include "designer/model/LxLabelGrid.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

TEST(LabelGrid, OwnPartIsTwentySixBytesInDeclaredOrderAndSurvivesLoadAndClone)
{
    TLxLabelObjectGrid grid;
    EXPECT_EQ(Hex(lxtest::OwnPart(grid)),
              "05 00 00 00 03 00 00 00 00 00 00 00 00 00 00 00 "
              "01 00 00 00 03 00 00 00 02 00");
    grid.SetColumns(-1);
    grid.SetRows(0x01020304);
    grid.SetInnerLineColor(0x00AABBCC);
    grid.SetOuterLineColor(0x80000008);
    grid.SetInnerLineWidth(11);
    grid.SetOuterLineWidth(22);
    grid.SetInnerLineType(3);
    grid.SetOuterLineType(4);
    grid.SetSelected(1);
    EXPECT_EQ(Hex(lxtest::OwnPart(grid)),
              "FF FF FF FF 04 03 02 01 CC BB AA 00 08 00 00 80 "
              "0B 00 00 00 16 00 00 00 03 04");
    lxtest::ExpectRoundTrips(grid);
}
