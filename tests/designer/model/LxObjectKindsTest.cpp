// The kind table walked row by row: every kind is made, named, bound, stored
// and drawn as its number says.
#include "designer/model/LxObjectKinds.h"

#include "DesignTesting.h"
#include "LabelTestSupport.h"
#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLabelQRCarry.h"
#include "designer/model/LxLabelString.h"
#include "designer/model/LxObjectFactory.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <array>
#include <typeinfo>

using namespace lx;

namespace {

const std::vector<std::string> kNoFaces;

// The names the editor gives new objects, by kind.
const char* const kNames[kLabelObjectKindCount] = {
    "文字シート",           "図形シート",       "画像シート", "QRコードシート", "携帯QRシート",  "差込文字シート",
    "差込バーコードシート", "差込携帯QRシート", "連番シート", "格子模様シート", "特殊文字シート"};

// The name counter each kind's Add operation numbers with, as the editor
// has always counted them (not in kind order; the merge kinds share one).
constexpr std::array<int, kLabelObjectKindCount> kSlotOfKind = {1, 3, 2, 4, 5, 6, 6, 6, 7, 8, 9};

std::uint8_t Kind(int kind) { return static_cast<std::uint8_t>(kind); }

// Something visible in the object, where its defaults show nothing.
void GiveContent(TLxLableObjectBase& object)
{
    Bitmap black(8, 8, 0xFF000000u);
    if (auto* text = dynamic_cast<TLxLabelObjectString*>(&object))
        text->SetText("A");
    if (auto* image = dynamic_cast<TLxLabelObjectImage*>(&object))
        image->GetPicture().SetBitmap(black);
    if (auto* symbol = dynamic_cast<TLxLabelObjectBarcode*>(&object))
        symbol->GetPicture().SetBitmap(black);
    if (auto* qr = dynamic_cast<TLxLabelObjectQRCarry*>(&object))
        qr->GetPicture().SetBitmap(black);
    object.SetLeft(1);
    object.SetTop(1);
    object.SetWidth(20);
    object.SetHeight(10);
}

struct KindTable : ::testing::Test {
    const std::shared_ptr<TLxCSV> csv = lxtest::MakeCsv({"A1,B1", "A2,B2"});
};

} // namespace

TEST_F(KindTable, EveryRowMakesAnObjectOfItsOwnKindAndClass)
{
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        SCOPED_TRACE(kind);
        const LabelObjectKindInfo* row = FindLabelObjectKind(Kind(kind));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, kind);
        const auto object = CreateLabelObject(Kind(kind), csv, 1);
        ASSERT_NE(object, nullptr);
        // The constructor's kind byte and name agree with the row that made it.
        EXPECT_EQ(object->GetKind(), kind);
        EXPECT_EQ(object->GetName(), Sjis(kNames[kind]));
        EXPECT_EQ(DefaultObjectName(Kind(kind)), Sjis(kNames[kind]));
        EXPECT_EQ(FindKindOfClass(*object), row);
        EXPECT_EQ(FindKindOfClass(*object->Clone()), row);
        // The row's class name is the class the maker made.
        EXPECT_NE(std::string(typeid(*object).name()).find(std::string(row->className)), std::string::npos);
        // Merge kinds (5 to 7) are bound to the table, they and serial numbers
        // (8) to the record; the others ignore both.
        const bool merge = kind >= 5 && kind <= 7;
        const bool recordBound = kind >= 5 && kind <= 8;
        EXPECT_EQ(IsMergeKind(Kind(kind)), merge);
        EXPECT_EQ(IsRecordBoundKind(Kind(kind)), recordBound);
        EXPECT_EQ(MergeTableOf(*object), merge ? csv.get() : nullptr);
        EXPECT_EQ(object->GetRecordIndex(), recordBound ? 1 : -1);
        object->SetRecordIndex(4);
        EXPECT_EQ(object->GetRecordIndex(), recordBound ? 4 : -1);
        EXPECT_EQ(BindMergeTable(*object, nullptr), merge);
        EXPECT_EQ(MergeTableOf(*object), nullptr);
    }
    EXPECT_EQ(CreateLabelObject(kLabelObjectKindCount, csv, 1), nullptr);
    EXPECT_EQ(FindLabelObjectKind(kLabelObjectKindCount), nullptr);
    EXPECT_EQ(DefaultObjectName(200), Sjis("デフォルトシート名"));
    EXPECT_FALSE(IsRecordBoundKind(200));
}

TEST_F(KindTable, EveryKindReadsBackFromTheObjectBlockAsItsOwnClass)
{
    TlxLabelObjectManager list(kNoFaces, 60, 40, 0);
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        auto object = CreateLabelObject(Kind(kind), csv, 0);
        GiveContent(*object);
        list.AddObject(std::move(object), false);
    }
    MemoryStream stream;
    list.SaveObjects(stream);
    stream.Seek(0);
    TlxLabelObjectManager loaded(kNoFaces, 60, 40, 0);
    loaded.LoadObjects(stream, csv);
    ASSERT_EQ(loaded.GetObjectCount(), kLabelObjectKindCount);
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(KindOfClass(*loaded.GetObject(kind)), kind);
        EXPECT_EQ(typeid(*loaded.GetObject(kind)), typeid(*list.GetObject(kind)));
        EXPECT_EQ(lxtest::SavedBytes(*loaded.GetObject(kind)), lxtest::SavedBytes(*list.GetObject(kind)));
    }
}

TEST_F(KindTable, AddingAKindCountsOnItsOwnNameSlotOnly)
{
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        SCOPED_TRACE(kind);
        TlxLabelObjectManager list(kNoFaces, 60, 40, 0);
        list.AddNewObject(Kind(kind), csv);
        const TLxLableObjectBase& added = *list.GetObject(0);
        EXPECT_EQ(added.GetKind(), kind);
        EXPECT_EQ(added.GetName(), DefaultObjectName(Kind(kind)) + "1");
        // The next name of every slot: 2 for the kind's own slot, 1 elsewhere.
        for (int slot = 1; slot <= kNameSlotCount; ++slot)
            EXPECT_EQ(list.NextObjectName("n", slot), slot == kSlotOfKind[kind] ? "n2" : "n1") << "slot " << slot;
    }
}

TEST_F(KindTable, EveryKindIsDrawnIntoItsBox)
{
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        SCOPED_TRACE(kind);
        TlxLabelObjectManager list(kNoFaces, 30, 20, 0);
        auto object = CreateLabelObject(Kind(kind), csv, 0);
        GiveContent(*object);
        list.AddObject(std::move(object), true);
        const Bitmap cell = lxtest::RenderCell(list);
        const lxtest::InkBox ink = lxtest::FindInk(cell);
        ASSERT_FALSE(ink.Empty());
        // The box starts 1 mm (24 pixels at 600 dpi) in; wide pens straddle
        // its edge, and text may run on past its far side.
        EXPECT_GE(ink.left, 12);
        EXPECT_GE(ink.top, 12);
    }
}

TEST_F(KindTable, TheDocumentAddsMergeKindsOnlyWithATableAndOthersOnlyWithout)
{
    const TlxLblInfo layout = lxtest::MakeLayout({{60, 40}});
    TlxLabelManager document(1, layout);
    for (int kind = 0; kind < kLabelObjectKindCount; ++kind) {
        SCOPED_TRACE(kind);
        if (IsMergeKind(Kind(kind))) {
            EXPECT_THROW(document.AddObject(Kind(kind), 0), Error);
            document.AddMergeObject(Kind(kind), 0, csv);
        } else {
            EXPECT_THROW(document.AddMergeObject(Kind(kind), 0, csv), Error);
            document.AddObject(Kind(kind), 0);
        }
        EXPECT_EQ(document.GetObject(0, 0)->GetKind(), kind);
    }
    EXPECT_THROW(document.AddObject(kLabelObjectKindCount, 0), Error);
    EXPECT_EQ(document.GetObjectCount(0), kLabelObjectKindCount);
}
