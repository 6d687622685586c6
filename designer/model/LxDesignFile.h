#pragma once
// A whole design file (".bv2", and the templates ".bv2t" in the same form):
// the merge-table block, the layout block and the content block, back to
// back, with nothing before, between or after them.
#include <memory>
#include <string_view>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "platform/io/Stream.h"

namespace lx {

// A design read whole. The document refers to the layout, so the two are
// kept and released together: take them over by moving the pointers, never
// by copying what they hold. The merge objects share the table.
struct Design {
    std::shared_ptr<TLxCSV> MergeTable;
    std::unique_ptr<TlxLblInfo> SheetLayout;
    std::unique_ptr<TlxLabelManager> Document; // declared last: released first
};

void WriteDesign(Stream& stream, const TLxCSV& mergeTable, const TlxLblInfo& layout, const TlxLabelManager& document);
// Builds a fresh table, layout and document from the three blocks. Anything
// short or malformed throws (ReadError, or the object readers' own errors)
// and nothing read is handed out.
Design ReadDesign(Stream& stream);

// Writes the file without ever leaving it half written: a failing save keeps
// the previous file. Throws FileError.
void SaveDesignFile(std::string_view path, const TLxCSV& mergeTable, const TlxLblInfo& layout,
                    const TlxLabelManager& document);
// Reads the whole file; throws FileError or the errors of ReadDesign, and
// the caller's open design stays as it was.
Design LoadDesignFile(std::string_view path);

} // namespace lx
