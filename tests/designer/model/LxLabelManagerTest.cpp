#include "designer/model/LxLabelManager.h"

#include "DesignTesting.h"
#include "LabelTestSupport.h"
#include "platform/fonts/FontEngine.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace lx;
using lxtest::FaceNames;
using lxtest::MakeLayout;
using lxtest::TextObject;

namespace {

// A text object whose copy cannot be made.
class UncopyableText : public TLxLabelObjectString {
public:
    std::unique_ptr<TLxLableObjectBase> Clone() const override { throw Error("copy failed"); }
};

struct Document : ::testing::Test {
    TLxCSV csv = lxtest::MakeCsv({"a0,b0", "a1,b1", "a2,b2", "a3,b3"});
    TlxLblInfo layout = MakeLayout({{50, 30}, {60, 35}, {70, 40}, {80, 45}});
    TlxLabelManager document{4, layout};

    // Face 3: text "front", merge object, serial object, text "back" (front to back).
    void FillFaceThree()
    {
        document.InsertObject(TextObject("back", "B"), 0, 3);
        document.InsertObject(lxtest::SerialObject(3), 0, 3);
        document.InsertObject(lxtest::MergeObject(&csv, 2, 3), 0, 3);
        document.InsertObject(TextObject("front", "F"), 0, 3);
    }
    const RecordBoundObject& Bound(int j, int face) const
    {
        return dynamic_cast<const RecordBoundObject&>(*document.GetObject(j, face));
    }
};

} // namespace

TEST(DocumentCreation, TwelveEmptyFacesTakeTheirCellSizesInTheLayoutsOrientation)
{
    std::vector<std::pair<double, double>> sizes;
    for (int i = 0; i < 12; ++i)
        sizes.emplace_back(40 + i, 20 + 0.5 * i);
    for (bool portrait : {true, false}) {
        const TlxLblInfo layout = MakeLayout(sizes, portrait);
        const TlxLabelManager document(12, layout);
        ASSERT_EQ(document.GetFaceCount(), 12);
        EXPECT_TRUE(document.GetShowGuide());
        EXPECT_FALSE(document.GetSingleMode());
        for (int i = 0; i < 12; ++i) {
            const TlxLabelObjectManager& face = document.GetFaceObjects(i);
            EXPECT_EQ(face.GetObjectCount(), 0);
            EXPECT_EQ(face.GetSelectedIndex(), -1);
            EXPECT_EQ(face.GetLabelIndex(), i);
            EXPECT_EQ(face.GetLabelWidth(), portrait ? sizes[i].first : sizes[i].second);
            EXPECT_EQ(face.GetLabelHeight(), portrait ? sizes[i].second : sizes[i].first);
        }
    }
    EXPECT_THROW(TlxLabelManager(13, MakeLayout(sizes)), LayoutError);
}

TEST(DocumentCreation, ContentBlockOfANewTwoCellDocument)
{
    const TlxLblInfo layout = MakeLayout({{50, 30}, {50, 30}});
    TlxLabelManager document(2, layout);
    EXPECT_EQ(lxtest::Hex(lxtest::SavedBytes(document)), "00 00 00 00 00 00 00 00 00");
    document.SetSingleMode(true);
    EXPECT_EQ(lxtest::Hex(lxtest::SavedBytes(document)), "01 00 00 00 00 00 00 00 00");
}

TEST(DocumentCreation, FaceListHoldsOnlyTrueTypeFacesWithVerticalTwins)
{
    // fontconfig's own list of outline formats the layer may offer.
    std::set<std::string> outlineFamilies;
    for (const char* format : {"TrueType", "CFF"}) {
        const std::string command = std::string("fc-list --format '%{family}\\n' ':fontformat=") + format + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char line[512];
        while (std::fgets(line, sizeof line, pipe)) {
            std::string families(line);
            families.erase(families.find_last_not_of("\r\n") + 1);
            for (std::size_t start = 0, comma; start <= families.size(); start = comma + 1) {
                comma = std::min(families.find(',', start), families.size());
                outlineFamilies.insert(families.substr(start, comma - start));
            }
        }
        ::pclose(pipe);
    }
    const TlxLblInfo layout = MakeLayout({{50, 30}});
    const TlxLabelManager one(1, layout);
    const TlxLabelManager two(1, layout);
    const std::vector<std::string>& list = one.GetFontList();
    EXPECT_EQ(&list, &two.GetFontList()); // enumerated once for every document
    const std::set<std::string> entries(list.begin(), list.end());
    for (const std::string& entry : list) {
        const bool vertical = entry[0] == '@';
        const std::string face = entry.substr(vertical ? 1 : 0, entry.find(':') - (vertical ? 1 : 0));
        EXPECT_TRUE(outlineFamilies.count(ResolvedFamily(Cp932ToUtf8(face)))) << Cp932ToUtf8(entry);
        const std::string charset = entry.substr(entry.find(':'));
        if (charset == ":128")
            EXPECT_TRUE(entries.count(vertical ? entry.substr(1) : "@" + entry)) << Cp932ToUtf8(entry);
        else
            EXPECT_FALSE(vertical) << Cp932ToUtf8(entry);
    }
    EXPECT_TRUE(entries.count(Sjis("@ＭＳ ゴシック:128")));
}

TEST_F(Document, CopyFaceCopiesInZOrderBoundToTheTargetCellKeepingItsSize)
{
    FillFaceThree();
    document.InsertObject(TextObject("old", ""), 0, 1);
    document.GetFaceObjects(1).SetDpiX(300);
    document.GetFaceObjects(3).SetDpiX(600);
    document.CopyFace(&csv, 3, 1);

    const std::vector<std::string> order = {"front", "merge", "serial", "back"};
    EXPECT_EQ(FaceNames(document, 1), order);
    EXPECT_EQ(FaceNames(document, 3), order);
    EXPECT_EQ(Bound(1, 1).GetRecordIndex(), 1);
    EXPECT_EQ(Bound(2, 1).GetRecordIndex(), 1);
    EXPECT_EQ(Bound(1, 3).GetRecordIndex(), 3);
    EXPECT_EQ(Bound(2, 3).GetRecordIndex(), 3);
    const TlxLabelObjectManager& target = document.GetFaceObjects(1);
    EXPECT_EQ(target.GetLabelIndex(), 1);
    EXPECT_EQ(target.GetLabelWidth(), 60);
    EXPECT_EQ(target.GetLabelHeight(), 35);
    EXPECT_EQ(target.GetDpiX(), 300);
    EXPECT_TRUE(target.HasMergeObjects());
    EXPECT_TRUE(target.HasSerialObjects());
    EXPECT_NE(document.GetObject(0, 1), document.GetObject(0, 3)); // copies, not shared
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*document.GetObject(1, 1)).GetMergedText(), Sjis("b1"));
}

TEST_F(Document, CopyFaceThatCannotCopyOrHasNothingToDoLeavesTheDocumentAlone)
{
    FillFaceThree();
    document.InsertObject(TextObject("keep", ""), 0, 1);
    const TLxLableObjectBase* kept = document.GetObject(0, 1);
    const TLxLableObjectBase* source = document.GetObject(0, 3);

    document.CopyFace(&csv, 3, 3);
    EXPECT_EQ(document.GetObject(0, 3), source);

    EXPECT_THROW(document.CopyFace(&csv, 3, 4), ListIndexError);
    EXPECT_THROW(document.CopyFace(&csv, -1, 1), ListIndexError);
    document.InsertObject(std::make_unique<UncopyableText>(), 2, 3);
    EXPECT_THROW(document.CopyFace(&csv, 3, 1), Error);
    ASSERT_EQ(document.GetObjectCount(1), 1);
    EXPECT_EQ(document.GetObject(0, 1), kept);
    EXPECT_EQ(document.GetObjectCount(3), 5);
}

TEST_F(Document, ClearFaceEmptiesOneFaceAndDropsItsSelection)
{
    FillFaceThree();
    document.InsertObject(TextObject("other", ""), 0, 2);
    document.SetSelectedIndex(2, 3);
    document.ClearFace(3);
    EXPECT_EQ(document.GetObjectCount(3), 0);
    EXPECT_EQ(document.GetSelectedIndex(3), -1);
    EXPECT_FALSE(document.GetFaceObjects(3).HasMergeObjects());
    EXPECT_FALSE(document.GetFaceObjects(3).HasSerialObjects());
    EXPECT_EQ(document.GetObjectCount(2), 1);
}

TEST_F(Document, FaceOperationsSelectNewObjectsAndRefuseBadArguments)
{
    document.AddObject(KindString, 2);
    document.AddMergeObject(KindCsvString, 2, &csv);
    EXPECT_EQ(document.GetObjectCount(2), 2);
    EXPECT_EQ(document.GetSelectedIndex(2), 0);
    EXPECT_TRUE(document.GetFaceObjects(2).HasMergeObjects());
    EXPECT_THROW(document.AddObject(KindCsvString, 2), Error);
    EXPECT_THROW(document.AddObject(11, 2), Error);
    EXPECT_THROW(document.AddObject(KindString, 4), ListIndexError);
    EXPECT_EQ(document.GetObjectCount(2), 2);

    document.ReplaceObject(1, 2, TextObject("new", ""));
    EXPECT_EQ(document.GetObject(1, 2)->GetName(), "new");
    EXPECT_THROW(document.ReplaceObject(2, 2, TextObject("x", "")), ListIndexError);
    EXPECT_THROW(document.ReplaceObject(0, 2, nullptr), Error);
    EXPECT_EQ(document.GetObjectCount(2), 2);
    EXPECT_THROW(document.SetFaceObjects(1, nullptr), Error);
}

TEST_F(Document, PrintQueriesAskFaceZeroOnly)
{
    FillFaceThree();
    EXPECT_FALSE(document.HasMergeObjects());
    EXPECT_FALSE(document.HasSerialObjects());
    EXPECT_EQ(document.GetSerialRecordCount(), 0);
    document.CopyFace(&csv, 3, 0);
    EXPECT_TRUE(document.HasMergeObjects());
    EXPECT_TRUE(document.HasSerialObjects());
    document.SetRecordIndex(7);
    EXPECT_EQ(Bound(1, 0).GetRecordIndex(), 7);
    EXPECT_EQ(Bound(1, 3).GetRecordIndex(), 3);
}

TEST_F(Document, AFailedContentLoadKeepsEveryFaceAndTheMode)
{
    FillFaceThree();
    document.SetSingleMode(true);
    const std::string before = lxtest::SavedBytes(document);
    // Each face's block reads, but the last one is missing its object.
    std::string block = before;
    block.resize(block.size() - 1);
    block[0] = 0;
    MemoryStream stream(block);
    EXPECT_THROW(document.LoadFromStream(stream, &csv), ReadError);
    EXPECT_EQ(lxtest::SavedBytes(document), before);
    EXPECT_TRUE(document.GetSingleMode());
}
