#include "platform/image/BitmapImage.h"
#include "platform/io/Files.h"
#include "platform/shell/FileIcons.h"
#include "platform/shell/ImageExtract.h"
#include "platform/shell/ShellFolders.h"

#include "support/ImageOracles.h"
#include "support/ScopedEnv.h"
#include "support/TestPaths.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

using namespace lx;

namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(fs::u8path(path), std::ios::binary) << bytes;
}

// An RGB PNG written by libpng: the left half red, the right half blue.
std::string HalvesPng(int width, int height)
{
    lxtest::PngSource source{width, height, 8, PNG_COLOR_TYPE_RGB};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            source.samples.insert(source.samples.end(),
                                  {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255)});
        }
    return lxtest::WritePngWithLibpng(source);
}

double MeanRed(const Bitmap& bitmap)
{
    double sum = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            sum += (bitmap.Pixel(x, y) >> 16) & 0xFF;
    return sum / (static_cast<double>(bitmap.Width()) * bitmap.Height());
}

using lxtest::ScopedEnv;

} // namespace

TEST(ScaleToFit, KeepsProportionsNeverEnlargesAndNeverVanishes)
{
    struct Case {
        int width, height, boxWidth, boxHeight, expectWidth, expectHeight;
    };
    const Case cases[] = {
        {300, 150, 150, 150, 150, 75},  {150, 300, 150, 150, 75, 150}, {1000, 1, 150, 150, 150, 1},
        {1, 1000, 150, 150, 1, 150},    {20, 10, 150, 150, 20, 10},    {151, 151, 150, 150, 150, 150},
        {640, 480, 150, 150, 150, 112}, // 112.5 rounds half to even
    };
    for (const Case& c : cases) {
        const Bitmap scaled = ScaleToFit(Bitmap(c.width, c.height), c.boxWidth, c.boxHeight);
        EXPECT_EQ(scaled.Width(), c.expectWidth) << c.width << "x" << c.height;
        EXPECT_EQ(scaled.Height(), c.expectHeight) << c.width << "x" << c.height;
    }
    EXPECT_TRUE(ScaleToFit(Bitmap(), 150, 150).Empty());
    EXPECT_TRUE(ScaleToFit(Bitmap(10, 10), 0, 150).Empty());
}

TEST(ScaleToFit, AveragesTheAreaEachPixelCovers)
{
    // A solid colour stays exactly that colour at any ratio.
    for (const auto& [width, height] : {std::pair{7, 5}, std::pair{301, 299}, std::pair{1000, 3}}) {
        const Bitmap scaled = ScaleToFit(Bitmap(width, height, 0xFF3C6EB4u), 3, 3);
        for (int y = 0; y < scaled.Height(); ++y)
            for (int x = 0; x < scaled.Width(); ++x)
                ASSERT_EQ(scaled.Pixel(x, y), 0xFF3C6EB4u) << width << "x" << height;
    }
    // One-pixel stripes average to grey, and the mean brightness is kept
    // at a ratio that splits source pixels.
    Bitmap stripes(301, 200);
    for (int y = 0; y < stripes.Height(); ++y)
        for (int x = 0; x < stripes.Width(); x += 2)
            stripes.SetPixel(x, y, 0xFF000000u);
    const Bitmap grey = ScaleToFit(stripes, 150, 150);
    EXPECT_EQ(grey.Width(), 150);
    EXPECT_NEAR(MeanRed(grey), MeanRed(stripes), 0.6);
    for (int x = 1; x < grey.Width() - 1; ++x)
        EXPECT_NEAR(static_cast<int>(grey.Pixel(x, 50) & 0xFF), 127, 2) << x;
}

TEST(ScaleToFit, TransparentPixelsLendNoColour)
{
    // Left half fully transparent red, right half opaque blue.
    Bitmap source(4, 2, 0xFF0000FFu);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            source.SetPixel(x, y, 0x00FF0000u);
    const Bitmap scaled = ScaleToFit(source, 1, 1);
    ASSERT_EQ(scaled.Width(), 1);
    EXPECT_EQ(scaled.Pixel(0, 0), 0x800000FFu); // half covered, pure blue
}

TEST(ExtractThumbnail, DecodesAndScalesPngJpegAndBmpWhateverTheCase)
{
    lxtest::TempDir dir;
    WriteFile(dir.File("横長.png"), HalvesPng(400, 200));
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 300 * 600; ++i)
        samples.insert(samples.end(), {0, 200, 0});
    WriteFile(dir.File("PHOTO.JPG"), lxtest::WriteJpegWithLibjpeg(300, 600, 3, JCS_RGB, samples, false));
    WriteFile(dir.File("small.Bmp"), EncodeBmp(Bitmap(20, 10, 0xFF808080u)));

    Bitmap png(150, 150);
    ASSERT_TRUE(ExtractThumbnail(dir.File("横長.png"), png));
    EXPECT_EQ(png.Width(), 150);
    EXPECT_EQ(png.Height(), 75);
    EXPECT_EQ(png.Pixel(10, 40), 0xFFFF0000u);
    EXPECT_EQ(png.Pixel(140, 40), 0xFF0000FFu);

    Bitmap jpeg(150, 150);
    ASSERT_TRUE(ExtractThumbnail(dir.File("PHOTO.JPG"), jpeg));
    EXPECT_EQ(jpeg.Width(), 75);
    EXPECT_EQ(jpeg.Height(), 150);
    EXPECT_NEAR(static_cast<int>((jpeg.Pixel(30, 70) >> 8) & 0xFF), 200, 3);

    Bitmap bmp(150, 150);
    ASSERT_TRUE(ExtractThumbnail(dir.File("small.Bmp"), bmp));
    EXPECT_EQ(bmp.Width(), 20);
    EXPECT_EQ(bmp.Pixel(5, 5), 0xFF808080u);
}

TEST(ExtractThumbnail, FailsWithoutTouchingTheBitmap)
{
    lxtest::TempDir dir;
    const std::string png = HalvesPng(40, 40);
    WriteFile(dir.File("cut.png"), png.substr(0, png.size() / 2));
    WriteFile(dir.File("anim.gif"), "GIF89a");
    WriteFile(dir.File("notapicture.jpg"), "plain text");
    WriteFile(dir.File("drawing.emf"), "x");
    fs::create_directory(fs::u8path(dir.File("folder.png")));
    for (const char* name : {"cut.png", "anim.gif", "notapicture.jpg", "drawing.emf", "folder.png", "missing.png"}) {
        Bitmap bitmap(150, 150, 0xFF123456u);
        EXPECT_FALSE(ExtractThumbnail(dir.File(name), bitmap)) << name;
        EXPECT_EQ(bitmap, Bitmap(150, 150, 0xFF123456u)) << name;
    }
    WriteFile(dir.File("good.png"), png);
    Bitmap empty;
    EXPECT_FALSE(ExtractThumbnail(dir.File("good.png"), empty));
}

TEST(ShellFolders, FollowTheUserFoldersAndFallBackToHome)
{
    lxtest::TempDir dir;
    fs::create_directories(fs::u8path(dir.File("home/書類")));
    fs::create_directories(fs::u8path(dir.File("home/デスクトップ")));
    fs::create_directories(fs::u8path(dir.File("config")));
    WriteFile(dir.File("config/user-dirs.dirs"),
              "XDG_DOCUMENTS_DIR=\"$HOME/書類\"\n"
              "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
    const ScopedEnv home("HOME", dir.File("home"));
    const ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
    EXPECT_EQ(DocumentsFolder(), dir.File("home/書類"));
    EXPECT_EQ(DesktopFolder(), dir.File("home/デスクトップ"));

    fs::remove(fs::u8path(dir.File("home/書類")));
    EXPECT_EQ(DocumentsFolder(), dir.File("home"));
}

TEST(FileTypeIcon, GivesAnIconOfTheAskedSizeForAnyName)
{
    for (const char* name : {"写真.png", "a.JPG", "noextension", "x.unknown-kind", ""}) {
        const Bitmap icon = FileTypeIcon(name, 32);
        ASSERT_EQ(icon.Width(), 32) << name;
        ASSERT_EQ(icon.Height(), 32) << name;
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                opaque += (icon.Pixel(x, y) >> 24) == 0xFF;
        EXPECT_GT(opaque, 50) << name;
    }
    EXPECT_TRUE(FileTypeIcon("a.png", 0).Empty());
}
