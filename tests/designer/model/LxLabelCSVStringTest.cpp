#include "designer/model/LxLabelCSVString.h"

#include "LabelTestSupport.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

const std::string& Prompt()
{
    static const std::string prompt = Sjis("列を選択してください");
    return prompt;
}

// Rows 0 to 3; row 3 holds A and B.
TLxCSV FourRows() { return lxtest::MakeCsv({"a0,b0", "a1,b1", "a2,b2", "A,B"}); }

} // namespace

TEST(MergeTextObject, NewObjectShowsThePrompt)
{
    TLxCSV csv = FourRows();
    const TLxLabelObjectCsvString merge(&csv, 0);
    EXPECT_EQ(merge.GetName(), Sjis("差込文字シート"));
    EXPECT_EQ(merge.GetKind(), KindCsvString);
    EXPECT_EQ(merge.GetColumn(), 0);
    EXPECT_EQ(merge.GetFontName(), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(merge.GetMergedText(), Prompt());
    // The inherited text keeps the text object's default.
    EXPECT_EQ(merge.GetText(), Sjis("ここに文字列を入力してください"));
    // Without a table every cell is the prompt.
    TLxLabelObjectCsvString unbound(nullptr, 0);
    unbound.SetColumn(1);
    EXPECT_EQ(unbound.GetMergedText(), Prompt());
}

TEST(MergeTextObject, FrontCellAndBackAreJoined)
{
    TLxCSV csv = FourRows();
    TLxLabelObjectCsvString merge(&csv, 3);
    merge.SetFrontText("No.");
    merge.SetColumn(2);
    merge.SetBackText(Sjis("様"));
    EXPECT_EQ(merge.GetMergedText(), "No.B" + Sjis("様"));
    merge.SetRecordIndex(4); // beyond the last row
    EXPECT_EQ(merge.GetMergedText(), "No." + Prompt() + Sjis("様"));
    merge.SetRecordIndex(1);
    merge.SetColumn(3); // beyond the row's cells
    EXPECT_EQ(merge.GetMergedText(), "No." + Prompt() + Sjis("様"));
}

TEST(MergeTextObject, CloneKeepsItsOwnCopyOfTheTable)
{
    auto csv = std::make_unique<TLxCSV>(FourRows());
    TLxLabelObjectCsvString source(csv.get(), 3);
    source.SetColumn(1);
    auto clone = source.Clone();
    auto& copy = dynamic_cast<TLxLabelObjectCsvString&>(*clone);

    TLxCSV other = lxtest::MakeCsv({"x", "y", "z", "w"});
    source.SetCSV(&other);
    csv.reset(); // the source's former table is gone
    EXPECT_EQ(source.GetMergedText(), "w");
    EXPECT_EQ(copy.GetMergedText(), "A");
    EXPECT_NE(copy.GetCSV(), nullptr);
    // A clone of the clone has a copy of its own too.
    auto second = copy.Clone();
    clone.reset();
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*second).GetMergedText(), "A");
}

TEST(MergeTextObject, CloneForRecordRebindsAndStoresTheSourcesMergedText)
{
    TLxCSV csv = FourRows();
    TLxLabelObjectCsvString source(&csv, 2);
    source.SetColumn(1);
    source.SetFontSize(14);
    source.SetSelected(1);
    auto clone = source.CloneForRecord(7);
    auto& copy = dynamic_cast<TLxLabelObjectCsvString&>(*clone);
    EXPECT_EQ(copy.GetRecordIndex(), 7);
    EXPECT_EQ(copy.GetText(), "a2");
    EXPECT_EQ(copy.GetMergedText(), Prompt());
    EXPECT_EQ(copy.GetFontSize(), 14);
    EXPECT_EQ(copy.GetSelected(), 1);
    auto back = copy.CloneForRecord(0);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*back).GetMergedText(), "a0");
}

TEST(MergeTextObject, OwnPartAndRoundTrip)
{
    TLxCSV csv = FourRows();
    TLxLabelObjectCsvString empty(&csv, 0);
    const std::string bytes = lxtest::SavedBytes(empty);
    // Common part with a 14-byte name (55), text part (70), then 16 bytes.
    ASSERT_EQ(bytes.size(), 55u + 70u + 16u);
    EXPECT_EQ(lxtest::Hex(bytes.substr(125)), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

    TLxLabelObjectCsvString source(&csv, 3);
    source.SetColumn(2);
    source.SetFrontText("[");
    source.SetBackText("]");
    MemoryStream stream(lxtest::SavedBytes(source));
    TLxLabelObjectCsvString loaded(&csv, -1);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.GetRecordIndex(), 3);
    EXPECT_EQ(loaded.GetMergedText(), "[B]");
    EXPECT_EQ(lxtest::SavedBytes(loaded), lxtest::SavedBytes(source));

    MemoryStream cut(lxtest::SavedBytes(source).substr(0, 130));
    EXPECT_THROW(loaded.LoadFromStream(cut), ReadError);
}
