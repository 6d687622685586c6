#include "designer/model/LxLabelEffects.h"

#include "platform/io/Errors.h"
#include "platform/io/LittleEndian.h"
#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"

#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

namespace {

// The stream font encoding, written out by hand.
std::string FontBytes(std::int32_t size, std::uint32_t color, const std::string& face, std::uint8_t style)
{
    std::string bytes;
    AppendLe32(bytes, static_cast<std::uint32_t>(size));
    AppendLe32(bytes, color);
    AppendLe32(bytes, static_cast<std::uint32_t>(face.size()));
    return bytes + face + char(style);
}

} // namespace

TEST(LabelEffects, NewObjectHasRedShadowBlackShapesAndNoStyle)
{
    const TLxLabelObjectEffects effects;
    EXPECT_EQ(effects.GetKind(), KindEffects);
    EXPECT_EQ(effects.GetName(), Sjis("特殊文字シート"));
    EXPECT_EQ(effects.GetText(), Sjis("ここに特殊文字列を入力してください"));
    EXPECT_EQ(effects.GetFontName(), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(effects.GetFontSize(), 10);
    EXPECT_EQ(effects.GetSubFontColor(), 255u);
    EXPECT_EQ(effects.GetThirdFontColor(), 0u);
    for (std::uint8_t flag : {effects.GetShadow(), effects.GetOutline(), effects.GetShadow2(), effects.GetCurve(),
                              effects.GetSlantForward(), effects.GetSlantBackward(), effects.GetDeform(),
                              effects.GetSpareStyle(), effects.GetAlignment()})
        EXPECT_EQ(flag, 0);

    // Three fonts (the second and third with the font defaults), the text,
    // eight bytes and the spacing.
    const FontValue plain;
    const std::string expected = FontBytes(10, 0, Sjis("ＭＳ ゴシック"), 0) +
                                 FontBytes(plain.Size, 255, plain.Name, plain.Style) +
                                 FontBytes(plain.Size, 0, plain.Name, plain.Style) + std::string("\x22\0\0\0", 4) +
                                 effects.GetText() + std::string(8, '\0') + std::string(8, '\0');
    EXPECT_EQ(Hex(lxtest::OwnPart(effects)), Hex(expected));
}

TEST(LabelEffects, ShadowTwoIsStoredBeforeOutlineAndReadBackIntoItsOwnFlag)
{
    struct Case {
        std::uint8_t shadow, outline, shadow2;
        const char* stored;
    };
    const Case cases[] = {{0, 0, 1, "000100"}, {0, 1, 0, "000001"}, {1, 0, 0, "010000"}, {1, 1, 1, "010101"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TLxLabelObjectEffects effects;
        effects.SetShadow(c.shadow);
        effects.SetOutline(c.outline);
        effects.SetShadow2(c.shadow2);
        const std::string own = lxtest::OwnPart(effects);
        EXPECT_EQ(Hex(own.substr(own.size() - 16, 3)), c.stored);
        const auto loaded = lxtest::Reloaded<TLxLabelObjectEffects>(lxtest::Record(effects));
        EXPECT_EQ(loaded->GetShadow(), c.shadow);
        EXPECT_EQ(loaded->GetOutline(), c.outline);
        EXPECT_EQ(loaded->GetShadow2(), c.shadow2);
    }
}

TEST(LabelEffects, EveryStoredFieldRoundTripsAndTheSpareStyleNeverTravels)
{
    TLxLabelObjectEffects effects;
    effects.SetText(Sjis("一行目\r\n二行目"));
    effects.SetFontName(Sjis("ＭＳ 明朝"));
    effects.SetFontSize(36);
    effects.SetFontColor(0x00808000);
    effects.SetShadowColor(0x00C0C0C0);
    effects.SetShapedTextColor(0x00008000);
    effects.SetCurve(1);
    effects.SetSlantForward(1);
    effects.SetSlantBackward(1);
    effects.SetDeform(1);
    effects.SetSpareStyle(1);
    effects.SetAlignment(2);
    effects.SetCharSpacing(0.75);
    effects.SetName("e");
    effects.SetNotPrint(1);
    const std::string record = lxtest::Record(effects);
    EXPECT_EQ(Hex(record.substr(record.size() - 16)), "0000000101010102" "000000000000E83F");

    const auto loaded = lxtest::Reloaded<TLxLabelObjectEffects>(record);
    EXPECT_EQ(loaded->GetText(), effects.GetText());
    EXPECT_EQ(loaded->GetFontName(), Sjis("ＭＳ 明朝"));
    EXPECT_EQ(loaded->GetFontSize(), 36);
    EXPECT_EQ(loaded->GetFontColor(), 0x00808000u);
    EXPECT_EQ(loaded->GetSubFontColor(), 0x00C0C0C0u);
    EXPECT_EQ(loaded->GetThirdFontColor(), 0x00008000u);
    EXPECT_EQ(loaded->GetCharSpacing(), 0.75);
    EXPECT_EQ(loaded->GetSpareStyle(), 0);
    EXPECT_EQ(lxtest::Record(*loaded), record);

    const auto clone = effects.Clone();
    auto& copy = dynamic_cast<TLxLabelObjectEffects&>(*clone);
    EXPECT_EQ(copy.GetSpareStyle(), 0);
    EXPECT_EQ(lxtest::Record(copy), record);
}

TEST(LabelEffects, ColourAliasesShareOneValue)
{
    TLxLabelObjectEffects effects;
    effects.SetShadowColor(0x112233);
    EXPECT_EQ(effects.GetSubFontColor(), 0x112233u);
    effects.SetSubFontColor(0x445566);
    EXPECT_EQ(effects.GetShadowColor(), 0x445566u);
    effects.SetShapedTextColor(0x778899);
    EXPECT_EQ(effects.GetThirdFontColor(), 0x778899u);
    effects.SetThirdFontColor(0xAABBCC);
    EXPECT_EQ(effects.GetShapedTextColor(), 0xAABBCCu);
    EXPECT_EQ(effects.GetFontColor(), 0u);
}

TEST(LabelEffects, SecondAndThirdFontsKeepWhatTheFileHolds)
{
    TLxLabelObjectEffects effects;
    std::string record = lxtest::Record(effects);
    const FontValue plain;
    const std::string sub = FontBytes(plain.Size, 255, plain.Name, plain.Style);
    const std::size_t at = record.find(sub);
    ASSERT_NE(at, std::string::npos);
    record.replace(at, sub.size(), FontBytes(72, 0x00FF00, "Other", kFontBold));
    const auto loaded = lxtest::Reloaded<TLxLabelObjectEffects>(record);
    EXPECT_EQ(loaded->GetShadowColor(), 0x00FF00u);
    EXPECT_EQ(lxtest::Record(*loaded), record);
    EXPECT_THROW(lxtest::Reloaded<TLxLabelObjectEffects>(record.substr(0, record.size() - 9)), ReadError);
}
