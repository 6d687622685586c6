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

lxtest::Decoded Decode(const Bitmap& cell, ZXing::BarcodeFormats formats)
{
    lxtest::Decoded decoded = lxtest::ZxingDecode(lxtest::GreyOf(cell), formats, false);
    return decoded.ok ? decoded : lxtest::DecodeSymbol(lxtest::CropInk(cell), formats);
}

std::string WithEanCheckDigit(const std::string& digits)
{
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i)
        sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
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
    std::function<void(TLxLabelObjectBarcode&)> set;
    BarcodeFormat format;
    std::string text;
};

// One symbol of every kind, with the data it must read back as.
std::vector<std::pair<SymbolCase, std::int32_t>> EveryKind()
{
    const SymbolCase cases[] = {
        {"QR", [](auto& s) { s.SetModel(2), s.SetEccLevel(2), s.SetData("HELLO LABEL 123"); }, BarcodeFormat::QRCode,
         "HELLO LABEL 123"},
        {"EAN-13", [](auto& s) { s.SetData("490123456789"); }, BarcodeFormat::EAN13, WithEanCheckDigit("490123456789")},
        {"EAN-8", [](auto& s) { s.SetData("4901234"); }, BarcodeFormat::EAN8, WithEanCheckDigit("4901234")},
        {"UPC-A", [](auto& s) { s.SetData("01234567890"); }, BarcodeFormat::UPCA, WithEanCheckDigit("01234567890")},
        {"Codabar", [](auto& s) { s.SetStartChar("A"), s.SetStopChar("B"), s.SetCheckDigit(0), s.SetData("40156"); },
         BarcodeFormat::Codabar, "40156"},
        {"ITF", [](auto& s) { s.SetCheckDigit(0), s.SetData("12345678"); }, BarcodeFormat::ITF, "12345678"},
        {"Code39", [](auto& s) { s.SetCheckDigit(0), s.SetData("ABC-123"); }, BarcodeFormat::Code39, "ABC-123"},
        {"Code128", [](auto& s) { s.SetStartChar("B"), s.SetData("Label 128"); }, BarcodeFormat::Code128, "Label 128"},
        {"EAN-128", [](auto& s) { s.SetStartChar("C"), s.SetData("0104912345123459"); }, BarcodeFormat::Code128,
         "0104912345123459"},
        {"MaxiCode", [](auto& s) { s.SetMaxiCodeMode(3), s.SetData("MAXICODE LABEL"); }, BarcodeFormat::MaxiCode,
         "MAXICODE LABEL"},
        {"PDF417", [](auto& s) { s.SetModel(1), s.SetData("PDF417 LABEL"); }, BarcodeFormat::PDF417, "PDF417 LABEL"},
        {"DataMatrix", [](auto& s) { s.SetModel(1), s.SetData("DATAMATRIX 13"); }, BarcodeFormat::DataMatrix,
         "DATAMATRIX 13"},
        {"DataMatrix rectangular", [](auto& s) { s.SetModel(2), s.SetData("RECT"); }, BarcodeFormat::DataMatrix,
         "RECT"},
    };
    const std::int32_t kinds[] = {SymbolQr,     SymbolEan13,      SymbolEan8,      SymbolUpcA,   SymbolCodabar,
                                  SymbolItf,    SymbolCode39,     SymbolCode128,   SymbolEan128, SymbolMaxiCode,
                                  SymbolPdf417, SymbolDataMatrix, SymbolDataMatrix};
    std::vector<std::pair<SymbolCase, std::int32_t>> all;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        all.emplace_back(cases[i], kinds[i]);
    return all;
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
    for (const auto& [c, kind] : EveryKind()) {
        SCOPED_TRACE(c.name);
        auto symbol = std::make_unique<TLxLabelObjectBarcode>();
        symbol->SetSymbolKind(kind);
        c.set(*symbol);
        symbol->UpdateSymbol();
        ASSERT_FALSE(symbol->GetRenderedPicture().Empty());
        const Picture picture = symbol->GetRenderedPicture();
        const lxtest::Decoded decoded = Decode(RenderOnLabel(std::move(symbol), picture), c.format);
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
    for (const auto& [c, kind] : EveryKind()) {
        SCOPED_TRACE(c.name);
        TLxLabelObjectBarcode symbol;
        symbol.SetSymbolKind(kind);
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
    auto upcE = std::make_unique<TLxLabelObjectBarcode>();
    upcE->SetSymbolKind(SymbolUpcE);
    upcE->SetData("123456");
    upcE->UpdateSymbol();
    const Picture upcPicture = upcE->GetRenderedPicture();
    const lxtest::Decoded decoded = Decode(RenderOnLabel(std::move(upcE), upcPicture), BarcodeFormat::UPCE);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    // Number system 0, the six digits, the check digit of 01234500006.
    EXPECT_EQ(decoded.text, "0123456" + WithEanCheckDigit("01234500006").substr(11));

    auto stf = std::make_unique<TLxLabelObjectBarcode>();
    stf->SetSymbolKind(SymbolStf);
    stf->SetData("1234567");
    stf->SetCheckDigit(0);
    stf->UpdateSymbol();
    const Picture stfPicture = stf->GetRenderedPicture();
    ASSERT_FALSE(stfPicture.Empty());
    EXPECT_EQ(ReadStf(RenderOnLabel(std::move(stf), stfPicture)), "1234567");
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
    struct Case {
        const char* zip;
        const char* address;
        std::string data; // postal code and address number as the rules give them
    };
    const Case cases[] = {
        {"100-0013", "東京都千代田区霞が関1丁目3番2号 郵便プラザ503室", "10000131-3-2-503"},
        {"263-0023", "千葉市稲毛区緑町3丁目30-8 郵便ビル403号", "26300233-30-8-403"},
        {"910-0067", "福井県福井市新田塚3丁目80-25 J1ビル2-B", "91000673-80-25J1-2B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        // Letters are a control code and a digit; CC4 fills to 20 symbols;
        // the check symbol makes the sum a multiple of 19.
        std::vector<std::string> symbols;
        for (char ch : c.data) {
            if (ch >= 'A' && ch <= 'Z') {
                symbols.push_back("CC" + std::to_string(1 + (ch - 'A') / 10));
                symbols.push_back(std::string(1, static_cast<char>('0' + (ch - 'A') % 10)));
            } else {
                symbols.push_back(std::string(1, ch));
            }
        }
        symbols.resize(20, "CC4");
        int sum = 0;
        for (const std::string& s : symbols)
            sum += s == "-" ? 10 : s.starts_with("CC") ? 10 + (s[2] - '0') : s[0] - '0';
        const int check = (19 - sum % 19) % 19;
        symbols.push_back(check < 10 ? std::to_string(check) : check == 10 ? "-" : "CC" + std::to_string(check - 10));
        std::string expected = lxtest::ExpectedPostalBars("(");
        for (const std::string& s : symbols)
            expected += lxtest::ExpectedPostalBars(s.starts_with("CC") ? std::string(1, 'A' + (s[2] - '1')) : s);
        expected += lxtest::ExpectedPostalBars(")");

        const auto csv = lxtest::MakeCsv({std::string(c.zip) + "," + Sjis(c.address)});
        auto symbol = std::make_unique<TLxLabelObjectCsvBarcode>(csv, 0);
        symbol->SetSymbolKind(SymbolPostal);
        symbol->SetZipColumn(1);
        symbol->SetAddressColumn(2);
        const Picture picture = symbol->GetPicture();
        ASSERT_FALSE(picture.Empty());
        const Bitmap cell = RenderOnLabel(std::move(symbol), picture, 6);
        EXPECT_EQ(lxtest::ReadPostalBars(lxtest::CropInk(cell)).bars, expected);
    }
}
