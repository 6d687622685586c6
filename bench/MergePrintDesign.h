// The design of the merge print job (bench/MergePrintJob.h) in the model:
// records 1..N of one table, every label of A4 12-up with the two merged
// text lines and the merged QR Code, in single mode. The merge benchmark
// prints it, and the print job's tests check its PDF.
#pragma once

#include "bench/MergePrintJob.h"
#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "designer/model/UnitCommon.h"
#include "tests/support/MergeTables.h"

#include <memory>
#include <string>
#include <vector>

namespace lxbench {

inline lx::TLxCSV MergeTable(int records)
{
    std::vector<std::string> lines;
    for (int r = 1; r <= records; ++r)
        lines.push_back(RecordLine(r));
    return lxtest::MergeTableOf(lines);
}

inline lx::TlxLblInfo TwelveUpA4()
{
    lx::TlxLblInfo layout;
    layout.Paper = lx::TlxPaperObject("14", "BENCH-12", "A4", "12", "210", "297");
    for (int i = 0; i < 12; ++i)
        layout.Cells.emplace_back(lx::lxLineNomal, kSheetLeft + i % 2 * kLabelWidth, kSheetTop + i / 2 * kLabelHeight,
                                  kLabelWidth, kLabelHeight);
    layout.LabelCount = 12;
    return layout;
}

inline void AddText(lx::TlxLabelManager& document, const std::shared_ptr<lx::TLxCSV>& table, int column, int points,
                    double top)
{
    document.AddMergeObject(lx::KindCsvString, 0, table);
    auto& text = dynamic_cast<lx::TLxLabelObjectCsvString&>(*document.GetObject(0, 0));
    text.SetColumn(column);
    text.SetFontSize(points);
    text.SetLeft(kTextLeft);
    text.SetTop(top);
    text.SetWidth(45);
    text.SetHeight(5);
}

inline void AddQr(lx::TlxLabelManager& document, const std::shared_ptr<lx::TLxCSV>& table)
{
    document.AddMergeObject(lx::KindCsvBarcode, 0, table);
    auto& qr = dynamic_cast<lx::TLxLabelObjectCsvBarcode&>(*document.GetObject(0, 0));
    qr.SetSymbolKind(lx::SymbolQr);
    qr.SetModel(2);
    qr.SetEccLevel(1);
    qr.SetDataColumn(3);
    qr.SetLeft(kQrLeft);
    qr.SetTop(kQrTop);
    qr.SetWidth(kQrSide);
    qr.SetHeight(kQrSide);
}

struct MergePrintDesign {
    explicit MergePrintDesign(int records)
        : table(std::make_shared<lx::TLxCSV>(MergeTable(records))), document(12, layout)
    {
        document.SetSingleMode(true);
        AddQr(document, table);
        AddText(document, table, 1, 9, 12);
        AddText(document, table, 2, 8, 20);
    }
    lx::TlxLblInfo layout = TwelveUpA4();
    std::shared_ptr<lx::TLxCSV> table;
    lx::TlxLabelManager document;
};

} // namespace lxbench
