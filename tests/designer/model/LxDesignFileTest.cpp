#include "designer/model/LxDesignFile.h"

#include "DesignTesting.h"
#include "LabelTestSupport.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/ChildProcess.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

using namespace lx;
using namespace std::string_literals;

namespace {

class UnsavableText : public TLxLabelObjectString {
public:
    void SaveToStream(Stream&) const override { throw Error("no save"); }
};

// Three cells: texts on faces 0 and 2, face 1 empty, a merge and a serial
// object on face 0, and the table they merge from.
struct DesignFile : ::testing::Test {
    const std::shared_ptr<TLxCSV> csv = lxtest::MakeCsv({Sjis("山田,東京"), Sjis("佐藤,大阪")});
    TlxLblInfo layout = lxtest::MakeLayout({{86.4, 42.3}, {86.4, 42.3}, {40, 20}});
    TlxLabelManager document{3, layout};
    lxtest::TempDir dir;
    const std::string name = "デザイン.bv2";
    std::string path = dir.File(name);

    DesignFile()
    {
        document.InsertObject(lxtest::TextObject(Sjis("文字シート1"), Sjis("宛名\r\n様")), 0, 0);
        document.InsertObject(lxtest::MergeObject(csv, 1, 0), 0, 0);
        document.InsertObject(lxtest::SerialObject(0), 2, 0);
        document.InsertObject(lxtest::TextObject("a", "first"), 0, 2);
        document.InsertObject(lxtest::TextObject("b", "second"), 0, 2);
    }
    // The file's bytes up to its content block.
    std::string Head() const
    {
        MemoryStream stream;
        csv->SaveToStream(stream);
        layout.WriteLayoutBlock(stream);
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
        SaveDesignFile(path, *csv, layout, document);
        const std::string saved = ReadFileBytes(path);
        EXPECT_EQ(saved, Head() + lxtest::SavedBytes(document));

        const Design loaded = LoadDesignFile(path);
        EXPECT_EQ(loaded.Document->GetSingleMode(), single);
        EXPECT_EQ(loaded.SheetLayout->Cells, layout.Cells);
        for (int face = 0; face < 3; ++face)
            EXPECT_EQ(lxtest::FaceNames(*loaded.Document, face), lxtest::FaceNames(document, face));
        auto& merge = dynamic_cast<TLxLabelObjectCsvString&>(*loaded.Document->GetObject(0, 0));
        EXPECT_EQ(merge.GetCSV(), loaded.MergeTable.get());
        EXPECT_EQ(merge.GetMergedText(), Sjis("山田"));
        EXPECT_EQ(loaded.Document->GetFaceObjects(2).GetLabelWidth(), 40);

        SaveDesignFile(path, *loaded.MergeTable, *loaded.SheetLayout, *loaded.Document);
        EXPECT_EQ(ReadFileBytes(path), saved);
    }
    // Without a merge table the table block is the empty one.
    const TLxCSV none;
    MemoryStream stream;
    WriteDesign(stream, none, layout, document);
    EXPECT_FALSE(Read(stream.Bytes()).MergeTable->IsLoaded());
}

TEST_F(DesignFile, ShortOrHostileFilesEndInAReadError)
{
    const std::string whole = Head() + lxtest::SavedBytes(document);
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_THROW(Read(whole.substr(0, size)), ReadError) << size;

    const std::string empty = "\0\0\0\0"s;
    const std::string text = lxtest::SavedBytes(*lxtest::TextObject("t", "x"));
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"two faces of three", '\0' + empty + empty},
        {"a count beyond the objects", "\0\x02\0\0\0\0"s + text + empty + empty},
        {"kind 11", "\0\x01\0\0\0\x0b"s + text + empty + empty},
        {"kind 255", "\0\x01\0\0\0\xff"s + text + empty + empty},
        {"the largest count", "\0\xff\xff\xff\x7f\0"s + text + empty + empty},
    };
    for (const auto& c : cases)
        EXPECT_THROW(Read(Head() + c.content), ReadError) << c.what;
    EXPECT_EQ(Read(Head() + "\0\xff\xff\xff\xff"s + empty + empty).Document->GetObjectCount(0), 0);
}

TEST_F(DesignFile, FailedSavesAndLoadsKeepThePreviousFile)
{
    SaveDesignFile(path, *csv, layout, document);
    const std::string saved = ReadFileBytes(path);
    EXPECT_THROW(SaveDesignFile(dir.File("missing/x.bv2"), *csv, layout, document), FileError);
    EXPECT_THROW(LoadDesignFile(dir.File("missing.bv2")), FileError);
    document.InsertObject(std::make_unique<UnsavableText>(), 0, 2);
    EXPECT_THROW(SaveDesignFile(path, *csv, layout, document), Error);
    EXPECT_EQ(ReadFileBytes(path), saved);
}

// Two programs saving one design at once, fifty times each: every save
// succeeds, and whenever the file is read it is one of the two designs,
// whole.
TEST_F(DesignFile, TwoProcessesSavingOneDesignAtOnceBothSucceed)
{
    TlxLabelManager other(3, layout);
    other.InsertObject(lxtest::TextObject("c", std::string(20000, 'x')), 0, 1);
    const auto bytesOf = [&](const TlxLabelManager& design) {
        MemoryStream stream;
        WriteDesign(stream, *csv, layout, design);
        return stream.TakeBytes();
    };
    const std::string designs[] = {bytesOf(document), bytesOf(other)};
    SaveDesignFile(path, *csv, layout, document);
    pid_t savers[2];
    for (int i = 0; i < 2; ++i)
        savers[i] = lxtest::StartChild([&, i] {
            for (int n = 0; n < 50; ++n)
                SaveDesignFile(path, *csv, layout, i == 0 ? document : other);
            return 0;
        });
    int reads = 0;
    int wrong = 0;
    while (lxtest::ChildRunning(savers[0]) || lxtest::ChildRunning(savers[1])) {
        const std::string seen = ReadFileBytes(path);
        wrong += seen != designs[0] && seen != designs[1];
        if (reads++ % 20 == 0) {
            EXPECT_NO_THROW(LoadDesignFile(path));
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << reads << " reads";
    EXPECT_EQ(lxtest::AwaitChild(savers[0]), 0);
    EXPECT_EQ(lxtest::AwaitChild(savers[1]), 0);
    EXPECT_EQ(lxtest::FolderNames(dir.Path()), std::vector<std::string>{name});
}
