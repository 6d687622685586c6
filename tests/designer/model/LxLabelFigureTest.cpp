#include "designer/model/LxLabelFigure.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

TEST(LabelFigure, NewFigureIsABlackVerticalLineWithATenByteOwnPart)
{
    const TLxLabelObjectFigure figure;
    EXPECT_EQ(figure.GetKind(), KindFigure);
    EXPECT_EQ(figure.GetName(), Sjis("図形シート"));
    EXPECT_EQ(figure.GetWidth(), 5.0);
    EXPECT_EQ(Hex(lxtest::OwnPart(figure)), "00000000" "00" "00000000" "00");
    const std::string record = lxtest::Record(figure);
    EXPECT_EQ(record.size(), 4 + Sjis("図形シート").size() + 32 + 5 + 10);
}

TEST(LabelFigure, FieldsAreStoredLittleEndianInTheirOrder)
{
    TLxLabelObjectFigure figure;
    figure.SetLineColor(0x00123456);
    figure.SetFigureType(FigureFilledEllipse);
    figure.SetLineWidth(99);
    figure.SetLineType(4);
    EXPECT_EQ(Hex(lxtest::OwnPart(figure)), "56341200" "07" "63000000" "04");
}

TEST(LabelFigure, SaveLoadAndCloneKeepEveryField)
{
    struct Case {
        std::uint32_t color;
        std::uint8_t type;
        std::int32_t width;
        std::uint8_t lineType;
    };
    const Case cases[] = {{0xFF, 0, 1, 0}, {0x80000005, 3, -7, 2}, {0xFFFFFF, 7, 0x7FFFFFFF, 9}, {0, 200, 30, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.type));
        TLxLabelObjectFigure figure;
        figure.SetLineColor(c.color);
        figure.SetFigureType(c.type);
        figure.SetLineWidth(c.width);
        figure.SetLineType(c.lineType);
        figure.SetName("f");
        figure.SetLeft(2.5);
        figure.SetNotPrint(1);
        figure.SetSelected(1);
        const std::string record = lxtest::Record(figure);

        const auto loaded = lxtest::Reloaded<TLxLabelObjectFigure>(record);
        EXPECT_EQ(loaded->GetLineColor(), c.color);
        EXPECT_EQ(loaded->GetFigureType(), c.type);
        EXPECT_EQ(loaded->GetLineWidth(), c.width);
        EXPECT_EQ(loaded->GetLineType(), c.lineType);
        EXPECT_EQ(lxtest::Record(*loaded), record);

        const auto clone = figure.Clone();
        ASSERT_NE(dynamic_cast<TLxLabelObjectFigure*>(clone.get()), nullptr);
        EXPECT_EQ(lxtest::Record(*clone), record);
    }
}

TEST(LabelFigure, ARecordCutInItsOwnPartIsAReadError)
{
    const std::string record = lxtest::Record(TLxLabelObjectFigure());
    for (std::size_t drop = 1; drop <= 10; ++drop) {
        SCOPED_TRACE(drop);
        EXPECT_THROW(lxtest::Reloaded<TLxLabelObjectFigure>(record.substr(0, record.size() - drop)), ReadError);
    }
}
