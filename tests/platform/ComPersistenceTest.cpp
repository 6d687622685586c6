// The property stream form: what is written reads back, and hostile bytes
// are refused with a ReadError, never read past the end.
#include <gtest/gtest.h>

#include "platform/com/Persistence.h"
#include "platform/io/Errors.h"

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
    bag.Write("Text", Variant(BStr::FromBytes(std::string("\x00\x81\xFF", 3))));
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
