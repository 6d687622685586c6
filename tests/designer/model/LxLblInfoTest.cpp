#include "designer/model/LxLblInfo.h"

#include "designer/model/PaperTestFiles.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/TestPaths.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace lx;
using lxtest::MakersLine;
using lxtest::ReadBytes;
using lxtest::WriteBytes;

namespace {

const std::string kHead = "LBLBASE\r\n1.00\r\n";

class LayoutFile : public ::testing::Test {
protected:
    LayoutFile() : paper("0", "M", "A4", "s", "210", "297") { CreateDirectories(dir.File("0")); }

    TlxLblInfo Read(const std::string& text, bool portrait = true)
    {
        WriteBytes(dir.File("0/M.bv2"), text);
        return TlxLblInfo(folder, portrait, paper);
    }
    // The message of the error a layout text gives.
    std::string Failure(const std::string& text)
    {
        try {
            Read(text);
        } catch (const LayoutError& error) {
            return error.what();
        }
        return "no error";
    }

    lxtest::TempDir dir;
    std::string folder = dir.Path() + "/";
    TlxPaperObject paper;
};

TlxLblInfo SampleLayout()
{
    TlxLblInfo layout;
    layout.Paper = TlxPaperObject("14", Sjis("ユーザ定義2"), "Hagaki", Sjis("ユーザ定義2"), "100", "148");
    layout.Header = "LBLBASE";
    layout.Version = "1.00";
    layout.SingleMode = true;
    layout.Cells = {TLblPosition(lxLineDot, 0.1, 1.0 / 3, 86.4, 42.3), TLblPosition(lxLineCircle, 5, 6, 41, 41)};
    layout.Cells[1].InnerShapes() = {TLblPosition(lxLineCircle, 20, 21, 1e-7, 3),
                                     TLblPosition(lxLineNomal, 1, 2, 3, 4)};
    layout.LabelCount = 2;
    return layout;
}

} // namespace

TEST(LineKind, NamesAndUnknownTexts)
{
    const std::pair<const char*, std::uint8_t> cases[] = {{"lxLineNomal", lxLineNomal},   {"lxLineDot", lxLineDot},
                                                          {"lxLineCircle", lxLineCircle}, {"lxLineNormal", lxLineNomal},
                                                          {"lxlinedot", lxLineNomal},     {"", lxLineNomal}};
    for (const auto& [text, kind] : cases)
        EXPECT_EQ(LineKindFromText(text), kind) << text;
    EXPECT_EQ(LineKindText(lxLineCircle) + LineKindText(7), "lxLineCirclelxLineNomal");
}

TEST_F(LayoutFile, ReadsCellsWithInnerShapesInEitherOrientation)
{
    const std::string text =
        kHead + "2\n-1\n0\n0\nlxLineNomal\t10\t20\t30\t40\t\t\n" + "lxLineCircle 1 2 3 4 lxLineDot 5 6 7 8 extra\n";
    const TlxLblInfo portrait = Read(text, true);
    EXPECT_EQ(portrait.Header + portrait.Version, "LBLBASE1.00");
    EXPECT_TRUE(portrait.SingleMode);
    EXPECT_EQ(portrait.LabelCount, 2);
    EXPECT_EQ(portrait.Paper, paper);
    TLblPosition circle(lxLineCircle, 1, 2, 3, 4);
    circle.InnerShapes().emplace_back(lxLineDot, 5, 6, 7, 8);
    EXPECT_EQ(portrait.Cells, (std::vector<TLblPosition>{TLblPosition(lxLineNomal, 10, 20, 30, 40), circle}));

    const TlxLblInfo landscape = Read(text, false);
    const std::vector<double> sides = {landscape.GetPaperWidth(),          landscape.GetPaperHeight(),
                                       landscape.GetLabelLeft(0),          landscape.GetLabelTop(0),
                                       landscape.GetLabelWidth(0),         landscape.GetLabelHeight(0),
                                       landscape.GetInnerShapeLeft(1, 0),  landscape.GetInnerShapeTop(1, 0),
                                       landscape.GetInnerShapeWidth(1, 0), landscape.GetInnerShapeHeight(1, 0)};
    EXPECT_EQ(sides, (std::vector<double>{297, 210, 20, 10, 40, 30, 6, 5, 8, 7}));
    EXPECT_EQ(landscape.GetLabelLineKind(1), lxLineCircle);
}

TEST_F(LayoutFile, SingleModeFlag)
{
    const std::pair<const char*, bool> cases[] = {{"-1", true},    {"1", true},    {"0", false},
                                                  {" 0.0", false}, {"True", true}, {"FALSE", false}};
    for (const auto& [flag, single] : cases)
        EXPECT_EQ(Read(kHead + "0\r\n" + flag + "\r\n").SingleMode, single) << flag;
    EXPECT_NE(Failure(kHead + "0\r\nyes\r\n").find("4行目"), std::string::npos);
}

TEST_F(LayoutFile, CountsAndCellLinesAreChecked)
{
    EXPECT_EQ(Read(kHead + "0\r\n0\r\n").Cells.size(), 0u);
    // Only the label count's cell lines are read; what follows them is not.
    const std::vector<TLblPosition> first{TLblPosition(lxLineDot, 1, 2, 3, 4)};
    EXPECT_EQ(Read(kHead + "1\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\t4\r\n\r\n \r\n").Cells, first);
    EXPECT_EQ(
        Read(kHead + "1\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\t4\r\nlxLineCircle\t5\t6\t7\t8\r\nno cell\r\n").Cells,
        first);
    EXPECT_EQ(Read(kHead + "0\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\t4\r\n").Cells.size(), 0u);
    EXPECT_EQ(Failure("LBLBASE \r\n1.00\r\n0\r\n0\r\n"), "LblFileのヘッダが一致しません");
    EXPECT_EQ(Failure(""), "LblFileのヘッダが一致しません");
    const std::string bad[] = {
        kHead + "0\r\n", // a missing line
        kHead + "-1\r\n0\r\n0\r\n0\r\n", // negative count
        kHead + "2147483647\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\t4\r\n", // huge count
        kHead + "2\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\t4\r\n", // fewer lines
        kHead + "x\r\n0\r\n0\r\n0\r\n", // count not a number
        kHead + "1\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\r\n", // four fields
        kHead + "1\r\n0\r\n0\r\n0\r\n\r\n", // no field
        kHead + "1\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\t3\t4\tlxLineDot\t5\r\n", // broken group
        kHead + "1\r\n0\r\n0\r\n0\r\nlxLineDot\t1\t2\tthree\t4\r\n", // not a number
    };
    for (const std::string& text : bad) {
        const std::string message = Failure(text);
        EXPECT_NE(message.find("レイアウトファイルの"), std::string::npos) << text << message;
    }
    EXPECT_THROW(TlxLblInfo(folder, true, TlxPaperObject("3", "M", "A4", "s", "1", "1")), FileError);
}

TEST(LayoutGetters, IndexesOutOfRangeThrowTheRangeMessage)
{
    const TlxLblInfo layout = SampleLayout();
    const std::function<void()> calls[] = {
        [&] { layout.GetLabelLeft(-1); },        [&] { layout.GetLabelTop(2); },
        [&] { layout.GetLabelHeight(2); },       [&] { layout.GetInnerShapeCount(9); },
        [&] { layout.GetInnerShapeLeft(0, 0); }, [&] { layout.GetInnerShapeKind(1, -1); }};
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const LayoutError& error) {
            EXPECT_STREQ(error.what(), "lblinfo->範囲外の指定です");
        }
    }
}

TEST(LayoutBlock, BytesOfASmallLayout)
{
    TlxLblInfo layout;
    layout.Paper = TlxPaperObject("1", "M", "B5", "", "2", "1");
    layout.Header = "H";
    layout.SingleMode = true;
    layout.LabelCount = 1;
    layout.Cells = {TLblPosition(lxLineCircle, 0, 0, 0, 2)};
    layout.Portrait = false;
    MemoryStream stream;
    layout.WriteLayoutBlock(stream);
    const std::string two("\0\0\0\0\0\0\0\x40", 8);
    const std::string zero(8, '\0');
    const std::string expected = std::string("\1\0\0\0\1\0\0\0M\0\0\0\0\x02", 14) + two +
        std::string("\0\0\0\0\0\0\xF0\x3F", 8) + std::string("\1\0\0\0H\0\0\0\0\1", 10) +
        std::string("\1\0\0\0\1\0\0\0\x02", 9) + zero + zero + zero + two + std::string("\0\0\0\0\0", 5);
    EXPECT_EQ(stream.Bytes(), expected);
}

TEST(LayoutBlock, RoundTripKeepsInnerShapesAndOrientation)
{
    TlxLblInfo layout = SampleLayout();
    layout.Portrait = false;
    MemoryStream stream;
    layout.WriteLayoutBlock(stream);
    TlxLblInfo read;
    stream.Seek(0);
    read.ReadLayoutBlock(stream);
    EXPECT_TRUE(read.Paper == layout.Paper && read.Cells == layout.Cells);
    EXPECT_TRUE(read.LabelCount == 2 && read.SingleMode && !read.Portrait);
}

TEST(LayoutBlock, DamagedBlocksFailAndLeaveTheLayoutAlone)
{
    MemoryStream stream;
    SampleLayout().WriteLayoutBlock(stream);
    const std::string good = stream.Bytes();
    // The cell count is followed by two cells (one with two inner shapes) and
    // the orientation byte.
    const std::size_t countAt = good.size() - 1 - 2 * 37 - 2 * 33 - 4;
    const auto withInt = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    std::vector<std::string> bad;
    for (std::size_t n = 0; n < good.size(); ++n)
        bad.push_back(good.substr(0, n));
    bad.push_back(withInt(countAt, 0xFFFFFFFF)); // negative cell count
    bad.push_back(withInt(countAt, 0x7FFFFFFF)); // more cells than bytes
    bad.push_back(withInt(countAt - 4, 3)); // label count disagrees
    bad.push_back(withInt(countAt + 4 + 33, 0x10000000)); // inner shapes beyond the end
    bad.push_back(withInt(countAt + 4 + 1 + 4, 0x7FF80000)); // a NaN left
    // A design needs a sheet to draw on and a first label to open.
    const auto written = [](const TlxLblInfo& layout) {
        MemoryStream out;
        layout.WriteLayoutBlock(out);
        return std::string(out.Bytes());
    };
    TlxLblInfo noCells = SampleLayout();
    noCells.Cells.clear();
    noCells.LabelCount = 0;
    bad.push_back(written(noCells));
    for (const PaperSize size : {PaperSize{lxPaperA4, 0, 297}, PaperSize{lxPaperA4, 210, -297},
                                 PaperSize{lxPaperA4, 210, HUGE_VAL}, PaperSize{lxPaperA4, -0.0, 297}}) {
        TlxLblInfo sheet = SampleLayout();
        sheet.Paper.SetPaperSize(size);
        bad.push_back(written(sheet));
    }
    TlxLblInfo layout;
    layout.Header = "kept";
    for (const std::string& bytes : bad) {
        MemoryStream damaged(bytes);
        EXPECT_THROW(layout.ReadLayoutBlock(damaged), ReadError) << bytes.size();
        EXPECT_EQ(layout.Header, "kept");
        EXPECT_TRUE(layout.Cells.empty());
    }
}

TEST_F(LayoutFile, SavedLayoutReadsBackAndIsCatalogued)
{
    WriteBytes(dir.File("paper.cfg"), MakersLine());
    const TlxLblInfo layout = SampleLayout();
    layout.SaveLayoutFile(folder);
    EXPECT_EQ(ReadBytes(dir.File("14/" + Cp932ToUtf8(layout.Paper.GetModelNumber()) + ".bv2")),
              "LBLBASE\r\n1.00\r\n2\r\n-1\r\n0\r\n0\r\nlxLineDot\t0.1\t0.3333333333333333\t86.4\t42.3\r\n"
              "lxLineCircle\t5\t6\t41\t41\tlxLineCircle\t20\t21\t1e-07\t3\tlxLineNomal\t1\t2\t3\t4\r\n");
    const TlxPaper catalogue(dir.File("paper.cfg"));
    ASSERT_EQ(catalogue.Papers().size(), 1u);
    EXPECT_EQ(catalogue.Papers()[0], layout.Paper);
    const TlxLblInfo read(folder, true, catalogue.Papers()[0]);
    EXPECT_EQ(read.Cells, layout.Cells);
    EXPECT_TRUE(read.SingleMode);

    // Saving the same paper again replaces its catalogue line.
    TlxLblInfo smaller = SampleLayout();
    smaller.Paper.SetPaperSize({lxPaperB5, 182, 257});
    smaller.Cells.resize(1);
    smaller.LabelCount = 1;
    smaller.SaveLayoutFile(dir.Path());
    const TlxPaper again(dir.File("paper.cfg"));
    ASSERT_EQ(again.Papers().size(), 1u);
    EXPECT_EQ(again.Papers()[0].GetPaperSize().Kind, lxPaperB5);
    EXPECT_EQ(TlxLblInfo(folder, true, again.Papers()[0]).Cells, smaller.Cells);
}

// A model number as long as a file name may be (251 bytes, the layout file
// then 255) saves, again and again, and reads back.
TEST_F(LayoutFile, LongestModelNumberSaves)
{
    WriteBytes(dir.File("paper.cfg"), MakersLine());
    std::string model = "A";
    for (int i = 0; i < 83; ++i)
        model += "長";
    model += "B";
    ASSERT_EQ(model.size(), 251u);
    TlxLblInfo layout = SampleLayout();
    layout.Paper.SetModelNumber(Sjis(model));
    layout.Paper.SetSizeName(Sjis(model));
    layout.SaveLayoutFile(folder);
    layout.SaveLayoutFile(folder);
    const TlxPaper catalogue(dir.File("paper.cfg"));
    ASSERT_EQ(catalogue.Papers().size(), 1u);
    EXPECT_EQ(TlxLblInfo(folder, true, catalogue.Papers()[0]).Cells, layout.Cells);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("14/" + model + ".bv2")));
}

TEST_F(LayoutFile, NothingIsWrittenWhenSavingIsRefused)
{
    const TlxLblInfo layout = SampleLayout();
    EXPECT_THROW(layout.SaveLayoutFile(folder), FileError) << "no paper.cfg";
    WriteBytes(dir.File("paper.cfg"), MakersLine());
    TlxLblInfo badName = SampleLayout();
    badName.Paper.SetSizeName("a\r\nb");
    EXPECT_THROW(badName.SaveLayoutFile(folder), PaperCatalogueError);
    TlxLblInfo badCell = SampleLayout();
    badCell.Cells[0].SetWidth(std::nan(""));
    EXPECT_THROW(badCell.SaveLayoutFile(folder), LayoutError);
    EXPECT_FALSE(DirectoryExists(dir.File("14")));
    EXPECT_EQ(ReadBytes(dir.File("paper.cfg")), MakersLine());
}
