// The shipped data folder: every catalogue paper has a readable layout whose
// cells lie on the sheet, and the folder offers the sheets users expect.
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxPaper.h"

#include "designer/model/PaperTestFiles.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace lx;

namespace {

const std::string kFolder = lxtest::SourcePath("data/");
constexpr double kTolerance = 1e-9;

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

bool Overlap(const Box& a, const Box& b)
{
    return a.left < b.right - kTolerance && b.left < a.right - kTolerance && a.top < b.bottom - kTolerance &&
           b.top < a.bottom - kTolerance;
}

struct Sheet {
    TlxPaperObject paper;
    TlxLblInfo layout;
};

std::vector<Sheet> LoadAll()
{
    std::vector<Sheet> sheets;
    const TlxPaper catalogue(CatalogueFilePath(kFolder));
    for (const TlxPaperObject& paper : catalogue.Papers())
        sheets.push_back({paper, TlxLblInfo(kFolder, true, paper)});
    return sheets;
}

} // namespace

TEST(DataFolder, CatalogueNamesFourteenMakersAndAboutFortyPapers)
{
    const TlxPaper catalogue(CatalogueFilePath(kFolder));
    EXPECT_EQ(catalogue.MakerNames().size(), 14u);
    EXPECT_GE(catalogue.Papers().size(), 36u);
    EXPECT_LE(catalogue.Papers().size(), 44u);
    std::map<std::int32_t, std::set<std::string>> models;
    for (const TlxPaperObject& paper : catalogue.Papers())
        EXPECT_TRUE(models[paper.GetMakerIndex()].insert(paper.GetModelNumber()).second) << paper.GetModelNumber();
    for (std::int32_t maker = 0; maker < kMakerCount; ++maker)
        EXPECT_FALSE(models[maker].empty()) << maker;
    EXPECT_EQ(models.size(), 14u) << "no user papers and no category outside 0 to 13";
}

TEST(DataFolder, EveryLayoutParsesAndEveryCellLiesOnItsPaper)
{
    for (const Sheet& sheet : LoadAll()) {
        const TlxLblInfo& layout = sheet.layout;
        SCOPED_TRACE(sheet.paper.GetModelNumber());
        ASSERT_GT(layout.LabelCount, 0);
        ASSERT_EQ(static_cast<std::size_t>(layout.LabelCount), layout.Cells.size());
        const Box paper{0, 0, layout.GetPaperWidth(), layout.GetPaperHeight()};
        for (std::size_t i = 0; i < layout.Cells.size(); ++i) {
            const Box cell = BoxOf(layout.Cells[i]);
            EXPECT_TRUE(Inside(cell, paper)) << "cell " << i;
            for (const TLblPosition& shape : layout.Cells[i].InnerShapes())
                EXPECT_TRUE(Inside(BoxOf(shape), cell)) << "inner shape of cell " << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(Overlap(cell, BoxOf(layout.Cells[j]))) << "cells " << j << " and " << i;
        }
    }
}

TEST(DataFolder, FilesAreCp932WithCrLfAndAllListed)
{
    std::size_t layoutFiles = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kFolder)) {
        if (!entry.is_regular_file())
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

TEST(DataFolder, OffersTheCommonSheets)
{
    std::set<std::pair<std::uint8_t, std::size_t>> grids; // kind, label count
    int dotted = 0, round = 0, cdWithHole = 0, businessCards = 0, free = 0;
    for (const Sheet& sheet : LoadAll()) {
        const auto& cells = sheet.layout.Cells;
        if (!sheet.layout.SingleMode) {
            ++free;
            const bool sizesDiffer = std::any_of(cells.begin(), cells.end(), [&](const TLblPosition& c) {
                return c.GetWidth() != cells[0].GetWidth() || c.GetHeight() != cells[0].GetHeight();
            });
            EXPECT_TRUE(sizesDiffer) << sheet.paper.GetModelNumber();
            continue;
        }
        grids.insert({sheet.paper.GetPaperSize().Kind, cells.size()});
        dotted += cells[0].GetLineKind() == lxLineDot;
        round += cells[0].GetLineKind() == lxLineCircle;
        cdWithHole += !cells[0].InnerShapes().empty() && cells[0].InnerShapes()[0].GetLineKind() == lxLineCircle;
        businessCards += cells.size() == 10 && cells[0].GetWidth() == 91 && cells[0].GetHeight() == 55;
    }
    for (const std::size_t count : {1, 2, 4, 6, 8, 10, 12, 18, 21, 24, 44})
        EXPECT_TRUE(grids.count({lxPaperA4, count})) << "A4 " << count;
    EXPECT_TRUE(grids.count({lxPaperHagaki, 1}) && grids.count({lxPaperHagaki, 4}));
    EXPECT_TRUE(grids.count({lxPaperB5, 1}));
    EXPECT_GE(dotted, 3);
    EXPECT_GE(round, 2);
    EXPECT_GE(cdWithHole, 1);
    EXPECT_GE(businessCards, 1);
    EXPECT_EQ(free, 2);
}
