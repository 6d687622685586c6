// Effect text on real pixels: the order and colours of the passes, the
// curve and slant layout, the deformed outline and its bounds.
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelObjectManager.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"

#include "LabelTestSupport.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr double kDpi = 300;
constexpr ColorRef kMain = 0x000000;
constexpr ColorRef kShadow = 0x0000FF; // red
constexpr ColorRef kShaped = 0x008000; // green

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
        e.SetAlignment(2); // not used by the passes
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

TEST(EffectText, CurveOfTwoLinesSurvivesTheZeroDivisorOfItsFifthCharacter)
{
    // Two three-character lines: the fifth character's divisor is 0, and it
    // keeps the height of the fourth.
    const Rendered two([](TLxLabelObjectEffects& e) {
        e.SetCurve(1);
        e.SetText("ABC\r\nDEF");
    });
    ASSERT_EQ(two.canvas.calls.size(), 6u);
    EXPECT_EQ(two.canvas.calls[4].y, two.canvas.calls[3].y);
    EXPECT_LT(std::abs(two.canvas.calls[5].y), 10000);
    EXPECT_EQ(two.Calls(kShaped), 6);
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
}

TEST(EffectText, HugeTextsWarpWithinFourMegapixels)
{
    const LabelPainter painter(Faces(), 600, 600);
    LogFont font;
    font.height = -4000;
    font.faceName = Sjis("ＭＳ ゴシック");
    Bitmap warped;
    // Full stops: little ink to fill in a bitmap at the bound.
    painter.WarpTextPath(warped, std::string(300, '.'), font, 0x000000);
    ASSERT_FALSE(warped.Empty());
    EXPECT_LE(static_cast<double>(warped.Width()) * warped.Height(), 4e6);
    EXPECT_GT(static_cast<double>(warped.Width()) * warped.Height(), 2e6);
    EXPECT_GT(lxtest::CountColor(warped, 0), 2500);
}

TEST(EffectText, LineBreaksHaveNoWidthInTheWarp)
{
    // The lines go side by side into the warp: with and without their
    // breaks the bitmap is the same, and the ink reaches both of its ends.
    const LabelPainter painter(Faces(), 600, 600);
    LogFont font;
    font.height = -40;
    font.faceName = Sjis("ＭＳ ゴシック");
    Bitmap broken;
    Bitmap joined;
    painter.WarpTextPath(broken, Sjis("AB\r\n漢字\r\n"), font, 0x000000);
    painter.WarpTextPath(joined, Sjis("AB漢字"), font, 0x000000);
    ASSERT_FALSE(joined.Empty());
    EXPECT_EQ(broken.Width(), joined.Width());
    EXPECT_TRUE(broken == joined);
    int first = joined.Width();
    int last = -1;
    for (int y = 0; y < joined.Height(); ++y)
        for (int x = 0; x < joined.Width(); ++x)
            if (lxtest::IsColor(joined, x, y, 0x000000)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    EXPECT_LE(first, joined.Width() / 10);
    EXPECT_GE(last, joined.Width() * 9 / 10);
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
