// Drawing effect text: the sequence of passes of one effect-text object, the
// plain, shaped and deformed passes, and the warped outline the deformed
// pass draws through a bitmap.
#include "designer/model/LabelPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "designer/model/LxLabelEffects.h"
#include "designer/model/PathUtils.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "platform/text/Numbers.h"

namespace lx {

namespace {

// The deform bitmap's key colour: its pixels are left out when it is drawn.
constexpr ColorRef kWarpKey = 0xFF00FF;
// Bound of the deform bitmap, its memory and the time to fill and record
// it; a larger text is drawn with a smaller font, which the stretch into the
// same box hides.
constexpr double kMaxWarpPixels = 4'000'000;
// The deform font is set in points at the display's resolution.
constexpr double kWarpFontDpi = 96;
// Characters further than this from the origin are off any canvas.
constexpr double kMaxCoordinate = 1 << 24;
// Objects beyond these are not drawn (no label carries 5000-point text).
constexpr std::int32_t kMaxFontPoints = 5000;
constexpr double kMaxSpacingMm = 10000;

// Offsets of the passes, in mm.
constexpr double kShadowRight = 0.3;
constexpr double kShadowDown = 0.4;
constexpr double kShadow2Down = 1.5;
constexpr double kShadow2Tighter = 0.4;
constexpr int kShadow2Larger = 2; // points
// Outline rings at 0.02 to 0.20 mm, counted in hundredths.
constexpr int kFirstRing = 2;
constexpr int kLastRing = 20;
// Shaped text starts this many pixels above the bottom of its box.
constexpr double kShapedBaseline = 65;

// Half to even, clamped to the int range; NaN gives 0.
int RoundedPixels(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = std::numeric_limits<int>::max() / 2;
    return RoundToInt(std::clamp(value, -limit, limit));
}

const std::string& LetterA()
{
    static const std::string a = Sjis("あ");
    return a;
}

int TextWidth(const DeviceContext& canvas, std::string_view text) { return canvas.GetTextExtent(text).cx; }
int TextHeight(const DeviceContext& canvas, std::string_view text) { return canvas.GetTextExtent(text).cy; }

void UseClearBrush(DeviceContext& canvas)
{
    canvas.SelectBrush(Brush{BrushStyle::Clear, 0xFFFFFF});
    canvas.SetBkMode(BkMode::Transparent);
}

// The largest TextWidth(line) + n x spacing over the lines.
double WidestLine(const DeviceContext& canvas, const std::vector<std::string_view>& lines, int spacing)
{
    double widest = 0;
    for (std::string_view line : lines)
        widest = std::max(widest, TextWidth(canvas, line) + static_cast<double>(CharCount(line)) * spacing);
    return widest;
}

void DrawCharacter(DeviceContext& canvas, double x, double y, std::string_view character)
{
    if (std::abs(x) <= kMaxCoordinate && std::abs(y) <= kMaxCoordinate)
        canvas.TextOut(RoundedPixels(x), RoundedPixels(y), character);
}

// ---- the shaped pass's layout

// Kept over the whole text, not reset at a new line.
struct ShapedState {
    double i = 0; // character index over all lines
    double dx = 0; // offsets from (left, top); y grows upwards
    double dy = 0;
    double r = 0; // the curve's turn index
};

// hp / divisor, or nothing when the divisor is 0 (lines whose lengths make
// the curve's divisor vanish keep their height there).
double CurveShift(double hp, double divisor) { return divisor == 0 ? 0 : hp / divisor; }

// Moves along the curve for a line of g characters; returns the y offset
// the character is drawn at (the middle character of an odd line sits
// higher than the offset it leaves behind).
double CurveStep(ShapedState& s, double g, double wp, double hp)
{
    if (s.i == 0) {
        s.dy = kShapedBaseline - hp;
        return s.dy;
    }
    const double t = 3 * s.i + g;
    double drawnAt = std::numeric_limits<double>::quiet_NaN();
    const bool odd = std::fmod(g, 2) == 1;
    if (odd ? s.i >= g / 2 : s.i > g / 2) {
        s.dy -= CurveShift(hp, (g + 3 * s.r) / 2.5);
        s.r -= 1;
    } else if (odd && s.i + 0.5 == g / 2) {
        drawnAt = s.dy + hp / (t / 1.1);
        s.dy += hp / (t / 2.5);
        s.r = s.i;
    } else if (s.i < g / 2) {
        s.dy += hp / (t / 2.5);
        s.r = s.i;
    }
    s.dx += wp / g;
    return std::isnan(drawnAt) ? s.dy : drawnAt;
}

// Moves along a slant: forward rises to the right, backward falls.
void SlantStep(ShapedState& s, std::string_view character, double m, double wp, double hp, bool forward)
{
    if (s.i == 0) {
        if (forward)
            s.dy = kShapedBaseline - hp;
        return;
    }
    const double q = hp / -15;
    const double bigQ = character.size() == 1 ? 2 * m : m;
    const double rise = q / (bigQ / 27) + 0.2;
    s.dx += wp / ((bigQ + 2 - 1.7) / 2);
    s.dy += forward ? -rise : rise;
}

// ---- the warped outline

Size TextExtentIn(const LogFont& font, std::string_view text)
{
    Bitmap probe(1, 1);
    RasterDeviceContext dc(probe);
    dc.SelectFont(font);
    return dc.GetTextExtent(text);
}

// The font scaled down until the text's box holds at most kMaxWarpPixels.
LogFont FontWithinWarpBound(LogFont font, std::string_view text)
{
    if (font.height == 0)
        font.height = 16; // the default cell height, made explicit so it can shrink
    for (;;) {
        const Size size = TextExtentIn(font, text);
        const double pixels = static_cast<double>(size.cx) * size.cy;
        if (pixels <= kMaxWarpPixels || std::abs(font.height) <= 1)
            return font;
        const double scale = std::sqrt(kMaxWarpPixels / pixels) * 0.98;
        const int smaller = std::max(1, static_cast<int>(std::floor(std::abs(font.height) * scale)));
        font.height = font.height < 0 ? -smaller : smaller;
    }
}

std::string WithoutLineBreaks(std::string_view text)
{
    std::string kept;
    ForEachChar(text, [&](std::string_view character) {
        if (character != "\r" && character != "\n")
            kept += character;
    });
    return kept;
}

struct PlacedCharacter {
    std::string_view bytes;
    int x = 0;
    int width = 0;
};

// The characters side by side from x = 0, each at the advance of those
// before it.
std::vector<PlacedCharacter> PlaceCharacters(const LogFont& font, std::string_view text)
{
    Bitmap probe(1, 1);
    RasterDeviceContext dc(probe);
    dc.SelectFont(font);
    std::vector<PlacedCharacter> placed;
    int x = 0;
    ForEachChar(text, [&](std::string_view character) {
        const int width = dc.GetTextExtent(character).cx;
        placed.push_back({character, x, width});
        x = static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + width, std::numeric_limits<int>::max() / 2));
    });
    return placed;
}

// The outline of one character, its points moved towards the bitmap's
// vertical centre line in proportion to their height above the bottom edge,
// which stays where it is; stroked and filled in the colour.
void WarpCharacter(DeviceContext& dc, const PlacedCharacter& c, int half, int bottom, ColorRef color)
{
    UseClearBrush(dc);
    dc.BeginPath();
    dc.TextOut(c.x, 0, c.bytes);
    dc.EndPath();
    dc.FlattenPath();
    TPath outline;
    outline.CapturePath(dc);
    TPath warped;
    warped.Assign(outline);
    for (std::int32_t i = 0; i < outline.GetCount(); ++i) {
        TPathPoint p;
        outline.GetPoint(i, p);
        p.X += static_cast<std::int32_t>(std::trunc((double(bottom) - p.Y) / 20 * ((half - p.X) * 0.04)));
        warped.SetPoint(i, p);
    }
    // A one-pixel line stepped by the context itself: a stroker's outline of
    // the warp's long slanted edges costs many times more.
    dc.SelectPen(Pen{PenStyle::Solid, 0, color});
    dc.SelectBrush(Brush{BrushStyle::Solid, color});
    warped.StrokeAndFill(dc);
}

} // namespace

// A regular font of the face at a logical height, in the face's character set.
LogFont LabelPainter::EffectFont(std::string_view face, int height) const
{
    LogFont font;
    font.height = height;
    font.charSet = static_cast<std::uint8_t>(GetFaceCharset(face));
    font.faceName = std::string(face.substr(0, 31));
    return font;
}

// ---- the sequence of passes

MmSize LabelPainter::DrawEffectTextObject(DeviceContext& canvas, const TLxLabelObjectEffects& o) const
{
    const MmSize own{o.GetWidth(), o.GetHeight()};
    if (!std::isfinite(o.GetCharSpacing()) || std::abs(o.GetCharSpacing()) > kMaxSpacingMm ||
        std::abs(o.GetFontSize()) > kMaxFontPoints)
        return own;
    using PassMethod = decltype(&LabelPainter::DrawEffectTextPass);
    MmSize box = own;
    // Each pass starts from the object's own box unless it continues from
    // the box of the pass before it; offsets are added in mm.
    auto pass = [&](PassMethod method, EffectPassStyle style, double right, double down, bool continues) {
        const Point at{MmToPixels(kAxisHorizontal, o.GetLeft() + right), MmToPixels(kAxisVertical, o.GetTop() + down)};
        box = (this->*method)(canvas, o.GetText(), style, continues ? box : own, at);
    };
    const auto styled = [&](ColorRef color, EffectPath path = EffectPath::Straight) {
        return EffectPassStyle{
            TextStyle{o.GetFontName(), o.GetFontSize(), 0, color, 0, o.GetAlignment(), o.GetCharSpacing()}, path,
            false};
    };
    const PassMethod plain = &LabelPainter::DrawEffectTextPass;
    const PassMethod shaped = &LabelPainter::DrawEffectTextShaped;
    const PassMethod deformed = &LabelPainter::DrawEffectText;

    // The first style that is set, and only that one; a shaped pass stands in
    // for the main text, a deformed one for the plain main text.
    bool mainDrawn = false;
    bool plainMain = true;
    if (o.GetShadow()) {
        pass(plain, styled(o.GetShadowColor()), kShadowRight, kShadowDown, false);
    } else if (o.GetCurve()) {
        pass(shaped, styled(o.GetShapedTextColor(), EffectPath::Curve), 0, 0, false);
        mainDrawn = true;
    } else if (o.GetSlantForward()) {
        pass(shaped, styled(o.GetShapedTextColor(), EffectPath::SlantForward), 0, 0, false);
        mainDrawn = true;
    } else if (o.GetSlantBackward()) {
        pass(shaped, styled(o.GetShapedTextColor(), EffectPath::SlantBackward), 0, 0, false);
        mainDrawn = true;
    } else if (o.GetDeform()) {
        pass(deformed, styled(o.GetFontColor()), 0, 0, false);
        plainMain = false;
    } else if (o.GetSpareStyle()) {
        pass(deformed, styled(o.GetShapedTextColor()), 0, 0, false);
    } else if (o.GetOutline()) {
        for (int ring = kFirstRing; ring <= kLastRing; ++ring) {
            const double c = ring / 100.0;
            pass(plain, styled(o.GetShadowColor()), 0, -c, false);
            pass(plain, styled(o.GetShadowColor()), 0, c, false);
            pass(plain, styled(o.GetShadowColor()), c, 0, false);
            pass(plain, styled(o.GetShadowColor()), -c, 0, false);
        }
    }

    // The main text, larger and centred under the second shadow.
    if (!mainDrawn) {
        if (o.GetShadow2()) {
            EffectPassStyle main = styled(o.GetFontColor());
            main.text.fontSize += kShadow2Larger;
            main.centred = true;
            pass(plain, main, 0, 0, false);
        } else if (plainMain) {
            pass(plain, styled(o.GetFontColor()), 0, 0, false);
        }
    }

    // The second shadow lies over the main text, centred as it is.
    if (o.GetShadow2()) {
        EffectPassStyle shadow = styled(o.GetShadowColor());
        shadow.text.charSpacing -= kShadow2Tighter;
        shadow.centred = !mainDrawn;
        pass(plain, shadow, 0, kShadow2Down, true);
    }
    return box;
}

// ---- the passes

MmSize LabelPainter::DrawEffectTextPass(DeviceContext& canvas, std::string_view text, const EffectPassStyle& style,
                                        MmSize box, Point at) const
{
    UseClearBrush(canvas);
    box.width = std::max(box.width, 10.0);
    double wp = MmToPixels(kAxisHorizontal, box.width);
    const int spacing = MmToPixels(kAxisHorizontal, style.text.charSpacing);
    const std::vector<std::string_view> lines = SplitAtCrLf(text);
    canvas.SelectFont(EffectFont(style.text.fontName, -RoundedPixels(dpiY_ * style.text.fontSize / 72)));
    canvas.SetTextColor(style.text.color);

    wp = std::max(wp, 1.01 * WidestLine(canvas, lines, spacing));
    const double pitch = 1.1 * TextHeight(canvas, LetterA());
    const double hp = RoundHalfEven(pitch * static_cast<double>(lines.size()));
    double y = at.y;
    for (std::string_view line : lines) {
        const double s = TextWidth(canvas, line) + (static_cast<double>(CharCount(line)) - 1) * spacing;
        const double offset = style.centred ? (wp - s) / 2 : 0;
        double x = at.x;
        ForEachChar(line, [&](std::string_view character) {
            DrawCharacter(canvas, offset + x, y, character);
            x += TextWidth(canvas, character) + spacing;
        });
        y += pitch;
    }
    return {static_cast<double>(PixelsToMm(kAxisHorizontal, wp)), static_cast<double>(PixelsToMm(kAxisVertical, hp))};
}

MmSize LabelPainter::DrawEffectTextShaped(DeviceContext& canvas, std::string_view text, const EffectPassStyle& style,
                                          MmSize box, Point at) const
{
    if (text.empty())
        return box;
    UseClearBrush(canvas);
    box.width = std::max(box.width, 10.0);
    box.height = std::max(box.height, 20.0);
    double wp = MmToPixels(kAxisHorizontal, box.width);
    double hp = MmToPixels(kAxisVertical, box.height);
    const int spacing = MmToPixels(kAxisHorizontal, style.text.charSpacing);
    const double m = static_cast<double>(text.size());
    const std::vector<std::string_view> lines = SplitAtCrLf(text);

    // Measured in the default size; the glyphs follow the box width and the
    // text length instead of the font size.
    LogFont font = EffectFont(style.text.fontName, 0);
    canvas.SelectFont(font);
    canvas.SetTextColor(style.text.color);
    wp = std::max(wp, 1.01 * WidestLine(canvas, lines, spacing));
    font.height = RoundedPixels(dpiY_ * (wp / (1.5 * m + 100)) / 72);
    hp = std::max(hp, RoundHalfEven(1.6 * TextHeight(canvas, LetterA()) * static_cast<double>(lines.size())));

    const bool forward = style.path == EffectPath::SlantForward;
    ShapedState state;
    for (std::string_view line : lines) {
        const double g = static_cast<double>(CharCount(line));
        double a = 10 * std::floor(g / 2) + (std::fmod(g, 2) == 1 ? 6 : 1);
        ForEachChar(line, [&](std::string_view character) {
            double drawnAt = state.dy;
            if (style.path == EffectPath::Curve) {
                font.escapement = RoundedPixels(4 * std::trunc(a));
                drawnAt = CurveStep(state, g, wp, hp);
                a -= 10; // four degrees per character
            } else if (style.path != EffectPath::Straight) {
                font.escapement = forward ? 200 : -200;
                SlantStep(state, character, m, wp, hp, forward);
                drawnAt = state.dy;
            }
            font.orientation = 0;
            canvas.SelectFont(font);
            DrawCharacter(canvas, at.x + state.dx, at.y - drawnAt, character);
            state.i += 1;
        });
    }
    return {static_cast<double>(PixelsToMm(kAxisHorizontal, wp)), static_cast<double>(PixelsToMm(kAxisVertical, hp))};
}

MmSize LabelPainter::DrawEffectText(DeviceContext& canvas, std::string_view text, const EffectPassStyle& style,
                                    MmSize /*box*/, Point at) const
{
    UseClearBrush(canvas);
    const int spacing = MmToPixels(kAxisHorizontal, style.text.charSpacing);
    canvas.SelectFont(EffectFont(style.text.fontName, -RoundedPixels(dpiY_ * style.text.fontSize / 72)));
    canvas.SetTextColor(style.text.color);
    const std::vector<std::string_view> lines = SplitAtCrLf(text);
    const double wp = std::max(1.55 * WidestLine(canvas, lines, spacing), double(TextWidth(canvas, LetterA())));
    const double hp = RoundHalfEven(2.1 * TextHeight(canvas, LetterA()) * static_cast<double>(lines.size()));

    LogFont warpFont;
    warpFont.height = -RoundedPixels(kWarpFontDpi * style.text.fontSize * 10.0 / 72);
    warpFont.faceName = std::string(style.text.fontName.substr(0, 31));
    Bitmap bitmap;
    WarpTextPath(bitmap, std::string(text) + "\r\n", warpFont, style.text.color);
    if (!bitmap.Empty())
        canvas.StretchDraw(Rect{at.x, at.y, RoundedPixels(at.x + wp), RoundedPixels(at.y + hp)}, bitmap, kWarpKey);
    return {static_cast<double>(PixelsToMm(kAxisHorizontal, wp)), static_cast<double>(PixelsToMm(kAxisVertical, hp))};
}

// ---- the warped outline

void LabelPainter::WarpTextPath(Bitmap& bitmap, std::string_view text, const LogFont& font, ColorRef color) const
{
    // Every line goes on one line; the breaks themselves have no width.
    const std::string glyphs = WithoutLineBreaks(text);
    const LogFont fitted = FontWithinWarpBound(font, glyphs);
    const std::vector<PlacedCharacter> placed = PlaceCharacters(fitted, glyphs);
    const Size size{placed.empty() ? 0 : placed.back().x + placed.back().width, TextExtentIn(fitted, glyphs).cy};
    if (static_cast<double>(size.cx) * size.cy > kMaxWarpPixels) {
        bitmap = Bitmap(); // even the smallest font is too wide: nothing to draw
        return;
    }
    bitmap = Bitmap(size.cx, size.cy, ArgbFromColorRef(kWarpKey));
    if (bitmap.Empty())
        return;
    RasterDeviceContext dc(bitmap);
    dc.SelectFont(fitted);
    // One character at a time: a fill's cost grows with the outlines that
    // share its rows, so the whole text at once costs far more than its parts.
    for (const PlacedCharacter& c : placed)
        WarpCharacter(dc, c, bitmap.Width() / 2, bitmap.Height(), color);
}

} // namespace lx
