// The shipped data folder, made from a database of real sheet products:
// every catalogue paper has a readable layout whose cells lie on the sheet
// in reading order without overlapping; the sheets users buy are there, roll
// labels are not, and the database's licence notice ships as it reads.
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxPaper.h"

#include "designer/model/PaperTestFiles.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QXmlStreamReader>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using namespace lx;

namespace {

const std::string kFolder = lxtest::SourcePath("data/");
// Layouts keep a thousandth of a millimetre: cells that touch may meet
// by that much.
constexpr double kTolerance = 0.01;

struct Box {
    double left, top, right, bottom;
};

Box BoxOf(const TLblPosition& p)
{
    return {p.GetLeft(), p.GetTop(), p.GetLeft() + p.GetWidth(), p.GetTop() + p.GetHeight()};
}

bool Inside(const Box& inner, const Box& outer)
{
    return inner.left >= outer.left - kTolerance && inner.top >= outer.top - kTolerance &&
        inner.right <= outer.right + kTolerance && inner.bottom <= outer.bottom + kTolerance &&
        inner.left < inner.right && inner.top < inner.bottom;
}

bool IsCircle(const TLblPosition& p)
{
    return p.GetLineKind() == lxLineCircle && std::abs(p.GetWidth() - p.GetHeight()) < kTolerance;
}

// Round labels overlap by their circles: CD sheets nest theirs.
bool Overlap(const TLblPosition& first, const TLblPosition& second)
{
    const Box a = BoxOf(first);
    const Box b = BoxOf(second);
    if (IsCircle(first) && IsCircle(second)) {
        const double dx = (a.left + a.right - b.left - b.right) / 2;
        const double dy = (a.top + a.bottom - b.top - b.bottom) / 2;
        return std::hypot(dx, dy) < (first.GetWidth() + second.GetWidth()) / 2 - kTolerance;
    }
    return a.left < b.right - kTolerance && b.left < a.right - kTolerance && a.top < b.bottom - kTolerance &&
        b.top < a.bottom - kTolerance;
}

} // namespace

TEST(DataFolder, CatalogueNamesFourteenMakersAndUniqueModelNumbers)
{
    const TlxPaper catalogue(CatalogueFilePath(kFolder));
    ASSERT_EQ(catalogue.MakerNames().size(), 14u);
    EXPECT_EQ(catalogue.MakerNames()[0], Sjis("ヒサゴ"));
    EXPECT_EQ(catalogue.MakerNames()[13], Sjis("その他"));
    EXPECT_GE(catalogue.Papers().size(), 1700u);
    std::set<std::string> models;
    std::map<std::int32_t, int> perMaker;
    for (const TlxPaperObject& paper : catalogue.Papers()) {
        const std::string& model = paper.GetModelNumber();
        // The model number names the layout file.
        EXPECT_TRUE(models.insert(model).second) << model;
        EXPECT_EQ(model.find_first_of("/\\"), std::string::npos) << model;
        EXPECT_NE(model.front(), '.') << model;
        ++perMaker[paper.GetMakerIndex()];
    }
    for (std::int32_t maker = 0; maker < kMakerCount; ++maker)
        EXPECT_GT(perMaker[maker], 0) << maker;
    EXPECT_EQ(perMaker.size(), 14u) << "no user papers and no category outside 0 to 13";
}

TEST(DataFolder, EveryLayoutParsesAndEveryCellLiesOnItsPaper)
{
    const TlxPaper catalogue(CatalogueFilePath(kFolder));
    for (const TlxPaperObject& paper : catalogue.Papers()) {
        SCOPED_TRACE(paper.GetModelNumber());
        const TlxLblInfo layout(kFolder, true, paper);
        ASSERT_GT(layout.LabelCount, 0);
        ASSERT_EQ(static_cast<std::size_t>(layout.LabelCount), layout.Cells.size());
        const Box sheet{0, 0, layout.GetPaperWidth(), layout.GetPaperHeight()};
        for (std::size_t i = 0; i < layout.Cells.size(); ++i) {
            const TLblPosition& cell = layout.Cells[i];
            EXPECT_TRUE(Inside(BoxOf(cell), sheet)) << "cell " << i;
            for (const TLblPosition& shape : cell.InnerShapes())
                EXPECT_TRUE(Inside(BoxOf(shape), BoxOf(cell))) << "inner shape of cell " << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(Overlap(cell, layout.Cells[j])) << "cells " << j << " and " << i;
            if (i > 0) { // rows top to bottom, each left to right
                const TLblPosition& before = layout.Cells[i - 1];
                EXPECT_TRUE(before.GetTop() <= cell.GetTop() + 0.5 &&
                            (cell.GetTop() - before.GetTop() >= 0.5 || before.GetLeft() < cell.GetLeft()))
                    << "cell " << i << " comes before cell " << i - 1;
            }
        }
    }
}

TEST(DataFolder, FilesAreCp932WithCrLfAndAllListed)
{
    std::size_t layoutFiles = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kFolder)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".txt") // the licence notice
            continue;
        layoutFiles += entry.path().extension() == ".bv2";
        const std::string bytes = lxtest::ReadBytes(entry.path().string());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(bytes)), bytes);
        EXPECT_EQ(Cp932ToUtf8(bytes).find("\xEF\xBF\xBD"), std::string::npos);
        std::size_t loneBreaks = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            loneBreaks += bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
            loneBreaks += bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        }
        EXPECT_EQ(loneBreaks, 0u);
    }
    EXPECT_EQ(layoutFiles, TlxPaper(CatalogueFilePath(kFolder)).Papers().size());
}

namespace {

const TlxPaper& ShippedCatalogue()
{
    static const TlxPaper catalogue(CatalogueFilePath(kFolder));
    return catalogue;
}

const TlxPaperObject& Paper(std::int32_t maker, const std::string& model)
{
    const TlxPaperObject* paper = ShippedCatalogue().FindPaper(maker, model);
    if (!paper)
        throw std::runtime_error("no paper " + model);
    return *paper;
}

struct SheetSize {
    const char* name;
    double width, height;
};

// The papers a sheet product is printed on, in portrait millimetres.
constexpr SheetSize kSheetSizes[] = {{"A3", 297, 420},     {"A4", 210, 297},     {"A5", 148, 210},
                                     {"A6", 105, 148},     {"SRA3", 320, 450},   {"Letter", 215.9, 279.4},
                                     {"ハガキ", 100, 148}, {"JIS B4", 257, 364}, {"JIS B5", 182, 257}};

bool IsSheetSize(double width, double height)
{
    for (const SheetSize& size : kSheetSizes)
        if (std::abs(size.width - width) < 0.5 && std::abs(size.height - height) < 0.5)
            return true;
    return false;
}

bool CoversSheet(const TlxLblInfo& layout)
{
    return layout.Cells.size() == 1 && std::abs(layout.GetLabelWidth(0) - layout.GetPaperWidth()) < 1 &&
        std::abs(layout.GetLabelHeight(0) - layout.GetPaperHeight()) < 1;
}

} // namespace

TEST(DataFolder, FullSheetLabelsAndTheHagakiSheetHoldOneCellCoveringTheirSheet)
{
    struct Product {
        const char* model;
        std::uint8_t kind;
        double width, height;
    };
    for (const Product& p : {Product{"ELM001", lxPaperA4, 210, 297}, Product{"GB862", lxPaperA4, 210, 297},
                             Product{"OP862", lxPaperA4, 210, 297}, Product{"CJH862S", lxPaperA4, 210, 297},
                             Product{"GB3201", lxPaperA4, 210, 297}, Product{"GB3206", lxPaperA4, 210, 297},
                             Product{"OP2501", lxPaperHagaki, 100, 148}}) {
        SCOPED_TRACE(p.model);
        const TlxPaperObject& paper = Paper(0, p.model);
        EXPECT_EQ(paper.GetPaperSize(), (PaperSize{p.kind, p.width, p.height}));
        const TlxLblInfo layout(kFolder, true, paper);
        ASSERT_EQ(layout.Cells.size(), 1u);
        EXPECT_EQ(layout.GetLabelLeft(0), 0);
        EXPECT_EQ(layout.GetLabelTop(0), 0);
        EXPECT_EQ(layout.GetLabelWidth(0), p.width);
        EXPECT_EQ(layout.GetLabelHeight(0), p.height);
        EXPECT_TRUE(layout.SingleMode);
    }
}

// Hisago's B4 is the Japanese one: its 6 x 4 labels fill 257 x 364 mm.
TEST(DataFolder, AJapaneseB4SheetIsTheJisSizeItsLabelsFill)
{
    const TlxLblInfo layout(kFolder, true, Paper(0, "GB865"));
    EXPECT_EQ(layout.GetPaperWidth(), 257);
    EXPECT_EQ(layout.GetPaperHeight(), 364);
    ASSERT_EQ(layout.Cells.size(), 24u);
    double area = 0;
    for (std::size_t i = 0; i < layout.Cells.size(); ++i)
        area += layout.GetLabelWidth(i) * layout.GetLabelHeight(i);
    EXPECT_NEAR(area, 257.0 * 364.0, 1.0);
}

// Foldable business cards, five to a sheet, whose layout the database lists twice.
TEST(DataFolder, RepeatedLayoutsGiveOneSheetOfCards)
{
    for (const char* model : {"Sattleford VM-6356", "Sattleford VM-5856", "Sattleford VM-6700"}) {
        SCOPED_TRACE(model);
        const TlxLblInfo layout(kFolder, true, Paper(kMakerCount - 1, model));
        EXPECT_EQ(layout.Cells.size(), 5u);
    }
    EXPECT_EQ(TlxLblInfo(kFolder, true, Paper(kMakerCount - 1, "Your Design VM-6310")).Cells.size(), 8u);
}

// A roll's "sheet" is its own label: a full-sheet product is a paper that
// goes through a printer.
TEST(DataFolder, NoRollLabelsOnlySheets)
{
    for (const std::string& maker : ShippedCatalogue().MakerNames())
        EXPECT_TRUE(maker != "Brother" && maker != "Dymo") << maker;
    for (const TlxPaperObject& paper : ShippedCatalogue().Papers()) {
        const std::string& model = paper.GetModelNumber();
        EXPECT_FALSE(model.starts_with("Brother ") || model.starts_with("Dymo ")) << model;
        const TlxLblInfo layout(kFolder, true, paper);
        EXPECT_TRUE(!CoversSheet(layout) || IsSheetSize(layout.GetPaperWidth(), layout.GetPaperHeight())) << model;
    }
}

namespace {

const char kTemplateDatabase[] = "/usr/share/libglabels-3.0/templates/";

// brand -> parts of one file of the template database.
std::map<std::string, std::set<std::string>> DatabaseParts(const std::string& file)
{
    QFile xml(QString::fromStdString(kTemplateDatabase + file));
    std::map<std::string, std::set<std::string>> parts;
    if (!xml.open(QIODevice::ReadOnly))
        return parts;
    QXmlStreamReader reader(&xml);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Template")) {
            const QXmlStreamAttributes a = reader.attributes();
            parts[a.value("brand").toString().toStdString()].insert(a.value("part").toString().toStdString());
        }
    return parts;
}

} // namespace

// The database itself, where it is installed (Debian's glabels-data), is the
// list of products: every ヒサゴ sheet is there but the four whose labels the
// database lays beyond the sheet or over each other; no roll is.
TEST(DataFolder, EveryHisagoSheetOfTheDatabaseAndNoRoll)
{
    const auto hisago = DatabaseParts("hisago-templates.xml");
    LX_NEED_ORACLE(hisago.count("Hisago"), "the gLabels template database (glabels-data)");
    const std::set<std::string> offTheSheet{"ELM024", "OP3005", "OP3010", "OP3015"};
    for (const std::string& part : hisago.at("Hisago"))
        EXPECT_EQ(ShippedCatalogue().FindPaper(0, part) != nullptr, !offTheSheet.count(part)) << part;
    EXPECT_GE(hisago.at("Hisago").size(), 200u);

    std::size_t rolls = 0;
    for (const char* file : {"brother-other-templates.xml", "dymo-other-templates.xml"})
        for (const auto& [brand, parts] : DatabaseParts(file))
            for (const std::string& part : parts) {
                ++rolls;
                EXPECT_EQ(ShippedCatalogue().FindPaper(kMakerCount - 1, brand + " " + part), nullptr) << part;
            }
    EXPECT_EQ(rolls, 27u);
}

namespace {

// COPYING-TEMPLATES of the gLabels sources, the notice of the database.
constexpr char kDatabaseNotice[] = R"(This license applies to the glabels template database, located
in the "templates" subdirectory of the glabels distribution.

Copyright (c) 2001-2009 Jim Evins

Permission is hereby granted, free of charge, to any person
obtaining a copy of this software and associated documentation
files (the "Software"), to deal in the Software without
restriction, including without limitation the rights to use,
copy, modify, merge, publish, distribute, sublicense, and/or sell
copies of the Software, and to permit persons to whom the
Software is furnished to do so, subject to the following
conditions:

The above copyright notice and this permission notice shall be
included in all copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND,
EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES
OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND
NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT
HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY,
WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING
FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR
OTHER DEALINGS IN THE SOFTWARE.
)";

// Where distributions that package the notice put it (Debian does not).
std::vector<std::filesystem::path> InstalledNotices()
{
    std::vector<std::filesystem::path> found;
    for (const char* root : {"/usr/share/licenses", "/usr/share/doc"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(root, error))
            if (entry.path().filename().string().find("glabels") != std::string::npos &&
                std::filesystem::is_regular_file(entry.path() / "COPYING-TEMPLATES"))
                found.push_back(entry.path() / "COPYING-TEMPLATES");
    }
    return found;
}

} // namespace

TEST(DataFolder, TheLicenceNoticeReadsAsTheDatabasesOwn)
{
    const std::string shipped = lxtest::ReadBytes(kFolder + "COPYING-templates.txt");
    EXPECT_EQ(shipped, kDatabaseNotice);
    for (const std::filesystem::path& notice : InstalledNotices())
        EXPECT_EQ(shipped, lxtest::ReadBytes(notice.string())) << notice;
}
