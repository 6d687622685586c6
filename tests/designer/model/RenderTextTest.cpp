// Text objects drawn into a label cell, checked on the pixels of the render.
#include "designer/model/LxLabelObjectManager.h"

#include "LabelTestSupport.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "platform/fonts/FaceList.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/MetafileImage.h"
#include "platform/printing/Printer.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <utility>

#include <cmath>
#include <limits>

using namespace lx;
using lxtest::FindInk;

namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;

// The size of a text at a pixel height, measured by the font layer alone.
Size Measure(const std::string& face, int pixelHeight, const std::string& text)
{
    Bitmap scratch(1, 1);
    RasterDeviceContext dc(scratch);
    LogFont font;
    font.height = -pixelHeight;
    font.faceName = face;
    font.charSet = kShiftJisCharset;
    dc.SelectFont(font);
    return dc.GetTextExtent(text);
}

int Px(double mm) { return static_cast<int>(std::nearbyint(mm * 600 / 25.4)); }
int Mm(double px) { return static_cast<int>(std::nearbyint(px * 25.4 / 600)); }

struct RenderText : ::testing::Test {
    TlxLabelObjectManager list{TrueTypeFaceList(), 80, 40, 0};

    TLxLabelObjectString& AddText(const std::string& utf8, double left, double top, double width, double height)
    {
        auto text = std::make_unique<TLxLabelObjectString>();
        text->SetText(Sjis(utf8));
        text->SetLeft(left);
        text->SetTop(top);
        text->SetWidth(width);
        text->SetHeight(height);
        TLxLabelObjectString& added = *text;
        list.AddObject(std::move(text), true);
        return added;
    }
};

const std::string& Gothic()
{
    static const std::string face = Sjis("ＭＳ ゴシック");
    return face;
}

// 10 points at 600 dpi.
constexpr int kTenPoints = 83;

} // namespace

TEST_F(RenderText, EmptyTextComesBackTwoMillimetresWideAndOneLineTall)
{
    TLxLabelObjectString& text = AddText("", 5, 5, 0.5, 0.5);
    const EnhMetafile label = list.RenderLabel(0);
    // The cell, 80 x 40 mm, at the printer's 600 dpi.
    EXPECT_EQ(label.PixelSize(), (Size{1890, 945}));
    EXPECT_NEAR(label.Header().frame.right - label.Header().frame.left, 8000, 2);
    EXPECT_NO_THROW(MetafileImage().LoadFromBytes(label.Bytes()));

    EXPECT_TRUE(FindInk(lxtest::RenderCell(list)).Empty());
    EXPECT_EQ(text.GetWidth(), 2.0);
    const int line = static_cast<int>(std::nearbyint(1.1 * Measure(Gothic(), kTenPoints, Sjis("あ")).cy));
    EXPECT_EQ(text.GetHeight(), std::max(2, Mm(line)));
}

TEST_F(RenderText, BoxGrowsToTheWidestLineAndLinesStepByTheirPitch)
{
    TLxLabelObjectString& narrow = AddText("ABCDEFGHIJ\r\nAB\r\nABCDE", 5, 5, 3, 3);
    TLxLabelObjectString& wide = AddText("AB", 40, 5, 30.4, 12.6);
    const Bitmap cell = lxtest::RenderCell(list);

    const int widest = Measure(Gothic(), kTenPoints, "ABCDEFGHIJ").cx;
    const int pitch = Measure(Gothic(), kTenPoints, Sjis("あ")).cy;
    EXPECT_EQ(narrow.GetWidth(), Mm(1.01 * widest));
    EXPECT_EQ(narrow.GetHeight(), Mm(std::nearbyint(1.1 * pitch * 3)));
    EXPECT_EQ(wide.GetWidth(), 30.0);
    EXPECT_EQ(wide.GetHeight(), 13.0);

    // The three lines of the narrow object: each starts at its pitch.
    const lxtest::InkBoxes lines = lxtest::InkRows(cell, 0, Px(35));
    ASSERT_EQ(lines.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_GE(lines[k].top, Px(5) + k * 1.1 * pitch);
        EXPECT_LT(lines[k].bottom, Px(5) + (k + 1) * 1.1 * pitch);
    }
    EXPECT_GT(lines[0].Width(), 4 * lines[1].Width());
    const lxtest::InkBox all = FindInk(cell, 0, 0, Px(35), cell.Height());
    EXPECT_GE(all.left, Px(5));
    EXPECT_LT(all.right, Px(5) + widest);
}

// A drawing for print hands the measured boxes back and changes nothing;
// the editor's render gives them to the objects, as they show the text.
TEST_F(RenderText, ADrawingForPrintMeasuresWithoutChangingTheObjects)
{
    AddText("ABCDEFGHIJ\r\nAB", 5, 5, 3, 3);
    AddText("AB", 40, 5, 30.4, 12.6);
    list.SetDpiX(600);
    list.SetDpiY(600);
    const std::string before = lxtest::SavedBytes(*list.GetObject(0)) + lxtest::SavedBytes(*list.GetObject(1));
    EmfRecorder recorder(VirtualPrinterDevice());
    std::vector<MeasuredBox> measured;
    std::as_const(list).DrawObjects(recorder, list.Painter(), true, &measured);
    EXPECT_EQ(lxtest::SavedBytes(*list.GetObject(0)) + lxtest::SavedBytes(*list.GetObject(1)), before);
    // Back to front, each the box the editor's render then gives its object.
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].index, 1);
    EXPECT_EQ(measured[1].index, 0);
    lxtest::RenderCell(list);
    for (const MeasuredBox& box : measured) {
        EXPECT_EQ(box.size.width, list.GetObject(box.index)->GetWidth());
        EXPECT_EQ(box.size.height, list.GetObject(box.index)->GetHeight());
    }
}

TEST_F(RenderText, AlignmentPlacesEachLineInTheBox)
{
    // One object per alignment, a box of 40 mm, each on a row of its own.
    const int advance = Measure(Gothic(), kTenPoints, "I").cx;
    for (std::uint8_t alignment = 0; alignment < 3; ++alignment)
        AddText("I", 10, 5 + 10 * alignment, 40, 5).SetAlignment(alignment);
    const Bitmap cell = lxtest::RenderCell(list);
    const double boxLeft = Px(10);
    const double boxWidth = Px(40);
    const double expectedCentre[] = {boxLeft + advance / 2.0, boxLeft + boxWidth / 2.0,
                                     boxLeft + boxWidth - advance / 2.0};
    for (int alignment = 0; alignment < 3; ++alignment) {
        SCOPED_TRACE(alignment);
        const lxtest::InkBox ink = FindInk(cell, 0, Px(5 + 10 * alignment), cell.Width(), Px(14 + 10 * alignment));
        ASSERT_FALSE(ink.Empty());
        EXPECT_NEAR((ink.left + ink.right + 1) / 2.0, expectedCentre[alignment], 3.0);
    }
}

TEST_F(RenderText, CharacterSpacingWidensEveryStepAndTheBox)
{
    TLxLabelObjectString& plain = AddText("II", 5, 5, 2, 2);
    TLxLabelObjectString& spaced = AddText("II", 5, 20, 2, 2);
    spaced.SetCharSpacing(2);
    const Bitmap cell = lxtest::RenderCell(list);
    const lxtest::InkBox a = FindInk(cell, 0, 0, cell.Width(), Px(15));
    const lxtest::InkBox b = FindInk(cell, 0, Px(15), cell.Width(), cell.Height());
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(b.Width() - a.Width(), Px(2));
    const int advance = Measure(Gothic(), kTenPoints, "II").cx;
    EXPECT_EQ(plain.GetWidth(), std::max(2, Mm(1.01 * advance)));
    EXPECT_EQ(spaced.GetWidth(), Mm(1.01 * (advance + 2 * Px(2))));
}

TEST_F(RenderText, VerticalWritingSetsTheFirstLineInTheRightHandColumn)
{
    TLxLabelObjectString& text = AddText("ああ\r\nあ", 10, 5, 2, 2);
    text.SetVerticalWriting(1);
    const Bitmap cell = lxtest::RenderCell(list);
    const lxtest::InkBoxes columns = lxtest::InkColumns(cell, 0, cell.Height());
    ASSERT_EQ(columns.size(), 2u);
    const lxtest::InkBox& left = columns[0];
    const lxtest::InkBox& right = columns[1];
    EXPECT_GT(right.Height(), 1.8 * left.Height());
    EXPECT_NEAR(left.top, right.top, 2);

    // Columns step right to left by 1.1 x the width of "あ"; the box covers
    // both columns and the taller line.
    const int letter = Measure("@" + Gothic(), kTenPoints, Sjis("あ")).cx;
    EXPECT_NEAR(right.left - left.left, 1.1 * letter, 1.0);
    EXPECT_EQ(text.GetWidth(), Mm(std::nearbyint(letter * 2 * 1.1)));
    EXPECT_EQ(text.GetHeight(), Mm(2 * letter));
}

TEST_F(RenderText, VerticalFacesSetJapaneseUprightAndLatinOnItsSide)
{
    AddText("あ", 5, 5, 2, 2);
    AddText("あ", 40, 5, 2, 2).SetVerticalWriting(1);
    AddText("I", 5, 25, 2, 2);
    AddText("I", 40, 25, 2, 2).SetVerticalWriting(1);
    const Bitmap cell = lxtest::RenderCell(list);
    auto crop = [&](int x0, int y0, int x1, int y1) {
        Bitmap part(x1 - x0, y1 - y0);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                part.SetPixel(x - x0, y - y0, cell.Pixel(x, y));
        return lxtest::CropInk(part);
    };
    // The "@" twin of the face draws the very glyph of horizontal writing.
    const Bitmap across = crop(0, 0, Px(35), Px(20));
    const Bitmap down = crop(Px(35), 0, cell.Width(), Px(20));
    ASSERT_FALSE(across.Empty());
    EXPECT_TRUE(across == down);
    // A half-width letter lies on its side.
    const lxtest::InkBox upright = FindInk(cell, 0, Px(20), Px(35), cell.Height());
    const lxtest::InkBox sideways = FindInk(cell, Px(35), Px(20), cell.Width(), cell.Height());
    EXPECT_GT(upright.Height(), 2 * upright.Width());
    EXPECT_GT(sideways.Width(), 2 * sideways.Height());
}

TEST_F(RenderText, PrintModeLeavesOutNotPrintAndHiddenObjectsNeverShow)
{
    AddText("■", 5, 5, 2, 2).SetFontColor(kGreen);
    TLxLabelObjectString& notPrinted = AddText("■", 20, 5, 2, 2);
    notPrinted.SetFontColor(kRed);
    notPrinted.SetNotPrint(1);
    TLxLabelObjectString& hidden = AddText("■", 35, 5, 2, 2);
    hidden.SetFontColor(kBlue);
    hidden.SetCanDisplay(0);

    const Bitmap editor = lxtest::RenderCell(list, false);
    EXPECT_GT(lxtest::CountColor(editor, kGreen), 1000);
    EXPECT_GT(lxtest::CountColor(editor, kRed), 1000);
    EXPECT_EQ(lxtest::CountColor(editor, kBlue), 0);
    const Bitmap print = lxtest::RenderCell(list, true);
    EXPECT_GT(lxtest::CountColor(print, kGreen), 1000);
    EXPECT_EQ(lxtest::CountColor(print, kRed), 0);
    EXPECT_EQ(lxtest::CountColor(print, kBlue), 0);
    // A hidden object keeps its box: it was not measured.
    EXPECT_EQ(hidden.GetWidth(), 2.0);
}

TEST_F(RenderText, MergeAndSerialObjectsDrawTheirOwnTextNotTheInheritedOne)
{
    const auto csv = lxtest::MakeCsv({"x,y", "p,Q7"});
    auto merge = std::make_unique<TLxLabelObjectCsvString>(csv, 1);
    merge->SetFrontText("[");
    merge->SetColumn(2);
    merge->SetBackText("]");
    auto serial = std::make_unique<TLxLabelObjectRenbanString>(6);
    serial->SetStartNumber("001");
    serial->SetFinishNumber("100");
    serial->SetTop(15);
    list.AddObject(std::move(merge), true);
    list.AddObject(std::move(serial), true);

    TlxLabelObjectManager expected(TrueTypeFaceList(), 80, 40, 0);
    for (auto [text, top] : {std::pair<const char*, double>{"[Q7]", 1}, {"007", 15}}) {
        auto plain = std::make_unique<TLxLabelObjectString>();
        plain->SetText(text);
        plain->SetTop(top);
        expected.AddObject(std::move(plain), true);
    }
    const Bitmap shown = lxtest::RenderCell(list);
    EXPECT_FALSE(FindInk(shown).Empty());
    EXPECT_TRUE(shown == lxtest::RenderCell(expected));
}

TEST_F(RenderText, AbsurdGeometryIsNotDrawnAndNotConverted)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {nan, inf, -inf, 1e300, -1e12, 10001};
    for (double value : values) {
        AddText("X", value, 5, 2, 2);
        AddText("X", 5, value, 2, 2);
        AddText("X", 5, 5, value, 2);
        AddText("X", 5, 5, 2, value);
        AddText("X", 5, 5, 2, 2).SetCharSpacing(value);
    }
    AddText("X", 5, 5, 2, 2).SetFontSize(std::numeric_limits<std::int32_t>::max());
    AddText("X", 5, 5, 2, 2).SetFontSize(std::numeric_limits<std::int32_t>::min());
    std::vector<std::string> before;
    for (int i = 0; i < list.GetObjectCount(); ++i)
        before.push_back(lxtest::SavedBytes(*list.GetObject(i)));
    EXPECT_TRUE(FindInk(lxtest::RenderCell(list)).Empty());
    // Not measured either: every box is as it was.
    for (int i = 0; i < list.GetObjectCount(); ++i)
        EXPECT_EQ(lxtest::SavedBytes(*list.GetObject(i)), before[std::size_t(i)]) << i;
    // A sound object beside them is drawn.
    AddText("X", 5, 5, 2, 2);
    EXPECT_FALSE(FindInk(lxtest::RenderCell(list)).Empty());
}
