#include "LabelTestSupport.h"

#include <algorithm>

#include "designer/model/UnitCommon.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/metafile/EnhMetafile.h"
#include "platform/printing/Printer.h"
#include "support/MergeTables.h"

namespace lxtest {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::shared_ptr<lx::TLxCSV> MakeCsv(const std::vector<std::string>& lines)
{
    return std::make_shared<lx::TLxCSV>(MergeTableOfCp932(lines));
}

InkBox FindInk(const lx::Bitmap& bitmap, int x0, int y0, int x1, int y1)
{
    if (x1 < 0)
        x1 = bitmap.Width();
    if (y1 < 0)
        y1 = bitmap.Height();
    InkBox ink{x1, y1, -1, -1, 0};
    for (int y = std::max(0, y0); y < std::min(y1, bitmap.Height()); ++y)
        for (int x = std::max(0, x0); x < std::min(x1, bitmap.Width()); ++x)
            if ((bitmap.Pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

int CountColor(const lx::Bitmap& bitmap, std::uint32_t colorRef)
{
    const std::uint32_t argb = lx::ArgbFromColorRef(colorRef);
    const std::size_t n = std::size_t(bitmap.Width()) * std::size_t(bitmap.Height());
    return static_cast<int>(std::count(bitmap.Data(), bitmap.Data() + n, argb));
}

bool IsColor(const lx::Bitmap& bitmap, int x, int y, std::uint32_t colorRef)
{
    return bitmap.Contains(x, y) && bitmap.Pixel(x, y) == lx::ArgbFromColorRef(colorRef);
}

lx::Bitmap CropInk(const lx::Bitmap& bitmap)
{
    const InkBox ink = FindInk(bitmap);
    if (ink.Empty())
        return {};
    lx::Bitmap crop(ink.Width(), ink.Height());
    for (int y = 0; y < ink.Height(); ++y)
        for (int x = 0; x < ink.Width(); ++x)
            if ((bitmap.Pixel(ink.left + x, ink.top + y) & 0xFFFFFFu) != 0xFFFFFFu)
                crop.SetPixel(x, y, 0xFF000000u);
    return crop;
}

namespace {

// Bands of consecutive indexes in [from, to) for which inked(i) holds.
template <class Inked>
std::vector<std::pair<int, int>> Bands(int from, int to, Inked inked)
{
    std::vector<std::pair<int, int>> bands;
    for (int i = from; i < to; ++i) {
        if (!inked(i))
            continue;
        if (!bands.empty() && bands.back().second == i)
            bands.back().second = i + 1;
        else
            bands.push_back({i, i + 1});
    }
    return bands;
}

} // namespace

InkBoxes InkRows(const lx::Bitmap& bitmap, int x0, int x1)
{
    InkBoxes boxes;
    for (auto [y0, y1] : Bands(0, bitmap.Height(), [&](int y) { return !FindInk(bitmap, x0, y, x1, y + 1).Empty(); }))
        boxes.push_back(FindInk(bitmap, x0, y0, x1, y1));
    return boxes;
}

InkBoxes InkColumns(const lx::Bitmap& bitmap, int y0, int y1)
{
    InkBoxes boxes;
    for (auto [x0, x1] : Bands(0, bitmap.Width(), [&](int x) { return !FindInk(bitmap, x, y0, x + 1, y1).Empty(); }))
        boxes.push_back(FindInk(bitmap, x0, y0, x1, y1));
    return boxes;
}

lx::Bitmap RenderCell(lx::TlxLabelObjectManager& list, bool printMode)
{
    const lx::EnhMetafile label = list.RenderLabel(printMode ? 1 : 0);
    const lx::Size size = label.PixelSize();
    lx::Bitmap cell(size.cx, size.cy);
    lx::RasterDeviceContext dc(cell, lx::VirtualPrinterDevice());
    lx::PlayEnhMetafile(dc, label, lx::Rect{0, 0, size.cx, size.cy});
    return cell;
}

lx::Bitmap RenderDrawing(lx::TlxLabelObjectManager& list, int width, int height,
                         const std::function<void(lx::DeviceContext&)>& draw)
{
    const lx::DeviceInfo printer = lx::VirtualPrinterDevice();
    list.SetDpiX(printer.dpiX);
    list.SetDpiY(printer.dpiY);
    lx::EmfRecorder recorder(printer, lx::FrameForPixels(lx::Size{width, height}, printer));
    draw(recorder);
    const lx::EnhMetafile drawing = recorder.Close();
    lx::Bitmap picture(width, height);
    lx::RasterDeviceContext dc(picture, printer);
    lx::PlayEnhMetafile(dc, drawing, lx::Rect{0, 0, width, height});
    return picture;
}

} // namespace lxtest
