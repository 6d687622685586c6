#include "designer/model/LxDesignFile.h"

#include "platform/io/Errors.h"
#include "platform/io/Files.h"

namespace lx {

void WriteDesign(Stream& stream, const TLxCSV& mergeTable, const TlxLblInfo& layout, const TlxLabelManager& document)
{
    mergeTable.SaveToStream(stream);
    layout.WriteLayoutBlock(stream);
    document.SaveToStream(stream);
}

Design ReadDesign(Stream& stream)
{
    Design design;
    // The table's block reader rebuilds the rows itself.
    design.MergeTable = std::make_shared<TLxCSV>();
    design.MergeTable->LoadFromStream(stream);
    design.SheetLayout = std::make_unique<TlxLblInfo>();
    design.SheetLayout->ReadLayoutBlock(stream);
    design.Document = std::make_unique<TlxLabelManager>(design.SheetLayout->LabelCount, *design.SheetLayout);
    design.Document->LoadFromStream(stream, design.MergeTable);
    return design;
}

void SaveDesignFile(std::string_view path, const TLxCSV& mergeTable, const TlxLblInfo& layout,
                    const TlxLabelManager& document)
{
    MemoryStream stream;
    WriteDesign(stream, mergeTable, layout, document);
    WriteFileReplacing(path, stream.Bytes());
}

Design LoadDesignFile(std::string_view path)
{
    MemoryStream stream(ReadFileBytes(path));
    return ReadDesign(stream);
}

} // namespace lx
