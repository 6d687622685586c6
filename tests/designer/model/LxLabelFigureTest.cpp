#include "designer/model/LxLabelFigure.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

TEST(LabelFigure, OwnPartIsTenLittleEndianBytesAndSurvivesLoadAndClone)
{
    TLxLabelObjectFigure figure;
    EXPECT_EQ(Hex(lxtest::OwnPart(figure)), "00 00 00 00 00 00 00 00 00 00");
    figure.SetLineColor(0x80123456);
    figure.SetFigureType(FigureFilledEllipse);
    figure.SetLineWidth(99);
    figure.SetLineType(4);
    figure.SetNotPrint(1);
    EXPECT_EQ(Hex(lxtest::OwnPart(figure)), "56 34 12 80 07 63 00 00 00 04");
    lxtest::ExpectRoundTrips(figure);
}
