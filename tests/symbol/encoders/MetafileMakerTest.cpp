// The metafile makers: WMF and EMF pictures of every family play back to
// the pixels of direct painting, carry the window, frame and viewport the
// control relies on, and open in libwmf as readable symbols.
#include "symbol/encoders/MetafileMaker.h"
#include "support/Oracles.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Files.h"
#include "platform/printing/Printer.h"
#include "support/ImageOracles.h"
#include "support/TestPaths.h"
#include "symbol/encoders/ImageWriter.h"
#include "symbol/encoders/LinearEncoder.h"
#include "symbol/encoders/LinearTestSupport.h"
#include "symbol/encoders/PainterTestSupport.h"
#include "symbol/encoders/SymbolPainter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

using namespace lx;
using namespace lxtest;

namespace {

// 10 pixels a millimetre at 254 dpi: CellUnit 254 maps one unit to one pixel.
const DeviceInfo kReference254{254, 254, 2540, 2540, 254, 254, 0, 0};
constexpr int kUnit = 254;

struct Made {
    std::string name;
    Size extent; // after the turn
    std::function<void(DeviceContext&)> paint;
    std::function<WindowsMetafile()> wmf;
    std::function<EnhMetafile()> emf;
};

std::vector<Made> EveryFamily(int rotate, int fill)
{
    static const Encoded2D qr = EncodeQrText("MA,metafile");
    static const Encoded2D dm = EncodeDataMatrixText("metafile 17", 2);
    static const Encoded2D maxi = EncodeMaxiCodeText("METAFILE");
    static const Encoded2D pdf = EncodePdf417Text("1,metafile pdf");
    static const LinearResult code128 = EncodeLinearText(kLinearCode128B, "metafile", 1);
    const int n = qr.size;
    const int p = 4, a = 1, q = 2;
    const auto turned = [&](int w, int h) { return rotate % 2 ? Size{h, w} : Size{w, h}; };
    std::vector<Made> all;
    all.push_back({"QR", {a + p * (n + 2 * q), a + p * (n + 2 * q)},
                   [=](DeviceContext& dc) { DrawQr(dc, qr.matrix, n, q, p, a, fill, rotate, 1, 0, kBlack, kWhite); },
                   [=] { return MakeQrWmf(qr.matrix, n, p, a, kUnit, q, rotate, fill, 1, 0, kBlack, kWhite); },
                   [=] { return MakeQrEmf(&kReference254, qr.matrix, n, p, a, kUnit, q, rotate, fill, 1, 0, kBlack, kWhite); }});
    all.push_back({"DataMatrix", turned(a + p * (dm.Columns() + 2 * q), a + p * (dm.Rows() + 2 * q)),
                   [=](DeviceContext& dc) { DrawDataMatrix(dc, dm.matrix, dm.size, q, p, a, fill, rotate, 1, kBlack, kWhite); },
                   [=] { return MakeDataMatrixWmf(dm.matrix, dm.size, p, a, kUnit, q, rotate, fill, 1, kBlack, kWhite); },
                   [=] { return MakeDataMatrixEmf(&kReference254, dm.matrix, dm.size, p, a, kUnit, q, rotate, fill, 1, kBlack, kWhite); }});
    all.push_back({"MaxiCode", {MaxiCodeWidth(8, a, q, rotate), MaxiCodeHeight(8, a, q, rotate)},
                   [=](DeviceContext& dc) { DrawMaxiCode(dc, maxi.matrix, q, 8, a, fill, rotate, 0, kBlack, kWhite); },
                   [=] { return MakeMaxiCodeWmf(maxi.matrix, 8, a, kUnit, q, rotate, fill, 0, kBlack, kWhite); },
                   [=] { return MakeMaxiCodeEmf(&kReference254, maxi.matrix, 8, a, kUnit, q, rotate, fill, 0, kBlack, kWhite); }});
    all.push_back({"PDF417", turned(a + p * (pdf.Columns() + 2 * q), p * (3 * pdf.Rows() + 2 * q)),
                   [=](DeviceContext& dc) { DrawPdf417(dc, pdf.matrix, pdf.size, q, p, a, 3, fill, rotate, 0, kBlack, kWhite); },
                   [=] { return MakePdf417Wmf(pdf.matrix, pdf.size, p, a, 3, kUnit, q, rotate, fill, 0, kBlack, kWhite); },
                   [=] { return MakePdf417Emf(&kReference254, pdf.matrix, pdf.size, p, a, 3, kUnit, q, rotate, fill, 0, kBlack, kWhite); }});
    const int count = static_cast<int>(code128.elements.size());
    const Size lin = turned(600, 75);
    all.push_back({"Code128", lin,
                   [=](DeviceContext& dc) {
                       DrawLinear(dc, kLinearCode128B, code128.elements, count, 30, 3, 6, 0, lin.cy, lin.cx, 1, 15,
                                  code128.text, fill, rotate, kBlack, kWhite);
                   },
                   [=] {
                       return MakeLinearWmf(kLinearCode128B, code128.elements, count, 30, 3, 6, 0, lin.cy, lin.cx, 1,
                                            15, code128.text, fill, rotate, kBlack, kWhite);
                   },
                   [=] {
                       return MakeLinearEmf(&kReference254, kLinearCode128B, code128.elements, count, 30, 3, 6, 0,
                                            lin.cy, lin.cx, 1, 15, code128.text, fill, rotate, kBlack, kWhite, kUnit);
                   }});
    return all;
}

Bitmap Played(const Size& e, const std::function<void(DeviceContext&, const Rect&)>& play)
{
    Bitmap b(e.cx, e.cy, 0xFF808080u);
    RasterDeviceContext dc(b);
    play(dc, {0, 0, e.cx, e.cy});
    return b;
}

// The (cx, cy) of the first window-extent record of a WMF (0x020C) or EMF (9).
Size WindowExtent(const std::string& bytes, bool emf)
{
    const auto u16 = [&](std::size_t at) { return static_cast<int>(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8); };
    const auto u32 = [&](std::size_t at) { return static_cast<std::int32_t>(u16(at) | u16(at + 2) << 16); };
    if (emf) {
        for (std::size_t at = 0; at + 8 <= bytes.size(); at += static_cast<std::size_t>(u32(at + 4)))
            if (u32(at) == 9)
                return {u32(at + 8), u32(at + 12)};
        return {};
    }
    for (std::size_t at = 18; at + 6 <= bytes.size(); at += static_cast<std::size_t>(u32(at)) * 2)
        if (u16(at + 4) == 0x020C)
            return {static_cast<std::int16_t>(u16(at + 8)), static_cast<std::int16_t>(u16(at + 6))};
    return {};
}

} // namespace

TEST(MetafileMaker, BothKindsPlayBackToThePixelsOfDirectPainting)
{
    for (int rotate = 0; rotate < 4; ++rotate)
        for (const int fill : {0, 1})
            for (const Made& m : EveryFamily(rotate, fill)) {
                SCOPED_TRACE(m.name + " rotate " + std::to_string(rotate) + " fill " + std::to_string(fill));
                const Bitmap direct = PaintYUp(m.extent.cx, m.extent.cy, m.paint, 0xFF808080u);
                const WindowsMetafile wmf = m.wmf();
                const EnhMetafile emf = m.emf();
                ASSERT_FALSE(wmf.Empty());
                ASSERT_FALSE(emf.Empty());
                EXPECT_EQ(WindowExtent(wmf.Bytes(), false), Size(m.extent.cx, -m.extent.cy));
                EXPECT_EQ(WindowExtent(emf.Bytes(), true), Size(m.extent.cx, -m.extent.cy));
                EXPECT_TRUE(Played(m.extent, [&](DeviceContext& dc, const Rect& r) { PlayWindowsMetafile(dc, wmf, r); }) == direct);
                EXPECT_TRUE(Played(m.extent, [&](DeviceContext& dc, const Rect& r) { PlayEnhMetafile(dc, emf, r); }) == direct);
            }
}

TEST(MetafileMaker, EnhancedFrameIsTheExtentInHundredthsOfAMillimetre)
{
    const Encoded2D qr = EncodeQrText("MA,frame");
    ASSERT_EQ(qr.size, 21);
    const DeviceInfo printer = VirtualPrinterDevice();
    const EnhMetafile at600 = MakeQrEmf(&printer, qr.matrix, 21, 10, 0, 600, 4, 0, 0, 0, 0, kBlack, kWhite);
    EXPECT_EQ(at600.Header().frame, Rect(0, 0, 1228, 1228));
    EXPECT_EQ(WindowExtent(at600.Bytes(), true), Size(290, -290));
    const EnhMetafile at2540 = MakeQrEmf(&printer, qr.matrix, 21, 10, 3, 2540, 4, 0, 0, 0, 0, kBlack, kWhite);
    EXPECT_EQ(at2540.Header().frame, Rect(0, 0, 293, 293));
    // Made against the display when there is no reference printer.
    const EnhMetafile display = MakeQrEmf(nullptr, qr.matrix, 21, 10, 0, 600, 4, 0, 0, 0, 0, kBlack, kWhite);
    EXPECT_EQ(display.Header().device, Size(DisplayDevice().horzRes, DisplayDevice().vertRes));
    EXPECT_EQ(display.PixelSize(), Size(46, 46)); // 290 units at 600 per inch on a 96 dpi screen
}

TEST(MetafileMaker, PicturesThatCannotBeMadeAreEmptyAndEmptySymbolsHoldTheMapping)
{
    const Encoded2D qr = EncodeQrText("MA,big");
    EXPECT_TRUE(MakeQrWmf(qr.matrix, qr.size, 1500, 0, 600, 4, 0, 0, 0, 0, kBlack, kWhite).Empty()); // beyond 16 bits
    EXPECT_FALSE(MakeQrEmf(nullptr, qr.matrix, qr.size, 1500, 0, 600, 4, 0, 0, 0, 0, kBlack, kWhite).Empty());
    EXPECT_TRUE(MakeQrEmf(nullptr, qr.matrix, qr.size, 10, 0, 0, 4, 0, 0, 0, 0, kBlack, kWhite).Empty());
    EXPECT_TRUE(MakeQrEmf(nullptr, qr.matrix, qr.size, 30000, 0, 2540, 30000, 0, 0, 0, 0, kBlack, kWhite).Empty());

    const WindowsMetafile none = MakeQrWmf(qr.matrix, 0, 10, 0, 600, 4, 0, 0, 0, 0, kBlack, kWhite);
    ASSERT_FALSE(none.Empty());
    EXPECT_EQ(WindowExtent(none.Bytes(), false), Size(80, -80));
    const Bitmap played = Played({80, 80}, [&](DeviceContext& dc, const Rect& r) { PlayWindowsMetafile(dc, none, r); });
    EXPECT_TRUE(played == Bitmap(80, 80, 0xFF808080u));
}

TEST(MetafileMaker, LibwmfReadsOurSymbolPictures)
{
    LX_NEED_ORACLE(lxtest::LibwmfRenders(), "wmf2gd (libwmf-bin) with its fonts (fonts-urw-base35)");
    TempDir dir;
    const auto render = [&](const WindowsMetafile& wmf, Size extent, const std::string& name) {
        EXPECT_EQ(WritePlaceableWmf(wmf, dir.File(name + ".wmf"), extent.cx * 10, extent.cy * 10), 1);
        const std::string command = "wmf2gd -t png --maxwidth=" + std::to_string(extent.cx) +
                                    " --maxheight=" + std::to_string(extent.cy) + " --maxsize -o '" +
                                    dir.File(name + ".png") + "' '" + dir.File(name + ".wmf") + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        const PngFacts png = ReadPngWithLibpng(ReadFileBytes(dir.File(name + ".png")));
        GreyImage grey{png.width, png.height, {}};
        for (const std::uint32_t p : png.argb)
            grey.pixels.push_back(static_cast<std::uint8_t>((p >> 8) & 0xFF));
        return grey;
    };
    const Encoded2D qr = EncodeQrText("MA,read by libwmf");
    const int side = 4 * (qr.size + 8);
    const GreyImage qrImage = render(MakeQrWmf(qr.matrix, qr.size, 4, 0, 254, 4, 1, 0, 0, 0, kBlack, kWhite),
                                     {side, side}, "qr");
    const Decoded read = ZxingDecode(qrImage, ZXing::BarcodeFormat::QRCode, false);
    EXPECT_TRUE(read.ok && read.text == "read by libwmf");

    const LinearResult code39 = EncodeLinearText(kLinearCode39, "LIBWMF", 1);
    const int count = static_cast<int>(code39.elements.size());
    const GreyImage barImage = render(MakeLinearWmf(kLinearCode39, code39.elements, count, 30, 3, 8, 0, 75, 420, 1, 15,
                                                    code39.text, 0, 0, kBlack, kWhite),
                                      {420, 75}, "code39");
    EXPECT_EQ(ZxingReadLinear(barImage, ZXing::BarcodeFormat::Code39).bytes,
              ZxingReadLinear(RenderElements(code39.elements, 3, 8, 30), ZXing::BarcodeFormat::Code39).bytes);
}
