// The shipped data folder: every catalogue paper has a readable layout whose
// cells lie on the sheet without overlapping.
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
    const TlxPaper catalogue(CatalogueFilePath(kFolder));
    for (const TlxPaperObject& paper : catalogue.Papers()) {
        SCOPED_TRACE(paper.GetModelNumber());
        const TlxLblInfo layout(kFolder, true, paper);
        ASSERT_GT(layout.LabelCount, 0);
        ASSERT_EQ(static_cast<std::size_t>(layout.LabelCount), layout.Cells.size());
        const Box sheet{0, 0, layout.GetPaperWidth(), layout.GetPaperHeight()};
        for (std::size_t i = 0; i < layout.Cells.size(); ++i) {
            const Box cell = BoxOf(layout.Cells[i]);
            EXPECT_TRUE(Inside(cell, sheet)) << "cell " << i;
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
