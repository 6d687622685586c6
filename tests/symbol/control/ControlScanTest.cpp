// What the control hands out scans: its BMP, PNG and TIFF files, read back by
// independent readers, and its clipboard metafile played back to pixels are
// decoded by zxing for every symbol family.
#include <gtest/gtest.h>

#include <QImage>

#include "ControlTesting.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Files.h"
#include "support/Decoders.h"
#include "support/ImageOracles.h"
#include "support/SymbolImages.h"
#include "support/TestPaths.h"

#ifdef LX_HAVE_LIBTIFF
#include <tiffio.h>
#endif

using namespace lx;
using lxtest::GreyImage;
using lxtest::TestControl;
using ZXing::BarcodeFormat;

namespace {

struct ScanCase {
    const char* name;
    int codeType;
    const char* data;
    BarcodeFormat format;
    int pitch;
};

const ScanCase kCases[] = {
    {"QR", kCodeQr, "Control output 2026", BarcodeFormat::QRCode, 4},
    {"DataMatrix", kCodeDataMatrix, "DataMatrix out 17", BarcodeFormat::DataMatrix, 4},
    {"PDF417", kCodePdf417, "PDF417 control output", BarcodeFormat::PDF417, 3},
    {"MaxiCode", kCodeMaxiCode, "MAXICODE CONTROL", BarcodeFormat::MaxiCode, 8},
    {"Code128", kCodeCode128, "CODE128 OUT", BarcodeFormat::Code128, 3},
    {"Code39", kCodeCode39, "CODE39 OUT", BarcodeFormat::Code39, 3},
    {"EAN13", kCodeEan13, "490123456789", BarcodeFormat::EAN13, 3},
    {"ITF", kCodeItf, "12345678", BarcodeFormat::ITF, 3},
};

// One logical unit is a tenth of a millimetre, and a pixel of the bitmap files.
void Configure(TestControl& c, const ScanCase& k)
{
    c.Put(kDispCellUnit, 254);
    c.Put(kDispCellPitch, k.pitch);
    c.Put(kDispQuietZone, k.codeType == kCodeMaxiCode ? 1 : 4);
    c.Put(kDispCodeType, k.codeType);
    if (k.codeType == kCodeMaxiCode)
        c.Put(kDispMaxiCodeMode, 4);
    c.PutText(k.data);
}

GreyImage ReadWithQt(const std::string& path)
{
    // 32-bit rows need no padding: the pixels lie one after another.
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
    return lxtest::GreyOfArgb(image.width(), image.height(), reinterpret_cast<const std::uint32_t*>(image.constBits()));
}

GreyImage ReadWithLibpng(const std::string& path)
{
    const lxtest::PngFacts png = lxtest::ReadPngWithLibpng(ReadFileBytes(path));
    return png.ok ? lxtest::GreyOfArgb(png.width, png.height, png.argb.data()) : GreyImage{};
}

GreyImage ReadWithLibtiff(const std::string& path)
{
    GreyImage grey;
#ifdef LX_HAVE_LIBTIFF
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff)
        return grey;
    std::uint32_t w = 0, h = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(w) * h);
    // libtiff packs red in the low byte; the grey level does not mind.
    if (TIFFReadRGBAImageOriented(tiff, w, h, raster.data(), ORIENTATION_TOPLEFT, 0) == 1)
        grey = lxtest::GreyOfArgb(static_cast<int>(w), static_cast<int>(h), raster.data());
    TIFFClose(tiff);
#else
    (void)path;
#endif
    return grey;
}

GreyImage Played(const EnhMetafile& emf, Size extent)
{
    Bitmap pixels(extent.cx, extent.cy);
    {
        RasterDeviceContext dc(pixels);
        PlayEnhMetafile(dc, emf, Rect{0, 0, extent.cx, extent.cy});
    }
    return lxtest::GreyOf(pixels);
}

void ExpectScans(const GreyImage& image, const ScanCase& k, const std::string& road)
{
    SCOPED_TRACE(road);
    ASSERT_GT(image.width, 0);
    const bool matrix = k.codeType == kCodeQr || k.codeType >= kCodeMaxiCode;
    const lxtest::Decoded d = lxtest::ZxingDecode(image, k.format, matrix);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text.substr(0, std::string(k.data).size()), k.data);
}

class ControlScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ControlScan, BitmapFilesScanAtTheSymbolsSize)
{
    const ScanCase& k = GetParam();
    TestControl c;
    Configure(c, k);
    ASSERT_GT(c.object->Symbol().NumCell, 0);
    const Size extent = c.object->GetSymbolExtent();
    lxtest::TempDir dir;
    const char* names[] = {"s.bmp", "s.png", "s.tif"};
    for (std::int16_t format = 2; format <= 4; ++format) {
        const std::string path = dir.File(names[format - 2]);
        const Variant args[] = {Variant(std::int32_t{0}), Variant::Text(path), Variant(format)};
        ASSERT_EQ(c.driver.Call(kDispCreateQrMetaFile, args).AsInt16(), c.object->Symbol().NumCell & 0xFFFF);
        const GreyImage image = format == 2 ? ReadWithQt(path)
            : format == 3                   ? ReadWithLibpng(path)
                                            : ReadWithLibtiff(path);
#ifndef LX_HAVE_LIBTIFF
        if (format == 4)
            continue;
#endif
        EXPECT_EQ(image.width, extent.cx);
        EXPECT_EQ(image.height, extent.cy);
        ExpectScans(image, k, names[format - 2]);
    }
}

TEST_P(ControlScan, OwnPaintAndEnhancedMetafilesScan)
{
    const ScanCase& k = GetParam();
    TestControl c;
    Configure(c, k);
    const Size extent = c.object->GetSymbolExtent();
    // At 254 dpi the natural size is one pixel a unit.
    DeviceInfo device;
    device.dpiX = device.dpiY = 254;
    Bitmap painted(extent.cx, extent.cy);
    {
        RasterDeviceContext dc(painted, device);
        ASSERT_EQ(c.object->Draw(dc, Rect{0, 0, extent.cx, extent.cy}), kOk);
    }
    ExpectScans(lxtest::GreyOf(painted), k, "own paint");

    lxtest::TempDir dir;
    const std::string path = dir.File("s.emf");
    const Variant args[] = {Variant(std::int32_t{0}), Variant::Text(path), Variant(std::int16_t{1})};
    ASSERT_EQ(c.driver.Call(kDispCreateQrMetaFile, args).AsInt16(), c.object->Symbol().NumCell & 0xFFFF);
    ExpectScans(Played(EnhMetafile::FromBytes(ReadFileBytes(path)), extent), k, "enhanced metafile file");

    ASSERT_EQ(c.driver.Call(kDispQrImageCopy, {Variant(std::int16_t{1})}).AsInt16(),
              c.object->Symbol().NumCell & 0xFFFF);
    const std::optional<EnhMetafile> emf = Clipboard::GetEnhMetafile();
    ASSERT_TRUE(emf.has_value());
    ExpectScans(Played(*emf, extent), k, "clipboard metafile");
}

// The bitmap file of the symbol, read back. One unit is one pixel.
GreyImage BitmapFileOf(TestControl& c)
{
    lxtest::TempDir dir;
    const std::string path = dir.File("s.bmp");
    const Variant args[] = {Variant(std::int32_t{0}), Variant::Text(path), Variant(std::int16_t{2})};
    c.driver.Call(kDispCreateQrMetaFile, args);
    return ReadWithQt(path);
}

TEST(ControlScanTwoPixels, MatrixSymbolsAtPitchTwoScanInEveryRotationAndMirrored)
{
    for (const ScanCase& k : {kCases[0], kCases[1]})
        for (int rotate = 0; rotate < 4; ++rotate)
            for (int mirror = 0; mirror < 2; ++mirror) {
                TestControl c;
                Configure(c, ScanCase{k.name, k.codeType, k.data, k.format, 2});
                c.Put(kDispRotate, rotate);
                c.Put(kDispMirror, mirror);
                // A mirror reflects about a diagonal: the transpose undoes it
                // up to a turn, and zxing finds a turned symbol when not told
                // it is pure.
                const GreyImage image = BitmapFileOf(c);
                const lxtest::Decoded d =
                    lxtest::ZxingDecode(mirror ? lxtest::Transposed(image) : image, k.format, false);
                EXPECT_TRUE(d.ok && d.text == k.data)
                    << k.name << " rotate " << rotate << " mirror " << mirror << " " << d.error;
            }
}

TEST(ControlScanTwoPixels, TurnedLinearBarsOfTwoPixelsScan)
{
    // Pitch 3 and adjust -1: narrow bars of two pixels, lying down when turned.
    for (const ScanCase& k : {kCases[4], kCases[5], kCases[6]})
        for (const int rotate : {1, 3}) {
            TestControl c;
            Configure(c, k);
            c.Put(kDispCellAdjust, -1);
            c.Put(kDispChrDisplay, 0);
            c.Put(kDispRotate, rotate);
            ExpectScans(lxtest::Transposed(BitmapFileOf(c)), k,
                        std::string(k.name) + " rotate " + std::to_string(rotate));
        }
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, ControlScan, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
