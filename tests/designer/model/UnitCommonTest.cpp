#include "designer/model/UnitCommon.h"

#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include "support/ImageOracles.h"
#include "support/SampleFiles.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <jpeglib.h>

using namespace lx;

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

std::string Int32(std::int32_t v) { return Bytes({v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF}); }

// An 8-bit BMP from Qt's writer: a form ours never writes, so a byte-exact
// round trip shows the file itself was kept.
std::string QtIndexedBmp()
{
    QImage image(5, 3, QImage::Format_Indexed8);
    image.setColorTable({0xFF102030u, 0xFFA0B0C0u});
    image.fill(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

TEST(StreamString, StoresLengthAndBytesAndReadsNonPositiveLengthsAsEmpty)
{
    MemoryStream stream;
    WriteStreamString("", stream);
    WriteStreamString(Sjis("文字シート"), stream);
    EXPECT_EQ(stream.Bytes(), Bytes({0, 0, 0, 0, 10, 0, 0, 0}) + Sjis("文字シート"));

    MemoryStream negative(Int32(-5) + Int32(77));
    std::string text = "old";
    ReadStreamString(negative, text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(negative.Position(), 4u);
    EXPECT_EQ(negative.ReadInt32(), 77);

    for (const std::string& hostile : {Int32(10) + "abc", Int32(0x7FFFFFFF), Bytes({5, 0})}) {
        MemoryStream in(hostile);
        EXPECT_THROW(ReadStreamString(in), ReadError);
    }
}

TEST(StreamFont, StyleBitsAndFieldOrder)
{
    FontValue font;
    font.Size = 10;
    font.Color = 0x0000FF;
    font.Name = Sjis("ＭＳ ゴシック");
    font.Style = kFontBold | kFontUnderline;
    MemoryStream stream;
    WriteStreamFont(font, stream);
    EXPECT_EQ(stream.Bytes(), Int32(10) + Int32(0xFF) + Int32(13) + Sjis("ＭＳ ゴシック") + Bytes({0x05}));

    MemoryStream all(Int32(12) + Int32(static_cast<std::int32_t>(0x80000008u)) + Int32(1) + "A" + Bytes({0x0F}));
    FontValue read;
    ReadStreamFont2(read, all);
    EXPECT_EQ(read.Style, kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut);
    EXPECT_EQ(read.Color, 0x80000008u); // a system colour stays as stored
    EXPECT_EQ(read.Size, 12);
    EXPECT_EQ(read.Name, "A");

    MemoryStream cut(Int32(12) + Int32(0) + Int32(5) + "AB");
    EXPECT_THROW(ReadStreamFont(read, cut), ReadError);
    EXPECT_EQ(read.Size, 12); // unchanged by the failed read
    EXPECT_EQ(read.Name, "A");
}

TEST(StreamPicture, BitmapJpegAndMetafileSurviveByteForByte)
{
    const std::string jpeg =
        lxtest::WriteJpegWithLibjpeg(8, 8, 1, JCS_GRAYSCALE, std::vector<std::uint8_t>(64, 90), true);
    struct Case {
        const char* name;
        std::unique_ptr<Graphic> graphic;
        std::string file;
        std::int32_t kind;
    };
    Case cases[] = {{"bitmap", std::make_unique<BitmapImage>(), QtIndexedBmp(), 1},
                    {"metafile", std::make_unique<MetafileImage>(), lxtest::TinyEnhancedMetafile(), 2},
                    {"placeable", std::make_unique<MetafileImage>(), lxtest::TinyPlaceableMetafile(), 2},
                    {"jpeg", std::make_unique<JpegImage>(), jpeg, 3}};
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.graphic->LoadFromBytes(c.file);
        Picture picture;
        picture.SetGraphic(std::move(c.graphic));
        MemoryStream stream;
        WriteStreamPicture(picture, stream);
        EXPECT_EQ(stream.Bytes(), Int32(static_cast<std::int32_t>(c.file.size())) + Int32(c.kind) + c.file);

        stream.Seek(0);
        Picture read;
        ReadStreamPicture(read, stream);
        ASSERT_NE(read.GetGraphic(), nullptr);
        EXPECT_EQ(read.GetGraphic()->ClassName(), picture.GetGraphic()->ClassName());
        EXPECT_EQ(read.GetGraphic()->SaveToBytes(), c.file);
        EXPECT_EQ(stream.Remaining(), 0u);
    }
}

TEST(StreamPicture, NothingEmptyOrPngIsStoredAsSizeZero)
{
    Picture none, emptyBitmap, png;
    emptyBitmap.SetGraphic(std::make_unique<BitmapImage>());
    auto pngImage = std::make_unique<PngImage>();
    pngImage->Compress(Bitmap(2, 2));
    png.SetGraphic(std::move(pngImage));
    for (const Picture* picture : {&none, &emptyBitmap, &png}) {
        MemoryStream stream;
        WriteStreamPicture(*picture, stream);
        EXPECT_EQ(stream.Bytes(), Int32(0));
        stream.Seek(0);
        Picture read;
        read.SetBitmap(Bitmap(1, 1));
        ReadStreamPicture(read, stream);
        EXPECT_EQ(read.GetGraphic(), nullptr);
    }
}

TEST(StreamPicture, HostileRecordsEndInReadErrorOrAreSkippedWhole)
{
    const std::string bmp = EncodeBmp(Bitmap(2, 2));
    std::string damagedBmp = bmp;
    damagedBmp[28] = 7; // bits per pixel
    const std::vector<std::pair<const char*, std::string>> failing = {
        {"negative size", Int32(-1) + Int32(1) + bmp},
        {"size beyond the stream", Int32(0x7FFFFFFF) + Int32(1) + bmp},
        {"cut in the kind", Int32(4) + Bytes({1, 0})},
        {"cut in the bytes", Int32(static_cast<std::int32_t>(bmp.size())) + Int32(1) + bmp.substr(0, 20)},
        {"unknown kind without its bytes", Int32(50) + Int32(9) + "short"},
        {"damaged bitmap", Int32(static_cast<std::int32_t>(damagedBmp.size())) + Int32(1) + damagedBmp},
        {"jpeg kind holding a bitmap", Int32(static_cast<std::int32_t>(bmp.size())) + Int32(3) + bmp},
        {"metafile kind holding a bitmap", Int32(static_cast<std::int32_t>(bmp.size())) + Int32(2) + bmp},
    };
    for (const auto& [name, bytes] : failing) {
        SCOPED_TRACE(name);
        MemoryStream stream(bytes);
        Picture picture;
        picture.SetBitmap(Bitmap(1, 1));
        try {
            ReadStreamPicture(picture, stream);
            ADD_FAILURE() << "no read error";
        } catch (const ReadError& error) {
            EXPECT_GT(std::string(error.what()).size(), 0u);
        }
        // Once a kind has been read the old graphic is gone.
        if (bytes.size() >= 8) {
            EXPECT_EQ(picture.GetGraphic() == nullptr, std::string(name) != "negative size");
        }
    }

    // An unknown kind whose bytes are there is skipped, so the next value is
    // read from the right place.
    MemoryStream stream(Int32(5) + Int32(4) + "12345" + Int32(1234));
    Picture picture;
    picture.SetBitmap(Bitmap(1, 1));
    ReadStreamPicture(picture, stream);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(stream.ReadInt32(), 1234);
}
