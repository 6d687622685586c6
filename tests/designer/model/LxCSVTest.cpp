#include "designer/model/LxCSV.h"

#include "designer/model/PaperTestFiles.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"
#include "support/MergeCorpora.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace lx;
using lxtest::WriteBytes;

namespace {

const std::string kPrompt = Sjis("列を選択してください");

std::vector<std::string> Row(const TLxCSV& table, std::int32_t row)
{
    std::vector<std::string> cells;
    for (std::int32_t column = 1; table.CsvCell(column, row) != kPrompt; ++column)
        cells.push_back(table.CsvCell(column, row));
    return cells;
}

using Cells = std::vector<std::string>;

class CsvFile : public ::testing::Test {
protected:
    TLxCSV Load(const std::string& bytes)
    {
        WriteBytes(dir.File("m.csv"), bytes);
        TLxCSV table;
        EXPECT_TRUE(table.LoadFromFile(dir.File("m.csv")));
        return table;
    }
    lxtest::TempDir dir;
};

TLxCSV FromBlock(const std::string& bytes)
{
    MemoryStream stream(bytes);
    TLxCSV table;
    table.LoadFromStream(stream);
    table.ParseCsv();
    return table;
}

std::string Int32(std::int32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    return bytes;
}

std::string Block(char loaded, std::int32_t rows, std::int32_t columns, const std::string& text)
{
    return loaded + Int32(rows) + Int32(columns) + Int32(static_cast<std::int32_t>(text.size())) + text;
}

} // namespace

TEST_F(CsvFile, SplitsRowsOfUnequalLength)
{
    const TLxCSV table = Load("a b,\"x,\"\"y\"\"\"\r\n"
                              "p\tq,,r,\n"
                              "\r"
                              "#space#,\"#SPACE#\", \"q\" ," +
                              Sjis("表,ソ") + "\r\n");
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_EQ(table.GetRowCount(), 4);
    EXPECT_EQ(table.GetColCount(), 5);
    EXPECT_EQ(Row(table, 0), (Cells{"a b", "x,\"y\""}));
    EXPECT_EQ(Row(table, 1), (Cells{"p", "q", "", "r", ""}));
    EXPECT_EQ(Row(table, 2), (Cells{"", "", "", "", ""}));
    // A blank keeps the quote after it from opening a quoted field.
    EXPECT_EQ(Row(table, 3), (Cells{" ", " ", " \"q\" ", Sjis("表"), Sjis("ソ")}));
    EXPECT_EQ(table.CsvCell(3, 0), kPrompt);
    EXPECT_EQ(table.CsvCell(0, 1), kPrompt);
    EXPECT_EQ(table.CsvCell(1, -1), kPrompt);
    EXPECT_EQ(table.CsvCell(1, 4), kPrompt);
    EXPECT_EQ(table.GetColumnPreview(4, 3), "\r\nr\r\n\r\n");
    EXPECT_EQ(table.GetColumnPreview(1, 5), "a b\r\np\r\n\r\n \r\n");
    EXPECT_EQ(table.GetColumnPreview(0, 5), "");
}

TEST_F(CsvFile, EmptyFileAndFailedLoads)
{
    const TLxCSV empty = Load("");
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_EQ(empty.GetRowCount(), 0);
    EXPECT_EQ(empty.CsvCell(1, 0), kPrompt);

    TLxCSV table = Load("a,b\r\n");
    EXPECT_FALSE(table.LoadFromFile(dir.File("missing.csv")));
    EXPECT_FALSE(table.LoadFromFile(dir.Path()));
    EXPECT_TRUE(table.IsLoaded());
    EXPECT_EQ(table.GetColCount(), 2);
    EXPECT_EQ(Row(table, 0), (Cells{"a", "b"}));
}

TEST_F(CsvFile, OneWideLineOverManyEmptyLinesStaysSmall)
{
    const int width = 200000;
    const TLxCSV table = Load(std::string(width - 1, ',') + std::string(width, '\n'));
    EXPECT_EQ(table.GetRowCount(), width);
    EXPECT_EQ(table.CsvCell(width, width - 1), "");
    EXPECT_EQ(table.CsvCell(width + 1, width - 1), kPrompt);
}

// Cells far into long lines, where the table finds them from stored field
// starts: quoted commas across those starts, a trailing empty field right at
// one, a narrower row under a wider one, and every kind of line break.
TEST_F(CsvFile, CellsOfLongLinesAndMixedLineBreaks)
{
    Cells wide;
    std::string line;
    for (int c = 1; c <= 40; ++c) {
        const bool quoted = c % 7 == 0;
        wide.push_back((quoted ? "q," : "c") + std::to_string(c));
        line += quoted ? "\"" + wide.back() + "\"," : wide.back() + ",";
    }
    wide.emplace_back();
    Cells sixteen(16, "x");
    const std::string sixteenLine = "x,x,x,x,x,x,x,x,x,x,x,x,x,x,x,x";
    std::string thirtyTwo(31, ',');
    const TLxCSV table = Load(line + "\r" + sixteenLine + "\n" + thirtyTwo + "\r\n" + "a #space#b");
    ASSERT_EQ(table.GetRowCount(), 4);
    EXPECT_EQ(table.GetColCount(), 41);
    EXPECT_EQ(Row(table, 0), wide);
    sixteen.resize(41);
    EXPECT_EQ(Row(table, 1), sixteen);
    EXPECT_EQ(table.CsvCell(32, 2), "");
    EXPECT_EQ(table.CsvCell(33, 2), "");
    EXPECT_EQ(table.CsvCell(42, 2), kPrompt);
    EXPECT_EQ(table.CsvCell(1, 3), "a  b");
    EXPECT_EQ(table.GetColumnPreview(35, 5), "q,35\r\n\r\n\r\n\r\n");

    MemoryStream stream;
    table.SaveToStream(stream);
    const std::string text = line + "\r\n" + sixteenLine + "\r\n" + thirtyTwo + "\r\na #space#b\r\n";
    EXPECT_EQ(stream.Bytes(), Block(1, 4, 41, text));
}

TEST(CsvBlock, BytesAndRoundTripWithAStoredWiderColumnCount)
{
    TLxCSV table = FromBlock(Block(1, 9, 4, "a,b\r\nc,d,e\r\n"));
    EXPECT_EQ(table.GetRowCount(), 2);
    EXPECT_EQ(table.GetColCount(), 4);
    EXPECT_EQ(Row(table, 0), (Cells{"a", "b", "", ""}));

    MemoryStream stream;
    table.SaveToStream(stream);
    EXPECT_EQ(stream.Bytes(), Block(1, 2, 4, "a,b\r\nc,d,e\r\n"));
    stream.Seek(0);
    const TLxCSV read = FromBlock(stream.Bytes());
    EXPECT_TRUE(read.IsLoaded());
    EXPECT_EQ(read.GetLines(), table.GetLines());
    EXPECT_EQ(Row(read, 1), (Cells{"c", "d", "e", ""}));

    // A clone parses its lines afresh, from no columns.
    const auto clone = table.Clone();
    EXPECT_EQ(clone->GetColCount(), 3);
    EXPECT_EQ(Row(*clone, 0), (Cells{"a", "b"}));
    table.Clear();
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_EQ(clone->GetRowCount(), 2);
}

TEST(CsvBlock, DamagedBlocksFailAndLeaveTheTableAlone)
{
    const std::string bad[] = {
        Block(1, 1, -1, "a\r\n"), // negative column count
        Block(1, 1, 4, "ab\r\n"), // more columns than the text could hold
        Block(1, 1, 1, ""), // columns without any line
        Block(1, -1, 1, "a\r\n"), // negative row count
        Block(1, 1, 1, "a\r\n").substr(0, 14),
        std::string("\1\1\0\0\0\1\0\0\0\xFF\xFF\xFF\x7F"
                    "abc",
                    16), // text longer than the block
    };
    TLxCSV table = FromBlock(Block(1, 1, 1, "kept\r\n"));
    for (const std::string& bytes : bad) {
        MemoryStream stream(bytes);
        EXPECT_THROW(table.LoadFromStream(stream), ReadError);
        EXPECT_EQ(table.CsvCell(1, 0), "kept");
        EXPECT_EQ(table.GetColCount(), 1);
    }
}

TEST_F(CsvFile, HalfWidthKanaAndLoneLeadBytesKeepTheirBytes)
{
    // ﾐｶ,ﾐｷ is also valid UTF-8 (ж,з); a line cut after a lead byte keeps it.
    const std::string kana = Sjis("ﾐｶ,ﾐｷ,ﾐｻ,ﾐｵ");
    const TLxCSV table = Load(kana + "\r\n" + Sjis("山田,") + "\x82\r\nend\x95");
    EXPECT_EQ(Row(table, 0), (Cells{Sjis("ﾐｶ"), Sjis("ﾐｷ"), Sjis("ﾐｻ"), Sjis("ﾐｵ")}));
    EXPECT_EQ(table.CsvCell(2, 1), "\x82");
    EXPECT_EQ(table.CsvCell(1, 2), "end\x95");
}

namespace {

// The file loaded into a table: its lines each followed by CR LF, or the
// refusal's message.
lxtest::Reading LoadedLines(const std::string& path, const std::string& bytes, TextEncoding answer)
{
    // Written over and cut to size: a file truncated to nothing and written
    // again is flushed to disk at every close, and one made anew after a
    // delete is slow to make, thousands of times over.
    std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << bytes;
    std::filesystem::resize_file(path, bytes.size());
    lxtest::Reading reading;
    TLxCSV table;
    try {
        const bool loaded = table.LoadFromFile(path, [&](const TwoReadings& readings) {
            ++reading.questions;
            reading.shown = readings;
            return answer;
        });
        EXPECT_TRUE(loaded) << path;
        for (const std::string& line : table.GetLines())
            reading.text += line + "\r\n";
    } catch (const ReadError& error) {
        reading.text = error.what();
    }
    return reading;
}

} // namespace

TEST_F(CsvFile, MergeCorporaLoadAsMeantOrAsTheUserAnswers)
{
    const std::string path = dir.File("corpus.csv");
    WriteBytes(path, "");
    const lxtest::Reader read = [&](const std::string& bytes, TextEncoding answer) {
        return LoadedLines(path, bytes, answer);
    };
    using lxtest::CheckCorpus;
    const std::vector<std::string> pairs = lxtest::HalfWidthKanaPairs();
    EXPECT_EQ(CheckCorpus(read, pairs, "CP932", TextEncoding::Cp932, "kana pairs").utf8, 0);
    std::vector<std::string> lines;
    for (const std::string& pair : pairs)
        for (const std::string& line : lxtest::LinesAround(pair))
            lines.push_back(line);
    EXPECT_EQ(
        CheckCorpus(read, lines, "CP932", TextEncoding::Cp932, "kana pairs in lines", {lines.size() / pairs.size()})
            .utf8,
        0);
    const auto names = CheckCorpus(read, lxtest::KanaNameAndAddressLines(), "CP932", TextEncoding::Cp932,
                                   "kana names and addresses", {1, true});
    EXPECT_EQ(names.asked + names.utf8, 0);
    EXPECT_EQ(CheckCorpus(read, lxtest::WesternLines(), "UTF-8", TextEncoding::Utf8, "Western UTF-8", {1, true}).cp932,
              0);
    const auto japanese =
        CheckCorpus(read, lxtest::JapaneseLines(), "UTF-8", TextEncoding::Utf8, "Japanese UTF-8", {1, true});
    EXPECT_EQ(japanese.asked + japanese.cp932, 0);
    const auto cp932 =
        CheckCorpus(read, lxtest::JapaneseLines(), "CP932", TextEncoding::Cp932, "Japanese CP932", {1, true});
    EXPECT_EQ(cp932.asked + cp932.utf8, 0);
}

TEST_F(CsvFile, AFileThatReadsTwoWaysIsRefusedWithNoOneToAskAndTheTableStays)
{
    TLxCSV table = Load("kept\r\n");
    WriteBytes(dir.File("two.csv"), "1,2\r\n" + Sjis("ﾂｰ,ﾎｱ") + "\r\n");
    try {
        table.LoadFromFile(dir.File("two.csv"));
        ADD_FAILURE() << "loaded without asking";
    } catch (const ReadError& error) {
        EXPECT_STREQ(error.what(), "2行目は、シフトJISとしてもUTF-8としても読めるため、文字コードを決められません。");
    }
    EXPECT_EQ(Row(table, 0), Cells{"kept"});
    // Answered, the rows are those of the reading chosen.
    ASSERT_TRUE(table.LoadFromFile(dir.File("two.csv"), [](const TwoReadings&) { return TextEncoding::Utf8; }));
    EXPECT_EQ(Row(table, 1), (Cells{Sjis("°"), Sjis("α")}));
    ASSERT_TRUE(table.LoadFromFile(dir.File("two.csv"), [](const TwoReadings&) { return TextEncoding::Cp932; }));
    EXPECT_EQ(Row(table, 1), (Cells{Sjis("ﾂｰ"), Sjis("ﾎｱ")}));
}

TEST_F(CsvFile, AFileOverTheLimitIsRefusedSayingSo)
{
    TLxCSV table = Load("kept\r\n");
    const std::string path = dir.File("big.csv");
    WriteBytes(path, "");
    std::filesystem::resize_file(path, (64u << 20) + 1);
    try {
        table.LoadFromFile(path);
        ADD_FAILURE() << "a file over the limit loaded";
    } catch (const ReadError& error) {
        EXPECT_STREQ(error.what(), "ファイルが大きすぎます。差込データとして読み込めるのは64MiBまでです。");
    }
    EXPECT_EQ(Row(table, 0), Cells{"kept"});
    // A file of the limit itself is read (and these bytes are no text).
    std::filesystem::resize_file(path, 64u << 20);
    try {
        table.LoadFromFile(path);
        ADD_FAILURE() << "NUL bytes loaded";
    } catch (const ReadError& error) {
        EXPECT_STREQ(error.what(), "テキストファイルではないため、差込データとして読み込めません。");
    }
}
