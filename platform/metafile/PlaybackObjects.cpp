#include "platform/metafile/PlaybackObjects.h"

#include "platform/metafile/EmfRecords.h"
#include "platform/text/Cp932.h"

namespace lx {

void PlaybackObjects::Put(std::uint32_t index, PlaybackObject object)
{
    if (index == 0 || index >= slots_.size())
        return; // outside the table the header announced
    slots_[index] = std::move(object);
}

void PlaybackObjects::Add(PlaybackObject object)
{
    for (auto& slot : slots_)
        if (!slot) {
            slot = std::move(object);
            return;
        }
    if (slots_.size() < 0xFFFF)
        slots_.emplace_back(std::move(object));
}

void PlaybackObjects::Delete(std::uint32_t index)
{
    if (index < slots_.size())
        slots_[index].reset();
}

void PlaybackObjects::Select(DeviceContext& dc, std::uint32_t index) const
{
    if (index & emf::kStockObject) {
        switch (index & 0xFF) {
        case 0: dc.SelectBrush({BrushStyle::Solid, 0xFFFFFF}); break;
        case 1: dc.SelectBrush({BrushStyle::Solid, 0xC0C0C0}); break;
        case 2: dc.SelectBrush({BrushStyle::Solid, 0x808080}); break;
        case 3: dc.SelectBrush({BrushStyle::Solid, 0x404040}); break;
        case 4: dc.SelectBrush({BrushStyle::Solid, 0x000000}); break;
        case 5: dc.SelectBrush({BrushStyle::Clear, 0}); break;
        case 6: dc.SelectPen({PenStyle::Solid, 0, 0xFFFFFF}); break;
        case 7: dc.SelectPen({PenStyle::Solid, 0, 0x000000}); break;
        case 8: dc.SelectPen({PenStyle::Null, 0, 0}); break;
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 16:
        case 17: dc.SelectFont(StockFont()); break;
        default: break;
        }
        return;
    }
    if (index >= slots_.size() || !slots_[index])
        return;
    std::visit(
        [&](const auto& object) {
            using T = std::decay_t<decltype(object)>;
            if constexpr (std::is_same_v<T, Pen>)
                dc.SelectPen(object);
            else if constexpr (std::is_same_v<T, Brush>)
                dc.SelectBrush(object);
            else if constexpr (std::is_same_v<T, LogFont>)
                dc.SelectFont(object);
        },
        *slots_[index]);
}

Pen PenFromRecord(std::uint32_t style, int width, std::uint32_t color)
{
    const std::uint32_t kind = style & 0xF;
    // Inside-frame and user styles draw solid here.
    const PenStyle penStyle = kind <= 5 ? static_cast<PenStyle>(kind) : PenStyle::Solid;
    return {penStyle, std::max(0, width), color & 0xFFFFFF};
}

void ReadLogFontStyle(ByteReader& r, LogFont& f)
{
    f.italic = r.U8() != 0;
    f.underline = r.U8() != 0;
    f.strikeOut = r.U8() != 0;
    f.charSet = r.U8();
    f.outPrecision = r.U8();
    f.clipPrecision = r.U8();
    f.quality = r.U8();
    f.pitchAndFamily = r.U8();
}

LogFont ReadLogFontW(ByteReader& r)
{
    LogFont f;
    f.height = r.I32();
    f.width = r.I32();
    f.escapement = r.I32();
    f.orientation = r.I32();
    f.weight = r.I32();
    ReadLogFontStyle(r, f);
    std::u16string face;
    for (int i = 0; i < 32; ++i) {
        const char16_t c = r.U16();
        if (c == 0)
            break;
        face += c;
    }
    f.faceName = Utf16ToCp932(face);
    return f;
}

} // namespace lx
