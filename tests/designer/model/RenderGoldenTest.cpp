// A whole label rendered at 600 dpi and compared with a reviewed image: text
// may differ only slightly where the font rasteriser may, everything else
// must match to the pixel. LX_UPDATE_GOLDEN=1 writes the image afresh (look
// at it before checking it in).
#include "designer/model/LxLabelObjectManager.h"

#include "LabelTestSupport.h"
#include "PaperTestFiles.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "platform/fonts/FaceList.h"
#include "platform/image/PngImage.h"
#include "platform/text/Cp932.h"
#include "support/ImageOracles.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lx;

namespace {

const char* const kGolden = "tests/designer/model/golden/label_600dpi.png";

struct Zone {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

TLxLabelObjectString& AddText(TlxLabelObjectManager& list, std::unique_ptr<TLxLabelObjectString> text, const char* utf8,
                              double left, double top)
{
    text->SetText(Sjis(utf8));
    text->SetLeft(left);
    text->SetTop(top);
    TLxLabelObjectString& added = *text;
    list.AddObject(std::move(text), false);
    return added;
}

void AddFigure(TlxLabelObjectManager& list, std::uint8_t type, std::uint32_t color, std::int32_t width,
               std::uint8_t style, double left, double top, double w, double h)
{
    auto figure = std::make_unique<TLxLabelObjectFigure>();
    figure->SetFigureType(type);
    figure->SetLineColor(color);
    figure->SetLineWidth(width);
    figure->SetLineType(style);
    figure->SetLeft(left);
    figure->SetTop(top);
    figure->SetWidth(w);
    figure->SetHeight(h);
    list.AddObject(std::move(figure), false);
}

// Text in front, then figures, the grid at the back.
void BuildLabel(TlxLabelObjectManager& list)
{
    TLxLabelObjectString& title =
        AddText(list, std::make_unique<TLxLabelObjectString>(), "ラベル印刷の見本\r\nLabel 2024-0815", 4, 3);
    title.SetFontSize(14);
    title.SetFontStyle(kFontBold);
    TLxLabelObjectString& centred = AddText(list, std::make_unique<TLxLabelObjectString>(), "中央揃え\r\n右", 4, 19);
    centred.SetWidth(30);
    centred.SetAlignment(1);
    centred.SetFontColor(0x800000);
    TLxLabelObjectString& vertical =
        AddText(list, std::make_unique<TLxLabelObjectString>(), "縦書きの文字\r\nＡＢ－12", 55, 3);
    vertical.SetVerticalWriting(1);
    vertical.SetFontSize(12);
    vertical.SetCharSpacing(0.5);
    auto serial = std::make_unique<TLxLabelObjectRenbanString>(6);
    serial->SetStartNumber("0001");
    serial->SetFinishNumber("9999");
    AddText(list, std::move(serial), "", 40, 40).SetFontStyle(kFontUnderline);

    AddFigure(list, 4, 0xC00000, 3, 0, 2, 2, 48, 15);
    AddFigure(list, 5, 0x0000FF, 0, 2, 38, 18, 14, 10);
    AddFigure(list, 6, 0x00A000, 0, 0, 62, 42, 6, 5);
    AddFigure(list, 7, 0x008080, 1, 0, 52, 37, 8, 8);
    AddFigure(list, 2, 0x000000, 2, 0, 38, 30, 12, 6);
    AddFigure(list, 1, 0x808080, 0, 1, 2, 17, 48, 1);
    AddFigure(list, 0, 0xFF00FF, 0, 3, 70, 2, 2, 44);

    auto grid = std::make_unique<TLxLabelObjectGrid>();
    grid->SetColumns(4);
    grid->SetRows(3);
    grid->SetInnerLineColor(0x606060);
    grid->SetOuterLineColor(0x000000);
    grid->SetLeft(4);
    grid->SetTop(28);
    grid->SetWidth(30);
    grid->SetHeight(15);
    list.AddObject(std::move(grid), false);
}

// Where glyphs may fall: each text object's box with a margin, and the
// fixed offset of vertical columns to the right.
std::vector<Zone> TextZones(TlxLabelObjectManager& list)
{
    std::vector<Zone> zones;
    for (int i = 0; i < list.GetObjectCount(); ++i) {
        const auto* text = dynamic_cast<const TLxLabelObjectString*>(list.GetObject(i));
        if (!text)
            continue;
        const int margin = list.MmToPixels(kAxisHorizontal, 1);
        const int left = list.MmToPixels(kAxisHorizontal, text->GetLeft());
        const int top = list.MmToPixels(kAxisVertical, text->GetTop());
        zones.push_back({left - margin, top - margin,
                         left + list.MmToPixels(kAxisHorizontal, text->GetWidth()) + margin + 40,
                         top + list.MmToPixels(kAxisVertical, text->GetHeight()) + margin});
    }
    return zones;
}

} // namespace

TEST(RenderGolden, JapaneseTextFiguresAndGridMatchTheReviewedImage)
{
    TlxLabelObjectManager list(TrueTypeFaceList(), 75, 48, 0);
    BuildLabel(list);
    const Bitmap cell = lxtest::RenderCell(list, true);
    ASSERT_EQ(list.GetDpiY(), 600.0) << "the reviewed image is at 600 dpi";

    const std::string path = lxtest::SourcePath(kGolden);
    if (const char* update = std::getenv("LX_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        lxtest::WriteBytes(path, EncodePng(cell));
        GTEST_SKIP() << "wrote " << path;
    }
    const lxtest::PngFacts golden = lxtest::ReadPngWithLibpng(lxtest::ReadBytes(path));
    ASSERT_TRUE(golden.ok) << golden.error;
    ASSERT_EQ(golden.width, cell.Width());
    ASSERT_EQ(golden.height, cell.Height());

    const std::vector<Zone> zones = TextZones(list);
    std::vector<int> zoneInk(zones.size());
    std::vector<int> zoneDiff(zones.size());
    int outsideDiff = 0;
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x) {
            const std::uint32_t want = golden.argb[std::size_t(y) * golden.width + x] & 0xFFFFFFu;
            const bool differs = (cell.Pixel(x, y) & 0xFFFFFFu) != want;
            bool inZone = false;
            for (std::size_t z = 0; z < zones.size(); ++z)
                if (zones[z].Contains(x, y)) {
                    inZone = true;
                    zoneInk[z] += want != 0xFFFFFF;
                    zoneDiff[z] += differs;
                }
            outsideDiff += differs && !inZone;
        }
    EXPECT_EQ(outsideDiff, 0) << "figures and grid must match to the pixel";
    for (std::size_t z = 0; z < zones.size(); ++z) {
        SCOPED_TRACE(z);
        EXPECT_GT(zoneInk[z], 200);
        EXPECT_LE(zoneDiff[z], std::max(20, zoneInk[z] / 16)) << "text differs beyond rasteriser noise";
    }
}
