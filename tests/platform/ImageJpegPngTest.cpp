#include "platform/image/JpegImage.h"
#include "platform/image/Picture.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"

#include "support/ImageOracles.h"
#include "support/Oracles.h"
#include "support/TestPaths.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <utility>
#include <zlib.h>

using namespace lx;

namespace {

Bitmap Gradient(int width, int height)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y,
                            0xFF000000u | (std::uint32_t(x * 255 / width) << 16) |
                                (std::uint32_t(y * 255 / height) << 8) | std::uint32_t((x + y) % 256));
    return bitmap;
}

// Largest difference of any channel between two same-sized images.
int MaxDifference(const Bitmap& a, const std::vector<std::uint32_t>& b)
{
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int shift = 0; shift < 32; shift += 8) {
                const std::uint32_t p = a.Pixel(x, y), q = b[std::size_t(y) * a.Width() + x];
                worst = std::max(worst, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
            }
    return worst;
}

std::vector<std::uint8_t> Samples(int width, int height, int components)
{
    std::vector<std::uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                samples.push_back(std::uint8_t((x * 8 + y * 3 + c * 40) & 0xFF));
    return samples;
}

} // namespace

TEST(JpegWriter, LibjpegReadsABaselineColourFileOfQuality90)
{
    const Bitmap source = Gradient(37, 23);
    const std::string file = EncodeJpeg(source);
    const lxtest::JpegFacts facts = lxtest::ReadJpegWithLibjpeg(file);
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.width, 37);
    EXPECT_EQ(facts.height, 23);
    EXPECT_EQ(facts.components, 3);
    EXPECT_EQ(facts.colorSpace, JCS_YCbCr);
    EXPECT_FALSE(facts.progressive);
    EXPECT_NE(file.find("\xFF\xC0"), std::string::npos); // SOF0: baseline DCT
    // Quality 90 scales the standard luminance table to 20 %: 16 becomes 3.
    EXPECT_EQ(facts.lumaQuant0, 3);
    EXPECT_LE(MaxDifference(source, facts.argb), 24);
    EXPECT_THROW(EncodeJpeg(Bitmap()), Error);
}

TEST(JpegReader, DecodesGreyColourProgressiveAndCmykFiles)
{
    struct Case {
        const char* name;
        int components;
        J_COLOR_SPACE space;
        bool progressive;
    };
    for (const Case& c : {Case{"grey", 1, JCS_GRAYSCALE, false}, Case{"colour", 3, JCS_RGB, false},
                          Case{"progressive", 3, JCS_RGB, true}}) {
        SCOPED_TRACE(c.name);
        const std::string file =
            lxtest::WriteJpegWithLibjpeg(20, 11, c.components, c.space, Samples(20, 11, c.components), c.progressive);
        const lxtest::JpegFacts oracle = lxtest::ReadJpegWithLibjpeg(file);
        ASSERT_TRUE(oracle.ok);
        const Bitmap ours = DecodeJpeg(file);
        ASSERT_EQ(ours.Width(), 20);
        ASSERT_EQ(ours.Height(), 11);
        EXPECT_EQ(MaxDifference(ours, oracle.argb), 0);
    }
    // Adobe's CMYK is stored inverted: 255 means no ink.
    std::vector<std::uint8_t> cmyk;
    for (int i = 0; i < 16 * 16; ++i)
        cmyk.insert(cmyk.end(), {255, 0, 255, 255});
    const Bitmap magenta = DecodeJpeg(lxtest::WriteJpegWithLibjpeg(16, 16, 4, JCS_CMYK, cmyk, false));
    EXPECT_LE(MaxDifference(magenta, std::vector<std::uint32_t>(256, 0xFFFF00FFu)), 2);
}

TEST(JpegReader, HostileFilesEndInReadError)
{
    const std::string good = EncodeJpeg(Gradient(16, 16));
    const std::size_t sof = good.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    auto withSize = [&](unsigned width, unsigned height) {
        std::string file = good;
        file[sof + 5] = char(height >> 8), file[sof + 6] = char(height);
        file[sof + 7] = char(width >> 8), file[sof + 8] = char(width);
        return file;
    };
    for (const std::string& file :
         {std::string(), std::string("\xFF\xD8"), good.substr(0, sof + 4), std::string(1000, 'x'), withSize(0, 16),
          withSize(60000, 60000), withSize(9000, 9000) /* under the limit, but far too few bytes */}) {
        EXPECT_THROW(DecodeJpeg(file), ReadError);
        EXPECT_THROW(JpegImage().LoadFromBytes(file), ReadError);
    }
    // Refused from the header alone, before any pixel memory is reserved.
    EXPECT_THROW(ReadJpegSize(withSize(9000, 9000)), ReadError);
    EXPECT_EQ(ReadJpegSize(withSize(300, 200)).height, 200);
    // A cut scan is filled in by libjpeg, as image viewers show it.
    EXPECT_EQ(DecodeJpeg(good.substr(0, good.size() - 40)).Width(), 16);
}

// A file cut anywhere, or damaged in its scan, is refused exactly when
// libjpeg's own strict reader refuses it.
TEST(JpegReader, CompleteFilesAreThoseDjpegStrictAccepts)
{
    LX_NEED_TOOLS("djpeg");
    lxtest::TempDir dir;
    const auto strictAccepts = [&](const std::string& file) {
        WriteFileReplacing(dir.File("in.jpg"), file);
        return std::system(("djpeg -strict '" + dir.File("in.jpg") + "' >/dev/null 2>&1").c_str()) == 0;
    };
    const auto weAccept = [](const std::string& file) {
        try {
            CheckJpegComplete(file);
            return true;
        } catch (const ReadError&) {
            return false;
        }
    };
    const std::string baseline = EncodeJpeg(Gradient(64, 48));
    const std::string progressive = lxtest::WriteJpegWithLibjpeg(64, 48, 3, JCS_RGB, Samples(64, 48, 3), true);
    for (const std::string& good : {baseline, progressive}) {
        EXPECT_TRUE(weAccept(good));
        EXPECT_TRUE(strictAccepts(good));
        const std::size_t scan = good.find("\xFF\xDA");
        ASSERT_NE(scan, std::string::npos);
        for (const std::size_t cut : {scan + 20, (scan + good.size()) / 2, good.size() - 10, good.size() - 1}) {
            const std::string cutFile = good.substr(0, cut);
            EXPECT_FALSE(strictAccepts(cutFile)) << cut;
            EXPECT_FALSE(weAccept(cutFile)) << cut;
        }
        std::string damaged = good;
        damaged.insert((scan + good.size()) / 2, "\xFF\xD9garbage");
        EXPECT_EQ(weAccept(damaged), strictAccepts(damaged));
    }
}

TEST(JpegImage, WritesBackTheBytesItWasGivenAndDecodesOnDemand)
{
    const std::string file = EncodeJpeg(Gradient(9, 4)) + "trailing bytes";
    JpegImage image;
    image.LoadFromBytes(file);
    EXPECT_EQ(image.Width(), 9);
    EXPECT_EQ(image.Height(), 4);
    EXPECT_EQ(image.SaveToBytes(), file);
    const auto copy = image.Clone();
    EXPECT_EQ(copy->SaveToBytes(), file);
    EXPECT_EQ(image.GetBitmap().Width(), 9);
    image.Compress(Gradient(5, 6));
    EXPECT_EQ(image.GetBitmap().Height(), 6);
    EXPECT_EQ(copy->Width(), 9);
}

TEST(PngWriter, LibpngReadsRgbLosslesslyAtCompressionLevel7)
{
    Bitmap source = Gradient(31, 17);
    source.SetPixel(3, 3, 0x00123456u); // alpha is dropped
    const lxtest::PngFacts facts = lxtest::ReadPngWithLibpng(EncodePng(source));
    ASSERT_TRUE(facts.ok) << facts.error;
    EXPECT_EQ(facts.colorType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(facts.bitDepth, 8);
    EXPECT_EQ(facts.interlace, PNG_INTERLACE_NONE);
    EXPECT_EQ(facts.zlibLevelFlag, 3); // zlib marks levels 7 to 9 as "maximum"
    source.SetPixel(3, 3, 0xFF123456u);
    EXPECT_EQ(MaxDifference(source, facts.argb), 0);
    EXPECT_THROW(EncodePng(Bitmap()), Error);
}

TEST(PngWriter, BlackWhiteIsATwoEntryPaletteBlackFirst)
{
    Bitmap source(10, 3, 0xFF000000u);
    source.SetPixel(9, 0, 0xFFFFFFFFu);
    source.SetPixel(0, 2, 0xFFFFFFFFu);
    const lxtest::PngFacts facts = lxtest::ReadPngWithLibpng(EncodePng(source, PngColors::BlackWhite));
    ASSERT_TRUE(facts.ok);
    EXPECT_EQ(facts.colorType, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(facts.bitDepth, 1);
    EXPECT_EQ(facts.palette, (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255}));
    EXPECT_EQ(MaxDifference(source, facts.argb), 0);
}

TEST(PngReader, DecodesEveryColourTypeDepthAndInterlacing)
{
    struct Case {
        const char* name;
        lxtest::PngSource source;
    };
    auto source = [](int depth, int type, int channels, bool interlaced) {
        lxtest::PngSource s{9, 7, depth, type, interlaced, {}, {}, {}};
        s.samples.resize(std::size_t(7) * ((9 * channels * depth + 7) / 8));
        for (std::size_t i = 0; i < s.samples.size(); ++i)
            s.samples[i] = std::uint8_t(i * 37 + 11);
        return s;
    };
    std::vector<Case> cases = {
        {"grey 1 bit", source(1, PNG_COLOR_TYPE_GRAY, 1, false)},
        {"grey 8 bit", source(8, PNG_COLOR_TYPE_GRAY, 1, false)},
        {"grey alpha", source(8, PNG_COLOR_TYPE_GRAY_ALPHA, 2, false)},
        {"rgb 16 bit interlaced", source(16, PNG_COLOR_TYPE_RGB, 3, true)},
        {"rgba", source(8, PNG_COLOR_TYPE_RGBA, 4, true)},
        {"palette with transparency", source(4, PNG_COLOR_TYPE_PALETTE, 1, false)},
    };
    for (int i = 0; i < 16; ++i)
        cases.back().source.palette.insert(cases.back().source.palette.end(),
                                           {std::uint8_t(i * 16), std::uint8_t(255 - i), std::uint8_t(i * 7)});
    cases.back().source.paletteAlpha = {0, 128, 255};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = lxtest::WritePngWithLibpng(c.source);
        ASSERT_FALSE(file.empty());
        const lxtest::PngFacts oracle = lxtest::ReadPngWithLibpng(file);
        ASSERT_TRUE(oracle.ok);
        EXPECT_EQ(MaxDifference(DecodePng(file), oracle.argb), 0);
    }
}

TEST(PngReader, HostileFilesEndInReadError)
{
    const std::string good = EncodePng(Gradient(8, 8));
    auto withSize = [&](std::uint32_t width, std::uint32_t height) {
        std::string file = good;
        for (int i = 0; i < 4; ++i) {
            file[16 + i] = char(width >> (24 - 8 * i));
            file[20 + i] = char(height >> (24 - 8 * i));
        }
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(file.data() + 12), 17); // IHDR type and data
        for (int i = 0; i < 4; ++i)
            file[29 + i] = char(crc >> (24 - 8 * i));
        return file;
    };
    std::string badCrc = good;
    badCrc[30] ^= 1;
    for (const std::string& file :
         {std::string(), std::string("\x89PNG\r\n\x1A\n"), good.substr(0, 40), good.substr(0, good.size() - 20), badCrc,
          std::string(100, '\0'), withSize(20000, 20000), withSize(0, 5),
          withSize(9000, 9000) /* under the limit, but far too few bytes */}) {
        EXPECT_THROW(DecodePng(file), ReadError);
    }
    // Refused from the header alone, before any pixel memory is reserved.
    EXPECT_THROW(ReadPngSize(withSize(9000, 9000)), ReadError);
    EXPECT_THROW(ReadPngSize(withSize(20000, 20000)), ReadError);
    EXPECT_EQ(ReadPngSize(withSize(100, 50)).width, 100);
    EXPECT_THROW(PngImage().LoadFromBytes(good.substr(0, 20)), ReadError);
}

// libjpeg's scaled decoding is close to the average of the whole decode over
// each block of denominator x denominator pixels.
TEST(JpegImage, DecodesAtTheSmallestScaleThatCoversTheBoxAndKeepsTheLargest)
{
    const std::string file = EncodeJpeg(Gradient(800, 600));
    const lxtest::JpegFacts whole = lxtest::ReadJpegWithLibjpeg(file);
    ASSERT_TRUE(whole.ok);
    JpegImage image;
    image.LoadFromBytes(file);
    const std::int64_t before = DecodedImage::LiveBytes();

    const SharedPixels eighth = image.PixelsFor(100, 75);
    ASSERT_EQ(eighth->Pixels().Width(), 100);
    ASSERT_EQ(eighth->Pixels().Height(), 75);
    EXPECT_EQ(DecodedImage::LiveBytes() - before, 100 * 75 * 4);
    std::vector<std::uint32_t> averaged;
    for (int y = 0; y < 75; ++y)
        for (int x = 0; x < 100; ++x) {
            std::uint32_t sums[3] = {};
            for (int v = 0; v < 8; ++v)
                for (int u = 0; u < 8; ++u)
                    for (int c = 0; c < 3; ++c)
                        sums[c] +=
                            (whole.argb[std::size_t(y * 8 + v) * 800 + std::size_t(x * 8 + u)] >> (8 * c)) & 0xFF;
            averaged.push_back(0xFF000000u | ((sums[2] / 64) << 16) | ((sums[1] / 64) << 8) | (sums[0] / 64));
        }
    EXPECT_LE(MaxDifference(eighth->Pixels(), averaged), 8);

    // One pixel more than an eighth: a quarter; a smaller box later reuses it.
    const SharedPixels quarter = image.PixelsFor(101, 10);
    EXPECT_EQ(quarter->Pixels().Width(), 200);
    EXPECT_EQ(quarter->Pixels().Height(), 150);
    EXPECT_EQ(image.PixelsFor(50, 50), quarter);
    EXPECT_EQ(image.PixelsFor(0, 0).get(), image.PixelsFor(800, 600).get()); // no box: the whole picture
    EXPECT_EQ(&image.GetBitmap(), &image.PixelsFor(10, 10)->Pixels());
    EXPECT_LE(MaxDifference(image.GetBitmap(), whole.argb), 0);
}

TEST(Picture, CopiesShareOneDecodedImageUntilWritten)
{
    const std::int64_t before = DecodedImage::LiveBytes();
    {
        Picture picture;
        auto jpeg = std::make_unique<JpegImage>();
        jpeg->LoadFromBytes(EncodeJpeg(Gradient(64, 48)));
        picture.SetGraphic(std::move(jpeg));
        std::vector<Picture> copies(12, picture);
        const auto& first = dynamic_cast<const RasterGraphic&>(*std::as_const(copies.front()).GetGraphic());
        const auto& last = dynamic_cast<const RasterGraphic&>(*std::as_const(copies.back()).GetGraphic());
        EXPECT_EQ(first.PixelsFor(64, 48), last.PixelsFor(64, 48));
        EXPECT_EQ(DecodedImage::LiveBytes() - before, 64 * 48 * 4);
        // Write access gives the writer a graphic of its own.
        EXPECT_NE(copies.back().GetGraphic(), std::as_const(copies.front()).GetGraphic());
        copies.back().Clear();
        EXPECT_FALSE(copies.front().Empty());
    }
    EXPECT_EQ(DecodedImage::LiveBytes(), before);
}
