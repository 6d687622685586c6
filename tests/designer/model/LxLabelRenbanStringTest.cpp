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

TEST(SerialObject, NewObjectShowsZeroForTheFirstRecordOnly)
{
    const TLxLabelObjectRenbanString serial(0);
    EXPECT_EQ(serial.GetName(), Sjis("連番シート"));
    EXPECT_EQ(serial.GetKind(), KindRenbanString);
    EXPECT_EQ(serial.GetStartNumber(), "0");
    EXPECT_EQ(serial.GetFinishNumber(), "0");
    EXPECT_EQ(serial.GetFontName(), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(serial.GetFontSize(), 10);
    EXPECT_EQ(serial.GetSerialText(), "0");
    EXPECT_EQ(Serial("0", "0", 1), "");
}

TEST(SerialObject, NumbersArePaddedToTheStartTextAndEndAtTheFinish)
{
    struct Case {
        const char* start;
        const char* finish;
        std::int32_t record;
        const char* shown;
    };
    const Case cases[] = {
        {"001", "010", 0, "001"},  {"001", "010", 9, "010"},   {"001", "010", 10, ""},
        {"98", "100", 2, "100"},   {"5", "3", 0, ""},          {"0007", "9999", 0, "0007"},
        {"0007", "9999", 1, "0008"}, {"-5", "10", 0, "-05"},   {"-05", "10", 2, "-003"},
        {" 7", "9", 0, "07"},      {"10", "20", -3, "07"},
        // Near the 32-bit limit the sum must not wrap round to a small number.
        {"2147483647", "2147483647", 0, "2147483647"}, {"2147483647", "2147483647", 1, ""},
        {"2147483640", "2147483647", 2147483647, ""},
        {"-2147483648", "0", -1, "-02147483649"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.finish + " " + std::to_string(c.record));
        EXPECT_EQ(Serial(c.start, c.finish, c.record), c.shown);
    }
}

TEST(SerialObject, TextsThatAreNoNumberFailWithTheConversionError)
{
    EXPECT_THROW(Serial("", "10", 0), ConvertError);
    EXPECT_THROW(Serial("1", "abc", 0), ConvertError);
    EXPECT_THROW(Serial("1", "4294967296", 0), ConvertError);
    EXPECT_THROW(Serial(Sjis("１"), "9", 0), ConvertError);
}

TEST(SerialObject, OwnPartAndRoundTrip)
{
    const TLxLabelObjectRenbanString serial(0);
    const std::string bytes = lxtest::SavedBytes(serial);
    // Common part with a 10-byte name (51), the text part (70), then 14 bytes.
    ASSERT_EQ(bytes.size(), 51u + 70u + 14u);
    EXPECT_EQ(lxtest::Hex(bytes.substr(121)), "00 00 00 00 01 00 00 00 30 01 00 00 00 30");

    TLxLabelObjectRenbanString source(3);
    source.SetStartNumber("0100");
    source.SetFinishNumber("0200");
    source.SetVerticalWriting(1);
    MemoryStream stream(lxtest::SavedBytes(source));
    TLxLabelObjectRenbanString loaded(-1);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.GetRecordIndex(), 3);
    EXPECT_EQ(loaded.GetSerialText(), "0103");
    EXPECT_EQ(lxtest::SavedBytes(loaded), lxtest::SavedBytes(source));
}

TEST(SerialObject, ClonesKeepOrRebindTheRecord)
{
    TLxLabelObjectRenbanString source(2);
    source.SetStartNumber("10");
    source.SetFinishNumber("20");
    source.SetFontSize(30);
    source.SetSelected(1);

    auto same = source.Clone();
    EXPECT_EQ(lxtest::SavedBytes(*same), lxtest::SavedBytes(source));
    auto rebound = source.CloneForRecord(4);
    auto& serial = dynamic_cast<TLxLabelObjectRenbanString&>(*rebound);
    EXPECT_EQ(serial.GetSerialText(), "14");
    EXPECT_EQ(serial.GetFontSize(), 30);
    EXPECT_EQ(serial.GetSelected(), 1);
    EXPECT_EQ(source.GetSerialText(), "12");
}
