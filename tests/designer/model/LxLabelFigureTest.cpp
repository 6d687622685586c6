#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelImage.h"

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

TEST(LabelFigure, FiguresPicturesGridsAndEffectTextTravelThroughTheObjectBlock)
{
    const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, 50, 30, 0);
    list.AddFigure();
    list.AddImage();
    dynamic_cast<TLxLabelObjectImage&>(*list.GetObject(0)).GetPicture().SetBitmap(Bitmap(3, 2, 0xFF123456));
    list.AddGrid();
    list.AddEffects();
    lx::MemoryStream block;
    list.SaveObjects(block);
    block.Seek(0);
    TlxLabelObjectManager loaded(faces, 50, 30, 0);
    loaded.LoadObjects(block, nullptr);
    const auto copy = list.CloneLabelForRecord(nullptr, 0);
    ASSERT_EQ(loaded.GetObjectCount(), 4);
    const std::uint8_t kinds[] = {KindEffects, KindGrid, KindImage, KindFigure};
    for (int i = 0; i < 4; ++i) {
        const TLxLableObjectBase& source = *list.GetObject(i);
        const TLxLableObjectBase& read = *loaded.GetObject(i);
        EXPECT_EQ(read.GetKind(), kinds[i]);
        EXPECT_EQ(typeid(read), typeid(source));
        EXPECT_EQ(lxtest::Record(read), lxtest::Record(source));
        EXPECT_EQ(lxtest::Record(*copy->GetObject(i)), lxtest::Record(source));
    }
}
