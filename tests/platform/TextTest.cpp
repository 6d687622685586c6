#include "platform/io/Errors.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "platform/text/Numbers.h"
#include "support/TextEncodings.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

std::vector<std::string> Fields(std::initializer_list<const char*> items)
{
    return std::vector<std::string>(items.begin(), items.end());
}

} // namespace

TEST(Cp932, ConvertsJapaneseBothWaysIncludingVendorExtensions)
{
    const std::string text = Sjis("文字シート①髙");
    EXPECT_EQ(text, "\x95\xB6\x8E\x9A\x83\x56\x81\x5B\x83\x67\x87\x40\xFB\xFC");
    EXPECT_EQ(Cp932ToUtf8(text), "文字シート①髙");
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(text)), text);
}

TEST(Cp932, AnyByteStringSurvivesUtf16)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
        all += '\0'; // so that no two bytes pair up into a character
    }
    all += "\x81"; // a lone lead byte at the end
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(all)), all);
    EXPECT_EQ(Cp932ToUtf8("\x81\x20\xA0"), "\xEF\xBF\xBD \xEF\xBF\xBD");
}

TEST(Cp932, UnmappableOrMalformedUtf8BecomesQuestionMarksAndNeverSwallowsWhatFollows)
{
    // An emoji, a cut two- and three-byte sequence, an overlong "/", a stray
    // byte, a cut four-byte sequence at the end.
    const std::pair<std::string, std::string> cases[] = {
        {"a\xF0\x9F\x98\x80\x62", "a?b"},  {"\xC3\x41", "?A"},   {"\xE3\x81\x42", "??B"}, {"\xC0\xAF\x43", "??C"},
        {"\xFF\xE3\x81\x82", Sjis("?あ")}, {"x\xF0\x9F", "x??"},
    };
    for (const auto& [utf8, cp932] : cases)
        EXPECT_EQ(Utf8ToCp932(utf8), cp932) << testing::PrintToString(utf8);
}

// What a text box may hold: every character with a CP932 form (the JIS
// wave dash by its Microsoft twin) and the model's own bytes kept through
// UTF-16, even a byte no character begins with.
TEST(Cp932, FindsTheFirstCharacterWithoutAForm)
{
    const std::u16string model = Cp932ToUtf16("A\xA0\x81");
    EXPECT_EQ(FindCharWithoutCp932(model), model.size());
    EXPECT_EQ(FindCharWithoutCp932(u"〜～−あ"), 4u);
    const std::u16string text = u"ab\U0001F600é";
    EXPECT_EQ(FindCharWithoutCp932(text), 2u);
    EXPECT_EQ(Utf16CharLength(text, 2), 2u);
    EXPECT_EQ(FindCharWithoutCp932(std::u16string_view(text).substr(4)), 0u);
    EXPECT_EQ(CharWithoutCp932Message(3, text, 2), "3行目の文字「😀」はこのプログラムでは扱えません。");
    EXPECT_EQ(Utf16ToCp932(u"〜"), lxtest::Iconv("～", "CP932"));
}

// Every character a box takes out is named, each once, by the line it
// first stands on; a long run of them names the first five and counts the
// rest. The model's own bytes and the wave dash are kept, not named.
TEST(Cp932, EveryCharacterWithoutAFormIsNamed)
{
    std::u16string kept = u"〜";
    kept += Cp932ToUtf16("\xA0");
    EXPECT_EQ(CharsWithoutCp932Message(kept), "");
    EXPECT_EQ(CharsWithoutCp932Message(u"A\U0001F600Bé"), "1行目の文字「😀」「é」はこのプログラムでは扱えません。");
    EXPECT_EQ(CharsWithoutCp932Message(u"é\nxé\n\n€ü"),
              "1行目の文字「é」、4行目の文字「€」「ü」はこのプログラムでは扱えません。");
    EXPECT_EQ(CharsWithoutCp932Message(u"àáâãäåæ\nàç"),
              "1行目の文字「à」「á」「â」「ã」「ä」ほか3文字はこのプログラムでは扱えません。");
}

// File names as a person reads them: UTF-8 as it is, a name from a Windows
// archive by its CP932 reading, part by part, and what reads neither way
// with its bytes shown.
TEST(Cp932, FileNamesShowAsTheUserKnowsThem)
{
    EXPECT_EQ(ReadableFileName("/home/利用者/宛名.bv2"), "/home/利用者/宛名.bv2");
    EXPECT_EQ(ReadableFileName("/home/利用者/" + Sjis("テスト.bv2")), "/home/利用者/テスト.bv2");
    EXPECT_EQ(ReadableFileName(Sjis("ﾃｽﾄ") + "/a\x80\xFF.bv2"), "ﾃｽﾄ/a\\x80\\xFF.bv2");
    EXPECT_EQ(BytesShownVisibly("名前\x83\x65.bv2"), "名前\\x83e.bv2");
}

TEST(Cp932, CharactersStepOverLeadBytesAndCountALoneLeadAtTheEnd)
{
    EXPECT_EQ(CharCount(Sjis("あいA")), 3u);
    EXPECT_EQ(CharCount("\x82\xA0\x82"), 2u);
    std::vector<std::string> chars;
    ForEachChar("\x83\x5C"
                "a",
                [&](std::string_view c) { chars.emplace_back(c); });
    EXPECT_EQ(chars, Fields({"\x83\x5C", "a"}));
}

TEST(DelimitedText, CommaRules)
{
    EXPECT_EQ(SplitDelimited("a,,b", ','), Fields({"a", "", "b"}));
    EXPECT_EQ(SplitDelimited("a,b,", ','), Fields({"a", "b", ""}));
    EXPECT_EQ(SplitDelimited(" a , b ", ','), Fields({"a", "b"}));
    EXPECT_EQ(SplitDelimited("\"x,\"\"y\"\"\",z", ','), Fields({"x,\"y\"", "z"}));
    EXPECT_EQ(SplitDelimited("\"ab\"cd", ','), Fields({"ab", "cd"}));
    EXPECT_EQ(SplitDelimited("a b", ','), Fields({"a", "b"}));
    EXPECT_EQ(SplitDelimited("\"open", ','), Fields({"open"}));
    EXPECT_TRUE(SplitDelimited("", ',').empty());
    EXPECT_TRUE(SplitDelimited("   ", ',').empty());
}

TEST(DelimitedText, TabRunsNeverGiveEmptyFields)
{
    EXPECT_EQ(SplitDelimited("a\t\t b\t", '\t'), Fields({"a", "b"}));
    EXPECT_EQ(SplitDelimited("\"1\"\t\"A 4\"", '\t'), Fields({"1", "A 4"}));
}

TEST(DelimitedText, DoubleByteCharactersAreSteppedOverWhole)
{
    // Trail bytes outside the valid range still belong to their lead byte.
    EXPECT_EQ(SplitDelimited("\x81\x2C"
                             "a,b",
                             ','),
              Fields({"\x81\x2C"
                      "a",
                      "b"}));
    EXPECT_EQ(SplitDelimited("\"\x81\x22\",b", ','), Fields({"\x81\x22", "b"}));
    EXPECT_EQ(SplitDelimited("\x83\x5C,b", ','), Fields({"\x83\x5C", "b"}));
}

TEST(TextLines, AllLineEndsAndNoEmptyLastLine)
{
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), Fields({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), Fields({"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), Fields({"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLines(Fields({"a", ""})), "a\r\n\r\n");
}

TEST(TextLines, LabelTextCutsOnlyAtCrLfAndKeepsEmptyLines)
{
    using Views = std::vector<std::string_view>;
    EXPECT_EQ(SplitAtCrLf(""), Views({""}));
    EXPECT_EQ(SplitAtCrLf("a\r\n"), Views({"a", ""}));
    EXPECT_EQ(SplitAtCrLf("a\nb\r\n\r\nc"), Views({"a\nb", "", "c"}));
}

TEST(Numbers, ParseWithDotAndFormatShortest)
{
    EXPECT_EQ(ParseInt(" -12 "), -12);
    EXPECT_FALSE(TryParseInt("1.5"));
    EXPECT_FALSE(TryParseInt("99999999999"));
    EXPECT_EQ(ParseInt("+7"), 7);
    for (const char* bad : {"+-5", "++5", "+", "-", "+-1.5"})
        EXPECT_FALSE(TryParseFloat(bad) || TryParseInt(bad)) << bad;
    EXPECT_THROW(ParseInt("abc"), ConvertError);
    EXPECT_DOUBLE_EQ(ParseFloat("12.25"), 12.25);
    EXPECT_FALSE(TryParseFloat("1,5"));
    EXPECT_FALSE(TryParseFloat("nan"));
    EXPECT_EQ(FormatFloat(12.0), "12");
    EXPECT_EQ(FormatFloat(0.1), "0.1");
    EXPECT_EQ(FormatFloat(-0.0), "0");
    for (double v : {0.1 + 0.2, 1.0 / 3.0, 210.0, 297.05, 1e-7})
        EXPECT_EQ(ParseFloat(FormatFloat(v)), v);
}

TEST(Numbers, RoundingIsHalfToEven)
{
    EXPECT_EQ(RoundToInt(2.5), 2);
    EXPECT_EQ(RoundToInt(3.5), 4);
    EXPECT_EQ(RoundToInt(-2.5), -2);
    EXPECT_FALSE(TryRoundToInt(1e300));
    EXPECT_FALSE(TryRoundToInt(std::nan("")));
}

TEST(Streams, LittleEndianValuesAndShortReads)
{
    MemoryStream stream;
    stream.WriteInt32(-2);
    stream.WriteFloat64(5.0);
    stream.WriteUInt16(0x1234);
    EXPECT_EQ(stream.Bytes(), std::string("\xFE\xFF\xFF\xFF\0\0\0\0\0\0\x14\x40\x34\x12", 14));
    stream.Seek(0);
    EXPECT_EQ(stream.ReadInt32(), -2);
    EXPECT_EQ(stream.ReadFloat64(), 5.0);
    EXPECT_THROW(stream.ReadInt32(), ReadError);
    EXPECT_EQ(stream.Position(), 12u); // a failed read consumes nothing
    EXPECT_THROW(stream.ReadBytes(1u << 30), ReadError);
    EXPECT_EQ(stream.ReadUInt16(), 0x1234);
}
