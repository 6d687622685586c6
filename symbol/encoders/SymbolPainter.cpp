#include "symbol/encoders/SymbolPainter.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "symbol/encoders/SymbolPainterDetail.h"

namespace lx {

namespace painting {

bool FitsCoordinates(std::int64_t width, std::int64_t height)
{
    return std::abs(width) <= kCoordinateLimit && std::abs(height) <= kCoordinateLimit;
}

FillColors ColorsForFill(int fillType, ColorRef dark, ColorRef light)
{
    switch (fillType) {
    case 0: return {light, dark};
    case 1: return {dark, light};
    case 2: return {std::nullopt, dark};
    case 3: return {std::nullopt, light};
    default: return {};
    }
}

Canvas::Canvas(DeviceContext& dc) : dc_(dc), pen_(dc.CurrentPen()), brush_(dc.CurrentBrush()) {}

Canvas::~Canvas()
{
    if (!(dc_.CurrentPen() == pen_))
        dc_.SelectPen(pen_);
    if (!(dc_.CurrentBrush() == brush_))
        dc_.SelectBrush(brush_);
}

void Canvas::Use(std::optional<ColorRef> color)
{
    if (!color)
        return;
    dc_.SelectPen(Pen{PenStyle::Solid, 1, *color});
    dc_.SelectBrush(Brush{BrushStyle::Solid, *color});
}

// The callers keep every coordinate within kCoordinateLimit.
void Canvas::Box(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    dc_.Rectangle(static_cast<int>(left), static_cast<int>(-top), static_cast<int>(right), static_cast<int>(-bottom));
}

void Canvas::Dot(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    dc_.Ellipse(static_cast<int>(left), static_cast<int>(-top), static_cast<int>(right), static_cast<int>(-bottom));
}

bool ModuleGrid::Reset(int columns, int rows)
{
    columns_ = rows_ = 0;
    bits_.fill(0);
    if (columns <= 0 || rows <= 0 || static_cast<std::int64_t>(columns) * rows > kMaxModules)
        return false;
    columns_ = columns;
    rows_ = rows;
    return true;
}

bool MatrixHolds(std::span<const std::uint8_t> matrix, int columns, int rows)
{
    return columns > 0 && rows > 0 &&
        static_cast<std::uint64_t>(MatrixRowBytes(columns)) * static_cast<std::uint64_t>(rows) <= matrix.size();
}

// Cell (x, y) of a w x h matrix after `rotate` clockwise quarter turns.
static std::pair<int, int> Turned(int x, int y, int w, int h, int rotate)
{
    switch (rotate) {
    case 1: return {h - 1 - y, x};
    case 2: return {w - 1 - x, h - 1 - y};
    case 3: return {y, w - 1 - x};
    default: return {x, y};
    }
}

void OrientTurnThenReflect(std::span<const std::uint8_t> matrix, int w, int h, int rotate, bool mirror,
                           ModuleGrid& grid)
{
    const bool odd = rotate % 2 == 1;
    if (!grid.Reset(odd ? h : w, odd ? w : h))
        return;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!MatrixDark(matrix, w, x, y))
                continue;
            auto [c, r] = Turned(x, y, w, h, rotate);
            if (mirror)
                c = grid.Columns() - 1 - c;
            grid.SetDark(c, r);
        }
}

} // namespace painting

using namespace painting;

namespace {

// QR: reflected about the main diagonal first (the top-left finder stays),
// then turned clockwise.
void OrientQr(std::span<const std::uint8_t> matrix, int n, int rotate, bool mirror, ModuleGrid& grid)
{
    if (!grid.Reset(n, n))
        return;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (!MatrixDark(matrix, n, x, y))
                continue;
            const int sx = mirror ? y : x;
            const int sy = mirror ? x : y;
            const auto [c, r] = Turned(sx, sy, n, n, rotate);
            grid.SetDark(c, r);
        }
}

struct GridGeometry {
    std::int64_t origin = 0; // quiet zone x pitch
    std::int64_t pitch = 0;
    std::int64_t adjust = 0;
    std::int64_t gap = 0;
    std::int64_t X(int column) const { return origin + column * pitch; }
    std::int64_t Y(int row) const { return origin + row * pitch; }
};

// One rectangle per piece of a dark run: runs split where the module below
// turns from light to dark, so that a piece over a dark module reaches one
// unit into the next row (no hairline between rows) while a piece over a
// light module grows by the adjust alone.
void DrawCellRuns(Canvas& canvas, const ModuleGrid& grid, const GridGeometry& g)
{
    const int columns = grid.Columns();
    const int rows = grid.Rows();
    const auto lightBelow = [&](int c, int r) { return r + 1 >= rows || !grid.Dark(c, r + 1); };
    for (int r = 0; r < rows; ++r) {
        const std::int64_t top = g.Y(r);
        int c = 0;
        while (c < columns) {
            if (!grid.Dark(c, r)) {
                ++c;
                continue;
            }
            bool afterSplit = false;
            bool previousLight = false;
            while (c < columns && grid.Dark(c, r)) {
                const bool light = lightBelow(c, r);
                int last = c;
                while (last + 1 < columns && grid.Dark(last + 1, r) && lightBelow(last + 1, r) == light)
                    ++last;
                const bool endsAtSplit = last + 1 < columns && grid.Dark(last + 1, r);
                const std::int64_t left = afterSplit && !previousLight ? g.X(c) + g.adjust - 1 : g.X(c);
                std::int64_t right = g.X(last) + g.pitch + g.adjust + g.gap;
                if (endsAtSplit)
                    right = light ? g.X(last + 1) + 1 + g.gap : g.X(last + 1) + g.adjust + g.gap;
                const std::int64_t bottom = light ? top + g.pitch + g.adjust + g.gap : top + g.pitch + 1 + g.gap;
                canvas.Box(left, top, right, bottom);
                afterSplit = true;
                previousLight = light;
                c = last + 1;
            }
        }
    }
}

void DrawRoundCells(Canvas& canvas, const ModuleGrid& grid, const GridGeometry& g)
{
    const std::int64_t side = g.pitch + g.gap + g.adjust;
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Columns(); ++c)
            if (grid.Dark(c, r))
                canvas.Dot(g.X(c), g.Y(r), g.X(c) + side, g.Y(r) + side);
}

// Background and cells of an oriented QR or DataMatrix grid.
void DrawGrid(DeviceContext& dc, const ModuleGrid& grid, const GridGeometry& g, int quietZone, int fillType, bool round,
              ColorRef dark, ColorRef light)
{
    const std::int64_t width = g.adjust + g.pitch * (grid.Columns() + 2 * std::int64_t{quietZone});
    const std::int64_t height = g.adjust + g.pitch * (grid.Rows() + 2 * std::int64_t{quietZone});
    const FillColors colors = ColorsForFill(fillType, dark, light);
    Canvas canvas(dc);
    if (colors.background) {
        canvas.Use(colors.background);
        canvas.Box(0, 0, width, height);
    }
    canvas.Use(colors.modules);
    if (round)
        DrawRoundCells(canvas, grid, g);
    else
        DrawCellRuns(canvas, grid, g);
}

// Whether a grid of `modules` a side (quiet zone included) and its growth
// stay within the coordinate range.
bool GridFits(int modules, int quietZone, int pitch, int adjust, std::int64_t gap)
{
    const std::int64_t span = (std::int64_t{modules} + 2 * std::int64_t{quietZone} + 2) * pitch;
    return FitsCoordinates(span + std::abs(adjust) + gap, 0);
}

} // namespace

void DrawQr(DeviceContext& dc, const MatrixDrawing& m)
{
    const int n = m.size;
    const std::int64_t gap = m.qrGap;
    if (m.pitch <= 0 || n <= 0 || n > kQrMaxModules || m.quietZone < 0 || !MatrixHolds(m.matrix, n, n) ||
        !GridFits(n, m.quietZone, m.pitch, m.adjust, gap))
        return;
    ModuleGrid grid;
    OrientQr(m.matrix, n, m.rotate & 3, m.mirror & 1, grid);
    const GridGeometry g{std::int64_t{m.quietZone} * m.pitch, m.pitch, m.adjust, gap};
    DrawGrid(dc, grid, g, m.quietZone, m.fillType, m.roundCells, m.dark, m.light);
}

void DrawDataMatrix(DeviceContext& dc, const MatrixDrawing& m)
{
    const int columns = m.size & 0xFFFF;
    const int rows = (m.size >> 16) & 0xFFFF;
    if (m.pitch <= 0 || columns == 0 || rows == 0 || columns > kDataMatrixMaxModules || rows > kDataMatrixMaxModules ||
        m.quietZone < 0 || !MatrixHolds(m.matrix, columns, rows) ||
        !GridFits(std::max(columns, rows), m.quietZone, m.pitch, m.adjust, 0))
        return;
    ModuleGrid grid;
    OrientTurnThenReflect(m.matrix, columns, rows, m.rotate & 3, m.mirror & 1, grid);
    const GridGeometry g{std::int64_t{m.quietZone} * m.pitch, m.pitch, m.adjust, 0};
    DrawGrid(dc, grid, g, m.quietZone, m.fillType, false, m.dark, m.light);
}

void DrawPdf417(DeviceContext& dc, const MatrixDrawing& m)
{
    const int columns = m.size & 0xFFFF;
    const int rows = (m.size >> 16) & 0xFFFF;
    if (m.pitch <= 0 || columns == 0 || rows == 0 || columns > kPdf417MaxRowModules || rows > kPdf417MaxRows ||
        m.factor <= 0 || m.quietZone < 0 || !MatrixHolds(m.matrix, columns, rows) ||
        !GridFits(std::max<std::int64_t>(columns, std::int64_t{m.factor} * rows), m.quietZone, m.pitch, m.adjust, 0))
        return;
    const int rotate = m.rotate & 3;
    const bool odd = rotate % 2 == 1;
    const bool reversed = rotate >= 2;
    const bool flip = ((m.mirror & 1) != 0) != reversed;
    const std::int64_t origin = std::int64_t{m.quietZone} * m.pitch;
    const std::int64_t rowHeight = std::int64_t{m.pitch} * m.factor;
    const std::int64_t along = m.adjust + std::int64_t{m.pitch} * (columns + 2 * std::int64_t{m.quietZone});
    const std::int64_t across = std::int64_t{m.pitch} * (std::int64_t{m.factor} * rows + 2 * std::int64_t{m.quietZone});
    const int h = HalfAdjust(m.adjust);

    const FillColors colors = ColorsForFill(m.fillType, m.dark, m.light);
    Canvas canvas(dc);
    if (colors.background) {
        canvas.Use(colors.background);
        if (odd)
            canvas.Box(0, 0, across, along);
        else
            canvas.Box(0, 0, along, across);
    }
    canvas.Use(colors.modules);
    // Strip s holds source row y; position p along it holds module x.
    for (int s = 0; s < rows; ++s) {
        const int y = reversed ? rows - 1 - s : s;
        const auto dark = [&](int p) { return MatrixDark(m.matrix, columns, flip ? columns - 1 - p : p, y); };
        const std::int64_t stripStart = origin + s * rowHeight;
        int p = 0;
        while (p < columns) {
            if (!dark(p)) {
                ++p;
                continue;
            }
            const int first = p;
            while (p < columns && dark(p))
                ++p;
            const std::int64_t runStart = origin + std::int64_t{first} * m.pitch;
            const std::int64_t runEnd = runStart + std::int64_t{p - first} * m.pitch + h;
            if (odd)
                canvas.Box(stripStart, runStart, stripStart + rowHeight, runEnd);
            else
                canvas.Box(runStart, stripStart, runEnd, stripStart + rowHeight);
        }
    }
}

} // namespace lx
