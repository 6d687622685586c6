#include "platform/metafile/Dib.h"

#include <gtest/gtest.h>

using namespace lx;

namespace {

int BitCount(const DibParts& dib) { return static_cast<unsigned char>(dib.info[14]); }

} // namespace

TEST(Dib, BitmapsOfTwoColoursOrOneTravelAtOneBitAndComeBackTheSame)
{
    // 37 pixels: a row of bits padded to 8 bytes; repeated rows and a last
    // partial byte.
    Bitmap symbol(37, 6, 0xFF123456);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 37; ++x)
            if ((x / 3 + y / 2) % 2)
                symbol.SetPixel(x, y, 0xFF000000);
    const DibParts compact = EncodeCompactDib(symbol);
    EXPECT_EQ(BitCount(compact), 1);
    EXPECT_EQ(compact.bits.size(), 8u * 6u);
    EXPECT_EQ(DecodeDib(compact.info, compact.bits), symbol);

    const Bitmap plain(3, 2, 0xFF00FF00);
    const DibParts single = EncodeCompactDib(plain);
    EXPECT_EQ(BitCount(single), 1);
    EXPECT_EQ(DecodeDib(single.info, single.bits), plain);
}

TEST(Dib, ABitmapOfThreeColoursKeepsEveryColour)
{
    Bitmap picture(5, 3, 0xFFFFFFFF);
    picture.SetPixel(1, 1, 0xFF000000);
    picture.SetPixel(4, 2, 0xFFFF0000);
    const DibParts dib = EncodeCompactDib(picture);
    EXPECT_EQ(BitCount(dib), 24);
    EXPECT_EQ(DecodeDib(dib.info, dib.bits), picture);
}
