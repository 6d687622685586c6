// Two-colour pictures kept as spans must give, wherever they go, exactly the
// pixels and bytes the bitmap they stand for would: drawn on the spans canvas,
// painted to screens and printers, recorded into metafiles and played back,
// saved as a picture.
#include "platform/gdi/PainterDeviceContext.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/gdi/SpanRasterDeviceContext.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/Picture.h"
#include "platform/metafile/Dib.h"
#include "platform/metafile/EnhMetafile.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace lx;

namespace {

using Drawing = std::function<void(DeviceContext&)>;

constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kWhiteRef = 0xFFFFFF;
constexpr ColorRef kNavy = 0x800000;
constexpr ColorRef kCream = 0xCCFFFF;

Bitmap Rastered(int width, int height, const Drawing& draw)
{
    Bitmap bitmap(width, height);
    {
        RasterDeviceContext dc(bitmap);
        draw(dc);
    }
    return bitmap;
}

std::optional<SpanRaster> AsSpans(int width, int height, const Drawing& draw)
{
    SpanRasterDeviceContext dc(width, height);
    draw(dc);
    return dc.Result();
}

void Use(DeviceContext& dc, ColorRef pen, ColorRef brush, int penWidth = 0)
{
    dc.SelectPen(Pen{PenStyle::Solid, penWidth, pen});
    dc.SelectBrush(Brush{BrushStyle::Solid, brush});
}

// A symbol as the painters draw one: a framed background, then modules
// framed in their own colour, some touching, some overlapping.
void Symbol(DeviceContext& dc, ColorRef dark, ColorRef light)
{
    Use(dc, light, light);
    dc.Rectangle(0, 0, 61, 47);
    Use(dc, dark, dark);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 7; ++column)
            if ((row * 3 + column * 5) % 4 != 0)
                dc.Rectangle(3 + column * 8, 3 + row * 8, 11 + column * 8 + row % 2, 11 + row * 8);
    dc.Rectangle(20, 10, 40, 30);
}

const std::vector<std::pair<std::string, Drawing>>& TwoColourDrawings()
{
    static const std::vector<std::pair<std::string, Drawing>> drawings{
        {"symbol", [](DeviceContext& dc) { Symbol(dc, kBlack, kWhiteRef); }},
        {"coloured symbol", [](DeviceContext& dc) { Symbol(dc, kNavy, kCream); }},
        {"light over dark over light",
         [](DeviceContext& dc) {
             dc.FillRect({5, 5, 50, 40}, kBlack);
             dc.FillRect({10, 8, 30, 20}, kWhiteRef);
             dc.FillRect({25, 15, 45, 35}, kBlack);
             dc.FillRect({0, 30, 20, 47}, kWhiteRef);
         }},
        {"clipped",
         [](DeviceContext& dc) {
             const Region clip = Region::FromEllipse({4, 2, 55, 44});
             dc.SelectClipRegion(&clip);
             Symbol(dc, kBlack, kWhiteRef);
             dc.SelectClipRegion(nullptr);
             dc.FillRect({0, 0, 6, 6}, kBlack);
         }},
        {"ellipses and a wide frame",
         [](DeviceContext& dc) {
             Use(dc, kBlack, kWhiteRef, 3);
             dc.Ellipse(2, 2, 40, 30);
             dc.Rectangle(30, 20, 58, 45);
         }},
        {"nothing", [](DeviceContext&) {}},
        {"all dark",
         [](DeviceContext& dc) {
             dc.FillRect({-5, -5, 70, 60}, kNavy);
         }},
    };
    return drawings;
}

// The spans give the raster's pixels, and as a one-bit picture the bytes
// of those pixels, which read back as the same spans.
TEST(SpanRaster, TwoColourDrawingsGiveThePixelsOfTheRasterAndTheirBytes)
{
    for (const auto& [name, draw] : TwoColourDrawings()) {
        SCOPED_TRACE(name);
        const std::optional<SpanRaster> spans = AsSpans(61, 47, draw);
        ASSERT_TRUE(spans);
        EXPECT_EQ(spans->ToBitmap(), Rastered(61, 47, draw));
        for (std::size_t i = 1; i < spans->bands.size(); ++i)
            EXPECT_NE(spans->bands[i].spans, spans->bands[i - 1].spans) << "bands alike are one band";
        const DibParts fromSpans = EncodeCompactDib(*spans);
        const DibParts fromPixels = EncodeCompactDib(spans->ToBitmap());
        EXPECT_EQ(fromSpans.info, fromPixels.info);
        EXPECT_EQ(fromSpans.bits, fromPixels.bits);
        const std::optional<SpanRaster> back = DecodeDibSpans(fromSpans.info, fromSpans.bits);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->ToBitmap(), DecodeDib(fromSpans.info, fromSpans.bits));
    }
}

TEST(SpanRaster, AThirdColourOrAnythingButRectanglesIsLeftToTheRaster)
{
    EXPECT_FALSE(AsSpans(40, 30, [](DeviceContext& dc) {
        Symbol(dc, kBlack, kWhiteRef);
        dc.FillRect({1, 1, 3, 3}, kNavy);
    }));
    EXPECT_FALSE(AsSpans(40, 30, [](DeviceContext& dc) {
        dc.BeginPath();
        dc.MoveTo(1, 1);
        dc.LineTo(30, 20);
        dc.LineTo(5, 25);
        dc.CloseFigure();
        dc.EndPath();
        dc.FillPath();
    }));
    EXPECT_FALSE(AsSpans(40, 30, [](DeviceContext& dc) { dc.TextOut(2, 2, "A"); }));
    EXPECT_FALSE(AsSpans(0, 30, [](DeviceContext& dc) { Symbol(dc, kBlack, kWhiteRef); }));
}

// What a painter context over a fresh image draws.
QImage Painted(bool vectorOutput, const Rect& clipTo, const Drawing& draw)
{
    QImage image(160, 120, QImage::Format_ARGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        PainterDeviceContext dc(&painter, DisplayDevice(), Rect{0, 0, image.width(), image.height()});
        dc.SetVectorOutput(vectorOutput);
        const Region clip = Region::FromRect(clipTo);
        dc.SelectClipRegion(&clip);
        draw(dc);
    }
    return image;
}

TEST(SpanRaster, PaintersFillTheRunsWithThePixelsOfTheStretchedBitmap)
{
    const std::optional<SpanRaster> spans = AsSpans(61, 47, [](DeviceContext& dc) { Symbol(dc, kNavy, kCream); });
    ASSERT_TRUE(spans);
    const Bitmap pixels = spans->ToBitmap();
    const std::vector<Rect> places{{10, 10, 71, 57},  {3, 2, 150, 117}, {20, 30, 53, 49},
                                   {140, 5, 12, 100}, {5, 110, 120, 7}, {-40, -30, 130, 100}};
    for (bool vector : {false, true})
        for (const Rect& place : places) {
            SCOPED_TRACE(::testing::Message() << (vector ? "vector " : "raster ") << place.left << "," << place.top
                                              << " " << place.right << "," << place.bottom);
            const Rect clip{8, 6, 151, 114};
            EXPECT_EQ(Painted(vector, clip, [&](DeviceContext& dc) { dc.StretchDrawSpans(place, *spans); }),
                      Painted(vector, clip, [&](DeviceContext& dc) { dc.StretchDraw(place, pixels); }));
        }
}

TEST(SpanRaster, OneBitPicturesReadAsSpansWhicheverWayTheirRowsAndPaletteRun)
{
    // 5 x 3, rows stored top-down (negative height), palette light first.
    std::string info(40, '\0');
    const auto put32 = [&](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            info[at + static_cast<std::size_t>(i)] =
                static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    };
    put32(0, 40);
    put32(4, 5);
    put32(8, -3);
    info[12] = 1;
    info[14] = 1;
    info += std::string("\xEE\xDD\xCC\x00\x10\x20\x30\x00", 8);
    const std::string bits("\xD8\0\0\0\x08\0\0\0\xF8\0\0\0", 12);
    const std::optional<SpanRaster> spans = DecodeDibSpans(info, bits);
    ASSERT_TRUE(spans);
    EXPECT_EQ(spans->ToBitmap(), DecodeDib(info, bits));
    EXPECT_EQ(spans->dark, 0xFF302010u);
    put32(8, 3); // bottom-up
    EXPECT_EQ(DecodeDibSpans(info, bits)->ToBitmap(), DecodeDib(info, bits));
    info[14] = 8;
    EXPECT_FALSE(DecodeDibSpans(info, std::string(36, '\0')));
}

TEST(SpanRaster, MetafilesRecordRunsAsTheirBitmapAndPlayThemBackAlike)
{
    const std::optional<SpanRaster> spans = AsSpans(61, 47, [](DeviceContext& dc) { Symbol(dc, kNavy, kCream); });
    ASSERT_TRUE(spans);
    const auto record = [&](const Drawing& draw) {
        EmfRecorder recorder(DisplayDevice());
        draw(recorder);
        return recorder.Close();
    };
    const Rect place{4, 6, 130, 101};
    const EnhMetafile fromSpans = record([&](DeviceContext& dc) { dc.StretchDrawSpans(place, *spans); });
    const EnhMetafile fromPixels = record([&](DeviceContext& dc) { dc.StretchDraw(place, spans->ToBitmap()); });
    EXPECT_EQ(fromSpans.Bytes(), fromPixels.Bytes());
    const Rect all{0, 0, 160, 120};
    const auto played = [&](bool vector) {
        return Painted(vector, all, [&](DeviceContext& dc) { PlayEnhMetafile(dc, fromSpans, Rect{2, 3, 158, 117}); });
    };
    // The pixels a context that takes no spans gets from the same record.
    struct PixelsOnly : RasterDeviceContext {
        using RasterDeviceContext::RasterDeviceContext;
        bool TakesSpans() const override { return false; }
    };
    Bitmap through(160, 120, QColor(Qt::gray).rgba());
    {
        PixelsOnly dc(through);
        PlayEnhMetafile(dc, fromPixels, Rect{2, 3, 158, 117});
    }
    for (bool vector : {false, true}) {
        const QImage image = played(vector);
        for (int y = 0; y < 120; y += 7)
            for (int x = 0; x < 160; ++x)
                ASSERT_EQ(image.pixel(x, y), through.Pixel(x, y)) << x << "," << y << (vector ? " vector" : " raster");
    }
}

TEST(SpanRaster, APictureOfSpansSavesTheBitmapItStandsForAndDropsThemWhenWritten)
{
    const std::optional<SpanRaster> spans = AsSpans(61, 47, [](DeviceContext& dc) { Symbol(dc, kBlack, kWhiteRef); });
    ASSERT_TRUE(spans);
    BitmapImage picture(*spans);
    EXPECT_EQ(picture.Width(), 61);
    EXPECT_EQ(picture.Height(), 47);
    EXPECT_EQ(picture.SaveToBytes(), BitmapImage(spans->ToBitmap()).SaveToBytes());
    const std::unique_ptr<Graphic> copy = picture.Clone();
    picture.MutableBitmap().SetPixel(0, 0, 0xFF123456u);
    EXPECT_EQ(picture.Spans(), nullptr);
    EXPECT_EQ(picture.GetBitmap().Pixel(0, 0), 0xFF123456u);
    const auto& kept = dynamic_cast<const BitmapImage&>(*copy);
    ASSERT_NE(kept.Spans(), nullptr);
    EXPECT_EQ(kept.GetBitmap(), spans->ToBitmap());
    // A picture says whether it holds spans, whatever graphic it holds.
    Picture holder;
    EXPECT_EQ(holder.Spans(), nullptr);
    holder.SetSpans(*spans);
    ASSERT_NE(holder.Spans(), nullptr);
    EXPECT_EQ(holder.Spans()->bands.size(), spans->bands.size());
    holder.SetBitmap(spans->ToBitmap());
    EXPECT_EQ(holder.Spans(), nullptr);
    holder.SetGraphic(std::make_unique<MetafileImage>());
    EXPECT_EQ(holder.Spans(), nullptr);
}

} // namespace
