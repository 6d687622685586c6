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
    static const std::vector<std::string> faces = {
        "Arial:0", Sjis("ＭＳ ゴシック:128"), Sjis("@ＭＳ ゴシック:128"), "Dup:1",
        "Dup:7",   "Odd:abc",               "NoColon",                   "Long:" + std::string(300, '1'),
    };
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

struct ObjectList : ::testing::Test {
    TLxCSV csv = lxtest::MakeCsv({"r0", "r1", "r2"});
    TlxLabelObjectManager list{Faces(), 60, 40, 2};
};

} // namespace

TEST_F(ObjectList, StartsEmpty)
{
    EXPECT_EQ(list.GetObjectCount(), 0);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_FALSE(list.HasMergeObjects());
    EXPECT_FALSE(list.HasSerialObjects());
    EXPECT_EQ(list.GetDpiX(), 0.0);
    EXPECT_EQ(list.GetLabelWidth(), 60.0);
    EXPECT_EQ(list.GetLabelHeight(), 40.0);
    EXPECT_EQ(list.GetLabelIndex(), 2);
    EXPECT_THROW(list.GetObject(0), ListIndexError);
}

TEST_F(ObjectList, AddsGoToTheFrontWithCountedNames)
{
    list.AddString();
    list.AddSerial();
    list.AddString();
    list.AddMergeObject(&csv, KindCsvString);
    list.AddMergeObject(&csv, KindCsvString);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"差込文字シート2", "差込文字シート1", "文字シート2",
                                                     "連番シート1", "文字シート1"}));
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    // Merge and serial objects show this cell's record.
    auto* merge = dynamic_cast<TLxLabelObjectCsvString*>(list.GetObject(0));
    ASSERT_NE(merge, nullptr);
    EXPECT_EQ(merge->GetRecordIndex(), 2);
    EXPECT_EQ(merge->GetCSV(), &csv);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectRenbanString&>(*list.GetObject(3)).GetRecordIndex(), 2);
    EXPECT_TRUE(list.HasMergeObjects());
    EXPECT_TRUE(list.HasSerialObjects());

    list.ResetNameCounters();
    EXPECT_EQ(list.NextObjectName("x", TlxLabelObjectManager::SlotString), "x1");
    EXPECT_EQ(list.NextObjectName("x", TlxLabelObjectManager::SlotString), "x2");
    EXPECT_THROW(list.NextObjectName("x", 10), ListIndexError);
    list.Clear();
    EXPECT_EQ(list.GetObjectCount(), 0);
    EXPECT_FALSE(list.HasMergeObjects());
    EXPECT_FALSE(list.HasSerialObjects());
    list.AddString();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"文字シート1"}));
}

TEST_F(ObjectList, KindsWithoutAClassAndWrongMergeKindsAddNothing)
{
    list.AddString();
    const std::pair<void (TlxLabelObjectManager::*)(), std::uint8_t> adds[] = {
        {&TlxLabelObjectManager::AddFigure, KindFigure},   {&TlxLabelObjectManager::AddImage, KindImage},
        {&TlxLabelObjectManager::AddBarcode, KindBarcode}, {&TlxLabelObjectManager::AddQRCarry, KindQRCarry},
        {&TlxLabelObjectManager::AddGrid, KindGrid},       {&TlxLabelObjectManager::AddEffects, KindEffects},
    };
    for (const auto& [add, kind] : adds) {
        SCOPED_TRACE(int(kind));
        const int before = list.GetObjectCount();
        if (CanCreateLabelObject(kind)) {
            (list.*add)();
            EXPECT_EQ(list.GetObjectCount(), before + 1);
            EXPECT_EQ(list.GetObject(0)->GetKind(), kind);
        } else {
            EXPECT_THROW((list.*add)(), Error);
            EXPECT_EQ(list.GetObjectCount(), before);
        }
    }
    EXPECT_THROW(list.AddMergeObject(&csv, KindString), Error);
    EXPECT_THROW(list.AddMergeObject(&csv, KindRenbanString), Error);
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
    EXPECT_EQ(list.GetSelectedIndex(), 1);
    list.MoveObjectFront(2);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(list.GetSelectedIndex(), 1);
    // Outside the list: the index check, not a silent move.
    EXPECT_THROW(list.MoveObjectFront(3), ListIndexError);
    EXPECT_THROW(list.MoveObjectBack(-1), ListIndexError);
    list.MoveObjectFront(-1);
    list.MoveObjectBack(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "c", "a"}));
}

TEST_F(ObjectList, FlagsFollowInsertAndDeleteButAddNeverClears)
{
    list.AddString();
    EXPECT_FALSE(list.HasMergeObjects());
    list.AddMergeObject(&csv, KindCsvString);
    list.SetSelectedIndex(0);
    list.DeleteObject(0);
    EXPECT_FALSE(list.HasMergeObjects());
    EXPECT_EQ(list.GetSelectedIndex(), 0);

    list.InsertObject(1, Serial("1", "2"));
    EXPECT_TRUE(list.HasSerialObjects());
    EXPECT_THROW(list.InsertObject(3, Text("x")), ListIndexError);
    EXPECT_THROW(list.DeleteObject(2), ListIndexError);
    EXPECT_EQ(list.GetObjectCount(), 2);

    // A kind byte says nothing: the class decides.
    auto disguised = Text("plain");
    disguised->SetKind(KindRenbanString);
    list.InsertObject(0, std::move(disguised));
    list.DeleteObject(2);
    EXPECT_FALSE(list.HasSerialObjects());
}

TEST_F(ObjectList, FaceCharsetsComeFromTheLastMatchingEntry)
{
    EXPECT_EQ(list.GetFaceCharset("Arial"), 0);
    EXPECT_EQ(list.GetFaceCharset(Sjis("ＭＳ ゴシック")), 128);
    EXPECT_EQ(list.GetFaceCharset(Sjis("@ＭＳ ゴシック")), 128);
    EXPECT_EQ(list.GetFaceCharset("Dup"), 7);
    EXPECT_EQ(list.GetFaceCharset("Odd"), 0);
    EXPECT_EQ(list.GetFaceCharset("NoColon"), 0);
    EXPECT_EQ(list.GetFaceCharset("Long"), 0);
    EXPECT_EQ(list.GetFaceCharset("arial"), 0);
    EXPECT_EQ(list.GetFaceCharset("Missing"), 0);
}

TEST_F(ObjectList, SerialRecordCountIsTheWidestRangeClamped)
{
    EXPECT_EQ(list.GetSerialRecordCount(), 0);
    list.AddObject(Serial("1", "10"), false);
    list.AddObject(Serial("5", "7"), false);
    list.AddString();
    EXPECT_EQ(list.GetSerialRecordCount(), 10);

    list.Clear();
    list.AddObject(Serial("10", "5"), false);
    EXPECT_EQ(list.GetSerialRecordCount(), 0);
    list.AddObject(Serial("-2147483648", "2147483647"), false);
    EXPECT_EQ(list.GetSerialRecordCount(), std::numeric_limits<std::int32_t>::max());
    list.AddObject(Serial("x", "1"), false);
    EXPECT_THROW(list.GetSerialRecordCount(), ConvertError);
}

TEST_F(ObjectList, RecordIndexReachesMergeAndSerialObjectsByClass)
{
    list.AddMergeObject(&csv, KindCsvString);
    list.AddSerial();
    auto plain = Text("plain");
    plain->SetKind(KindRenbanString);
    list.AddObject(std::move(plain), true);
    list.GetObject(2)->SetKind(KindString); // the merge object's stored kind says text
    dynamic_cast<TLxLabelObjectCsvString&>(*list.GetObject(2)).SetColumn(1);
    list.SetRecordIndex(1);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectRenbanString&>(*list.GetObject(1)).GetRecordIndex(), 1);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*list.GetObject(2)).GetMergedText(), "r1");
}

TEST_F(ObjectList, CloneForRecordIsIndependentAndRebound)
{
    list.AddString();
    list.AddMergeObject(&csv, KindCsvString);
    dynamic_cast<TLxLabelObjectCsvString&>(*list.GetObject(0)).SetColumn(1);
    list.AddSerial();
    list.SetSelectedIndex(2);
    list.SetDpiX(600);
    list.SetDpiY(300);

    auto copy = list.CloneLabelForRecord(&csv, 1);
    EXPECT_EQ(Names(*copy), Names(list));
    EXPECT_EQ(copy->GetLabelIndex(), 1);
    EXPECT_EQ(copy->GetSelectedIndex(), 2);
    EXPECT_EQ(copy->GetDpiX(), 600.0);
    EXPECT_EQ(copy->GetDpiY(), 300.0);
    EXPECT_EQ(copy->GetLabelWidth(), 60.0);
    EXPECT_TRUE(copy->HasMergeObjects());
    EXPECT_TRUE(copy->HasSerialObjects());
    EXPECT_EQ(dynamic_cast<TLxLabelObjectRenbanString&>(*copy->GetObject(0)).GetRecordIndex(), 1);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*copy->GetObject(1)).GetMergedText(), "r1");
    EXPECT_EQ(dynamic_cast<TLxLabelObjectCsvString&>(*list.GetObject(1)).GetMergedText(), "r2");

    copy->GetObject(2)->SetName("renamed");
    list.DeleteObject(0);
    EXPECT_EQ(Cp932ToUtf8(list.GetObject(1)->GetName()), "文字シート1");
    EXPECT_EQ(copy->GetObjectCount(), 3);
    copy->AddString(); // counters start again in the copy
    EXPECT_EQ(Cp932ToUtf8(copy->GetObject(0)->GetName()), "文字シート1");
}

TEST_F(ObjectList, EmptyBlockIsFourZeroBytes)
{
    EXPECT_EQ(Block(list), std::string(4, '\0'));
    MemoryStream stream(std::string(4, '\0'));
    list.LoadObjects(stream, &csv);
    EXPECT_EQ(list.GetObjectCount(), 0);
    EXPECT_EQ(stream.Remaining(), 0u);
}

TEST_F(ObjectList, SaveAndLoadKeepOrderNamesAndBindings)
{
    list.AddString();
    list.AddSerial();
    list.AddMergeObject(&csv, KindCsvString);
    dynamic_cast<TLxLabelObjectCsvString&>(*list.GetObject(0)).SetColumn(1);
    list.AddString();
    const std::string block = Block(list);

    TlxLabelObjectManager loaded(Faces(), 60, 40, 0);
    MemoryStream stream(block);
    loaded.LoadObjects(stream, &csv);
    EXPECT_EQ(stream.Remaining(), 0u);
    EXPECT_EQ(Names(loaded), Names(list));
    EXPECT_EQ(Block(loaded), block);
    EXPECT_TRUE(loaded.HasMergeObjects());
    EXPECT_TRUE(loaded.HasSerialObjects());
    auto& merge = dynamic_cast<TLxLabelObjectCsvString&>(*loaded.GetObject(1));
    EXPECT_EQ(merge.GetCSV(), &csv);
    EXPECT_EQ(merge.GetMergedText(), "r2");
    // Name counters are not stored: a new object may repeat a loaded name.
    loaded.AddString();
    EXPECT_EQ(Cp932ToUtf8(loaded.GetObject(0)->GetName()), "文字シート1");
}

TEST_F(ObjectList, OuterKindByteChoosesTheClassInnerOneIsKept)
{
    TLxLabelObjectRenbanString serial(0);
    serial.SetKind(KindString);
    MemoryStream stream;
    stream.WriteInt32(1);
    stream.WriteUInt8(KindRenbanString);
    serial.SaveToStream(stream);
    stream.Seek(0);
    list.LoadObjects(stream, &csv);
    ASSERT_EQ(list.GetObjectCount(), 1);
    EXPECT_NE(dynamic_cast<TLxLabelObjectRenbanString*>(list.GetObject(0)), nullptr);
    EXPECT_EQ(list.GetObject(0)->GetKind(), KindString);
    EXPECT_TRUE(list.HasSerialObjects());

    // Saved again, the block names the class, so it reads back the same.
    const std::string block = Block(list);
    EXPECT_EQ(block[4], char(KindRenbanString));
    TlxLabelObjectManager again(Faces(), 60, 40, 0);
    MemoryStream reread(block);
    again.LoadObjects(reread, &csv);
    EXPECT_EQ(Block(again), block);
}

TEST_F(ObjectList, HostileBlocksFailCleanlyKeepingCompleteObjects)
{
    TLxLabelObjectString text;
    const std::string record = lxtest::SavedBytes(text);
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
        {"kind 255", block(1, {{255, record}}), true, 0},
        {"negative count", block(-5, {{0, record}}), false, 0},
        {"count beyond the records", block(0x7FFFFFFF, {{0, record}, {0, record}}), true, 2},
        {"record cut short", block(2, {{0, record}, {0, record.substr(0, 60)}}), true, 1},
        {"kind byte missing", block(2, {{0, record}}), true, 1},
        {"count cut short", std::string(3, '\0'), true, 0},
    };
    for (std::uint8_t kind = 0; kind < kLabelObjectKindCount; ++kind)
        if (!CanCreateLabelObject(kind))
            cases.push_back({"kind without a class", block(2, {{0, record}, {kind, record}}), true, 1});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TlxLabelObjectManager target(Faces(), 60, 40, 0);
        MemoryStream stream(c.bytes);
        if (c.fails)
            EXPECT_THROW(target.LoadObjects(stream, &csv), ReadError);
        else
            EXPECT_NO_THROW(target.LoadObjects(stream, &csv));
        EXPECT_EQ(target.GetObjectCount(), c.kept);
        for (int i = 0; i < target.GetObjectCount(); ++i)
            EXPECT_EQ(lxtest::SavedBytes(*target.GetObject(i)), record);
    }
}
