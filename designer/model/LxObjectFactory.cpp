#include "designer/model/LxObjectFactory.h"

#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelCSVString.h"

namespace lx {

using SharedTable = std::shared_ptr<const TLxCSV>;

std::unique_ptr<TLxLableObjectBase> CreateLabelObject(std::uint8_t kind, const SharedTable& mergeTable,
                                                      std::int32_t recordIndex)
{
    const LabelObjectKindInfo* info = FindLabelObjectKind(kind);
    return info ? info->make(mergeTable, recordIndex) : nullptr;
}

std::optional<std::uint8_t> KindOfClass(const TLxLableObjectBase& object)
{
    const LabelObjectKindInfo* info = FindKindOfClass(object);
    if (!info)
        return std::nullopt;
    return info->kind;
}

namespace {

template <typename Merge>
bool BindIf(TLxLableObjectBase& object, const SharedTable& table)
{
    auto* merge = dynamic_cast<Merge*>(&object);
    if (merge)
        merge->SetCSV(table);
    return merge != nullptr;
}

template <typename Merge>
const TLxCSV* TableIf(const TLxLableObjectBase& object)
{
    const auto* merge = dynamic_cast<const Merge*>(&object);
    return merge ? merge->GetCSV() : nullptr;
}

} // namespace

const TLxCSV* MergeTableOf(const TLxLableObjectBase& object)
{
    if (const TLxCSV* table = TableIf<TLxLabelObjectCsvString>(object))
        return table;
    if (const TLxCSV* table = TableIf<TLxLabelObjectCsvBarcode>(object))
        return table;
    return TableIf<TLxLabelObjectCsvQRCarry>(object);
}

bool BindMergeTable(TLxLableObjectBase& object, const SharedTable& table)
{
    return BindIf<TLxLabelObjectCsvString>(object, table) || BindIf<TLxLabelObjectCsvBarcode>(object, table) ||
        BindIf<TLxLabelObjectCsvQRCarry>(object, table);
}

} // namespace lx
