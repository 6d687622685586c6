#include "designer/model/LxLabelEffects.h"

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

TEST(LabelEffects, NewObjectStoresThreeFontsTheTextEightBytesAndTheSpacing)
{
    const TLxLabelObjectEffects effects;
    EXPECT_EQ(effects.GetText(), Sjis("ここに特殊文字列を入力してください"));
    const FontValue plain; // the second and third font keep the font defaults
    const std::string expected = FontBytes(10, 0, Sjis("ＭＳ ゴシック"), 0) +
        FontBytes(plain.Size, 255, plain.Name, plain.Style) + FontBytes(plain.Size, 0, plain.Name, plain.Style) +
        std::string("\x22\0\0\0", 4) + effects.GetText() + std::string(16, '\0');
    EXPECT_EQ(Hex(lxtest::OwnPart(effects)), Hex(expected));
}

TEST(LabelEffects, ShadowTwoIsStoredBeforeOutlineAndReadBackIntoItsOwnFlag)
{
    const std::tuple<int, int, int, const char*> cases[] = {
        {0, 0, 1, "00 01 00"}, {0, 1, 0, "00 00 01"}, {1, 0, 0, "01 00 00"}};
    for (const auto& [shadow, outline, shadow2, stored] : cases) {
        TLxLabelObjectEffects effects;
        effects.SetShadow(std::uint8_t(shadow));
        effects.SetOutline(std::uint8_t(outline));
        effects.SetShadow2(std::uint8_t(shadow2));
        const std::string own = lxtest::OwnPart(effects);
        EXPECT_EQ(Hex(own.substr(own.size() - 16, 3)), stored);
        const auto loaded = lxtest::Reloaded<TLxLabelObjectEffects>(lxtest::SavedBytes(effects));
        EXPECT_EQ(loaded->GetShadow(), shadow);
        EXPECT_EQ(loaded->GetOutline(), outline);
        EXPECT_EQ(loaded->GetShadow2(), shadow2);
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
    effects.SetSlantBackward(1);
    effects.SetDeform(1);
    effects.SetAlignment(2);
    effects.SetCharSpacing(0.75);
    effects.SetSpareStyle(1);
    const std::string own = lxtest::OwnPart(effects);
    EXPECT_EQ(Hex(own.substr(own.size() - 16)), "00 00 00 01 00 01 01 02 00 00 00 00 00 00 E8 3F");
    EXPECT_EQ(lxtest::Reloaded<TLxLabelObjectEffects>(lxtest::SavedBytes(effects))->GetSpareStyle(), 0);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectEffects&>(*effects.Clone()).GetSpareStyle(), 0);
    effects.SetSpareStyle(0);
    lxtest::ExpectRoundTrips(effects);
}
