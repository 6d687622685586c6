// Variants and automation strings of the component layer: the conversions a
// dispatch call applies to its arguments, and text that must come back as
// the bytes it went in as.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/com/ComTypes.h"
#include "platform/com/Variant.h"
#include "platform/text/Cp932.h"

using namespace lx;

namespace {

TEST(ComGuid, TextFormRoundTrip)
{
    const Guid g{0x41126068, 0xF189, 0x4D44, {0x83, 0x03, 0xB7, 0x36, 0xA9, 0x7D, 0x7F, 0x70}};
    EXPECT_EQ(g.ToString(), "{41126068-F189-4D44-8303-B736A97D7F70}");
    EXPECT_EQ(Guid::Parse("{41126068-f189-4d44-8303-b736a97d7f70}"), g);
    for (const char* bad : {"", "41126068-F189-4D44-8303-B736A97D7F70", "{41126068-F189-4D44-8303-B736A97D7F7}",
                            "{41126068-F189-4D44-8303+B736A97D7F70}", "{4112606G-F189-4D44-8303-B736A97D7F70}"})
        EXPECT_FALSE(Guid::Parse(bad)) << bad;
}

struct Conversion {
    Variant in;
    VarType to;
    HResult status;
    Variant out;
};

TEST(ComVariant, Conversions)
{
    const Conversion table[] = {
        {Variant(std::int32_t{32767}), VarType::Int16, kOk, Variant(std::int16_t{32767})},
        {Variant(std::int32_t{32768}), VarType::Int16, kOverflow, {}},
        {Variant(std::int32_t{-32769}), VarType::Int16, kOverflow, {}},
        {Variant(2.5), VarType::Int16, kOk, Variant(std::int16_t{2})}, // half to even
        {Variant(3.5f), VarType::Int16, kOk, Variant(std::int16_t{4})},
        {Variant(-2.5), VarType::Int32, kOk, Variant(std::int32_t{-2})},
        {Variant(std::numeric_limits<double>::infinity()), VarType::Int32, kOverflow, {}},
        {Variant(true), VarType::Int16, kOk, Variant(std::int16_t{-1})},
        {Variant(std::int16_t{0}), VarType::Bool, kOk, Variant(false)},
        {Variant(), VarType::Int16, kOk, Variant(std::int16_t{0})},
        {Variant::Text(" 42 "), VarType::Int16, kOk, Variant(std::int16_t{42})},
        {Variant::Text("2.75"), VarType::Float, kOk, Variant(2.75f)},
        {Variant::Text("true"), VarType::Bool, kOk, Variant(true)},
        {Variant::Text("abc"), VarType::Int16, kTypeMismatch, {}},
        {Variant(std::int16_t{-7}), VarType::String, kOk, Variant::Text("-7")},
        {Variant(2.5f), VarType::String, kOk, Variant::Text("2.5")},
        {Variant(1e300), VarType::Float, kOverflow, {}},
        {Variant(std::shared_ptr<const Picture>()), VarType::Int16, kTypeMismatch, {}},
        {Variant(std::int16_t{3}), VarType::Picture, kTypeMismatch, {}},
    };
    for (const Conversion& c : table) {
        Variant out;
        const HResult status = ConvertVariant(c.in, c.to, out);
        EXPECT_EQ(status, c.status) << static_cast<int>(c.in.Type()) << " -> " << static_cast<int>(c.to);
        if (Succeeded(status))
            EXPECT_EQ(out, c.out) << static_cast<int>(c.in.Type()) << " -> " << static_cast<int>(c.to);
        else
            EXPECT_TRUE(out.IsEmpty());
    }
}

TEST(ComBStr, Cp932TextComesBackAsTheSameBytes)
{
    std::string everyPair;
    for (int lead : {0x81, 0x88, 0x9F, 0xE0, 0xED, 0xEE, 0xFA, 0xFC})
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            everyPair += static_cast<char>(lead);
            everyPair += static_cast<char>(trail);
        }
    std::string everySingle;
    for (int b = 1; b < 256; ++b)
        if (!IsLeadByte(static_cast<unsigned char>(b)))
            everySingle += static_cast<char>(b);
    for (const std::string& text : {everyPair, everySingle, std::string("\x81", 1), Sjis("ＱＲコード")}) {
        const BStr s = BStr::FromCp932(text);
        EXPECT_EQ(s.ToCp932(), text);
        EXPECT_EQ(s.Bytes().size() % 2, 0u);
    }
    // Text without twins travels as its plain UTF-16 form.
    EXPECT_EQ(BStr::FromCp932(Sjis("漢字")).ToUtf16(), u"漢字");
}

TEST(ComBStr, RawBytesStayRaw)
{
    const BStr odd = BStr::FromBytes(std::string("\x01\x02\x03", 3));
    EXPECT_EQ(odd.Bytes().size(), 3u);
    EXPECT_EQ(odd.ToUtf16(), std::u16string(1, char16_t{0x0201}));
}

} // namespace
