#include "support/TestPaths.h"
#include "platform/io/Errors.h"
#include "platform/printing/Printer.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace lx;

TEST(Printer, WithoutAPrinterTheVirtualOneConvertsPixelsAndMillimetresExactly)
{
    const DeviceInfo v = VirtualPrinterDevice();
    EXPECT_EQ(v.dpiX, 600);
    EXPECT_EQ(v.dpiY, 600);
    EXPECT_EQ(v.horzRes * 254, v.horzSizeMm * 10 * v.dpiX);
    EXPECT_EQ(v.vertRes * 254, v.vertSizeMm * 10 * v.dpiY);
    if (HasPrinter())
        GTEST_SKIP() << "this machine has a printer";
    EXPECT_EQ(CurrentPrinterDevice(), v);
    EXPECT_TRUE(CurrentPrinterName().empty());
    EXPECT_THROW(PrintJob(PrintJob::Options{}), Error);
}

TEST(Printer, JobsGoToPdfPagesAtThePrinterResolution)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    lxtest::TempDir dir;
    {
        // A PDF makes no copies of its own: the caller draws them.
        EXPECT_EQ(PrintJob({"ラベル", 3, dir.File("copies.pdf"), 210, 297}).Passes(), 3);
        PrintJob job({"ラベル", 1, dir.File("job.pdf"), 210, 297});
        EXPECT_EQ(job.Passes(), 1);
        DeviceContext& dc = job.Context();
        EXPECT_EQ(dc.GetDeviceCaps(DeviceCap::LogPixelsX), 600);
        EXPECT_EQ(dc.GetDeviceCaps(DeviceCap::PhysicalOffsetX), 0);
        dc.SelectBrush({BrushStyle::Solid, 0x000000});
        dc.Rectangle(600, 600, 1800, 1200); // one inch in, two by one inches
        job.NewPage();
        const Region clip = Region::FromEllipse({600, 600, 1800, 1800});
        dc.SelectClipRegion(&clip);
        dc.FillRect({0, 0, 4000, 4000}, 0x0000FF);
        job.End();
    }
    const std::string command = "pdftoppm -r 72 -png '" + dir.File("job.pdf") + "' '" + dir.File("page") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QImage first(QString::fromStdString(dir.File("page-1.png")));
    const QImage second(QString::fromStdString(dir.File("page-2.png")));
    ASSERT_EQ(first.size(), QSize(595, 842)); // A4 at 72 dpi
    EXPECT_EQ(qGray(first.pixel(80, 80)), 0);
    EXPECT_EQ(qGray(first.pixel(210, 138)), 0);
    EXPECT_GT(qGray(first.pixel(222, 80)), 200);
    EXPECT_GT(qGray(first.pixel(80, 150)), 200);
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(QColor(second.pixel(144, 144)), QColor(255, 0, 0));
    EXPECT_GT(qGray(second.pixel(76, 76)), 200); // outside the elliptic clip
}
