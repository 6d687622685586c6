#include "designer/model/LxLabelGrid.h"

#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

TEST(LabelGrid, OwnPartIsTwentySixBytesInDeclaredOrderAndSurvivesLoadAndClone)
{
    TLxLabelObjectGrid grid;
    EXPECT_EQ(grid.GetName(), Sjis("格子模様シート"));
    EXPECT_EQ(Hex(lxtest::OwnPart(grid)), "05 00 00 00 03 00 00 00 00 00 00 00 00 00 00 00 "
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
    EXPECT_EQ(Hex(lxtest::OwnPart(grid)), "FF FF FF FF 04 03 02 01 CC BB AA 00 08 00 00 80 "
                                          "0B 00 00 00 16 00 00 00 03 04");
    lxtest::ExpectRoundTrips(grid);
}

namespace {

// A 20 x 10 mm grid at (1, 1) with solid red inner lines, ten pixels to the mm.
Bitmap DrawGrid(std::int32_t columns, std::int32_t rows)
{
    const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, 22, 12, 0);
    list.AddGrid();
    auto& grid = dynamic_cast<TLxLabelObjectGrid&>(*list.GetObject(0));
    grid.SetColumns(columns);
    grid.SetRows(rows);
    grid.SetInnerLineColor(0x0000FF);
    grid.SetInnerLineType(0);
    grid.SetWidth(20);
    grid.SetHeight(10);
    return lxtest::DrawCell(list);
}

} // namespace

TEST(LabelGrid, InnerLinesDivideTheBoxOneByOneIsOnlyTheFrameAndHugeCountsStayBounded)
{
    const Bitmap five = DrawGrid(5, 3);
    auto redNear = [&](int x, int y, bool vertical) { // within the pen's pixel
        for (int d = -1; d <= 1; ++d)
            if (lxtest::IsColor(five, vertical ? x + d : x, vertical ? y : y + d, 0x0000FF))
                return true;
        return false;
    };
    for (int t = 1; t < 5; ++t)
        EXPECT_TRUE(redNear(10 + 40 * t, 50, true)) << t;
    EXPECT_TRUE(redNear(30, 10 + 33, false));
    EXPECT_TRUE(redNear(30, 10 + 67, false));
    EXPECT_FALSE(redNear(30, 10 + 50, false));
    EXPECT_NEAR(lxtest::CountColor(five, 0x0000FF), 4 * 97 + 2 * 197, 12);

    const Bitmap one = DrawGrid(1, 1);
    EXPECT_EQ(lxtest::FindInk(one).Width(), lxtest::FindInk(five).Width());
    EXPECT_EQ(lxtest::FindInk(one, 20, 20, 200, 100).count, 0);

    // Two billion lines per axis would freeze the render: one per pixel at most.
    EXPECT_GT(lxtest::CountColor(DrawGrid(0x7FFFFFFF, 0x7FFFFFFF), 0x0000FF), 190 * 90);
    EXPECT_EQ(lxtest::CountColor(DrawGrid(-5, -0x7FFFFFFF), 0x0000FF), 0);
}
