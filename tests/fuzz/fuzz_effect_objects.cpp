// Records of the figure, picture, grid and effect-text objects from hostile
// bytes: byte 0 picks the class, the rest is the record. A record that loads
// is drawn on a small cell; byte 0 = 4 instead replays the bytes as moved
// path points. Any lx::Error is a clean refusal.
#include "designer/model/LxLabelEffects.h"
#include "designer/model/LxLabelFigure.h"
#include "designer/model/LxLabelGrid.h"
#include "designer/model/LxLabelImage.h"
#include "designer/model/LxLabelObjectManager.h"
#include "designer/model/PathUtils.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/io/Errors.h"
#include "platform/io/Stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace {

std::unique_ptr<lx::TLxLableObjectBase> MakeObject(std::uint8_t which)
{
    switch (which % 4) {
    case 0: return std::make_unique<lx::TLxLabelObjectFigure>();
    case 1: return std::make_unique<lx::TLxLabelObjectImage>();
    case 2: return std::make_unique<lx::TLxLabelObjectGrid>();
    default: return std::make_unique<lx::TLxLabelObjectEffects>();
    }
}

// Long effect texts only repeat what short ones reach, at great cost.
bool CheapToDraw(const lx::TLxLableObjectBase& object)
{
    const auto* effects = dynamic_cast<const lx::TLxLabelObjectEffects*>(&object);
    return !effects ||
        (effects->GetText().size() <= 64 && effects->GetFontSize() >= -200 && effects->GetFontSize() <= 200 &&
         effects->GetWidth() < 200 && effects->GetHeight() < 200);
}

void LoadAndDraw(std::uint8_t which, const std::string& record)
{
    static const std::vector<std::string> faces{"face:128"};
    lx::TlxLabelObjectManager list(faces, 20, 10, 0);
    lx::MemoryStream stream(record);
    auto object = MakeObject(which);
    object->LoadFromStream(stream);
    if (!CheapToDraw(*object))
        return;
    object->SetCanDisplay(1);
    list.AddObject(std::move(object), true);
    list.SetDpiX(150);
    list.SetDpiY(150);
    lx::Bitmap cell(118, 59);
    lx::RasterDeviceContext canvas(cell);
    list.DrawObjects(canvas, false);
}

// Points of a captured square moved and retyped by the bytes, then replayed.
void ReplayMovedPoints(const std::uint8_t* data, std::size_t size)
{
    lx::Bitmap bitmap(64, 64);
    lx::RasterDeviceContext dc(bitmap);
    dc.BeginPath();
    for (int i = 0; i < 4; ++i)
        dc.Rectangle(i, i, 40 + i, 30 + i);
    dc.EndPath();
    lx::TPath path;
    path.CapturePath(dc);
    for (std::size_t at = 0; at + 3 <= size; at += 3) {
        const std::int32_t index = static_cast<std::int8_t>(data[at]);
        const lx::TPathPoint point{data[at + 1] - 64, data[at + 2] & 0x7F, static_cast<std::uint8_t>(data[at + 2] >> 5),
                                   (data[at + 1] & 1) != 0};
        try {
            path.SetPoint(index, point);
        } catch (const lx::EPathError&) {
        }
    }
    path.StrokeAndFill(dc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    try {
        if (data[0] == 4)
            ReplayMovedPoints(data + 1, size - 1);
        else
            LoadAndDraw(data[0], std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    } catch (const lx::Error&) {
    }
    return 0;
}
