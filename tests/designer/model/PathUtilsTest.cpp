#include "designer/model/PathUtils.h"

#include "platform/gdi/RasterDeviceContext.h"

#include <functional>
#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;

// A red pen and brush on a white 60 x 40 bitmap.
struct Canvas {
    Canvas() : bitmap(60, 40), dc(bitmap)
    {
        dc.SelectPen(Pen{PenStyle::Solid, 0, 0x0000FF});
        dc.SelectBrush(Brush{BrushStyle::Solid, 0x0000FF});
    }
    Bitmap bitmap;
    RasterDeviceContext dc;
};

// Two closed squares: (5,5)-(20,20) and (30,5)-(50,25).
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

TEST(PathUtils, PointsReadBackWithKindsAndCloseFlagsAndOutOfRangeRaises)
{
    TPath path = TwoSquares();
    ASSERT_EQ(path.GetCount(), 8);
    TPathPoint p;
    for (const auto& [i, x, kind, closed] : {std::tuple{0, 5, 0, false}, {3, 5, 1, true}, {4, 30, 0, false}}) {
        path.GetPoint(i, p);
        EXPECT_EQ(p.X, x);
        EXPECT_EQ(p.Kind, kind);
        EXPECT_EQ(p.Closed, closed);
    }
    path.SetPoint(2, TPathPoint{7, 9, 5, true}); // an unknown kind reads back as a move
    path.GetPoint(2, p);
    EXPECT_EQ(p.Kind, 0);
    EXPECT_EQ(p.Y, 9);
    EXPECT_TRUE(p.Closed);
    EXPECT_EQ(Message([&] { path.GetPoint(path.GetCount(), p); }), "TPath.GetPoint: Index is Out of Range");
    EXPECT_EQ(Message([&] { path.GetPoint(-1, p); }), "TPath.GetPoint: Index is Out of Range");
    EXPECT_EQ(Message([&] { path.SetPoint(8, p); }), "TPath.SetPoint: Index is Out of Range");
    EXPECT_EQ(p.X, 7);
}

TEST(PathUtils, ReplayedCurvesFillExactlyWhatTheContextFilled)
{
    Canvas direct;
    direct.dc.BeginPath();
    direct.dc.MoveTo(10, 30);
    direct.dc.PolyBezierTo({{20, 0}, {40, 0}, {50, 30}});
    direct.dc.CloseFigure();
    direct.dc.EndPath();
    TPath path;
    path.CapturePath(direct.dc);
    direct.dc.StrokeAndFillPath();

    TPath copy;
    copy.Assign(path);
    path.SetPoint(0, TPathPoint{0, 0, 0, false}); // the copy keeps its own points
    Canvas replayed;
    copy.StrokeAndFill(replayed.dc);
    EXPECT_GT(std::count(replayed.bitmap.Data(), replayed.bitmap.Data() + 60 * 40, kRed), 300);
    EXPECT_EQ(replayed.bitmap, direct.bitmap);
}

TEST(PathUtils, NoPathOrACurveCutShortEndsThePathWithoutReadingPastIt)
{
    Canvas canvas;
    TPath path = TwoSquares();
    canvas.dc.BeginPath(); // still open: the context hands out no path
    path.CapturePath(canvas.dc);
    EXPECT_EQ(path.GetCount(), 0);
    canvas.dc.EndPath();
    path.StrokeAndFill(canvas.dc);
    EXPECT_EQ(canvas.bitmap, Bitmap(60, 40));

    path = TwoSquares();
    path.SetPoint(6, TPathPoint{50, 25, 2, false}); // a curve with one point after it
    path.StrokeAndFill(canvas.dc);
    EXPECT_EQ(canvas.bitmap.Pixel(12, 12), kRed); // the first square filled
    EXPECT_EQ(canvas.bitmap.Pixel(40, 5), kRed); // the second: its first side only
    EXPECT_NE(canvas.bitmap.Pixel(40, 15), kRed);
}
