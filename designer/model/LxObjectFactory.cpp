#include "designer/model/LxObjectFactory.h"

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
    return FindKindOfClass(object) ? object.ClassKind() : std::nullopt;
}

const TLxCSV* MergeTableOf(const TLxLableObjectBase& object) { return object.GetCSV(); }

bool BindMergeTable(TLxLableObjectBase& object, const SharedTable& table)
{
    if (object.GetRecordBinding() != RecordBinding::Merge)
        return false;
    object.SetCSV(table);
    return true;
}

} // namespace lx
