#include "designer/model/LxLabelFigure.h"

#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

TEST(LabelFigure, OwnPartIsTenLittleEndianBytesAndSurvivesLoadAndClone)
{
    TLxLabelObjectFigure figure;
    EXPECT_EQ(figure.GetName(), Sjis("図形シート"));
    EXPECT_EQ(Hex(lxtest::OwnPart(figure)), "00 00 00 00 00 00 00 00 00 00");
    figure.SetLineColor(0x80123456);
    figure.SetFigureType(FigureFilledEllipse);
    figure.SetLineWidth(99);
    figure.SetLineType(4);
    figure.SetNotPrint(1);
    EXPECT_EQ(Hex(lxtest::OwnPart(figure)), "56 34 12 80 07 63 00 00 00 04");
    lxtest::ExpectRoundTrips(figure);
}

TEST(LabelFigure, DrawnInItsOwnBoxColourAndType)
{
    const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, 20, 10, 0);
    list.AddFigure();
    auto& figure = dynamic_cast<TLxLabelObjectFigure&>(*list.GetObject(0));
    figure.SetFigureType(FigureFilledRectangle);
    figure.SetLineColor(0x0000FF);
    figure.SetLeft(2);
    figure.SetTop(3);
    figure.SetWidth(12);
    figure.SetHeight(4);
    Bitmap cell = lxtest::DrawCell(list);
    const lxtest::InkBox ink = lxtest::FindInk(cell);
    EXPECT_EQ(ink.left, 20);
    EXPECT_EQ(ink.top, 30);
    EXPECT_EQ(lxtest::CountColor(cell, 0x0000FF), 120 * 40);
    EXPECT_EQ(ink.count, 120 * 40);

    figure.SetFigureType(FigureHorizontalLine); // a solid 1 mm line: 10 pixels thick
    figure.SetLineWidth(10);
    EXPECT_EQ(lxtest::FindInk(lxtest::DrawCell(list)).Height(), 10);
}
