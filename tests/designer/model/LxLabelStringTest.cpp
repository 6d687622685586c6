#include "designer/model/LxLabelString.h"

#include "LabelTestSupport.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

namespace {

std::string OwnPart(const TLxLabelObjectString& object)
{
    MemoryStream stream;
    object.SaveOwnPart(stream);
    return stream.Bytes();
}

} // namespace

TEST(TextObject, NewObjectHasTheTextDefaults)
{
    const TLxLabelObjectString text;
    EXPECT_EQ(text.GetKind(), KindString);
    EXPECT_EQ(text.GetName(), Sjis("文字シート"));
    EXPECT_EQ(text.GetText(), Sjis("ここに文字列を入力してください"));
    EXPECT_EQ(text.GetFontName(), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(text.GetFontSize(), 10);
    EXPECT_EQ(text.GetFontColor(), 0u);
    EXPECT_EQ(text.GetFontStyle(), 0);
    EXPECT_EQ(text.GetVerticalWriting(), 0);
    EXPECT_EQ(text.GetAlignment(), 0);
    EXPECT_EQ(text.GetCharSpacing(), 0.0);
    EXPECT_EQ(text.GetLeft(), 1.0);
    EXPECT_EQ(text.GetWidth(), 5.0);
}

TEST(TextObject, DefaultOwnPartIsSeventyBytes)
{
    const std::string part = OwnPart(TLxLabelObjectString());
    ASSERT_EQ(part.size(), 70u);
    // Font: size 10, colour 0, the 13-byte face, style 0.
    EXPECT_EQ(Hex(part.substr(0, 8)), "0A 00 00 00 00 00 00 00");
    EXPECT_EQ(Hex(part.substr(8, 4)), "0D 00 00 00");
    EXPECT_EQ(part.substr(12, 13), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(part[25], '\0');
    // Text: a 30-byte string.
    EXPECT_EQ(Hex(part.substr(26, 4)), "1E 00 00 00");
    EXPECT_EQ(part.substr(30, 30), Sjis("ここに文字列を入力してください"));
    // VerticalWriting, Alignment, CharSpacing 0.0.
    EXPECT_EQ(part.substr(60), std::string(10, '\0'));
    // The whole record is the 51-byte common part of a 10-byte name plus it.
    EXPECT_EQ(lxtest::SavedBytes(TLxLabelObjectString()).size(), 51u + 70u);
}

TEST(TextObject, SaveLoadRoundTripKeepsEveryField)
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
    source.SetLeft(12.5);
    source.SetNotPrint(1);

    MemoryStream stream(lxtest::SavedBytes(source));
    TLxLabelObjectString loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(stream.Remaining(), 0u);
    EXPECT_EQ(lxtest::SavedBytes(loaded), lxtest::SavedBytes(source));
    EXPECT_EQ(loaded.GetText(), source.GetText());
    EXPECT_EQ(loaded.GetCharSpacing(), 0.75);
    EXPECT_EQ(loaded.GetFontStyle(), kFontBold | kFontUnderline);
}

TEST(TextObject, TruncatedOwnPartIsAReadError)
{
    const std::string bytes = lxtest::SavedBytes(TLxLabelObjectString());
    for (std::size_t cut : {std::size_t(51), std::size_t(60), std::size_t(80), bytes.size() - 1}) {
        SCOPED_TRACE(cut);
        MemoryStream stream(bytes.substr(0, cut));
        TLxLabelObjectString loaded;
        EXPECT_THROW(loaded.LoadFromStream(stream), ReadError);
    }
}

TEST(TextObject, CloneIsEqualAndIndependent)
{
    TLxLabelObjectString source;
    source.SetText("ABC");
    source.SetFontName("Arial");
    source.SetFontSize(18);
    source.SetAlignment(1);
    source.SetCharSpacing(1.5);
    source.SetSelected(1);
    source.SetNotPrint(1);
    source.SetKind(7); // a stored kind byte is copied as it stands

    auto copy = source.Clone();
    auto* text = dynamic_cast<TLxLabelObjectString*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(lxtest::SavedBytes(*text), lxtest::SavedBytes(source));

    text->SetFontName("Other");
    text->SetFontSize(5);
    text->SetText("changed");
    EXPECT_EQ(source.GetFontName(), "Arial");
    EXPECT_EQ(source.GetFontSize(), 18);
    EXPECT_EQ(source.GetText(), "ABC");
}
