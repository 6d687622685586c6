#pragma once
// The table of object kinds: per kind its number, class, default name, name
// slot, record binding, factory and drawing. Whatever goes by kind reads this
// table; an object names its row by its class's kind (ClassKind). Adding a
// kind means a number here, a row in LxObjectKinds.cpp, the class saying its
// kind, and the editor's row in UnitDesignAdd.cpp.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lx {

class DeviceContext;
class LabelPainter;
class TLxCSV;
class TLxLableObjectBase;
struct MmSize;
struct PixelBox;

// Kind numbers: the type code of an object in design files and the editor.
enum LabelObjectKind : std::uint8_t {
    KindString = 0, // TLxLabelObjectString
    KindFigure = 1, // TLxLabelObjectFigure
    KindImage = 2, // TLxLabelObjectImage
    KindBarcode = 3, // TLxLabelObjectBarcode
    KindQRCarry = 4, // TLxLabelObjectQRCarry
    KindCsvString = 5, // TLxLabelObjectCsvString (merge)
    KindCsvBarcode = 6, // TLxLabelObjectCsvBarcode (merge)
    KindCsvQRCarry = 7, // TLxLabelObjectCsvQRCarry (merge)
    KindRenbanString = 8, // TLxLabelObjectRenbanString (serial number)
    KindGrid = 9, // TLxLabelObjectGrid
    KindEffects = 10, // TLxLabelObjectEffects
};
inline constexpr int kLabelObjectKindCount = 11;
// Name counters are numbered 1 to kNameSlotCount.
inline constexpr int kNameSlotCount = 9;

// What decides the content of an object besides its own properties.
enum class RecordBinding : std::uint8_t {
    None,
    Merge, // a row of the merge table
    Serial, // the record's place in the serial run
};

// A new object of the kind with its constructor's defaults; merge kinds bound
// to the table, merge and serial kinds to the record.
using ObjectMaker = std::unique_ptr<TLxLableObjectBase> (*)(const std::shared_ptr<const TLxCSV>& mergeTable,
                                                            std::int32_t recordIndex);
// Draws an object of the kind into its box in canvas pixels; the text kinds
// return the box they measured.
using ObjectDrawer = std::optional<MmSize> (*)(const LabelPainter& painter, DeviceContext& canvas,
                                               const TLxLableObjectBase& object, const PixelBox& box);

// One row of the kind table.
struct LabelObjectKindInfo {
    std::uint8_t kind;
    std::string_view className;
    std::string_view defaultNameUtf8; // the model keeps the CP932 form, DefaultObjectName
    int nameSlot; // the counter that numbers new objects' names
    RecordBinding binding; // record-bound kinds provide CloneForRecord
    ObjectMaker make;
    ObjectDrawer draw;
};

// The row of a kind, or nullptr for a number outside 0-10.
const LabelObjectKindInfo* FindLabelObjectKind(std::uint8_t kind);
// The row of the object's class (ClassKind), whatever kind byte it holds;
// nullptr for a class that is no kind.
const LabelObjectKindInfo* FindKindOfClass(const TLxLableObjectBase& object);
// CP932 default name of a kind ("文字シート" for kind 0, ...); an unknown kind
// gets the base name "デフォルトシート名".
const std::string& DefaultObjectName(std::uint8_t kind);
// Merge kinds (5-7) and the serial-number kind (8).
bool IsRecordBoundKind(std::uint8_t kind);
// Kinds whose content comes from one row of the merge table (5-7).
bool IsMergeKind(std::uint8_t kind);

// True when a table keyed by kind has one row per kind, in kind order; for
// static_assert on every table that goes beside this one.
template <class Rows>
constexpr bool CoversKindsInOrder(const Rows& rows)
{
    if (std::size(rows) != static_cast<std::size_t>(kLabelObjectKindCount))
        return false;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        if (rows[i].kind != i)
            return false;
    return true;
}

} // namespace lx
