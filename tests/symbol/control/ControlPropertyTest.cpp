// Property validation of the control: every validating setter's range, the
// value stored instead with ThrowError 0, and the automation error with
// ThrowError 1. Texts are the error descriptions as hosts see them.
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "ControlTesting.h"
#include "platform/text/Cp932.h"

using namespace lx;
using lxtest::TestControl;

namespace {

struct Rule {
    DispId id;
    const char* name;
    int setup; // a value stored first, so that the fallback shows (-999: none)
    int good; // a valid edge value, stored as it is
    int bad;
    int fallback;
    int code;
    const char* text;
};

const Rule kRules[] = {
    {kDispModelNo, "ModelNo", 1, 3, 4, 2, 1001, "ModelNo = 1(Model1), 2(Model2), 3(,microQR=3)"},
    {kDispModelNo, "ModelNo", 1, 1, 0, 2, 1001, "ModelNo = 1(Model1), 2(Model2), 3(,microQR=3)"},
    {kDispCellAdjust, "CellAdjust", -999, 11, 12, 11, 1002, "-CellPitch < CellAdjust < CellPitch"},
    {kDispCellAdjust, "CellAdjust", -999, -11, -12, -11, 1002, "-CellPitch < CellAdjust < CellPitch"},
    {kDispCellPitch, "CellPitch", -999, 1, 0, 1, 1000, "CellPitch >= 1"},
    {kDispCellUnit, "CellUnit", -999, 2540, 2541, 2540, 1008,
     "0 <= CellUnit<= 2540, =0 same as =2540, =-1 get default printer resolution"},
    {kDispCellUnit, "CellUnit", -999, 1, -2, 2540, 1008,
     "0 <= CellUnit<= 2540, =0 same as =2540, =-1 get default printer resolution"},
    {kDispDivide1, "Divide1", 3, 16, 17, 1, 1006, "1 <= Divide1,2 <= 16"},
    {kDispDivide2, "Divide2", 3, 1, 0, 1, 1006, "1 <= Divide1,2 <= 16"},
    {kDispEccLevel, "EccLevel", 3, 0, 4, 1, 1005,
     "Ecc = 0-3(Model1,2), 0(MicroQR M1), 0-1(MicroQR M2,3), 0-2(MicroQR M4)\n(L=0,M=1,Q=2,H=3)"},
    {kDispQuietZone, "QuietZone", 3, 0, -1, 0, 1003, "QuietZone >= 0"},
    {kDispRotate, "Rotate", 2, 3, 4, 0, 1004, "Rotate = 0,1,2,3 (0deg.=0,90deg.=1,180deg.=2,270deg.=3)"},
    {kDispBarHeight, "BarHeight", 30, 1000, 1001, 15, 1009, "1 <= BarHeight <= 1000"},
    {kDispBarHeight, "BarHeight", 30, 1, 0, 15, 1009, "1 <= BarHeight <= 1000"},
    {kDispChrDisplay, "ChrDisplay", 0, 2, 3, 1, 1010, "ChrDisplay = 0,1,2 (None=0,Yes=1,Yes_3mm)=2"},
    {kDispChkDigit, "ChkDigit", 2, 0, 3, 1, 1011, "ChkDigit = 0,1,2 (None=0,Yes_1digit=1,Yes_2digit=2)"},
    {kDispCodeType, "CodeType", 17, 17, 18, 0, 1012,
     "CodeType = 0 -- 17 (QR=0,EAN13=1,EAN8=2,UPCA=3,UPCE=4,Codabar=5,ITF=6,\n"
     "STF=7,Code39=8,Code93=9,Code128=10,EAN128=11,MSI=12,\n"
     "Code11=13,Plessey=14,MaxiCode=15,PDF417=16,DataMatrix=17)"},
    {kDispOptEANUPC, "OptEANUPC", 1, 1, 2, 0, 1014, "OptEANUPC = 0,1 (AddOn None=0, Yes=1)"},
    {kDispOptITF, "OptITF", 1, 1, 2, 0, 1015, "OptITF = 0,1 (Bearer Bar None=0,Yes=1)"},
    {kDispOptSTF, "OptSTF", 1, 1, -1, 0, 1016, "OptSTF = 0,1 (Start/Stop Normal=0,Short=1)"},
    {kDispOptCODE128, "OptCODE128", 1, 2, 3, 0, 1017, "OptCODE128 = 0,1,2 (Code Set A=0,B=1,C=2)"},
    {kDispOptPLESSEY, "OptPLESSEY", 1, 2, 3, 0, 1018, "OptPLESEEY = 0,1,2 (Dual=0,SIgle=1,Anker=2)"},
    {kDispQRversion, "QRversion", 5, 40, 41, 0, 1019, "QRversion = 0(Auto), 1-14(Model1), 1-40(Model2), 1-4(MicroQR)"},
    {kDispMaxiCodeMode, "MaxiCodeMode", 1, 4, 5, 3, 1025, "MaxiCodeMode = 1(Mode2) ,2(Mode3) ,3(Mode4), 4(Mode5)"},
    {kDispMaxiCodeMode, "MaxiCodeMode", 1, 1, 0, 3, 1025, "MaxiCodeMode = 1(Mode2) ,2(Mode3) ,3(Mode4), 4(Mode5)"},
    {kDispPDF417Model, "PDF417Model", 2, 3, 4, 1, 1026, "PDF417Model = 1(Standard) ,2(Truncated) ,3(MicroPDF417)"},
    {kDispPDF417Ecc, "PDF417Ecc", 5, 9, 10, 0, 1020,
     "PDF417Ecc = 0(Auto), 1(2) ,2(4) ,3(8), 4(16) ,5(32), 6(64), 7(128), 8(256), 9(512)"},
    {kDispDmxModel, "DmxModel", 2, 2, 3, 1, 1027, "DmxModel = 1(Square) ,2(Rectangular)"},
    {kDispPDF417Colum, "PDF417Colum", 5, 30, 31, 0, 1021, "PDF417Colum = 0(Auto), 1-30(PDF417), 1-4(MicroPDF417)"},
    {kDispPDF417Row, "PDF417Row", 10, 3, 2, 0, 1022, "PDF417Row = 0(Auto), 3-90(PDF417)"},
    {kDispPDF417Row, "PDF417Row", 10, 90, 91, 0, 1022, "PDF417Row = 0(Auto), 3-90(PDF417)"},
    {kDispPDF417XYratio, "PDF417XYratio", 2, 10, 11, 4, 1023, "PDF417XYratio = 1-10"},
    {kDispPDF417XYratio, "PDF417XYratio", 2, 1, 0, 4, 1023, "PDF417XYratio = 1-10"},
    {kDispPDF417HWratio, "PDF417HWratio", 2, 7, 8, 4, 1024,
     "PDF417HWratio = 1(8:1), 2(4:1), 3(2:1), 4(1:1), 5(1:2), 6(1:4), 7(1:8)"},
    {kDispBarChrGap, "BarChrGap", 5, 10, 11, 1, 1028, "1<= Barcode(CODABAR,CODE3)) Char. Gap <=10"},
    {kDispBarChrGap, "BarChrGap", 5, 1, 0, 1, 1028, "1<= Barcode(CODABAR,CODE3)) Char. Gap <=10"},
};

// Runs a call that must raise an automation error of the status (and text).
template <typename Call>
void ExpectDispatchError(Call call, std::uint32_t status, const char* text = nullptr)
{
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const DispatchError& e) {
        EXPECT_EQ(static_cast<std::uint32_t>(e.Status()), status);
        if (text) {
            EXPECT_EQ(e.Description(), text);
        }
    }
}

class PropertyRuleTest : public testing::TestWithParam<Rule> {};

TEST_P(PropertyRuleTest, FallbackWithoutThrowErrorAndErrorWithIt)
{
    const Rule& rule = GetParam();
    SCOPED_TRACE(rule.name);
    TestControl c;
    if (rule.setup != -999)
        c.Put(rule.id, rule.setup);
    c.Put(rule.id, rule.good);
    EXPECT_EQ(c.GetShort(rule.id), rule.good);
    if (rule.setup != -999)
        c.Put(rule.id, rule.setup);

    const int before = c.GetShort(rule.id);
    c.Put(kDispThrowError, 1);
    ExpectDispatchError([&] { c.Put(rule.id, rule.bad); }, 0x800A0000u + static_cast<std::uint32_t>(rule.code),
                        rule.text);
    EXPECT_EQ(c.GetShort(rule.id), before);

    c.Put(kDispThrowError, 0);
    c.Put(rule.id, rule.bad);
    EXPECT_EQ(c.GetShort(rule.id), rule.fallback);
}

// Named by the property and the value it refuses, e.g. CellAdjust_RefusesMinus12.
std::string RuleName(const testing::TestParamInfo<Rule>& info)
{
    const int bad = info.param.bad;
    return std::string(info.param.name) + "_Refuses" + (bad < 0 ? "Minus" : "") + std::to_string(std::abs(bad));
}

INSTANTIATE_TEST_SUITE_P(EveryValidatingSetter, PropertyRuleTest, testing::ValuesIn(kRules), RuleName);

TEST(ControlProperty, NwRatioAcceptsTwoToThreeInclusive)
{
    TestControl c;
    c.driver.Put(kDispNwRatio, Variant(3.0f));
    EXPECT_EQ(c.driver.Get(kDispNwRatio).AsFloat(), 3.0f);
    c.driver.Put(kDispNwRatio, Variant(3.01f));
    EXPECT_EQ(c.driver.Get(kDispNwRatio).AsFloat(), 2.5f);
    c.driver.Put(kDispNwRatio, Variant(2.0));
    EXPECT_EQ(c.driver.Get(kDispNwRatio).AsFloat(), 2.0f);
    c.Put(kDispThrowError, 1);
    ExpectDispatchError([&] { c.driver.Put(kDispNwRatio, Variant(1.99f)); }, 0x800A03F5u, "2.0 <= NwRatio <= 3.0");
    EXPECT_EQ(c.driver.Get(kDispNwRatio).AsFloat(), 2.0f);
}

TEST(ControlProperty, CodeTypeOutOfRangeReencodesAsQr)
{
    TestControl c;
    c.Put(kDispCodeType, 17);
    c.Put(kDispCodeType, 20);
    EXPECT_EQ(c.GetShort(kDispCodeType), 0);
    EXPECT_EQ(c.GetShort(kDispNumCell), 21); // "QRCODE" at level M: version 1
}

TEST(ControlProperty, CheckDigitAllowedByCodeType)
{
    // CodeType, then the ChkDigit values 0, 1, 2 as allowed (stored) or replaced
    // by 1, whether the digit is set after the type or the type after the digit.
    const std::pair<int, const char*> table[] = {
        {0, "012"},  {15, "012"}, {16, "012"}, {17, "012"}, {5, "01"}, {6, "01"}, {7, "01"}, {8, "01"},
        {12, "012"}, {13, "12"},  {1, "1"},    {4, "1"},    {9, "1"},  {10, "1"}, {11, "1"}, {14, "1"},
    };
    for (const auto& [type, allowed] : table)
        for (int digit = 0; digit <= 2; ++digit) {
            const bool ok = std::string(allowed).find(static_cast<char>('0' + digit)) != std::string::npos;
            TestControl c, reset;
            c.Put(kDispCodeType, type);
            c.Put(kDispChkDigit, digit);
            EXPECT_EQ(c.GetShort(kDispChkDigit), ok ? digit : 1) << "CodeType " << type << " ChkDigit " << digit;
            reset.Put(kDispChkDigit, digit);
            reset.Put(kDispCodeType, type);
            EXPECT_EQ(reset.GetShort(kDispChkDigit), ok ? digit : 1) << "ChkDigit " << digit << " CodeType " << type;
        }
}

TEST(ControlProperty, DivideKeepsPartNumberWithinCount)
{
    TestControl c;
    c.Put(kDispDivide2, 3);
    c.Put(kDispDivide1, 5);
    EXPECT_EQ(c.GetShort(kDispDivide1), 5);
    EXPECT_EQ(c.GetShort(kDispDivide2), 5);
    c.Put(kDispDivide2, 2);
    EXPECT_EQ(c.GetShort(kDispDivide1), 2);
    EXPECT_EQ(c.GetShort(kDispDivide2), 2);
}

TEST(ControlProperty, DivideLimitFollowsCodeType)
{
    const std::tuple<int, int, int> limits[] = {{0, 16, 17}, {15, 8, 9}, {16, 99, 100}, {17, 16, 17}, {8, 500, 0}};
    for (const auto& [type, highest, beyond] : limits) {
        TestControl c;
        c.Put(kDispCodeType, type);
        c.Put(kDispThrowError, 1);
        c.Put(kDispDivide2, highest);
        EXPECT_EQ(c.GetShort(kDispDivide2), highest) << type;
        EXPECT_THROW(c.Put(kDispDivide2, beyond), DispatchError) << type;
    }
}

TEST(ControlProperty, MicroQrCannotDivide)
{
    TestControl c;
    c.Put(kDispModelNo, 3);
    c.Put(kDispThrowError, 1);
    ExpectDispatchError([&] { c.Put(kDispDivide2, 2); }, 0x800A03EFu, "MicroQR can't divide");
    EXPECT_EQ(c.GetShort(kDispDivide2), 1);
    // Without ThrowError the value is stored and the engine refuses the header.
    c.Put(kDispThrowError, 0);
    c.Put(kDispDivide2, 2);
    EXPECT_EQ(c.GetShort(kDispDivide2), 2);
    EXPECT_EQ(c.GetShort(kDispNumCell), 0);
    EXPECT_LT(c.GetShort(kDispMakeStatus), 0);
}

TEST(ControlProperty, CellUnitRescalesPitchAndAdjust)
{
    TestControl c(std::nullopt);
    ASSERT_EQ(c.GetShort(kDispCellUnit), 2540);
    c.Put(kDispCellPitch, 51);
    c.Put(kDispCellAdjust, -15);
    c.Put(kDispCellUnit, 254);
    EXPECT_EQ(c.GetShort(kDispCellPitch), 5);
    EXPECT_EQ(c.GetShort(kDispCellAdjust), -2); // -1.5 away from zero
    c.Put(kDispCellUnit, 0);
    EXPECT_EQ(c.GetShort(kDispCellUnit), 2540);
    EXPECT_EQ(c.GetShort(kDispCellPitch), 50);
    // -1 takes the printer's resolution, 2540 without a printer.
    c.Put(kDispCellUnit, 100);
    c.Put(kDispCellUnit, -1);
    EXPECT_EQ(c.GetShort(kDispCellUnit), 2540);
    TestControl withPrinter;
    withPrinter.Put(kDispCellUnit, 254);
    withPrinter.Put(kDispCellUnit, -1);
    EXPECT_EQ(withPrinter.GetShort(kDispCellUnit), 600);
}

TEST(ControlProperty, FlagsStoreOneForAnyNonzero)
{
    TestControl c;
    for (DispId id : {kDispMirror, kDispGapAdjust}) {
        c.Put(id, -7);
        EXPECT_EQ(c.GetShort(id), 1);
        c.Put(id, 0);
        EXPECT_EQ(c.GetShort(id), 0);
    }
}

TEST(ControlProperty, ColoursAreStoredTranslated)
{
    TestControl c;
    // A system colour index is resolved: window text is black, window white
    // (each put on the colour that starts as the other).
    c.driver.Put(kDispForeWColor, Variant(static_cast<std::int32_t>(0x80000008u)));
    EXPECT_EQ(c.driver.Get(kDispForeWColor).AsInt32(), 0x000000);
    c.driver.Put(kDispForeBColor, Variant(static_cast<std::int32_t>(0x80000005u)));
    EXPECT_EQ(c.driver.Get(kDispForeBColor).AsInt32(), 0xFFFFFF);
}

TEST(ControlProperty, ReadOnlyMembersIgnorePutsAndWriteOnlyOnesRefuseGets)
{
    TestControl c;
    const int status = c.GetShort(kDispMakeStatus);
    for (DispId id : {kDispBstart, kDispBend, kDispNumCell, kDispMakeStatus, kDispTextOrBinary, kDispNumRow})
        EXPECT_NO_THROW(c.Put(id, 99)) << id;
    EXPECT_EQ(c.GetShort(kDispNumCell), 21);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), status);
    EXPECT_EQ(c.GetShort(kDispBend), 6);
    for (DispId id : {kDispInputDataB, kDispInputDataA})
        ExpectDispatchError([&] { c.driver.Get(id); }, static_cast<std::uint32_t>(kGetNotSupported));
    for (DispId id : {kDispImageWidth, kDispImageHeight, kDispImageData})
        ExpectDispatchError([&] { c.driver.Put(id, Variant(1.0f)); }, static_cast<std::uint32_t>(kSetNotSupported));
}

TEST(ControlProperty, ArgumentOutsideShortOverflows)
{
    TestControl c;
    ExpectDispatchError([&] { c.driver.Put(kDispCodeType, Variant(std::int32_t{70000})); },
                        static_cast<std::uint32_t>(kOverflow));
    c.driver.Put(kDispCodeType, Variant::Text("16"));
    EXPECT_EQ(c.GetShort(kDispCodeType), 16);
}

TEST(ControlProperty, SameValueReturnsWithoutEffect)
{
    TestControl c;
    c.Put(kDispAutoRedraw, 1);
    MemoryPropertyBag bag;
    c.object->Save(static_cast<PropertyBag&>(bag), true);
    ASSERT_FALSE(c.Dirty());
    // A failed file format leaves a status an encode would replace.
    c.driver.Call(kDispCreateQrMetaFile, {Variant(std::int32_t{0}), Variant::Text("x"), Variant(std::int16_t{5})});
    ASSERT_EQ(c.GetShort(kDispMakeStatus), -7);
    const int repaints = c.site.invalidations;

    c.Put(kDispModelNo, 2);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), -7) << "no encode";
    EXPECT_EQ(c.site.invalidations, repaints) << "no repaint";
    EXPECT_FALSE(c.Dirty()) << "no modified flag";

    c.Put(kDispEccLevel, 1);
    EXPECT_EQ(c.GetShort(kDispMakeStatus), 0) << "EccLevel re-encodes on the same value";
    EXPECT_EQ(c.site.invalidations, repaints + 1);
    EXPECT_TRUE(c.Dirty());
}

TEST(ControlProperty, AutoRedrawRepaintsAndThrowErrorMarksModified)
{
    TestControl c;
    ASSERT_FALSE(c.Dirty());
    c.Put(kDispAutoRedraw, 0);
    EXPECT_EQ(c.site.invalidations, 1);
    EXPECT_FALSE(c.Dirty());
    c.Put(kDispThrowError, 1);
    EXPECT_EQ(c.site.invalidations, 1);
    EXPECT_TRUE(c.Dirty());
    // Without AutoRedraw a change does not repaint; with it, it does.
    c.Put(kDispQuietZone, 2);
    EXPECT_EQ(c.site.invalidations, 1);
    c.Put(kDispAutoRedraw, 1);
    c.Put(kDispQuietZone, 3);
    EXPECT_EQ(c.site.invalidations, 3);
}

TEST(ControlProperty, InputDataKeepsEveryCp932ByteString)
{
    TestControl c;
    // Text, a double-byte character, a NEC/IBM extension pair and bytes
    // outside the code page all come back as they went in.
    const std::string texts[] = {Sjis("漢字ＱＲ"), std::string("\xED\x40\xFA\x5C", 4),
                                 std::string("\x80\xA0\xFD\xFF", 4), std::string("A\x81", 2)};
    for (const std::string& text : texts) {
        c.PutText(text);
        EXPECT_EQ(c.object->Properties().InputData, text);
        EXPECT_EQ(c.driver.Get(kDispInputData).AsString().ToCp932(), text);
        EXPECT_EQ(c.GetShort(kDispTextOrBinary), 0);
    }
}

TEST(ControlProperty, InputDataBTakesRawBytesAndInputDataAStopsAtZero)
{
    TestControl c;
    const std::string raw("\x00\x01\xFF\x7F\x80", 5);
    c.driver.Put(kDispInputDataB, Variant(BStr::FromBytes(raw)));
    EXPECT_EQ(c.object->Properties().InputData, raw);
    EXPECT_EQ(c.GetShort(kDispTextOrBinary), 1);
    EXPECT_EQ(c.GetShort(kDispBend), 5);
    c.driver.Put(kDispInputDataA, Variant(BStr::FromBytes(std::string("AB\0CD", 5))));
    EXPECT_EQ(c.object->Properties().InputData, "AB");
    EXPECT_EQ(c.GetShort(kDispTextOrBinary), 0);
}

} // namespace
