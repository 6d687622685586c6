// The shipped data folder, made from a database of real sheet products:
// every catalogue paper has a readable layout whose cells lie on the sheet
// in reading order without overlapping.
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxPaper.h"

#include "designer/model/PaperTestFiles.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/TestPaths.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

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
    EXPECT_GE(catalogue.Papers().size(), 800u);
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
