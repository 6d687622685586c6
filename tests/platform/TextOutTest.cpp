#include "platform/fonts/FontEngine.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"

#include <QRawFont>
#include <gtest/gtest.h>

#include <cmath>

using namespace lx;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

LogFont Font(const char* utf8Face, int height, int escapement = 0)
{
    LogFont f;
    f.height = height;
    f.escapement = escapement;
    f.orientation = escapement;
    f.charSet = kShiftJisCharset;
    f.faceName = Sjis(utf8Face);
    return f;
}

std::string FontFile(const char* family) { return ResolvedFontFile(family); }

// The first and last inked column and row.
struct InkBox {
    int x0, y0, x1, y1;
};

InkBox InkBoxOf(const Bitmap& bmp)
{
    InkBox box{bmp.Width(), bmp.Height(), -1, -1};
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Pixel(x, y) != kWhite)
                box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
    return box;
}

// The ink of a bitmap cropped to its bounding box, as rows of '#' and '.'.
std::vector<std::string> Ink(const Bitmap& bmp)
{
    const InkBox box = InkBoxOf(bmp);
    std::vector<std::string> rows;
    for (int y = box.y0; y <= box.y1; ++y) {
        std::string row;
        for (int x = box.x0; x <= box.x1; ++x)
            row += bmp.Pixel(x, y) != kWhite ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Draw(const LogFont& font, int x, int y, const std::string& text, int size = 200)
{
    Bitmap bmp(size, size);
    {
        RasterDeviceContext dc(bmp);
        dc.SetBkMode(BkMode::Transparent);
        dc.SelectFont(font);
        dc.TextOut(x, y, text);
    }
    return Ink(bmp);
}

std::vector<std::string> RotatedClockwise(const std::vector<std::string>& rows)
{
    std::vector<std::string> out(rows.empty() ? 0 : rows[0].size(), std::string(rows.size(), '.'));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            out[x][rows.size() - 1 - y] = rows[y][x];
    return out;
}

} // namespace

TEST(TextOut, MeasuresAsTheMappedIpaFontsGiveAtAPixelHeight)
{
    const QRawFont gothic(QString::fromStdString(FontFile("IPAGothic")), 100);
    const QRawFont pgothic(QString::fromStdString(FontFile("IPAPGothic")), 100);
    ASSERT_TRUE(gothic.isValid() && pgothic.isValid());
    for (int height : {12, 16, 40, 83, 100}) {
        for (auto [face, raw] : {std::pair{"ＭＳ ゴシック", &gothic}, std::pair{"ＭＳ Ｐゴシック", &pgothic}}) {
            Bitmap bmp(1, 1);
            RasterDeviceContext dc(bmp);
            dc.SelectFont(Font(face, -height));
            const auto glyphs = raw->glyphIndexesForString(QString::fromUtf8("あA"));
            const auto advances = raw->advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            EXPECT_EQ(dc.GetTextExtent(Sjis("あ")).cx, std::lround(advances[0].x() * height / 100.0)) << face;
            EXPECT_EQ(dc.GetTextExtent("A").cx, std::lround(advances[1].x() * height / 100.0)) << face << height;
            if (raw == &gothic) { // the fixed-pitch face: full width is one em
                EXPECT_EQ(dc.GetTextExtent(Sjis("あ")).cx, height);
            }
            // The cell is the font's clipping ascent and descent.
            const QByteArray os2 = raw->fontTable("OS/2");
            const QByteArray head = raw->fontTable("head");
            auto u16 = [](const QByteArray& t, int at) {
                return (static_cast<unsigned char>(t[at]) << 8) | static_cast<unsigned char>(t[at + 1]);
            };
            const double upem = u16(head, 18);
            const int cell = int(std::floor(u16(os2, 74) * height / upem + 0.5)) +
                int(std::floor(u16(os2, 76) * height / upem + 0.5));
            EXPECT_EQ(dc.GetTextExtent(Sjis("あ")).cy, cell);
            EXPECT_EQ(dc.GetTextMetrics().height, cell);
        }
    }
}

TEST(TextOut, LineWidthIsTheSumOfCharacterWidthsAndPositiveHeightIsTheCell)
{
    Bitmap bmp(1, 1);
    RasterDeviceContext dc(bmp);
    dc.SelectFont(Font("ＭＳ Ｐ明朝", -37));
    const std::string line = Sjis("ラベルLabel 123");
    int sum = 0;
    ForEachChar(line, [&](std::string_view ch) { sum += dc.GetTextExtent(ch).cx; });
    EXPECT_EQ(dc.GetTextExtent(line).cx, sum);
    EXPECT_EQ(dc.GetTextExtent("\r\n").cy, dc.GetTextExtent(Sjis("あ")).cy);
    dc.SelectFont(Font("ＭＳ Ｐ明朝", 50));
    EXPECT_EQ(dc.GetTextExtent(Sjis("あ")).cy, 50);
}

TEST(TextOut, VerticalFacesStandJapaneseUprightAndLayLatinOnItsSide)
{
    const auto upright = Draw(Font("ＭＳ ゴシック", -40), 20, 20, Sjis("あ"));
    EXPECT_EQ(Draw(Font("@ＭＳ ゴシック", -40, 2700), 150, 20, Sjis("あ")), upright);
    EXPECT_EQ(Draw(Font("ＭＳ ゴシック", -40, 2700), 150, 20, Sjis("あ")), RotatedClockwise(upright));
    const auto latin = Draw(Font("ＭＳ ゴシック", -40, 2700), 150, 20, "R");
    EXPECT_EQ(Draw(Font("@ＭＳ ゴシック", -40, 2700), 150, 20, "R"), latin);
    // Sideways: the horizontal glyph turned a quarter clockwise, give or take
    // the pixels whose centres lie exactly on an edge.
    const auto turned = RotatedClockwise(Draw(Font("ＭＳ ゴシック", -40), 20, 20, "R"));
    ASSERT_EQ(turned.size(), latin.size());
    int differing = 0, total = 0;
    for (std::size_t y = 0; y < latin.size(); ++y)
        for (std::size_t x = 0; x < latin[y].size() && x < turned[y].size(); ++x) {
            differing += latin[y][x] != turned[y][x];
            total += latin[y][x] == '#';
        }
    EXPECT_LT(differing * 50, total);
    // The vertical form of the long vowel mark is a vertical bar.
    const auto bar = Draw(Font("@ＭＳ ゴシック", -40, 2700), 150, 20, Sjis("ー"));
    EXPECT_GT(bar.size(), 3 * bar[0].size());
}

TEST(TextOut, BoldIsEmboldenedWhenTheFaceHasNone)
{
    LogFont bold = Font("ＭＳ 明朝", -40);
    bold.weight = 700;
    auto ink = [](const std::vector<std::string>& rows) {
        int n = 0;
        for (const auto& r : rows)
            n += static_cast<int>(std::count(r.begin(), r.end(), '#'));
        return n;
    };
    EXPECT_GT(ink(Draw(bold, 10, 10, Sjis("字"))), ink(Draw(Font("ＭＳ 明朝", -40), 10, 10, Sjis("字"))) * 11 / 10);
}

TEST(TextOut, PathOfTextFlattensMovesAndRefillsWithoutAntialiasing)
{
    constexpr std::uint32_t kMagenta = 0xFFFF00FFu;
    Bitmap bmp(160, 80, kMagenta);
    RasterDeviceContext dc(bmp);
    dc.SelectFont(Font("ＭＳ ゴシック", -50));
    dc.SetBkMode(BkMode::Transparent);
    dc.BeginPath();
    dc.TextOut(0, 0, Sjis("Aあ"));
    dc.EndPath();
    dc.FlattenPath();
    const int count = dc.GetPath(nullptr, nullptr, 0);
    ASSERT_GT(count, 20);
    std::vector<Point> points(static_cast<std::size_t>(count));
    std::vector<std::uint8_t> types(static_cast<std::size_t>(count));
    ASSERT_EQ(dc.GetPath(points.data(), types.data(), count), count);
    EXPECT_EQ(types[0], kPtMoveTo);
    int closes = 0;
    for (std::uint8_t t : types) {
        EXPECT_TRUE((t & ~kPtCloseFigure) == kPtMoveTo || (t & ~kPtCloseFigure) == kPtLineTo);
        closes += t & kPtCloseFigure;
    }
    EXPECT_GE(closes, 4);
    // Rebuilt 40 pixels further right, stroked and filled.
    dc.BeginPath();
    for (int i = 0; i < count; ++i) {
        const Point p{points[i].x + 40, points[i].y + 10};
        if ((types[i] & ~kPtCloseFigure) == kPtMoveTo)
            dc.MoveTo(p.x, p.y);
        else
            dc.LineTo(p.x, p.y);
        if (types[i] & kPtCloseFigure)
            dc.CloseFigure();
    }
    dc.EndPath();
    dc.SelectPen({PenStyle::Solid, 1, 0x000000});
    dc.SelectBrush({BrushStyle::Solid, 0x000000});
    dc.StrokeAndFillPath();
    EXPECT_EQ(dc.GetPath(nullptr, nullptr, 0), -1);
    int x0 = 160, drawn = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 160; ++x) {
            const std::uint32_t p = bmp.Pixel(x, y);
            ASSERT_TRUE(p == kMagenta || p == 0xFF000000u) << std::hex << p;
            if (p != kMagenta)
                x0 = std::min(x0, x), ++drawn;
        }
    EXPECT_GE(x0, 40);
    EXPECT_GT(drawn, 500);
}

TEST(TextOut, LeftHandedAnglesTurnClockwiseWhereTheMappingPutsYUp)
{
    // The same call at escapement 900 in a y-up mapping: a font asking for
    // left-handed angles runs down the page, any other font up.
    auto inkBox = [](std::uint8_t clipPrecision) {
        Bitmap bmp(200, 200);
        {
            RasterDeviceContext dc(bmp);
            dc.SetMapMode(MapMode::Anisotropic);
            dc.SetWindowExt(200, -200);
            dc.SetViewportExt(200, 200);
            dc.SetBkMode(BkMode::Transparent);
            LogFont font = Font("ＭＳ ゴシック", -30, 900);
            font.clipPrecision = clipPrecision;
            dc.SelectFont(font);
            dc.TextOut(100, -100, "HHHH");
        }
        return InkBoxOf(bmp);
    };
    const InkBox leftHanded = inkBox(kClipLhAngles | 0x0F);
    EXPECT_GE(leftHanded.y0, 100);
    EXPECT_GT(leftHanded.y1, 150);
    EXPECT_LE(leftHanded.x1, 100); // the cell hangs from the reference point
    const InkBox plain = inkBox(0);
    EXPECT_LE(plain.y1, 100);
    EXPECT_LT(plain.y0, 50);
    EXPECT_GE(plain.x0, 100);
}
