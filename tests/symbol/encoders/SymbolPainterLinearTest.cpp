// The linear painter: encoded symbols painted with their text in every
// rotation and fill type read back by zxing-cpp and zbarimg as the plain
// element drawing does; the text stays in its band; adjust, bearer frame.
#include "support/Oracles.h"
#include "symbol/encoders/SymbolPainter.h"

#include "symbol/encoders/LinearEncoder.h"
#include "symbol/encoders/LinearTestSupport.h"
#include "symbol/encoders/PainterTestSupport.h"

#include <gtest/gtest.h>

using namespace lx;
using namespace lxtest;
using ZXing::BarcodeFormat;

namespace {

constexpr int kPitch = 3;
constexpr int kQuiet = 10;
constexpr int kBarHeight = 60;

struct LinearCase {
    std::int32_t key;
    std::string data;
    BarcodeFormat format;
};

const std::vector<LinearCase> kCases = {
    {kLinearEan13, "490123456789", BarcodeFormat::EAN13},     {kLinearUpcA, "01234567890", BarcodeFormat::UPCA},
    {kLinearCode128B, "Painted 128", BarcodeFormat::Code128}, {kLinearCode39, "PAINT 39", BarcodeFormat::Code39},
    {kLinearCode93, "CODE 93", BarcodeFormat::Code93},        {kLinearItfBearer, "12345678", BarcodeFormat::ITF},
};

bool TwoModuleWide(std::int32_t key) { return (key >> 8) <= 2 || (key >> 8) >= 7; }

// How the control sizes a linear symbol (before the turn).
struct Sized {
    LinearResult encoded;
    int wide = 0;
    int width = 0;
    int height = 0;
    int textHeight = 0;
};

Sized SizeSymbol(const LinearCase& c, int chrDisplay, int adjust = 0, int pitch = kPitch)
{
    Sized s;
    s.encoded = EncodeLinearText(c.key, c.data, 1);
    s.wide = TwoModuleWide(c.key) ? 2 * pitch : (pitch * 5 + 1) / 2; // 2.5 pitches rounded half up
    const int half = adjust > 0 ? (adjust + 1) / 2 : (adjust - 1) / 2;
    s.width = 2 * pitch * kQuiet + (c.key == kLinearItfBearer ? 10 * pitch : 0);
    for (const std::uint8_t e : s.encoded.elements) {
        const int w = (e & 0x7F) == 2 ? s.wide : pitch * (e & 63);
        s.width += (e & 0x80) ? w + half : w - adjust + half;
    }
    s.height = kBarHeight + (chrDisplay ? (kBarHeight + 3) / 4 : 0);
    s.textHeight = s.height / 5;
    return s;
}

// The drawing of a sized symbol, upright and with its text.
LinearDrawing Drawing(const LinearCase& c, const Sized& s, int pitch = kPitch)
{
    return {.key = c.key,
            .elements = s.encoded.elements,
            .elementCount = static_cast<int>(s.encoded.elements.size()),
            .startOffset = kQuiet * pitch,
            .narrow = pitch,
            .wide = s.wide,
            .drawnHeight = s.height,
            .drawnWidth = s.width,
            .textHeight = s.textHeight,
            .text = s.encoded.text};
}

Bitmap PaintLinear(const LinearCase& c, const Sized& s, int chrDisplay, int fill, int rotate, int adjust = 0,
                   std::uint32_t canvas = 0xFFFFFFFFu, int pitch = kPitch)
{
    LinearDrawing d = Drawing(c, s, pitch);
    if (rotate % 2)
        std::swap(d.drawnWidth, d.drawnHeight);
    d.adjust = adjust;
    d.chrDisplay = chrDisplay;
    d.fillType = fill;
    d.rotate = rotate;
    return PaintYUp(
        d.drawnWidth, d.drawnHeight, [&](DeviceContext& dc) { DrawLinear(dc, d); }, canvas);
}

} // namespace

TEST(SymbolPainterLinear, ReadsLikeThePlainElementDrawingInEveryRotationAndFill)
{
    std::vector<GreyImage> zbarImages;
    std::vector<std::string> zbarExpected;
    for (const LinearCase& c : kCases) {
        const Sized s = SizeSymbol(c, 1);
        ASSERT_GT(s.encoded.result, 0) << c.data;
        const GreyImage plain = RenderElements(s.encoded.elements, kPitch, s.wide, kQuiet * kPitch);
        const LinearDecoded expected = ZxingReadLinear(plain, c.format);
        ASSERT_TRUE(expected.ok) << c.data;
        const std::string zbarPlain = ZbarReadAll({plain}).front();
        for (int rotate = 0; rotate < 4; ++rotate)
            for (int fill = 0; fill < 4; ++fill)
                for (int chrDisplay = 0; chrDisplay < 2; ++chrDisplay) {
                    const Sized sized = SizeSymbol(c, chrDisplay);
                    const Bitmap painted =
                        PaintLinear(c, sized, chrDisplay, fill, rotate, 0, fill == 3 ? 0xFF000000u : 0xFFFFFFFFu);
                    const GreyImage upright = TurnedClockwise(GreyOf(painted, fill & 1), 4 - rotate);
                    const LinearDecoded read = ZxingReadLinear(upright, c.format);
                    EXPECT_TRUE(read.ok && read.bytes == expected.bytes)
                        << c.data << " rotate " << rotate << " fill " << fill << " text " << chrDisplay;
                    zbarImages.push_back(upright);
                    zbarExpected.push_back(zbarPlain);
                }
    }
    LX_NEED_TOOLS("zbarimg");
    const auto zbar = ZbarReadAll(zbarImages);
    for (std::size_t i = 0; i < zbar.size(); ++i)
        EXPECT_EQ(zbar[i], zbarExpected[i]) << "image " << i;
}

TEST(SymbolPainterLinear, NarrowBarsOfTwoPixelsReadInEveryRotation)
{
    // Pitch plus adjust of 2: narrow bars two pixels across, on their side
    // when turned.
    for (const LinearCase& c : kCases)
        for (const auto& [pitch, adjust] : std::vector<std::pair<int, int>>{{2, 0}, {3, -1}})
            for (int rotate = 0; rotate < 4; ++rotate) {
                const Sized s = SizeSymbol(c, 0, adjust, pitch);
                const Bitmap painted = PaintLinear(c, s, 0, 0, rotate, adjust, 0xFFFFFFFFu, pitch);
                const LinearDecoded read = ZxingReadLinear(TurnedClockwise(GreyOf(painted), 4 - rotate), c.format);
                EXPECT_TRUE(read.ok) << c.data << " pitch " << pitch << " adjust " << adjust << " rotate " << rotate;
            }
}

TEST(SymbolPainterLinear, TextStaysInItsBandBesideTheBarsInEveryRotation)
{
    const LinearCase& ean = kCases[0];
    const Sized s = SizeSymbol(ean, 1);
    for (int rotate = 0; rotate < 4; ++rotate) {
        const Bitmap with = PaintLinear(ean, s, 1, 0, rotate);
        // The same symbol with an empty text: the bars alone.
        Sized bare = s;
        bare.encoded.text.clear();
        const Bitmap without = PaintLinear(ean, bare, 1, 0, rotate);
        const int t = s.textHeight;
        int inBand = 0, outside = 0;
        for (int y = 0; y < with.Height(); ++y)
            for (int x = 0; x < with.Width(); ++x) {
                if (with.Pixel(x, y) == without.Pixel(x, y))
                    continue;
                const bool band = rotate == 0 ? y >= with.Height() - t
                    : rotate == 1             ? x < t
                    : rotate == 2             ? y < t
                                              : x >= with.Width() - t;
                (band ? inBand : outside) += 1;
            }
        EXPECT_GT(inBand, 100) << "rotate " << rotate;
        EXPECT_EQ(outside, 0) << "rotate " << rotate;
    }
}

TEST(SymbolPainterLinear, AdjustTwoKeepsTheWidthAndThreeAddsAUnitPerBar)
{
    const LinearCase& code128 = kCases[2];
    const Sized s = SizeSymbol(code128, 0);
    const auto rightEdge = [&](int adjust) {
        LinearDrawing d = Drawing(code128, s);
        d.adjust = adjust;
        d.fillType = 2;
        FigureLog log;
        DrawLinear(log, d);
        return log.figures.back().box.right;
    };
    const int bars = static_cast<int>(
        std::count_if(s.encoded.elements.begin(), s.encoded.elements.end(), [](std::uint8_t e) { return e & 0x80; }));
    EXPECT_EQ(rightEdge(2), rightEdge(0) + 1); // only the last bar's own growth
    EXPECT_EQ(rightEdge(3), rightEdge(2) + bars);
}

TEST(SymbolPainterLinear, WithoutTextNoFontAndFullHeightBars)
{
    const LinearCase& c = kCases[3];
    const Sized s = SizeSymbol(c, 0);
    LinearDrawing d = Drawing(c, s);
    d.textHeight = 99;
    FigureLog log;
    DrawLinear(log, d);
    EXPECT_EQ(log.fontSelections, 0);
    EXPECT_EQ(log.Count('T'), 0);
    for (const auto& f : log.figures)
        EXPECT_EQ(std::pair(f.box.top, f.box.bottom), std::pair(0, -s.height));
}

TEST(SymbolPainterLinear, BearerFrameIsFivePitchesAndMovesTheBarsIn)
{
    const LinearCase& itf = kCases[5];
    const Sized s = SizeSymbol(itf, 0);
    const Bitmap b = PaintLinear(itf, s, 0, 0, 0);
    const auto dark = [&](int x, int y) { return b.Pixel(x, y) == 0xFF000000u; };
    const int frame = 5 * kPitch;
    const int middle = s.height / 2;
    for (int i = 0; i < frame; ++i) {
        EXPECT_TRUE(dark(s.width / 2, i) && dark(s.width / 2, s.height - 1 - i)) << i;
        EXPECT_TRUE(dark(i, middle) && dark(s.width - 1 - i, middle)) << i;
    }
    EXPECT_FALSE(dark(frame, middle));
    EXPECT_FALSE(dark(frame + 1, frame)); // the quiet zone inside the frame
    int firstBar = frame;
    while (!dark(firstBar, middle))
        ++firstBar;
    EXPECT_EQ(firstBar, frame + kQuiet * kPitch);

    // Without background the frame is four bars and the inside untouched.
    const Bitmap open = PaintLinear(itf, s, 0, 2, 0, 0, 0xFF00FF00u);
    EXPECT_EQ(open.Pixel(frame, middle), 0xFF00FF00u);
    EXPECT_EQ(open.Pixel(frame - 1, middle), 0xFF000000u);
}

TEST(SymbolPainterLinear, HostileCountsDrawNothing)
{
    const std::vector<std::uint8_t> elements(8, 0x81);
    const LinearDrawing sound{.key = kLinearCode39,
                              .elements = elements,
                              .elementCount = 8,
                              .narrow = 3,
                              .wide = 6,
                              .drawnHeight = 40,
                              .drawnWidth = 100};
    FigureLog drawn;
    DrawLinear(drawn, sound);
    ASSERT_FALSE(drawn.figures.empty());
    // More elements than given, none, no narrow width, no height, a width beyond the coordinates.
    for (const auto& spoil : std::vector<std::function<void(LinearDrawing&)>>{
             [](auto& d) { d.elementCount = 9; }, [](auto& d) { d.elementCount = 0; }, [](auto& d) { d.narrow = 0; },
             [](auto& d) { d.drawnHeight = 0; }, [](auto& d) { d.narrow = 1 << 27; }}) {
        LinearDrawing hostile = sound;
        spoil(hostile);
        FigureLog log;
        DrawLinear(log, hostile);
        EXPECT_TRUE(log.figures.empty());
    }
}
