#include "designer/model/LxObjectKinds.h"

#include <array>

#include "designer/model/LabelPainter.h"
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

using Measured = std::optional<MmSize>;

TextStyle TextStyleOf(const TLxLabelObjectString& object)
{
    return {object.GetFontName(),        object.GetFontSize(),  object.GetFontStyle(),  object.GetFontColor(),
            object.GetVerticalWriting(), object.GetAlignment(), object.GetCharSpacing()};
}

// Text classes: the shown text in the object's font and layout, in a box
// grown to the text.
Measured DrawTextRow(const LabelPainter& painter, DeviceContext& canvas, const TLxLabelObjectString& object,
                     std::string_view text, const PixelBox& box)
{
    return painter.DrawTextObject(canvas, text, TextStyleOf(object), {object.GetWidth(), object.GetHeight()},
                                  {box.left, box.top});
}

Measured DrawString(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                    const PixelBox& box)
{
    const auto& text = static_cast<const TLxLabelObjectString&>(object);
    return DrawTextRow(painter, canvas, text, text.GetText(), box);
}

Measured DrawCsvString(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                       const PixelBox& box)
{
    const auto& merge = static_cast<const TLxLabelObjectCsvString&>(object);
    return DrawTextRow(painter, canvas, merge, merge.MergedTextFor(painter.RecordOf(merge)), box);
}

Measured DrawRenbanString(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                          const PixelBox& box)
{
    const auto& serial = static_cast<const TLxLabelObjectRenbanString&>(object);
    return DrawTextRow(painter, canvas, serial, serial.SerialTextFor(painter.RecordOf(serial)), box);
}

Measured DrawFigureRow(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                       const PixelBox& box)
{
    const auto& figure = static_cast<const TLxLabelObjectFigure&>(object);
    const LineStyle line{figure.GetLineWidth(), figure.GetLineType(), figure.GetLineColor()};
    painter.DrawFigure(canvas, {line, figure.GetFigureType()}, box);
    return std::nullopt;
}

Measured DrawGridRow(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                     const PixelBox& box)
{
    const auto& grid = static_cast<const TLxLabelObjectGrid&>(object);
    const LineStyle inner{grid.GetInnerLineWidth(), grid.GetInnerLineType(), grid.GetInnerLineColor()};
    const LineStyle outer{grid.GetOuterLineWidth(), grid.GetOuterLineType(), grid.GetOuterLineColor()};
    painter.DrawGrid(canvas, {grid.GetColumns(), grid.GetRows(), inner, outer}, box);
    return std::nullopt;
}

Measured DrawImageRow(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                      const PixelBox& box)
{
    const auto& image = static_cast<const TLxLabelObjectImage&>(object);
    std::optional<ColorRef> transparent;
    if (image.GetTransparent() != 0)
        transparent = image.GetTransparentColor();
    painter.DrawPicture(canvas, image.GetPicture(), transparent, box);
    return std::nullopt;
}

// Symbol pictures are drawn opaque, stretched to the box; the merge objects
// render theirs for the drawing's record.
template <class T>
Measured DrawSymbolRow(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                       const PixelBox& box)
{
    const auto& symbol = static_cast<const T&>(object);
    painter.DrawPicture(canvas, symbol.PictureFor(painter.RecordOf(symbol)), std::nullopt, box);
    return std::nullopt;
}

// Effect text measures the box its passes drew.
Measured DrawEffectsRow(const LabelPainter& painter, DeviceContext& canvas, const TLxLableObjectBase& object,
                        const PixelBox&)
{
    return painter.DrawEffectTextObject(canvas, static_cast<const TLxLabelObjectEffects&>(object));
}

// ---- the table

constexpr RecordBinding kNone = RecordBinding::None;
constexpr RecordBinding kMerge = RecordBinding::Merge;
constexpr RecordBinding kSerial = RecordBinding::Serial;

// Name slots are not in kind order: they follow the editor's add commands.
constexpr std::array<LabelObjectKindInfo, kLabelObjectKindCount> kKinds = {{
    {KindString, "TLxLabelObjectString", "文字シート", 1, kNone, MakePlain<TLxLabelObjectString>, DrawString},
    {KindFigure, "TLxLabelObjectFigure", "図形シート", 3, kNone, MakePlain<TLxLabelObjectFigure>, DrawFigureRow},
    {KindImage, "TLxLabelObjectImage", "画像シート", 2, kNone, MakePlain<TLxLabelObjectImage>, DrawImageRow},
    {KindBarcode, "TLxLabelObjectBarcode", "QRコードシート", 4, kNone, MakePlain<TLxLabelObjectBarcode>,
     DrawSymbolRow<TLxLabelObjectBarcode>},
    {KindQRCarry, "TLxLabelObjectQRCarry", "携帯QRシート", 5, kNone, MakePlain<TLxLabelObjectQRCarry>,
     DrawSymbolRow<TLxLabelObjectQRCarry>},
    {KindCsvString, "TLxLabelObjectCsvString", "差込文字シート", 6, kMerge, MakeMerge<TLxLabelObjectCsvString>,
     DrawCsvString},
    {KindCsvBarcode, "TLxLabelObjectCsvBarcode", "差込バーコードシート", 6, kMerge, MakeMerge<TLxLabelObjectCsvBarcode>,
     DrawSymbolRow<TLxLabelObjectCsvBarcode>},
    {KindCsvQRCarry, "TLxLabelObjectCsvQRCarry", "差込携帯QRシート", 6, kMerge, MakeMerge<TLxLabelObjectCsvQRCarry>,
     DrawSymbolRow<TLxLabelObjectCsvQRCarry>},
    {KindRenbanString, "TLxLabelObjectRenbanString", "連番シート", 7, kSerial, MakeSerial<TLxLabelObjectRenbanString>,
     DrawRenbanString},
    {KindGrid, "TLxLabelObjectGrid", "格子模様シート", 8, kNone, MakePlain<TLxLabelObjectGrid>, DrawGridRow},
    {KindEffects, "TLxLabelObjectEffects", "特殊文字シート", 9, kNone, MakePlain<TLxLabelObjectEffects>,
     DrawEffectsRow},
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
    const std::optional<std::uint8_t> kind = object.ClassKind();
    return kind ? FindLabelObjectKind(*kind) : nullptr;
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
