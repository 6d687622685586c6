// One label holding every effect style, compared with the reviewed image
// kept beside the tests. LX_UPDATE_GOLDEN=1 rewrites the image instead.
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelObjectManager.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/PngImage.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Cp932.h"

#include "PaperTestFiles.h"
#include "support/ImageOracles.h"
#include "support/TestPaths.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr double kDpi = 600;

struct Style {
    const char* text;
    double left, top, width, height;
    void (TLxLabelObjectEffects::*flag)(std::uint8_t);
};

// Plain, the two shadows, the outline, the deformations on the left; the
// curve and the slants on the right.
const Style kStyles[] = {
    {"標準 Plain", 3, 2, 10, 5, nullptr},
    {"影① Shadow", 3, 9, 10, 5, &TLxLabelObjectEffects::SetShadow},
    {"囲い Outline", 3, 16, 10, 5, &TLxLabelObjectEffects::SetOutline},
    {"影② Shadow2", 3, 23, 30, 5, &TLxLabelObjectEffects::SetShadow2},
    {"変形 Deform", 3, 32, 10, 5, &TLxLabelObjectEffects::SetDeform},
    {"予備 Spare", 3, 45, 10, 5, &TLxLabelObjectEffects::SetSpareStyle},
    {"曲線カーブ", 42, 1, 34, 16, &TLxLabelObjectEffects::SetCurve},
    {"斜め文字／", 42, 19, 34, 16, &TLxLabelObjectEffects::SetSlantForward},
    {"斜め文字＼", 42, 42, 34, 16, &TLxLabelObjectEffects::SetSlantBackward},
};

// The label with every style, drawn onto `canvas` at 600 dpi; its size in pixels.
Size DrawAllStyles(DeviceContext& canvas)
{
    static const std::vector<std::string> faces{Sjis("ＭＳ ゴシック") + ":128"};
    TlxLabelObjectManager list(faces, 80, 60, 0);
    list.SetDpiX(kDpi);
    list.SetDpiY(kDpi);
    for (const Style& style : kStyles) {
        list.AddEffects();
        auto& e = dynamic_cast<TLxLabelObjectEffects&>(*list.GetObject(0));
        e.SetText(Sjis(style.text));
        e.SetFontSize(11);
        e.SetFontColor(0x00402000);
        e.SetShadowColor(0x000000E0);
        e.SetShapedTextColor(0x00008000);
        e.SetLeft(style.left);
        e.SetTop(style.top);
        e.SetWidth(style.width);
        e.SetHeight(style.height);
        if (style.flag)
            (e.*style.flag)(1);
    }
    list.DrawObjects(canvas, true);
    return {list.MmToPixels(kAxisHorizontal, 80), list.MmToPixels(kAxisVertical, 60)};
}

Bitmap RenderAllStyles()
{
    Bitmap bitmap(1890, 1417);
    RasterDeviceContext canvas(bitmap);
    EXPECT_EQ(DrawAllStyles(canvas), (Size{1890, 1417}));
    return bitmap;
}

// The same label recorded as a metafile and played back at its own size.
Bitmap RenderAllStylesThroughAMetafile()
{
    DeviceInfo printer;
    printer.dpiX = printer.dpiY = static_cast<int>(kDpi);
    const Rect frame = FrameForPixels({1890, 1417}, printer);
    EmfRecorder recorder(printer, frame);
    DrawAllStyles(recorder);
    const EnhMetafile metafile = EnhMetafile::FromBytes(recorder.Close().Bytes());
    Bitmap bitmap(1890, 1417);
    RasterDeviceContext canvas(bitmap);
    PlayEnhMetafile(canvas, metafile, Rect{0, 0, 1890, 1417});
    return bitmap;
}

} // namespace

TEST(EffectTextGolden, OneLabelWithEveryStyleMatchesTheReviewedImageDirectAndThroughAMetafile)
{
    const std::string golden = lxtest::SourcePath("tests/designer/model/golden/effects_all_styles.png");
    const Bitmap rendered = RenderAllStyles();
    if (std::getenv("LX_UPDATE_GOLDEN")) {
        lxtest::WriteBytes(golden, EncodePng(rendered));
        GTEST_SKIP() << "rewrote " << golden;
    }
    const lxtest::PngFacts expected = lxtest::ReadPngWithLibpng(lxtest::ReadBytes(golden));
    ASSERT_TRUE(expected.ok) << expected.error;
    const std::pair<const char*, Bitmap> renders[] = {{"direct", rendered},
                                                      {"metafile", RenderAllStylesThroughAMetafile()}};
    for (const auto& [name, bitmap] : renders) {
        SCOPED_TRACE(name);
        ASSERT_EQ(expected.width, bitmap.Width());
        ASSERT_EQ(expected.height, bitmap.Height());
        int differing = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                differing += (expected.argb[std::size_t(y) * bitmap.Width() + x] | 0xFF000000u) != bitmap.Pixel(x, y);
        // A font update may move a few edge pixels; a lost or extra pass moves
        // thousands.
        if (differing > 200)
            lxtest::WriteBytes(lxtest::BuildPath(std::string("effects_all_styles.") + name + ".png"),
                               EncodePng(bitmap));
        EXPECT_LE(differing, 200) << "see effects_all_styles." << name << ".png in the build folder";
    }
}
