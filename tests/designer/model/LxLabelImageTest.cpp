#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelFigure.h"

#include "platform/image/BitmapImage.h"
#include "platform/image/DecodedImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/text/Cp932.h"

#include "LabelRecordTesting.h"
#include "support/ImageOracles.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

using namespace lx;
using lxtest::Hex;

namespace {

// White and black quarters: white, black / black, white.
Bitmap Checker()
{
    Bitmap checker(2, 2, 0xFFFFFFFF);
    checker.SetPixel(1, 0, 0xFF000000);
    checker.SetPixel(0, 1, 0xFF000000);
    return checker;
}

std::unique_ptr<Graphic> Loaded(std::unique_ptr<Graphic> graphic, const std::string& bytes)
{
    graphic->LoadFromBytes(bytes);
    return graphic;
}

} // namespace

TEST(LabelImage, EveryStoredPictureKindSurvivesSaveLoadAndClone)
{
    EXPECT_EQ(Hex(lxtest::OwnPart(TLxLabelObjectImage())), "00 00 00 00 FF FF FF 00 00 01");
    const std::vector<std::uint8_t> samples(16 * 8 * 3, 0x80);
    const std::pair<int, std::unique_ptr<Graphic>> cases[] = {
        {1, std::make_unique<BitmapImage>(Checker())},
        {2, Loaded(std::make_unique<MetafileImage>(), lxtest::TinyEnhancedMetafile(1500, 700))},
        {3, Loaded(std::make_unique<JpegImage>(), lxtest::WriteJpegWithLibjpeg(16, 8, 3, JCS_RGB, samples, false))},
    };
    for (const auto& [kind, graphic] : cases) {
        SCOPED_TRACE(kind);
        TLxLabelObjectImage image;
        image.GetPicture().Assign(*graphic);
        image.SetTransparent(1);
        image.SetTransparentColor(0x00FF00FF);
        image.SetFixRate(0);
        const std::string file = graphic->SaveToBytes();
        const std::string own = lxtest::OwnPart(image);
        // int32 size, int32 kind, the graphic's own file, then the colour and flags.
        ASSERT_EQ(own.size(), 8 + file.size() + 6);
        EXPECT_EQ(own[4], char(kind));
        EXPECT_EQ(own.substr(8, file.size()), file);
        EXPECT_EQ(Hex(own.substr(own.size() - 6)), "FF 00 FF 00 01 00");
        const auto loaded = lxtest::Reloaded<TLxLabelObjectImage>(lxtest::SavedBytes(image));
        EXPECT_EQ(loaded->GetPicture().GetGraphic()->ClassName(), graphic->ClassName());
        lxtest::ExpectRoundTrips(image);
    }
}

TEST(LabelImage, ClonesAndGivenPicturesAreCopiesOfTheirOwn)
{
    TLxLabelObjectImage source;
    source.GetPicture().SetBitmap(Checker());
    dynamic_cast<TLxLabelObjectImage&>(*source.Clone()).GetPicture().Clear();
    ASSERT_FALSE(source.GetPicture().Empty());
    Picture given;
    given.SetBitmap(Bitmap(3, 3, 0xFF000000));
    source.SetPicture(given);
    dynamic_cast<BitmapImage&>(*given.GetGraphic()).MutableBitmap().SetPixel(0, 0, 0xFFFFFFFF);
    EXPECT_EQ(dynamic_cast<const BitmapImage&>(*source.GetPicture().GetGraphic()).GetBitmap().Pixel(0, 0), 0xFF000000u);
}

TEST(LabelImage, TransparencyLeavesTheKeyColourOutAndOpaquePicturesFillTheBox)
{
    const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, 30, 20, 0);
    list.AddFigure();
    auto& back = dynamic_cast<TLxLabelObjectFigure&>(*list.GetObject(0));
    back.SetFigureType(FigureFilledRectangle);
    back.SetLineColor(0x0000FF);
    back.SetLeft(0);
    back.SetTop(0);
    back.SetWidth(30);
    back.SetHeight(20);
    list.AddImage(); // in front of the red background
    auto& image = dynamic_cast<TLxLabelObjectImage&>(*list.GetObject(0));
    image.GetPicture().SetBitmap(Checker());
    image.SetLeft(2);
    image.SetTop(3);
    image.SetWidth(20); // stretched to the box whatever the picture's shape
    image.SetHeight(10);

    // Black as the key: the white quarters show, the red shows through the black.
    const int quarter = 100 * 50;
    image.SetTransparent(0);
    const Bitmap opaque = lxtest::DrawCell(list);
    EXPECT_EQ(lxtest::CountColor(opaque, 0x000000), 2 * quarter);
    image.SetTransparent(1);
    image.SetTransparentColor(0x000000);
    const Bitmap cell = lxtest::DrawCell(list);
    EXPECT_EQ(lxtest::CountColor(cell, 0xFFFFFF), 2 * quarter);
    EXPECT_EQ(lxtest::CountColor(cell, 0x000000), 0);
    EXPECT_TRUE(lxtest::IsColor(cell, 120, 30, 0x0000FF));
    EXPECT_EQ(dynamic_cast<const BitmapImage&>(*image.GetPicture().GetGraphic()).GetBitmap(), Checker());
}

// The JPEG reader takes up to 100 M pixels; a picture of more than 64 Mi of
// them draws into its label like any other, decoded no larger than its box.
TEST(LabelImage, APictureOfMoreThan64MiPixelsDrawsIntoItsLabel)
{
    constexpr int kSide = 8200;
    std::vector<std::uint8_t> row;
    for (int x = 0; x < kSide; ++x)
        row.insert(row.end(), {0, 0, 255});
    const std::vector<std::string> faces;
    TlxLabelObjectManager list(faces, 30, 20, 0);
    list.AddImage();
    auto& image = dynamic_cast<TLxLabelObjectImage&>(*list.GetObject(0));
    auto jpeg = std::make_unique<JpegImage>();
    jpeg->LoadFromBytes(lxtest::WriteJpegWithLibjpeg(kSide, kSide, 3, JCS_RGB, row, false));
    image.GetPicture().SetGraphic(std::move(jpeg));
    image.SetLeft(0);
    image.SetTop(0);
    image.SetWidth(30);
    image.SetHeight(20);
    const std::int64_t before = DecodedImage::LiveBytes();
    const Bitmap cell = lxtest::DrawCell(list);
    int blue = 0;
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            blue += (cell.Pixel(x, y) & 0xFF) > 200 && ((cell.Pixel(x, y) >> 16) & 0xFF) < 60;
    EXPECT_GT(blue, cell.Width() * cell.Height() * 9 / 10);
    EXPECT_LE(DecodedImage::LiveBytes() - before, std::int64_t{kSide / 8 + 1} * (kSide / 8 + 1) * 4);
}
