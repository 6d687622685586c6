#pragma once
// Pieces the symbol painters share: the colours of a fill type, the canvas
// that issues figures in downward distances and restores what it found, and
// the fixed module grid a 2D symbol is oriented into.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/gdi/DeviceContext.h"

namespace lx::painting {

// Every coordinate a painter issues stays within this magnitude, so that
// nothing overflows on the way to the device.
inline constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 28;

bool FitsCoordinates(std::int64_t width, std::int64_t height);

// The colours of one fill type; an absent colour is not drawn (background)
// or not selected (modules).
struct FillColors {
    std::optional<ColorRef> background;
    std::optional<ColorRef> modules;
};
FillColors ColorsForFill(int fillType, ColorRef dark, ColorRef light);

// Half the adjust rounded away from zero: the share of a bar's growth.
constexpr int HalfAdjust(int adjust) { return adjust > 0 ? (adjust + 1) / 2 : (adjust - 1) / 2; }

// Issues figures given as distances downward from the origin (the y axis
// points up) with a one-unit pen and a brush of one colour; the pen and
// brush it found are selected again when it goes.
class Canvas {
public:
    explicit Canvas(DeviceContext& dc);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // An absent colour keeps whatever the context holds.
    void Use(std::optional<ColorRef> color);
    void Box(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
    void Dot(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
    DeviceContext& Context() { return dc_; }

private:
    DeviceContext& dc_;
    Pen pen_;
    Brush brush_;
};

// A module grid in its drawn orientation, one bit per module.
class ModuleGrid {
public:
    static constexpr int kMaxModules = 177 * 177;
    // False (and an empty grid) when the size is not positive or too large.
    bool Reset(int columns, int rows);
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    bool Dark(int column, int row) const
    {
        const int i = row * columns_ + column;
        return (bits_[static_cast<std::size_t>(i / 8)] >> (i % 8)) & 1;
    }
    void SetDark(int column, int row)
    {
        const int i = row * columns_ + column;
        bits_[static_cast<std::size_t>(i / 8)] |= static_cast<std::uint8_t>(1 << (i % 8));
    }

private:
    int columns_ = 0;
    int rows_ = 0;
    std::array<std::uint8_t, (kMaxModules + 7) / 8> bits_{};
};

// Reading the encoders' matrix form.
inline int MatrixRowBytes(int columns) { return (columns + 7) / 8; }
bool MatrixHolds(std::span<const std::uint8_t> matrix, int columns, int rows);
inline bool MatrixDark(std::span<const std::uint8_t> matrix, int columns, int column, int row)
{
    return (matrix[static_cast<std::size_t>(row) * static_cast<std::size_t>(MatrixRowBytes(columns)) +
                   static_cast<std::size_t>(column / 8)] >>
            (column % 8)) &
        1;
}

// Copies a w x h matrix into the grid turned `rotate` quarter turns
// clockwise, reflected left-right afterwards when mirrored (the DataMatrix
// and MaxiCode orientation; odd turns swap columns and rows).
void OrientTurnThenReflect(std::span<const std::uint8_t> matrix, int w, int h, int rotate, bool mirror,
                           ModuleGrid& grid);

} // namespace lx::painting
