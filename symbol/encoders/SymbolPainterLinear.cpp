#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/text/Cp932.h"
#include "symbol/encoders/LinearEncoder.h"
#include "symbol/encoders/SymbolPainter.h"
#include "symbol/encoders/SymbolPainterDetail.h"

namespace lx {

using namespace painting;

namespace {

constexpr int kBearerPitches = 5;

// The symbol before its turn: W along the elements, H across them; the
// bars fill `barLength` from `barAcross` (the text band lies beside them).
struct LinearFrame {
    int rotate = 0;
    std::int64_t width = 0; // W
    std::int64_t height = 0; // H
    std::int64_t start = 0;
    std::int64_t textHeight = 0;
    std::int64_t barAcross = 0;
    std::int64_t barLength = 0;
    bool Odd() const { return rotate % 2 == 1; }
};

// A box given along and across the elements, issued in the drawn frame.
void Strip(Canvas& canvas, const LinearFrame& f, std::int64_t alongFrom, std::int64_t alongTo, std::int64_t acrossFrom,
           std::int64_t acrossTo)
{
    if (f.Odd())
        canvas.Box(acrossFrom, alongFrom, acrossTo, alongTo);
    else
        canvas.Box(alongFrom, acrossFrom, alongTo, acrossTo);
}

std::int64_t ElementWidth(std::uint8_t element, int narrow, int wide)
{
    const int code = element & 0x7F;
    return code == 2 ? wide : std::int64_t{narrow} * (code & 63);
}

// The bearer frame of ITF: 5 pitches thick around the bar area.
void DrawBearerFrame(Canvas& canvas, const LinearFrame& f, int narrow, bool filled, ColorRef bar, ColorRef back)
{
    const std::int64_t t = std::int64_t{kBearerPitches} * narrow;
    const std::int64_t a0 = f.barAcross;
    const std::int64_t a1 = f.barAcross + f.barLength;
    canvas.Use(bar);
    if (filled) {
        Strip(canvas, f, 0, f.width, a0, a1);
        canvas.Use(back);
        Strip(canvas, f, t, f.width - t, a0 + t, a1 - t);
        return;
    }
    Strip(canvas, f, 0, f.width, a0, a0 + t);
    Strip(canvas, f, 0, f.width, a1 - t, a1);
    Strip(canvas, f, 0, t, a0, a1);
    Strip(canvas, f, f.width - t, f.width, a0, a1);
}

void DrawLinearBars(Canvas& canvas, const LinearFrame& f, std::span<const std::uint8_t> elements, int narrow, int wide,
                    int adjust)
{
    const int h = HalfAdjust(adjust);
    const int count = static_cast<int>(elements.size());
    std::int64_t position = f.start;
    for (int i = 0; i < count; ++i) {
        // Half turns and more walk the elements from the far end.
        const std::uint8_t e = elements[static_cast<std::size_t>(f.rotate >= 2 ? count - 1 - i : i)];
        const std::int64_t w = ElementWidth(e, narrow, wide);
        if (e & kLinearBar) {
            Strip(canvas, f, position, position + w + h, f.barAcross, f.barAcross + f.barLength);
            position += w + h;
        } else {
            position += w - (adjust - h);
        }
    }
}

// One character at a time, spread evenly over the symbol without its quiet
// zones, hung from the edge of the text band next to the bars.
void DrawLinearText(DeviceContext& dc, const LinearFrame& f, std::string_view text, ColorRef color)
{
    const std::int64_t n = static_cast<std::int64_t>(CharCount(text));
    if (n == 0)
        return;
    const std::int64_t span = f.width - 2 * f.start;
    LogFont font;
    font.height = static_cast<int>(f.textHeight);
    font.width = span / n < f.height * 3 / 25 ? static_cast<int>(span / n) : 0;
    font.escapement = font.orientation = f.rotate * 900;
    font.weight = 400;
    font.charSet = kDefaultCharset;
    font.clipPrecision = 31; // left-handed angles: the text turns with the y-up mapping
    font.quality = 1;
    font.faceName = DefaultFontName();
    const LogFont oldFont = dc.SelectFont(font);
    const ColorRef oldColor = dc.SetTextColor(color);
    const std::uint32_t oldAlign = dc.SetTextAlign(kTaCenter | kTaTop);
    std::int64_t i = 0;
    ForEachChar(text, [&](std::string_view character) {
        std::int64_t along = f.start + span * i / n + span / (2 * n);
        if (f.rotate >= 2)
            along = f.width - along;
        std::int64_t x = along;
        std::int64_t y = f.height - f.textHeight;
        switch (f.rotate) {
        case 1:
            x = f.textHeight;
            y = along;
            break;
        case 2: y = f.textHeight; break;
        case 3:
            x = f.height - f.textHeight;
            y = along;
            break;
        default: break;
        }
        dc.TextOut(static_cast<int>(x), static_cast<int>(-y), character);
        ++i;
    });
    dc.SetTextAlign(oldAlign);
    dc.SetTextColor(oldColor);
    dc.SelectFont(oldFont);
}

// Whether the walk along the elements stays within the coordinate range.
bool LinearFits(std::span<const std::uint8_t> elements, std::int64_t start, int narrow, int wide, int adjust,
                int drawnHeight, int drawnWidth)
{
    std::int64_t reach = std::abs(start) + 2 * kBearerPitches * std::int64_t{narrow};
    for (const std::uint8_t e : elements)
        reach += ElementWidth(e, narrow, std::abs(wide)) + std::abs(adjust) + 1;
    return FitsCoordinates(reach, 0) && FitsCoordinates(drawnWidth, drawnHeight);
}

} // namespace

void DrawLinear(DeviceContext& dc, const LinearDrawing& s)
{
    if (s.narrow <= 0 || s.elementCount <= 0 || static_cast<std::size_t>(s.elementCount) > s.elements.size() ||
        s.drawnHeight <= 0 || s.drawnWidth <= 0)
        return;
    const auto elements = s.elements.first(static_cast<std::size_t>(s.elementCount));
    if (!LinearFits(elements, s.startOffset, s.narrow, s.wide, s.adjust, s.drawnHeight, s.drawnWidth))
        return;
    LinearFrame f;
    f.rotate = s.rotate & 3;
    f.width = f.Odd() ? s.drawnHeight : s.drawnWidth;
    f.height = f.Odd() ? s.drawnWidth : s.drawnHeight;
    const bool bearer = s.key == kLinearItfBearer;
    f.start = s.startOffset + (bearer ? std::int64_t{kBearerPitches} * s.narrow : 0);
    f.textHeight = s.chrDisplay != 0 ? std::clamp<std::int64_t>(s.textHeight, 0, f.height) : 0;
    f.barLength = f.height - f.textHeight;
    f.barAcross = f.rotate == 1 || f.rotate == 2 ? f.textHeight : 0;

    const bool swapped = s.fillType & 1;
    const bool filled = !(s.fillType & 2);
    const ColorRef bar = swapped ? s.light : s.dark;
    const ColorRef back = swapped ? s.dark : s.light;
    Canvas canvas(dc);
    if (filled) {
        canvas.Use(back);
        canvas.Box(0, 0, s.drawnWidth, s.drawnHeight);
    }
    const BkMode oldMode = dc.SetBkMode(BkMode::Transparent);
    if (bearer)
        DrawBearerFrame(canvas, f, s.narrow, filled, bar, back);
    canvas.Use(bar);
    DrawLinearBars(canvas, f, elements, s.narrow, s.wide, s.adjust);
    if (s.chrDisplay != 0)
        DrawLinearText(dc, f, s.text, bar);
    dc.SetBkMode(oldMode);
}

} // namespace lx
