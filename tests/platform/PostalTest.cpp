// The postal customer barcode against the published rules and examples of
// the customer-barcode manual: the address numbers of its sample addresses,
// whole bar strings with their check digits, the function's contract, and
// the bar font read back from the pixels it draws.
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/postal/CustomerBarcode.h"
#include "platform/postal/PostalBarFont.h"
#include "platform/text/Cp932.h"
#include "support/PostalBars.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lx;

namespace {

// Sample addresses of the manual and the address numbers it gives for
// them; then numerals and writing variants.
TEST(PostalAddressNumber, PublishedSamplesAndWritingVariants)
{
    const std::pair<const char*, const char*> samples[] = {
        {"東京都千代田区霞が関1丁目3番2号 郵便プラザ503室", "1-3-2-503"},
        {"千葉市稲毛区緑町3丁目30-8 郵便ビル403号", "3-30-8-403"},
        {"秋田県大仙市堀見内 南田茂木 添60-1", "60-1"},
        {"東京都台東区台東5-6-3 ABCビル10F", "5-6-3-10"},
        {"北海道札幌市東区北六条東4丁目 郵便センター6号館", "4-6"},
        {"北海道札幌市東区北六条東8丁目 郵便センター10号館", "8-10"},
        {"山梨県韮崎市龍岡町下條南割 韮崎400", "400"},
        {"千葉県鎌ケ谷市右京塚 東3丁目-20-5 郵便・A&bコーポB604号", "3-20-5B604"},
        {"東京都青梅市河辺町十一丁目六番地一号 郵便タワー601", "11-6-1-601"},
        {"茨城県日立市宮田町6丁目7-14 ABCビル2F", "6-7-14-2"},
        {"札幌市中央区南四条西29丁目1524-23 第2郵便ハウス501", "29-1524-23-2-501"},
        {"福井県福井市新田塚3丁目80-25 J1ビル2-B", "3-80-25J1-2B"},
        {"京都府綾部市青野町出口 6-7 LプラザB 106", "6-7LB106"},
        {"百一番地", "101"},
        {"二十五番地の三", "25-3"},
        {"第三十五地割六十二", "35-62"}, // only the numeral before 地割 is a number
        {"１２３－４５", "123-45"}, // full-width digits and hyphen
        {"1丁目11ー32", "1-11-32"}, // the prolonged sound mark after a digit
        {"", ""},
        {"番地なし", ""},
    };
    for (const auto& [address, number] : samples) {
        SCOPED_TRACE(address);
        EXPECT_EQ(ExtractAddressNumber(Sjis(address)), number);
    }
}

// Whole data parts (postal code, address number, check digit), written in the
// designer's charset: A-H stand for CC1-CC8.
TEST(PostalBarString, PublishedBarStrings)
{
    struct Case {
        const char* zip;
        const char* address;
        const char* symbols;
    };
    const Case cases[] = {
        // The manual's worked example with its check digit 9.
        {"100-0013", "東京都千代田区霞が関1丁目3番2号 郵便プラザ503室", "10000131-3-2-503DDDD9"},
        {"100-0014", "東京都千代田区永田町1丁目11ー32", "10000141-11-32DDDDDDE"},
        {"317-0055", "十一丁目六番地一号 郵便タワー601", "317005511-6-1-601DDD5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const std::string zip = Sjis(c.zip);
        const std::string address = Sjis(c.address);
        char out[kCustomerBarStringLength + 1] = {};
        ASSERT_EQ(GetCBarString("()ABCDEFGH", zip.c_str(), address.c_str(), out), kCBarOk);
        EXPECT_EQ(std::string(out), std::string("(") + c.symbols + ")");
    }
}

TEST(PostalBarString, LongNumbersAreCutAtTwentyAndLettersKeepTheirControlCode)
{
    // The manual's examples of the cut: the 20th place a hyphen, and a letter
    // whose control code is the 20th place.
    EXPECT_EQ(CustomerBarSymbols("0640804", "29-1524-23-2-501").substr(0, 20), "064080429-1524-23-2-");
    EXPECT_EQ(CustomerBarSymbols("9100067", "3-80-25J1-2B").substr(0, 20), "91000673-80-25A91-2A");
    // Letters are CC1 (A-J), CC2 (K-T) or CC3 (U-Z) and a digit.
    EXPECT_EQ(CustomerBarSymbols("6230011", "6-7LB106").substr(0, 20), "62300116-7B1A1106DDD");
    EXPECT_EQ(CustomerBarSymbols("1000001", "Z").substr(7, 2), "C5");
}

TEST(PostalBarString, ContractOfTheFunction)
{
    const std::string address = Sjis("1丁目2番3号");
    char out[kCustomerBarStringLength + 2];
    std::memset(out, '#', sizeof out);
    ASSERT_EQ(GetCBarString("<>abcdefgh", "123-4567", address.c_str(), out), kCBarOk);
    EXPECT_EQ(std::string(out, kCustomerBarStringLength), "<12345671-2-3dddddddd5>");
    EXPECT_EQ(out[kCustomerBarStringLength], '#'); // exactly 23 characters written

    struct Refused {
        const char* charset;
        const char* zip;
        const char* address;
        std::int32_t result;
    };
    const Refused refused[] = {
        {"()ABCDEFGH", "123-456", "", kCBarBadPostalCode},    {"()ABCDEFGH", "12a4567", "", kCBarBadPostalCode},
        {"()ABCDEFGH", "", "", kCBarBadPostalCode},           {"()ABC", "1234567", "", kCBarBadArgument},
        {nullptr, "1234567", "", kCBarBadArgument},           {"()ABCDEFGH", nullptr, "", kCBarBadArgument},
        {"()ABCDEFGH", "1234567", nullptr, kCBarBadArgument},
    };
    for (const Refused& r : refused) {
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(GetCBarString(r.charset, r.zip, r.address, out), r.result);
        EXPECT_EQ(std::string(out, 3), "###");
    }
    EXPECT_EQ(GetCBarString("()ABCDEFGH", "1234567", "", nullptr), kCBarBadArgument);
}

// 20 points on the screen in the bar font under the given face name.
LogFont BarFont(std::string faceName)
{
    LogFont font;
    font.faceName = std::move(faceName);
    font.charSet = kSymbolCharset;
    font.height = -27;
    return font;
}

// The font draws what the bar table says, in the published proportions.
TEST(PostalBarFont, DrawsThePublishedBarsOfEveryCharacter)
{
    const std::string text = "(1234567890-ABCDEFGH)";
    Bitmap bitmap(800, 60);
    RasterDeviceContext dc(bitmap);
    dc.SelectFont(BarFont(std::string(kPostalBarFontFace)));
    const Size extent = dc.GetTextExtent(text);
    dc.TextOut(10, 10, text);

    const lxtest::PostalBarReading reading = lxtest::ReadPostalBars(bitmap);
    EXPECT_EQ(reading.bars, lxtest::ExpectedPostalBars(text));
    // Long bars three times the timing bar, pitch twice the bar width.
    EXPECT_NEAR(reading.longHeight, 3.0 * reading.timingHeight, 3.0);
    for (std::size_t i = 0; i < reading.gaps.size(); ++i)
        EXPECT_NEAR(reading.gaps[i], reading.widths[i], 2.0); // advances are whole pixels
    // 4.59 pixels a bar at 27 pixels to the em; the cell is seven bars high.
    const double bar = 27.0 * kPostalBarWidthUnits / kPostalBarFontUnitsPerEm;
    EXPECT_NEAR(reading.longHeight, 6 * bar, 1.5);
    EXPECT_NEAR(extent.cy, 7 * bar, 1.0);
    EXPECT_NEAR(extent.cx, 2 * bar * reading.bars.size(), 2 * 21.0);
}

TEST(PostalBarFont, FaceNameIgnoresLetterCase)
{
    Bitmap bitmap(100, 60);
    RasterDeviceContext dc(bitmap);
    dc.SelectFont(BarFont("pb barcode"));
    dc.TextOut(5, 5, "(");
    EXPECT_EQ(lxtest::ReadPostalBars(bitmap).bars, "FD");
}

} // namespace
