#include <algorithm>
#include <array>
#include <cstdlib>

#include "symbol/encoders/SymbolPainter.h"
#include "symbol/encoders/SymbolPainterDetail.h"

namespace lx {

using namespace painting;

namespace {

constexpr int kRowBytes = 4;
constexpr int kMatrixBytes = kMaxiCodeRows * kRowBytes;

// Rounds v / 2 half up for v >= 0.
constexpr std::int64_t HalfUp(std::int64_t v) { return (v + 1) / 2; }

struct MaxiGeometry {
    int u = 0; // orientation index: rotate + 4 x mirror
    std::int64_t origin = 0;
    std::int64_t columnStep = 0;
    std::int64_t rowStep = 0;
};

// Six circles about the centre, largest first, alternately in the module
// and the background colour.
void DrawBullseye(Canvas& canvas, const MaxiGeometry& g, int pitch, int adjust, const FillColors& colors)
{
    const std::int64_t s = g.origin;
    const std::int64_t o = adjust / 2;
    const std::int64_t t = std::int64_t{pitch} * 12 / 176;
    const std::int64_t cs = g.columnStep;
    const std::int64_t rs = g.rowStep;
    std::int64_t cx = 0;
    std::int64_t cy = 0;
    switch (g.u) {
    case 0:
    case 6:
        cx = s + o + HalfUp(29 * cs) - t;
        cy = s + o + HalfUp(33 * rs);
        break;
    case 1:
    case 5:
        cx = s + o + HalfUp(33 * cs);
        cy = s + o + HalfUp(29 * rs) - t;
        break;
    case 2:
    case 4:
        cx = s + o + HalfUp(31 * cs) - t;
        cy = s + o + HalfUp(33 * rs);
        break;
    default:
        cx = s + o + HalfUp(33 * cs);
        cy = s + o + HalfUp(31 * rs) - t;
        break;
    }
    const std::int64_t a = std::int64_t{387} * pitch / 44;
    const std::int64_t b = std::int64_t{67} * pitch / 44;
    for (int k = 0; k < 6; ++k) {
        const std::int64_t diameter = a - k * b + (k % 2 == 0 ? adjust : 0);
        const std::int64_t half = diameter / 2;
        canvas.Use(k % 2 == 0 ? colors.modules : colors.background);
        canvas.Dot(cx - half, cy - half, cx + half, cy + half);
    }
}

// Position 30 of the short rows holds no module: its bit is cleared before
// the turn, so that whatever the orientation no dot is drawn where no module
// is, and every real module of the row keeps its dot.
std::array<std::uint8_t, kMatrixBytes> WithoutShortRowEnds(std::span<const std::uint8_t> matrix)
{
    std::array<std::uint8_t, kMatrixBytes> copy{};
    std::copy_n(matrix.begin(), kMatrixBytes, copy.begin());
    for (int row = 1; row < kMaxiCodeRows; row += 2)
        copy[static_cast<std::size_t>(row * kRowBytes + 3)] &= static_cast<std::uint8_t>(~(1 << 5));
    return copy;
}

} // namespace

void DrawMaxiCode(DeviceContext& dc, const MatrixDrawing& m)
{
    if (m.pitch <= 0 || m.quietZone < 0 || m.matrix.size() < static_cast<std::size_t>(kMatrixBytes))
        return;
    const std::int64_t span = (std::int64_t{kMaxiCodeRows} + 2 * std::int64_t{m.quietZone} + 2) * m.pitch;
    if (!FitsCoordinates(span + std::abs(m.adjust), 0))
        return;
    const int rotate = m.rotate & 3;
    const bool odd = rotate % 2 == 1;
    const std::int64_t rowPitch = (std::int64_t{76} * m.pitch + 44) / 88;
    MaxiGeometry g;
    g.u = rotate + 4 * (m.mirror & 1);
    g.origin = std::int64_t{m.quietZone} * m.pitch;
    g.columnStep = odd ? rowPitch : m.pitch;
    g.rowStep = odd ? m.pitch : rowPitch;
    const std::int64_t width = m.adjust + std::int64_t{m.pitch} * (kMaxiCodeColumns + 2 * std::int64_t{m.quietZone});
    const std::int64_t height = m.adjust + kMaxiCodeRows * rowPitch + 2 * g.origin;

    const FillColors colors = ColorsForFill(m.fillType == 0 ? 0 : 1, m.dark, m.light);
    Canvas canvas(dc);
    canvas.Use(colors.background);
    if (odd)
        canvas.Box(0, 0, height, width);
    else
        canvas.Box(0, 0, width, height);

    const auto source = WithoutShortRowEnds(m.matrix);
    ModuleGrid grid;
    OrientTurnThenReflect(source, kMaxiCodeColumns, kMaxiCodeRows, rotate, m.mirror & 1, grid);
    const std::int64_t diameter = rowPitch + m.adjust;
    canvas.Use(colors.modules);
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Columns(); ++c) {
            if (!grid.Dark(c, r))
                continue;
            std::int64_t left = g.origin + c * g.columnStep;
            std::int64_t top = g.origin + r * g.rowStep;
            // The hexagonal stagger: the short lines sit half a step over.
            switch (g.u) {
            case 0:
            case 6: left += r % 2 ? g.columnStep / 2 : 0; break;
            case 2:
            case 4: left -= r % 2 ? g.columnStep / 2 : 0; break;
            case 1:
            case 5: top += c % 2 ? g.rowStep / 2 : 0; break;
            default: top -= c % 2 ? g.rowStep / 2 : 0; break;
            }
            canvas.Dot(left, top, left + diameter, top + diameter);
        }
    DrawBullseye(canvas, g, m.pitch, m.adjust, colors);
}

} // namespace lx
