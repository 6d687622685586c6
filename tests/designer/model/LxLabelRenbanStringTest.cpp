#include "designer/model/LxLabelRenbanString.h"

#include "LabelTestSupport.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

std::string Serial(const std::string& start, const std::string& finish, std::int32_t record)
{
    TLxLabelObjectRenbanString serial(record);
    serial.SetStartNumber(start);
    serial.SetFinishNumber(finish);
    return serial.GetSerialText();
}

} // namespace

TEST(SerialObject, NumbersArePaddedToTheStartTextAndEndAtTheFinish)
{
    struct Case {
        const char *start, *finish;
        std::int32_t record;
        const char* shown;
    };
    const Case cases[] = {
        {"0", "0", 0, "0"},
        {"001", "010", 9, "010"},
        {"001", "010", 10, ""},
        {"98", "100", 2, "100"},
        {"5", "3", 0, ""},
        {"0007", "9999", 1, "0008"},
        {"-5", "10", 0, "-05"},
        {"10", "20", -3, "07"},
        // Near the 32-bit limit the sum must not wrap round to a small number.
        {"2147483647", "2147483647", 1, ""},
        {"2147483640", "2147483647", 2147483647, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Serial(c.start, c.finish, c.record), c.shown) << c.start << " " << c.finish << " " << c.record;
    for (const char* wrong : {"", "abc", "4294967296"})
        EXPECT_THROW(Serial(wrong, "10", 0), ConvertError) << wrong;
}

TEST(SerialObject, OwnPartRoundTripAndClones)
{
    const std::string bytes = lxtest::SavedBytes(TLxLabelObjectRenbanString(0));
    // Common part (51), the text object's part (70), then 14 bytes.
    ASSERT_EQ(bytes.size(), 51u + 70u + 14u);
    EXPECT_EQ(lxtest::Hex(bytes.substr(121)), "00 00 00 00 01 00 00 00 30 01 00 00 00 30");

    TLxLabelObjectRenbanString source(2);
    source.SetStartNumber("10");
    source.SetFinishNumber("20");
    source.SetSelected(1);
    MemoryStream stream(lxtest::SavedBytes(source));
    TLxLabelObjectRenbanString loaded(-1);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.GetSerialText(), "12");
    EXPECT_EQ(lxtest::SavedBytes(*source.Clone()), lxtest::SavedBytes(source));
    auto rebound = source.CloneForRecord(4);
    EXPECT_EQ(dynamic_cast<TLxLabelObjectRenbanString&>(*rebound).GetSerialText(), "14");
    EXPECT_EQ(rebound->GetSelected(), 1);
}
