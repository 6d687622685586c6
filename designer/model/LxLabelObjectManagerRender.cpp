// Drawing a label cell: the unit conversions and the draw operations of the
// object kinds; the kind table picks the operation for an object's class.
#include "designer/model/LxLabelObjectManager.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "designer/model/UnitCommon.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/DecodedImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/metafile/MetafileImageDrawing.h"
#include "platform/printing/Printer.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "platform/text/Numbers.h"

namespace lx {

namespace {

// Bounds of what a file may ask for. Beyond them a value is absurd (no label
// object is 10 m wide or set in 5000-point type), and the object is not
// drawn rather than letting the value reach an integer conversion.
constexpr double kMaxGeometryMm = 10000;
constexpr std::int32_t kMaxFontPoints = 5000;
// Text beyond this many pixels from the origin is off any canvas; such
// characters are left out, so coordinates always fit the drawing layer.
constexpr double kMaxCoordinate = 1 << 24;
// Widest pen drawn (pixels); a wider one would cover any label anyway.
constexpr std::int32_t kMaxPenWidth = 1 << 16;
// Fixed offset of vertical columns, in pixels whatever the resolution.
constexpr int kVerticalColumnOffset = 38;

bool SaneMm(double mm) { return std::isfinite(mm) && std::abs(mm) <= kMaxGeometryMm; }

// Half to even, clamped to the int32 range; NaN gives 0.
std::int32_t SaturatingRound(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return RoundToInt(std::clamp(RoundHalfEven(value), lo, hi));
}

// Offset of a line of measure s in a box of size box for the alignments
// 0 (start), 1 (centre) and 2 (end); other values keep the start.
double AlignmentOffset(std::uint8_t alignment, double box, double s)
{
    switch (alignment) {
    case 1: return (box - s) / 2;
    case 2: return box - s;
    default: return 0;
    }
}

void DrawCharacter(DeviceContext& canvas, double x, double y, std::string_view character)
{
    if (std::abs(x) <= kMaxCoordinate && std::abs(y) <= kMaxCoordinate)
        canvas.TextOut(SaturatingRound(x), SaturatingRound(y), character);
}

// The far edge of a box, clamped instead of overflowing.
int EdgeAt(int start, int extent) { return SaturatingRound(static_cast<double>(start) + extent); }

// Pixels between two edges, whichever way round.
int BoxExtent(int from, int to)
{
    return static_cast<int>(std::min<std::int64_t>(std::abs(std::int64_t{to} - from), INT32_MAX));
}

int TextWidth(const DeviceContext& canvas, std::string_view text) { return canvas.GetTextExtent(text).cx; }

const std::string& LetterA()
{
    static const std::string a = Sjis("あ");
    return a;
}

void UseClearBrush(DeviceContext& canvas)
{
    canvas.SelectBrush(Brush{BrushStyle::Clear, 0xFFFFFF});
    canvas.SetBkMode(BkMode::Transparent);
}

// A face name as a logical font holds it.
std::string LogFontFace(std::string_view face) { return std::string(face.substr(0, 31)); }

// Calls draw(position) for round(start + extent / count * t), t = 1 .. count - 1.
template <class Draw>
void ForEachDivision(int start, int extent, std::int32_t count, Draw draw)
{
    if (count < 2)
        return;
    const double step = static_cast<double>(extent) / count;
    if (std::abs(step) >= 1) {
        for (std::int32_t t = 1; t < count; ++t)
            draw(SaturatingRound(start + step * t));
        return;
    }
    // Steps below a pixel leave no pixel between the first and the last line
    // without a line: draw each pixel once instead of count times, so a huge
    // stored count cannot freeze a render.
    const int first = SaturatingRound(start + step);
    const int last = SaturatingRound(start + step * (count - 1));
    for (int p = std::min(first, last); p <= std::max(first, last); ++p)
        draw(p);
}

} // namespace

// ---- conversions

std::int32_t TlxLabelObjectManager::MmToPixels(int axis, double mm) const
{
    const double dpi = axis == kAxisHorizontal ? dpiX_ : dpiY_;
    return SaturatingRound(mm * dpi / 25.4);
}

std::int32_t TlxLabelObjectManager::PixelsToMm(int axis, double pixels) const
{
    const double dpi = axis == kAxisHorizontal ? dpiX_ : dpiY_;
    const double mm = pixels * 25.4 / dpi;
    return std::isfinite(mm) ? SaturatingRound(mm) : 0;
}

// ---- the cell

Size TlxLabelObjectManager::CellAtPrinterResolution(const DeviceInfo& printer)
{
    dpiX_ = printer.dpiX;
    dpiY_ = printer.dpiY;
    return {std::max(0, MmToPixels(kAxisHorizontal, width_)), std::max(0, MmToPixels(kAxisVertical, height_))};
}

EnhMetafile TlxLabelObjectManager::RenderLabel(std::uint8_t printMode)
{
    const DeviceInfo printer = CurrentPrinterDevice();
    EmfRecorder canvas(printer, FrameForPixels(CellAtPrinterResolution(printer), printer));
    DrawObjects(canvas, printMode == 1);
    return canvas.Close();
}

bool TlxLabelObjectManager::DrawLabel(DeviceContext& canvas, const Rect& place, std::uint8_t printMode)
{
    const DeviceInfo printer = CurrentPrinterDevice();
    if (canvas.GetDeviceCaps(DeviceCap::LogPixelsX) != printer.dpiX ||
        canvas.GetDeviceCaps(DeviceCap::LogPixelsY) != printer.dpiY)
        return false;
    DrawAsPicture(canvas, place, CellAtPrinterResolution(printer), printer,
                  [&](DeviceContext& dc) { DrawObjects(dc, printMode == 1); });
    return true;
}

void TlxLabelObjectManager::DrawObjects(DeviceContext& canvas, bool printMode)
{
    for (std::int32_t n = GetObjectCount() - 1; n >= 0; --n) {
        TLxLableObjectBase& object = *objects_[static_cast<std::size_t>(n)];
        if (object.GetCanDisplay() == 0 || (printMode && object.GetNotPrint() == 1))
            continue;
        if (!SaneMm(object.GetLeft()) || !SaneMm(object.GetTop()) || !SaneMm(object.GetWidth()) ||
            !SaneMm(object.GetHeight()))
            continue;
        const LabelObjectKindInfo* kind = FindKindOfClass(object);
        if (!kind || !kind->draw)
            continue;
        const PixelBox box{MmToPixels(kAxisHorizontal, object.GetLeft()), MmToPixels(kAxisVertical, object.GetTop()),
                           MmToPixels(kAxisHorizontal, object.GetWidth()),
                           MmToPixels(kAxisVertical, object.GetHeight())};
        kind->draw(*this, canvas, object, box);
    }
}

// ---- text

void TlxLabelObjectManager::DrawTextObject(DeviceContext& canvas, std::string_view text, double charSpacing,
                                           std::uint8_t alignment, std::string_view fontName, ColorRef fontColor,
                                           std::uint8_t verticalWriting, std::int32_t fontSize, std::uint8_t fontStyle,
                                           double& width, double& height, int left, int top)
{
    if (!SaneMm(charSpacing) || !SaneMm(width) || !SaneMm(height) || std::abs(std::int64_t{fontSize}) > kMaxFontPoints)
        return;
    UseClearBrush(canvas);
    width = std::max(width, 2.0);
    height = std::max(height, 2.0);
    double wp = MmToPixels(kAxisHorizontal, width);
    double hp = MmToPixels(kAxisVertical, height);
    const int spacing = MmToPixels(kAxisHorizontal, charSpacing);
    const std::vector<std::string_view> lines = SplitAtCrLf(text);

    LogFont font;
    font.height = -SaturatingRound(dpiY_ * fontSize / 72);
    font.weight = (fontStyle & kFontBold) ? 700 : 400;
    font.italic = (fontStyle & kFontItalic) != 0;
    font.underline = (fontStyle & kFontUnderline) != 0;
    canvas.SetTextColor(fontColor);
    if (verticalWriting == 1) {
        DrawVerticalText(canvas, lines, spacing, alignment, fontName, font, wp, hp, left, top);
    } else {
        font.strikeOut = (fontStyle & kFontStrikeOut) != 0;
        font.faceName = LogFontFace(fontName);
        font.charSet = static_cast<std::uint8_t>(GetFaceCharset(fontName));
        DrawHorizontalText(canvas, lines, spacing, alignment, font, wp, hp, left, top);
    }
    width = PixelsToMm(kAxisHorizontal, wp);
    height = PixelsToMm(kAxisVertical, hp);
}

void TlxLabelObjectManager::DrawHorizontalText(DeviceContext& canvas, const std::vector<std::string_view>& lines,
                                               int spacing, std::uint8_t alignment, const LogFont& font, double& wp,
                                               double& hp, int left, int top)
{
    canvas.SelectFont(font);
    double widest = 0;
    for (std::string_view line : lines)
        widest = std::max(widest, TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing);
    wp = std::max(wp, 1.01 * widest);
    const double pitch = 1.1 * canvas.GetTextExtent(LetterA()).cy;
    hp = std::max(hp, RoundHalfEven(pitch * static_cast<double>(lines.size())));

    double y = top;
    for (std::string_view line : lines) {
        const double n = static_cast<double>(CharCount(line));
        const double s = TextWidth(canvas, line) + (n - 1) * spacing;
        const double offset = AlignmentOffset(alignment, wp, s);
        double x = left;
        ForEachChar(line, [&](std::string_view character) {
            DrawCharacter(canvas, offset + x, y, character);
            x += TextWidth(canvas, character) + spacing;
        });
        y += pitch;
    }
}

void TlxLabelObjectManager::DrawVerticalText(DeviceContext& canvas, const std::vector<std::string_view>& lines,
                                             int spacing, std::uint8_t alignment, std::string_view fontName,
                                             LogFont font, double& wp, double& hp, int left, int top)
{
    // The "@" twin of a face sets Japanese upright in a downward run.
    std::string twin(1, '@');
    twin += fontName;
    const std::string face = FindFace(twin) ? twin : std::string(fontName);
    const std::int32_t charset = GetFaceCharset(face);
    font.escapement = 2700;
    font.orientation = 2700;
    font.strikeOut = false;
    font.charSet = static_cast<std::uint8_t>(charset);
    font.faceName = LogFontFace(face);
    canvas.SelectFont(font);

    const int letterWidth = TextWidth(canvas, LetterA());
    const double pitch = 1.1 * letterWidth;
    const double count = static_cast<double>(lines.size());
    double tallest = 0;
    for (std::string_view line : lines)
        tallest = std::max(tallest, TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing);
    hp = std::max(hp, tallest);
    wp = std::max(wp, RoundHalfEven(letterWidth * count * 1.1));

    // Columns from right to left, the first line in the right-hand one.
    double x = left + pitch * count;
    for (std::string_view line : lines) {
        const double s = TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing;
        const double offset = AlignmentOffset(alignment, hp, s);
        double y = top;
        auto draw = [&](std::string_view character) {
            DrawCharacter(canvas, x + kVerticalColumnOffset, offset + y, character);
            y += TextWidth(canvas, character) + spacing;
        };
        // Only the Shift-JIS character set keeps a lead byte with its trail byte.
        if (charset == kShiftJisCharset)
            ForEachChar(line, draw);
        else
            for (std::size_t i = 0; i < line.size(); ++i)
                draw(line.substr(i, 1));
        x -= pitch;
    }
}

// ---- figures, grids, pictures

Pen TlxLabelObjectManager::LinePen(std::int32_t lineWidth, std::uint8_t lineType, ColorRef color) const
{
    Pen pen;
    pen.color = color;
    pen.style =
        lineType <= static_cast<std::uint8_t>(PenStyle::Null) ? static_cast<PenStyle>(lineType) : PenStyle::Null;
    // Only solid lines have a width; every styled line is the thinnest. A
    // one-pixel pen is drawn as the thinnest line too: GDI draws both with
    // the same pixels, while a stroked one-pixel band would straddle two.
    if (lineType == 0) {
        const std::int32_t width = std::clamp(SaturatingRound(dpiX_ * lineWidth * 0.1 / 25.4), 1, kMaxPenWidth);
        pen.width = width == 1 ? 0 : width;
    }
    return pen;
}

void TlxLabelObjectManager::DrawFigure(DeviceContext& canvas, std::int32_t lineWidth, std::uint8_t lineType,
                                       std::uint8_t figureType, ColorRef lineColor, int left, int top, int width,
                                       int height)
{
    canvas.SelectPen(LinePen(lineWidth, lineType, lineColor));
    UseClearBrush(canvas);
    const int right = EdgeAt(left, width);
    const int bottom = EdgeAt(top, height);
    const int midX = SaturatingRound(left + width / 2.0);
    const int midY = SaturatingRound(top + height / 2.0);
    switch (figureType) {
    case 0:
        canvas.MoveTo(midX, top);
        canvas.LineTo(midX, bottom);
        break;
    case 1:
        canvas.MoveTo(left, midY);
        canvas.LineTo(right, midY);
        break;
    case 2:
        canvas.MoveTo(left, top);
        canvas.LineTo(right, bottom);
        break;
    case 3:
        canvas.MoveTo(left, bottom);
        canvas.LineTo(right, top);
        break;
    case 4: canvas.Rectangle(left, top, right, bottom); break;
    case 5: canvas.Ellipse(left, top, right, bottom); break;
    case 6: canvas.FillRect(Rect{left, top, right, bottom}, lineColor); break;
    case 7:
        canvas.SelectBrush(Brush{BrushStyle::Solid, lineColor});
        canvas.Ellipse(left, top, right, bottom);
        break;
    default: break;
    }
}

void TlxLabelObjectManager::DrawGrid(DeviceContext& canvas, std::int32_t columns, std::int32_t rows,
                                     ColorRef innerLineColor, std::uint8_t innerLineType, std::int32_t innerLineWidth,
                                     ColorRef outerLineColor, std::uint8_t outerLineType, std::int32_t outerLineWidth,
                                     int left, int top, int width, int height)
{
    const int right = EdgeAt(left, width);
    const int bottom = EdgeAt(top, height);
    UseClearBrush(canvas);
    canvas.SelectPen(LinePen(innerLineWidth, innerLineType, innerLineColor));
    ForEachDivision(left, width, columns, [&](int x) {
        canvas.MoveTo(x, top);
        canvas.LineTo(x, bottom);
    });
    ForEachDivision(top, height, rows, [&](int y) {
        canvas.MoveTo(left, y);
        canvas.LineTo(right, y);
    });
    canvas.SelectPen(LinePen(outerLineWidth, outerLineType, outerLineColor));
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.MoveTo(left, top);
    canvas.LineTo(left, bottom);
    canvas.MoveTo(left, bottom);
    canvas.LineTo(right, bottom);
    canvas.MoveTo(right, top);
    canvas.LineTo(right, bottom);
}

namespace {

// The spans a picture is made of, when the canvas draws them as they are and
// they would reach it whole (no transparent colour, no reduction).
const SpanRaster* SpansToDraw(const RasterGraphic& raster, const DeviceContext& canvas, bool transparent, int boxWidth,
                              int boxHeight)
{
    const auto* bitmap = dynamic_cast<const BitmapImage*>(&raster);
    const SpanRaster* spans = bitmap ? bitmap->Spans() : nullptr;
    if (!spans || transparent || !canvas.TakesSpans())
        return nullptr;
    const ImageSize drawn = DrawnSize(spans->width, spans->height, boxWidth, boxHeight);
    return drawn.width == spans->width && drawn.height == spans->height ? spans : nullptr;
}

} // namespace

void TlxLabelObjectManager::DrawPicture(DeviceContext& canvas, const Picture& picture, bool transparent,
                                        ColorRef transparentColor, int left, int top, int width, int height)
{
    if (picture.Empty())
        return;
    const Rect dest{left, top, EdgeAt(left, width), EdgeAt(top, height)};
    if (const auto* raster = dynamic_cast<const RasterGraphic*>(picture.GetGraphic())) {
        const int boxWidth = BoxExtent(dest.left, dest.right);
        const int boxHeight = BoxExtent(dest.top, dest.bottom);
        if (boxWidth == 0 || boxHeight == 0)
            return;
        if (const SpanRaster* spans = SpansToDraw(*raster, canvas, transparent, boxWidth, boxHeight)) {
            canvas.StretchDrawSpans(dest, *spans);
            return;
        }
        SharedPixels pixels;
        try {
            pixels = raster->PixelsFor(boxWidth, boxHeight);
        } catch (const ReadError&) {
            return; // a damaged JPEG or PNG stays in the picture, undrawn
        }
        std::optional<ColorRef> key;
        if (transparent)
            key = ColorToRgb(transparentColor);
        // No more pixels reach the metafile than the box shows.
        const Bitmap& all = pixels->Pixels();
        const ImageSize drawn = DrawnSize(all.Width(), all.Height(), boxWidth, boxHeight);
        if (drawn.width == all.Width() && drawn.height == all.Height())
            canvas.StretchDraw(dest, all, key);
        else
            canvas.StretchDraw(dest, SampleNearest(all, drawn.width, drawn.height), key);
    } else if (const auto* metafile = dynamic_cast<const MetafileImage*>(picture.GetGraphic())) {
        // Played into the box as it is; the picture keeps its own form.
        DrawMetafileImage(canvas, *metafile, dest);
    }
}

} // namespace lx
