#pragma once
// What a design prints on its sheets: how many pages, which face of the
// design and which record each cell of a page shows, and where each label
// lies on the sheet. The preview, printing and picture export all read it.
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <vector>

namespace lx {

class TLxCSV;
class TlxLabelManager;
class TlxLblInfo;

// One label of a page.
struct PlannedLabel {
    std::int32_t cell = 0; // the cell of the sheet it is printed in
    std::int32_t face = 0; // the face of the design it shows
    std::int64_t record = -1; // the record it shows; -1: the face as designed
};

class PagePlan {
public:
    // The table may be absent (nothing merged). The plan reads the document
    // when asked: it follows changes of mode, objects and table.
    PagePlan(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV* mergeTable);

    // Cells of a sheet the layout can print: its count, held to its cells.
    std::int32_t LabelCount() const;
    // Single mode with merge or serial objects: each cell its own record.
    bool RecordByRecord() const;
    // Sheets the records fill (at least one).
    std::int32_t PageCount() const;
    // Labels of the whole print: the records, or one sheet of cells.
    std::int64_t ItemCount() const;
    // The labels of a page (from 1), in cell order; the last page may hold
    // fewer, and a design with fewer faces than cells leaves the rest out.
    std::vector<PlannedLabel> LabelsOfPage(std::int32_t page) const;
    // What a cell of a page shows, whether or not the records reach it: the
    // face (the first in single mode) and the record.
    PlannedLabel LabelOfCell(std::int32_t page, std::int32_t cell) const;

private:
    bool HasFirstCell() const;

    const TlxLabelManager& document_;
    const TlxLblInfo& layout_;
    const TLxCSV* mergeTable_;
};

// Where cell i's label goes on a sheet drawn at dpiX x dpiY dots per inch
// whose labels are shifted by (shiftX, shiftY) mm: the corner is rounded
// from the shifted position and the size from the cell's own size, so every
// label of a sheet gets the same pixel size.
Rect LabelCellPlace(const TlxLblInfo& layout, std::int32_t i, double shiftX, double shiftY, double dpiX, double dpiY);
// round(mm x dpi / 25.4), halves to even, held to +-1e6 dots so that values
// from a damaged file stay drawable.
int MmToDots(double mm, double dpi);

} // namespace lx
