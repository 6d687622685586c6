#pragma once
// Helpers of the label-cell tests: byte dumps, merge tables made from lines,
// and pixel questions about rendered cells.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelObjectManager.h"
#include "platform/image/Bitmap.h"
#include "platform/io/Stream.h"

namespace lxtest {

std::string Hex(const std::string& bytes);

// A merge table holding these CSV lines (CP932), shared as the merge objects
// hold it.
std::shared_ptr<lx::TLxCSV> MakeCsv(const std::vector<std::string>& lines);

// The bytes an object (or anything with SaveToStream) writes.
template <class T>
std::string SavedBytes(const T& object)
{
    lx::MemoryStream stream;
    object.SaveToStream(stream);
    return stream.Bytes();
}

// Pixels whose colour is not white.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = -1; // inclusive
    int bottom = -1;
    int count = 0;
    bool Empty() const { return count == 0; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};
using InkBoxes = std::vector<InkBox>;
// Within [x0, x1) x [y0, y1) of the bitmap (the whole bitmap by default).
InkBox FindInk(const lx::Bitmap& bitmap, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1);
// Pixels of exactly this 0x00BBGGRR colour.
int CountColor(const lx::Bitmap& bitmap, std::uint32_t colorRef);
bool IsColor(const lx::Bitmap& bitmap, int x, int y, std::uint32_t colorRef);
// Bands of ink between white rows (of [x0, x1)), top to bottom, and between
// white columns (of [y0, y1)), left to right.
InkBoxes InkRows(const lx::Bitmap& bitmap, int x0, int x1);
InkBoxes InkColumns(const lx::Bitmap& bitmap, int y0, int y1);
// The ink of a region cropped into a bitmap of its own (black on white).
lx::Bitmap CropInk(const lx::Bitmap& bitmap);

// A label cell as the printer gets it at 600 dpi: rendered and played back
// onto a white bitmap of the cell's pixel size.
lx::Bitmap RenderCell(lx::TlxLabelObjectManager& list, bool printMode = false);
// Draw operations of the list at 600 dpi, recorded into a metafile of width x
// height pixels and played back the same way.
lx::Bitmap RenderDrawing(lx::TlxLabelObjectManager& list, int width, int height,
                         const std::function<void(lx::DeviceContext&)>& draw);

} // namespace lxtest
