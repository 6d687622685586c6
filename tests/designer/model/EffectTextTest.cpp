// Effect text on real pixels: the order and colours of the passes, the
// curve and slant layout, the deformed outline and its bounds.
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelObjectManager.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"

#include "LabelTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr double kDpi = 300;
constexpr ColorRef kMain = 0x000000;
constexpr ColorRef kShadow = 0x0000FF;  // red
constexpr ColorRef kShaped = 0x008000;  // green

const std::vector<std::string>& Faces()
{
    static const std::vector<std::string> faces{Sjis("ＭＳ ゴシック") + ":128"};
    return faces;
}

// A raster canvas that also notes every TextOut with the font and colour
// it was drawn in.
class RecordingCanvas : public RasterDeviceContext {
public:
    struct Call {
        int x;
        int y;
        int height;
        int escapement;
        ColorRef color;
    };
    explicit RecordingCanvas(Bitmap& bitmap) : RasterDeviceContext(bitmap) {}
    void TextOut(int x, int y, std::string_view bytes) override
    {
        calls.push_back({x, y, CurrentFont().height, CurrentFont().escapement, GetTextColor()});
        RasterDeviceContext::TextOut(x, y, bytes);
    }
    std::vector<Call> calls;
};

// One effect-text object on a 60 x 40 mm cell at 300 dpi.
struct Rendered {
    explicit Rendered(const std::function<void(TLxLabelObjectEffects&)>& configure)
        : list(Faces(), 60, 40, 0), bitmap(708, 472), canvas(bitmap)
    {
        list.SetDpiX(kDpi);
        list.SetDpiY(kDpi);
        list.AddEffects();
        object = &dynamic_cast<TLxLabelObjectEffects&>(*list.GetObject(0));
        object->SetText("ABCDE");
        object->SetFontSize(12);
        object->SetShadowColor(kShadow);
        object->SetShapedTextColor(kShaped);
        object->SetLeft(3);
        object->SetTop(4);
        configure(*object);
        list.DrawObjects(canvas, false);
    }
    int Calls(ColorRef color) const
    {
        int n = 0;
        for (const auto& call : canvas.calls)
            n += call.color == color;
        return n;
    }
    int Px(int axis, double mm) const { return list.MmToPixels(axis, mm); }

    TlxLabelObjectManager list;
    Bitmap bitmap;
    RecordingCanvas canvas;
    TLxLabelObjectEffects* object = nullptr;
};

int CellHeightAt(int points)
{
    Bitmap probe(1, 1);
    RasterDeviceContext dc(probe);
    LogFont font;
    font.height = -static_cast<int>(std::nearbyint(kDpi * points / 72));
    font.faceName = Sjis("ＭＳ ゴシック");
    font.charSet = kShiftJisCharset;
    dc.SelectFont(font);
    return dc.GetTextExtent(Sjis("あ")).cy;
}

} // namespace

TEST(EffectText, WithoutStyleOnePassInTheMainColourLeftAlignedSizedToItsLines)
{
    const Rendered r([](TLxLabelObjectEffects& e) {
        e.SetText("AB\r\nC");
        e.SetFontColor(0x00FF0000); // blue
        e.SetAlignment(2);          // not used by the passes
    });
    ASSERT_EQ(r.canvas.calls.size(), 3u);
    EXPECT_EQ(r.Calls(0x00FF0000), 3);
    EXPECT_EQ(r.canvas.calls[0].x, r.Px(kAxisHorizontal, 3));
    EXPECT_EQ(r.canvas.calls[2].x, r.Px(kAxisHorizontal, 3));
    const lxtest::InkBox ink = lxtest::FindInk(r.bitmap);
    EXPECT_EQ(ink.count, lxtest::CountColor(r.bitmap, 0x00FF0000));
    EXPECT_GE(ink.left, r.Px(kAxisHorizontal, 3));
    EXPECT_LT(ink.left, r.Px(kAxisHorizontal, 3) + 10);
    // At least 10 mm wide; exactly two lines of 1.1 x the height of "あ".
    EXPECT_EQ(r.object->GetWidth(), 10.0);
    EXPECT_EQ(r.object->GetHeight(), std::nearbyint(std::nearbyint(1.1 * CellHeightAt(12) * 2) * 25.4 / kDpi));
}

TEST(EffectText, ShadowTakesPrecedenceOverTheCurve)
{
    const Rendered r([](TLxLabelObjectEffects& e) {
        e.SetShadow(1);
        e.SetCurve(1);
    });
    ASSERT_EQ(r.canvas.calls.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(r.canvas.calls[i].color, i < 5 ? kShadow : kMain);
        EXPECT_EQ(r.canvas.calls[i].escapement, 0);
    }
    EXPECT_EQ(r.canvas.calls[0].x, r.Px(kAxisHorizontal, 3.3));
    EXPECT_EQ(r.canvas.calls[0].y, r.Px(kAxisVertical, 4.4));
    EXPECT_EQ(lxtest::CountColor(r.bitmap, kShaped), 0);
    EXPECT_GT(lxtest::CountColor(r.bitmap, kShadow), 100);
}

TEST(EffectText, OutlineDrawsSeventySixShadowPassesBeforeTheMainPass)
{
    const Rendered r([](TLxLabelObjectEffects& e) { e.SetOutline(1); });
    ASSERT_EQ(r.canvas.calls.size(), 77u * 5);
    for (std::size_t i = 0; i < r.canvas.calls.size(); ++i)
        ASSERT_EQ(r.canvas.calls[i].color, i < 76 * 5 ? kShadow : kMain) << i;
    // Rings of 0.02 to 0.20 mm above, below, right and left, in that order.
    for (const auto& [ring, c] : {std::pair{0, 0.02}, {18, 0.2}}) {
        const auto* at = &r.canvas.calls[std::size_t(ring) * 20];
        EXPECT_EQ(at[0].y, r.Px(kAxisVertical, 4 - c));
        EXPECT_EQ(at[5].y, r.Px(kAxisVertical, 4 + c));
        EXPECT_EQ(at[10].x, r.Px(kAxisHorizontal, 3 + c));
        EXPECT_EQ(at[15].x, r.Px(kAxisHorizontal, 3 - c));
    }
    // The main text lies on top: a ring of shadow colour around main ink.
    EXPECT_GT(lxtest::CountColor(r.bitmap, kMain), 200);
    EXPECT_GT(lxtest::CountColor(r.bitmap, kShadow), 200);
}

TEST(EffectText, SecondShadowDrawsTheMainTextLargerCentredThenTheCopyLowerOnTop)
{
    const Rendered r([](TLxLabelObjectEffects& e) {
        e.SetShadow2(1);
        e.SetWidth(40);
    });
    ASSERT_EQ(r.canvas.calls.size(), 10u);
    const auto& main = r.canvas.calls[0];
    const auto& copy = r.canvas.calls[5];
    EXPECT_EQ(main.color, kMain);
    EXPECT_EQ(copy.color, kShadow);
    EXPECT_EQ(main.height, -static_cast<int>(std::nearbyint(kDpi * 14 / 72)));
    EXPECT_EQ(copy.height, -50);
    EXPECT_EQ(copy.y - main.y, r.Px(kAxisVertical, 5.5) - r.Px(kAxisVertical, 4));

    // Centred in the 40 mm box: equal room left and right of the main ink.
    const int left = r.Px(kAxisHorizontal, 3);
    const int right = left + r.Px(kAxisHorizontal, 40);
    lxtest::InkBox mainInk{right, 0, -1, -1, 0};
    for (int y = 0; y < r.bitmap.Height(); ++y)
        for (int x = 0; x < r.bitmap.Width(); ++x)
            if (lxtest::IsColor(r.bitmap, x, y, kMain)) {
                mainInk.left = std::min(mainInk.left, x);
                mainInk.right = std::max(mainInk.right, x);
            }
    EXPECT_NEAR(mainInk.left - left, right - mainInk.right, 12);
    // Where the two overlap the copy wins, so its glyphs are whole: the
    // shadow ink matches the same text drawn alone.
    const Rendered alone([](TLxLabelObjectEffects& e) {
        e.SetFontColor(kShadow);
        e.SetCharSpacing(-0.4);
    });
    EXPECT_EQ(lxtest::CountColor(r.bitmap, kShadow), lxtest::CountColor(alone.bitmap, kShadow));
    EXPECT_EQ(r.object->GetWidth(), 40.0);
}

TEST(EffectText, FiveCharacterCurveTurnsFourDegreesPerCharacterFrom104Tenths)
{
    const Rendered r([](TLxLabelObjectEffects& e) {
        e.SetCurve(1);
        e.SetShadow2(0);
        e.SetWidth(50);
    });
    ASSERT_EQ(r.canvas.calls.size(), 5u);
    const int expected[] = {104, 64, 24, -16, -56};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r.canvas.calls[i].escapement, expected[i]);
        EXPECT_EQ(r.canvas.calls[i].color, kShaped);
        EXPECT_GT(r.canvas.calls[i].height, 0); // a cell height from the box width
    }
    // An arch: the middle character stands highest, the ends lowest, and the
    // characters run left to right.
    for (int i = 1; i < 5; ++i)
        EXPECT_GT(r.canvas.calls[i].x, r.canvas.calls[i - 1].x);
    EXPECT_LT(r.canvas.calls[2].y, r.canvas.calls[1].y);
    EXPECT_LT(r.canvas.calls[1].y, r.canvas.calls[0].y);
    EXPECT_LT(r.canvas.calls[3].y, r.canvas.calls[4].y);
    EXPECT_EQ(lxtest::CountColor(r.bitmap, kMain), 0);
    EXPECT_GT(lxtest::CountColor(r.bitmap, kShaped), 50);
    EXPECT_EQ(r.object->GetWidth(), 50.0);
    EXPECT_EQ(r.object->GetHeight(), 20.0);

    // Two three-character lines: the fifth character's divisor is 0, and it
    // keeps the height of the fourth.
    const Rendered two([](TLxLabelObjectEffects& e) {
        e.SetCurve(1);
        e.SetText("ABC\r\nDEF");
    });
    ASSERT_EQ(two.canvas.calls.size(), 6u);
    EXPECT_EQ(two.canvas.calls[4].y, two.canvas.calls[3].y);
    EXPECT_LT(std::abs(two.canvas.calls[5].y), 10000);
}

TEST(EffectText, SlantsClimbOrFallAtTwentyDegrees)
{
    for (int forward : {1, 0}) {
        SCOPED_TRACE(forward);
        const Rendered r([&](TLxLabelObjectEffects& e) {
            e.SetSlantForward(std::uint8_t(forward));
            e.SetSlantBackward(std::uint8_t(1 - forward));
            e.SetShadow2(1);
        });
        ASSERT_EQ(r.canvas.calls.size(), 10u); // the slant, then the second shadow only
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(r.canvas.calls[i].escapement, forward ? 200 : -200);
            EXPECT_EQ(r.canvas.calls[i + 5].color, kShadow);
        }
        for (int i = 1; i < 5; ++i) {
            EXPECT_GT(r.canvas.calls[i].x, r.canvas.calls[i - 1].x);
            if (forward)
                EXPECT_LT(r.canvas.calls[i].y, r.canvas.calls[i - 1].y);
            else
                EXPECT_GT(r.canvas.calls[i].y, r.canvas.calls[i - 1].y);
        }
        EXPECT_EQ(lxtest::CountColor(r.bitmap, kMain), 0);
    }
}

TEST(EffectText, DeformedTextIsDrawnThroughTheKeyedBitmapAlone)
{
    const Rendered r([](TLxLabelObjectEffects& e) {
        e.SetDeform(1);
        e.SetFontColor(0x00800000);
    });
    EXPECT_TRUE(r.canvas.calls.empty()); // a bitmap, no text
    const lxtest::InkBox ink = lxtest::FindInk(r.bitmap);
    EXPECT_GT(ink.count, 500);
    EXPECT_EQ(ink.count, lxtest::CountColor(r.bitmap, 0x00800000)); // no key colour left
    EXPECT_GE(ink.left, r.Px(kAxisHorizontal, 3));
    EXPECT_GE(ink.top, r.Px(kAxisVertical, 4));
    // The box: 1.55 times the line, 2.1 times the height of "あ".
    const double hp = std::nearbyint(2.1 * CellHeightAt(12));
    EXPECT_EQ(r.object->GetHeight(), std::nearbyint(hp * 25.4 / kDpi));
    EXPECT_LT(ink.bottom, r.Px(kAxisVertical, 4) + hp);
    EXPECT_GT(ink.Height(), hp / 2); // the glyphs, stretched to more than twice their height

    // The spare style deforms in the shaped colour, under the plain main text.
    const Rendered spare([](TLxLabelObjectEffects& e) { e.SetSpareStyle(1); });
    EXPECT_EQ(spare.Calls(kMain), 5);
    EXPECT_EQ(spare.canvas.calls.size(), 5u);
    EXPECT_GT(lxtest::CountColor(spare.bitmap, kShaped), 300);
}

TEST(EffectText, WarpKeepsTheBottomRowAndPullsTheTopTowardsTheCentre)
{
    TlxLabelObjectManager list(Faces(), 10, 10, 0);
    LogFont font;
    font.height = -100;
    font.faceName = Sjis("ＭＳ ゴシック");
    Bitmap warped;
    // Full-width blocks fill their cells from side to side.
    const std::string text = Sjis("■■■■");
    list.WarpTextPath(warped, text, font, 0x000000);
    ASSERT_FALSE(warped.Empty());

    // The same outline filled without the warp.
    Bitmap straight(warped.Width(), warped.Height(), 0xFFFF00FF);
    RasterDeviceContext dc(straight);
    dc.SelectFont(font);
    dc.BeginPath();
    dc.TextOut(0, 0, text);
    dc.EndPath();
    dc.SelectPen(Pen{PenStyle::Solid, 1, 0});
    dc.SelectBrush(Brush{BrushStyle::Solid, 0});
    dc.StrokeAndFillPath();

    auto span = [](const Bitmap& b, int y) {
        int lo = b.Width(), hi = -1;
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) == 0xFF000000u) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        return std::pair{lo, hi};
    };
    const int half = warped.Width() / 2;
    const double h = warped.Height();
    int rows = 0;
    for (int y = 0; y < warped.Height(); ++y) {
        const auto [lo, hi] = span(straight, y);
        const auto [wlo, whi] = span(warped, y);
        if (hi < 0 || span(straight, y - 1).second < 0 || span(straight, y + 1).second < 0)
            continue; // no ink, or the glyphs' top or bottom edge
        ++rows;
        // Each edge moves towards the centre by (h - y) / 20 x 4 % of its
        // distance from it: nothing at the bottom edge.
        EXPECT_NEAR(wlo, lo + (h - y) / 20 * (half - lo) * 0.04, 2.5) << y;
        EXPECT_NEAR(whi, hi + (h - y) / 20 * (half - hi) * 0.04, 2.5) << y;
    }
    EXPECT_GT(rows, 60);
    // The bitmap's background is the key colour.
    EXPECT_EQ(warped.Pixel(0, 0), 0xFFFF00FFu);
}

TEST(EffectText, HugeTextsWarpWithinSixteenMegapixels)
{
    TlxLabelObjectManager list(Faces(), 10, 10, 0);
    LogFont font;
    font.height = -4000;
    font.faceName = Sjis("ＭＳ ゴシック");
    Bitmap warped;
    // Full stops: little ink to fill in a bitmap at the bound.
    list.WarpTextPath(warped, std::string(300, '.'), font, 0x000000);
    ASSERT_FALSE(warped.Empty());
    EXPECT_LE(static_cast<double>(warped.Width()) * warped.Height(), 16e6);
    EXPECT_GT(static_cast<double>(warped.Width()) * warped.Height(), 8e6);
    EXPECT_GT(lxtest::CountColor(warped, 0), 10000);
}

TEST(EffectText, AbsurdStoredValuesDrawNothingAndKeepTheBox)
{
    for (int which = 0; which < 2; ++which) {
        const Rendered r([&](TLxLabelObjectEffects& e) {
            e.SetOutline(1);
            which ? e.SetFontSize(-2000000000) : e.SetCharSpacing(std::nan(""));
        });
        EXPECT_TRUE(r.canvas.calls.empty());
        EXPECT_EQ(r.object->GetWidth(), 5.0);
    }
}
