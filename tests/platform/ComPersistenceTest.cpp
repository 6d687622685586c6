// The property stream form: what is written reads back, and hostile bytes
// are refused with a ReadError, never read past the end.
#include <gtest/gtest.h>

#include "platform/com/Persistence.h"
#include "platform/io/Errors.h"
#include "support/TextEncodings.h"

using namespace lx;

namespace {

MemoryPropertyBag Sample()
{
    MemoryPropertyBag bag;
    bag.Write("Short", Variant(std::int16_t{-3}));
    bag.Write("Long", Variant(std::int32_t{0x12345678}));
    bag.Write("Float", Variant(2.5f));
    bag.Write("Double", Variant(-0.125));
    bag.Write("Flag", Variant(true));
    bag.Write("Bytes", Variant::Text(std::string("\x00\x81\xFF", 3)));
    bag.Write("Text", Variant(BStr::FromUtf16(u"€ 😀 ü")));
    bag.Write("Nothing", Variant());
    bag.Write("Picture", Variant(std::shared_ptr<const Picture>()));
    return bag;
}

TEST(ComPropertyStream, RoundTrip)
{
    MemoryStream stream;
    WritePropertyStream(stream, Sample());
    stream.WriteBytes("tail");
    stream.Seek(0);
    const MemoryPropertyBag back = ReadPropertyStream(stream);
    EXPECT_EQ(stream.Position(), stream.Size() - 4);
    ASSERT_EQ(back.Entries().size(), Sample().Entries().size());
    for (std::size_t i = 0; i < back.Entries().size(); ++i) {
        EXPECT_EQ(back.Entries()[i].first, Sample().Entries()[i].first);
        EXPECT_EQ(back.Entries()[i].second.Type(), Sample().Entries()[i].second.Type());
        if (back.Entries()[i].second.Type() != VarType::Picture) {
            EXPECT_EQ(back.Entries()[i].second, Sample().Entries()[i].second);
        }
    }
}

TEST(ComPropertyStream, EveryTruncationIsRefused)
{
    MemoryStream whole;
    WritePropertyStream(whole, Sample());
    const std::string bytes = whole.Bytes();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        MemoryStream cut(bytes.substr(0, n));
        EXPECT_THROW(ReadPropertyStream(cut), ReadError) << n;
    }
}

std::string Streamed(const MemoryPropertyBag& bag)
{
    MemoryStream stream;
    WritePropertyStream(stream, bag);
    return stream.Bytes();
}

std::string Entry(const std::string& name, std::uint16_t type, const std::string& value)
{
    const auto count = static_cast<std::uint32_t>(value.size());
    return std::string(1, static_cast<char>(name.size())) + name + static_cast<char>(type & 0xFF) +
        static_cast<char>(type >> 8) + static_cast<char>(count & 0xFF) + static_cast<char>((count >> 8) & 0xFF) +
        static_cast<char>((count >> 16) & 0xFF) + static_cast<char>(count >> 24) + value;
}

std::string OneEntryStream(const std::string& entry) { return std::string("LXPB\x01\x00\x00\x00", 8) + entry; }

// Text that code page 932 holds is stored as its CP932 bytes, the form the
// first readers of these streams take as it is; other text as UTF-16 under a
// type of its own. A stored UTF-16 string of an odd length is refused.
TEST(ComPropertyStream, TextIsStoredAsCp932WhereItFits)
{
    const std::string japanese = lxtest::Iconv("ＭＳ ゴシック①", "CP932");
    MemoryPropertyBag bag;
    bag.Write("Font", Variant(BStr::FromUtf16(u"ＭＳ ゴシック①")));
    EXPECT_EQ(Streamed(bag), OneEntryStream(Entry("Font", 8, japanese)));

    MemoryPropertyBag wide;
    wide.Write("Font", Variant(BStr::FromUtf16(u"Ω € 😀")));
    EXPECT_EQ(Streamed(wide), OneEntryStream(Entry("Font", 0x4C55, lxtest::Iconv("Ω € 😀", "UTF-16LE"))));

    for (const std::string& stream :
         {OneEntryStream(Entry("Font", 8, japanese)),
          OneEntryStream(Entry("Font", 0x4C55, lxtest::Iconv("ＭＳ ゴシック①", "UTF-16LE")))}) {
        MemoryStream in(stream);
        Variant font;
        ASSERT_TRUE(ReadPropertyStream(in).Read("Font", font));
        EXPECT_EQ(font.AsString().ToUtf8(), "ＭＳ ゴシック①");
    }

    MemoryStream odd(OneEntryStream(Entry("Font", 0x4C55, std::string("A\0B", 3))));
    EXPECT_THROW(ReadPropertyStream(odd), ReadError);
    MemoryPropertyBag unwritable;
    unwritable.Write("Raw", Variant(BStr::FromBytes("odd")));
    MemoryStream out;
    EXPECT_THROW(WritePropertyStream(out, unwritable), Error);
}

TEST(ComPropertyExchange, LoadConvertsOrFallsBack)
{
    MemoryPropertyBag bag;
    bag.Write("A", Variant::Text("7"));
    bag.Write("B", Variant::Text("seven"));
    bag.Write("C", Variant(std::int32_t{100000}));
    std::int16_t a = 0, b = 0, c = 0, d = 0;
    PropertyExchange load = PropertyExchange::Loading(bag);
    load.Short("a", a, 1);
    load.Short("B", b, 2);
    load.Short("C", c, 3);
    load.Short("D", d, 4);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(d, 4);
}

} // namespace
