#include "designer/model/LxLabelImage.h"

#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"
#include "support/ImageOracles.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

using namespace lx;
using lxtest::Hex;

namespace {

// A 6 x 4 bitmap with a different colour in every pixel.
Bitmap Pattern()
{
    Bitmap bitmap(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            bitmap.SetPixel(x, y, 0xFF000000u | std::uint32_t(x * 40) << 16 | std::uint32_t(y * 60) << 8 | 0x33);
    return bitmap;
}

std::unique_ptr<Graphic> Loaded(std::unique_ptr<Graphic> graphic, const std::string& bytes)
{
    graphic->LoadFromBytes(bytes);
    return graphic;
}

} // namespace

TEST(LabelImage, NewObjectWritesNoPictureThenWhiteOpaqueAndFixedRate)
{
    const TLxLabelObjectImage image;
    EXPECT_EQ(image.GetKind(), KindImage);
    EXPECT_EQ(image.GetName(), Sjis("画像シート"));
    EXPECT_TRUE(image.GetPicture().Empty());
    EXPECT_EQ(Hex(lxtest::OwnPart(image)), "00000000" "FFFFFF00" "00" "01");
}

TEST(LabelImage, EveryStoredPictureKindSurvivesSaveLoadAndClone)
{
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 16 * 8; ++i)
        samples.insert(samples.end(), {std::uint8_t(i * 2), 200, std::uint8_t(255 - i)});
    const std::string jpeg = lxtest::WriteJpegWithLibjpeg(16, 8, 3, JCS_RGB, samples, false);
    struct Case {
        const char* name;
        std::int32_t storedKind;
        std::unique_ptr<Graphic> graphic;
    };
    Case cases[] = {
        {"bitmap", 1, std::make_unique<BitmapImage>(Pattern())},
        {"metafile", 2, Loaded(std::make_unique<MetafileImage>(), lxtest::TinyEnhancedMetafile(1500, 700))},
        {"jpeg", 3, Loaded(std::make_unique<JpegImage>(), jpeg)},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLxLabelObjectImage image;
        image.GetPicture().Assign(*c.graphic);
        image.SetTransparent(1);
        image.SetTransparentColor(0x00FF00FF);
        image.SetFixRate(0);
        image.SetWidth(17.5);
        const std::string graphicBytes = c.graphic->SaveToBytes();
        const std::string own = lxtest::OwnPart(image);
        // int32 size (kind + graphic), int32 kind, the graphic's file.
        ASSERT_EQ(own.size(), 4 + 4 + graphicBytes.size() + 6);
        EXPECT_EQ(own[4], char(c.storedKind));
        EXPECT_EQ(own.substr(8, graphicBytes.size()), graphicBytes);
        EXPECT_EQ(Hex(own.substr(own.size() - 6)), "FF00FF00" "01" "00");

        const std::string record = lxtest::Record(image);
        const auto loaded = lxtest::Reloaded<TLxLabelObjectImage>(record);
        ASSERT_NE(loaded->GetPicture().GetGraphic(), nullptr);
        EXPECT_EQ(loaded->GetPicture().GetGraphic()->ClassName(), c.graphic->ClassName());
        EXPECT_EQ(loaded->GetPicture().Width(), c.graphic->Width());
        EXPECT_EQ(loaded->GetTransparent(), 1);
        EXPECT_EQ(loaded->GetTransparentColor(), 0x00FF00FFu);
        EXPECT_EQ(loaded->GetFixRate(), 0);
        EXPECT_EQ(lxtest::Record(*loaded), record);
        if (auto* raster = dynamic_cast<const RasterGraphic*>(loaded->GetPicture().GetGraphic())) {
            EXPECT_EQ(raster->GetBitmap(), dynamic_cast<const RasterGraphic&>(*c.graphic).GetBitmap());
        }

        EXPECT_EQ(lxtest::Record(*image.Clone()), record);
    }
}

TEST(LabelImage, APictureTheStreamDoesNotStoreReloadsEmptyKeepingTheRest)
{
    TLxLabelObjectImage image;
    auto png = std::make_unique<PngImage>();
    png->Compress(Pattern());
    image.GetPicture().SetGraphic(std::move(png));
    image.SetTransparentColor(0x123456);
    image.SetTransparent(1);
    image.SetLeft(9);
    image.SetHeight(21);
    const auto loaded = lxtest::Reloaded<TLxLabelObjectImage>(lxtest::Record(image));
    EXPECT_TRUE(loaded->GetPicture().Empty());
    EXPECT_EQ(loaded->GetTransparentColor(), 0x123456u);
    EXPECT_EQ(loaded->GetTransparent(), 1);
    EXPECT_EQ(loaded->GetFixRate(), 1);
    EXPECT_EQ(loaded->GetLeft(), 9.0);
    EXPECT_EQ(loaded->GetHeight(), 21.0);
}

TEST(LabelImage, CloneAndSetPictureTakeTheirOwnCopyOfTheGraphic)
{
    TLxLabelObjectImage source;
    source.GetPicture().SetBitmap(Pattern());
    const auto clone = source.Clone();
    auto& copy = dynamic_cast<TLxLabelObjectImage&>(*clone);
    copy.GetPicture().Clear();
    ASSERT_FALSE(source.GetPicture().Empty());
    EXPECT_EQ(dynamic_cast<const BitmapImage&>(*source.GetPicture().GetGraphic()).GetBitmap(), Pattern());

    Picture given;
    given.SetBitmap(Bitmap(3, 3, 0xFF000000));
    copy.SetPicture(given);
    dynamic_cast<BitmapImage&>(*given.GetGraphic()).MutableBitmap().SetPixel(0, 0, 0xFFFFFFFF);
    EXPECT_EQ(dynamic_cast<const BitmapImage&>(*copy.GetPicture().GetGraphic()).GetBitmap().Pixel(0, 0),
              0xFF000000u);
}

TEST(LabelImage, DamagedPictureBytesAreAReadError)
{
    TLxLabelObjectImage image;
    image.GetPicture().SetBitmap(Pattern());
    std::string record = lxtest::Record(image);
    const std::size_t own = record.size() - lxtest::OwnPart(image).size();
    EXPECT_THROW(lxtest::Reloaded<TLxLabelObjectImage>(record.substr(0, record.size() - 7)), ReadError);
    record[own + 8] = 'X'; // the BMP signature
    EXPECT_THROW(lxtest::Reloaded<TLxLabelObjectImage>(record), ReadError);
}
