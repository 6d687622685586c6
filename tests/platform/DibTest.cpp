#include "platform/metafile/Dib.h"

#include <gtest/gtest.h>

using namespace lx;

// Two colours or one travel at one bit a pixel, more at 24 bits; each
// comes back the same.
TEST(Dib, BitmapsTravelAtTheFewestBitsAndComeBackTheSame)
{
    // 37 pixels: a row of bits padded to 8 bytes; repeated rows and a last
    // partial byte.
    Bitmap symbol(37, 6, 0xFF123456);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 37; ++x)
            if ((x / 3 + y / 2) % 2)
                symbol.SetPixel(x, y, 0xFF000000);
    Bitmap three(5, 3, 0xFFFFFFFF);
    three.SetPixel(1, 1, 0xFF000000);
    three.SetPixel(4, 2, 0xFFFF0000);
    for (const auto& [bitmap, bits] :
         {std::pair{symbol, 1}, std::pair{Bitmap(3, 2, 0xFF00FF00), 1}, std::pair{three, 24}}) {
        const DibParts dib = EncodeCompactDib(bitmap);
        EXPECT_EQ(static_cast<unsigned char>(dib.info[14]), bits);
        EXPECT_EQ(DecodeDib(dib.info, dib.bits), bitmap);
    }
    EXPECT_EQ(EncodeCompactDib(symbol).bits.size(), 8u * 6u);
}
