#include "designer/model/LxLabelManager.h"

#include "DesignTesting.h"
#include "LabelTestSupport.h"
#include "platform/fonts/FontEngine.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

using namespace lx;
using lxtest::FaceNames;
using lxtest::TextObject;

namespace {

// A text object whose copy cannot be made.
class UncopyableText : public TLxLabelObjectString {
public:
    std::unique_ptr<TLxLableObjectBase> Clone() const override { throw Error("copy failed"); }
};

// Four faces of different sizes; face 3 holds, from the front, a text, a
// merge object, a serial object and a text.
struct Document : ::testing::Test {
    const std::shared_ptr<TLxCSV> csv = lxtest::MakeCsv({"a0,b0", "a1,b1", "a2,b2", "a3,b3"});
    TlxLblInfo layout = lxtest::MakeLayout({{50, 30}, {60, 35}, {70, 40}, {80, 45}});
    TlxLabelManager document{4, layout};

    Document()
    {
        document.InsertObject(TextObject("back", "B"), 0, 3);
        document.InsertObject(lxtest::SerialObject(3), 0, 3);
        document.InsertObject(lxtest::MergeObject(csv, 2, 3), 0, 3);
        document.InsertObject(TextObject("front", "F"), 0, 3);
    }
    std::int32_t Record(int j, int face) const { return document.GetObject(j, face)->GetRecordIndex(); }
};

} // namespace

TEST(NewDocument, TwelveEmptyFacesTakeTheirCellSizesInTheLayoutsOrientation)
{
    std::vector<std::pair<double, double>> sizes;
    for (int i = 0; i < 12; ++i)
        sizes.emplace_back(40 + i, 20 + 0.5 * i);
    for (bool portrait : {true, false}) {
        const TlxLblInfo layout = lxtest::MakeLayout(sizes, portrait);
        const TlxLabelManager document(12, layout);
        ASSERT_EQ(document.GetFaceCount(), 12);
        for (int i = 0; i < 12; ++i) {
            const TlxLabelObjectManager& face = document.GetFaceObjects(i);
            EXPECT_EQ(face.GetObjectCount(), 0);
            EXPECT_EQ(face.GetLabelIndex(), i);
            EXPECT_EQ(face.GetLabelWidth(), portrait ? sizes[i].first : sizes[i].second);
            EXPECT_EQ(face.GetLabelHeight(), portrait ? sizes[i].second : sizes[i].first);
        }
    }
    EXPECT_THROW(TlxLabelManager(13, lxtest::MakeLayout(sizes)), LayoutError);

    const TlxLblInfo two = lxtest::MakeLayout({{50, 30}, {50, 30}});
    TlxLabelManager document(2, two);
    EXPECT_EQ(lxtest::Hex(lxtest::SavedBytes(document)), "00 00 00 00 00 00 00 00 00");
    document.SetSingleMode(true);
    EXPECT_EQ(lxtest::Hex(lxtest::SavedBytes(document)), "01 00 00 00 00 00 00 00 00");
}

TEST(NewDocument, FaceListHoldsOnlyTrueTypeFacesWithVerticalTwins)
{
    // fontconfig's own list of the families it has in outline formats.
    std::set<std::string> outline;
    FILE* pipe = ::popen("for f in TrueType CFF; do fc-list --format '%{[]family{%{family}\\n}}' "
                         "\":fontformat=$f\"; done",
                         "r");
    ASSERT_NE(pipe, nullptr);
    for (char line[512]; std::fgets(line, sizeof line, pipe);)
        outline.insert(std::string(line, std::strcspn(line, "\n")));
    ::pclose(pipe);

    const TlxLblInfo layout = lxtest::MakeLayout({{50, 30}});
    const TlxLabelManager one(1, layout);
    const std::vector<std::string>& list = one.GetFontList();
    EXPECT_EQ(&list, &TlxLabelManager(1, layout).GetFontList()); // enumerated once for all documents
    const std::set<std::string> entries(list.begin(), list.end());
    for (const std::string& entry : list) {
        const bool vertical = entry[0] == '@';
        const std::size_t colon = entry.find(':');
        const std::string face = entry.substr(vertical, colon - vertical);
        EXPECT_TRUE(outline.count(ResolvedFamily(Cp932ToUtf8(face)))) << Cp932ToUtf8(entry);
        if (entry.substr(colon) == ":128")
            EXPECT_TRUE(entries.count(vertical ? entry.substr(1) : "@" + entry)) << Cp932ToUtf8(entry);
        else
            EXPECT_FALSE(vertical) << Cp932ToUtf8(entry);
    }
    EXPECT_TRUE(entries.count(Sjis("@ＭＳ ゴシック:128")));
}

TEST_F(Document, CopyFaceCopiesInZOrderBoundToTheTargetCellKeepingItsSize)
{
    document.InsertObject(TextObject("old", ""), 0, 1);
    document.GetFaceObjects(1).SetDpiX(300);
    document.CopyFace(csv.get(), 3, 1);

    for (int face : {1, 3}) {
        EXPECT_EQ(FaceNames(document, face), (std::vector<std::string>{"front", "merge", "serial", "back"}));
        EXPECT_EQ(Record(1, face), face);
        EXPECT_EQ(Record(2, face), face);
    }
    const TlxLabelObjectManager& target = document.GetFaceObjects(1);
    EXPECT_EQ(target.GetLabelIndex(), 1);
    EXPECT_EQ(target.GetLabelWidth(), 60);
    EXPECT_EQ(target.GetLabelHeight(), 35);
    EXPECT_EQ(target.GetDpiX(), 300);
    EXPECT_TRUE(target.HasMergeObjects() && target.HasSerialObjects());
    EXPECT_NE(document.GetObject(0, 1), document.GetObject(0, 3));
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*document.GetObject(1, 1)).GetMergedText(), "b1");
    EXPECT_FALSE(document.HasMergeObjects()); // print queries ask face 0

    document.ClearFace(3);
    EXPECT_EQ(document.GetObjectCount(3), 0);
    EXPECT_EQ(document.GetSelectedIndex(3), -1);
    EXPECT_FALSE(document.GetFaceObjects(3).HasMergeObjects() || document.GetFaceObjects(3).HasSerialObjects());
    EXPECT_EQ(document.GetObjectCount(1), 4);
}

TEST_F(Document, FailedOrEmptyChangesLeaveTheFacesAlone)
{
    document.InsertObject(TextObject("keep", ""), 0, 1);
    const TLxLableObjectBase* kept = document.GetObject(0, 1);
    const TLxLableObjectBase* source = document.GetObject(0, 3);
    document.CopyFace(csv.get(), 3, 3);
    EXPECT_EQ(document.GetObject(0, 3), source);
    EXPECT_THROW(document.CopyFace(csv.get(), 3, 4), ListIndexError);
    document.InsertObject(std::make_unique<UncopyableText>(), 2, 3);
    EXPECT_THROW(document.CopyFace(csv.get(), 3, 1), Error);
    EXPECT_THROW(document.ReplaceObject(1, 1, TextObject("x", "")), ListIndexError);
    EXPECT_THROW(document.AddObject(KindCsvString, 1), Error);
    ASSERT_EQ(document.GetObjectCount(1), 1);
    EXPECT_EQ(document.GetObject(0, 1), kept);
    EXPECT_EQ(document.GetObjectCount(3), 5);

    // A content block whose last face is cut short.
    document.SetSingleMode(true);
    const std::string before = lxtest::SavedBytes(document);
    MemoryStream cut(std::string(1, '\0') + before.substr(1, before.size() - 2));
    EXPECT_THROW(document.LoadFromStream(cut, csv), ReadError);
    EXPECT_EQ(lxtest::SavedBytes(document), before);
}
