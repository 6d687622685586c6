// Text files chosen by the user: the encoding Linux tools write, decided and
// converted to CP932, checked against iconv(1) and the shipped CP932 files.
#include "platform/text/TextFile.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "support/TestPaths.h"
#include "support/TextEncodings.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using lxtest::Iconv;

namespace {

// The message of the ReadError the text gives, or "" when it converts.
std::string Refusal(const std::string& bytes)
{
    try {
        TextFileToCp932(bytes);
    } catch (const ReadError& error) {
        return error.what();
    }
    return {};
}

const std::string kLines = "山田 太郎,東京都千代田区,https://example.jp/1\r\n"
                           "佐藤 花子,大阪府〜堺市,−5℃ ‖ ¢£¬\r\n"
                           "ﾔﾏﾀﾞ ﾀﾛｳ,髙橋①,\"a,b\"\r\n";

} // namespace

TEST(TextFile, Utf8AndUtf16WithOrWithoutMarkBecomeTheSameCp932)
{
    // What a Windows program would have written for the same lines.
    const std::string expected = Iconv(kLines, "CP932");
    ASSERT_NE(expected.find("\x81\x60"), std::string::npos); // 〜 as the CP932 wave dash
    const std::pair<const char*, std::string> files[] = {
        {"UTF-8", kLines},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + kLines},
        {"UTF-16 LE", "\xFF\xFE" + Iconv(kLines, "UTF-16LE")},
        {"UTF-16 BE", "\xFE\xFF" + Iconv(kLines, "UTF-16BE")},
        {"CP932", expected},
    };
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(TextFileToCp932(bytes), expected) << name;
    // A character beyond the basic plane crosses UTF-16 pieces as a pair.
    const std::string wide(100000, 'x');
    EXPECT_EQ(TextFileToCp932("\xFF\xFE" + Iconv(wide + "表", "UTF-16LE")), wide + Sjis("表"));
}

TEST(TextFile, Cp932FilesStayByteForByte)
{
    // Real CP932 text: the shipped catalogue and layout files, and lines
    // with half-width kana, whose bytes look most like UTF-8.
    std::vector<std::string> samples{Sjis("ﾔﾏﾀﾞ ﾀﾛｳ,ｽｽﾞｷ ｲﾁﾛｳ\r\nｱｲｳｴｵ,ｶｷｸｹｺ,ﾃｽﾄ\r\n"),
                                     Sjis("〒100-0001 東京都千代田区千代田1-1"), Sjis("株式会社ﾃｽﾄ　ご担当者様")};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(lxtest::SourcePath("data")))
        if (entry.path().extension() == ".cfg" || entry.path().extension() == ".bv2")
            samples.push_back(ReadFileBytes(entry.path().string()));
    ASSERT_GT(samples.size(), 10u);
    for (const std::string& sample : samples)
        EXPECT_EQ(TextFileToCp932(sample), sample) << Cp932ToUtf8(sample.substr(0, 40));
    EXPECT_EQ(TextFileToCp932("plain ASCII,1\r\n"), "plain ASCII,1\r\n");
    EXPECT_EQ(TextFileToCp932(""), "");
}

TEST(TextFile, LoneLeadByteAtALineEndIsKept)
{
    for (const std::string& bytes : {std::string("abc,\x82\r\ndef\r\n"), std::string("abc\x82\nx"),
                                     std::string("a\x82"), Sjis("表,") + "\x95\r\n" + Sjis("ｱ")})
        EXPECT_EQ(TextFileToCp932(bytes), bytes);
}

TEST(TextFile, CharactersOutsideCp932AreRefusedNamingTheirLine)
{
    // Line 3 whatever the line ends: CR LF, LF, CR, and CR LF split across
    // UTF-16 pieces.
    const std::string lines = "a,東\r\nc\nd,Café\re";
    for (const std::string& bytes :
         {lines, "\xEF\xBB\xBF" + lines, "\xFF\xFE" + Iconv(lines, "UTF-16LE"), "\xFE\xFF" + Iconv(lines, "UTF-16BE")})
        EXPECT_EQ(Refusal(bytes), "3行目の文字「é」はこのプログラムでは扱えません。");
    const std::string far = std::string(70000, 'x') + "\r\n" + "y,😀";
    EXPECT_EQ(Refusal("\xFF\xFE" + Iconv(far, "UTF-16LE")), "2行目の文字「😀」はこのプログラムでは扱えません。");
    EXPECT_EQ(Refusal(far), "2行目の文字「😀」はこのプログラムでは扱えません。");
}

TEST(TextFile, BinaryFilesAreRefused)
{
    // A picture, a NUL in bytes and in UTF-16, an odd UTF-16 length, a
    // mark and then no UTF-8, and no encoding at all.
    const std::string bom16 = "\xFF\xFE", bom8 = "\xEF\xBB\xBF";
    for (const std::string& bytes :
         {EncodePng(Bitmap(4, 4, 0xFF336699u)), std::string("a,b\r\nc\0d", 8), bom16 + std::string("a\0b\0\0\0", 6),
          bom16 + std::string("a\0b", 3), bom8 + "a\xC3", std::string("\x80\xA0\xFD\xFE\xFF text")})
        EXPECT_EQ(Refusal(bytes), "テキストファイルではないため、差込データとして読み込めません。") << bytes.size();
}

TEST(Cp932, CharactersLinuxInputMethodsTypeTakeTheirMicrosoftForms)
{
    EXPECT_EQ(Utf8ToCp932("〜‖−¢£¬"), "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA");
    EXPECT_EQ(Utf8ToCp932("〜‖−¢£¬"), Utf8ToCp932("～∥－￠￡￢"));
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a〜😀")), "a〜😀");
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx"); // a lone surrogate
}
