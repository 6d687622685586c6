#include "designer/model/LxObjectFactory.h"

#include <array>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelQRCarry.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"

namespace lx {

namespace {

using SharedTable = std::shared_ptr<const TLxCSV>;
using ObjectMaker = std::unique_ptr<TLxLableObjectBase> (*)(const SharedTable& mergeTable, std::int32_t recordIndex);

template <class T>
std::unique_ptr<TLxLableObjectBase> MakePlain(const SharedTable&, std::int32_t)
{
    return std::make_unique<T>();
}

template <class T>
std::unique_ptr<TLxLableObjectBase> MakeMerge(const SharedTable& mergeTable, std::int32_t recordIndex)
{
    return std::make_unique<T>(mergeTable, recordIndex);
}

template <class T>
std::unique_ptr<TLxLableObjectBase> MakeSerial(const SharedTable&, std::int32_t recordIndex)
{
    return std::make_unique<T>(recordIndex);
}

struct FactoryRow {
    std::uint8_t kind;
    ObjectMaker make;
    // The class itself, so that finding an object's kind never has to make
    // one (symbol objects start a control and render when they are made).
    const std::type_info* type = nullptr;
};

// One row per kind, in kind order.
constexpr std::array<FactoryRow, kLabelObjectKindCount> kFactory = {{
    {KindString, MakePlain<TLxLabelObjectString>, &typeid(TLxLabelObjectString)},
    {KindFigure, MakePlain<TLxLabelObjectFigure>, &typeid(TLxLabelObjectFigure)},
    {KindImage, MakePlain<TLxLabelObjectImage>, &typeid(TLxLabelObjectImage)},
    {KindBarcode, MakePlain<TLxLabelObjectBarcode>, &typeid(TLxLabelObjectBarcode)},
    {KindQRCarry, MakePlain<TLxLabelObjectQRCarry>, &typeid(TLxLabelObjectQRCarry)},
    {KindCsvString, MakeMerge<TLxLabelObjectCsvString>, &typeid(TLxLabelObjectCsvString)},
    {KindCsvBarcode, MakeMerge<TLxLabelObjectCsvBarcode>, &typeid(TLxLabelObjectCsvBarcode)},
    {KindCsvQRCarry, MakeMerge<TLxLabelObjectCsvQRCarry>, &typeid(TLxLabelObjectCsvQRCarry)},
    {KindRenbanString, MakeSerial<TLxLabelObjectRenbanString>, &typeid(TLxLabelObjectRenbanString)},
    {KindGrid, MakePlain<TLxLabelObjectGrid>, &typeid(TLxLabelObjectGrid)},
    {KindEffects, MakePlain<TLxLabelObjectEffects>, &typeid(TLxLabelObjectEffects)},
}};

constexpr bool InKindOrder()
{
    for (std::size_t i = 0; i < kFactory.size(); ++i)
        if (kFactory[i].kind != i)
            return false;
    return true;
}
static_assert(InKindOrder(), "factory rows must be in kind order");

} // namespace

std::unique_ptr<TLxLableObjectBase> CreateLabelObject(std::uint8_t kind, const SharedTable& mergeTable,
                                                      std::int32_t recordIndex)
{
    if (kind >= kFactory.size())
        return nullptr;
    return kFactory[kind].make(mergeTable, recordIndex);
}

std::optional<std::uint8_t> KindOfClass(const TLxLableObjectBase& object)
{
    static const auto kinds = [] {
        std::unordered_map<std::type_index, std::uint8_t> byClass;
        for (const FactoryRow& row : kFactory)
            byClass.emplace(*row.type, row.kind);
        return byClass;
    }();
    const auto found = kinds.find(typeid(object));
    if (found == kinds.end())
        return std::nullopt;
    return found->second;
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
