#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/MetafileImage.h"
#include "platform/io/Errors.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/MetafileImageDrawing.h"
#include "platform/metafile/WindowsMetafile.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr int kW = 200;
constexpr int kH = 160;

Bitmap Checker(int modules)
{
    Bitmap bmp(modules, modules);
    for (int y = 0; y < modules; ++y)
        for (int x = 0; x < modules; ++x)
            bmp.SetPixel(x, y, (x + y) % 2 ? 0xFF000000u : 0xFFFFFFFFu);
    return bmp;
}

// A label-like scene using every kind of figure the recorders write.
void DrawScene(DeviceContext& dc, bool withClipAndKey)
{
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectPen({PenStyle::Solid, 0, 0x000000});
    dc.SelectBrush({BrushStyle::Solid, 0x00FF00});
    dc.Rectangle(5, 5, 60, 40);
    dc.SelectPen({PenStyle::Dot, 0, 0x0000FF});
    dc.MoveTo(0, 50);
    dc.LineTo(150, 70);
    dc.SelectPen({PenStyle::Solid, 3, 0xFF0000});
    dc.MoveTo(10, 90);
    dc.LineTo(100, 95);
    dc.SelectPen({PenStyle::Solid, 0, 0x000000});
    dc.SelectBrush({BrushStyle::Clear, 0});
    dc.Ellipse(70, 5, 140, 45);
    LogFont font;
    font.height = -24;
    font.charSet = kShiftJisCharset;
    font.faceName = Sjis("ＭＳ ゴシック");
    dc.SelectFont(font);
    dc.SetTextColor(0x800000);
    dc.TextOut(10, 100, Sjis("Aあ漢"));
    font.faceName = Sjis("@ＭＳ ゴシック");
    font.escapement = font.orientation = 2700;
    const LogFont previous = dc.SelectFont(font);
    dc.TextOut(190, 10, Sjis("縦Ab"));
    dc.SelectFont(previous);
    dc.StretchDraw({150, 100, 190, 140}, Checker(4), withClipAndKey ? std::optional<ColorRef>(0xFFFFFF) : std::nullopt);
    dc.SelectPen({PenStyle::Solid, 0, 0x000080});
    dc.SelectBrush({BrushStyle::Solid, 0x008080});
    dc.BeginPath();
    dc.MoveTo(100, 120);
    dc.LineTo(140, 120);
    // Windows metafiles have no curves: their recorder writes polygons.
    if (withClipAndKey)
        dc.PolyBezierTo({{150, 130}, {140, 150}, {120, 155}});
    else
        dc.LineTo(120, 155);
    dc.CloseFigure();
    dc.EndPath();
    dc.StrokeAndFillPath();
    const int level = dc.SaveDC();
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(10, -10);
    dc.SetViewportExt(30, 30);
    dc.SetViewportOrg(60, 130);
    dc.SelectBrush({BrushStyle::Solid, 0x0000FF});
    dc.Rectangle(0, 0, 5, -5);
    dc.RestoreDC(level);
    dc.FillRect({2, 140, 40, 150}, 0x808080);
    if (withClipAndKey) {
        const Region clip = Region::FromEllipse({150, 40, 200, 90});
        dc.SelectClipRegion(&clip);
        dc.FillRect({140, 30, 200, 100}, 0xFF00FF);
        dc.SelectClipRegion(nullptr);
    }
}

// The bitmap after `draw` ran on a context over it, the context closed.
template <typename Draw>
Bitmap Drawn(int width, int height, Draw draw)
{
    Bitmap bmp(width, height);
    {
        RasterDeviceContext dc(bmp);
        draw(dc);
    }
    return bmp;
}

Bitmap Direct(bool withClipAndKey)
{
    return Drawn(kW, kH, [&](DeviceContext& dc) { DrawScene(dc, withClipAndKey); });
}

int Differences(const Bitmap& a, const Bitmap& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

EnhMetafile RecordScene()
{
    EmfRecorder recorder(DisplayDevice(), FrameForPixels({kW, kH}, DisplayDevice()), u"test\0scene");
    DrawScene(recorder, true);
    return recorder.Close();
}

} // namespace

TEST(Metafile, EmfAndWmfPlayedAtTheirOwnSizeGiveTheSamePixelsAsDrawingDirectly)
{
    const EnhMetafile emf = RecordScene();
    EXPECT_EQ(emf.PixelSize(), (Size{kW, kH}));
    const Bitmap played = Drawn(kW, kH, [&](DeviceContext& dc) {
        PlayEnhMetafile(dc, EnhMetafile::FromBytes(emf.Bytes()), {0, 0, kW, kH});
    });
    EXPECT_EQ(Differences(played, Direct(true)), 0);

    WmfRecorder recorder;
    DrawScene(recorder, false);
    const WindowsMetafile wmf = recorder.Close();
    const Bitmap wmfPlayed =
        Drawn(kW, kH, [&](DeviceContext& dc) { PlayWindowsMetafile(dc, WindowsMetafile::FromBytes(wmf.Bytes())); });
    EXPECT_EQ(Differences(wmfPlayed, Direct(false)), 0);
}

// Drawing in a recording's stead gives what playing the recording gives:
// moved into the place (or recorded where it is scaled), under the caller's
// clip, with the drawing's own clip where the recording puts it and a
// picture inside going through a bitmap as the recording keeps it.
TEST(Metafile, DrawingAsAPictureGivesThePixelsOfPlayingTheRecording)
{
    const EnhMetafile inner = RecordScene();
    const auto scene = [&](DeviceContext& dc) {
        DrawScene(dc, true);
        PlayEnhMetafile(dc, inner, {20, 10, 80, 58});
    };
    EmfRecorder recorder(DisplayDevice(), FrameForPixels({kW, kH}, DisplayDevice()));
    scene(recorder);
    const EnhMetafile recorded = recorder.Close();
    const Region clip = Region::FromEllipse({0, 0, 330, 260});
    for (const Rect place :
         {Rect{0, 0, kW, kH}, Rect{13, 7, 13 + kW, 7 + kH}, Rect{13, 7, 13 + kW * 3 / 2, 7 + kH * 3 / 2}}) {
        SCOPED_TRACE(place.left);
        const Bitmap played = Drawn(330, 260, [&](DeviceContext& dc) {
            dc.SelectClipRegion(&clip);
            PlayEnhMetafile(dc, recorded, place);
        });
        const Bitmap drawn = Drawn(330, 260, [&](DeviceContext& dc) {
            dc.SelectClipRegion(&clip);
            DrawAsPicture(dc, place, {kW, kH}, DisplayDevice(), scene);
            EXPECT_FALSE(dc.StandsInForRecording()) << "only while drawing";
        });
        EXPECT_EQ(Differences(played, drawn), 0);
        EXPECT_GT(Differences(drawn, Bitmap(330, 260)), 1000) << "something was drawn";
    }
}

TEST(Metafile, PlaybackKeepsTheCallersClipAndStateAndCosmeticPensStayOnePixel)
{
    EmfRecorder recorder(DisplayDevice(), FrameForPixels({20, 20}, DisplayDevice()));
    recorder.SelectPen({PenStyle::Solid, 0, 0x000000});
    recorder.MoveTo(0, 10);
    recorder.LineTo(20, 10);
    recorder.FillRect({0, 0, 20, 5}, 0x0000FF);
    const EnhMetafile emf = recorder.Close();
    Bitmap bmp(80, 80);
    RasterDeviceContext dc(bmp);
    dc.SelectPen({PenStyle::Dot, 0, 0x123456});
    const Region clip = Region::FromRect({0, 0, 40, 80});
    dc.SelectClipRegion(&clip);
    PlayEnhMetafile(dc, emf, {0, 0, 80, 80});
    EXPECT_EQ(dc.CurrentPen(), (Pen{PenStyle::Dot, 0, 0x123456}));
    int lineRows = 0;
    for (int y = 0; y < 80; ++y)
        lineRows += bmp.Pixel(10, y) == 0xFF000000u;
    EXPECT_EQ(lineRows, 1); // four times larger, still one pixel thick
    EXPECT_EQ(bmp.Pixel(39, 2), 0xFFFF0000u);
    EXPECT_EQ(bmp.Pixel(40, 2), 0xFFFFFFFFu); // the caller's clip holds
}

TEST(Metafile, HeaderCarriesTheReferenceDeviceAndTheFrame)
{
    const DeviceInfo printer{600, 600, 6000, 9000, 254, 381, 0, 0};
    EmfRecorder recorder(printer, Rect{0, 0, 1228, 1228}, u"MatrixelPro.ocx");
    recorder.Rectangle(0, 0, 290, 290);
    const EnhMetafile emf = recorder.Close();
    const EnhMetafile back = EnhMetafile::FromBytes(emf.Bytes());
    const EmfHeader& h = back.Header();
    EXPECT_EQ(h.frame, (Rect{0, 0, 1228, 1228}));
    EXPECT_EQ(h.device, (Size{6000, 9000}));
    EXPECT_EQ(h.millimeters, (Size{254, 381}));
    EXPECT_EQ(h.bounds, (Rect{0, 0, 289, 289}));
    EXPECT_EQ(h.description, std::u16string(u"MatrixelPro.ocx") + u'\0');
    EXPECT_EQ(h.bytes, emf.Bytes().size());
    EXPECT_EQ(back.PixelSize(), (Size{290, 290}));
}

TEST(Metafile, PlaceableHeaderRoundTripsWithItsChecksum)
{
    WmfRecorder recorder;
    recorder.SetMapMode(MapMode::Anisotropic);
    recorder.SetWindowExt(40, -40);
    recorder.SelectBrush({BrushStyle::Solid, 0});
    recorder.Rectangle(0, 0, 20, -20);
    const WindowsMetafile wmf = recorder.Close();
    const std::string placeable = wmf.PlaceableBytes({{0, 0, 1000, 1000}, 2540});
    EXPECT_NO_THROW(MetafileImage().LoadFromBytes(placeable)); // the picture reader checks the checksum
    const WindowsMetafile back = WindowsMetafile::FromBytes(placeable);
    ASSERT_TRUE(back.Placeable().has_value());
    EXPECT_EQ(back.Placeable()->box, (Rect{0, 0, 1000, 1000}));
    EXPECT_EQ(back.Placeable()->inch, 2540);
    EXPECT_EQ(back.Bytes(), wmf.Bytes());
    // Into a rectangle the recorded window is honoured: the lower-left quarter.
    const Bitmap bmp = Drawn(40, 40, [&](DeviceContext& dc) { PlayWindowsMetafile(dc, back, {0, 0, 40, 40}); });
    EXPECT_EQ(bmp.Pixel(5, 5), 0xFF000000u);
    EXPECT_EQ(bmp.Pixel(19, 19), 0xFF000000u);
    EXPECT_EQ(bmp.Pixel(20, 20), 0xFFFFFFFFu);
}

TEST(Metafile, PictureGraphicsPlayDirectlyAndIntoRecordingsAsBitmaps)
{
    const EnhMetafile scene = RecordScene();
    MetafileImage image;
    image.LoadFromBytes(scene.Bytes());
    const Bitmap direct = Drawn(kW, kH, [&](DeviceContext& dc) { DrawMetafileImage(dc, image, {0, 0, kW, kH}); });
    EXPECT_EQ(Differences(direct, Direct(true)), 0);
    // A label recording that holds the picture: the same pixels come back.
    EmfRecorder label(DisplayDevice(), FrameForPixels({kW, kH}, DisplayDevice()));
    DrawMetafileImage(label, image, {0, 0, kW, kH});
    const EnhMetafile recorded = label.Close();
    EXPECT_EQ(Differences(Drawn(kW, kH,
                                [&](DeviceContext& dc) {
                                    PlayEnhMetafile(dc, recorded, {0, 0, kW, kH});
                                }),
                          direct),
              0);
    MetafileImage broken;
    EXPECT_THROW(broken.LoadFromBytes(scene.Bytes().substr(0, 200)), ReadError);
}
