// The print job without windows: which sheets, records, copies and places
// it draws, that nothing of the design moves while it prints, and the PDF of
// a 1,000-record merge read back by pdftotext, pdftoppm and zxing.
#include "../windows/PreviewTesting.h"
#include "LabelTestSupport.h"

#include "bench/MergePrintDesign.h"
#include "designer/model/DesignPrinter.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/SheetDrawing.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/printing/Printer.h"
#include "support/Decoders.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

using namespace lx;
using namespace lxtest;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// A printer of `dpi` dots per inch whose printable area starts (offsetX,
// offsetY) pixels into the paper.
DeviceInfo Printer(int dpi, int offsetX = 0, int offsetY = 0)
{
    DeviceInfo device = VirtualPrinterDevice();
    device.dpiX = device.dpiY = dpi;
    device.physicalOffsetX = offsetX;
    device.physicalOffsetY = offsetY;
    return device;
}

// The sheets a print job draws, as bitmaps of a side x side pixels paper.
class PrintedPages {
public:
    PrintedPages(const DeviceInfo& device, int side) : page_(side, side), canvas_(page_, device) {}
    DeviceContext& Canvas() { return canvas_; }
    std::function<void()> NewPage()
    {
        return [this] { Take(); };
    }
    std::vector<Bitmap> Finish()
    {
        Take();
        return std::move(pages_);
    }

private:
    void Take()
    {
        pages_.push_back(page_);
        page_.Fill(0xFFFFFFFFu);
    }

    Bitmap page_;
    RasterDeviceContext canvas_;
    std::vector<Bitmap> pages_;
};

// Every sheet of the design to a PDF file through a print job of the
// virtual printer, as the print button prints it.
void PrintToPdf(const DesignPrinter& printer, const TlxLblInfo& layout, const std::string& pdf)
{
    PrintJob::Options options;
    options.pdfPath = pdf;
    options.paperWidthMm = layout.GetPaperWidth();
    options.paperHeightMm = layout.GetPaperHeight();
    PrintJob job(options);
    PrintRequest request;
    request.lastPage = printer.Plan().PageCount();
    printer.Print(
        job.Context(), [&job] { job.NewPage(); }, request);
    job.End();
}

// An area of one page of a PDF rasterised by pdftoppm.
QImage RasteriseArea(const std::string& pdf, int page, int dpi, const Rect& area)
{
    const std::string out = pdf + "-area";
    const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
        std::to_string(page) + " -x " + std::to_string(area.left) + " -y " + std::to_string(area.top) + " -W " +
        std::to_string(area.Width()) + " -H " + std::to_string(area.Height()) + " -singlefile -png '" + pdf + "' '" +
        out + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    return QImage(QString::fromStdString(out + ".png")).convertToFormat(QImage::Format_RGB32);
}

// 32-bit rows need no padding: the pixels lie one after another.
GreyImage Grey(const QImage& image)
{
    return GreyOfArgb(image.width(), image.height(), reinterpret_cast<const std::uint32_t*>(image.constBits()));
}

std::string Utf8(const char* format, int record)
{
    char text[64];
    std::snprintf(text, sizeof text, format, record);
    return text;
}

} // namespace

TEST(PrintShift, PhysicalOffsetInWholeMillimetresPlusTheUsersCorrection)
{
    EXPECT_DOUBLE_EQ(PrintShiftMm(150, 600, 0), 6); // 6.35 mm
    EXPECT_DOUBLE_EQ(PrintShiftMm(150, 600, 1.5), 7.5); // the user's 1.5 mm on top
    EXPECT_DOUBLE_EQ(PrintShiftMm(25, 254, 0), 2); // 2.5 mm: halves go to even
    EXPECT_DOUBLE_EQ(PrintShiftMm(35, 254, 0), 4);
}

TEST(DesignPrinter, ARangeOfRecordSheetsComesOutCopyAfterCopyAndTheDesignStaysAsItWas)
{
    const TlxLblInfo sheet = TenCellSheet();
    TlxLabelManager document(sheet.LabelCount, sheet);
    document.SetSingleMode(true);
    auto table = std::make_shared<TLxCSV>();
    const TLxLabelObjectCsvString& text = AddSquareRecords(document, table, 25);
    const std::string before = SavedBytes(document);

    const DesignPrinter printer(document, sheet, table.get());
    PrintedPages pages(Printer(127), 500); // 5 pixels a millimetre
    PrintRequest request;
    request.firstPage = 2;
    request.lastPage = 3;
    request.copies = 2;
    printer.Print(pages.Canvas(), pages.NewPage(), request);
    const std::vector<Bitmap> printed = pages.Finish();

    // Sheets 2 and 3, twice: records 10 to 19, then 20 to 24 and empty cells.
    ASSERT_EQ(printed.size(), 4u);
    for (std::size_t copy = 0; copy < 4; copy += 2) {
        for (int i = 0; i < 10; ++i) {
            SCOPED_TRACE("copy " + std::to_string(copy / 2) + ", cell " + std::to_string(i));
            EXPECT_EQ(SquaresInCell(printed[copy], sheet, i, 5), (10 + i) % 3 + 1);
            EXPECT_EQ(SquaresInCell(printed[copy + 1], sheet, i, 5), i < 5 ? (20 + i) % 3 + 1 : 0);
        }
    }
    // No record was set on the design, no measured box written back.
    EXPECT_EQ(text.GetRecordIndex(), 0);
    EXPECT_EQ(SavedBytes(document), before);

    // A range ending before it starts draws nothing and starts no page.
    PrintedPages none(Printer(127), 500);
    request.firstPage = 3;
    request.lastPage = 2;
    printer.Print(none.Canvas(), none.NewPage(), request);
    const std::vector<Bitmap> blank = none.Finish();
    ASSERT_EQ(blank.size(), 1u);
    EXPECT_EQ(FindInk(blank[0]).Empty(), true);
}

TEST(DesignPrinter, LabelsMoveByThePrintableAreasWholeMillimetresAndTheUsersOffsets)
{
    const TlxLblInfo sheet =
        MakeSheet(100, 100,
                  {TLblPosition(lxLineNomal, 10, 10, 30, 20), TLblPosition(lxLineDot, 55, 12, 35, 25),
                   TLblPosition(lxLineNomal, 20, 60, 25, 30)});
    TlxLabelManager document(3, sheet);
    const std::uint32_t colors[] = {0x0000FF, 0x00C000};
    FillFace(document, 0, colors[0]);
    FillFace(document, 1, colors[1]);
    const DesignPrinter printer(document, sheet, nullptr);
    // 10 pixels a millimetre; the printable area starts 2.5 mm (even: 2) and
    // 3.5 mm (4) into the paper; the user moves the print 1.5 mm left and 6
    // mm down: 3.5 mm left and 2 mm down in all.
    PrintedPages pages(Printer(254, 25, 35), 1000);
    PrintRequest request;
    request.userLeft = 1.5;
    request.userTop = -6.0;
    printer.Print(pages.Canvas(), pages.NewPage(), request);
    const std::vector<Bitmap> printed = pages.Finish();
    ASSERT_EQ(printed.size(), 1u);
    ExpectFilledCellsAt(printed[0], sheet, colors, -3.5, 2, 0.2);
    // Cell 2 has no design: nothing of it is printed, not even its outline.
    EXPECT_TRUE(FindInk(printed[0], 150, 600, 500, 950).Empty());
}

TEST(DesignPrinter, ThePreviewShowsASheetsRecordsAndTheExportACellsLabel)
{
    const TlxLblInfo sheet = TenCellSheet();
    TlxLabelManager document(sheet.LabelCount, sheet);
    document.SetSingleMode(true);
    auto table = std::make_shared<TLxCSV>();
    AddSquareRecords(document, table, 25);
    // Not printed: a red band the editor and the export show.
    TLxLabelObjectFigure& band = FillFace(document, 0, 0x0000FF);
    band.SetHeight(2);
    band.SetNotPrint(1);
    const std::string before = SavedBytes(document);
    const DesignPrinter printer(document, sheet, table.get());

    Bitmap preview(500, 500);
    RasterDeviceContext canvas(preview);
    printer.DrawPreviewPage(canvas, 3, 127, 127);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(SquaresInCell(preview, sheet, i, 5), i < 5 ? (20 + i) % 3 + 1 : 0) << "cell " << i;
    EXPECT_EQ(CountColor(preview, 0x0000FF), 0);
    // Cells without a record have no guides either.
    EXPECT_TRUE(FindInk(preview, 0, 6 * 5 + 3 * 18 * 5 - 10, 500, 500).Empty());

    // Cell 4 shows record 4 as the first sheet does, with the band.
    const EnhMetafile exported = printer.LabelPicture(4, false);
    const Size size = exported.PixelSize();
    Bitmap label(size.cx, size.cy);
    RasterDeviceContext dc(label, VirtualPrinterDevice());
    PlayEnhMetafile(dc, exported, Rect{0, 0, size.cx, size.cy});
    const TlxLblInfo one = MakeSheet(40, 16, {TLblPosition(lxLineNomal, 0, 0, 40, 16)});
    EXPECT_EQ(SquaresInCell(label, one, 0, size.cx / 40.0), 4 % 3 + 1);
    EXPECT_GT(CountColor(label, 0x0000FF), 0);
    EXPECT_EQ(SavedBytes(document), before);
}

// Ten records of centred text wider than its box, one a cell.
struct CentredRecords {
    CentredRecords()
    {
        document.SetSingleMode(true);
        std::vector<std::string> lines;
        for (int r = 0; r < 10; ++r)
            lines.push_back(std::string(static_cast<std::size_t>(10 - r), 'W'));
        *table = MakeTable(lines);
        TLxLabelObjectCsvString& text = AddMergeText(document, table);
        text.SetAlignment(1);
        text.SetWidth(8);
        text.SetHeight(4);
        text.SetFontSize(12);
    }
    TlxLblInfo sheet = TenCellSheet();
    std::shared_ptr<TLxCSV> table = std::make_shared<TLxCSV>();
    TlxLabelManager document{sheet.LabelCount, sheet};
};

// Every label is drawn from the design's own box, never from a box the
// label before it measured: a cell of the sheet is the label drawn alone
// from a fresh design.
TEST(DesignPrinter, EveryLabelPrintsAsItWouldAlone)
{
    const DeviceInfo device = VirtualPrinterDevice();
    const CentredRecords design;
    const std::string before = SavedBytes(design.document);
    const int side = MmToDots(100, device.dpiX);
    const DesignPrinter printer(design.document, design.sheet, design.table.get());
    PrintedPages pages(device, side);
    printer.Print(pages.Canvas(), pages.NewPage(), PrintRequest{});
    const Bitmap printed = pages.Finish().at(0);
    EXPECT_EQ(SavedBytes(design.document), before);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE("cell " + std::to_string(i));
        const CentredRecords fresh;
        Bitmap alone(side, side);
        RasterDeviceContext dc(alone, device);
        const Rect place = LabelCellPlace(fresh.sheet, i, 0, 0, device.dpiX, device.dpiY);
        const Region clip = LabelCellClip(place, lxLineNomal);
        dc.SelectClipRegion(&clip);
        fresh.document.DrawFace(0, dc, place, CellDrawing{true, i});
        EXPECT_GT(FindInk(alone).Width(), 0);
        int differing = 0;
        for (int y = place.top; y <= place.bottom; ++y)
            for (int x = place.left; x <= place.right; ++x)
                differing += printed.Pixel(x, y) != alone.Pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST(PrintedMerge, EveryRecordIsInItsOwnCellAndPrintsAsTheLabelDrawnAlone)
{
    LX_NEED_TOOLS("pdftotext", "pdftoppm", "pdfinfo");
    TempDir temp;
    const lxbench::MergePrintDesign design(1000);
    const std::string before = SavedBytes(design.document);
    const DesignPrinter printer(design.document, design.layout, design.table.get());
    const std::string pdf = temp.File("merge.pdf");
    PrintToPdf(printer, design.layout, pdf);
    EXPECT_EQ(SavedBytes(design.document), before);

    // The text: record r's name and number in cell (r - 1) mod 12 of sheet
    // (r - 1) / 12 + 1, the number below the name.
    std::map<std::string, PdfWord> words;
    int sheets = 0;
    for (const PdfWord& word : PdfWords(pdf)) {
        words.emplace(word.text, word);
        sheets = std::max(sheets, word.page);
    }
    EXPECT_EQ(sheets, 84);
    const double pointsPerMm = 72 / 25.4;
    for (int r = 1; r <= 1000; ++r) {
        const auto name = words.find(Utf8("山田太郎%05d", r));
        const auto number = words.find(Utf8("%05d", r));
        ASSERT_NE(name, words.end()) << r;
        ASSERT_NE(number, words.end()) << r;
        const int cell = (r - 1) % 12;
        const double left = design.layout.GetLabelLeft(cell) * pointsPerMm;
        const double top = design.layout.GetLabelTop(cell) * pointsPerMm;
        const double right = left + lxbench::kLabelWidth * pointsPerMm;
        const double bottom = top + lxbench::kLabelHeight * pointsPerMm;
        for (const PdfWord& word : {name->second, number->second}) {
            EXPECT_EQ(word.page, (r - 1) / 12 + 1) << r;
            EXPECT_TRUE(word.left > left && word.right < right && word.top > top && word.bottom < bottom) << r;
        }
        EXPECT_GT(number->second.top, name->second.bottom) << r;
    }

    // The pixels: a cell of a sheet at 600 dpi is the label of its record
    // printed alone, and its QR Code reads as the record's URL.
    const DeviceInfo device = VirtualPrinterDevice();
    for (int r : {1, 518, 1000}) {
        SCOPED_TRACE(r);
        const int cell = (r - 1) % 12;
        const std::string alone = temp.File("alone-" + std::to_string(r) + ".pdf");
        const Rect place = LabelCellPlace(design.layout, cell, 0, 0, device.dpiX, device.dpiY);
        {
            PrintJob::Options options;
            options.pdfPath = alone;
            options.paperWidthMm = design.layout.GetPaperWidth();
            options.paperHeightMm = design.layout.GetPaperHeight();
            PrintJob job(options);
            const Region clip = LabelCellClip(place, lxLineNomal);
            job.Context().SelectClipRegion(&clip);
            design.document.DrawFace(0, job.Context(), place, CellDrawing{true, r - 1});
            job.End();
        }
        const Rect area{place.left - 2, place.top - 2, place.right + 3, place.bottom + 3};
        const QImage printed = RasteriseArea(pdf, (r - 1) / 12 + 1, 600, area);
        const QImage single = RasteriseArea(alone, 1, 600, area);
        ASSERT_FALSE(printed.isNull());
        EXPECT_TRUE(printed == single);
        const int qrLeft = MmToDots(lxbench::kQrLeft, device.dpiX) + 2;
        const int qrTop = MmToDots(lxbench::kQrTop, device.dpiY) + 2;
        const int qrSide = MmToDots(lxbench::kQrSide, device.dpiX);
        const Decoded qr = ZxingDecode(Grey(printed.copy(qrLeft, qrTop, qrSide, qrSide)), ZXing::BarcodeFormat::QRCode);
        EXPECT_TRUE(qr.ok) << qr.error;
        EXPECT_EQ(qr.text, Utf8("https://example.jp/item?id=%010d", r));
    }
}
