#include "designer/model/DesignPrinter.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>

#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "designer/model/SheetDrawing.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/text/Numbers.h"

namespace lx {

namespace {

// The preview's cells are drawn this many times finer and averaged down, so
// that the thin strokes of small text keep their ink on the screen instead
// of falling between its pixels; printing draws at the printer's own size.
constexpr int kPreviewFineness = 4;
constexpr int kLargestSmoothCell = 2048;

// Each pixel the mean of the factor x factor block of the fine bitmap.
Bitmap AverageDown(const Bitmap& fine, int factor, int width, int height)
{
    Bitmap coarse(width, height);
    const std::uint32_t count = static_cast<std::uint32_t>(factor * factor);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::array<std::uint32_t, 3> sum{};
            for (int dy = 0; dy < factor; ++dy) {
                const std::uint32_t* row = fine.Row(y * factor + dy) + x * factor;
                for (int dx = 0; dx < factor; ++dx)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += (row[dx] >> (8 * c)) & 0xFFu;
            }
            std::uint32_t pixel = 0xFF000000u;
            for (int c = 0; c < 3; ++c)
                pixel |= ((sum[c] + count / 2) / count) << (8 * c);
            coarse.SetPixel(x, y, pixel);
        }
    }
    return coarse;
}

// A cell's picture for the screen, one pixel larger to the right and below
// as its clip is: played finer and averaged down.
Bitmap SmoothCellPicture(const EnhMetafile& picture, const Rect& place)
{
    const int width = place.Width() + 1;
    const int height = place.Height() + 1;
    Bitmap fine(width * kPreviewFineness, height * kPreviewFineness);
    RasterDeviceContext dc(fine);
    PlayEnhMetafile(dc, picture, Rect{0, 0, place.Width() * kPreviewFineness, place.Height() * kPreviewFineness});
    return AverageDown(fine, kPreviewFineness, width, height);
}

// The drawing of a planned label: print mode on, its record for every merge
// and serial object (a record beyond 32 bits shows the last one there is).
CellDrawing PrintedDrawing(const PlannedLabel& label)
{
    CellDrawing drawing;
    if (label.record >= 0)
        drawing.record = static_cast<std::int32_t>(std::min<std::int64_t>(label.record, INT32_MAX));
    return drawing;
}

} // namespace

double PrintShiftMm(int physicalOffset, double dpi, double userOffset)
{
    return RoundHalfEven(physicalOffset * 25.4 / dpi) + userOffset;
}

DesignPrinter::DesignPrinter(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV* mergeTable)
    : document_(document), layout_(layout), plan_(document, layout, mergeTable)
{
}

void DesignPrinter::Print(DeviceContext& canvas, const std::function<void()>& newPage,
                          const PrintRequest& request) const
{
    const double dpiX = canvas.GetDeviceCaps(DeviceCap::LogPixelsX);
    const double dpiY = canvas.GetDeviceCaps(DeviceCap::LogPixelsY);
    const double shiftX = PrintShiftMm(canvas.GetDeviceCaps(DeviceCap::PhysicalOffsetX), dpiX, request.userLeft);
    const double shiftY = PrintShiftMm(canvas.GetDeviceCaps(DeviceCap::PhysicalOffsetY), dpiY, request.userTop);
    bool first = true;
    for (int copy = 1; copy <= request.copies; ++copy) {
        for (std::int32_t page = request.firstPage; page <= request.lastPage; ++page) {
            if (!first)
                newPage();
            first = false;
            for (const PlannedLabel& label : plan_.LabelsOfPage(page))
                PrintLabel(canvas, label, shiftX, shiftY, dpiX, dpiY);
        }
    }
}

void DesignPrinter::PrintLabel(DeviceContext& canvas, const PlannedLabel& label, double shiftX, double shiftY,
                               double dpiX, double dpiY) const
{
    const Rect place = LabelCellPlace(layout_, label.cell, -shiftX, -shiftY, dpiX, dpiY);
    const Region clip = LabelCellClip(place, layout_.GetLabelLineKind(label.cell));
    canvas.SelectClipRegion(&clip);
    document_.DrawFace(label.face, canvas, place, PrintedDrawing(label));
}

void DesignPrinter::DrawPreviewPage(DeviceContext& canvas, std::int32_t page, double dpiX, double dpiY) const
{
    for (const PlannedLabel& label : plan_.LabelsOfPage(page))
        PreviewLabel(canvas, label, dpiX, dpiY);
}

void DesignPrinter::PreviewLabel(DeviceContext& canvas, const PlannedLabel& label, double dpiX, double dpiY) const
{
    const std::int32_t i = label.cell;
    const Rect place = LabelCellPlace(layout_, i, 0, 0, dpiX, dpiY);
    const std::uint8_t lineKind = layout_.GetLabelLineKind(i);
    // Print mode is on in the preview too: what is not printed is not shown.
    const EnhMetafile picture = document_.RenderFaceFor(label.face, PrintedDrawing(label));
    // A cell far larger than any screen (a broken layout) is drawn directly.
    if (place.Width() > kLargestSmoothCell || place.Height() > kLargestSmoothCell) {
        PlaceLabelPicture(canvas, picture, place, lineKind);
    } else {
        const Region clip = LabelCellClip(place, lineKind);
        canvas.SelectClipRegion(&clip);
        canvas.StretchDraw(Rect{place.left, place.top, place.right + 1, place.bottom + 1},
                           SmoothCellPicture(picture, place));
    }
    // The guides with a clear brush in the canvas's pen, under the cell's clip.
    canvas.SetBkMode(BkMode::Transparent);
    DrawCellGuides(canvas, layout_, i, dpiX, dpiY);
}

EnhMetafile DesignPrinter::LabelPicture(std::int32_t cell, bool printMode) const
{
    const PlannedLabel label = plan_.LabelOfCell(1, cell);
    CellDrawing drawing = PrintedDrawing(label);
    drawing.printMode = printMode;
    return document_.RenderFaceFor(label.face, drawing);
}

} // namespace lx
