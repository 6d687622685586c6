#include "designer/model/LxLabelObjectManager.h"

#include "LabelTestSupport.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "designer/model/LxObjectFactory.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lx;

namespace {

const std::vector<std::string>& Faces()
{
    static const std::vector<std::string> faces = {"Arial:0", Sjis("ＭＳ ゴシック:128"), "Dup:1", "Dup:7", "Odd:abc",
                                                   "NoColon"};
    return faces;
}

std::vector<std::string> Names(const TlxLabelObjectManager& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetObjectCount(); ++i)
        names.push_back(Cp932ToUtf8(list.GetObject(i)->GetName()));
    return names;
}

std::unique_ptr<TLxLabelObjectString> Text(const std::string& name)
{
    auto text = std::make_unique<TLxLabelObjectString>();
    text->SetName(name);
    return text;
}

std::unique_ptr<TLxLabelObjectRenbanString> Serial(const std::string& start, const std::string& finish)
{
    auto serial = std::make_unique<TLxLabelObjectRenbanString>(0);
    serial->SetStartNumber(start);
    serial->SetFinishNumber(finish);
    return serial;
}

std::string Block(const TlxLabelObjectManager& list)
{
    MemoryStream stream;
    list.SaveObjects(stream);
    return stream.Bytes();
}

TLxLabelObjectCsvString& Merge(TlxLabelObjectManager& list, int i)
{
    return dynamic_cast<TLxLabelObjectCsvString&>(*list.GetObject(i));
}

struct ObjectList : ::testing::Test {
    const std::shared_ptr<TLxCSV> csv = lxtest::MakeCsv({"r0", "r1", "r2"});
    TlxLabelObjectManager list{Faces(), 60, 40, 2};
};

} // namespace

TEST_F(ObjectList, AddsGoToTheFrontWithCountedNames)
{
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_THROW(list.GetObject(0), ListIndexError);
    list.AddString();
    list.AddSerial();
    list.AddString();
    list.AddMergeObject(csv, KindCsvString);
    list.AddMergeObject(csv, KindCsvString);
    EXPECT_EQ(
        Names(list),
        (std::vector<std::string>{"差込文字シート2", "差込文字シート1", "文字シート2", "連番シート1", "文字シート1"}));
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    // Merge and serial objects show this cell's record.
    EXPECT_EQ(Merge(list, 0).GetRecordIndex(), 2);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectRenbanString&>(*list.GetObject(3)).GetRecordIndex(), 2);
    EXPECT_TRUE(list.HasMergeObjects() && list.HasSerialObjects());
    EXPECT_THROW(list.AddMergeObject(csv, KindString), Error);
    EXPECT_THROW(list.NextObjectName("x", 10), ListIndexError);

    list.Clear();
    EXPECT_EQ(list.GetObjectCount(), 0);
    EXPECT_FALSE(list.HasMergeObjects() || list.HasSerialObjects());
    list.AddString();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"文字シート1"}));
}

TEST_F(ObjectList, MovesStepOnceAndDoNothingAtTheEnds)
{
    for (const char* name : {"c", "b", "a"})
        list.AddObject(Text(name), true);
    list.SetSelectedIndex(1);
    list.MoveObjectFront(0);
    list.MoveObjectBack(2);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.GetSelectedIndex(), 1);
    list.MoveObjectBack(0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "a", "c"}));
    list.MoveObjectFront(2);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(list.GetSelectedIndex(), 1);
    EXPECT_THROW(list.MoveObjectFront(3), ListIndexError);
    EXPECT_THROW(list.MoveObjectBack(-1), ListIndexError);
    list.MoveObjectBack(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "c", "a"}));
}

TEST_F(ObjectList, FlagsFollowTheClassesInTheList)
{
    list.AddString();
    list.AddMergeObject(csv, KindCsvString);
    list.SetSelectedIndex(0);
    list.DeleteObject(0);
    EXPECT_FALSE(list.HasMergeObjects());
    EXPECT_EQ(list.GetSelectedIndex(), 0);
    list.InsertObject(1, Serial("1", "2"));
    EXPECT_TRUE(list.HasSerialObjects());
    EXPECT_THROW(list.InsertObject(3, Text("x")), ListIndexError);
    EXPECT_THROW(list.DeleteObject(2), ListIndexError);
    // A kind byte says nothing: the class decides.
    auto disguised = Text("plain");
    disguised->SetKind(KindRenbanString);
    list.InsertObject(0, std::move(disguised));
    list.DeleteObject(2);
    EXPECT_FALSE(list.HasSerialObjects());
}

TEST_F(ObjectList, FaceCharsetsComeFromTheLastMatchingEntry)
{
    EXPECT_EQ(list.GetFaceCharset(Sjis("ＭＳ ゴシック")), 128);
    EXPECT_EQ(list.GetFaceCharset("Dup"), 7);
    for (const char* none : {"Arial", "Odd", "NoColon", "arial", "Missing"})
        EXPECT_EQ(list.GetFaceCharset(none), 0) << none;
}

TEST_F(ObjectList, SerialRecordCountIsTheWidestRangeClamped)
{
    EXPECT_EQ(list.GetSerialRecordCount(), 0);
    list.AddObject(Serial("1", "10"), false);
    list.AddObject(Serial("5", "7"), false);
    list.AddObject(Serial("10", "5"), false);
    list.AddString();
    EXPECT_EQ(list.GetSerialRecordCount(), 10);
    list.AddObject(Serial("-2147483648", "2147483647"), false);
    EXPECT_EQ(list.GetSerialRecordCount(), std::numeric_limits<std::int32_t>::max());
    list.AddObject(Serial("x", "1"), false);
    EXPECT_THROW(list.GetSerialRecordCount(), ConvertError);
}

TEST_F(ObjectList, RecordIndexAndCloneForRecord)
{
    list.AddString();
    list.AddMergeObject(csv, KindCsvString);
    Merge(list, 0).SetColumn(1);
    Merge(list, 0).SetKind(KindString); // the record index still reaches it
    list.AddSerial();
    list.SetSelectedIndex(2);
    list.SetDpiX(600);
    list.SetRecordIndex(0);
    EXPECT_EQ(Merge(list, 1).GetMergedText(), "r0");

    auto copy = list.CloneLabelForRecord(csv.get(), 1);
    EXPECT_EQ(Names(*copy), Names(list));
    EXPECT_EQ(copy->GetLabelIndex(), 1);
    EXPECT_EQ(copy->GetSelectedIndex(), 2);
    EXPECT_EQ(copy->GetDpiX(), 600.0);
    EXPECT_TRUE(copy->HasMergeObjects() && copy->HasSerialObjects());
    EXPECT_EQ(dynamic_cast<TLxLabelObjectRenbanString&>(*copy->GetObject(0)).GetRecordIndex(), 1);
    EXPECT_EQ(Merge(*copy, 1).GetMergedText(), "r1");
    EXPECT_EQ(Merge(list, 1).GetMergedText(), "r0");
    list.DeleteObject(0);
    EXPECT_EQ(copy->GetObjectCount(), 3);
    copy->AddString(); // counters start again in the copy
    EXPECT_EQ(Cp932ToUtf8(copy->GetObject(0)->GetName()), "文字シート1");
}

TEST_F(ObjectList, SaveAndLoadKeepOrderNamesAndBindings)
{
    EXPECT_EQ(Block(list), std::string(4, '\0'));
    list.AddString();
    list.AddSerial();
    list.AddMergeObject(csv, KindCsvString);
    Merge(list, 0).SetColumn(1);
    list.AddString();
    const std::string block = Block(list);

    TlxLabelObjectManager loaded(Faces(), 60, 40, 0);
    MemoryStream stream(block);
    loaded.LoadObjects(stream, csv);
    EXPECT_EQ(stream.Remaining(), 0u);
    EXPECT_EQ(Block(loaded), block);
    EXPECT_TRUE(loaded.HasMergeObjects() && loaded.HasSerialObjects());
    EXPECT_EQ(Merge(loaded, 1).GetMergedText(), "r2");
    loaded.AddString(); // name counters are not stored
    EXPECT_EQ(Cp932ToUtf8(loaded.GetObject(0)->GetName()), "文字シート1");
}

TEST_F(ObjectList, OuterKindByteChoosesTheClassAndSavingNamesTheClass)
{
    TLxLabelObjectRenbanString serial(0);
    serial.SetKind(KindString);
    MemoryStream stream;
    stream.WriteInt32(1);
    stream.WriteUInt8(KindRenbanString);
    serial.SaveToStream(stream);
    stream.Seek(0);
    list.LoadObjects(stream, csv);
    ASSERT_NE(dynamic_cast<TLxLabelObjectRenbanString*>(list.GetObject(0)), nullptr);
    EXPECT_EQ(list.GetObject(0)->GetKind(), KindString);
    EXPECT_EQ(Block(list), stream.Bytes()); // reads back into the same class
}

TEST_F(ObjectList, HostileBlocksFailCleanlyKeepingWholeObjects)
{
    const std::string record = lxtest::SavedBytes(TLxLabelObjectString());
    auto block = [&](std::int32_t count, const std::vector<std::pair<std::uint8_t, std::string>>& objects) {
        MemoryStream stream;
        stream.WriteInt32(count);
        for (const auto& [kind, bytes] : objects) {
            stream.WriteUInt8(kind);
            stream.WriteBytes(bytes);
        }
        return stream.TakeBytes();
    };
    struct Case {
        const char* what;
        std::string bytes;
        bool fails;
        int kept;
    };
    std::vector<Case> cases = {
        {"kind above 10", block(3, {{0, record}, {11, record}}), true, 1},
        {"negative count", block(-5, {{0, record}}), false, 0},
        {"count beyond the records", block(0x7FFFFFFF, {{0, record}, {0, record}}), true, 2},
        {"record cut short", block(2, {{0, record}, {0, record.substr(0, 60)}}), true, 1},
        {"count cut short", std::string(3, '\0'), true, 0},
    };
    for (const Case& c : cases) {
        TlxLabelObjectManager target(Faces(), 60, 40, 0);
        MemoryStream stream(c.bytes);
        if (c.fails)
            EXPECT_THROW(target.LoadObjects(stream, csv), ReadError) << c.what;
        else
            target.LoadObjects(stream, csv);
        EXPECT_EQ(target.GetObjectCount(), c.kept) << c.what;
        for (int i = 0; i < target.GetObjectCount(); ++i)
            EXPECT_EQ(lxtest::SavedBytes(*target.GetObject(i)), record) << c.what;
    }
}
