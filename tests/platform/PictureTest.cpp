#include "platform/image/Picture.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/io/LittleEndian.h"
#include "platform/text/Cp932.h"

#include "support/SampleFiles.h"
#include "support/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace lx;

namespace {

std::string Patched(std::string bytes, std::size_t offset, std::uint32_t value, int width = 4)
{
    std::string v;
    AppendLe32(v, value);
    bytes.replace(offset, static_cast<std::size_t>(width), v.substr(0, static_cast<std::size_t>(width)));
    return bytes;
}

} // namespace

TEST(MetafileImage, TellsEnhancedFromPlaceableAndKeepsTheBytes)
{
    MetafileImage emf;
    emf.LoadFromBytes(lxtest::TinyEnhancedMetafile(2540, 1270));
    EXPECT_TRUE(emf.IsEnhanced());
    EXPECT_EQ(emf.MmWidth(), 2540);
    EXPECT_EQ(emf.Width(), 96); // one inch at the reference 96 dpi
    EXPECT_EQ(emf.Height(), 48);
    EXPECT_EQ(emf.SaveToBytes(), lxtest::TinyEnhancedMetafile(2540, 1270));

    MetafileImage wmf;
    wmf.LoadFromBytes(lxtest::TinyPlaceableMetafile(2900, 1450, 2540));
    EXPECT_FALSE(wmf.IsEnhanced());
    EXPECT_EQ(wmf.MmWidth(), 2900);
    EXPECT_EQ(wmf.Height(), 55); // 14.5 mm
    EXPECT_EQ(wmf.Bytes(), lxtest::TinyPlaceableMetafile(2900, 1450, 2540));
    EXPECT_TRUE(wmf.Clone()->SaveToBytes() == wmf.Bytes());
}

TEST(MetafileImage, DamagedHeadersAndRecordsEndInReadError)
{
    const std::string emf = lxtest::TinyEnhancedMetafile();
    const std::string wmf = lxtest::TinyPlaceableMetafile();
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"neither kind", std::string(120, 'x')},
        {"emf cut short", emf.substr(0, 87)},
        {"emf signature", Patched(emf, 40, 0x12345678)},
        {"emf size beyond the bytes", Patched(emf, 48, 200)},
        {"emf header record too small", Patched(emf, 4, 40)},
        {"emf record of size 0", Patched(emf, 92, 0)},
        {"emf record size not a multiple of 4", Patched(emf, 92, 18)},
        {"emf record past the end", Patched(emf, 92, 24)},
        {"wmf checksum", Patched(wmf, 20, 0x1234, 2)},
        {"wmf without units per inch", Patched(Patched(wmf, 14, 0, 2), 20, 0x9AC6 ^ 0xCDD7 ^ 2900 ^ 2900, 2)},
        {"wmf size beyond the bytes", Patched(wmf, 28, 1000)},
        {"wmf header words", Patched(wmf, 24, 8, 2)},
        {"wmf record of size 0", Patched(wmf, 40, 0)},
        {"wmf cut short", wmf.substr(0, 30)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        MetafileImage image;
        EXPECT_THROW(image.LoadFromBytes(bytes), ReadError);
        EXPECT_TRUE(image.Empty());
    }
}

TEST(Picture, CopiesAreDeepAndEmptinessFollowsTheGraphic)
{
    Picture picture;
    EXPECT_TRUE(picture.Empty());
    picture.SetGraphic(std::make_unique<BitmapImage>());
    EXPECT_TRUE(picture.Empty()); // a graphic without pixels
    picture.SetBitmap(Bitmap(3, 2));
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.GetGraphic()->ClassName(), "TBitmap");

    Picture copy = picture;
    dynamic_cast<BitmapImage*>(copy.GetGraphic())->MutableBitmap().SetPixel(0, 0, 0xFF000000u);
    EXPECT_EQ(dynamic_cast<const BitmapImage*>(picture.GetGraphic())->GetBitmap().Pixel(0, 0), 0xFFFFFFFFu);
    copy = Picture();
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(picture.Width(), 3);
}

TEST(Picture, LoadsAFileByItsExtensionUnderAJapaneseFolder)
{
    lxtest::TempDir temp;
    const std::string folder = temp.File("素材");
    std::filesystem::create_directory(folder);
    const std::string base = folder + "/";
    struct Case {
        const char* name;
        std::string bytes;
        std::string_view className;
    };
    const Bitmap pixels(4, 3, 0xFF336699u);
    for (const Case& c :
         {Case{"a.BMP", EncodeBmp(pixels), "TBitmap"}, Case{"b.Jpeg", EncodeJpeg(pixels), "TJPEGImage"},
          Case{"c.jpg", EncodeJpeg(pixels), "TJPEGImage"}, Case{"d.png", EncodePng(pixels), "TPngImage"},
          Case{"e.emf", lxtest::TinyEnhancedMetafile(), "TMetafile"}}) {
        SCOPED_TRACE(c.name);
        WriteFileReplacing(base + c.name, c.bytes);
        Picture picture;
        picture.LoadFromFile(base + c.name);
        ASSERT_NE(picture.GetGraphic(), nullptr);
        EXPECT_EQ(picture.GetGraphic()->ClassName(), c.className);
        EXPECT_EQ(picture.GetGraphic()->SaveToBytes(), c.bytes);
    }

    Picture picture;
    picture.SetBitmap(pixels);
    WriteFileReplacing(base + "f.gif", "GIF89a");
    try {
        picture.LoadFromFile(base + "f.gif");
        FAIL() << "a GIF file was accepted";
    } catch (const ReadError& error) {
        EXPECT_NE(std::string(error.what()).find(".GIF"), std::string::npos);
    }
    WriteFileReplacing(base + "g.png", EncodeBmp(pixels));
    EXPECT_THROW(picture.LoadFromFile(base + "g.png"), ReadError);
    EXPECT_THROW(picture.LoadFromFile(base + "missing.bmp"), FileError);
    EXPECT_EQ(picture.Width(), 4); // failed loads leave the picture as it was
}
