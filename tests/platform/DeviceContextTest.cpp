#include "platform/gdi/RasterDeviceContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace lx;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRed = 0xFFFF0000u; // 0x0000FF as a colour value
constexpr std::uint32_t kBlue = 0xFF0000FFu; // 0xFF0000 as a colour value

// One character per pixel: '.' white, '#' black, 'r' red, 'b' blue.
std::string Row(const Bitmap& bmp, int y)
{
    std::string s;
    for (int x = 0; x < bmp.Width(); ++x) {
        const std::uint32_t p = bmp.Pixel(x, y);
        s += p == kWhite ? '.' : p == kBlack ? '#' : p == kRed ? 'r' : p == kBlue ? 'b' : '?';
    }
    return s;
}

int CountNonWhite(const Bitmap& bmp)
{
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            n += bmp.Pixel(x, y) != kWhite;
    return n;
}

// The bitmap after `draw` ran on a context over it, the context closed.
template <typename Draw>
Bitmap Drawn(int width, int height, Draw draw, std::uint32_t fill = kWhite)
{
    Bitmap bmp(width, height, fill);
    {
        RasterDeviceContext dc(bmp);
        draw(dc);
    }
    return bmp;
}

// A raster context that logs the work handed to the device: pixel spans,
// and the points of wide strokes.
struct WorkLog : RasterDeviceContext {
    using RasterDeviceContext::RasterDeviceContext;
    void PaintSpans(const std::vector<PixelSpan>& spans, ColorRef color) override
    {
        this->spans += spans.size();
        RasterDeviceContext::PaintSpans(spans, color);
    }
    void PaintStroke(const DevicePath& path, double width, ColorRef color) override
    {
        stroked.insert(stroked.end(), path.begin(), path.end());
        RasterDeviceContext::PaintStroke(path, width, color);
    }
    void StrokeUncut(const DevicePath& path, double width, ColorRef color)
    {
        RasterDeviceContext::PaintStroke(path, width, color);
    }
    std::size_t spans = 0;
    DevicePath stroked;
};

} // namespace

TEST(DeviceContext, RectanglesOfEverySmallSizeFillTheirBoxWithThePenInside)
{
    // Pixel by pixel: the pen's band of `pen` pixels (a cosmetic pen's one)
    // inside the box, the brush (or nothing) within; right and bottom edges
    // exclusive.
    for (int pen = 0; pen <= 3; ++pen)
        for (const bool solid : {true, false})
            for (int w = 1; w <= 8; ++w)
                for (int h = 1; h <= 8; ++h) {
                    const Bitmap bmp = Drawn(10, 10, [&](DeviceContext& dc) {
                        dc.SelectPen({PenStyle::Solid, pen, 0x000000});
                        dc.SelectBrush({solid ? BrushStyle::Solid : BrushStyle::Clear, 0x0000FF});
                        dc.Rectangle(1, 1, 1 + w, 1 + h);
                    });
                    for (int y = 0; y < 10; ++y)
                        for (int x = 0; x < 10; ++x) {
                            const bool inBox = x >= 1 && x <= w && y >= 1 && y <= h;
                            const bool onPen = std::min({x - 1, w - x, y - 1, h - y}) < std::max(pen, 1);
                            const std::uint32_t want = !inBox ? kWhite : onPen ? kBlack : solid ? kRed : kWhite;
                            ASSERT_EQ(bmp.Pixel(x, y), want) << "pen " << pen << " solid " << solid << " box " << w
                                                             << "x" << h << " at " << x << "," << y;
                        }
                }
}

TEST(DeviceContext, LineToLeavesOutItsEndPointInEveryDirection)
{
    struct Case {
        Point from, to;
    };
    for (const Case& c : {Case{{2, 5}, {8, 5}}, Case{{8, 5}, {2, 5}}, Case{{5, 1}, {5, 9}}, Case{{1, 1}, {9, 9}},
                          Case{{9, 2}, {1, 6}}}) {
        const Bitmap bmp = Drawn(12, 12, [&](DeviceContext& dc) {
            dc.MoveTo(c.from.x, c.from.y);
            dc.LineTo(c.to.x, c.to.y);
            EXPECT_EQ(dc.CurrentPosition(), c.to);
        });
        EXPECT_EQ(bmp.Pixel(c.from.x, c.from.y), kBlack);
        EXPECT_EQ(bmp.Pixel(c.to.x, c.to.y), kWhite);
        EXPECT_EQ(CountNonWhite(bmp), std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y)));
    }
}

TEST(DeviceContext, EllipticRegionsAreSymmetricAndInscribedInTheirBox)
{
    for (const Rect& box : {Rect{3, 4, 40, 25}, Rect{0, 0, 10, 10}, Rect{5, 5, 36, 36}, Rect{2, 2, 7, 30}}) {
        const Region region = Region::FromEllipse(box);
        EXPECT_EQ(region.Bounds(), box); // touches all four sides
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                ASSERT_EQ(region.Contains(x, y), region.Contains(box.left + box.right - 1 - x, y)) << x << "," << y;
                ASSERT_EQ(region.Contains(x, y), region.Contains(x, box.top + box.bottom - 1 - y)) << x << "," << y;
            }
    }
    const Region region = Region::FromEllipse({0, 0, 10, 10});
    EXPECT_EQ(region.Spans().front(), (PixelSpan{0, 3, 7}));
    EXPECT_EQ(region.Spans().back(), (PixelSpan{9, 3, 7}));
}

TEST(DeviceContext, EllipsePensCoverWhatACrossOfTheirWidthCannotReach)
{
    // A pixel of the ellipse is the pen's unless the cross of arms `pen`
    // (a cosmetic pen is one) centred on it stays inside; the brush, or
    // nothing, within. Boxes partly off the device included.
    for (const Rect& box : {Rect{3, 4, 40, 25}, Rect{0, 0, 10, 10}, Rect{5, 5, 36, 36}, Rect{2, 2, 7, 30},
                            Rect{-20, -9, 30, 35}, Rect{2, 2, 9, 38}, Rect{10, -30, 60, 70}})
        for (int pen = 0; pen <= 6; ++pen)
            for (const bool solid : {true, false}) {
                const Bitmap bmp = Drawn(48, 40, [&](DeviceContext& dc) {
                    dc.SelectPen({PenStyle::Solid, pen, 0x000000});
                    dc.SelectBrush({solid ? BrushStyle::Solid : BrushStyle::Clear, 0x0000FF});
                    dc.Ellipse(box.left, box.top, box.right, box.bottom);
                });
                const Region shape = Region::FromEllipse(box);
                const int arm = std::max(pen, 1);
                const auto crossInside = [&](int x, int y) {
                    for (int d = -arm; d <= arm; ++d)
                        if (!shape.Contains(x + d, y) || !shape.Contains(x, y + d))
                            return false;
                    return true;
                };
                const std::uint32_t within = solid ? kRed : kWhite;
                for (int y = 0; y < bmp.Height(); ++y)
                    for (int x = 0; x < bmp.Width(); ++x) {
                        const std::uint32_t want = !shape.Contains(x, y) ? kWhite : crossInside(x, y) ? within : kBlack;
                        ASSERT_EQ(bmp.Pixel(x, y), want)
                            << "pen " << pen << " solid " << solid << " at " << x << "," << y;
                    }
            }
}

TEST(DeviceContext, EllipseWorkGrowsWithTheDeviceNotThePen)
{
    // Counts the pixel spans handed to the device: a pen far wider than the
    // device must not cost more rows than the device has.
    Bitmap bmp(48, 32);
    WorkLog dc(bmp);
    dc.SelectPen({PenStyle::Solid, 1 << 30, 0x000000});
    dc.Ellipse(-10000, -10000, 10048, 10032);
    EXPECT_LE(dc.spans, 3u * 32u);
    EXPECT_EQ(Row(bmp, 0) + Row(bmp, 31), std::string(96, '#')); // inside the pen's band
}

TEST(DeviceContext, WideStrokesHandTheDeviceOnlyWhatThePenCanReach)
{
    // Polylines and closed figures reaching far beyond a 48 x 32 device with
    // a pen of 9: the device gets the same pixels as from the whole path,
    // and no point further out than the pen's reach.
    const std::vector<std::vector<Point>> figures = {
        {{-400, 10}, {20, 12}, {30, 300}},
        {{5, 5}, {2000, 20}, {40, -3000}, {10, 25}},
        {{-100, -100}, {60, 40}},
    };
    for (const auto& points : figures)
        for (const bool closed : {false, true}) {
            Bitmap cut(48, 32);
            Bitmap whole(48, 32);
            WorkLog dc(cut);
            dc.SelectPen({PenStyle::Solid, 9, 0x000000});
            dc.BeginPath();
            dc.MoveTo(points[0].x, points[0].y);
            DevicePath full{{double(points[0].x), double(points[0].y), kPtMoveTo}};
            for (std::size_t i = 1; i < points.size(); ++i) {
                dc.LineTo(points[i].x, points[i].y);
                full.push_back({double(points[i].x), double(points[i].y), kPtLineTo});
            }
            if (closed) {
                dc.CloseFigure();
                full.back().type |= kPtCloseFigure;
            }
            dc.EndPath();
            dc.StrokePath();
            WorkLog reference(whole);
            reference.StrokeUncut(full, 9, 0x000000);
            EXPECT_TRUE(cut == whole) << points.size() << " points, closed " << closed;
            for (const PathPoint& p : dc.stroked)
                ASSERT_TRUE(p.x >= -7 && p.x <= 55 && p.y >= -7 && p.y <= 39) << p.x << "," << p.y;
        }
}

TEST(DeviceContext, APenWiderThanTheDeviceCoversItFromAnyPointOnIt)
{
    Bitmap bmp(48, 32);
    WorkLog dc(bmp);
    dc.SelectPen({PenStyle::Solid, 1000, 0x000000});
    dc.MoveTo(10, 10);
    for (int i = 0; i < 1000; ++i)
        dc.LineTo(i % 2 ? 40 : 2, i % 32);
    EXPECT_TRUE(dc.stroked.empty());
    EXPECT_EQ(CountNonWhite(bmp), 48 * 32);
}

TEST(DeviceContext, DashPatternsCountPixelStepsAlsoOnDiagonals)
{
    for (PenStyle style : {PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot}) {
        auto line = [style](int dy) {
            return Drawn(70, 70, [&](DeviceContext& dc) {
                dc.SetBkMode(BkMode::Transparent);
                dc.SelectPen({style, 0, 0x000000});
                dc.MoveTo(0, 0);
                dc.LineTo(60, dy);
            });
        };
        const Bitmap straight = line(0), diagonal = line(60);
        for (int i = 0; i < 60; ++i)
            ASSERT_EQ(straight.Pixel(i, 0), diagonal.Pixel(i, i)) << i;
        const int drawn = CountNonWhite(straight);
        EXPECT_GT(drawn, 15);
        EXPECT_LT(drawn, 50);
    }
}

TEST(DeviceContext, OpaqueBackgroundFillsTheGapsOfStyledLines)
{
    const Bitmap bmp = Drawn(
        30, 3,
        [](DeviceContext& dc) {
            dc.SetBkColor(0xFF0000);
            dc.SelectPen({PenStyle::Dot, 0, 0x000000});
            dc.MoveTo(0, 1);
            dc.LineTo(30, 1);
        },
        0xFF00FF00u);
    for (int x = 0; x < 30; ++x)
        EXPECT_TRUE(bmp.Pixel(x, 1) == kBlack || bmp.Pixel(x, 1) == kBlue) << x;
}

TEST(DeviceContext, AnisotropicThreeTimesLandsOnWholeDevicePixels)
{
    // A symbol-style drawing: y grows upward, one logical unit = 3 pixels,
    // a pen one logical unit wide.
    const Bitmap bmp = Drawn(40, 40, [](DeviceContext& dc) {
        dc.SetMapMode(MapMode::Anisotropic);
        dc.SetWindowExt(12, -12);
        dc.SetViewportExt(36, 36);
        dc.SetViewportOrg(1, 1);
        dc.SelectPen({PenStyle::Solid, 1, 0x000000});
        dc.SelectBrush({BrushStyle::Solid, 0x0000FF});
        dc.Rectangle(1, -1, 11, -11);
        dc.SelectPen({PenStyle::Solid, 1, 0xFF0000});
        dc.SelectBrush({BrushStyle::Solid, 0xFF0000});
        dc.Rectangle(5, -5, 7, -7);
    });
    EXPECT_EQ(Row(bmp, 3), std::string(40, '.'));
    EXPECT_EQ(Row(bmp, 4), std::string(4, '.') + std::string(30, '#') + std::string(6, '.'));
    EXPECT_EQ(Row(bmp, 6), std::string(4, '.') + std::string(30, '#') + std::string(6, '.'));
    EXPECT_EQ(Row(bmp, 7), "....###" + std::string(24, 'r') + "###......");
    EXPECT_EQ(Row(bmp, 16), "....###" + std::string(9, 'r') + std::string(6, 'b') + std::string(9, 'r') + "###......");
    EXPECT_EQ(Row(bmp, 15), "....###" + std::string(24, 'r') + "###......");
    EXPECT_EQ(Row(bmp, 33), std::string(4, '.') + std::string(30, '#') + std::string(6, '.'));
    EXPECT_EQ(Row(bmp, 34), std::string(40, '.'));
}

TEST(DeviceContext, StretchDrawKeepsModulesSharpAndSkipsTheKeyColour)
{
    Bitmap source(2, 2);
    source.SetPixel(0, 0, kBlack);
    source.SetPixel(1, 1, 0xFFFF00FFu);
    const Bitmap bmp = Drawn(
        8, 8,
        [&](DeviceContext& dc) {
            dc.StretchDraw({1, 1, 7, 7}, source, 0xFF00FF);
        },
        kRed);
    EXPECT_EQ(Row(bmp, 0), "rrrrrrrr");
    for (int y = 1; y <= 3; ++y)
        EXPECT_EQ(Row(bmp, y), "r###...r");
    for (int y = 4; y <= 6; ++y)
        EXPECT_EQ(Row(bmp, y), "r...rrrr");
}

TEST(DeviceContext, ClipRegionsIntersectAndLimitEveryFigure)
{
    const Region clip = Region::FromRect({0, 0, 20, 31}).Intersected(Region::FromEllipse({-2, -2, 33, 33}));
    const Bitmap bmp = Drawn(30, 30, [&](DeviceContext& dc) {
        dc.SelectClipRegion(&clip);
        dc.FillRect({0, 0, 30, 30}, 0x000000);
        dc.SelectClipRegion(nullptr);
        dc.FillRect({25, 0, 26, 1}, 0x0000FF);
    });
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 25; ++x)
            ASSERT_EQ(bmp.Pixel(x, y) == kBlack, clip.Contains(x, y)) << x << "," << y;
    EXPECT_EQ(bmp.Pixel(25, 0), kRed);
}

TEST(DeviceContext, RestoreDcBringsBackMappingObjectsAndClip)
{
    Bitmap bmp(4, 4);
    RasterDeviceContext dc(bmp);
    dc.SelectPen({PenStyle::Dot, 0, 0x123456});
    const int level = dc.SaveDC();
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(5, 5);
    dc.SelectPen({PenStyle::Solid, 3, 0});
    const Region clip = Region::FromRect({0, 0, 1, 1});
    dc.SelectClipRegion(&clip);
    EXPECT_EQ(dc.LogicalToDevice(Point{2, 2}), (Point{10, 10}));
    // A state saved inside a mapping brings that mapping back.
    const int inner = dc.SaveDC();
    dc.SetViewportOrg(5, 5);
    dc.SetWindowExt(5, 5);
    EXPECT_EQ(dc.LogicalToDevice(Point{2, 2}), (Point{7, 7}));
    EXPECT_TRUE(dc.RestoreDC(inner));
    EXPECT_EQ(dc.LogicalToDevice(Point{2, 2}), (Point{10, 10}));
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_EQ(dc.GetMapMode(), MapMode::Text);
    EXPECT_EQ(dc.LogicalToDevice(Point{2, 2}), (Point{2, 2}));
    EXPECT_EQ(dc.CurrentPen(), (Pen{PenStyle::Dot, 0, 0x123456}));
    EXPECT_FALSE(dc.ClipRegion().has_value());
    EXPECT_FALSE(dc.RestoreDC(1));
}

TEST(DeviceContext, MonochromeRowsArePaddedToEvenBytesAndWhiteIsOne)
{
    Bitmap bmp(17, 2);
    bmp.SetPixel(0, 0, kBlack);
    bmp.SetPixel(16, 1, kBlack);
    const MonochromeBitmap mono = ToMonochrome(bmp);
    EXPECT_EQ(mono.RowBytes(), 4);
    ASSERT_EQ(mono.bits.size(), 8u);
    EXPECT_EQ(mono.bits[0], 0x7F);
    EXPECT_EQ(mono.bits[2], 0x80); // pixel 16 of row 0 is white
    EXPECT_EQ(mono.bits[6], 0x00);
    EXPECT_EQ(FromMonochrome(mono), bmp);
}

TEST(DeviceContext, FaceNamesKeepThirtyOneBytesWithoutCuttingACharacter)
{
    Bitmap bmp(1, 1);
    RasterDeviceContext dc(bmp);
    LogFont font;
    font.faceName = std::string(31, 'A') + "BC";
    dc.SelectFont(font);
    EXPECT_EQ(dc.CurrentFont().faceName, std::string(31, 'A'));
    font.faceName = "A";
    for (int i = 0; i < 16; ++i)
        font.faceName += "\x82\xA0"; // あ
    dc.SelectFont(font);
    EXPECT_EQ(dc.CurrentFont().faceName.size(), 31u);
    font.faceName.erase(0, 1); // now every pair would straddle byte 31
    dc.SelectFont(font);
    EXPECT_EQ(dc.CurrentFont().faceName.size(), 30u);
}
