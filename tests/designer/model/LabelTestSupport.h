#pragma once
// Helpers of the label-cell tests: byte dumps, merge tables made from lines,
// and pixel questions about rendered cells.
#include <cstdint>
#include <string>
#include <vector>

#include "designer/model/LxCSV.h"
#include "platform/image/Bitmap.h"
#include "platform/io/Stream.h"

namespace lxtest {

std::string Hex(const std::string& bytes);

// A merge table holding these CSV lines (CP932).
lx::TLxCSV MakeCsv(const std::vector<std::string>& lines);

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
// Within [x0, x1) x [y0, y1) of the bitmap (the whole bitmap by default).
InkBox FindInk(const lx::Bitmap& bitmap, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1);
// Pixels of exactly this 0x00BBGGRR colour.
int CountColor(const lx::Bitmap& bitmap, std::uint32_t colorRef);
bool IsColor(const lx::Bitmap& bitmap, int x, int y, std::uint32_t colorRef);
// The ink of a region cropped into a bitmap of its own (black on white).
lx::Bitmap CropInk(const lx::Bitmap& bitmap);

} // namespace lxtest
