// The 2D painters: real symbols painted on a raster in every orientation,
// fill type and cell adjust, turned back by the orientation the painter
// promises and read by zxing-cpp; exact module pixels; the figures drawn.
#include "symbol/encoders/SymbolPainter.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "symbol/encoders/PainterTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace lx;
using namespace lxtest;
using ZXing::BarcodeFormat;

namespace {

enum class Family { Qr, DataMatrix, MaxiCode, Pdf417 };

struct Symbol {
    Family family;
    Encoded2D encoded;
    BarcodeFormat format;
    std::string text;
};

struct Look {
    int pitch = 4;
    int adjust = 0;
    int quietZone = 4;
    int fill = 0;
    int rotate = 0;
    int mirror = 0;
};

constexpr int kRowFactor = 3;

// The painted extent after the turn.
Size Extent(const Symbol& s, const Look& k)
{
    const int q2 = 2 * k.quietZone;
    int w = 0, h = 0;
    switch (s.family) {
    case Family::Qr: w = h = k.adjust + k.pitch * (s.encoded.size + q2); break;
    case Family::DataMatrix:
        w = k.adjust + k.pitch * (s.encoded.Columns() + q2);
        h = k.adjust + k.pitch * (s.encoded.Rows() + q2);
        break;
    case Family::MaxiCode:
        w = k.adjust + k.pitch * (30 + q2);
        h = k.adjust + 33 * ((76 * k.pitch + 44) / 88) + q2 * k.pitch;
        break;
    case Family::Pdf417:
        w = k.adjust + k.pitch * (s.encoded.Columns() + q2);
        h = k.pitch * (kRowFactor * s.encoded.Rows() + q2);
        break;
    }
    return k.rotate % 2 ? Size{h, w} : Size{w, h};
}

void Paint(DeviceContext& dc, const Symbol& s, const Look& k)
{
    // In family order; the row factor is PDF417's alone, the size not read for MaxiCode.
    static constexpr void (*kDraw[])(DeviceContext&, const MatrixDrawing&) = {DrawQr, DrawDataMatrix, DrawMaxiCode,
                                                                              DrawPdf417};
    kDraw[static_cast<int>(s.family)](dc,
                                      {.matrix = s.encoded.matrix,
                                       .size = s.encoded.size,
                                       .quietZone = k.quietZone,
                                       .pitch = k.pitch,
                                       .adjust = k.adjust,
                                       .factor = kRowFactor,
                                       .fillType = k.fill,
                                       .rotate = k.rotate,
                                       .mirror = k.mirror});
}

// Undoes the orientation each family promises: QR reflects about the
// diagonal and then turns clockwise; DataMatrix and MaxiCode turn and then
// reflect left-right; PDF417 keeps its rows as strips.
GreyImage Upright(const GreyImage& painted, Family family, int rotate, bool mirror)
{
    switch (family) {
    case Family::Qr: {
        const GreyImage turned = TurnedClockwise(painted, 4 - rotate);
        return mirror ? Transposed(turned) : turned;
    }
    case Family::DataMatrix:
    case Family::MaxiCode: return TurnedClockwise(mirror ? FlippedLeftRight(painted) : painted, 4 - rotate);
    case Family::Pdf417:
        switch (rotate * 2 + mirror) {
        case 1: return FlippedLeftRight(painted);
        case 2: return Transposed(painted); // a mirror image turned a quarter
        case 3: return TurnedClockwise(painted, 1); // turned counter-clockwise
        case 4: return TurnedClockwise(painted, 2);
        case 5: return FlippedTopBottom(painted);
        case 6: return Transposed(TurnedClockwise(painted, 2));
        case 7: return TurnedClockwise(painted, 3); // turned clockwise
        default: return painted;
        }
    }
    return painted;
}

// Paints on the canvas a fill type expects (light for 0 and 2, dark for 3)
// and reads the symbol the right way round and the right colour.
Decoded PaintAndRead(const Symbol& s, const Look& k)
{
    const Size e = Extent(s, k);
    const Bitmap bitmap = PaintYUp(
        e.cx, e.cy, [&](DeviceContext& dc) { Paint(dc, s, k); }, k.fill == 3 ? 0xFF000000u : 0xFFFFFFFFu);
    // MaxiCode takes every fill type but 0 as the reversed one.
    const bool reversed = s.family == Family::MaxiCode ? k.fill != 0 : k.fill == 1 || k.fill == 3;
    const bool pure = s.family == Family::MaxiCode;
    return ZxingDecode(Upright(GreyOf(bitmap, reversed), s.family, k.rotate, k.mirror), s.format, pure);
}

const std::vector<Symbol>& Symbols()
{
    static const std::vector<Symbol> symbols = [] {
        std::vector<Symbol> all = {
            {Family::Qr, EncodeQrText("MA,Painted QR 0123456789"), BarcodeFormat::QRCode, "Painted QR 0123456789"},
            {Family::Qr, EncodeQrText("LA,MICRO42", 3), BarcodeFormat::MicroQRCode, "MICRO42"},
            {Family::DataMatrix, EncodeDataMatrixText("Painted DataMatrix 42"), BarcodeFormat::DataMatrix,
             "Painted DataMatrix 42"},
            {Family::DataMatrix, EncodeDataMatrixText("RECT 1234", 2), BarcodeFormat::DataMatrix, "RECT 1234"},
            {Family::MaxiCode, EncodeMaxiCodeText("PAINTED MAXICODE 0123"), BarcodeFormat::MaxiCode,
             "PAINTED MAXICODE 0123"},
            {Family::Pdf417, EncodePdf417Text("1,Painted PDF417 symbol"), BarcodeFormat::PDF417,
             "Painted PDF417 symbol"},
            {Family::Pdf417, EncodePdf417Text("1,Truncated one", 2), BarcodeFormat::PDF417, "Truncated one"},
        };
        for (const Symbol& s : all)
            EXPECT_GT(s.encoded.size, 0) << s.text;
        return all;
    }();
    return symbols;
}

} // namespace

TEST(SymbolPainter, EveryFamilyReadsBackInEveryOrientationAndFillType)
{
    // Two-pixel modules too, every run a rectangle two pixels across; MaxiCode's
    // hexagons need more.
    for (const Symbol& s : Symbols())
        for (const int pitch : s.family == Family::MaxiCode ? std::vector{8} : std::vector{4, 2})
            for (int rotate = 0; rotate < 4; ++rotate)
                for (int mirror = 0; mirror < 2; ++mirror)
                    for (int fill = 0; fill < 4; ++fill) {
                        const Decoded read = PaintAndRead(s, Look{pitch, 0, 3, fill, rotate, mirror});
                        EXPECT_TRUE(read.ok && read.text == s.text)
                            << s.text << " pitch " << pitch << " rotate " << rotate << " mirror " << mirror << " fill "
                            << fill;
                    }
}

TEST(SymbolPainter, CellAdjustAndPitchesStillRead)
{
    for (const Symbol& s : Symbols())
        for (const auto& [pitch, adjust] : std::vector<std::pair<int, int>>{{3, 0}, {6, 2}, {6, -2}, {9, 4}, {9, -4}}) {
            Look look{pitch, adjust, 4, 0, 1, 0};
            if (s.family == Family::MaxiCode)
                look.pitch *= 2;
            const Decoded read = PaintAndRead(s, look);
            EXPECT_TRUE(read.ok && read.text == s.text) << s.text << " pitch " << pitch << " adjust " << adjust;
        }
}

TEST(SymbolPainter, ModulesAreWholeDevicePixelBlocks)
{
    // Pitch 10 units at 600 units per inch shown on a 300 dpi device: every
    // module is exactly 5 x 5 pixels, placed on the 5-pixel grid.
    for (const Symbol& s : Symbols()) {
        if (s.family == Family::MaxiCode)
            continue;
        const int columns = s.encoded.Columns();
        const int rows = s.family == Family::Qr ? s.encoded.size : s.encoded.Rows();
        const int factor = s.family == Family::Pdf417 ? kRowFactor : 1;
        const Look look{10, 0, 2, 0, 0, 0};
        const Size e = Extent(s, look);
        lx::Bitmap bitmap(e.cx / 2, e.cy / 2);
        {
            lx::RasterDeviceContext dc(bitmap);
            dc.SetMapMode(MapMode::Anisotropic);
            dc.SetWindowExt(e.cx, -e.cy);
            dc.SetViewportExt(e.cx / 2, e.cy / 2);
            Paint(dc, s, look);
        }
        const auto dark = ModulesFromMatrix(s.encoded.matrix.data(), columns, rows);
        int wrong = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                const int c = x / 5 - 2;
                const int r = y / 5 >= 2 ? (y / 5 - 2) / factor : -1;
                const bool inside = c >= 0 && c < columns && r >= 0 && r < rows;
                const bool expected = inside && dark[r][c];
                wrong += (bitmap.Pixel(x, y) == 0xFF000000u) != expected;
            }
        EXPECT_EQ(wrong, 0) << s.text;
    }
}

TEST(SymbolPainter, FillTypesWithoutBackgroundTouchOnlyTheModules)
{
    constexpr std::uint32_t kUntouched = 0xFF00FF00u;
    for (const Symbol& s : Symbols())
        for (const int fill : {2, 3}) {
            if (s.family == Family::MaxiCode)
                continue; // always paints its background
            const Look look{4, 0, 4, fill, 0, 0};
            const Size e = Extent(s, look);
            const Bitmap bitmap = PaintYUp(
                e.cx, e.cy, [&](DeviceContext& dc) { Paint(dc, s, look); }, kUntouched);
            std::set<std::uint32_t> colours;
            for (int y = 0; y < e.cy; ++y)
                for (int x = 0; x < e.cx; ++x)
                    colours.insert(bitmap.Pixel(x, y));
            const std::uint32_t module = fill == 2 ? 0xFF000000u : 0xFFFFFFFFu;
            EXPECT_EQ(colours, (std::set<std::uint32_t>{kUntouched, module})) << s.text;
            EXPECT_EQ(bitmap.Pixel(1, 1), kUntouched) << s.text;
        }
}

TEST(SymbolPainter, QrTurnsClockwiseAndMirrorsAboutTheDiagonal)
{
    const Symbol& qr = Symbols()[0];
    const int n = qr.encoded.size;
    const Look base{1, 0, 0, 2, 0, 0};
    // A finder: a dark 7 x 7 ring, a light ring inside it, a dark 3 x 3 core.
    const auto finderAt = [&](const Bitmap& b, int column, int row) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x) {
                const int ring = std::min({x, y, 6 - x, 6 - y});
                if ((b.Pixel(column + x, row + y) == 0xFF000000u) != (ring != 1))
                    return false;
            }
        return true;
    };
    Look turned = base;
    turned.rotate = 1;
    const Bitmap right = PaintYUp(n, n, [&](DeviceContext& dc) { Paint(dc, qr, turned); });
    EXPECT_TRUE(finderAt(right, n - 7, 0)); // the top-left one
    EXPECT_TRUE(finderAt(right, n - 7, n - 7));
    EXPECT_TRUE(finderAt(right, 0, 0));
    EXPECT_FALSE(finderAt(right, 0, n - 7));

    Look mirrored = base;
    mirrored.mirror = 1;
    const Bitmap plain = PaintYUp(n, n, [&](DeviceContext& dc) { Paint(dc, qr, base); });
    const Bitmap reflected = PaintYUp(n, n, [&](DeviceContext& dc) { Paint(dc, qr, mirrored); });
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            ASSERT_EQ(reflected.Pixel(x, y), plain.Pixel(y, x)) << x << "," << y;
}

TEST(SymbolPainter, DarkRowsOverlapByOneUnitWhateverTheAdjust)
{
    // Column 0 dark in rows 0 and 1, light in row 2; pitch 10, adjust -2.
    const std::vector<std::uint8_t> matrix = {0x01, 0x01, 0x00};
    const Bitmap b = PaintYUp(30, 30, [&](DeviceContext& dc) {
        DrawQr(dc, {.matrix = matrix, .size = 3, .pitch = 10, .adjust = -2, .fillType = 2});
    });
    const auto dark = [&](int x, int y) { return b.Pixel(x, y) == 0xFF000000u; };
    for (int y = 0; y < 18; ++y)
        EXPECT_TRUE(dark(4, y)) << "row pixel " << y;
    EXPECT_FALSE(dark(4, 18));
    EXPECT_TRUE(dark(7, 4));
    EXPECT_FALSE(dark(8, 4));
}

TEST(SymbolPainter, QrGapAllowanceGrowsEveryDarkAreaRightAndDown)
{
    const Symbol& qr = Symbols()[0];
    FigureLog plain, gapped;
    DrawQr(plain, {.matrix = qr.encoded.matrix, .size = qr.encoded.size, .quietZone = 4, .pitch = 8, .fillType = 2});
    DrawQr(
        gapped,
        {.matrix = qr.encoded.matrix, .size = qr.encoded.size, .quietZone = 4, .pitch = 8, .fillType = 2, .qrGap = 2});
    ASSERT_EQ(plain.figures.size(), gapped.figures.size());
    for (std::size_t i = 0; i < plain.figures.size(); ++i) {
        const Rect& a = plain.figures[i].box;
        const Rect& b = gapped.figures[i].box;
        EXPECT_EQ(Rect(a.left, a.top, a.right + 2, a.bottom - 2), b) << i;
    }
    const int side = 8 * (qr.encoded.size + 8);
    const Bitmap painted = PaintYUp(side, side, [&](DeviceContext& dc) {
        DrawQr(dc, {.matrix = qr.encoded.matrix, .size = qr.encoded.size, .quietZone = 4, .pitch = 8, .qrGap = 2});
    });
    const Decoded read = ZxingDecode(GreyOf(painted), BarcodeFormat::QRCode);
    EXPECT_TRUE(read.ok && read.text == qr.text);
}

TEST(SymbolPainter, RoundCellsDrawOneCircleAModuleAndNoRuns)
{
    const Symbol& qr = Symbols()[0];
    const auto modules = ModulesFromMatrix(qr.encoded.matrix.data(), qr.encoded.size, qr.encoded.size);
    int darkCount = 0;
    for (const auto& row : modules)
        darkCount += static_cast<int>(std::count(row.begin(), row.end(), true));
    FigureLog log;
    DrawQr(log, {.matrix = qr.encoded.matrix, .size = qr.encoded.size, .quietZone = 4, .pitch = 6, .roundCells = true});
    EXPECT_EQ(log.Count('E'), darkCount);
    EXPECT_EQ(log.Count('R'), 1); // the background

    // zxing cannot find finders drawn as dots, so the dots are checked by
    // their centres (dark exactly where the matrix is) and their corners.
    const int pitch = 10;
    const int side = pitch * (qr.encoded.size + 8);
    const Bitmap b = PaintYUp(side, side, [&](DeviceContext& dc) {
        DrawQr(
            dc,
            {.matrix = qr.encoded.matrix, .size = qr.encoded.size, .quietZone = 4, .pitch = pitch, .roundCells = true});
    });
    for (int r = 0; r < qr.encoded.size; ++r)
        for (int c = 0; c < qr.encoded.size; ++c) {
            const int x = (c + 4) * pitch;
            const int y = (r + 4) * pitch;
            EXPECT_EQ(b.Pixel(x + pitch / 2, y + pitch / 2) == 0xFF000000u, modules[r][c]) << c << "," << r;
            EXPECT_EQ(b.Pixel(x, y), 0xFFFFFFFFu) << c << "," << r;
        }
}

TEST(SymbolPainter, MaxiCodeDrawsADotForEveryModuleAndNoneOnTheShortRowEnds)
{
    // Every module of the grid dark: 33 x 30 less the 16 missing short-row
    // ends, whatever the orientation, then the six bull's-eye circles.
    std::vector<std::uint8_t> all(33 * 4, 0xFF);
    for (int rotate = 0; rotate < 4; ++rotate)
        for (int mirror = 0; mirror < 2; ++mirror) {
            FigureLog log;
            DrawMaxiCode(log, {.matrix = all, .pitch = 10, .rotate = rotate, .mirror = mirror});
            EXPECT_EQ(log.Count('E'), 33 * 30 - 16 + 6) << rotate << "/" << mirror;
            for (const auto& f : log.figures)
                if (f.kind == 'E') {
                    EXPECT_GE(std::min(f.box.left, -f.box.top), 0) << rotate << "/" << mirror << " dot outside";
                }
        }
}

TEST(SymbolPainter, MaxiCodeBullseyeHasModuleRingsAndABackgroundCentre)
{
    const Symbol& maxi = Symbols()[4];
    for (const int fill : {0, 2}) {
        FigureLog log;
        DrawMaxiCode(log, {.matrix = maxi.encoded.matrix, .quietZone = 1, .pitch = 10, .fillType = fill});
        const ColorRef module = fill == 0 ? kBlack : kWhite;
        const ColorRef background = fill == 0 ? kWhite : kBlack;
        EXPECT_EQ(log.figures.front().color, background) << "the background is always painted";
        const std::vector<FigureLog::Figure> rings(log.figures.end() - 6, log.figures.end());
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(rings[i].color, i % 2 == 0 ? module : background) << i;
            if (i > 0) {
                EXPECT_LT(rings[i].box.right - rings[i].box.left, rings[i - 1].box.right - rings[i - 1].box.left);
            }
        }
    }
}

TEST(SymbolPainter, Pdf417HeightIgnoresTheAdjust)
{
    const Symbol& pdf = Symbols()[5];
    const auto inkRows = [&](int adjust) {
        FigureLog log;
        DrawPdf417(log,
                   {.matrix = pdf.encoded.matrix,
                    .size = pdf.encoded.size,
                    .quietZone = 2,
                    .pitch = 4,
                    .adjust = adjust,
                    .factor = kRowFactor,
                    .fillType = 2});
        int top = 1 << 30, bottom = -(1 << 30), right = -(1 << 30);
        for (const auto& f : log.figures)
            top = std::min(top, -f.box.top), bottom = std::max(bottom, -f.box.bottom),
            right = std::max(right, f.box.right);
        return std::tuple{top, bottom, right};
    };
    const auto [top0, bottom0, right0] = inkRows(0);
    const auto [top3, bottom3, right3] = inkRows(3);
    EXPECT_EQ(top0, top3);
    EXPECT_EQ(bottom0, bottom3);
    EXPECT_EQ(right3, right0 + 2);
}

TEST(SymbolPainter, NothingIsDrawnForEmptyOrImpossibleSymbols)
{
    const std::vector<std::uint8_t> small(10, 0xFF);
    FigureLog log;
    DrawQr(log, {.matrix = small, .size = 21, .quietZone = 4, .pitch = 4}); // buffer too short
    DrawQr(log, {.matrix = small, .quietZone = 4, .pitch = 4}); // nothing encoded
    DrawQr(log, {.matrix = small, .size = 3, .quietZone = 4}); // pitch 0
    DrawQr(log, {.matrix = small, .size = 178, .quietZone = 4, .pitch = 4}); // beyond version 40
    DrawQr(log, {.matrix = small, .size = 3, .quietZone = 30000, .pitch = 32767}); // beyond the coordinates
    DrawDataMatrix(log, {.matrix = small, .size = 10 | 10 << 16, .quietZone = 1, .pitch = 4});
    DrawDataMatrix(log, {.matrix = small, .size = -1, .quietZone = 1, .pitch = 4});
    DrawMaxiCode(log, {.matrix = small, .quietZone = 1, .pitch = 4});
    DrawPdf417(log, {.matrix = small, .size = 3 | 2 << 16, .quietZone = 1, .pitch = 4, .factor = 0}); // factor 0
    DrawPdf417(log, {.matrix = small, .size = 100 | 1 << 16, .quietZone = 1, .pitch = 4, .factor = 3});
    DrawQr(log, {.matrix = {}, .size = 1, .quietZone = 1, .pitch = 1, .rotate = -7});
    EXPECT_TRUE(log.figures.empty());
}
