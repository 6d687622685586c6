// Symbols as the printer gets them: each kind placed on a label cell,
// rendered at 600 dpi and read back by zxing-cpp (STF, which zxing does not
// read, and the postal barcode by readers of their own here).
#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelQRCarry.h"

#include "designer/model/MatrixelPro.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/BitmapImage.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Cp932.h"

#include "LabelTestSupport.h"
#include "SymbolTesting.h"
#include "support/PostalBars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace lx;
using ZXing::BarcodeFormat;

namespace {

// The control's pictures are made at the printer's 600 dpi: one picture
// pixel to one printer pixel. The postal picture is made on the screen and
// is enlarged 6 times.
constexpr double kPrinterPixelMm = 25.4 / 600;
constexpr double kMargin = 5.0;

// Places the object (its box fitted to its picture) on a cell of its own and
// renders the cell as printed.
Bitmap RenderOnLabel(std::unique_ptr<TLxLableObjectBase> object, const Picture& picture, int scale = 1)
{
    const double width = std::max(picture.Width(), 1) * kPrinterPixelMm * scale;
    const double height = std::max(picture.Height(), 1) * kPrinterPixelMm * scale;
    object->SetLeft(kMargin);
    object->SetTop(kMargin);
    object->SetWidth(width);
    object->SetHeight(height);
    static const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, width + 2 * kMargin, height + 2 * kMargin, 0);
    list.AddObject(std::move(object), false);
    return lxtest::RenderCell(list, true);
}

// Until the control's painters are part of the build its symbols are blank.
bool ControlDrawsSymbols()
{
    TLxLabelObjectBarcode probe;
    return !lxtest::FindInk(lxtest::PictureBitmap(probe.GetRenderedPicture())).Empty();
}

#define SKIP_WITHOUT_PAINTERS()                                                                                        \
    if (!ControlDrawsSymbols())                                                                                        \
    GTEST_SKIP() << "the control of this build draws no symbols"

// A symbol of the kind with these settings, as its cell prints it.
Bitmap PrintedSymbol(std::int32_t kind, const std::function<void(TLxLabelObjectBarcode&)>& set)
{
    auto symbol = std::make_unique<TLxLabelObjectBarcode>();
    symbol->SetSymbolKind(kind);
    set(*symbol);
    symbol->UpdateSymbol();
    const Picture picture = symbol->GetRenderedPicture();
    return RenderOnLabel(std::move(symbol), picture);
}

lxtest::Decoded Decode(const Bitmap& cell, ZXing::BarcodeFormats formats)
{
    lxtest::Decoded decoded = lxtest::ZxingDecode(lxtest::GreyOf(cell), formats, false);
    return decoded.ok ? decoded : lxtest::DecodeSymbol(lxtest::CropInk(cell), formats);
}

// Standard 2 of 5 read from the widths of the bars across the middle row:
// five bars a digit, two of them wide (weights 1, 2, 4, 7, parity; 4 + 7 is 0).
std::string ReadStf(const Bitmap& cell)
{
    const lxtest::InkBox ink = lxtest::FindInk(cell);
    const int y = ink.top + ink.Height() / 3;
    std::vector<int> bars;
    for (int x = ink.left, span = 0; x <= ink.right + 1; ++x) {
        const bool dark = x <= ink.right && lxtest::IsInk(cell.Pixel(x, y));
        if (dark)
            ++span;
        else if (span > 0)
            bars.push_back(std::exchange(span, 0));
    }
    if (bars.size() < 5)
        return "?";
    const auto [narrow, wide] = std::minmax_element(bars.begin(), bars.end());
    const int threshold = (*narrow + *wide) / 2;
    const std::size_t guard = (bars.size() - 6) % 5 == 0 ? 3 : 2;
    std::string digits;
    for (std::size_t i = guard; i + 5 <= bars.size() - guard; i += 5) {
        static constexpr int kWeights[] = {1, 2, 4, 7, 0};
        int value = 0;
        for (int k = 0; k < 5; ++k)
            value += bars[i + k] > threshold ? kWeights[k] : 0;
        digits += static_cast<char>('0' + (value == 11 ? 0 : value));
    }
    return digits;
}

struct SymbolCase {
    const char* name;
    std::int32_t kind;
    std::function<void(TLxLabelObjectBarcode&)> set;
    BarcodeFormat format;
    std::string text;
};

// One symbol of every kind, with the data it must read back as.
std::vector<SymbolCase> EveryKind()
{
    return {
        {"QR", SymbolQr, [](auto& s) { s.SetModel(2), s.SetEccLevel(2), s.SetData("HELLO LABEL 123"); },
         BarcodeFormat::QRCode, "HELLO LABEL 123"},
        {"EAN-13", SymbolEan13, [](auto& s) { s.SetData("490123456789"); }, BarcodeFormat::EAN13, "4901234567894"},
        {"EAN-8", SymbolEan8, [](auto& s) { s.SetData("4901234"); }, BarcodeFormat::EAN8, "49012347"},
        {"UPC-A", SymbolUpcA, [](auto& s) { s.SetData("01234567890"); }, BarcodeFormat::UPCA, "012345678905"},
        {"Codabar", SymbolCodabar,
         [](auto& s) { s.SetStartChar("A"), s.SetStopChar("B"), s.SetCheckDigit(0), s.SetData("40156"); },
         BarcodeFormat::Codabar, "40156"},
        {"ITF", SymbolItf, [](auto& s) { s.SetCheckDigit(0), s.SetData("12345678"); }, BarcodeFormat::ITF, "12345678"},
        {"Code39", SymbolCode39, [](auto& s) { s.SetCheckDigit(0), s.SetData("ABC-123"); }, BarcodeFormat::Code39,
         "ABC-123"},
        {"Code128", SymbolCode128, [](auto& s) { s.SetStartChar("B"), s.SetData("Label 128"); }, BarcodeFormat::Code128,
         "Label 128"},
        {"EAN-128", SymbolEan128, [](auto& s) { s.SetStartChar("C"), s.SetData("0104912345123459"); },
         BarcodeFormat::Code128, "0104912345123459"},
        {"MaxiCode", SymbolMaxiCode, [](auto& s) { s.SetMaxiCodeMode(3), s.SetData("MAXICODE LABEL"); },
         BarcodeFormat::MaxiCode, "MAXICODE LABEL"},
        {"PDF417", SymbolPdf417, [](auto& s) { s.SetModel(1), s.SetData("PDF417 LABEL"); }, BarcodeFormat::PDF417,
         "PDF417 LABEL"},
        {"DataMatrix", SymbolDataMatrix, [](auto& s) { s.SetModel(1), s.SetData("DATAMATRIX 13"); },
         BarcodeFormat::DataMatrix, "DATAMATRIX 13"},
        {"DataMatrix rectangular", SymbolDataMatrix, [](auto& s) { s.SetModel(2), s.SetData("RECT"); },
         BarcodeFormat::DataMatrix, "RECT"},
    };
}

// The pixels the control's metafile gives when it is played at its own size
// into a bitmap a pixel narrower and lower.
Bitmap MetafilePixels(TMatrixelPro& control)
{
    const PrivateClipboard inProcess;
    control.QrImageCopy(1);
    const std::optional<EnhMetafile> metafile = Clipboard::GetEnhMetafile();
    if (!metafile)
        return {};
    const Size size = metafile->PixelSize();
    Bitmap pixels(size.cx - 1, size.cy - 1);
    RasterDeviceContext canvas(pixels);
    PlayEnhMetafile(canvas, *metafile, Rect{0, 0, size.cx, size.cy});
    return pixels;
}

} // namespace

TEST(SymbolOnLabel, EveryKindDecodesToItsData)
{
    SKIP_WITHOUT_PAINTERS();
    for (const SymbolCase& c : EveryKind()) {
        SCOPED_TRACE(c.name);
        const lxtest::Decoded decoded = Decode(PrintedSymbol(c.kind, c.set), c.format);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.format, c.format);
        EXPECT_EQ(decoded.text, c.text);
    }
}

// Symbols of two colours are kept as spans; they must hold the very pixels
// their metafile gives on a bitmap, as every other symbol does.
TEST(SymbolOnLabel, EveryKindHoldsThePixelsOfItsMetafile)
{
    SKIP_WITHOUT_PAINTERS();
    std::vector<std::string> keptAsSpans;
    for (const SymbolCase& c : EveryKind()) {
        SCOPED_TRACE(c.name);
        TLxLabelObjectBarcode symbol;
        symbol.SetSymbolKind(c.kind);
        c.set(symbol);
        symbol.UpdateSymbol();
        TMatrixelPro control;
        control.SetInputData(ApplySymbolOptions(control, symbol.GetSettings(), symbol.GetSettings().Data));
        control.SetChkDigit(symbol.GetSettings().CheckDigit);
        control.Refresh();
        const Picture picture = symbol.GetRenderedPicture();
        EXPECT_EQ(lxtest::PictureBitmap(picture), MetafilePixels(control));
        if (picture.Spans())
            keptAsSpans.push_back(c.name);
    }
    // Linear symbols carry their text, which spans cannot hold.
    EXPECT_EQ(keptAsSpans,
              (std::vector<std::string>{"QR", "MaxiCode", "PDF417", "DataMatrix", "DataMatrix rectangular"}));
}

TEST(SymbolOnLabel, UpcEAndStfReadBack)
{
    SKIP_WITHOUT_PAINTERS();
    const lxtest::Decoded decoded =
        Decode(PrintedSymbol(SymbolUpcE, [](auto& s) { s.SetData("123456"); }), BarcodeFormat::UPCE);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    // Number system 0, the six digits, the check digit of 01234500006.
    EXPECT_EQ(decoded.text, "01234565");

    EXPECT_EQ(ReadStf(PrintedSymbol(SymbolStf, [](auto& s) { s.SetData("1234567"), s.SetCheckDigit(0); })), "1234567");
}

TEST(SymbolOnLabel, MobileQrPayloadsDecodeByteForByte)
{
    SKIP_WITHOUT_PAINTERS();
    struct Case {
        std::int32_t carrier, createType;
        std::function<void(TLxLabelObjectQRCarry&)> set;
        std::string payload;
    };
    const Case cases[] = {
        {0, 0, [](auto& q) { q.SetPersonName(Sjis("山田,太郎")), q.SetTel1("0312345678"); },
         "MECARD:N:" + Sjis("山田,太郎") + ";SOUND:;TEL:0312345678;TEL-AV:;EMAIL:;NOTE:;BDAY:;ADR:;URL:;NICKNAME:;;"},
        {0, 1, [](auto& q) { q.SetSiteName("Label"), q.SetSiteUrl("http://example.com/"); },
         "MEBKM:TITLE:Label;URL:http://example.com/;;"},
        {1, 1, [](auto& q) { q.SetToMail("a@example.com"), q.SetSubject("S"), q.SetBody("one\r\ntwo"); },
         "MAILTO:a@example.com\r\nBODY:onetwo\r\nSUBJECT:S\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payload);
        auto qr = std::make_unique<TLxLabelObjectQRCarry>();
        qr->SetCarrier(c.carrier);
        qr->SetCreateType(c.createType);
        c.set(*qr);
        qr->UpdateSymbol();
        const Picture picture = qr->GetRenderedPicture();
        const lxtest::Decoded decoded = Decode(RenderOnLabel(std::move(qr), picture), BarcodeFormat::QRCode);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.bytes, c.payload);
    }
}

TEST(SymbolOnLabel, MergeSymbolsPrintTheRowOfTheirRecord)
{
    SKIP_WITHOUT_PAINTERS();
    const auto csv = lxtest::MakeCsv({"A-0001,Taro", "B-0002,Hanako"});
    for (std::int32_t record : {0, 1}) {
        SCOPED_TRACE(record);
        auto symbol = std::make_unique<TLxLabelObjectCsvBarcode>(csv, record);
        symbol->SetSymbolKind(SymbolCode128);
        symbol->SetStartChar("B");
        symbol->SetDataColumn(1);
        const Picture picture = symbol->GetPicture();
        const lxtest::Decoded code = Decode(RenderOnLabel(std::move(symbol), picture), BarcodeFormat::Code128);
        ASSERT_TRUE(code.ok) << code.error;
        EXPECT_EQ(code.text, record == 0 ? "A-0001" : "B-0002");

        auto qr = std::make_unique<TLxLabelObjectCsvQRCarry>(csv, record);
        qr->SetCarrier(1);
        qr->SetCreateType(2);
        qr->SetContentsColumn(2);
        const Picture qrPicture = qr->GetPicture();
        const lxtest::Decoded text = Decode(RenderOnLabel(std::move(qr), qrPicture), BarcodeFormat::QRCode);
        ASSERT_TRUE(text.ok) << text.error;
        EXPECT_EQ(text.bytes, record == 0 ? "Taro" : "Hanako");
    }
}

TEST(SymbolOnLabel, PostalBarsFollowThePublishedRules)
{
    // The published examples: postal code and address number, a letter as a
    // control code (A to C for CC1 to CC3) and a digit, filled with CC4 (D) or
    // cut to 20 symbols, and the check symbol.
    struct Case {
        const char* zip;
        const char* address;
        const char* bars;
    };
    const Case cases[] = {
        {"100-0013", "東京都千代田区霞が関1丁目3番2号 郵便プラザ503室", "(10000131-3-2-503DDDD9)"},
        {"263-0023", "千葉市稲毛区緑町3丁目30-8 郵便ビル403号", "(26300233-30-8-403DDD5)"},
        {"910-0067", "福井県福井市新田塚3丁目80-25 J1ビル2-B", "(91000673-80-25A91-2A9)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const auto csv = lxtest::MakeCsv({std::string(c.zip) + "," + Sjis(c.address)});
        auto symbol = std::make_unique<TLxLabelObjectCsvBarcode>(csv, 0);
        symbol->SetSymbolKind(SymbolPostal);
        symbol->SetZipColumn(1);
        symbol->SetAddressColumn(2);
        const Picture picture = symbol->GetPicture();
        ASSERT_FALSE(picture.Empty());
        const Bitmap cell = RenderOnLabel(std::move(symbol), picture, 6);
        EXPECT_EQ(lxtest::ReadPostalBars(lxtest::CropInk(cell)).bars, lxtest::ExpectedPostalBars(c.bars));
    }
}
