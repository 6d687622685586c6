#include "platform/image/BitmapImage.h"
#include "platform/io/Errors.h"
#include "platform/io/LittleEndian.h"

#include <QByteArray>
#include <QImage>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

using namespace lx;

namespace {

// A BMP file laid out field by field as the format documents it.
struct BmpLayout {
    std::uint32_t headerSize = 40; // 12 core, 40 info, 108 with masks and alpha
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks; // red, green, blue[, alpha]
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::string pixels; // rows as stored, padded to 4 bytes
};

std::string MakeBmp(const BmpLayout& s)
{
    std::string info;
    AppendLe32(info, s.headerSize);
    if (s.headerSize == 12) {
        AppendLe16(info, static_cast<std::uint16_t>(s.width));
        AppendLe16(info, static_cast<std::uint16_t>(s.height));
        AppendLe16(info, 1);
        AppendLe16(info, s.bits);
    } else {
        for (std::uint32_t v : {std::uint32_t(s.width), std::uint32_t(s.height)})
            AppendLe32(info, v);
        AppendLe16(info, 1);
        AppendLe16(info, s.bits);
        for (std::uint32_t v : {s.compression, std::uint32_t(s.pixels.size()), 2835u, 2835u, s.colorsUsed, 0u})
            AppendLe32(info, v);
        for (std::uint32_t mask : s.masks)
            AppendLe32(info, mask);
        if (info.size() < s.headerSize)
            info.resize(s.headerSize, '\0');
    }
    std::string palette;
    for (std::uint32_t rgb : s.palette) {
        palette += {char(rgb & 0xFF), char((rgb >> 8) & 0xFF), char((rgb >> 16) & 0xFF)};
        if (s.headerSize != 12)
            palette += '\0';
    }
    std::string file = "BM";
    const auto offset = static_cast<std::uint32_t>(14 + info.size() + palette.size());
    AppendLe32(file, offset + static_cast<std::uint32_t>(s.pixels.size()));
    AppendLe32(file, 0);
    AppendLe32(file, offset);
    return file + info + palette + s.pixels;
}

// Rows of `bits`-wide values (most significant first below a byte, little-
// endian above), each padded to four bytes.
std::string PackRows(int width, int height, int bits, const std::function<std::uint32_t(int, int)>& value)
{
    std::string rows;
    for (int y = 0; y < height; ++y) {
        std::string row((width * bits + 31) / 32 * 4, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            if (bits < 8)
                row[x * bits / 8] |= char(v << (8 - bits - x * bits % 8));
            else
                for (int b = 0; b < bits / 8; ++b)
                    row[x * bits / 8 + b] = char(v >> (8 * b));
        }
        rows += row;
    }
    return rows;
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// Qt's own BMP reader is the oracle for every layout it understands. Qt
// widens 5- and 6-bit channels by a plain shift, we scale them to the full
// range (31 is 255), hence a tolerance there.
void ExpectSameAsQt(const std::string& file, int tolerance = 0)
{
    const Bitmap ours = DecodeBmp(file);
    QImage qt;
    ASSERT_TRUE(qt.loadFromData(QByteArray(file.data(), qsizetype(file.size())), "BMP"));
    qt = qt.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(ours.Width(), qt.width());
    ASSERT_EQ(ours.Height(), qt.height());
    for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x)
            ASSERT_TRUE(Near(ours.Pixel(x, y), qt.pixel(x, y), tolerance))
                << std::hex << ours.Pixel(x, y) << " " << qt.pixel(x, y) << " at " << std::dec << x << "," << y;
}

std::uint32_t Pattern(int x, int y) { return std::uint32_t(x * 73 + y * 151 + x * y * 7) * 2654435761u; }

std::vector<std::uint32_t> Palette(int n)
{
    std::vector<std::uint32_t> colors;
    for (int i = 0; i < n; ++i)
        colors.push_back(Pattern(i, 3) & 0xFFFFFF);
    return colors;
}

} // namespace

TEST(BmpReader, EveryDepthAndLayoutDecodesAsQtDoes)
{
    const int w = 13, h = 5; // odd width: every row has padding
    auto index = [](int n) { return [n](int x, int y) { return std::uint32_t(x + 2 * y) % n; }; };
    struct Case {
        const char* name;
        BmpLayout layout;
        int tolerance = 0;
    };
    const std::vector<Case> cases = {
        {"1 bit", {40, w, h, 1, 0, 0, {}, Palette(2), PackRows(w, h, 1, index(2))}},
        {"4 bit", {40, w, h, 4, 0, 0, {}, Palette(16), PackRows(w, h, 4, index(16))}},
        {"8 bit short palette", {40, w, h, 8, 0, 5, {}, Palette(5), PackRows(w, h, 8, index(5))}},
        {"16 bit 555", {40, w, h, 16, 0, 0, {}, {}, PackRows(w, h, 16, Pattern)}, 7},
        {"16 bit 565 masks", {40, w, h, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}, PackRows(w, h, 16, Pattern)}, 7},
        {"24 bit top-down", {40, w, -h, 24, 0, 0, {}, {}, PackRows(w, h, 24, Pattern)}},
        {"32 bit unused alpha", {40, w, h, 32, 0, 0, {}, {}, PackRows(w, h, 32, Pattern)}},
        {"32 bit masks with alpha",
         {108,
          w,
          h,
          32,
          3,
          0,
          {0xFF0000, 0xFF00, 0xFF, 0xFF000000u},
          {},
          PackRows(w, h, 32, [](int x, int y) { return Pattern(x, y) | 0xFF000000u; })}},
        {"core 8 bit", {12, w, h, 8, 0, 0, {}, Palette(256), PackRows(w, h, 8, index(256))}},
        {"core 24 bit", {12, w, h, 24, 0, 0, {}, {}, PackRows(w, h, 24, Pattern)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSameAsQt(MakeBmp(c.layout), c.tolerance);
    }
    // Full-scale packed channels are full-scale colours.
    const auto white = [](int, int) { return 0x7FFFu; };
    EXPECT_EQ(DecodeBmp(MakeBmp({40, 1, 1, 16, 0, 0, {}, {}, PackRows(1, 1, 16, white)})).Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(BmpReader, PaletteIndexBeyondThePaletteIsBlack)
{
    const Bitmap bitmap = DecodeBmp(MakeBmp(
        {40, 2, 1, 8, 0, 1, {}, {0x00FF00}, PackRows(2, 1, 8, [](int x, int) { return std::uint32_t(x * 200); })}));
    EXPECT_EQ(bitmap.Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(bitmap.Pixel(1, 0), 0xFF000000u);
}

TEST(BmpReader, HostileFilesEndInReadError)
{
    const std::string good = MakeBmp({40, 4, 4, 24, 0, 0, {}, {}, PackRows(4, 4, 24, Pattern)});
    auto patched = [&](std::size_t offset, std::uint32_t value) {
        std::string file = good;
        std::string v;
        AppendLe32(v, value);
        file.replace(offset, 4, v);
        return file;
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"signature only", "BM"},
        {"cut in the header", good.substr(0, 30)},
        {"cut in the pixels", good.substr(0, good.size() - 1)},
        {"wrong signature", "XY" + good.substr(2)},
        {"negative width", patched(18, 0xFFFFFFFCu)},
        {"smallest height", patched(22, 0x80000000u)},
        {"unknown depth", patched(28, 7)},
        {"run-length compressed", patched(30, 1)},
        {"masks on 24 bits", patched(30, 3)},
        {"header size 20", patched(14, 20)},
        {"header beyond the file", patched(14, 4000)},
        {"pixels beyond the file", patched(10, 1000)},
        {"pixels offset past 4 GiB", patched(10, 0xFFFFFFF0u)},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(DecodeBmp(file), ReadError);
    }
    // 20000 x 20000 is over the limit; 9000 x 9000 is under it but the file
    // holds no pixels for it. Neither may allocate the claimed size.
    EXPECT_THROW(DecodeBmp(MakeBmp({40, 20000, 20000, 24, 0, 0, {}, {}, ""})), ReadError);
    EXPECT_THROW(DecodeBmp(MakeBmp({40, 9000, 9000, 24, 0, 0, {}, {}, ""})), ReadError);
    EXPECT_THROW(DecodeBmp(MakeBmp({40, 9000, -9000, 1, 0, 0, {}, {0, 0xFFFFFF}, "abc"})), ReadError);
    try {
        DecodeBmp("BM");
    } catch (const ReadError& error) {
        EXPECT_NE(std::string(error.what()).find("ビットマップ"), std::string::npos);
    }
}

TEST(BmpWriter, QtReadsBackEveryPixelAndTheHeaderIsComplete)
{
    Bitmap bitmap(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            bitmap.SetPixel(x, y, 0xFF000000u | (Pattern(x, y) & 0xFFFFFF));
    const std::string file = EncodeBmp(bitmap);
    EXPECT_EQ(LeReader(file, "").U32(2), file.size());
    EXPECT_EQ(file.size(), 54u + 3 * 24); // 24 bits, 21 bytes a row padded to 24
    ExpectSameAsQt(file);
    EXPECT_EQ(DecodeBmp(file), bitmap);
}

TEST(BmpWriter, MonochromeKeepsOnlyWhiteAsWhite)
{
    Bitmap bitmap(33, 2, 0xFF000000u);
    bitmap.SetPixel(0, 0, 0xFFFFFFFFu);
    bitmap.SetPixel(32, 1, 0x00FFFFFFu);
    bitmap.SetPixel(5, 0, 0xFFFEFFFFu);
    const std::string file = EncodeBmp(bitmap, BmpDepth::Mono);
    EXPECT_EQ(file.size(), 62u + 2 * 8);
    QImage qt;
    ASSERT_TRUE(qt.loadFromData(QByteArray(file.data(), qsizetype(file.size())), "BMP"));
    EXPECT_EQ(qt.depth(), 1);
    EXPECT_EQ(qt.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(qt.pixel(32, 1), 0xFFFFFFFFu);
    EXPECT_EQ(qt.pixel(5, 0), 0xFF000000u);
    EXPECT_EQ(qt.pixel(1, 0), 0xFF000000u);
}

TEST(BitmapImage, KeepsTheLoadedFileUntilThePixelsChange)
{
    // An 8-bit file: re-encoding would give 24 bits, so equality shows the
    // original bytes were kept.
    const std::string file = MakeBmp({40, 3, 2, 8, 0, 2, {}, {0xFF0000, 0x0000FF}, PackRows(3, 2, 8, [](int x, int) {
                                          return std::uint32_t(x % 2);
                                      })});
    BitmapImage image;
    image.LoadFromBytes(file);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.SaveToBytes(), file);
    EXPECT_EQ(image.Clone()->SaveToBytes(), file);
    image.MutableBitmap().SetPixel(0, 0, 0xFF00FF00u);
    const std::string saved = image.SaveToBytes();
    EXPECT_NE(saved, file);
    EXPECT_EQ(DecodeBmp(saved).Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(DecodeBmp(saved).Pixel(0, 1), 0xFFFF0000u);

    EXPECT_THROW(image.LoadFromBytes("BM"), ReadError);
    EXPECT_EQ(image.SaveToBytes(), saved); // a failed load changes nothing
    EXPECT_TRUE(BitmapImage().SaveToBytes().empty());
}
