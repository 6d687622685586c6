#pragma once
// One drawing of a label cell's objects: the draw operations of the object
// kinds on a canvas whose units are pixels at a given resolution, with the
// face list for character sets and the record the merge and serial objects
// show. A painter changes nothing it draws: what text measured comes back
// to the caller, so a design can be drawn for any record while it is shown.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/image/Picture.h"

namespace lx {

class TLxLableObjectBase;
class TLxLabelObjectEffects;

// An object's box in pixels of the canvas.
struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A box's size in millimetres.
struct MmSize {
    double width = 0;
    double height = 0;
};

// Axis flags of MmToPixels and PixelsToMm.
inline constexpr int kAxisHorizontal = 1;
inline constexpr int kAxisVertical = 0;

// How a text is set.
struct TextStyle {
    std::string_view fontName; // CP932, as the face list has it
    std::int32_t fontSize = 10; // points
    std::uint8_t fontStyle = 0; // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut
    ColorRef color = 0;
    std::uint8_t verticalWriting = 0;
    std::uint8_t alignment = 0; // 0 start, 1 centre, 2 end
    double charSpacing = 0; // mm after every character
};

// A line: its width in 0.1 mm (solid lines only), pen style 0-4, colour.
struct LineStyle {
    std::int32_t width = 0;
    std::uint8_t type = 0;
    ColorRef color = 0;
};

// A figure: types 0-7 fitted to the box, in the line's colour.
struct FigureStyle {
    LineStyle line;
    std::uint8_t figureType = 0;
};

// A grid: the box divided into columns x rows, inner lines and a frame.
struct GridStyle {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    LineStyle inner;
    LineStyle outer;
};

// The path the characters of an effect pass follow.
enum class EffectPath : std::uint8_t { Straight, Curve, SlantForward, SlantBackward };

// One pass of effect text: its font, colour and spacing (alignment unused),
// the path, and whether lines are centred in the box (the second shadow).
struct EffectPassStyle {
    TextStyle text;
    EffectPath path = EffectPath::Straight;
    bool centred = false;
};

// The last entry of a face list ("face:charset" entries) for the face, or
// nullptr; and the character set number it gives, 0 without one.
const std::string* FindFontListEntry(const std::vector<std::string>& fontList, std::string_view faceName);
std::int32_t FontListCharset(const std::vector<std::string>& fontList, std::string_view faceName);

class LabelPainter {
public:
    // fontList holds "face:charset" entries and must outlive the painter.
    // Without a record every object shows its own.
    LabelPainter(const std::vector<std::string>& fontList, double dpiX, double dpiY,
                 std::optional<std::int32_t> record = std::nullopt);

    double DpiX() const { return dpiX_; }
    double DpiY() const { return dpiY_; }
    // round(mm x dpi / 25.4), half to even; saturates instead of overflowing.
    std::int32_t MmToPixels(int axis, double mm) const;
    // Whole millimetres: round(pixels x 25.4 / dpi), saturating; 0 without
    // a resolution.
    std::int32_t PixelsToMm(int axis, double pixels) const;
    // The character set number of a face from the face list, searched from
    // the end; 0 when the face is not there.
    std::int32_t GetFaceCharset(std::string_view faceName) const;
    // The record a merge or serial object shows in this drawing.
    std::int32_t RecordOf(const TLxLableObjectBase& object) const;

    // Draws one object with its kind's operation, into its box in pixels;
    // the text kinds return the box they measured. Objects with non-finite
    // or absurd geometry, or of a class that is no kind, are not drawn.
    std::optional<MmSize> DrawObject(DeviceContext& canvas, const TLxLableObjectBase& object) const;

    // The lines of a text at `at` (pixels) in a box of `box` mm; returns the
    // box grown to the text's measure, in whole millimetres.
    MmSize DrawTextObject(DeviceContext& canvas, std::string_view text, const TextStyle& style, MmSize box,
                          Point at) const;
    void DrawFigure(DeviceContext& canvas, const FigureStyle& style, const PixelBox& box) const;
    void DrawGrid(DeviceContext& canvas, const GridStyle& style, const PixelBox& box) const;
    // Stretches the picture into the box; pixels of the transparent colour,
    // when there is one, are left out. An empty or undecodable picture draws
    // nothing.
    void DrawPicture(DeviceContext& canvas, const Picture& picture, std::optional<ColorRef> transparentColor,
                     const PixelBox& box) const;

    // ---- effect text (LabelPainterEffects.cpp)

    // Draws an effect-text object as its sequence of passes; returns the box
    // the last pass measured.
    MmSize DrawEffectTextObject(DeviceContext& canvas, const TLxLabelObjectEffects& object) const;
    // Each pass draws the whole text once in one colour at `at` (pixels) and
    // returns its box in whole mm. Plain characters, left-aligned or centred.
    MmSize DrawEffectTextPass(DeviceContext& canvas, std::string_view text, const EffectPassStyle& style, MmSize box,
                              Point at) const;
    // Characters in rotated fonts along a curve or a slant.
    MmSize DrawEffectTextShaped(DeviceContext& canvas, std::string_view text, const EffectPassStyle& style, MmSize box,
                                Point at) const;
    // The text as a deformed filled outline, drawn through a bitmap.
    MmSize DrawEffectText(DeviceContext& canvas, std::string_view text, const EffectPassStyle& style, MmSize box,
                          Point at) const;
    // Sizes the bitmap to the text in the font (scaled down to stay within
    // 4 megapixels), fills it with the key colour $FF00FF and fills the
    // text's outline in the colour, narrowed towards the top.
    void WarpTextPath(Bitmap& bitmap, std::string_view text, const LogFont& font, ColorRef color) const;

private:
    // A text's lines in pixels: spacing between characters, alignment.
    struct LineLayout {
        int spacing = 0;
        std::uint8_t alignment = 0;
    };
    // A box in pixels, grown by the text drawn in it.
    struct PixelSize {
        double width = 0;
        double height = 0;
    };

    Pen LinePen(const LineStyle& line) const;
    void DrawHorizontalText(DeviceContext& canvas, const std::vector<std::string_view>& lines, const LineLayout& layout,
                            const LogFont& font, PixelSize& box, Point at) const;
    void DrawVerticalText(DeviceContext& canvas, const std::vector<std::string_view>& lines, const LineLayout& layout,
                          std::string_view fontName, LogFont font, PixelSize& box, Point at) const;
    // The last entry of the face list for the face, or nullptr.
    const std::string* FindFace(std::string_view faceName) const;
    LogFont EffectFont(std::string_view face, int height) const;

    const std::vector<std::string>* fontList_;
    double dpiX_;
    double dpiY_;
    std::optional<std::int32_t> record_;
};

} // namespace lx
