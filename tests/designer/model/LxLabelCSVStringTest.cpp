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

// Row 3 holds A and B.
std::shared_ptr<TLxCSV> FourRows() { return lxtest::MakeCsv({"a0,b0", "a1,b1", "a2,b2", "A,B"}); }

} // namespace

TEST(MergeTextObject, FrontCellAndBackOrThePrompt)
{
    const auto csv = FourRows();
    TLxLabelObjectCsvString merge(csv, 3);
    EXPECT_EQ(merge.GetMergedText(), Prompt());
    merge.SetFrontText("No.");
    merge.SetColumn(2);
    merge.SetBackText(Sjis("様"));
    EXPECT_EQ(merge.GetMergedText(), "No.B" + Sjis("様"));
    merge.SetRecordIndex(4);
    EXPECT_EQ(merge.GetMergedText(), "No." + Prompt() + Sjis("様"));
    TLxLabelObjectCsvString unbound(nullptr, 0);
    unbound.SetColumn(1);
    EXPECT_EQ(unbound.GetMergedText(), Prompt());
}

TEST(MergeTextObject, ClonesKeepTheirOwnCopyOfTheTable)
{
    const auto csv = FourRows();
    TLxLabelObjectCsvString source(csv, 2);
    source.SetColumn(1);
    source.SetSelected(1);
    auto same = source.Clone();
    auto rebound = source.CloneForRecord(3);
    *csv = *lxtest::MakeCsv({"x", "y", "z", "w"}); // reloaded in place, as the editor does
    EXPECT_EQ(source.GetMergedText(), "z");
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*same).GetMergedText(), "a2");
    auto& copy = dynamic_cast<TLxLabelObjectCsvString&>(*rebound);
    EXPECT_EQ(copy.GetRecordIndex(), 3);
    EXPECT_EQ(copy.GetMergedText(), "A");
    EXPECT_EQ(copy.GetText(), "a2"); // the source's merged text for its own record
    EXPECT_EQ(copy.GetSelected(), 1);
    auto second = copy.Clone();
    rebound.reset();
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*second).GetMergedText(), "A");
}

TEST(MergeTextObject, OwnPartAndRoundTrip)
{
    const auto csv = FourRows();
    const std::string empty = lxtest::SavedBytes(TLxLabelObjectCsvString(csv, 0));
    // Common part with a 14-byte name (55), text part (70), then 16 bytes.
    ASSERT_EQ(empty.size(), 55u + 70u + 16u);
    EXPECT_EQ(empty.substr(125), std::string(16, '\0'));

    TLxLabelObjectCsvString source(csv, 3);
    source.SetColumn(2);
    source.SetFrontText("[");
    source.SetBackText("]");
    const std::string bytes = lxtest::SavedBytes(source);
    MemoryStream stream(bytes);
    TLxLabelObjectCsvString loaded(csv, -1);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.GetMergedText(), "[B]");
    EXPECT_EQ(lxtest::SavedBytes(loaded), bytes);
    MemoryStream cut(bytes.substr(0, 130));
    EXPECT_THROW(loaded.LoadFromStream(cut), ReadError);
}
