#include "platform/printing/Printer.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/printing/PdfFontNames.h"
#include "platform/text/Cp932.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <zlib.h>

using namespace lx;

TEST(Printer, WithoutAPrinterTheVirtualOneConvertsPixelsAndMillimetresExactly)
{
    const DeviceInfo v = VirtualPrinterDevice();
    EXPECT_EQ(v.dpiX, 600);
    EXPECT_EQ(v.dpiY, 600);
    EXPECT_EQ(v.horzRes * 254, v.horzSizeMm * 10 * v.dpiX);
    EXPECT_EQ(v.vertRes * 254, v.vertSizeMm * 10 * v.dpiY);
    ASSERT_FALSE(HasPrinter()); // the tests' switch hides the machine's printers
    EXPECT_EQ(CurrentPrinterDevice(), v);
    EXPECT_TRUE(CurrentPrinterName().empty());
    EXPECT_THROW(PrintJob(PrintJob::Options{}), Error);
}

TEST(Printer, JobsGoToPdfPagesAtThePrinterResolution)
{
    LX_NEED_TOOLS("pdftoppm");
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

namespace {

// Page 1 of a PDF rasterised by pdftoppm at 600 dpi without smoothing, so
// device pixels of the job and of the image coincide.
QImage PageAt600(const std::string& pdf)
{
    const std::string command =
        "pdftoppm -r 600 -aa no -aaVector no -f 1 -l 1 -x 0 -y 0 -W 1000 -H 600 -png '" + pdf + "' '" + pdf + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    return QImage(QString::fromStdString(pdf + "-1.png")).convertToFormat(QImage::Format_RGB32);
}

QRect DarkBounds(const QImage& image, const QRect& within)
{
    QRect bounds;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(Printer, TwoColourBitmapsPrintAsExactShapesAndTextAsEmbeddedText)
{
    LX_NEED_TOOLS("pdftoppm", "pdfimages");
    lxtest::TempDir dir;
    const std::string pdf = dir.File("job.pdf");
    // Blue on yellow, 7 x 5 pixels, each stretched to a band of 30 to 31
    // device pixels, drawn mirrored nowhere.
    Bitmap symbol(7, 5, 0xFFFFFF00);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            if ((x * 3 + y * 5) % 4 < 2)
                symbol.SetPixel(x, y, 0xFF0000FF);
    Bitmap reference(1000, 600, 0xFFFFFFFF);
    RasterDeviceContext raster(reference, VirtualPrinterDevice());
    const auto draw = [&](DeviceContext& dc) {
        dc.StretchDraw({100, 100, 315, 253}, symbol);
        dc.SetBkMode(BkMode::Transparent);
        LogFont font;
        font.height = -100;
        font.faceName = "IPAGothic";
        dc.SelectFont(font);
        dc.TextOut(400, 300, "Label 123");
    };
    draw(raster);
    {
        PrintJob job({"ラベル", 1, pdf, 210, 297});
        draw(job.Context());
        job.End();
    }
    const QImage page = PageAt600(pdf);
    ASSERT_FALSE(page.isNull());
    // Every pixel as drawn on a bitmap, but where the rasteriser may take a
    // pixel on an edge to either side.
    const auto colour = [&](int x, int y) { return reference.Pixel(x, y) & 0xFFFFFF; };
    for (int y = 95; y < 258; ++y)
        for (int x = 95; x < 320; ++x) {
            const bool edge = colour(x - 1, y) != colour(x, y) || colour(x, y - 1) != colour(x, y) ||
                colour(x + 1, y) != colour(x, y) || colour(x, y + 1) != colour(x, y);
            if (!edge) {
                ASSERT_EQ(page.pixel(x, y) & 0xFFFFFF, colour(x, y)) << x << ", " << y;
            }
        }
    const QRect text(390, 280, 600, 160);
    const QImage own(reinterpret_cast<const uchar*>(reference.Data()), 1000, 600, QImage::Format_ARGB32);
    const QRect printed = DarkBounds(page, text);
    const QRect drawn = DarkBounds(own, text);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_LE(std::abs(printed.left() - drawn.left()) + std::abs(printed.right() - drawn.right()), 2);
    EXPECT_LE(std::abs(printed.top() - drawn.top()) + std::abs(printed.bottom() - drawn.bottom()), 2);

    const auto output = [](const std::string& command) {
        std::string text;
        if (FILE* out = popen(command.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, out))
                text += buffer;
            pclose(out);
        }
        return text;
    };
    EXPECT_EQ(output("pdfimages -list '" + pdf + "' | wc -l"), "2\n"); // no image: shapes only
    EXPECT_NE(output("pdftotext '" + pdf + "' -").find("Label 123"), std::string::npos);
    EXPECT_NE(output("pdffonts '" + pdf + "'").find(" yes "), std::string::npos);
}

namespace {

// The PDF's compressed streams, inflated and joined: its page contents.
std::string InflatedStreams(const std::string& bytes)
{
    std::string all;
    for (std::size_t at = bytes.find("stream\n"); at != std::string::npos; at = bytes.find("stream\n", at + 1)) {
        const std::size_t begin = at + 7;
        const std::size_t end = bytes.find("endstream", begin);
        if (end == std::string::npos)
            break;
        z_stream z{};
        if (inflateInit(&z) != Z_OK)
            continue;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + begin));
        z.avail_in = static_cast<uInt>(end - begin);
        char out[65536];
        int status = Z_OK;
        while (status == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(out);
            z.avail_out = sizeof out;
            status = inflate(&z, Z_NO_FLUSH);
            all.append(out, sizeof out - z.avail_out);
        }
        inflateEnd(&z);
    }
    return all;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

// Text set one character at a time, as labels set it, reaches the PDF as one
// text block per line: a line of another colour, or a shape drawn between
// two characters, starts a new block, and everything stays in its order.
TEST(Printer, TextSetCharacterByCharacterGoesOutAsOneBlockPerLine)
{
    LX_NEED_TOOLS("pdftotext");
    lxtest::TempDir dir;
    const std::string pdf = dir.File("lines.pdf");
    {
        PrintJob job({"ラベル", 1, pdf, 210, 297});
        DeviceContext& dc = job.Context();
        LogFont font;
        font.height = -100;
        font.charSet = kShiftJisCharset;
        font.faceName = Sjis("ＭＳ ゴシック");
        dc.SelectFont(font);
        dc.SetBkMode(BkMode::Transparent);
        const auto line = [&](int y, const std::string& text) {
            int x = 300;
            for (char c : text) {
                dc.TextOut(x, y, std::string(1, c));
                x += dc.GetTextExtent(std::string(1, c)).cx;
            }
        };
        line(300, "ABCDE");
        dc.SetTextColor(0x0000FF);
        line(500, "FGHIJ");
        line(700, "KL");
        dc.FillRect({300, 820, 900, 840}, 0x000000);
        dc.TextOut(300, 900, "M");
        dc.FillRect({300, 1020, 900, 1040}, 0x000000);
        dc.TextOut(400, 900, "N");
        job.End();
    }
    const std::string content = InflatedStreams(ReadFileBytes(pdf));
    EXPECT_EQ(Count(content, "BT\n"), 4u) << "black line, red lines, M, N";
    std::string text;
    if (FILE* out = popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, out))
            text += buffer;
        pclose(out);
    }
    for (const char* word : {"ABCDE", "FGHIJ", "KL"})
        EXPECT_NE(text.find(word), std::string::npos) << word << " in\n" << text;
}

namespace {

// Whether every object the cross-reference table lists starts where it says.
bool OffsetsHold(const std::string& pdf)
{
    const std::size_t start = pdf.rfind("startxref");
    if (start == std::string::npos)
        return false;
    std::size_t at = std::stoul(pdf.substr(start + 9));
    if (pdf.compare(at, 4, "xref") != 0)
        return false;
    at = pdf.find('\n', pdf.find('\n', at) + 1) + 1;
    for (int n = 0; pdf.compare(at, 7, "trailer") != 0; ++n, at += 20) {
        const std::string object = std::to_string(n) + " 0 obj";
        if (pdf[at + 17] == 'n' && pdf.compare(std::stoul(pdf.substr(at, 10)), object.size(), object) != 0)
            return false;
    }
    return true;
}

} // namespace

TEST(Printer, PdfFontsCarryTheirSubsetTagAndTheFileStaysWhole)
{
    LX_NEED_TOOLS("pdffonts", "pdftotext", "pdfinfo");
    lxtest::TempDir dir;
    const std::string pdf = dir.File("tagged.pdf");
    {
        PrintJob job({"ラベル", 1, pdf, 210, 297});
        for (const char* face : {"IPAGothic", "IPAMincho"}) {
            LogFont font;
            font.height = -80;
            font.faceName = face;
            job.Context().SelectFont(font);
            job.Context().TextOut(300, 300, Utf8ToCp932(std::string("名前 ") + face));
            job.NewPage();
        }
        job.End();
    }
    const std::vector<std::string> fonts = lxtest::OutputLines("pdffonts '" + pdf + "'");
    ASSERT_EQ(fonts.size(), 4u);
    for (std::size_t i = 2; i < fonts.size(); ++i) {
        EXPECT_EQ(fonts[i][6], '+') << fonts[i];
        EXPECT_NE(fonts[i].find(" yes yes "), std::string::npos) << fonts[i]; // embedded, subset
    }
    const std::vector<std::string> text = lxtest::OutputLines("pdftotext '" + pdf + "' -");
    for (const char* line : {"名前 IPAGothic", "名前 IPAMincho"}) // the second after a form feed
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [&](const std::string& l) { return l.ends_with(line); }))
            << line;
    for (const std::string& line : lxtest::OutputLines("pdfinfo '" + pdf + "' 2>&1"))
        EXPECT_EQ(line.find("Error"), std::string::npos) << line;
    EXPECT_TRUE(OffsetsHold(ReadFileBytes(pdf)));
}

// A PDF that is not whole (a disk that filled up cuts Qt's file short, and
// Qt does not tell) never takes the old file's place.
TEST(Printer, APdfCutShortLeavesTheOldFileAsItWas)
{
    lxtest::TempDir dir;
    const std::string pdf = dir.File("whole.pdf");
    {
        PrintJob job({"ラベル", 1, pdf, 210, 297});
        job.Context().TextOut(100, 100, "ABC");
        job.End();
    }
    const std::string whole = ReadFileBytes(pdf);
    std::string wrongTable = whole;
    wrongTable.replace(wrongTable.rfind("startxref") + 10, 1, "9");
    std::string movedObject = whole;
    movedObject.insert(movedObject.find(" 0 obj"), " ");
    for (const std::string& bytes :
         {std::string(), std::string("%PDF-1.4\nnot a pdf\n"), whole.substr(0, whole.size() / 2),
          whole.substr(0, whole.size() - 30), wrongTable, movedObject}) {
        FileReplacement written(pdf);
        written.Write(bytes);
        try {
            CommitTaggedPdf(written);
            ADD_FAILURE() << bytes.size();
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()), "ファイルに書き込めません: " + pdf);
        }
        EXPECT_EQ(ReadFileBytes(pdf), whole);
    }
    FileReplacement again(pdf);
    again.Write(whole);
    CommitTaggedPdf(again);
    EXPECT_EQ(ReadFileBytes(pdf), whole) << "whole, and with nothing to tag";
}
