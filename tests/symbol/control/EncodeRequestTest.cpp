// The encode requests the control hands its engines, byte for byte, and the
// structured-append split of the data into parts.
#include <gtest/gtest.h>

#include "ControlTesting.h"
#include "platform/com/Persistence.h"
#include "platform/text/Cp932.h"
#include "symbol/control/EncodeSymbol.h"

using namespace lx;

namespace {

ControlProperties Qr(std::string data, int level = 1)
{
    ControlProperties p;
    p.InputData = std::move(data);
    p.EccLevel = static_cast<std::int16_t>(level);
    return p;
}

TEST(EncodeRequest, QrTextAndBinaryThatCarriesItsLength)
{
    const EncodeRequest r = BuildQrRequest(Qr("ABC", 2));
    EXPECT_EQ(r.bytes, "QA,ABC");
    EXPECT_TRUE(r.encode);
    EXPECT_EQ(r.bstart, 0);
    EXPECT_EQ(r.bend, 3);
    ControlProperties p = Qr(std::string("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B", 12));
    p.TextOrBinary = 1;
    EXPECT_EQ(BuildQrRequest(p).bytes, "MM,B0012" + p.InputData);
}

TEST(EncodeRequest, QrDividedByCost)
{
    ControlProperties p = Qr("123456789");
    p.Divide1 = 2;
    p.Divide2 = 3;
    const EncodeRequest r = BuildQrRequest(p);
    EXPECT_EQ(r.bytes, "D020331,MA,456"); // parity: the bytes 0x31..0x39 exclusive-or'd
    EXPECT_EQ(r.bstart, 3);
    EXPECT_EQ(r.bend, 6);

    // Digits weigh 33, letters 55, kanji 130 for the pair: "12AB" + kanji is
    // 33 + 33 + 55 + 55 + 130 = 306, so two parts split at the cost 153:
    // 1, 2, A (121) then B would reach 176 > 153.
    p.InputData = "12AB" + Sjis("漢");
    p.Divide2 = 2;
    const DivideSplit split(p.InputData, 2, true);
    EXPECT_EQ(split.TotalCost(), 306);
    EXPECT_EQ(split.Position(2), 3);
    EXPECT_EQ(split.Position(3), 6);
    EXPECT_EQ(BuildQrRequest(p).bytes.substr(8), "MA,B" + Sjis("漢"));
}

TEST(EncodeRequest, PartsNeverCutADoubleByteCharacter)
{
    const std::string kanji = Sjis("漢字かな"); // four double-byte characters
    for (bool byCost : {true, false})
        for (int parts = 2; parts <= 8; ++parts) {
            const DivideSplit split(kanji, parts, byCost);
            for (int k = 1; k <= parts + 1; ++k)
                EXPECT_EQ(split.Position(k) % 2, 0) << "parts " << parts << " k " << k << " cost " << byCost;
            EXPECT_EQ(split.Position(parts + 1), 8);
        }
    // A lone lead byte at the end ends the last part at the data's end.
    const DivideSplit split(std::string("AB\x81", 3), 2, false);
    EXPECT_EQ(split.Position(3), 3);
}

TEST(EncodeRequest, PartsTogetherHoldEveryByte)
{
    // Ten bytes in three parts: 4, 3 and 3 bytes; none is left out.
    const DivideSplit bytes("0123456789", 3, false);
    EXPECT_EQ(bytes.Position(1), 0);
    EXPECT_EQ(bytes.Position(2), 4);
    EXPECT_EQ(bytes.Position(3), 7);
    EXPECT_EQ(bytes.Position(4), 10);
    // A total cost that three does not divide still ends at the end.
    const DivideSplit cost("ABCD", 3, true); // 4 x 55 = 220
    EXPECT_EQ(cost.Position(4), 4);
}

TEST(EncodeRequest, EmptyPartGivesMinusThree)
{
    lxtest::TestControl c;
    c.PutText("12");
    c.Put(kDispDivide2, 4);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), -3);
    EXPECT_EQ(c.GetShort(kDispNumCell), 0);
    EXPECT_EQ(c.GetShort(kDispBstart), c.GetShort(kDispBend));
}

TEST(EncodeRequest, MaxiCodePrimaryMessageRepeatsInEveryPart)
{
    ControlProperties p;
    p.CodeType = kCodeMaxiCode;
    p.MaxiCodeMode = 1;
    p.InputData = "12345,840,001,REST OF MESSAGE";
    p.Divide2 = 2;
    p.Divide1 = 1;
    const EncodeRequest first = BuildMaxiCodeRequest(p);
    p.Divide1 = 2;
    const EncodeRequest second = BuildMaxiCodeRequest(p);
    EXPECT_EQ(first.bytes, "D0102,12345,840,001,REST OF ");
    EXPECT_EQ(second.bytes, "D0202,12345,840,001,MESSAGE");
    // The range counts in the whole data.
    EXPECT_EQ(p.InputData.substr(static_cast<std::size_t>(second.bstart),
                                 static_cast<std::size_t>(second.bend - second.bstart)),
              "MESSAGE");

    p.InputData = "ABC";
    const EncodeRequest shortData = BuildMaxiCodeRequest(p);
    EXPECT_EQ(shortData.bytes, "D0202,ABC,,,");
    EXPECT_FALSE(shortData.encode);
    EXPECT_EQ(shortData.status, -3);

    p.Divide2 = 1;
    EXPECT_EQ(BuildMaxiCodeRequest(p).bytes, ",ABC");
}

TEST(EncodeRequest, Pdf417)
{
    ControlProperties p;
    p.CodeType = kCodePdf417;
    p.PDF417Ecc = 3;
    p.InputData = "HELLO";
    EXPECT_EQ(BuildPdf417Request(p).bytes, "3,HELLO");
    p.Divide1 = 1;
    p.Divide2 = 2;
    p.InputData = std::string(900, 'A') + "B"; // sum 65 * 900 + 66 = 58566, 58566 % 900 = 66
    EXPECT_EQ(BuildPdf417Request(p).bytes.substr(0, 17), "D0000100002066,3,");
}

TEST(EncodeRequest, DataMatrixHeaderKeepsFiveDigitsAndOneSeparator)
{
    ControlProperties p;
    p.CodeType = kCodeDataMatrix;
    p.InputData = "ABCD";
    EXPECT_EQ(BuildDataMatrixRequest(p).bytes, ",ABCD");
    p.Divide1 = 2;
    p.Divide2 = 2;
    // 65 + 66 + 67 + 68 = 266.
    EXPECT_EQ(BuildDataMatrixRequest(p).bytes, "D020200266,CD");
    // A byte sum above 99999 still fits the engine's five digits.
    p.InputData = std::string(500, '\xFF'); // 127500
    EXPECT_EQ(BuildDataMatrixRequest(p).bytes.substr(0, 11), "D020227500,");
}

TEST(EncodeRequest, LinearKindCodes)
{
    const std::tuple<int, int, int> table[] = {
        {1, 0, 0x101},  {1, 1, 0x103},  {2, 1, 0x104},  {3, 0, 0x201}, {4, 1, 0x204},  {5, 0, 0x301},
        {6, 1, 0x402},  {7, 1, 0x502},  {8, 0, 0x601},  {9, 0, 0x701}, {10, 2, 0x803}, {11, 1, 0x902},
        {12, 0, 0xA01}, {13, 0, 0xB01}, {14, 2, 0xC03}, {0, 0, -1},    {15, 0, -1},    {17, 0, -1},
    };
    for (const auto& [type, option, key] : table) {
        ControlProperties p;
        p.CodeType = static_cast<std::int16_t>(type);
        p.OptEANUPC = p.OptITF = p.OptSTF = p.OptCODE128 = p.OptPLESSEY = static_cast<std::int16_t>(option);
        EXPECT_EQ(LinearKindCode(p), key) << type;
    }
}

// What each family reports for the failures the control finds itself.
TEST(EncodeSymbolStatus, TooLongDataForEveryFamily)
{
    for (int type : {0, 15, 16, 17, 8}) {
        lxtest::TestControl c;
        c.Put(kDispCodeType, type);
        c.PutText(std::string(8000, '1'));
        EXPECT_EQ(c.GetShort(kDispMakeStatus), -1) << type;
        EXPECT_EQ(c.GetShort(kDispNumCell), 0) << type;
    }
}

TEST(EncodeSymbolStatus, SeriesBeyondTheFamilysLimitIsRefused)
{
    // A count stored while linear; each two-dimensional family then
    // refuses the series (-3, no symbol) rather than print a broken header.
    // At the limit the last part still encodes.
    const std::tuple<int, int> families[] = {{0, 16}, {15, 8}, {16, 99}, {17, 16}};
    for (const auto& [type, limit] : families) {
        for (const int divide2 : {limit + 1, 100}) {
            lxtest::TestControl c;
            c.PutText(std::string(200, '7'));
            c.Put(kDispCodeType, 8);
            c.Put(kDispDivide2, divide2);
            c.Put(kDispCodeType, type);
            EXPECT_EQ(c.GetShort(kDispMakeStatus), -3) << type << " of " << divide2;
            EXPECT_EQ(c.GetShort(kDispNumCell), 0) << type << " of " << divide2;
        }
        lxtest::TestControl c;
        c.Put(kDispCodeType, type);
        c.PutText(std::string(200, '7'));
        c.Put(kDispDivide2, limit);
        c.Put(kDispDivide1, limit);
        EXPECT_EQ(c.GetShort(kDispMakeStatus), 0) << type;
        EXPECT_GT(c.GetShort(kDispNumCell), 0) << type;
    }
}

TEST(EncodeSymbolStatus, LoadedSeriesBeyondTheLimitIsRefused)
{
    lxtest::TestControl linear;
    linear.Put(kDispCodeType, 8);
    linear.PutText(std::string(200, '7'));
    linear.Put(kDispDivide2, 20);
    MemoryPropertyBag bag;
    ASSERT_EQ(linear.object->Save(static_cast<PropertyBag&>(bag), false), kOk);
    bag.Write("CodeType", Variant(std::int16_t{0}));
    lxtest::TestControl c;
    ASSERT_EQ(c.object->Load(static_cast<const PropertyBag&>(bag)), kOk);
    EXPECT_EQ(c.GetShort(kDispDivide2), 20);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), -3);
    EXPECT_EQ(c.GetShort(kDispNumCell), 0);
}

TEST(EncodeRequest, SeriesOutsideItsLimitsWritesNoHeader)
{
    // Values only a loaded control can hold: part above the count, part 0,
    // count above the limit.
    for (const auto& [divide1, divide2] : std::vector<std::pair<int, int>>{{5, 3}, {0, 3}, {1, 17}, {17, 17}}) {
        ControlProperties p = Qr("123456789");
        p.Divide1 = static_cast<std::int16_t>(divide1);
        p.Divide2 = static_cast<std::int16_t>(divide2);
        const EncodeRequest r = BuildQrRequest(p);
        EXPECT_FALSE(r.encode) << divide1 << "/" << divide2;
        EXPECT_EQ(r.status, -3) << divide1 << "/" << divide2;
        EXPECT_EQ(r.bytes, "") << divide1 << "/" << divide2;
    }
}

TEST(EncodeSymbolStatus, MinusEightRules)
{
    // Micro QR (version/level): level H; version 1 above L; versions below 4
    // above M; version 4 at level Q holds the data: no failure at all.
    const std::tuple<int, int, int, int> cases[] = {
        {4, 3, -8, 0}, {1, 1, -8, 0}, {3, 2, -8, 0}, {2, 2, -8, 0}, {4, 2, 0, 17}};
    for (const auto& [version, level, status, cells] : cases) {
        lxtest::TestControl c;
        c.Put(kDispModelNo, 3);
        c.Put(kDispQRversion, version);
        c.Put(kDispEccLevel, level);
        EXPECT_EQ(c.GetShort(kDispMakeStatus), status) << version << "/" << level;
        EXPECT_EQ(c.GetShort(kDispNumCell), cells) << version << "/" << level;
    }

    // MicroPDF417 with more than four columns.
    lxtest::TestControl pdf;
    pdf.Put(kDispCodeType, 16);
    pdf.Put(kDispPDF417Model, 3);
    pdf.Put(kDispPDF417Colum, 5);
    EXPECT_EQ(pdf.GetShort(kDispMakeStatus), -8);
    pdf.Put(kDispPDF417Colum, 4);
    EXPECT_EQ(pdf.GetShort(kDispMakeStatus), 0);
}

TEST(EncodeSymbolStatus, LinearStatusIsTheElementCount)
{
    lxtest::TestControl c;
    c.Put(kDispCodeType, 8);
    c.PutText("ABC");
    const int count = c.GetShort(kDispNumCell);
    EXPECT_GT(count, 0);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), count);
    // Empty data keeps the status of the last encode.
    c.PutText("");
    EXPECT_EQ(c.GetShort(kDispNumCell), 0);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), count);
}

} // namespace
