#include "designer/model/LxDesignFile.h"

#include "DesignTesting.h"
#include "LabelTestSupport.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

using namespace lx;
using namespace std::string_literals;
using lxtest::FaceNames;

namespace {

// A three-cell design: texts on faces 0 and 2 (face 1 empty), a merge and a
// serial object on face 0, and the table they merge from.
struct DesignFile : ::testing::Test {
    TLxCSV csv = lxtest::MakeCsv({Sjis("山田,東京"), Sjis("佐藤,大阪")});
    TlxLblInfo layout = lxtest::MakeLayout({{86.4, 42.3}, {86.4, 42.3}, {40, 20}});
    TlxLabelManager document{3, layout};
    lxtest::TempDir dir;
    std::string path = SystemPath(dir.File("デザイン.bv2"));

    DesignFile()
    {
        document.InsertObject(lxtest::TextObject(Sjis("文字シート1"), Sjis("宛名\r\n様")), 0, 0);
        document.InsertObject(lxtest::MergeObject(&csv, 1, 0), 0, 0);
        document.InsertObject(lxtest::SerialObject(0), 2, 0);
        document.InsertObject(lxtest::TextObject("a", "first"), 0, 2);
        document.InsertObject(lxtest::TextObject("b", "second"), 0, 2);
    }
    std::string Bytes() const
    {
        MemoryStream stream;
        WriteDesign(stream, csv, layout, document);
        return stream.TakeBytes();
    }
};

Design Read(const std::string& bytes)
{
    MemoryStream stream(bytes);
    return ReadDesign(stream);
}

} // namespace

TEST_F(DesignFile, SavesTheThreeBlocksBackToBackAndReadsThemBackByteForByte)
{
    for (bool single : {false, true}) {
        document.SetSingleMode(single);
        SaveDesignFile(path, csv, layout, document);
        const std::string saved = ReadFileBytes(path);
        EXPECT_EQ(saved, lxtest::SavedBytes(csv) + [&] {
            MemoryStream block;
            layout.WriteLayoutBlock(block);
            return block.Bytes();
        }() + lxtest::SavedBytes(document));

        const Design loaded = LoadDesignFile(path);
        EXPECT_EQ(loaded.Document->GetSingleMode(), single);
        EXPECT_EQ(loaded.Document->GetFaceCount(), 3);
        EXPECT_EQ(loaded.SheetLayout->Cells, layout.Cells);
        for (int face = 0; face < 3; ++face)
            EXPECT_EQ(FaceNames(*loaded.Document, face), FaceNames(document, face));
        auto& merge = dynamic_cast<TLxLabelObjectCsvString&>(*loaded.Document->GetObject(0, 0));
        EXPECT_EQ(merge.GetCSV(), loaded.MergeTable.get());
        EXPECT_EQ(merge.GetMergedText(), Sjis("山田"));
        EXPECT_EQ(loaded.Document->GetFaceObjects(2).GetLabelWidth(), 40);

        SaveDesignFile(path, *loaded.MergeTable, *loaded.SheetLayout, *loaded.Document);
        EXPECT_EQ(ReadFileBytes(path), saved);
    }
}

TEST_F(DesignFile, ADesignWithoutMergeTableReloadsWithAnEmptyOne)
{
    const TLxCSV none;
    TlxLabelManager plain(3, layout);
    MemoryStream stream;
    WriteDesign(stream, none, layout, plain);
    const Design loaded = Read(stream.Bytes());
    EXPECT_FALSE(loaded.MergeTable->IsLoaded());
    EXPECT_EQ(loaded.MergeTable->GetColCount(), 0);
    EXPECT_EQ(loaded.Document->GetObjectCount(0), 0);
}

TEST_F(DesignFile, EveryCutShortFileIsRefused)
{
    const std::string bytes = Bytes();
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_THROW(Read(bytes.substr(0, size)), ReadError) << size;
}

TEST_F(DesignFile, HostileContentBlocksEndInAReadError)
{
    const std::string head = Bytes().substr(0, Bytes().size() - lxtest::SavedBytes(document).size());
    const std::string emptyFace(4, '\0');
    const std::string text = lxtest::SavedBytes(*lxtest::TextObject("t", "x"));
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"two faces of three", std::string(1, '\0') + emptyFace + emptyFace},
        {"no mode byte", ""},
        {"count beyond the objects", std::string(1, '\0') + "\x02\0\0\0"s + '\0' + text + emptyFace + emptyFace},
        {"kind 11", std::string(1, '\0') + "\x01\0\0\0\x0b"s + text + emptyFace + emptyFace},
        {"kind 255", std::string(1, '\0') + "\x01\0\0\0\xff"s + text + emptyFace + emptyFace},
        {"huge count", std::string(1, '\0') + "\xff\xff\xff\x7f"s + '\0' + text + emptyFace + emptyFace},
    };
    for (const auto& c : cases)
        EXPECT_THROW(Read(head + c.content), ReadError) << c.what;
    // A negative count is an empty face.
    EXPECT_EQ(Read(head + '\0' + "\xff\xff\xff\xff"s + emptyFace + emptyFace).Document->GetObjectCount(0), 0);
}

TEST_F(DesignFile, FailedSavesAndLoadsLeaveFilesAndCallersAlone)
{
    SaveDesignFile(path, csv, layout, document);
    const std::string saved = ReadFileBytes(path);
    EXPECT_THROW(SaveDesignFile(SystemPath(dir.File("missing/x.bv2")), csv, layout, document), FileError);
    EXPECT_THROW(LoadDesignFile(SystemPath(dir.File("missing.bv2"))), FileError);
    WriteFileReplacing(path, saved.substr(0, saved.size() - 3));
    EXPECT_THROW(LoadDesignFile(path), ReadError);
    SaveDesignFile(path, csv, layout, document);
    EXPECT_EQ(ReadFileBytes(path), saved);
}
