#include "designer/model/SheetDrawing.h"

#include "designer/model/LxLblInfo.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/text/Numbers.h"

namespace lx {

namespace {

void SelectLinePen(DeviceContext& dc, PenStyle style)
{
    Pen pen = dc.CurrentPen();
    pen.style = style;
    pen.width = 0;
    dc.SelectPen(pen);
}

void DrawSolidCircle(DeviceContext& dc, const Rect& box)
{
    SelectLinePen(dc, PenStyle::Solid);
    dc.Ellipse(box.left, box.top, box.right, box.bottom);
}

} // namespace

Rect ScaleMmRect(double left, double top, double width, double height, double kx, double ky)
{
    return {MmToDots(left, kx), MmToDots(top, ky), MmToDots(left + width, kx), MmToDots(top + height, ky)};
}

void DrawCellOutline(DeviceContext& dc, std::uint8_t kind, const Rect& box)
{
    dc.SelectBrush({BrushStyle::Clear, 0});
    switch (kind) {
    case lxLineNomal:
        SelectLinePen(dc, PenStyle::Solid);
        dc.Rectangle(box.left, box.top, box.right, box.bottom);
        break;
    case lxLineDot:
        // The dotted outline as lines: the context's Rectangle draws its
        // outline solid whatever the pen's style.
        if (box.Empty())
            break;
        SelectLinePen(dc, PenStyle::Dot);
        dc.MoveTo(box.left, box.top);
        dc.LineTo(box.right - 1, box.top);
        dc.LineTo(box.right - 1, box.bottom - 1);
        dc.LineTo(box.left, box.bottom - 1);
        dc.LineTo(box.left, box.top);
        break;
    case lxLineCircle: DrawSolidCircle(dc, box); break;
    default: break;
    }
}

void DrawInnerShape(DeviceContext& dc, std::uint8_t kind, const Rect& box)
{
    dc.SelectBrush({BrushStyle::Clear, 0});
    switch (kind) {
    case lxLineNomal:
    case lxLineDot:
        SelectLinePen(dc, kind == lxLineDot ? PenStyle::Dot : PenStyle::Solid);
        dc.MoveTo(box.left, box.top);
        dc.LineTo(box.right, box.bottom);
        break;
    case lxLineCircle: DrawSolidCircle(dc, box); break;
    default: break;
    }
}

void DrawInnerShapes(DeviceContext& dc, const TlxLblInfo& layout, std::int32_t i, double originLeft, double originTop,
                     double kx, double ky)
{
    for (std::int32_t j = 0; j < layout.GetInnerShapeCount(i); ++j) {
        const Rect box =
            ScaleMmRect(layout.GetInnerShapeLeft(i, j) - originLeft, layout.GetInnerShapeTop(i, j) - originTop,
                        layout.GetInnerShapeWidth(i, j), layout.GetInnerShapeHeight(i, j), kx, ky);
        DrawInnerShape(dc, layout.GetInnerShapeKind(i, j), box);
    }
}

void DrawCellGuides(DeviceContext& dc, const TlxLblInfo& layout, std::int32_t i, double kx, double ky)
{
    const Rect box = ScaleMmRect(layout.GetLabelLeft(i), layout.GetLabelTop(i), layout.GetLabelWidth(i),
                                 layout.GetLabelHeight(i), kx, ky);
    DrawCellOutline(dc, layout.GetLabelLineKind(i), box);
    DrawInnerShapes(dc, layout, i, 0, 0, kx, ky);
}

Region LabelCellClip(const Rect& place, std::uint8_t lineKind)
{
    const Region box = Region::FromRect({place.left, place.top, place.right + 1, place.bottom + 1});
    if (lineKind != lxLineCircle)
        return box;
    return box.Intersected(Region::FromEllipse({place.left - 2, place.top - 2, place.right + 3, place.bottom + 3}));
}

void PlaceLabelPicture(DeviceContext& dc, const EnhMetafile& picture, const Rect& place, std::uint8_t lineKind)
{
    const Region clip = LabelCellClip(place, lineKind);
    dc.SelectClipRegion(&clip);
    PlayEnhMetafile(dc, picture, place);
}

Size FitProportionally(double width, double height, int boxWidth, int boxHeight)
{
    if (!(width > 0) || !(height > 0))
        return {0, 0};
    if (height >= width)
        return {RoundToInt(width * boxHeight / height), boxHeight};
    return {boxWidth, RoundToInt(height * boxWidth / width)};
}

} // namespace lx
