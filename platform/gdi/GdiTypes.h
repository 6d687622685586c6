#pragma once
// Value types of the drawing layer: points, rectangles, colours and the
// logical pen, brush and font that a device context holds.
#include <algorithm>
#include <cstdint>
#include <string>

namespace lx {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive wherever a rectangle is filled.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // Saturating: rectangles may come from hostile files.
    int Width() const { return Span(left, right); }
    int Height() const { return Span(top, bottom); }
    bool Empty() const { return right <= left || bottom <= top; }
    Rect Normalized() const;
    // The part both share; empty when they do not meet.
    Rect Intersected(const Rect& other) const
    {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;

private:
    static int Span(int from, int to)
    {
        const long long d = static_cast<long long>(to) - from;
        return d > 2147483647LL ? 2147483647 : d < -2147483647LL ? -2147483647 : static_cast<int>(d);
    }
};

// The rectangle of a position and a size, saturating at the integer range.
Rect RectFromSize(int x, int y, int cx, int cy);

// Colour values are 0x00BBGGRR. Values with the top bit set name a system
// colour by index (0x80000000 | index); ColorToRgb resolves them through a
// fixed table so that drawing never depends on the desktop theme.
using ColorRef = std::uint32_t;
ColorRef ColorToRgb(ColorRef color);

enum class PenStyle : std::uint32_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };

// Width 0 draws one device pixel whatever the mapping; wider pens are
// geometric (scaled by the mapping, round caps and joins) and always solid.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;
    ColorRef color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle : std::uint32_t { Solid = 0, Clear = 1 };

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = 0xFFFFFF;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// Character sets that change how TextOut bytes decode.
constexpr std::uint8_t kAnsiCharset = 0;
constexpr std::uint8_t kDefaultCharset = 1;
constexpr std::uint8_t kSymbolCharset = 2;
constexpr std::uint8_t kShiftJisCharset = 128;

// A logical font. Height < 0 is the character (em) height, > 0 the cell
// height (ascent + descent), 0 a default size; escapement in tenths of a
// degree counter-clockwise as seen on the device. The face name is CP932,
// at most 31 bytes; a leading "@" asks for vertical writing.
struct LogFont {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = kDefaultCharset;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// Clip-precision flag of a logical font: its escapement follows the
// handedness of the mapping (clockwise on the device where y grows upward).
constexpr std::uint8_t kClipLhAngles = 0x10;

// The stock font of every new device context.
LogFont StockFont();

enum class MapMode : std::uint32_t { Text = 1, Isotropic = 7, Anisotropic = 8 };
enum class BkMode : std::uint32_t { Transparent = 1, Opaque = 2 };

// Text alignment flags of the reference point.
constexpr std::uint32_t kTaLeft = 0;
constexpr std::uint32_t kTaTop = 0;
constexpr std::uint32_t kTaRight = 2;
constexpr std::uint32_t kTaCenter = 6;
constexpr std::uint32_t kTaBottom = 8;
constexpr std::uint32_t kTaBaseline = 24;

// Path point types as GetPath reports them.
constexpr std::uint8_t kPtCloseFigure = 1;
constexpr std::uint8_t kPtLineTo = 2;
constexpr std::uint8_t kPtBezierTo = 4;
constexpr std::uint8_t kPtMoveTo = 6;

enum class DeviceCap {
    HorzSize, // millimetres
    VertSize,
    HorzRes, // pixels
    VertRes,
    LogPixelsX,
    LogPixelsY,
    PhysicalOffsetX, // pixels
    PhysicalOffsetY,
};

// What a device reports about itself.
struct DeviceInfo {
    int dpiX = 96;
    int dpiY = 96;
    int horzRes = 1920;
    int vertRes = 1440;
    int horzSizeMm = 508;
    int vertSizeMm = 381;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    friend bool operator==(const DeviceInfo&, const DeviceInfo&) = default;
};

// The display, fixed so that measurement never depends on the real screen:
// 96 dpi, 1920 x 1440 pixels = 508 x 381 mm (pixels and millimetres convert
// exactly).
DeviceInfo DisplayDevice();

} // namespace lx
