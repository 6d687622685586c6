// Merge files whose bytes are both CP932 and UTF-8: read as their writer
// meant, or the user is asked and the file read as answered; never read the
// other way in silence. The truth comes from iconv (the CP932 bytes a
// Windows program writes) and from the same UTF-8 text marked with a BOM.
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"
#include "platform/text/TextFile.h"
#include "support/MergeCorpora.h"
#include "support/TextEncodings.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::IconvEach;

namespace {

using lxtest::CheckCorpus;
using lxtest::Reading;
using lxtest::Report;
using lxtest::Tally;

Reading Read(const std::string& bytes, TextEncoding answer)
{
    Reading reading;
    try {
        reading.text = TextFileToCp932(bytes, [&](const TwoReadings& readings) {
            ++reading.questions;
            reading.shown = readings;
            return answer;
        });
    } catch (const ReadError& error) {
        reading.text = error.what();
    }
    return reading;
}

void Check(const std::string& bytes, TextEncoding meant, Tally& tally, const std::string& label)
{
    lxtest::CheckReading(Read, bytes, bytes, meant, tally, label);
}

} // namespace

TEST(TwoWayText, EveryHalfWidthKanaPairIsCp932OrAsked)
{
    const std::vector<std::string> pairs = lxtest::HalfWidthKanaPairs();
    ASSERT_EQ(pairs.size(), 3969u);
    const std::vector<std::string> bytes = IconvEach(pairs, "CP932");
    Tally alone;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        Check(bytes[i], TextEncoding::Cp932, alone, pairs[i]);
    Report("kana pairs alone", alone);
    EXPECT_EQ(alone.twoWay, 930);
    EXPECT_EQ(alone.utf8, 0);

    std::vector<std::string> lines;
    for (const std::string& pair : pairs)
        for (const std::string& line : lxtest::LinesAround(pair))
            lines.push_back(line);
    const Tally inLines =
        CheckCorpus(Read, lines, "CP932", TextEncoding::Cp932, "kana pairs in lines", {lines.size() / pairs.size()});
    EXPECT_EQ(inLines.twoWay, 930);
    EXPECT_EQ(inLines.utf8, 0);
}

TEST(TwoWayText, KanaNamesAndAddressesAreCp932WithoutAQuestion)
{
    const std::vector<std::string> lines = lxtest::KanaNameAndAddressLines();
    ASSERT_GE(lines.size(), 200u);
    const Tally tally = CheckCorpus(Read, lines, "CP932", TextEncoding::Cp932, "kana names and addresses", {1, true});
    EXPECT_GE(tally.twoWay, 150);
    EXPECT_EQ(tally.asked + tally.utf8, 0);
}

TEST(TwoWayText, WesternUtf8IsUtf8OrAsked)
{
    const std::vector<std::string> lines = lxtest::WesternLines();
    ASSERT_GE(lines.size(), 200u);
    const Tally tally = CheckCorpus(Read, lines, "UTF-8", TextEncoding::Utf8, "Western UTF-8", {1, true});
    EXPECT_GE(tally.twoWay, 200);
    EXPECT_EQ(tally.cp932, 0);
    // What CP932 holds comes through as iconv converts it.
    for (const char* line : {"25°C", "Θ = 30°", "2×4 ± 1", "§ 3 α"})
        EXPECT_EQ(Read(line, TextEncoding::Utf8).text, lxtest::Iconv(line, "CP932")) << line;
}

TEST(TwoWayText, JapaneseFilesOfEitherEncodingAreReadWithoutAQuestion)
{
    const std::vector<std::string> lines = lxtest::JapaneseLines();
    const Tally utf8 = CheckCorpus(Read, lines, "UTF-8", TextEncoding::Utf8, "Japanese UTF-8", {1, true});
    EXPECT_EQ(utf8.asked + utf8.cp932, 0);
    const Tally cp932 = CheckCorpus(Read, lines, "CP932", TextEncoding::Cp932, "Japanese CP932", {1, true});
    EXPECT_EQ(cp932.asked + cp932.utf8, 0);
    // The three-byte look-alike: CP932 窶拭 is the UTF-8 of "‐@".
    EXPECT_EQ(Read("\xE2\x80\x90\x40", TextEncoding::Utf8).text, "\xE2\x80\x90\x40");
}

// Two CP932 characters whose bytes are also UTF-8: a kanji whose two bytes
// begin a three-byte character (窶拭 is "‐@"), and a half-width kana before a
// kanji whose second byte is ASCII (ﾃ諭 is "×@"). Which was meant is not
// known here; what matters is that the UTF-8 reading is never taken silently.
TEST(TwoWayText, KanjiThatLookLikeUtf8AreCp932OrAsked)
{
    const std::vector<std::string> seconds = IconvEach({"院", "拭", "　", "ア", "Ａ", "田", "山", "亜A"}, "CP932");
    Tally threeBytes;
    for (int lead = 0xE0; lead <= 0xEF; ++lead)
        for (int trail = 0x80; trail <= 0xBF; ++trail) {
            const std::string kanji{static_cast<char>(lead), static_cast<char>(trail)};
            if (!IsCp932(kanji))
                continue;
            for (const std::string& second : seconds) {
                const std::string bytes = kanji + second;
                if (IsUtf8(bytes))
                    Check(bytes, TextEncoding::Cp932, threeBytes, Cp932ToUtf8(bytes));
            }
        }
    Report("kanji before a kanji with an ASCII second byte", threeBytes);
    EXPECT_GT(threeBytes.files, 5000);
    EXPECT_EQ(threeBytes.utf8, 0);

    Tally twoBytes;
    for (int kana = 0xC2; kana <= 0xDF; ++kana)
        for (int lead = 0x81; lead <= 0x9F; ++lead)
            for (const int trail : {0x40, 0x41, 0x61, 0x7E}) {
                const std::string bytes{static_cast<char>(kana), static_cast<char>(lead), static_cast<char>(trail)};
                if (IsCp932(bytes))
                    Check(bytes, TextEncoding::Cp932, twoBytes, Cp932ToUtf8(bytes));
            }
    Report("half-width kana before a kanji with an ASCII second byte", twoBytes);
    EXPECT_GT(twoBytes.files, 3000);
    EXPECT_EQ(twoBytes.utf8, 0);
}

TEST(TwoWayText, TheQuestionShowsTheFirstDifferingLineBothWays)
{
    // Line 4 whatever ends the lines before it; the long line is shown from
    // a little before its first difference.
    const std::string tail = std::string(30, 'x') + "," + lxtest::Iconv("ﾂｰ", "CP932") + "," + std::string(200, 'y');
    for (const char* head : {"a\r\nb\r\nc\r\n", "a\nb\nc\n", "a\rb\rc\r", "a\r\nb\nc\r"}) {
        const Reading outcome = Read(std::string(head) + tail + "\r\nlast\r\n", TextEncoding::Cp932);
        ASSERT_EQ(outcome.questions, 1) << head;
        EXPECT_EQ(outcome.shown.Line, 4u);
        EXPECT_EQ(outcome.shown.AsCp932, "…" + std::string(19, 'x') + ",ﾂｰ," + std::string(67, 'y') + "…");
        EXPECT_EQ(outcome.shown.AsUtf8, "…" + std::string(19, 'x') + ",°," + std::string(67, 'y') + "…");
    }
    const Reading shortLine = Read(lxtest::Iconv("ﾎｱ,1\r\nﾎｲ\r\n", "CP932"), TextEncoding::Cp932);
    ASSERT_EQ(shortLine.questions, 1);
    EXPECT_EQ(shortLine.shown.Line, 1u);
    EXPECT_EQ(shortLine.shown.AsCp932, "ﾎｱ,1");
    EXPECT_EQ(shortLine.shown.AsUtf8, "α,1");
}

TEST(TwoWayText, WithNoOneToAskTheFileIsRefusedNamingTheLine)
{
    const std::string bytes = "1,2\r\n3,4\r\n" + lxtest::Iconv("ﾎｱ,5", "CP932") + "\r\n";
    try {
        TextFileToCp932(bytes);
        FAIL() << "read without asking";
    } catch (const ReadError& error) {
        EXPECT_STREQ(error.what(), "3行目は、シフトJISとしてもUTF-8としても読めるため、文字コードを決められません。");
    }
    // What the characters tell needs no one.
    EXPECT_EQ(TextFileToCp932(lxtest::Iconv("ﾐｶ,ﾐｷ,ﾐｻ,ﾐｵ\r\n", "CP932")), lxtest::Iconv("ﾐｶ,ﾐｷ,ﾐｻ,ﾐｵ\r\n", "CP932"));
    EXPECT_EQ(TextFileToCp932("25°C,Θ\r\n"), lxtest::Iconv("25°C,Θ\r\n", "CP932"));
}

TEST(TwoWayText, MarkedAndUtf16FilesNeverAsk)
{
    for (const std::string& line : {std::string("ﾂｰ,ﾐｶ"), std::string("°,α")}) {
        const std::string marked = "\xEF\xBB\xBF" + line;
        const std::string utf16 = "\xFF\xFE" + lxtest::Iconv(line, "UTF-16LE");
        EXPECT_EQ(Read(marked, TextEncoding::Cp932).questions, 0);
        EXPECT_EQ(Read(utf16, TextEncoding::Cp932).questions, 0);
        EXPECT_EQ(Read(utf16, TextEncoding::Cp932).text, lxtest::Iconv(line, "CP932"));
    }
}
