#include "designer/model/LxPaper.h"

#include "designer/model/PaperTestFiles.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::MakersLine;
using lxtest::ReadBytes;
using lxtest::WriteBytes;

namespace {

// Lines as the program writes them, and one typed by hand without quotes.
const std::string kPaperLines = "\"0\"\t\"LA-12\"\t\"A4\"\t\"" + Sjis("A4 12面") + "\"\t\"210\"\t\"297\"\t\r\n" +
    "1 KB-H4 Hagaki " + Sjis("ハガキ4面") + " 100 148\n" + "\"0\"\t\"LA-44\"\t\"b5\"\t\"" + Sjis("B5 44面") +
    "\"\t\"182\"\t\"257.5\"\t\r\n" + "\"14\"\t\"" + Sjis("ユーザ定義1") + "\"\t\"A4\"\t\"x\"\t\"210\"\t\"297\"\t\r\n";

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(path, MakersLine() + kPaperLines); }
    lxtest::TempDir dir;
    std::string path = dir.File("paper.cfg");
};

} // namespace

TEST(PaperKind, NamesAreByteExactAndOthersAreKind3)
{
    const std::pair<const char*, std::uint8_t> cases[] = {{"A4", 0},     {"Hagaki", 1}, {"B5", 2},
                                                          {"HAGAKI", 3}, {"B5 ", 3},    {"", 3}};
    for (const auto& [text, kind] : cases) {
        EXPECT_EQ(PaperKindFromText(text), kind) << text;
        EXPECT_EQ(PaperKindText(kind), kind == 3 ? "error" : text);
    }
}

TEST_F(Catalogue, ReadsListsAndFindsPapers)
{
    const TlxPaper catalogue(path);
    ASSERT_EQ(catalogue.MakerNames().size(), 14u);
    EXPECT_EQ(catalogue.GetMakerNames().substr(0, 11), Sjis("メーカー0") + "\r\n");
    ASSERT_EQ(catalogue.Papers().size(), 4u);
    const TlxPaperObject& hand = catalogue.Papers()[1];
    EXPECT_EQ(hand.GetModelNumber(), "KB-H4");
    EXPECT_EQ(hand.GetSizeName(), Sjis("ハガキ4面"));
    EXPECT_EQ(hand.GetPaperSize(), (PaperSize{lxPaperHagaki, 100, 148}));

    const std::string all = "LA-12" + Sjis("【A4 12面】") + "\r\nLA-44" + Sjis("【B5 44面】") + "\r\n";
    EXPECT_EQ(catalogue.ListPapers(0, " \t "), all);
    EXPECT_EQ(catalogue.ListPapers(0, " 44"), "LA-44" + Sjis("【B5 44面】") + "\r\n");
    EXPECT_EQ(catalogue.ListPapers(0, Sjis("12面")), "LA-12" + Sjis("【A4 12面】") + "\r\n");
    EXPECT_EQ(catalogue.ListPapers(0, "la"), "");
    EXPECT_EQ(catalogue.ListPapers(14, ""), Sjis("ユーザ定義1") + "\r\n");
    // "面" is 96 CA: its trail byte alone must not match.
    EXPECT_EQ(catalogue.ListPapers(0, "\xCA"), "");

    ASSERT_NE(catalogue.FindPaper(0, "LA-44"), nullptr);
    EXPECT_EQ(catalogue.FindPaper(0, "LA-44")->GetPaperSize(), (PaperSize{lxPaperOther, 182, 257.5}));
    EXPECT_EQ(catalogue.FindPaper(0, "la-44"), nullptr);
    EXPECT_EQ(catalogue.FindPaper(1, "LA-44"), nullptr);
}

// The user's own catalogue joins the shipped one: its category-14 papers
// only, hiding a shipped line of the same name, each paper read from and
// deleted in the folder of the catalogue listing it.
TEST_F(Catalogue, UserCatalogueJoinsTheShippedOneAndKeepsItsOwnFolder)
{
    const std::string user = dir.File("user/");
    EXPECT_EQ(TlxPaper(path, CatalogueFilePath(user)).Papers().size(), 4u) << "no user catalogue yet";
    EnsureCatalogue(user);
    EXPECT_EQ(ReadBytes(dir.File("user/paper.cfg")), "\r\n");
    WriteBytes(dir.File("user/paper.cfg"),
               "\r\n\"14\"\t\"" + Sjis("ユーザ定義1") + "\"\t\"B5\"\t\"u\"\t\"182\"\t\"257\"\t\r\n" +
                   "\"0\"\t\"LA-12\"\t\"A4\"\t\"spoof\"\t\"1\"\t\"1\"\t\r\n" + "\"14\"\t\"" + Sjis("私の") +
                   "\"\t\"A4\"\t\"m\"\t\"210\"\t\"297\"\t\r\n");
    EnsureCatalogue(user);
    TlxPaper catalogue(path, CatalogueFilePath(user));
    EXPECT_EQ(catalogue.ListPapers(14, ""), Sjis("ユーザ定義1") + "\r\n" + Sjis("私の") + "\r\n");
    EXPECT_EQ(catalogue.FindPaper(14, Sjis("ユーザ定義1"))->GetPaperSize().Kind, lxPaperB5);
    EXPECT_EQ(catalogue.FindPaper(0, "LA-12")->GetSizeName(), Sjis("A4 12面")) << "only category 14 is the user's";
    EXPECT_EQ(catalogue.LayoutFolder(*catalogue.FindPaper(14, Sjis("私の"))), user);
    EXPECT_EQ(catalogue.LayoutFolder(*catalogue.FindPaper(0, "LA-12")), dir.File(""));
    const TlxPaperObject stranger;
    EXPECT_EQ(catalogue.LayoutFolder(stranger), dir.File(""));

    const std::string shipped = ReadBytes(path);
    const std::string layout = dir.File("user/14/私の.bv2");
    CreateDirectories(dir.File("user/14"));
    WriteFileReplacing(layout, "LBLBASE\r\n");
    ASSERT_TRUE(FileExists(layout));
    EXPECT_TRUE(catalogue.DeletePaper(14, Sjis("私の")));
    EXPECT_EQ(ReadBytes(path), shipped);
    EXPECT_FALSE(FileExists(layout));
    EXPECT_EQ(TlxPaper(path, CatalogueFilePath(user)).ListPapers(14, ""), Sjis("ユーザ定義1") + "\r\n");
    EXPECT_EQ(catalogue.LayoutFolder(*catalogue.FindPaper(14, Sjis("ユーザ定義1"))), user);
}

TEST_F(Catalogue, TheFirstLineMayNameAnyNumberOfMakers)
{
    WriteBytes(path, "\"" + Sjis("甲社") + "\"\t\"" + Sjis("乙社") + "\"\t\r\n" + kPaperLines);
    const TlxPaper two(path);
    EXPECT_EQ(two.GetMakerNames(), Sjis("甲社") + "\r\n" + Sjis("乙社") + "\r\n");
    EXPECT_EQ(two.Papers().size(), 4u);
    EXPECT_NE(two.FindPaper(1, "KB-H4"), nullptr);
    for (const int makers : {0, 1, 15}) {
        WriteBytes(path, MakersLine(makers) + kPaperLines);
        EXPECT_EQ(TlxPaper(path).MakerNames().size(), static_cast<std::size_t>(makers));
    }
}

TEST_F(Catalogue, HostileFilesFailWithAClearError)
{
    const auto line = [](const std::string& fields) { return MakersLine() + fields + "\r\n"; };
    const std::string paper = "0 M A4 s 210 297";
    const std::string cases[] = {
        "",
        line(paper + "\r\n\r\n" + paper),
        line("0 M A4 s 210"),
        line("x M A4 s 210 297"),
        line("0 M A4 s 2,10 297"),
        line("0 M A4 s 0 297"),
        line("0 M A4 s 210 -1"),
        line("0 M A4 s 210 1e999"),
    };
    TlxPaper catalogue(path);
    for (const std::string& text : cases) {
        WriteBytes(path, text);
        EXPECT_THROW(TlxPaper{path}, PaperCatalogueError) << text;
        EXPECT_THROW(catalogue.LoadPaperCatalogue(), PaperCatalogueError);
        EXPECT_EQ(catalogue.Papers().size(), 4u) << "a failed reload keeps the catalogue";
    }
    EXPECT_THROW(TlxPaper{dir.File("missing.cfg")}, FileError);
}

TEST(CatalogueLine, QuotesAreDoubledAndTheLineOfTheSamePaperReplaced)
{
    TlxPaperObject paper("14", "a\"b", "B5", "\"" + Sjis("ソ表") + "\"", "182", "257.25");
    const std::string line = CatalogueLine(paper);
    EXPECT_EQ(line, "\"14\"\t\"a\"\"b\"\t\"B5\"\t\"\"\"" + Sjis("ソ表") + "\"\"\"\t\"182\"\t\"257.25\"\t");
    const auto f = SplitDelimited(line, '\t');
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(TlxPaperObject(f[0], f[1], f[2], f[3], f[4], f[5]), paper);

    const std::string other = "\"3\"\t\"a\"\"b\"\t\"A4\"\t\"U\"\t\"1\"\t\"1\"\t\r\n";
    const std::string before = MakersLine() + other + "\"14\"\t\"a\"\"b\"\t\"A4\"\t\"U\"\t\"1\"\t\"1\"\r\n";
    EXPECT_EQ(WithCatalogueLine(before, paper), MakersLine() + other + line + "\r\n");
    EXPECT_THROW(WithCatalogueLine("", paper), PaperCatalogueError);
}

TEST(CatalogueLine, RefusesWhatCouldNotBeReadBack)
{
    for (const std::string& name : {std::string("a\r\nb"), std::string("a\0b", 3), std::string("x\x83")})
        EXPECT_THROW(CatalogueLine(TlxPaperObject("0", "M", "A4", name, "210", "297")), PaperCatalogueError);
    EXPECT_THROW(CatalogueLine(TlxPaperObject("0", "M", "A4", "s", "0", "297")), PaperCatalogueError);
}

TEST(PaperPaths, CategoryFolderAndCheckedModelNumber)
{
    EXPECT_EQ(LayoutFilePath("/d/", 14, "A"), "/d/14/A.bv2");
    // The folder is a system path; the CP932 model number ("ソ" ends in the
    // byte 0x5C) names its file in UTF-8.
    EXPECT_EQ(LayoutFilePath("/Café 〜", 0, Sjis("ソ〜")), "/Café 〜/0/ソ～.bv2");
    for (const char* bad : {"", ".", "..", "a/b", "..\\x", "a\tb"})
        EXPECT_THROW(LayoutFilePath("/d/", 14, bad), PaperCatalogueError) << bad;
}

TEST(PaperRecord, StreamBytesAndFailedReads)
{
    TlxPaperObject paper(" 14", "AB", "Hagaki", "", "100", "148");
    MemoryStream stream;
    paper.SaveToStream(stream);
    const std::string expected = std::string("\x0E\0\0\0\x02\0\0\0AB\0\0\0\0\x01", 15) +
        std::string("\0\0\0\0\0\0\x59\x40\0\0\0\0\0\x80\x62\x40", 16);
    EXPECT_EQ(stream.Bytes(), expected);
    TlxPaperObject read;
    stream.Seek(0);
    read.LoadFromStream(stream);
    EXPECT_EQ(read, paper);

    const std::string nanWidth = expected.substr(0, 15) + std::string(8, '\xFF') + expected.substr(23);
    for (const std::string& bad : {expected.substr(0, 20), nanWidth}) {
        MemoryStream damaged(bad);
        EXPECT_THROW(read.LoadFromStream(damaged), ReadError);
        EXPECT_EQ(read, paper);
    }
}

TEST_F(Catalogue, DeletesOnlyThePaperOfTheGivenCategory)
{
    const std::string user = "\"14\"\t\"LA-12\"\t\"A4\"\t\"LA-12\"\t\"210\"\t\"297\"\t\r\n";
    WriteBytes(path, MakersLine() + kPaperLines + user);
    CreateDirectories(dir.File("0"));
    CreateDirectories(dir.File("14"));
    WriteBytes(dir.File("0/LA-12.bv2"), "catalogue paper");
    WriteBytes(dir.File("14/LA-12.bv2"), "user paper");

    TlxPaper catalogue(path);
    EXPECT_FALSE(catalogue.DeletePaper(14, "LA-44"));
    EXPECT_EQ(ReadBytes(path), MakersLine() + kPaperLines + user);

    EXPECT_TRUE(catalogue.DeletePaper(14, "LA-12"));
    EXPECT_EQ(ReadBytes(path), JoinLines(SplitLines(MakersLine() + kPaperLines)));
    EXPECT_FALSE(FileExists(dir.File("14/LA-12.bv2")));
    EXPECT_TRUE(FileExists(dir.File("0/LA-12.bv2")));
    EXPECT_EQ(catalogue.FindPaper(14, "LA-12"), nullptr);
    EXPECT_EQ(TlxPaper(path).Papers(), catalogue.Papers());
}
