#include "designer/model/LxLabelString.h"

#include "LabelTestSupport.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

using namespace lx;

TEST(TextObject, DefaultsAndTheirSeventyByteOwnPart)
{
    const TLxLabelObjectString text;
    EXPECT_EQ(text.GetKind(), KindString);
    EXPECT_EQ(text.GetName(), Sjis("文字シート"));
    EXPECT_EQ(text.GetVerticalWriting() + text.GetAlignment() + text.GetFontStyle(), 0);
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

TEST(TextObject, RoundTripAndTruncatedRecords)
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
    const std::string bytes = lxtest::SavedBytes(source);
    MemoryStream stream(bytes);
    TLxLabelObjectString loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(stream.Remaining(), 0u);
    EXPECT_EQ(lxtest::SavedBytes(loaded), bytes);
    for (std::size_t cut : {std::size_t(51), std::size_t(80), bytes.size() - 1}) {
        MemoryStream shortStream(bytes.substr(0, cut));
        EXPECT_THROW(loaded.LoadFromStream(shortStream), ReadError) << cut;
    }
}

TEST(TextObject, CloneIsEqualAndHasItsOwnFont)
{
    TLxLabelObjectString source;
    source.SetText("ABC");
    source.SetFontName("Arial");
    source.SetFontSize(18);
    source.SetCharSpacing(1.5);
    source.SetSelected(1);
    source.SetNotPrint(1);
    auto copy = source.Clone();
    auto& text = dynamic_cast<TLxLabelObjectString&>(*copy);
    EXPECT_EQ(lxtest::SavedBytes(text), lxtest::SavedBytes(source));
    text.SetFontName("Other");
    text.SetFontSize(5);
    EXPECT_EQ(source.GetFontName(), "Arial");
    EXPECT_EQ(source.GetFontSize(), 18);
}
