#pragma once
// Drawing of a sheet's label cells and their inner shapes on a device
// context, and the placing of the cells' pictures on a sheet: shared by the
// paper chooser's preview, the design surface and printing (the print
// preview included), so that they never drift apart.
#include "designer/model/PagePlan.h"
#include "platform/gdi/DeviceContext.h"

#include <cstdint>

namespace lx {

class EnhMetafile;
class TlxLblInfo;

// A rectangle in mm scaled to pixels at kx, ky pixels per inch: each edge is
// round(mm x k / 25.4), halves to even.
Rect ScaleMmRect(double left, double top, double width, double height, double kx, double ky);

// A cell's outline in the current pen colour with a clear brush: kind 0 a
// solid rectangle, 1 a dotted rectangle, 2 a solid ellipse; others nothing.
void DrawCellOutline(DeviceContext& dc, std::uint8_t kind, const Rect& box);
// An inner shape: kind 0 a solid line from the top-left to the bottom-right
// corner, 1 the same line dotted, 2 a solid ellipse; others nothing.
void DrawInnerShape(DeviceContext& dc, std::uint8_t kind, const Rect& box);

// The inner shapes of cell i, each placed relative to (originLeft,
// originTop) mm: the sheet's corner for a sheet, the cell's for one cell.
void DrawInnerShapes(DeviceContext& dc, const TlxLblInfo& layout, std::int32_t i, double originLeft, double originTop,
                     double kx, double ky);

// Cell i's outline and inner shapes at their sheet positions: the guides of
// a sheet drawing, never printed.
void DrawCellGuides(DeviceContext& dc, const TlxLblInfo& layout, std::int32_t i, double kx, double ky);

// The clip of a cell's picture: the place plus one pixel to the right and
// below; an elliptic cell also the ellipse grown by 2 pixels on every side.
Region LabelCellClip(const Rect& place, std::uint8_t lineKind);
// Plays a label's picture into its place under the cell's clip. The clip
// stays selected until the caller selects another.
void PlaceLabelPicture(DeviceContext& dc, const EnhMetafile& picture, const Rect& place, std::uint8_t lineKind);

// The size of a picture that keeps a sheet's (or cell's) proportions
// inside a box: the taller side fills the box's height, otherwise the width.
Size FitProportionally(double width, double height, int boxWidth, int boxHeight);

} // namespace lx
