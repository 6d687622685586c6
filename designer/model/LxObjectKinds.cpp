#include "designer/model/LxObjectKinds.h"

#include <array>
#include <typeindex>
#include <unordered_map>

#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelObjectManager.h"
#include "designer/model/LxLabelQRCarry.h"
#include "designer/model/LxLabelRenbanString.h"
#include "designer/model/LxLabelString.h"
#include "platform/text/Cp932.h"

namespace lx {

namespace {

using SharedTable = std::shared_ptr<const TLxCSV>;

// ---- makers

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

// ---- drawers

// Text classes: the shown text in the object's font and layout; the object
// takes the measured box.
void DrawTextRow(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLabelObjectString& object,
                 std::string_view text, const PixelBox& box)
{
    double width = object.GetWidth();
    double height = object.GetHeight();
    list.DrawTextObject(canvas, text, object.GetCharSpacing(), object.GetAlignment(), object.GetFontName(),
                        object.GetFontColor(), object.GetVerticalWriting(), object.GetFontSize(), object.GetFontStyle(),
                        width, height, box.left, box.top);
    object.SetWidth(width);
    object.SetHeight(height);
}

void DrawString(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox& box)
{
    auto& text = static_cast<TLxLabelObjectString&>(object);
    DrawTextRow(list, canvas, text, text.GetText(), box);
}

void DrawCsvString(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox& box)
{
    auto& merge = static_cast<TLxLabelObjectCsvString&>(object);
    DrawTextRow(list, canvas, merge, merge.GetMergedText(), box);
}

void DrawRenbanString(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object,
                      const PixelBox& box)
{
    auto& serial = static_cast<TLxLabelObjectRenbanString&>(object);
    DrawTextRow(list, canvas, serial, serial.GetSerialText(), box);
}

void DrawFigureRow(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox& box)
{
    const auto& figure = static_cast<const TLxLabelObjectFigure&>(object);
    list.DrawFigure(canvas, figure.GetLineWidth(), figure.GetLineType(), figure.GetFigureType(), figure.GetLineColor(),
                    box.left, box.top, box.width, box.height);
}

void DrawGridRow(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox& box)
{
    const auto& grid = static_cast<const TLxLabelObjectGrid&>(object);
    list.DrawGrid(canvas, grid.GetColumns(), grid.GetRows(), grid.GetInnerLineColor(), grid.GetInnerLineType(),
                  grid.GetInnerLineWidth(), grid.GetOuterLineColor(), grid.GetOuterLineType(), grid.GetOuterLineWidth(),
                  box.left, box.top, box.width, box.height);
}

void DrawImageRow(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox& box)
{
    const auto& image = static_cast<const TLxLabelObjectImage&>(object);
    list.DrawPicture(canvas, image.GetPicture(), image.GetTransparent() != 0, image.GetTransparentColor(), box.left,
                     box.top, box.width, box.height);
}

// Symbol pictures are drawn opaque, stretched to the box; the merge objects
// render theirs for the current record when it is asked for.
template <class T>
void DrawSymbolRow(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox& box)
{
    list.DrawPicture(canvas, static_cast<T&>(object).GetPicture(), false, 0xFFFFFF, box.left, box.top, box.width,
                     box.height);
}

// Effect text takes the box its passes measured.
void DrawEffectsRow(TlxLabelObjectManager& list, DeviceContext& canvas, TLxLableObjectBase& object, const PixelBox&)
{
    list.DrawEffectTextObject(canvas, static_cast<TLxLabelObjectEffects&>(object));
}

// ---- the table

constexpr RecordBinding kNone = RecordBinding::None;
constexpr RecordBinding kMerge = RecordBinding::Merge;
constexpr RecordBinding kSerial = RecordBinding::Serial;

// Name slots are not in kind order: they follow the editor's add commands.
constexpr std::array<LabelObjectKindInfo, kLabelObjectKindCount> kKinds = {{
    {KindString, "TLxLabelObjectString", "文字シート", 1, kNone, MakePlain<TLxLabelObjectString>,
     &typeid(TLxLabelObjectString), DrawString},
    {KindFigure, "TLxLabelObjectFigure", "図形シート", 3, kNone, MakePlain<TLxLabelObjectFigure>,
     &typeid(TLxLabelObjectFigure), DrawFigureRow},
    {KindImage, "TLxLabelObjectImage", "画像シート", 2, kNone, MakePlain<TLxLabelObjectImage>,
     &typeid(TLxLabelObjectImage), DrawImageRow},
    {KindBarcode, "TLxLabelObjectBarcode", "QRコードシート", 4, kNone, MakePlain<TLxLabelObjectBarcode>,
     &typeid(TLxLabelObjectBarcode), DrawSymbolRow<TLxLabelObjectBarcode>},
    {KindQRCarry, "TLxLabelObjectQRCarry", "携帯QRシート", 5, kNone, MakePlain<TLxLabelObjectQRCarry>,
     &typeid(TLxLabelObjectQRCarry), DrawSymbolRow<TLxLabelObjectQRCarry>},
    {KindCsvString, "TLxLabelObjectCsvString", "差込文字シート", 6, kMerge, MakeMerge<TLxLabelObjectCsvString>,
     &typeid(TLxLabelObjectCsvString), DrawCsvString},
    {KindCsvBarcode, "TLxLabelObjectCsvBarcode", "差込バーコードシート", 6, kMerge, MakeMerge<TLxLabelObjectCsvBarcode>,
     &typeid(TLxLabelObjectCsvBarcode), DrawSymbolRow<TLxLabelObjectCsvBarcode>},
    {KindCsvQRCarry, "TLxLabelObjectCsvQRCarry", "差込携帯QRシート", 6, kMerge, MakeMerge<TLxLabelObjectCsvQRCarry>,
     &typeid(TLxLabelObjectCsvQRCarry), DrawSymbolRow<TLxLabelObjectCsvQRCarry>},
    {KindRenbanString, "TLxLabelObjectRenbanString", "連番シート", 7, kSerial, MakeSerial<TLxLabelObjectRenbanString>,
     &typeid(TLxLabelObjectRenbanString), DrawRenbanString},
    {KindGrid, "TLxLabelObjectGrid", "格子模様シート", 8, kNone, MakePlain<TLxLabelObjectGrid>,
     &typeid(TLxLabelObjectGrid), DrawGridRow},
    {KindEffects, "TLxLabelObjectEffects", "特殊文字シート", 9, kNone, MakePlain<TLxLabelObjectEffects>,
     &typeid(TLxLabelObjectEffects), DrawEffectsRow},
}};
static_assert(CoversKindsInOrder(kKinds), "kind rows must be in kind order");

constexpr bool EverySlotUsed()
{
    for (int slot = 1; slot <= kNameSlotCount; ++slot) {
        bool used = false;
        for (const LabelObjectKindInfo& row : kKinds)
            used = used || row.nameSlot == slot;
        if (!used)
            return false;
    }
    for (const LabelObjectKindInfo& row : kKinds)
        if (row.nameSlot < 1 || row.nameSlot > kNameSlotCount)
            return false;
    return true;
}
static_assert(EverySlotUsed(), "name slots must be 1 to kNameSlotCount, each used");

constexpr std::string_view kBaseNameUtf8 = "デフォルトシート名";

// CP932 names, converted once: index kLabelObjectKindCount is the base name.
const std::array<std::string, kLabelObjectKindCount + 1>& Cp932Names()
{
    static const auto names = [] {
        std::array<std::string, kLabelObjectKindCount + 1> converted;
        for (const auto& info : kKinds)
            converted[info.kind] = Sjis(info.defaultNameUtf8);
        converted[kLabelObjectKindCount] = Sjis(kBaseNameUtf8);
        return converted;
    }();
    return names;
}

} // namespace

const LabelObjectKindInfo* FindLabelObjectKind(std::uint8_t kind)
{
    return kind < kKinds.size() ? &kKinds[kind] : nullptr;
}

const LabelObjectKindInfo* FindKindOfClass(const TLxLableObjectBase& object)
{
    static const auto byClass = [] {
        std::unordered_map<std::type_index, const LabelObjectKindInfo*> rows;
        for (const LabelObjectKindInfo& row : kKinds)
            rows.emplace(*row.type, &row);
        return rows;
    }();
    const auto found = byClass.find(typeid(object));
    return found == byClass.end() ? nullptr : found->second;
}

const std::string& DefaultObjectName(std::uint8_t kind)
{
    return Cp932Names()[kind < kLabelObjectKindCount ? kind : kLabelObjectKindCount];
}

bool IsRecordBoundKind(std::uint8_t kind)
{
    const LabelObjectKindInfo* info = FindLabelObjectKind(kind);
    return info && info->binding != RecordBinding::None;
}

bool IsMergeKind(std::uint8_t kind)
{
    const LabelObjectKindInfo* info = FindLabelObjectKind(kind);
    return info && info->binding == RecordBinding::Merge;
}

} // namespace lx
