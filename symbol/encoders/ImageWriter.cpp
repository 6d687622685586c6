#include "symbol/encoders/ImageWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "platform/image/BitmapImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Files.h"

namespace lx {

namespace {

// A buffered C stream opened "wb"; closing reports write errors that the
// buffer held back.
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : file_(path.empty() ? nullptr : std::fopen(path.c_str(), "wb")) {}
    ~OutputFile()
    {
        if (file_)
            std::fclose(file_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    bool Write(std::string_view bytes)
    {
        return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    }
    bool WriteLe16(std::uint16_t v)
    {
        const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
        return Write({b, 2});
    }
    bool WriteLe32(std::uint32_t v)
    {
        return WriteLe16(static_cast<std::uint16_t>(v & 0xFFFF)) && WriteLe16(static_cast<std::uint16_t>(v >> 16));
    }
    bool Close()
    {
        const bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }

private:
    std::FILE* file_;
};

// Writes the bytes as the whole file: 1 when complete.
bool WriteWholeFile(const std::string& fileName, std::string_view bytes)
{
    OutputFile file(fileName);
    if (!file.IsOpen())
        return false;
    const bool written = file.Write(bytes);
    return file.Close() && written;
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

bool WriteTiffRows(OutputFile& file, const MonochromeBitmap& bitmap, const TiffLayout& layout)
{
    std::vector<char> row(layout.rowBytes);
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* bits = bitmap.bits.data() + static_cast<std::size_t>(y) * bitmap.RowBytes();
        // The bitmap holds 1 for white; this file says white is zero.
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<char>(~bits[i]);
        if (!file.Write({row.data(), row.size()}))
            return false;
    }
    return (layout.rowsEnd - 8) == static_cast<std::uint64_t>(layout.rowBytes) * bitmap.height ||
        file.Write(std::string_view("\0", 1));
}

bool WriteTiffTail(OutputFile& file, const MonochromeBitmap& bitmap, int resolution, const TiffLayout& layout)
{
    const std::uint32_t e = layout.rowsEnd;
    const std::string_view software = kTiffSoftware;
    const std::string zeros(8, '\0');
    bool ok = file.Write(zeros);
    for (int axis = 0; axis < 2; ++axis)
        ok = ok && file.WriteLe32(static_cast<std::uint32_t>(resolution)) && file.WriteLe32(1);
    ok = ok && file.Write(software) && file.Write({zeros.data(), 2 + software.size() % 2});
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
    ok = ok && file.WriteLe16(16);
    for (const TiffEntry& entry : entries)
        ok = ok && file.WriteLe16(entry.tag) && file.WriteLe16(entry.type) && file.WriteLe32(entry.count) &&
            file.WriteLe32(entry.value);
    return ok && file.WriteLe32(0);
}

bool WriteTiffHeader(OutputFile& file, const TiffLayout& layout)
{
    return file.Write("II") && file.WriteLe16(42) && file.WriteLe32(layout.directory);
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
    return WriteWholeFile(fileName, metafile.PlaceableBytes(header)) ? 1 : 0;
}

int WriteBmpFile(const std::string& fileName, const MonochromeBitmap& bitmap)
{
    if (!UsableBitmap(bitmap))
        return kImageWriteFailed;
    OutputFile file(fileName);
    if (!file.IsOpen())
        return kImageWriteFailed;
    std::string bytes;
    try {
        bytes = EncodeBmp(FromMonochrome(bitmap), BmpDepth::Mono, BmpImageSize::Zero);
    } catch (const std::bad_alloc&) {
        return kImageOutOfMemory;
    }
    const bool written = file.Write(bytes);
    return file.Close() && written ? kImageWriteOk : kImageWriteFailed;
}

int WritePngImage(const std::string& fileName, const MonochromeBitmap& bitmap)
{
    if (!UsableBitmap(bitmap))
        return kImageWriteFailed;
    std::string bytes;
    try {
        bytes = EncodePng(FromMonochrome(bitmap), PngColors::BlackWhite, kDefaultPngCompression);
    } catch (...) { // libpng's errors and a lack of memory alike
        return kImageWriteFailed;
    }
    return WriteWholeFile(fileName, bytes) ? kImageWriteOk : kImageWriteFailed;
}

int WriteTiffFile(int resolution, const MonochromeBitmap& bitmap, const std::string& fileName)
{
    TiffLayout layout;
    if (resolution <= 0 || !UsableBitmap(bitmap) || !LayOutTiff(bitmap, layout))
        return kImageWriteFailed;
    OutputFile file(fileName);
    if (!file.IsOpen())
        return kImageWriteFailed;
    bool ok = false;
    try {
        ok = WriteTiffHeader(file, layout) && WriteTiffRows(file, bitmap, layout) &&
            WriteTiffTail(file, bitmap, resolution, layout);
    } catch (const std::bad_alloc&) {
        return kImageOutOfMemory;
    }
    return file.Close() && ok ? kImageWriteOk : kImageWriteFailed;
}

} // namespace lx
