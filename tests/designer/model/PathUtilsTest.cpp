#include "designer/model/PathUtils.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"

#include <functional>
#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;

// A red pen and brush on a white bitmap.
struct Canvas {
    explicit Canvas(int w = 60, int h = 40) : bitmap(w, h), dc(bitmap)
    {
        dc.SelectPen(Pen{PenStyle::Solid, 0, 0x0000FF});
        dc.SelectBrush(Brush{BrushStyle::Solid, 0x0000FF});
    }
    int Count(std::uint32_t argb) const
    {
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += bitmap.Pixel(x, y) == argb;
        return n;
    }
    Bitmap bitmap;
    RasterDeviceContext dc;
};

// Two squares: (5,5)-(20,20) and (30,5)-(50,25), each closed.
TPath TwoSquares()
{
    Canvas source;
    source.dc.BeginPath();
    source.dc.Rectangle(5, 5, 20, 20);
    source.dc.Rectangle(30, 5, 50, 25);
    source.dc.EndPath();
    TPath path;
    path.CapturePath(source.dc);
    return path;
}

// Every red pixel of a has a red pixel of b at most one pixel away.
bool RedWithinOnePixel(const Bitmap& a, const Bitmap& b)
{
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) != kRed)
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    near = near || (b.Contains(x + dx, y + dy) && b.Pixel(x + dx, y + dy) == kRed);
            if (!near)
                return false;
        }
    return true;
}

std::string Message(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EPathError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(PathUtils, CapturedFiguresReadBackAsPointsKindsAndCloseFlags)
{
    const TPath path = TwoSquares();
    ASSERT_EQ(path.GetCount(), 8);
    TPathPoint p;
    path.GetPoint(0, p);
    EXPECT_EQ(p.X, 5);
    EXPECT_EQ(p.Y, 5);
    EXPECT_EQ(p.Kind, 0);
    EXPECT_FALSE(p.Closed);
    path.GetPoint(3, p);
    EXPECT_EQ(p.Kind, 1);
    EXPECT_TRUE(p.Closed);
    path.GetPoint(4, p);
    EXPECT_EQ(p.X, 30);
    EXPECT_EQ(p.Kind, 0);
}

TEST(PathUtils, PointAccessOutsideTheRangeRaisesItsOwnMessageAndChangesNothing)
{
    TPath path = TwoSquares();
    TPathPoint p{1, 2, 1, true};
    EXPECT_EQ(Message([&] { path.GetPoint(path.GetCount(), p); }), "TPath.GetPoint: Index is Out of Range");
    EXPECT_EQ(Message([&] { path.GetPoint(-1, p); }), "TPath.GetPoint: Index is Out of Range");
    EXPECT_EQ(Message([&] { path.SetPoint(8, p); }), "TPath.SetPoint: Index is Out of Range");
    EXPECT_EQ(Message([&] { path.SetPoint(-5, p); }), "TPath.SetPoint: Index is Out of Range");
    EXPECT_EQ(p.X, 1);
    EXPECT_TRUE(p.Closed);
    EXPECT_EQ(path.GetCount(), 8);
    EXPECT_THROW(TPath().GetPoint(0, p), Error);
}

TEST(PathUtils, SetPointStoresEachKindAndAnUnknownKindReplaysAsNothing)
{
    TPath path = TwoSquares();
    for (std::uint8_t kind : {0, 1, 2}) {
        path.SetPoint(2, TPathPoint{7, 9, kind, kind == 1});
        TPathPoint p;
        path.GetPoint(2, p);
        EXPECT_EQ(p.X, 7);
        EXPECT_EQ(p.Y, 9);
        EXPECT_EQ(p.Kind, kind);
        EXPECT_EQ(p.Closed, kind == 1);
    }
    path.SetPoint(2, TPathPoint{7, 9, 5, false});
    TPathPoint p;
    path.GetPoint(2, p);
    EXPECT_EQ(p.Kind, 0);
}

TEST(PathUtils, ReplayedPathFillsExactlyTheCapturedShapes)
{
    Canvas direct;
    direct.dc.BeginPath();
    direct.dc.MoveTo(10, 30);
    direct.dc.PolyBezierTo({{20, 0}, {40, 0}, {50, 30}});
    direct.dc.LineTo(10, 30);
    direct.dc.CloseFigure();
    direct.dc.EndPath();
    TPath path;
    path.CapturePath(direct.dc);
    TPathPoint p;
    path.GetPoint(1, p);
    EXPECT_EQ(p.Kind, 2); // kept as a curve, not flattened
    direct.dc.StrokeAndFillPath();

    Canvas replayed;
    path.StrokeAndFill(replayed.dc);
    EXPECT_GT(replayed.Count(kRed), 300);
    EXPECT_EQ(replayed.bitmap, direct.bitmap);

    TPath copy;
    copy.Assign(path);
    path.SetPoint(0, TPathPoint{0, 0, 0, false});
    Canvas fromCopy;
    copy.StrokeAndFill(fromCopy.dc);
    EXPECT_EQ(fromCopy.bitmap, direct.bitmap);
}

TEST(PathUtils, NoPathCapturesNothingAndReplaysAnEmptyPath)
{
    Canvas canvas;
    TPath path = TwoSquares();
    path.CapturePath(canvas.dc); // no path begun
    EXPECT_EQ(path.GetCount(), 0);
    canvas.dc.BeginPath();     // still open: no path to hand out either
    path.CapturePath(canvas.dc);
    EXPECT_EQ(path.GetCount(), 0);
    canvas.dc.EndPath();
    path.StrokeAndFill(canvas.dc);
    EXPECT_EQ(canvas.Count(kWhite), 60 * 40);
}

TEST(PathUtils, ACurveWithoutItsTwoFollowingPointsEndsThePathThere)
{
    TPath path = TwoSquares();
    // The second square's third corner becomes a curve start with only one
    // point after it.
    path.SetPoint(6, TPathPoint{50, 25, 2, false});
    Canvas canvas;
    path.StrokeAndFill(canvas.dc);
    // The first square is filled (15 x 15 pixels and its outline); the
    // second figure stops after its first side: a line, no fill.
    EXPECT_EQ(canvas.bitmap.Pixel(12, 12), kRed);
    EXPECT_EQ(canvas.bitmap.Pixel(40, 15), kWhite);
    EXPECT_EQ(canvas.bitmap.Pixel(40, 5), kRed);
    EXPECT_LT(canvas.Count(kRed), 16 * 16 + 25);
}

TEST(PathUtils, TextOutlinesSurviveCaptureAndReplay)
{
    Canvas direct(120, 60);
    LogFont font;
    font.height = -40;
    font.faceName = Sjis("ＭＳ ゴシック");
    font.charSet = kShiftJisCharset;
    direct.dc.SelectFont(font);
    direct.dc.SetBkMode(BkMode::Transparent);
    direct.dc.BeginPath();
    direct.dc.TextOut(4, 4, Sjis("文A"));
    direct.dc.EndPath();
    direct.dc.FlattenPath();
    TPath path;
    path.CapturePath(direct.dc);
    EXPECT_GT(path.GetCount(), 40);
    direct.dc.StrokeAndFillPath();
    Canvas replayed(120, 60);
    path.StrokeAndFill(replayed.dc);
    // The captured points are whole pixels, the direct outline is not: the
    // two differ only along the edges, by at most one pixel.
    EXPECT_GT(direct.Count(kRed), 400);
    EXPECT_TRUE(RedWithinOnePixel(replayed.bitmap, direct.bitmap));
    EXPECT_TRUE(RedWithinOnePixel(direct.bitmap, replayed.bitmap));
}
