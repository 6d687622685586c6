#include "designer/model/LxLabelString.h"

#include "LabelRecordTesting.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

using namespace lx;

TEST(TextObject, DefaultsAndTheirSeventyByteOwnPart)
{
    const TLxLabelObjectString text;
    MemoryStream own;
    text.SaveOwnPart(own);
    const std::string part = own.Bytes();
    ASSERT_EQ(part.size(), 70u);
    // Font: size 10, colour 0, the 13-byte face, style 0; then the 30-byte
    // text; VerticalWriting, Alignment and CharSpacing 0.0.
    EXPECT_EQ(lxtest::Hex(part.substr(0, 12)), "0A 00 00 00 00 00 00 00 0D 00 00 00");
    EXPECT_EQ(part.substr(12, 13), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(lxtest::Hex(part.substr(25, 5)), "00 1E 00 00 00");
    EXPECT_EQ(part.substr(30, 30), Sjis("ここに文字列を入力してください"));
    EXPECT_EQ(part.substr(60), std::string(10, '\0'));
    EXPECT_EQ(lxtest::SavedBytes(text).size(), 51u + 70u);
}

TEST(TextObject, RoundTripCloneAndTruncatedRecords)
{
    TLxLabelObjectString source;
    source.SetText(Sjis("一行目\r\n二行目"));
    source.SetFontName("Arial");
    source.SetFontSize(24);
    source.SetFontColor(0x0000FF);
    source.SetFontStyle(kFontBold | kFontUnderline);
    source.SetVerticalWriting(1);
    source.SetAlignment(2);
    source.SetCharSpacing(0.75);
    source.SetSelected(1);
    lxtest::ExpectRoundTrips(source);
    MemoryStream common(lxtest::SavedBytes(source).substr(0, 51));
    EXPECT_THROW(source.LoadFromStream(common), ReadError);
}
