// Saving and loading the control: the defaults a new control starts with,
// round trips through a stream and a property bag, and hostile streams.
#include <gtest/gtest.h>

#include "ControlTesting.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/com/Persistence.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Files.h"
#include "support/Decoders.h"
#include "support/SymbolImages.h"
#include "support/TestPaths.h"
#include "support/TextEncodings.h"

using namespace lx;
using lxtest::TestControl;

namespace {

MemoryPropertyBag Saved(TestControl& c)
{
    MemoryPropertyBag bag;
    EXPECT_EQ(c.object->Save(static_cast<PropertyBag&>(bag), false), kOk);
    return bag;
}

// Saves `from` to a stream and loads it into `to`.
void CopyThroughStream(TestControl& from, TestControl& to)
{
    MemoryStream stream;
    ASSERT_EQ(from.object->Save(stream, false), kOk);
    stream.Seek(0);
    ASSERT_EQ(to.object->Load(stream), kOk);
}

TEST(ControlPersistence, DefaultsFollowThePrinter)
{
    TestControl noPrinter(std::nullopt);
    EXPECT_EQ(noPrinter.GetShort(kDispCellUnit), 2540);
    EXPECT_EQ(noPrinter.GetShort(kDispCellPitch), 50);
    TestControl printer; // 600 x 600 dpi
    EXPECT_EQ(printer.GetShort(kDispCellUnit), 600);
    EXPECT_EQ(printer.GetShort(kDispCellPitch), 12);
    DeviceInfo uneven = lxtest::Printer600();
    uneven.dpiY = 300;
    TestControl lower(uneven);
    EXPECT_EQ(lower.GetShort(kDispCellUnit), 300);
    EXPECT_EQ(lower.GetShort(kDispCellPitch), 6);
}

TEST(ControlPersistence, KeysInTheirOrder)
{
    TestControl c;
    const MemoryPropertyBag bag = Saved(c);
    std::string own; // the control's own keys follow the ones of the base
    for (const auto& [name, value] : bag.Entries())
        if (!own.empty() || name == "Color")
            own += name + " ";
    EXPECT_EQ(own,
              "Color Mirror CellForm Stretch CellPitch CellAdjust Unit ModelNo AutoRedraw QuietZone Rotate "
              "EccLevel Divide1 Divide2 TextOrBinary InputData Picture ThrowError MakeStatus ForeBColor "
              "ForeWColor GapAdjust BarHeight ChrDisplay ChkDigit CodeType NwRatio OptEANUPC OptITF OptSTF "
              "OptCODE128 OptPLESSEY QRversion MaxiCodeMode PDF417Model DmxModel PDF417Ecc PDF417Colum "
              "PDF417Row PDF417XYratio PDF417HWratio BarChrGap ");
}

TEST(ControlPersistence, StreamRoundTripKeepsEveryValue)
{
    TestControl a;
    a.Put(kDispCodeType, 16);
    a.Put(kDispPDF417Colum, 7);
    a.Put(kDispPDF417Ecc, 4);
    a.Put(kDispCellPitch, 9);
    a.Put(kDispCellAdjust, -3);
    a.Put(kDispRotate, 3);
    a.Put(kDispBarChrGap, 6);
    a.driver.Put(kDispNwRatio, Variant(2.75f));
    a.driver.Put(kDispForeBColor, Variant(std::int32_t{0x102030}));
    a.driver.Put(kDispInputDataB, Variant(BStr::FromBytes(std::string("\x00\xFF\x81", 3))));
    MemoryStream stream;
    ASSERT_EQ(a.object->Save(stream, true), kOk);
    EXPECT_FALSE(a.Dirty());

    TestControl b(std::nullopt);
    stream.Seek(0);
    ASSERT_EQ(b.object->Load(stream), kOk);
    EXPECT_EQ(stream.Position(), stream.Size());
    for (DispId id : {kDispCodeType, kDispPDF417Colum, kDispPDF417Ecc, kDispCellPitch, kDispCellAdjust, kDispRotate,
                      kDispBarChrGap, kDispCellUnit, kDispTextOrBinary, kDispNumCell})
        EXPECT_EQ(b.GetShort(id), a.GetShort(id)) << id;
    EXPECT_EQ(b.object->Properties().InputData, std::string("\x00\xFF\x81", 3));
    EXPECT_EQ(b.object->Properties().Pdf417Params, a.object->Properties().Pdf417Params);
    EXPECT_EQ(b.driver.Get(kDispNwRatio).AsFloat(), 2.75f);
    EXPECT_EQ(b.driver.Get(kDispForeBColor).AsInt32(), 0x102030);
    // The load encoded the symbol at once.
    ASSERT_GT(a.object->Symbol().NumCell, 0);
    EXPECT_EQ(b.object->Symbol().NumCell, a.object->Symbol().NumCell);
}

TEST(ControlPersistence, MissingValuesTakeTheirDefaultsAndAreNotValidated)
{
    TestControl source;
    source.Put(kDispBarChrGap, 7);
    MemoryPropertyBag bag = Saved(source);
    bag.Remove("BarChrGap");
    bag.Write("Rotate", Variant(std::int16_t{9})); // out of range: kept as loaded
    bag.Write("ModelNo", Variant::Text("1")); // converts
    TestControl c;
    ASSERT_EQ(c.object->Load(static_cast<const PropertyBag&>(bag)), kOk);
    EXPECT_EQ(c.GetShort(kDispBarChrGap), 1);
    EXPECT_EQ(c.GetShort(kDispRotate), 9);
    EXPECT_EQ(c.GetShort(kDispModelNo), 1);
}

TEST(ControlPersistence, ColoursLoadAsTheyCome)
{
    TestControl source;
    MemoryPropertyBag bag = Saved(source);
    bag.Write("ForeBColor", Variant(static_cast<std::int32_t>(0x80000008u)));
    TestControl c;
    c.object->Load(static_cast<const PropertyBag&>(bag));
    EXPECT_EQ(static_cast<std::uint32_t>(c.driver.Get(kDispForeBColor).AsInt32()), 0x80000008u);
}

TEST(ControlPersistence, PaintSavesStretchFalse)
{
    TestControl source;
    MemoryPropertyBag bag = Saved(source);
    bag.Write("Stretch", Variant(true));
    TestControl c;
    c.object->Load(static_cast<const PropertyBag&>(bag));
    EXPECT_TRUE(c.object->Properties().Stretch);
    Bitmap pixels(200, 200);
    RasterDeviceContext dc(pixels);
    EXPECT_EQ(c.object->Draw(dc, Rect{0, 0, 200, 200}), kOk);
    Variant stretch;
    ASSERT_TRUE(Saved(c).Read("Stretch", stretch));
    EXPECT_EQ(stretch, Variant(false));
}

TEST(ControlPersistence, ResetStateBringsDefaultsBackAndEmptiesThePicture)
{
    TestControl c;
    c.Put(kDispCodeType, 17);
    c.PutText("DATA");
    c.driver.Call(kDispIdRefresh);
    ASSERT_TRUE(c.driver.Get(kDispPicture).AsPicture());
    EXPECT_EQ(c.object->ResetState(), kOk);
    EXPECT_EQ(c.GetShort(kDispCodeType), 0);
    EXPECT_EQ(c.driver.Get(kDispInputData).AsString().ToCp932(), "QRCODE");
    EXPECT_FALSE(c.driver.Get(kDispPicture).AsPicture());
}

// The picture is the symbol as Refresh found it, whenever it is read or
// saved: later changes wait for the next Refresh.
TEST(ControlPersistence, PictureIsTheSymbolOfTheLastRefresh)
{
    const auto pictureBytes = [](TestControl& c) {
        const auto picture = c.driver.Get(kDispPicture).AsPicture();
        return picture && picture->GetGraphic() ? picture->GetGraphic()->SaveToBytes() : std::string();
    };
    TestControl first;
    first.PutText("FIRST");
    first.driver.Call(kDispIdRefresh);
    const std::string ofFirst = pictureBytes(first);
    TestControl second;
    second.PutText("SECOND, LONGER DATA");
    second.driver.Call(kDispIdRefresh);
    const std::string ofSecond = pictureBytes(second);
    ASSERT_NE(ofFirst, ofSecond);

    TestControl c;
    c.PutText("FIRST");
    c.driver.Call(kDispIdRefresh);
    c.PutText("SECOND, LONGER DATA");
    c.Put(kDispCodeType, 17);
    EXPECT_EQ(pictureBytes(c), ofFirst);
    EXPECT_EQ(c.GetShort(kDispCodeType), 17) << "the control itself has the new values";
    c.Put(kDispCodeType, 0);
    c.driver.Call(kDispIdRefresh);
    TestControl loaded;
    ASSERT_NO_FATAL_FAILURE(CopyThroughStream(c, loaded));
    EXPECT_EQ(pictureBytes(loaded), ofSecond);
}

TEST(ControlPersistence, HostileStreamIsRefusedAndTheControlKeepsItsValues)
{
    TestControl a;
    a.Put(kDispCodeType, 15);
    MemoryStream good;
    a.object->Save(good, false);
    const std::string bytes = good.Bytes();
    std::vector<std::string> hostile = {
        "",
        "LXPB",
        bytes.substr(0, bytes.size() - 1), // truncated
        "LXPB" + std::string("\xFF\xFF\xFF\x7F", 4), // absurd count
        "XXPB" + bytes.substr(4), // wrong magic
        "LXPB" + std::string("\x01\x00\x00\x00\x00", 5), // empty name
        "LXPB" +
            std::string("\x01\x00\x00\x00\x01"
                        "A"
                        "\x08\x00\xFF\xFF\xFF\xFF",
                        12), // string longer than the stream
        "LXPB" +
            std::string("\x01\x00\x00\x00\x01"
                        "A"
                        "\x4C\x50\x04\x00\x00\x00"
                        "JUNK",
                        16), // a picture that is none
        "LXPB" +
            std::string("\x01\x00\x00\x00\x01"
                        "A"
                        "\x0B\x00\x07",
                        8), // bool of 7
        "LXPB" +
            std::string("\x01\x00\x00\x00\x01"
                        "A"
                        "\x63\x00",
                        8), // unknown type
        "LXPB" +
            std::string("\x02\x00\x00\x00\x01"
                        "A"
                        "\x00\x00\x01"
                        "a"
                        "\x00\x00",
                        12), // duplicate name
    };
    for (const std::string& h : hostile) {
        TestControl c;
        c.Put(kDispCodeType, 17);
        MemoryStream stream(h);
        EXPECT_EQ(c.object->Load(stream), kReadFault) << h.size();
        EXPECT_EQ(c.GetShort(kDispCodeType), 17);
    }
}

// States the earlier release saved hold their strings as CP932 bytes.
struct EarlierState {
    const char* file;
    const char* inputData; // UTF-8
};

const EarlierState kEarlierStates[] = {
    {"earlier-qr-ascii.stream", "QRCODE-ABC123"},
    {"earlier-qr-japanese.stream", "会員番号12345 テスト"},
};

std::string EarlierBytes(const EarlierState& state)
{
    return ReadFileBytes(lxtest::SourcePath(std::string("tests/symbol/control/data/") + state.file));
}

// The symbol as the designer takes it (the clipboard's enhanced metafile),
// played at one pixel a unit and read by zxing. Unlike the control's own
// paint, this leaves the painters' text face alone.
lxtest::Decoded CopiedSymbol(TestControl& c)
{
    const Size extent = c.object->GetSymbolExtent();
    EXPECT_GT(c.driver.Call(kDispQrImageCopy, {Variant(std::int16_t{1})}).AsInt16(), 0);
    const std::optional<EnhMetafile> emf = Clipboard::GetEnhMetafile();
    if (!emf)
        return {};
    Bitmap pixels(extent.cx, extent.cy);
    {
        RasterDeviceContext dc(pixels);
        PlayEnhMetafile(dc, *emf, Rect{0, 0, extent.cx, extent.cy});
    }
    return lxtest::DecodeSymbol(pixels, ZXing::BarcodeFormat::QRCode);
}

TEST(ControlEarlierStates, LoadTheirTextDrawItAndAreSavedInTheSameForm)
{
    for (const EarlierState& state : kEarlierStates) {
        SCOPED_TRACE(state.file);
        const std::string bytes = EarlierBytes(state);
        TestControl c;
        MemoryStream stream(bytes);
        ASSERT_EQ(c.object->Load(stream), kOk);
        EXPECT_EQ(stream.Position(), stream.Size());
        EXPECT_EQ(c.object->Properties().InputData, lxtest::Iconv(state.inputData, "CP932"));
        EXPECT_EQ(c.driver.Get(kDispInputData).AsString().ToUtf8(), state.inputData);
        EXPECT_EQ(c.object->FontName(), lxtest::Iconv("ＭＳ ゴシック", "CP932"));
        EXPECT_EQ(c.GetShort(kDispMakeStatus), 0);

        // Saved again, the state is the bytes the earlier release wrote, so
        // that release reads what this one saves; and this one reads it back.
        MemoryStream saved;
        ASSERT_EQ(c.object->Save(saved, false), kOk);
        EXPECT_TRUE(saved.Bytes() == bytes);
        const lxtest::Decoded decoded = CopiedSymbol(c);
        EXPECT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.text, state.inputData);
        TestControl back;
        saved.Seek(0);
        ASSERT_EQ(back.object->Load(saved), kOk);
        EXPECT_EQ(back.object->Properties().InputData, c.object->Properties().InputData);
        EXPECT_EQ(back.object->FontName(), c.object->FontName());
    }
}

// A string stored as UTF-16 under its own type reads as text; one of an odd
// byte length, or a state cut short anywhere, is refused and the control
// keeps what it held.
TEST(ControlEarlierStates, Utf16StringsReadAndBrokenStatesAreRefused)
{
    const std::string bytes = EarlierBytes(kEarlierStates[1]);
    const std::string cp932Entry =
        std::string("\x09InputData\x08\x00\x14\x00\x00\x00", 16) + lxtest::Iconv(kEarlierStates[1].inputData, "CP932");
    const std::size_t at = bytes.find(cp932Entry);
    ASSERT_NE(at, std::string::npos);
    const auto withInputData = [&](const std::string& entry) {
        return bytes.substr(0, at) + entry + bytes.substr(at + cp932Entry.size());
    };
    const std::string units = lxtest::Iconv("会員", "UTF-16LE");
    const std::string utf16Entry = std::string("\x09InputData\x55\x4C\x04\x00\x00\x00", 16) + units;
    TestControl wide;
    MemoryStream utf16(withInputData(utf16Entry));
    ASSERT_EQ(wide.object->Load(utf16), kOk);
    EXPECT_EQ(wide.object->Properties().InputData, lxtest::Iconv("会員", "CP932"));
    EXPECT_EQ(CopiedSymbol(wide).text, "会員");

    std::vector<std::string> broken;
    broken.push_back(withInputData(std::string("\x09InputData\x55\x4C\x03\x00\x00\x00", 16) + units.substr(0, 3)));
    for (std::size_t n = 0; n < bytes.size(); ++n)
        broken.push_back(bytes.substr(0, n));
    for (const std::string& state : broken) {
        TestControl c;
        c.PutText("KEPT");
        MemoryStream stream(state);
        EXPECT_EQ(c.object->Load(stream), kReadFault) << state.size();
        EXPECT_EQ(c.object->Properties().InputData, "KEPT");
    }
}

// States saved while the control wrote UTF-16 under the string type load
// with their text, and are saved again in the form the earlier release reads.
// Bytes with a NUL never go under that type, so nothing saved now reads as
// that UTF-16.
TEST(ControlEarlierStates, StatesWithUtf16UnderTheStringTypeLoadTheirText)
{
    for (const EarlierState& state : {EarlierState{"utf16-string-qr-ascii.stream", "QRCODE-ABC123"},
                                      EarlierState{"utf16-string-qr-japanese.stream", "会員番号12345 テスト"}}) {
        SCOPED_TRACE(state.file);
        TestControl c;
        MemoryStream stream(EarlierBytes(state));
        ASSERT_EQ(c.object->Load(stream), kOk);
        EXPECT_EQ(c.object->Properties().InputData, lxtest::Iconv(state.inputData, "CP932"));
        EXPECT_EQ(c.object->FontName(), "Arial");
        EXPECT_EQ(CopiedSymbol(c).text, state.inputData);
        MemoryStream saved;
        ASSERT_EQ(c.object->Save(saved, false), kOk);
        EXPECT_NE(saved.Bytes().find(lxtest::Iconv(state.inputData, "CP932")), std::string::npos);
    }
    // Data with a NUL and with control characters (a MaxiCode message) keeps
    // its bytes through a save and a load.
    for (const std::string& data : {std::string("A\0B\0", 4),
                                    std::string("[)>\x1e"
                                                "01\x1d"
                                                "96\x1e\x04",
                                                11)}) {
        TestControl c;
        c.Put(kDispTextOrBinary, 1);
        c.PutText(data);
        MemoryStream saved;
        ASSERT_EQ(c.object->Save(saved, false), kOk);
        TestControl back;
        saved.Seek(0);
        ASSERT_EQ(back.object->Load(saved), kOk);
        EXPECT_EQ(back.object->Properties().InputData, data);
    }
}

} // namespace

// Another host writes text properties as ordinary strings; the control reads
// them as text and writes them so, and its own round trip keeps any bytes.
TEST(ControlPersistence, TextPropertiesAreOrdinaryStrings)
{
    TestControl source;
    source.Put(kDispCodeType, kCodeCode39);
    source.driver.Put(kDispInputData, Variant::Text("ABC"));
    const std::int16_t encodedStatus = source.GetShort(kDispMakeStatus);
    ASSERT_GE(encodedStatus, 0);
    source.driver.Put(kDispInputData, Variant::Text("X"));
    MemoryPropertyBag bag = Saved(source);
    bag.Write("InputData", Variant(BStr::FromUtf16(u"ABC")));
    bag.Write("Font", Variant(BStr::FromUtf16(u"ＭＳ ゴシック")));
    TestControl c;
    ASSERT_EQ(c.object->Load(static_cast<const PropertyBag&>(bag)), kOk);
    EXPECT_EQ(c.object->Properties().InputData, "ABC");
    EXPECT_EQ(c.GetShort(kDispMakeStatus), encodedStatus);
    EXPECT_EQ(c.object->FontName(), lxtest::Iconv("ＭＳ ゴシック", "CP932"));

    c.driver.Put(kDispInputData, Variant::Text(lxtest::Iconv("髙橋①", "CP932")));
    Variant stored;
    ASSERT_TRUE(Saved(c).Read("InputData", stored));
    EXPECT_EQ(stored.AsString().ToUtf8(), "髙橋①");

    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    c.driver.Put(kDispInputDataB, Variant(BStr::FromBytes(everyByte + "\x81")));
    TestControl back;
    ASSERT_EQ(back.object->Load(static_cast<const PropertyBag&>(Saved(c))), kOk);
    EXPECT_EQ(back.object->Properties().InputData, everyByte + "\x81");
}
