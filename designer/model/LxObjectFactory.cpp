#include "designer/model/LxObjectFactory.h"

#include <array>
#include <typeindex>
#include <unordered_map>

#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"

namespace lx {

namespace {

using ObjectMaker = std::unique_ptr<TLxLableObjectBase> (*)(TLxCSV* mergeTable, std::int32_t recordIndex);

template <class T>
std::unique_ptr<TLxLableObjectBase> MakePlain(TLxCSV*, std::int32_t)
{
    return std::make_unique<T>();
}

template <class T>
std::unique_ptr<TLxLableObjectBase> MakeMerge(TLxCSV* mergeTable, std::int32_t recordIndex)
{
    return std::make_unique<T>(mergeTable, recordIndex);
}

template <class T>
std::unique_ptr<TLxLableObjectBase> MakeSerial(TLxCSV*, std::int32_t recordIndex)
{
    return std::make_unique<T>(recordIndex);
}

struct FactoryRow {
    std::uint8_t kind;
    ObjectMaker make; // nullptr until the kind's class exists
};

// One row per kind, in kind order.
constexpr std::array<FactoryRow, kLabelObjectKindCount> kFactory = {{
    {KindString, MakePlain<TLxLabelObjectString>},
    {KindFigure, MakePlain<TLxLabelObjectFigure>},
    {KindImage, MakePlain<TLxLabelObjectImage>},
    {KindBarcode, nullptr},
    {KindQRCarry, nullptr},
    {KindCsvString, MakeMerge<TLxLabelObjectCsvString>},
    {KindCsvBarcode, nullptr},
    {KindCsvQRCarry, nullptr},
    {KindRenbanString, MakeSerial<TLxLabelObjectRenbanString>},
    {KindGrid, MakePlain<TLxLabelObjectGrid>},
    {KindEffects, MakePlain<TLxLabelObjectEffects>},
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

std::unique_ptr<TLxLableObjectBase> CreateLabelObject(std::uint8_t kind, TLxCSV* mergeTable,
                                                      std::int32_t recordIndex)
{
    if (!CanCreateLabelObject(kind))
        return nullptr;
    return kFactory[kind].make(mergeTable, recordIndex);
}

bool CanCreateLabelObject(std::uint8_t kind) { return kind < kFactory.size() && kFactory[kind].make != nullptr; }

std::optional<std::uint8_t> KindOfClass(const TLxLableObjectBase& object)
{
    static const auto kinds = [] {
        std::unordered_map<std::type_index, std::uint8_t> byClass;
        for (const FactoryRow& row : kFactory)
            if (row.make) {
                const std::unique_ptr<TLxLableObjectBase> made = row.make(nullptr, -1);
                const TLxLableObjectBase& sample = *made;
                byClass.emplace(typeid(sample), row.kind);
            }
        return byClass;
    }();
    const auto found = kinds.find(typeid(object));
    if (found == kinds.end())
        return std::nullopt;
    return found->second;
}

} // namespace lx
