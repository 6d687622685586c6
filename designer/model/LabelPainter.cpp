// Drawing a label cell's objects: the unit conversions and the draw
// operations of the object kinds; the kind table picks the operation for an
// object's class.
#include "designer/model/LabelPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "designer/model/LxLabelBase.h"
#include "designer/model/UnitCommon.h"
#include "platform/metafile/MetafileImageDrawing.h"
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

// ---- the face list

const std::string* FindFontListEntry(const std::vector<std::string>& fontList, std::string_view faceName)
{
    for (auto entry = fontList.rbegin(); entry != fontList.rend(); ++entry) {
        const std::size_t colon = entry->find(':');
        if (colon != std::string::npos && std::string_view(*entry).substr(0, colon) == faceName)
            return &*entry;
    }
    return nullptr;
}

std::int32_t FontListCharset(const std::vector<std::string>& fontList, std::string_view faceName)
{
    const std::string* entry = FindFontListEntry(fontList, faceName);
    if (!entry)
        return 0;
    const std::string_view number = std::string_view(*entry).substr(entry->find(':') + 1, 255);
    return TryParseInt(number).value_or(0);
}

// ---- the painter

LabelPainter::LabelPainter(const std::vector<std::string>& fontList, double dpiX, double dpiY,
                           std::optional<std::int32_t> record)
    : fontList_(&fontList), dpiX_(dpiX), dpiY_(dpiY), record_(record)
{
}

std::int32_t LabelPainter::MmToPixels(int axis, double mm) const
{
    const double dpi = axis == kAxisHorizontal ? dpiX_ : dpiY_;
    return SaturatingRound(mm * dpi / 25.4);
}

std::int32_t LabelPainter::PixelsToMm(int axis, double pixels) const
{
    const double dpi = axis == kAxisHorizontal ? dpiX_ : dpiY_;
    const double mm = pixels * 25.4 / dpi;
    return std::isfinite(mm) ? SaturatingRound(mm) : 0;
}

const std::string* LabelPainter::FindFace(std::string_view faceName) const
{
    return FindFontListEntry(*fontList_, faceName);
}

std::int32_t LabelPainter::GetFaceCharset(std::string_view faceName) const
{
    return FontListCharset(*fontList_, faceName);
}

std::int32_t LabelPainter::RecordOf(const TLxLableObjectBase& object) const
{
    return record_.value_or(object.GetRecordIndex());
}

std::optional<MmSize> LabelPainter::DrawObject(DeviceContext& canvas, const TLxLableObjectBase& object) const
{
    if (!SaneMm(object.GetLeft()) || !SaneMm(object.GetTop()) || !SaneMm(object.GetWidth()) ||
        !SaneMm(object.GetHeight()))
        return std::nullopt;
    const LabelObjectKindInfo* kind = FindKindOfClass(object);
    if (!kind || !kind->draw)
        return std::nullopt;
    const PixelBox box{MmToPixels(kAxisHorizontal, object.GetLeft()), MmToPixels(kAxisVertical, object.GetTop()),
                       MmToPixels(kAxisHorizontal, object.GetWidth()), MmToPixels(kAxisVertical, object.GetHeight())};
    return kind->draw(*this, canvas, object, box);
}

// ---- text

MmSize LabelPainter::DrawTextObject(DeviceContext& canvas, std::string_view text, const TextStyle& style, MmSize box,
                                    Point at) const
{
    if (!SaneMm(style.charSpacing) || !SaneMm(box.width) || !SaneMm(box.height) ||
        std::abs(std::int64_t{style.fontSize}) > kMaxFontPoints)
        return box;
    UseClearBrush(canvas);
    box.width = std::max(box.width, 2.0);
    box.height = std::max(box.height, 2.0);
    PixelSize pixels{static_cast<double>(MmToPixels(kAxisHorizontal, box.width)),
                     static_cast<double>(MmToPixels(kAxisVertical, box.height))};
    const LineLayout layout{MmToPixels(kAxisHorizontal, style.charSpacing), style.alignment};
    const std::vector<std::string_view> lines = SplitAtCrLf(text);

    LogFont font;
    font.height = -SaturatingRound(dpiY_ * style.fontSize / 72);
    font.weight = (style.fontStyle & kFontBold) ? 700 : 400;
    font.italic = (style.fontStyle & kFontItalic) != 0;
    font.underline = (style.fontStyle & kFontUnderline) != 0;
    canvas.SetTextColor(style.color);
    if (style.verticalWriting == 1) {
        DrawVerticalText(canvas, lines, layout, style.fontName, font, pixels, at);
    } else {
        font.strikeOut = (style.fontStyle & kFontStrikeOut) != 0;
        font.faceName = LogFontFace(style.fontName);
        font.charSet = static_cast<std::uint8_t>(GetFaceCharset(style.fontName));
        DrawHorizontalText(canvas, lines, layout, font, pixels, at);
    }
    return {static_cast<double>(PixelsToMm(kAxisHorizontal, pixels.width)),
            static_cast<double>(PixelsToMm(kAxisVertical, pixels.height))};
}

void LabelPainter::DrawHorizontalText(DeviceContext& canvas, const std::vector<std::string_view>& lines,
                                      const LineLayout& layout, const LogFont& font, PixelSize& box, Point at) const
{
    canvas.SelectFont(font);
    const int spacing = layout.spacing;
    double widest = 0;
    for (std::string_view line : lines)
        widest = std::max(widest, TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing);
    box.width = std::max(box.width, 1.01 * widest);
    const double pitch = 1.1 * canvas.GetTextExtent(LetterA()).cy;
    box.height = std::max(box.height, RoundHalfEven(pitch * static_cast<double>(lines.size())));

    double y = at.y;
    for (std::string_view line : lines) {
        const double n = static_cast<double>(CharCount(line));
        const double s = TextWidth(canvas, line) + (n - 1) * spacing;
        const double offset = AlignmentOffset(layout.alignment, box.width, s);
        double x = at.x;
        ForEachChar(line, [&](std::string_view character) {
            DrawCharacter(canvas, offset + x, y, character);
            x += TextWidth(canvas, character) + spacing;
        });
        y += pitch;
    }
}

void LabelPainter::DrawVerticalText(DeviceContext& canvas, const std::vector<std::string_view>& lines,
                                    const LineLayout& layout, std::string_view fontName, LogFont font, PixelSize& box,
                                    Point at) const
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

    const int spacing = layout.spacing;
    const int letterWidth = TextWidth(canvas, LetterA());
    const double pitch = 1.1 * letterWidth;
    const double count = static_cast<double>(lines.size());
    double tallest = 0;
    for (std::string_view line : lines)
        tallest = std::max(tallest, TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing);
    box.height = std::max(box.height, tallest);
    box.width = std::max(box.width, RoundHalfEven(letterWidth * count * 1.1));

    // Columns from right to left, the first line in the right-hand one.
    double x = at.x + pitch * count;
    for (std::string_view line : lines) {
        const double s = TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing;
        const double offset = AlignmentOffset(layout.alignment, box.height, s);
        double y = at.y;
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

Pen LabelPainter::LinePen(const LineStyle& line) const
{
    Pen pen;
    pen.color = line.color;
    pen.style =
        line.type <= static_cast<std::uint8_t>(PenStyle::Null) ? static_cast<PenStyle>(line.type) : PenStyle::Null;
    // Only solid lines have a width; every styled line is the thinnest. A
    // one-pixel pen is drawn as the thinnest line too: GDI draws both with
    // the same pixels, while a stroked one-pixel band would straddle two.
    if (line.type == 0) {
        const std::int32_t width = std::clamp(SaturatingRound(dpiX_ * line.width * 0.1 / 25.4), 1, kMaxPenWidth);
        pen.width = width == 1 ? 0 : width;
    }
    return pen;
}

void LabelPainter::DrawFigure(DeviceContext& canvas, const FigureStyle& style, const PixelBox& box) const
{
    const ColorRef color = style.line.color;
    canvas.SelectPen(LinePen(style.line));
    UseClearBrush(canvas);
    const int left = box.left;
    const int top = box.top;
    const int right = EdgeAt(left, box.width);
    const int bottom = EdgeAt(top, box.height);
    const int midX = SaturatingRound(left + box.width / 2.0);
    const int midY = SaturatingRound(top + box.height / 2.0);
    switch (style.figureType) {
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
    case 6: canvas.FillRect(Rect{left, top, right, bottom}, color); break;
    case 7:
        canvas.SelectBrush(Brush{BrushStyle::Solid, color});
        canvas.Ellipse(left, top, right, bottom);
        break;
    default: break;
    }
}

void LabelPainter::DrawGrid(DeviceContext& canvas, const GridStyle& style, const PixelBox& box) const
{
    const int left = box.left;
    const int top = box.top;
    const int right = EdgeAt(left, box.width);
    const int bottom = EdgeAt(top, box.height);
    UseClearBrush(canvas);
    canvas.SelectPen(LinePen(style.inner));
    ForEachDivision(left, box.width, style.columns, [&](int x) {
        canvas.MoveTo(x, top);
        canvas.LineTo(x, bottom);
    });
    ForEachDivision(top, box.height, style.rows, [&](int y) {
        canvas.MoveTo(left, y);
        canvas.LineTo(right, y);
    });
    canvas.SelectPen(LinePen(style.outer));
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.MoveTo(left, top);
    canvas.LineTo(left, bottom);
    canvas.MoveTo(left, bottom);
    canvas.LineTo(right, bottom);
    canvas.MoveTo(right, top);
    canvas.LineTo(right, bottom);
}

void LabelPainter::DrawPicture(DeviceContext& canvas, const Picture& picture, std::optional<ColorRef> transparentColor,
                               const PixelBox& box) const
{
    if (picture.Empty())
        return;
    std::optional<ColorRef> key;
    if (transparentColor)
        key = ColorToRgb(*transparentColor);
    const Rect dest{box.left, box.top, EdgeAt(box.left, box.width), EdgeAt(box.top, box.height)};
    StretchDrawPicture(canvas, picture, dest, key);
}

} // namespace lx
