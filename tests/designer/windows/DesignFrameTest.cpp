#include "DesignerFixture.h"

#include "designer/model/LxLabelFigure.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/text/Cp932.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

using namespace lx;

namespace {

constexpr std::uint32_t kBlue = 0xFF0000FFu;

class DesignFrameTest : public lxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }

    // A new design on a one-cell paper of the given cell.
    void NewDesignOnCell(const std::string& cellLine)
    {
        NewDesignOnPaper("TEST-1", "LBLBASE\r\n1.00\r\n1\r\n0\r\n0\r\n0\r\n" + cellLine + "\r\n");
    }

    QImage Surface() { return FormDesign->ImageDesign->picture(); }
};

} // namespace

TEST_F(DesignFrameTest, DisplaySizesScrollOnlyWhenLargerThanTheWindow)
{
    NewDesignOnCell("lxLineNomal\t0\t0\t100\t50");
    QScrollArea* box = FormDesign->ScrollBoxDesign;
    const QSize visible = box->maximumViewportSize();
    // A wide cell fills the width of the visible area.
    EXPECT_EQ(FormDesign->ImageDesign->size(), visible);
    EXPECT_EQ(Surface().width(), visible.width());
    EXPECT_EQ(Surface().height(), static_cast<int>(std::nearbyint(visible.width() * 50.0 / 100.0)));
    // A millimetre on the surface is the picture's width over the cell's.
    EXPECT_EQ(FormDesign->SurfaceMmToPixels(true, 100), Surface().width());
    EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->verticalScrollBar()->maximum(), 0);

    FormDesign->CBShowSize->setCurrentIndex(3);
    lxtest::ProcessEvents();
    EXPECT_EQ(FormDesign->ImageDesign->size(), QSize(1920, 1200));
    EXPECT_EQ(Surface().size(), QSize(1920, 960));
    EXPECT_GT(box->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);

    FormDesign->CBShowSize->setCurrentIndex(0);
    lxtest::ProcessEvents();
    EXPECT_EQ(FormDesign->ImageDesign->size(), visible);
    EXPECT_EQ(box->horizontalScrollBar()->maximum(), 0);

    // A tall (or square) cell fills the height; the picture is centred.
    FormDesign->close();
    NewDesignOnCell("lxLineNomal\t0\t0\t40\t40");
    EXPECT_EQ(Surface().height(), visible.height());
    EXPECT_EQ(Surface().width(), visible.height());
    EXPECT_EQ(FormDesign->ImageDesign->pictureOffset(), QPoint((visible.width() - visible.height()) / 2, 0));
}

TEST_F(DesignFrameTest, InnerShapesLieWhereTheyAreInTheCell)
{
    // A cell at (50, 20) with an inner line from (60, 30) to (90, 40) and an
    // inner circle at (70, 20) of 10 mm: both relative to the cell's corner.
    NewDesignOnCell("lxLineNomal\t50\t20\t100\t50\tlxLineNomal\t60\t30\t30\t10\tlxLineCircle\t70\t20\t10\t10");
    const QImage image = Surface();
    const double k = image.width() / 100.0; // pixels per mm
    const auto px = [&](double mm) { return static_cast<int>(std::nearbyint(mm * k)); };
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(px(10), px(10))), kBlue); // the line's start
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(px(20), px(5))), kBlue); // the circle's left
    EXPECT_NE(static_cast<std::uint32_t>(image.pixel(px(25), px(5))), kBlue); // inside the circle
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(px(25), 0)), kBlue); // its top
}

TEST_F(DesignFrameTest, SurfaceShowsTheRenderedFaceUnderTheCellOutline)
{
    // A cell of 100 x 50 mm with a red filled rectangle over its right half.
    NewDesignOnCell("lxLineCircle\t0\t0\t100\t50");
    Session().AddObject(KindFigure);
    Session().EditSelected([](TLxLableObjectBase& object) {
        auto& figure = dynamic_cast<TLxLabelObjectFigure&>(object);
        figure.SetFigureType(FigureFilledRectangle);
        figure.SetLineColor(0x0000FF);
        figure.SetLeft(50);
        figure.SetTop(0);
        figure.SetWidth(50);
        figure.SetHeight(50);
    });
    FormDesign->RefreshDesign();
    const QImage image = Surface();
    const int w = image.width();
    const int h = image.height();
    constexpr std::uint32_t kRed = 0xFFFF0000u;
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(w * 3 / 4, h / 2)), kRed);
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(w - 2, 2)), kRed);
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(w / 4, h / 2)), 0xFFFFFFFFu);
    // The blue outline is drawn over the label.
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(w - 1, h / 2)), kBlue);
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(0, h / 2)), kBlue);
    // The ellipse touches the middle of each side, not the corners.
    EXPECT_EQ(static_cast<std::uint32_t>(image.pixel(w / 2, 0)), kBlue);
    EXPECT_NE(static_cast<std::uint32_t>(image.pixel(0, 0)), kBlue);
}
