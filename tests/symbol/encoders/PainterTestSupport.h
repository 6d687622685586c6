#pragma once
// Helpers of the painter, metafile and image-writer tests: real encodes of
// every family, paintings on a raster in the control's y-up mapping, and a
// context that logs its figures.
#include "platform/gdi/DeviceContext.h"
#include "platform/image/Bitmap.h"
#include "support/Decoders.h"
#include "support/SymbolImages.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lxtest {

inline constexpr lx::ColorRef kBlack = 0x000000;
inline constexpr lx::ColorRef kWhite = 0xFFFFFF;

// A 2D symbol as the encoders leave it: matrix and size word.
struct Encoded2D {
    std::vector<std::uint8_t> matrix;
    std::int32_t size = 0; // QR: n; DataMatrix, PDF417: columns | rows << 16
    int Columns() const { return size & 0xFFFF; }
    int Rows() const { return size > 0xFFFF ? size >> 16 : size; }
};

Encoded2D EncodeQrText(const std::string& request, int model = 2);
Encoded2D EncodeDataMatrixText(const std::string& data, int model = 1);
Encoded2D EncodeMaxiCodeText(const std::string& message);
Encoded2D EncodePdf417Text(const std::string& request, int model = 1);

// Paints into a bitmap of width x height logical units shown at `scale`
// pixels a unit, in the y-up mapping the control sets (window (w, -h)).
lx::Bitmap PaintYUp(int width, int height, const std::function<void(lx::DeviceContext&)>& paint,
                    std::uint32_t fill = 0xFFFFFFFFu, int scale = 1);

// A recording context that keeps the figures it is asked to draw.
class FigureLog : public lx::DeviceContext {
public:
    struct Figure {
        char kind; // 'R' rectangle, 'E' ellipse, 'T' text
        lx::Rect box;
        lx::ColorRef color;
    };
    FigureLog() : DeviceContext(lx::DisplayDevice()) {}
    void Rectangle(int l, int t, int r, int b) override
    {
        figures.push_back({'R', {l, t, r, b}, CurrentBrush().color});
    }
    void Ellipse(int l, int t, int r, int b) override { figures.push_back({'E', {l, t, r, b}, CurrentBrush().color}); }
    void TextOut(int x, int y, std::string_view) override { figures.push_back({'T', {x, y, x, y}, GetTextColor()}); }
    lx::LogFont SelectFont(const lx::LogFont& font) override
    {
        ++fontSelections;
        return DeviceContext::SelectFont(font);
    }
    int Count(char kind) const;
    std::vector<Figure> figures;
    int fontSelections = 0;
};

} // namespace lxtest
