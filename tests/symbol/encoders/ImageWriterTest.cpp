// The image-file writers: a painted symbol written as BMP, PNG and TIFF is
// read back by independent readers (Qt, libpng, libtiff and tiffinfo) and
// still decodes; the placeable metafile header; statuses for bad paths and
// bitmaps, never a crash.
#include "symbol/encoders/ImageWriter.h"
#include "support/Oracles.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Files.h"
#include "support/ImageOracles.h"
#include "support/TestPaths.h"
#include "symbol/encoders/MetafileMaker.h"
#include "symbol/encoders/PainterTestSupport.h"
#include "symbol/encoders/SymbolPainter.h"

#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#ifdef LX_HAVE_LIBTIFF
#include <tiffio.h>
#endif

using namespace lx;
using namespace lxtest;

namespace {

// A QR symbol as the control renders it for files: its metafile played at
// one pixel per unit into a monochrome bitmap.
MonochromeBitmap SymbolBitmap(int* sidePixels = nullptr)
{
    static const Encoded2D qr = EncodeQrText("MA,written to a file");
    const int side = 3 * (qr.size + 8) + 1;
    const WindowsMetafile wmf =
        MakeQrWmf({.matrix = qr.matrix, .size = qr.size, .quietZone = 4, .pitch = 3, .adjust = 1});
    Bitmap bitmap(side, side);
    {
        RasterDeviceContext dc(bitmap);
        PlayWindowsMetafile(dc, wmf, {0, 0, side, side});
    }
    if (sidePixels)
        *sidePixels = side;
    return ToMonochrome(bitmap);
}

std::string FileBytes(const std::string& path) { return ReadFileBytes(path); }

bool ReadsAsSymbol(const GreyImage& image)
{
    const Decoded read = ZxingDecode(image, ZXing::BarcodeFormat::QRCode);
    return read.ok && read.text == "written to a file";
}

std::vector<std::uint32_t> ArgbOf(const MonochromeBitmap& mono)
{
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < mono.height; ++y)
        for (int x = 0; x < mono.width; ++x)
            argb.push_back(mono.White(x, y) ? 0xFFFFFFFFu : 0xFF000000u);
    return argb;
}

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

CommandRun Command(const std::string& command, const TempDir& dir)
{
    CommandRun run;
    const std::string errFile = dir.File("stderr.txt");
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>'" + errFile + "'").c_str(), "r"), ::pclose);
    std::array<char, 4096> buffer{};
    for (std::size_t got; pipe && (got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
        run.out.append(buffer.data(), got);
    run.status = ::pclose(pipe.release());
    run.err = FileBytes(errFile);
    return run;
}

} // namespace

TEST(ImageWriter, BmpIsReadByQtWithTheSymbolsPixels)
{
    TempDir dir;
    int side = 0;
    const MonochromeBitmap mono = SymbolBitmap(&side);
    ASSERT_EQ(WriteBmpFile(dir.File("symbol.bmp"), mono), kImageWriteOk);
    const std::string bytes = FileBytes(dir.File("symbol.bmp"));
    const int stride = (side + 31) / 32 * 4;
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(62 + side * stride));
    // After the bit count: no compression, image size, resolutions and
    // colour counts all 0.
    EXPECT_EQ(bytes.substr(28, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(bytes.substr(30, 24), std::string(24, '\0'));
    QImage image;
    ASSERT_TRUE(
        image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP"));
    ASSERT_EQ(image.size(), QSize(side, side));
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            argb.push_back(image.pixel(x, y));
    EXPECT_EQ(argb, ArgbOf(mono));
    EXPECT_TRUE(ReadsAsSymbol(GreyOfArgb(side, side, argb.data())));
}

TEST(ImageWriter, PngIsAOneBitPaletteImageForLibpng)
{
    TempDir dir;
    int side = 0;
    const MonochromeBitmap mono = SymbolBitmap(&side);
    ASSERT_EQ(WritePngImage(dir.File("symbol.png"), mono), kImageWriteOk);
    const PngFacts png = ReadPngWithLibpng(FileBytes(dir.File("symbol.png")));
    ASSERT_TRUE(png.ok) << png.error;
    EXPECT_EQ(png.width, side);
    EXPECT_EQ(png.bitDepth, 1);
    EXPECT_EQ(png.colorType, 3); // palette
    EXPECT_EQ(png.palette, (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255}));
    EXPECT_EQ(png.zlibLevelFlag, 3); // levels 7 to 9
    EXPECT_EQ(png.argb, ArgbOf(mono));
    EXPECT_TRUE(ReadsAsSymbol(GreyOfArgb(png.width, png.height, png.argb.data())));
}

TEST(ImageWriter, TiffPassesTiffinfoAndLibtiffReadsItsPixels)
{
    LX_NEED_TOOLS("tiffinfo", "tiffdump");
    TempDir dir;
    int side = 0;
    const MonochromeBitmap mono = SymbolBitmap(&side);
    for (const auto& [name, bitmap] :
         {std::pair{std::string("symbol"), mono},
          std::pair{std::string("odd"), MonochromeBitmap{17, 17, std::vector<std::uint8_t>(17 * 4, 0x55)}}}) {
        const std::string path = dir.File(name + ".tif");
        ASSERT_EQ(WriteTiffFile(600, bitmap, path), kImageWriteOk);
        const CommandRun info = Command("tiffinfo '" + path + "'", dir);
        EXPECT_EQ(info.status, 0);
        EXPECT_EQ(info.err, "") << name;
        for (const std::string& fact :
             {"Image Width: " + std::to_string(bitmap.width) + " Image Length: " + std::to_string(bitmap.height),
              std::string("Resolution: 600, 600 pixels/inch"), std::string("Bits/Sample: 1"),
              std::string("Photometric Interpretation: min-is-white"), std::string("Software: Pixoran ver 1.31")})
            EXPECT_NE(info.out.find(fact), std::string::npos) << fact << "\n" << info.out;
#ifdef LX_HAVE_LIBTIFF
        TIFF* tiff = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tiff, nullptr);
        std::vector<std::uint32_t> raster(static_cast<std::size_t>(bitmap.width) * bitmap.height);
        ASSERT_EQ(TIFFReadRGBAImageOriented(tiff, bitmap.width, bitmap.height, raster.data(), ORIENTATION_TOPLEFT, 0),
                  1);
        TIFFClose(tiff);
        std::vector<std::uint32_t> argb;
        for (const std::uint32_t abgr : raster) // libtiff packs A, B, G, R from the top byte
            argb.push_back((abgr & 0xFF000000u) | (abgr & 0xFF) << 16 | (abgr & 0xFF00) | (abgr >> 16 & 0xFF));
        EXPECT_EQ(argb, ArgbOf(bitmap)) << name;
        if (name == "symbol") {
            EXPECT_TRUE(ReadsAsSymbol(GreyOfArgb(side, side, argb.data())));
        }
#endif
    }
    // The strip of a 29 x 29 image: 4-byte rows and the 8 zero bytes behind them.
    ASSERT_EQ(WriteTiffFile(600, MonochromeBitmap{29, 29, std::vector<std::uint8_t>(29 * 4, 0)}, dir.File("s.tif")), 0);
    const CommandRun dump = Command("tiffdump '" + dir.File("s.tif") + "'", dir);
    EXPECT_NE(dump.out.find("StripByteCounts (279) LONG (4) 1<124>"), std::string::npos) << dump.out;
}

TEST(ImageWriter, WideImagesKeepTheirSizeInTiff)
{
    LX_NEED_TOOLS("tiffinfo");
    TempDir dir;
    const MonochromeBitmap wide{70000, 2,
                                std::vector<std::uint8_t>(static_cast<std::size_t>(70000 + 15) / 16 * 2 * 2, 0xF0)};
    ASSERT_EQ(WriteTiffFile(254, wide, dir.File("wide.tif")), kImageWriteOk);
    const CommandRun info = Command("tiffinfo '" + dir.File("wide.tif") + "'", dir);
    EXPECT_NE(info.out.find("Image Width: 70000 Image Length: 2"), std::string::npos) << info.out << info.err;
}

TEST(ImageWriter, PlaceableMetafileHeaderAndItsSizeLimit)
{
    TempDir dir;
    const Encoded2D qr = EncodeQrText("MA,placeable");
    const WindowsMetafile wmf = MakeQrWmf({.matrix = qr.matrix, .size = qr.size, .quietZone = 4, .pitch = 10});
    ASSERT_EQ(WritePlaceableWmf(wmf, dir.File("p.wmf"), 2900, 2900), 1);
    const std::string bytes = FileBytes(dir.File("p.wmf"));
    const WindowsMetafile back = WindowsMetafile::FromBytes(bytes);
    ASSERT_TRUE(back.Placeable());
    EXPECT_EQ(back.Placeable()->box, Rect(0, 0, 2900, 2900));
    EXPECT_EQ(back.Placeable()->inch, 2540);
    EXPECT_EQ(back.Bytes(), wmf.Bytes());

    // 400 x 200 mm does not fit 16-bit hundredths: half the units, same size.
    ASSERT_EQ(WritePlaceableWmf(wmf, dir.File("big.wmf"), 40000, 20000), 1);
    const WindowsMetafile big = WindowsMetafile::FromBytes(FileBytes(dir.File("big.wmf")));
    EXPECT_EQ(big.Placeable()->box, Rect(0, 0, 20000, 10000));
    EXPECT_EQ(big.Placeable()->inch, 1270);
}

TEST(ImageWriter, BadPathsAndBitmapsGiveStatusesNotCrashes)
{
    TempDir dir;
    const MonochromeBitmap mono{8, 8, std::vector<std::uint8_t>(16, 0xAA)};
    const Encoded2D qr = EncodeQrText("MA,x");
    const WindowsMetafile wmf = MakeQrWmf({.matrix = qr.matrix, .size = qr.size, .quietZone = 4, .pitch = 2});
    for (const std::string& path : {dir.File("missing/folder/file"), dir.Path(), std::string()}) {
        EXPECT_EQ(WriteBmpFile(path, mono), kImageWriteFailed) << path;
        EXPECT_EQ(WritePngImage(path, mono), kImageWriteFailed) << path;
        EXPECT_EQ(WriteTiffFile(600, mono, path), kImageWriteFailed) << path;
        EXPECT_EQ(WritePlaceableWmf(wmf, path, 100, 100), 0) << path;
    }
    const MonochromeBitmap shortBits{64, 64, std::vector<std::uint8_t>(10, 0)};
    const MonochromeBitmap noWidth{0, 5, {}};
    const MonochromeBitmap negative{-3, -3, {}};
    for (const MonochromeBitmap* bad : {&shortBits, &noWidth, &negative}) {
        EXPECT_EQ(WriteBmpFile(dir.File("b.bmp"), *bad), kImageWriteFailed);
        EXPECT_EQ(WritePngImage(dir.File("b.png"), *bad), kImageWriteFailed);
        EXPECT_EQ(WriteTiffFile(600, *bad, dir.File("b.tif")), kImageWriteFailed);
    }
    EXPECT_EQ(WriteTiffFile(0, mono, dir.File("r.tif")), kImageWriteFailed);
    EXPECT_EQ(WritePlaceableWmf(WindowsMetafile(), dir.File("e.wmf"), 100, 100), 0);
}
