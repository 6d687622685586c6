#pragma once
// Sheets, designs, pixel questions and printed pages shared by the preview, printing
// and picture export tests.
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/UnitCommon.h"
#include "platform/text/Cp932.h"
#include "support/MergeTables.h"
#include "support/Oracles.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace lxtest {

// A paper of width x height mm with these cells.
inline lx::TlxLblInfo MakeSheet(double width, double height, std::vector<lx::TLblPosition> cells)
{
    lx::TlxLblInfo layout;
    layout.Paper = lx::TlxPaperObject("14", "TEST-1", "A4", "test", std::to_string(width), std::to_string(height));
    layout.Cells = std::move(cells);
    layout.LabelCount = static_cast<std::int32_t>(layout.Cells.size());
    return layout;
}

// 100 x 100 mm with ten cells of 40 x 16 mm in two columns.
inline lx::TlxLblInfo TenCellSheet()
{
    std::vector<lx::TLblPosition> cells;
    for (int i = 0; i < 10; ++i)
        cells.emplace_back(lx::lxLineNomal, 8 + i % 2 * 44, 6 + i / 2 * 18, 40, 16);
    return MakeSheet(100, 100, std::move(cells));
}

// A filled rectangle over the face's whole cell, grown by `overflow` mm on every side.
inline lx::TLxLabelObjectFigure& FillFace(lx::TlxLabelManager& document, int face, std::uint32_t color,
                                          double overflow = 0)
{
    document.AddObject(1, face);
    auto& figure = dynamic_cast<lx::TLxLabelObjectFigure&>(*document.GetObject(0, face));
    figure.SetFigureType(lx::FigureFilledRectangle);
    figure.SetLineColor(color);
    figure.SetLeft(-overflow);
    figure.SetTop(-overflow);
    figure.SetWidth(document.GetFaceObjects(face).GetLabelWidth() + 2 * overflow);
    figure.SetHeight(document.GetFaceObjects(face).GetLabelHeight() + 2 * overflow);
    return figure;
}

// A merge table of these lines (UTF-8 here, CP932 in the table).
inline lx::TLxCSV MakeTable(const std::vector<std::string>& lines) { return MergeTableOf(lines); }

inline lx::TLxLabelObjectCsvString& AddMergeText(lx::TlxLabelManager& document,
                                                 const std::shared_ptr<lx::TLxCSV>& table)
{
    document.AddMergeObject(5, 0, table);
    auto& text = dynamic_cast<lx::TLxLabelObjectCsvString&>(*document.GetObject(0, 0));
    text.SetColumn(1);
    return text;
}

inline void AddSerial(lx::TlxLabelManager& document, int records)
{
    document.AddObject(8, 0);
    auto& serial = dynamic_cast<lx::TLxLabelObjectRenbanString&>(*document.GetObject(0, 0));
    serial.SetStartNumber("1");
    serial.SetFinishNumber(std::to_string(records));
}

// `rows` records, record r a line of (r mod 3) + 1 squares "■", shown large
// by a merge text on the first cell.
inline lx::TLxLabelObjectCsvString& AddSquareRecords(lx::TlxLabelManager& document,
                                                     const std::shared_ptr<lx::TLxCSV>& table, int rows)
{
    std::vector<std::string> lines;
    for (int r = 0; r < rows; ++r)
        lines.push_back(r % 3 == 0 ? "■" : r % 3 == 1 ? "■■" : "■■■");
    *table = MakeTable(lines);
    lx::TLxLabelObjectCsvString& text = AddMergeText(document, table);
    text.SetLeft(1);
    text.SetTop(1);
    text.SetWidth(30);
    text.SetHeight(12);
    text.SetFontSize(24);
    return text;
}

// 0x00BBGGRR colour of a pixel.
inline std::uint32_t ColorAt(const lx::Bitmap& bitmap, int x, int y)
{
    return lx::ColorRefFromArgb(bitmap.Pixel(x, y));
}
inline std::uint32_t ColorAt(const QImage& image, int x, int y) { return lx::ColorRefFromArgb(image.pixel(x, y)); }

// Cells 0 and 1 of the sheet, filled with colors[0] and colors[1], printed
// moved by (dx, dy) mm onto a page of 10 pixels a millimetre: their colour
// just inside each corner (inset mm), white just outside each edge.
template <typename Page>
void ExpectFilledCellsAt(const Page& page, const lx::TlxLblInfo& sheet, const std::uint32_t (&colors)[2], double dx,
                         double dy, double inset)
{
    const auto at = [&](double xMm, double yMm) {
        return ColorAt(page, static_cast<int>(xMm * 10), static_cast<int>(yMm * 10));
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("cell " + std::to_string(i));
        const double left = sheet.GetLabelLeft(i) + dx;
        const double top = sheet.GetLabelTop(i) + dy;
        const double right = left + sheet.GetLabelWidth(i);
        const double bottom = top + sheet.GetLabelHeight(i);
        EXPECT_EQ(at(left + inset, top + inset), colors[i]);
        EXPECT_EQ(at(right - inset, bottom - inset), colors[i]);
        EXPECT_EQ(at(left - inset, top + 5), 0xFFFFFFu);
        EXPECT_EQ(at(right + inset, top + 5), 0xFFFFFFu);
        EXPECT_EQ(at(left + 5, top - inset), 0xFFFFFFu);
        EXPECT_EQ(at(left + 5, bottom + inset), 0xFFFFFFu);
    }
}

// Squares shown in cell i of a sheet drawn at pxPerMm: the most runs of dark
// pixels along any row inside the cell's outline.
template <typename Image>
int SquaresInCell(const Image& image, const lx::TlxLblInfo& sheet, int i, double pxPerMm)
{
    const auto px = [pxPerMm](double mm) { return static_cast<int>(mm * pxPerMm); };
    const int left = px(sheet.GetLabelLeft(i)) + 2;
    const int right = px(sheet.GetLabelLeft(i) + sheet.GetLabelWidth(i)) - 2;
    int most = 0;
    for (int y = px(sheet.GetLabelTop(i)) + 2; y < px(sheet.GetLabelTop(i) + sheet.GetLabelHeight(i)) - 2; ++y) {
        int runs = 0;
        bool dark = false;
        for (int x = left; x < right; ++x) {
            const std::uint32_t c = ColorAt(image, x, y);
            const bool now = (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 3 * 128;
            runs += now && !dark;
            dark = now;
        }
        most = std::max(most, runs);
    }
    return most;
}

// The pages of the PDF rasterised by pdftoppm, written beside it as
// pdf + "-1.png", "-2.png" and so on.
inline std::vector<QImage> Rasterise(const std::string& pdf, int dpi)
{
    const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -png '" + pdf + "' '" + pdf + "'";
    std::vector<QImage> pages;
    if (std::system(command.c_str()) != 0)
        return pages;
    for (int page = 1; std::filesystem::exists(pdf + "-" + std::to_string(page) + ".png"); ++page)
        pages.emplace_back(QString::fromStdString(pdf + "-" + std::to_string(page) + ".png"));
    return pages;
}

// A word pdftotext -bbox finds, in points from its page's top left.
struct PdfWord {
    int page = 0; // from 1
    double left = 0, top = 0, right = 0, bottom = 0;
    std::string text; // UTF-8
};

// The number in name="..." of a pdftotext -bbox line.
inline double BboxValue(const std::string& line, const std::string& name)
{
    const std::size_t at = line.find(" " + name + "=\"");
    return at == std::string::npos ? 0.0 : std::stod(line.substr(at + name.size() + 3));
}

// The words of pages first to last (0: to the end) of a PDF.
inline std::vector<PdfWord> PdfWords(const std::string& pdf, int first = 1, int last = 0)
{
    std::vector<PdfWord> words;
    int page = first - 1;
    const std::string range = " -f " + std::to_string(first) + (last > 0 ? " -l " + std::to_string(last) : "");
    for (const std::string& line : OutputLines("pdftotext" + range + " -bbox '" + pdf + "' -")) {
        if (line.find("<page ") != std::string::npos) {
            ++page;
            continue;
        }
        const std::size_t open = line.find("<word ");
        const std::size_t textStart = line.find('>', open);
        const std::size_t textEnd = line.find("</word>", textStart);
        if (open == std::string::npos || textStart == std::string::npos || textEnd == std::string::npos)
            continue;
        words.push_back({page, BboxValue(line, "xMin"), BboxValue(line, "yMin"), BboxValue(line, "xMax"),
                         BboxValue(line, "yMax"), line.substr(textStart + 1, textEnd - textStart - 1)});
    }
    return words;
}

} // namespace lxtest
