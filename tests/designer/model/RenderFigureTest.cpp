// Figures, grids and pictures drawn by the object list's draw operations,
// checked on the pixels of the played-back drawing.
#include "designer/model/LxLabelObjectManager.h"

#include "LabelTestSupport.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/metafile/WindowsMetafile.h"
#include "platform/printing/Printer.h"
#include "support/ImageOracles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace lx;
using lxtest::IsColor;

namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;

// The box of every figure: (100, 100) to (300, 200).
constexpr int L = 100, T = 100, W = 200, H = 100, R = L + W, B = T + H;
constexpr PixelBox kBox{L, T, W, H};

struct DrawOps : ::testing::Test {
    std::vector<std::string> faces;
    TlxLabelObjectManager list{faces, 20, 20, 0};

    Bitmap Figure(std::uint8_t type, std::int32_t lineWidth = 0, std::uint8_t lineType = 0)
    {
        return lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
            list.Painter().DrawFigure(dc, {{lineWidth, lineType, kRed}, type}, kBox);
        });
    }
    // Rows (or columns) of red pixels crossing a line at one place.
    static int Thickness(const Bitmap& b, int x, int y, bool vertical)
    {
        int n = 0;
        for (int i = 0; i < (vertical ? b.Height() : b.Width()); ++i)
            n += IsColor(b, vertical ? x : i, vertical ? i : y, kRed);
        return n;
    }
};

} // namespace

TEST_F(DrawOps, FigureTypesFitTheBox)
{
    struct Probe {
        int x, y;
        bool red;
    };
    struct Case {
        std::uint8_t type;
        std::vector<Probe> probes;
        int minCount, maxCount;
    };
    const int midX = L + W / 2, midY = T + H / 2;
    const Case cases[] = {
        {0, {{midX, T, true}, {midX, B - 1, true}, {midX, B, false}, {midX - 1, midY, false}}, H, H},
        {1, {{L, midY, true}, {R - 1, midY, true}, {R, midY, false}, {midX, midY + 1, false}}, W, W},
        {2, {{L, T, true}, {midX, midY, true}, {L, B - 1, false}, {R, B, false}}, W, W},
        {3, {{L, B, true}, {midX, midY, true}, {L, T, false}, {R, T, false}}, W, W},
        {4,
         {{L, T, true},
          {R - 1, T, true},
          {L, B - 1, true},
          {R - 1, B - 1, true},
          {midX, midY, false},
          {R, T, false},
          {L, B, false}},
         2 * W + 2 * H - 4,
         2 * W + 2 * H - 4},
        {5, {{L, midY, true}, {midX, T, true}, {midX, midY, false}, {L, T, false}, {R - 1, B - 1, false}}, 400, 800},
        {6, {{L, T, true}, {R - 1, B - 1, true}, {R, midY, false}, {midX, B, false}}, W * H, W * H},
        {7,
         {{midX, midY, true}, {L, midY, true}, {L, T, false}, {R - 1, B - 1, false}},
         int(0.77 * W * H),
         int(0.80 * W * H)},
        {8, {{midX, midY, false}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.type));
        const Bitmap picture = Figure(c.type);
        for (const Probe& p : c.probes)
            EXPECT_EQ(IsColor(picture, p.x, p.y, kRed), p.red) << p.x << "," << p.y;
        const int count = lxtest::CountColor(picture, kRed);
        EXPECT_GE(count, c.minCount);
        EXPECT_LE(count, c.maxCount);
        EXPECT_EQ(lxtest::FindInk(picture).count, count); // one colour, nothing else
    }
}

TEST_F(DrawOps, SolidLinesTakeTheirWidthStyledLinesAreThinnest)
{
    // Width 1 (0.1 mm) at 600 dpi: round(600 x 0.1 / 25.4) = 2 pixels.
    EXPECT_EQ(Thickness(Figure(1, 1), 200, 0, true), 2);
    EXPECT_EQ(Thickness(Figure(0, 1), 0, 150, false), 2);
    // 3 mm: 71 pixels.
    EXPECT_EQ(Thickness(Figure(1, 30), 200, 0, true), 71);
    // Zero and negative widths still draw one pixel.
    EXPECT_EQ(Thickness(Figure(1, 0), 200, 0, true), 1);
    EXPECT_EQ(Thickness(Figure(1, -40), 200, 0, true), 1);
    // Every other style draws the thinnest line, with gaps.
    for (std::uint8_t style = 1; style <= 4; ++style) {
        SCOPED_TRACE(int(style));
        const Bitmap dotted = Figure(1, 30, style);
        const int along = Thickness(dotted, 0, T + H / 2, false);
        EXPECT_GT(along, W / 4);
        EXPECT_LT(along, W);
        EXPECT_EQ(lxtest::FindInk(dotted).Height(), 1);
    }
    // The rule follows the resolution of the render.
    list.SetDpiX(300);
    const Bitmap at300 = lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
        list.SetDpiX(300);
        list.Painter().DrawFigure(dc, {{1, 0, kRed}, 1}, kBox);
    });
    EXPECT_EQ(Thickness(at300, 200, 0, true), 1);
}

TEST_F(DrawOps, OneByOneGridDrawsOnlyItsFrame)
{
    const Bitmap grid = lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
        list.Painter().DrawGrid(dc, {1, 1, {0, 0, kRed}, {0, 0, kBlue}}, kBox);
    });
    EXPECT_EQ(lxtest::CountColor(grid, kRed), 0);
    // Four lines, each leaving out its end point: the far corner stays white.
    EXPECT_EQ(lxtest::CountColor(grid, kBlue), 2 * W + 2 * H - 1);
    EXPECT_TRUE(IsColor(grid, L, T, kBlue));
    EXPECT_TRUE(IsColor(grid, R, T, kBlue));
    EXPECT_TRUE(IsColor(grid, L, B, kBlue));
    EXPECT_FALSE(IsColor(grid, R, B, kBlue));
}

TEST_F(DrawOps, GridLinesDivideTheBoxAndTheFrameIsDrawnOverThem)
{
    const Bitmap grid = lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
        list.Painter().DrawGrid(dc, {3, 2, {0, 0, kRed}, {3, 0, kBlue}}, kBox);
    });
    for (int t = 1; t < 3; ++t) {
        const int x = static_cast<int>(std::nearbyint(L + W / 3.0 * t));
        EXPECT_TRUE(IsColor(grid, x, T + 25, kRed)) << x;
        EXPECT_FALSE(IsColor(grid, x + 1, T + 25, kRed)) << x;
    }
    EXPECT_TRUE(IsColor(grid, L + 50, T + H / 2, kRed));
    // The frame: 0.3 mm = 7 pixels, on top of the inner lines' ends.
    int frame = 0;
    for (int y = 0; y < 300; ++y)
        frame += IsColor(grid, L + 50, y, kBlue);
    EXPECT_EQ(frame, 2 * 7);
    EXPECT_TRUE(IsColor(grid, static_cast<int>(std::nearbyint(L + W / 3.0)), T, kBlue));
}

TEST_F(DrawOps, HugeGridCountsDrawEveryPixelLineOnceAndFinish)
{
    const auto start = std::chrono::steady_clock::now();
    const Bitmap grid = lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
        list.Painter().DrawGrid(dc, {2'000'000'000, 1'500'000'000, {0, 0, kRed}, {0, 0, kBlue}}, kBox);
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    // Lines on every pixel strictly inside the frame cover it whole.
    for (int y = T + 1; y < B; ++y)
        for (int x = L + 1; x < R; ++x)
            ASSERT_TRUE(IsColor(grid, x, y, kRed)) << x << "," << y;
    // Negative counts draw no inner line.
    const Bitmap none = lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
        list.Painter().DrawGrid(dc, {-5, -0x7FFFFFFF, {0, 0, kRed}, {0, 0, kBlue}}, kBox);
    });
    EXPECT_EQ(lxtest::CountColor(none, kRed), 0);
}

TEST_F(DrawOps, PicturesStretchOpaqueOrLeaveTheKeyColourOut)
{
    Bitmap quad(2, 2);
    quad.SetPixel(0, 0, ArgbFromColorRef(kRed));
    quad.SetPixel(1, 0, ArgbFromColorRef(kGreen));
    quad.SetPixel(0, 1, ArgbFromColorRef(kBlue));
    quad.SetPixel(1, 1, 0xFFFFFFFF);
    Picture picture;
    picture.SetBitmap(quad);

    auto draw = [&](bool transparent) {
        return lxtest::RenderDrawing(list, 400, 300, [&](DeviceContext& dc) {
            dc.FillRect(Rect{0, 0, 400, 300}, 0x808080);
            list.Painter().DrawPicture(dc, picture, transparent ? std::optional<ColorRef>(0xFFFFFF) : std::nullopt,
                                       kBox);
        });
    };
    const Bitmap opaque = draw(false);
    EXPECT_TRUE(IsColor(opaque, L, T, kRed));
    EXPECT_TRUE(IsColor(opaque, R - 1, T, kGreen));
    EXPECT_TRUE(IsColor(opaque, L, B - 1, kBlue));
    EXPECT_TRUE(IsColor(opaque, R - 1, B - 1, 0xFFFFFF));
    EXPECT_TRUE(IsColor(opaque, R, B, 0x808080));
    EXPECT_EQ(lxtest::CountColor(opaque, kRed), W * H / 4);
    const Bitmap keyed = draw(true);
    EXPECT_TRUE(IsColor(keyed, R - 1, B - 1, 0x808080));
    EXPECT_EQ(lxtest::CountColor(keyed, kRed), W * H / 4);

    // No picture, or one that cannot be decoded, draws nothing and stays.
    picture.Clear();
    EXPECT_EQ(lxtest::CountColor(draw(false), 0x808080), 400 * 300);
    // A JPEG whose header reads but whose scan asks for Huffman tables that
    // are not there: decoding fails.
    std::string damaged = lxtest::WriteJpegWithLibjpeg(8, 8, 1, 1, std::vector<std::uint8_t>(64, 128), false);
    const std::size_t sos = damaged.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    damaged[sos + 6] = 0x33;
    auto jpeg = std::make_unique<JpegImage>();
    jpeg->LoadFromBytes(damaged);
    picture.SetGraphic(std::move(jpeg));
    EXPECT_EQ(lxtest::CountColor(draw(false), 0x808080), 400 * 300);
    EXPECT_EQ(picture.GetGraphic()->SaveToBytes(), damaged);
}

// The label metafile holds no more pixels than the box shows, and playing it
// gives the pixels a stretch of the whole picture gives.
TEST_F(DrawOps, PicturesLargerThanTheBoxReachTheMetafileAtTheBoxSize)
{
    Bitmap source(997, 613);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            source.SetPixel(x, y, 0xFF000000u | std::uint32_t(x * 2654435761u ^ y * 40503u) >> 8);
    Picture picture;
    picture.SetBitmap(source);
    const DeviceInfo printer = VirtualPrinterDevice();
    EmfRecorder recorder(printer, FrameForPixels(Size{400, 300}, printer));
    list.Painter().DrawPicture(recorder, picture, std::nullopt, kBox);
    const EnhMetafile label = recorder.Close();
    EXPECT_LT(label.Bytes().size(), std::size_t{W} * H * 3 + 4096);
    Bitmap played(400, 300);
    RasterDeviceContext playedDc(played, printer);
    PlayEnhMetafile(playedDc, label, Rect{0, 0, 400, 300});
    Bitmap direct(400, 300);
    RasterDeviceContext directDc(direct, printer);
    directDc.StretchDraw(Rect{L, T, R, B}, source);
    EXPECT_TRUE(played == direct);
}

TEST_F(DrawOps, MetafilePicturesArePlayedIntoTheBoxAndKept)
{
    // A 10 x 10 picture: left half red, right half blue.
    auto record = [](DeviceContext& dc) {
        dc.FillRect(Rect{0, 0, 5, 10}, kRed);
        dc.FillRect(Rect{5, 0, 10, 10}, kBlue);
    };
    EmfRecorder emf(DisplayDevice(), FrameForPixels(Size{10, 10}, DisplayDevice()));
    record(emf);
    WmfRecorder wmf;
    wmf.SetMapMode(MapMode::Anisotropic);
    wmf.SetWindowExt(10, 10);
    record(wmf);
    const std::string files[] = {emf.Close().Bytes(), wmf.Close().PlaceableBytes(PlaceableHeader{{0, 0, 10, 10}, 96})};
    for (const std::string& file : files) {
        SCOPED_TRACE(file.size());
        auto graphic = std::make_unique<MetafileImage>();
        graphic->LoadFromBytes(file);
        Picture picture;
        picture.SetGraphic(std::move(graphic));
        const Bitmap drawn = lxtest::RenderDrawing(
            list, 400, 300, [&](DeviceContext& dc) { list.Painter().DrawPicture(dc, picture, kRed, kBox); });
        EXPECT_EQ(lxtest::CountColor(drawn, kRed), W * H / 2);
        EXPECT_EQ(lxtest::CountColor(drawn, kBlue), W * H / 2);
        EXPECT_TRUE(IsColor(drawn, L, T, kRed));
        EXPECT_TRUE(IsColor(drawn, R - 1, B - 1, kBlue));
        EXPECT_EQ(picture.GetGraphic()->SaveToBytes(), file);
    }
}
