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

// A symbol's painter and its two metafile makers, over one drawing.
template <typename Drawing>
Made Of(std::string name, Size extent, const Drawing& drawing, void (*draw)(DeviceContext&, const Drawing&),
        WindowsMetafile (*wmf)(const Drawing&), EnhMetafile (*emf)(const DeviceInfo*, const Drawing&, int))
{
    return {std::move(name), extent, [=](DeviceContext& dc) { draw(dc, drawing); }, [=] { return wmf(drawing); },
            [=] { return emf(&kReference254, drawing, kUnit); }};
}

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
    const auto matrix = [&](const Encoded2D& e, int pitch) {
        return MatrixDrawing{.matrix = e.matrix,
                             .size = e.size,
                             .quietZone = q,
                             .pitch = pitch,
                             .adjust = a,
                             .factor = 3,
                             .fillType = fill,
                             .rotate = rotate,
                             .mirror = 1};
    };
    const Size lin = turned(600, 75);
    const LinearDrawing linDrawing{.key = kLinearCode128B,
                                   .elements = code128.elements,
                                   .elementCount = static_cast<int>(code128.elements.size()),
                                   .startOffset = 30,
                                   .narrow = 3,
                                   .wide = 6,
                                   .drawnHeight = lin.cy,
                                   .drawnWidth = lin.cx,
                                   .chrDisplay = 1,
                                   .textHeight = 15,
                                   .text = code128.text,
                                   .fillType = fill,
                                   .rotate = rotate};
    return {
        Of("QR", {a + p * (n + 2 * q), a + p * (n + 2 * q)}, matrix(qr, p), DrawQr, MakeQrWmf, MakeQrEmf),
        Of("DataMatrix", turned(a + p * (dm.Columns() + 2 * q), a + p * (dm.Rows() + 2 * q)), matrix(dm, p),
           DrawDataMatrix, MakeDataMatrixWmf, MakeDataMatrixEmf),
        Of("MaxiCode", {MaxiCodeWidth(8, a, q, rotate), MaxiCodeHeight(8, a, q, rotate)}, matrix(maxi, 8), DrawMaxiCode,
           MakeMaxiCodeWmf, MakeMaxiCodeEmf),
        Of("PDF417", turned(a + p * (pdf.Columns() + 2 * q), p * (3 * pdf.Rows() + 2 * q)), matrix(pdf, p), DrawPdf417,
           MakePdf417Wmf, MakePdf417Emf),
        Of("Code128", lin, linDrawing, DrawLinear, MakeLinearWmf, MakeLinearEmf),
    };
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
    const auto u16 = [&](std::size_t at) {
        return static_cast<int>(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8);
    };
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
                EXPECT_TRUE(Played(m.extent, [&](DeviceContext& dc, const Rect& r) {
                                PlayWindowsMetafile(dc, wmf, r);
                            }) == direct);
                EXPECT_TRUE(Played(m.extent, [&](DeviceContext& dc, const Rect& r) { PlayEnhMetafile(dc, emf, r); }) ==
                            direct);
            }
}

TEST(MetafileMaker, EnhancedFrameIsTheExtentInHundredthsOfAMillimetre)
{
    const Encoded2D qr = EncodeQrText("MA,frame");
    ASSERT_EQ(qr.size, 21);
    const DeviceInfo printer = VirtualPrinterDevice();
    const EnhMetafile at600 = MakeQrEmf(&printer, {.matrix = qr.matrix, .size = 21, .quietZone = 4, .pitch = 10}, 600);
    EXPECT_EQ(at600.Header().frame, Rect(0, 0, 1228, 1228));
    EXPECT_EQ(WindowExtent(at600.Bytes(), true), Size(290, -290));
    const EnhMetafile at2540 =
        MakeQrEmf(&printer, {.matrix = qr.matrix, .size = 21, .quietZone = 4, .pitch = 10, .adjust = 3}, 2540);
    EXPECT_EQ(at2540.Header().frame, Rect(0, 0, 293, 293));
    // Made against the display when there is no reference printer.
    const EnhMetafile display = MakeQrEmf(nullptr, {.matrix = qr.matrix, .size = 21, .quietZone = 4, .pitch = 10}, 600);
    EXPECT_EQ(display.Header().device, Size(DisplayDevice().horzRes, DisplayDevice().vertRes));
    EXPECT_EQ(display.PixelSize(), Size(46, 46)); // 290 units at 600 per inch on a 96 dpi screen
}

TEST(MetafileMaker, PicturesThatCannotBeMadeAreEmptyAndEmptySymbolsHoldTheMapping)
{
    const Encoded2D qr = EncodeQrText("MA,big");
    const MatrixDrawing big{.matrix = qr.matrix, .size = qr.size, .quietZone = 4, .pitch = 1500};
    EXPECT_TRUE(MakeQrWmf(big).Empty()); // beyond 16 bits
    EXPECT_FALSE(MakeQrEmf(nullptr, big, 600).Empty());
    EXPECT_TRUE(MakeQrEmf(nullptr, {.matrix = qr.matrix, .size = qr.size, .quietZone = 4, .pitch = 10}, 0).Empty());
    EXPECT_TRUE(
        MakeQrEmf(nullptr, {.matrix = qr.matrix, .size = qr.size, .quietZone = 30000, .pitch = 30000}, 2540).Empty());

    const WindowsMetafile none = MakeQrWmf({.matrix = qr.matrix, .quietZone = 4, .pitch = 10});
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
            " --maxheight=" + std::to_string(extent.cy) + " --maxsize -o '" + dir.File(name + ".png") + "' '" +
            dir.File(name + ".wmf") + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        const PngFacts png = ReadPngWithLibpng(ReadFileBytes(dir.File(name + ".png")));
        return GreyOfArgb(png.width, png.height, png.argb.data());
    };
    const Encoded2D qr = EncodeQrText("MA,read by libwmf");
    const int side = 4 * (qr.size + 8);
    const GreyImage qrImage = render(
        MakeQrWmf({.matrix = qr.matrix, .size = qr.size, .quietZone = 4, .pitch = 4, .rotate = 1}), {side, side}, "qr");
    const Decoded read = ZxingDecode(qrImage, ZXing::BarcodeFormat::QRCode, false);
    EXPECT_TRUE(read.ok && read.text == "read by libwmf");

    const LinearResult code39 = EncodeLinearText(kLinearCode39, "LIBWMF", 1);
    const int count = static_cast<int>(code39.elements.size());
    const GreyImage barImage = render(MakeLinearWmf({.key = kLinearCode39,
                                                     .elements = code39.elements,
                                                     .elementCount = count,
                                                     .startOffset = 30,
                                                     .narrow = 3,
                                                     .wide = 8,
                                                     .drawnHeight = 75,
                                                     .drawnWidth = 420,
                                                     .chrDisplay = 1,
                                                     .textHeight = 15,
                                                     .text = code39.text}),
                                      {420, 75}, "code39");
    EXPECT_EQ(ZxingReadLinear(barImage, ZXing::BarcodeFormat::Code39).bytes,
              ZxingReadLinear(RenderElements(code39.elements, 3, 8, 30), ZXing::BarcodeFormat::Code39).bytes);
}
