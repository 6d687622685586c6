#pragma once
// The one place where label objects are made from their kind number: the
// design-file loader and the object list's Add operations both come here.
#include <cstdint>
#include <memory>
#include <optional>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelBase.h"

namespace lx {

// A new object of the kind with its constructor's defaults; merge kinds are
// bound to mergeTable (shared, may be null) and recordIndex, the serial kind
// to recordIndex. nullptr for a number that is no kind.
std::unique_ptr<TLxLableObjectBase>
CreateLabelObject(std::uint8_t kind, const std::shared_ptr<const TLxCSV>& mergeTable, std::int32_t recordIndex);

// The kind whose class the object is of exactly, whatever kind byte it
// holds; nothing for a class the factory does not make.
std::optional<std::uint8_t> KindOfClass(const TLxLableObjectBase& object);

// The merge table a merge object reads from; null for any other object.
const TLxCSV* MergeTableOf(const TLxLableObjectBase& object);
// Binds a merge object to the table (shared); false for any other object.
bool BindMergeTable(TLxLableObjectBase& object, const std::shared_ptr<const TLxCSV>& table);

} // namespace lx
