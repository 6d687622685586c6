#include "symbol/encoders/ImageWriter.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <string_view>

#include "platform/image/BitmapImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Files.h"
#include "platform/io/LittleEndian.h"

namespace lx {

namespace {

// Writes what `make` builds as the whole file, through the one safe
// replacement: kImageWriteFailed when the file cannot be made or written (the
// old one then stays) or `make` gives nothing, kImageOutOfMemory when there
// is no memory for the bytes.
int WriteImageFile(const std::string& fileName, const std::function<std::optional<std::string>()>& make)
{
    try {
        FileReplacement file(fileName);
        std::optional<std::string> bytes;
        try {
            bytes = make();
        } catch (const std::bad_alloc&) {
            return kImageOutOfMemory;
        }
        if (!bytes)
            return kImageWriteFailed;
        file.Write(*bytes);
        file.Commit();
        return kImageWriteOk;
    } catch (const FileError&) {
        return kImageWriteFailed;
    }
}

bool UsableBitmap(const MonochromeBitmap& bitmap)
{
    return bitmap.width > 0 && bitmap.height > 0 &&
        static_cast<std::uint64_t>(bitmap.RowBytes()) * static_cast<std::uint64_t>(bitmap.height) <= bitmap.bits.size();
}

// ---- TIFF

enum TiffType : std::uint16_t { kTiffAscii = 2, kTiffShort = 3, kTiffLong = 4, kTiffRational = 5 };

struct TiffEntry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint32_t value;
};

// a when it is a multiple of b, else a moved away from zero to the next
// multiple of |b|.
std::int64_t RoundUpToMultiple(std::int64_t a, std::int64_t b)
{
    if (b == 0)
        return a;
    const std::int64_t step = b < 0 ? -b : b;
    const std::int64_t rest = a % step;
    if (rest == 0)
        return a;
    return a > 0 ? a + (step - rest) : a - (step + rest);
}

// Sizes beyond 65535 do not fit a SHORT entry; they take a LONG one.
TiffEntry SizeEntry(std::uint16_t tag, int value)
{
    return {tag, value > 0xFFFF ? kTiffLong : kTiffShort, 1, static_cast<std::uint32_t>(value)};
}

struct TiffLayout {
    std::uint32_t rowBytes = 0;
    std::uint32_t rowsEnd = 0; // E: the strip's end less its 8 trailing zero bytes
    std::uint32_t directory = 0; // D
    std::uint32_t softwareCount = 0;
};

// Rows begin at 8; E is kept even so that every value after the rows and
// the directory begin on a word boundary, as TIFF readers expect.
bool LayOutTiff(const MonochromeBitmap& bitmap, TiffLayout& layout)
{
    const std::int64_t rowBytes = RoundUpToMultiple(bitmap.width, 8) / 8;
    const std::int64_t rows = rowBytes * bitmap.height;
    const std::int64_t rowsEnd = 8 + rows + rows % 2;
    const std::int64_t software = static_cast<std::int64_t>(std::strlen(kTiffSoftware));
    const std::int64_t directory = rowsEnd + 26 + software + software % 2;
    if (directory + 2 + 16 * 12 + 4 > 0xFFFFFFFFll)
        return false;
    layout.rowBytes = static_cast<std::uint32_t>(rowBytes);
    layout.rowsEnd = static_cast<std::uint32_t>(rowsEnd);
    layout.directory = static_cast<std::uint32_t>(directory);
    // The count holds the terminating zero that follows the text.
    layout.softwareCount = static_cast<std::uint32_t>(software + 1);
    return true;
}

void AppendTiffRows(std::string& file, const MonochromeBitmap& bitmap, const TiffLayout& layout)
{
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* bits = bitmap.bits.data() + static_cast<std::size_t>(y) * bitmap.RowBytes();
        // The bitmap holds 1 for white; this file says white is zero.
        for (std::size_t i = 0; i < layout.rowBytes; ++i)
            file.push_back(static_cast<char>(~bits[i]));
    }
    file.resize(layout.rowsEnd, '\0');
}

void AppendTiffTail(std::string& file, const MonochromeBitmap& bitmap, int resolution, const TiffLayout& layout)
{
    const std::uint32_t e = layout.rowsEnd;
    const std::string_view software = kTiffSoftware;
    file.append(8, '\0');
    for (int axis = 0; axis < 2; ++axis) {
        AppendLe32(file, static_cast<std::uint32_t>(resolution));
        AppendLe32(file, 1);
    }
    file += software;
    file.append(2 + software.size() % 2, '\0');
    const TiffEntry entries[16] = {
        {254, kTiffLong, 1, 0},         SizeEntry(256, bitmap.width),
        SizeEntry(257, bitmap.height),  {258, kTiffShort, 1, 1},
        {259, kTiffShort, 1, 1},        {262, kTiffShort, 1, 0},
        {266, kTiffShort, 1, 1},        {273, kTiffLong, 1, 8},
        {274, kTiffShort, 1, 1},        {277, kTiffShort, 1, 1},
        SizeEntry(278, bitmap.height),  {279, kTiffLong, 1, e},
        {282, kTiffRational, 1, e + 8}, {283, kTiffRational, 1, e + 16},
        {296, kTiffShort, 1, 2},        {305, kTiffAscii, layout.softwareCount, e + 24},
    };
    AppendLe16(file, 16);
    for (const TiffEntry& entry : entries) {
        AppendLe16(file, entry.tag);
        AppendLe16(file, entry.type);
        AppendLe32(file, entry.count);
        AppendLe32(file, entry.value);
    }
    AppendLe32(file, 0);
}

std::string TiffBytes(int resolution, const MonochromeBitmap& bitmap, const TiffLayout& layout)
{
    std::string file = "II";
    AppendLe16(file, 42);
    AppendLe32(file, layout.directory);
    file.reserve(static_cast<std::size_t>(layout.directory) + 2 + 16 * 12 + 4);
    AppendTiffRows(file, bitmap, layout);
    AppendTiffTail(file, bitmap, resolution, layout);
    return file;
}

} // namespace

int WritePlaceableWmf(const WindowsMetafile& metafile, const std::string& fileName, int width, int height)
{
    if (metafile.Empty())
        return 0;
    // 0.01 mm fit the signed 16-bit box up to 327 mm; beyond that the box
    // counts in units k times coarser and the inch holds k times fewer.
    constexpr int kBoxLimit = 32767;
    const std::int64_t w = std::max(0, width);
    const std::int64_t h = std::max(0, height);
    const std::int64_t k = std::max<std::int64_t>(1, (std::max(w, h) + kBoxLimit - 1) / kBoxLimit);
    PlaceableHeader header;
    header.box = {0, 0, static_cast<int>((w + k / 2) / k), static_cast<int>((h + k / 2) / k)};
    header.box.right = std::min(header.box.right, kBoxLimit);
    header.box.bottom = std::min(header.box.bottom, kBoxLimit);
    header.inch = static_cast<std::uint16_t>(std::max<std::int64_t>(1, (2540 + k / 2) / k));
    return WriteImageFile(fileName, [&] { return metafile.PlaceableBytes(header); }) == kImageWriteOk ? 1 : 0;
}

int WriteBmpFile(const std::string& fileName, const MonochromeBitmap& bitmap)
{
    if (!UsableBitmap(bitmap))
        return kImageWriteFailed;
    return WriteImageFile(fileName,
                          [&] { return EncodeBmp(FromMonochrome(bitmap), BmpDepth::Mono, BmpImageSize::Zero); });
}

int WritePngImage(const std::string& fileName, const MonochromeBitmap& bitmap)
{
    if (!UsableBitmap(bitmap))
        return kImageWriteFailed;
    return WriteImageFile(fileName, [&]() -> std::optional<std::string> {
        try {
            return EncodePng(FromMonochrome(bitmap), PngColors::BlackWhite, kDefaultPngCompression);
        } catch (...) { // libpng's errors and a lack of memory alike
            return std::nullopt;
        }
    });
}

int WriteTiffFile(int resolution, const MonochromeBitmap& bitmap, const std::string& fileName)
{
    TiffLayout layout;
    if (resolution <= 0 || !UsableBitmap(bitmap) || !LayOutTiff(bitmap, layout))
        return kImageWriteFailed;
    return WriteImageFile(fileName, [&] { return TiffBytes(resolution, bitmap, layout); });
}

} // namespace lx
