#pragma once
// Printing a design: the labels its page plan puts on each sheet, each drawn
// for its own record, onto any device context: the printer or a PDF file,
// the print preview's page on the screen, a label picture for export.
// Nothing in the design moves while it prints, so printing may run while the
// editor shows it.
#include <cstdint>
#include <functional>

#include "designer/model/PagePlan.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/metafile/EnhMetafile.h"

namespace lx {

class TLxCSV;
class TlxLabelManager;
class TlxLblInfo;

// What the user asks of a print: the sheets, how often, and how far the
// labels move from their places.
struct PrintRequest {
    std::int32_t firstPage = 1;
    std::int32_t lastPage = 1;
    // Times the range is drawn, one after the other (collated).
    int copies = 1;
    // The user's correction in mm: positive moves the print left (up).
    double userLeft = 0;
    double userTop = 0;
};

// How far printed labels move left (or up) from their sheet positions: the
// printable area's offset from the paper's corner in whole millimetres
// (halves to even), plus the user's correction in mm.
double PrintShiftMm(int physicalOffset, double dpi, double userOffset);

class DesignPrinter {
public:
    // The three stay the caller's and must outlive the printer; the table
    // may be absent (nothing merged).
    DesignPrinter(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV* mergeTable);

    const PagePlan& Plan() const { return plan_; }

    // The requested sheets on a device whose (0, 0) is the corner of its
    // printable area, at the device's resolution: the labels move by the
    // printable area's offset and the user's. newPage starts every sheet
    // after the first; a range whose last sheet is before its first draws
    // nothing.
    void Print(DeviceContext& canvas, const std::function<void()>& newPage, const PrintRequest& request) const;
    // One sheet as the preview shows it on a canvas of dpiX x dpiY: every
    // label played finer and averaged down so that thin strokes keep their
    // ink, and the cells' guides over them.
    void DrawPreviewPage(DeviceContext& canvas, std::int32_t page, double dpiX, double dpiY) const;
    // What a cell shows on the first sheet, as a picture at the printer's
    // resolution; print mode off keeps the objects that are not printed.
    EnhMetafile LabelPicture(std::int32_t cell, bool printMode) const;

private:
    // A planned label drawn into its cell's place on a sheet, under the
    // cell's clip, which stays selected.
    void PrintLabel(DeviceContext& canvas, const PlannedLabel& label, double shiftX, double shiftY, double dpiX,
                    double dpiY) const;
    void PreviewLabel(DeviceContext& canvas, const PlannedLabel& label, double dpiX, double dpiY) const;

    const TlxLabelManager& document_;
    const TlxLblInfo& layout_;
    PagePlan plan_;
};

} // namespace lx
