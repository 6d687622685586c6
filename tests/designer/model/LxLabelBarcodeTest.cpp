// The symbol object against the real control: what each kind sends it and in
// which order, the picture it takes back in process, its record, its
// clones and its failures.
#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxObjectFactory.h"

#include "designer/model/MatrixelPro.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/image/BitmapImage.h"
#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"
#include "SymbolTesting.h"
#include "support/PostalBars.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace lx;
using lxtest::Hex;

namespace {

const lxtest::ControlCalls kRenderTail = {"ChkDigit=1", "Refresh", "QrImageCopy(1)"};

lxtest::ControlCalls Concat(lxtest::ControlCalls a, const lxtest::ControlCalls& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(SymbolObject, NewObjectRendersTheDefaultSymbolForOneBlank)
{
    lxtest::ControlRecorder recorder;
    const TLxLabelObjectBarcode symbol;
    EXPECT_EQ(recorder.Calls(), Concat({"EccLevel=1", "ModelNo=1", "CodeType=0", "InputData= "}, kRenderTail));
    EXPECT_EQ(symbol.GetRenderedPicture().GetGraphic()->ClassName(), "TBitmap");
    EXPECT_FALSE(symbol.GetRenderedPicture().Empty());
}

TEST(SymbolObject, EachKindSetsItsOptionsThenCodeTypeThenData)
{
    struct Case {
        std::int32_t kind;
        std::function<void(TLxLabelObjectBarcode&)> set;
        lxtest::ControlCalls options;
        std::string data;
    };
    const Case cases[] = {
        {0,
         [](auto& s) { s.SetEccLevel(3), s.SetModel(2), s.SetData("X"); },
         {"EccLevel=3", "ModelNo=2", "CodeType=0"},
         "X"},
        {5, [](auto& s) { s.SetStartChar("A"), s.SetStopChar("B"), s.SetData("123"); }, {"CodeType=5"}, "A123B"},
        {6, [](auto& s) { s.SetBearerBar(1), s.SetData("1234"); }, {"OptITF=1", "CodeType=6"}, "1234"},
        // StartChar is no data for CODE128; the code-set letter the editor
        // stores there is the one the control gets.
        {9, [](auto& s) { s.SetStartChar("B"), s.SetData("x"); }, {"OptCODE128=1", "CodeType=10"}, "x"},
        {9, [](auto& s) { s.SetCodeSet(2), s.SetData("12"); }, {"OptCODE128=2", "CodeType=10"}, "12"},
        {10, [](auto& s) { s.SetData("12"); }, {"OptCODE128=0", "CodeType=11"}, "12"},
        {11, [](auto& s) { s.SetData("M"); }, {"MaxiCodeMode=0", "CodeType=15"}, "M"},
        {12, [](auto& s) { s.SetModel(3), s.SetData("P"); }, {"PDF417Model=3", "CodeType=16"}, "P"},
        {13, [](auto& s) { s.SetModel(2), s.SetData("D"); }, {"DmxModel=2", "CodeType=17"}, "D"},
        {15, [](auto& s) { s.SetData("?"); }, {}, "?"}, // no kind: the control keeps its code type
        {0, [](auto& s) { s.SetData(""); }, {"EccLevel=1", "ModelNo=1", "CodeType=0"}, " "},
    };
    lxtest::ControlRecorder recorder;
    TLxLabelObjectBarcode symbol;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        symbol.SetSettings(SymbolSettings{});
        symbol.SetSymbolKind(c.kind);
        c.set(symbol);
        recorder.Clear();
        symbol.UpdateSymbol();
        EXPECT_EQ(recorder.Calls(), Concat(Concat(c.options, {"InputData=" + c.data}), kRenderTail));
    }
}

TEST(SymbolObject, PictureComesInProcessOnePixelInsideTheControlsMetafileAndTheUsersClipboardStays)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("ユーザーの文字"));
    TLxLabelObjectBarcode symbol;
    symbol.SetModel(2);
    symbol.SetData("HELLO");
    symbol.UpdateSymbol();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ユーザーの文字"));
    EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
    // A host program's copy of the same symbol still goes to the clipboard.
    TMatrixelPro control;
    control.SetModelNo(2);
    control.SetInputData("HELLO");
    control.Refresh();
    EXPECT_GT(control.QrImageCopy(1), 0);
    const std::optional<EnhMetafile> metafile = Clipboard::GetEnhMetafile();
    ASSERT_TRUE(metafile);
    const Size size = metafile->PixelSize();
    EXPECT_GT(size.cx, 21);
    EXPECT_EQ(symbol.GetRenderedPicture().Width(), size.cx - 1);
    EXPECT_EQ(symbol.GetRenderedPicture().Height(), size.cy - 1);
}

TEST(SymbolObject, FailedRenderLeavesAnEmptyBitmapStoredAsNothing)
{
    lxtest::ControlRecorder recorder;
    TLxLabelObjectBarcode symbol;
    ASSERT_FALSE(symbol.GetRenderedPicture().Empty());
    // The control refuses letters for EAN-13 and leaves the clipboard empty.
    symbol.SetSymbolKind(SymbolEan13);
    symbol.SetData("ABC");
    symbol.UpdateSymbol();
    EXPECT_TRUE(symbol.GetRenderedPicture().Empty());
    EXPECT_EQ(symbol.GetRenderedPicture().GetGraphic()->ClassName(), "TBitmap");
    const std::string own = lxtest::OwnPart(symbol);
    EXPECT_EQ(own.substr(own.size() - 4), std::string(4, '\0'));
    EXPECT_TRUE(lxtest::Reloaded<TLxLabelObjectBarcode>(lxtest::SavedBytes(symbol))->GetRenderedPicture().Empty());

    // A failing call of the control ends the same way, without a message.
    symbol.SetSymbolKind(SymbolQr);
    symbol.UpdateSymbol();
    ASSERT_FALSE(symbol.GetRenderedPicture().Empty());
    recorder.FailNext("Refresh", 1);
    symbol.UpdateSymbol();
    EXPECT_TRUE(symbol.GetRenderedPicture().Empty());
}

TEST(SymbolObject, OwnPartLayout)
{
    MemoryStream stream;
    WriteSymbolOwnPart(SymbolSettings{}, Picture(), stream);
    // Kind, empty data, model, level, two empty texts, bearer bar, code set,
    // MaxiCode mode, two empty texts, check digit, the kind twice: 56 bytes;
    // then the empty picture.
    EXPECT_EQ(Hex(stream.Bytes()),
              "00 00 00 00 00 00 00 00 01 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 "
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 "
              "00 00 00 00 00 00 00 00 00 00 00 00");

    // The last of the three kinds is the one kept.
    std::string record = stream.Bytes();
    record[0] = 2, record[48] = 2, record[52] = 7;
    MemoryStream input(record);
    SymbolSettings read;
    Picture picture;
    ReadSymbolOwnPart(input, read, picture);
    EXPECT_EQ(read.SymbolKind, 7);
    EXPECT_EQ(input.Remaining(), 0u);
}

TEST(SymbolObject, RecordAndCloneKeepEverySettingAndThePicture)
{
    TLxLabelObjectBarcode symbol;
    symbol.SetSettings({12, Sjis("データ"), 3, 2, "A", "B", 1, 2, 3, Sjis("123-4567"), Sjis("東京都1-2"), 0});
    symbol.UpdateSymbol();
    symbol.SetNotPrint(1);
    symbol.SetSelected(1);
    lxtest::ExpectRoundTrips(symbol);
    lxtest::ExpectCloneRendersOnceOnItsOwnControl(symbol);
}

TEST(SymbolObject, LoadingShowsTheStoredPictureAndLeavesTheClipboard)
{
    TLxLabelObjectBarcode source;
    source.SetPicture([] {
        Picture p;
        p.SetBitmap(Bitmap(3, 2, 0xFF000000));
        return p;
    }());
    const std::string record = lxtest::SavedBytes(source);

    TLxLabelObjectBarcode loaded;
    Clipboard clipboard;
    ASSERT_TRUE(clipboard.Open());
    clipboard.Empty();
    ASSERT_TRUE(clipboard.SetBitmap(Bitmap(1, 1, 0xFF00FF00)));
    clipboard.Close();
    MemoryStream stream(record);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(lxtest::PictureBitmap(loaded.GetRenderedPicture()), Bitmap(3, 2, 0xFF000000));
    EXPECT_FALSE(Clipboard::HasFormat(ClipboardFormat::EnhMetafile));
    EXPECT_EQ(Clipboard::GetBitmap(), Bitmap(1, 1, 0xFF00FF00));
}

TEST(SymbolObject, WithoutAControlNoObjectIsMade)
{
    const lxtest::NoControl none;
    EXPECT_THROW(TLxLabelObjectBarcode(), Error);
    EXPECT_THROW(CreateLabelObject(KindBarcode, nullptr, -1), Error);
    const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, 50, 30, 0);
    list.AddString();
    EXPECT_THROW(list.AddBarcode(), Error);
    EXPECT_EQ(list.GetObjectCount(), 1);
    // Finding an object's kind never makes a symbol object.
    EXPECT_EQ(KindOfClass(*list.GetObject(0)), KindString);
}

TEST(SymbolObject, PostalKindDrawsTheBarStringWithoutTheControl)
{
    lxtest::ControlRecorder recorder;
    TLxLabelObjectBarcode symbol;
    symbol.SetSymbolKind(SymbolPostal);
    symbol.SetZipCode("100-0013");
    symbol.SetAddress(Sjis("東京都千代田区霞が関1丁目3番2号 郵便プラザ503室"));
    recorder.Clear();
    symbol.UpdateSymbol();
    EXPECT_TRUE(recorder.Calls().empty());
    const Bitmap bars = lxtest::PictureBitmap(symbol.GetRenderedPicture());
    EXPECT_EQ(lxtest::ReadPostalBars(bars).bars, lxtest::ExpectedPostalBars("(10000131-3-2-503DDDD9)"));
    symbol.SetZipCode("100-001"); // refused by GetCBarString
    symbol.UpdateSymbol();
    EXPECT_TRUE(symbol.GetRenderedPicture().Empty());
}
