#include "platform/metafile/Dib.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/image/ImageSize.h"
#include "platform/metafile/ByteCursor.h"

namespace lx {

namespace {

int MaskShift(std::uint32_t mask)
{
    int shift = 0;
    while (mask && !(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::uint32_t MaskChannel(std::uint32_t value, std::uint32_t mask)
{
    if (!mask)
        return 0;
    const std::uint32_t v = (value & mask) >> MaskShift(mask);
    const std::uint32_t max = mask >> MaskShift(mask);
    return max ? v * 255u / max : 0;
}

// The 40-byte header of an uncompressed bottom-up DIB at 96 dpi.
void WriteInfoHeader(ByteWriter& info, int w, int h, std::uint16_t bitCount, std::size_t stride,
                     std::uint32_t coloursUsed)
{
    info.U32(40);
    info.I32(w);
    info.I32(h);
    info.U16(1);
    info.U16(bitCount);
    info.U32(0); // uncompressed
    info.U32(static_cast<std::uint32_t>(stride * static_cast<std::size_t>(h)));
    info.I32(3780); // 96 dpi in pixels per metre
    info.I32(3780);
    info.U32(coloursUsed);
    info.U32(0);
}

} // namespace

DibParts EncodeDib(const Bitmap& bitmap)
{
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    ByteWriter info;
    WriteInfoHeader(info, w, h, 24, stride, 0);
    std::string bits(stride * static_cast<std::size_t>(h), '\0');
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = bitmap.Row(h - 1 - y);
        char* out = bits.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < w; ++x) {
            out[3 * x] = static_cast<char>(row[x] & 0xFF);
            out[3 * x + 1] = static_cast<char>((row[x] >> 8) & 0xFF);
            out[3 * x + 2] = static_cast<char>((row[x] >> 16) & 0xFF);
        }
    }
    return {std::move(info.Data()), std::move(bits)};
}

namespace {

bool SameRow(const Bitmap& bitmap, int a, int b)
{
    return std::equal(bitmap.Row(a), bitmap.Row(a) + bitmap.Width(), bitmap.Row(b));
}

// The one or two colours (0xRRGGBB) of a bitmap; nothing for more.
std::optional<std::vector<std::uint32_t>> FewColours(const Bitmap& bitmap)
{
    std::vector<std::uint32_t> colours;
    for (int y = 0; y < bitmap.Height(); ++y) {
        if (y > 0 && SameRow(bitmap, y, y - 1))
            continue;
        for (const std::uint32_t* p = bitmap.Row(y); p != bitmap.Row(y) + bitmap.Width(); ++p) {
            const std::uint32_t c = *p & 0xFFFFFFu;
            if (std::find(colours.begin(), colours.end(), c) != colours.end())
                continue;
            if (colours.size() == 2)
                return std::nullopt;
            colours.push_back(c);
        }
    }
    return colours;
}

} // namespace

DibParts EncodeCompactDib(const Bitmap& bitmap)
{
    const auto colours = FewColours(bitmap);
    if (!colours || colours->empty())
        return EncodeDib(bitmap);
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const std::size_t stride = (static_cast<std::size_t>(w) + 31) / 32 * 4;
    ByteWriter info;
    WriteInfoHeader(info, w, h, 1, stride, 2);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::uint32_t c = (*colours)[std::min(i, colours->size() - 1)];
        info.U32(c); // blue, green, red, reserved: the same bytes as 0xRRGGBB
    }
    std::string bits(stride * static_cast<std::size_t>(h), '\0');
    for (int y = 0; y < h; ++y) {
        const int source = h - 1 - y;
        char* out = bits.data() + stride * static_cast<std::size_t>(y);
        if (y > 0 && SameRow(bitmap, source, source + 1)) {
            std::copy_n(out - stride, stride, out);
            continue;
        }
        const std::uint32_t* row = bitmap.Row(source);
        for (int x = 0; x < w; ++x)
            if ((row[x] & 0xFFFFFFu) != colours->front())
                out[x / 8] = static_cast<char>(out[x / 8] | (0x80 >> (x % 8)));
    }
    return {std::move(info.Data()), std::move(bits)};
}

Bitmap DecodeDib(std::string_view infoBytes, std::string_view bits)
{
    ByteReader info(infoBytes);
    const std::uint32_t headerSize = info.U32();
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t used = 0;
    bool core = headerSize == 12;
    if (core) {
        width = info.U16();
        height = info.I16();
        info.U16();
        bitCount = info.U16();
    } else {
        if (headerSize < 40 || headerSize > infoBytes.size())
            throw ReadError(kBadMetafileMessage);
        width = info.I32();
        height = info.I32();
        info.U16();
        bitCount = info.U16();
        compression = info.U32();
        info.U32();
        info.U32();
        info.U32();
        used = info.U32();
        info.Seek(headerSize);
    }
    const bool topDown = height < 0;
    const std::int64_t rows = topDown ? -static_cast<std::int64_t>(height) : height;
    if (width <= 0 || rows <= 0 || static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows) > static_cast<std::uint64_t>(kMaxImagePixels))
        throw ReadError(kBadMetafileMessage);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        throw ReadError(kBadMetafileMessage);
    if (compression != 0 && compression != 3)
        throw ReadError(kBadMetafileMessage);
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == 3) {
        for (std::uint32_t& m : masks)
            m = info.U32();
    }
    std::vector<std::uint32_t> palette;
    if (bitCount <= 8) {
        std::uint32_t count = used ? used : 1u << bitCount;
        if (count > 256)
            throw ReadError(kBadMetafileMessage);
        // A palette cut short keeps the entries that are there.
        count = std::min<std::uint32_t>(count, static_cast<std::uint32_t>(info.Remaining() / (core ? 3 : 4)));
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t b = info.U8(), g = info.U8(), r = info.U8();
            if (!core)
                info.U8();
            palette.push_back(0xFF000000u | (r << 16) | (g << 8) | b);
        }
        palette.resize(1u << bitCount, 0xFF000000u);
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
    if (stride * static_cast<std::uint64_t>(rows) > bits.size())
        throw ReadError(kBadMetafileMessage);
    Bitmap bitmap(width, static_cast<int>(rows));
    for (std::int64_t y = 0; y < rows; ++y) {
        const auto* in = reinterpret_cast<const unsigned char*>(bits.data()) + stride * static_cast<std::uint64_t>(y);
        std::uint32_t* out = bitmap.Row(static_cast<int>(topDown ? y : rows - 1 - y));
        for (int x = 0; x < width; ++x) {
            switch (bitCount) {
            case 1: out[x] = palette[(in[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(in[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: out[x] = palette[in[x]]; break;
            case 24: out[x] = 0xFF000000u | (in[3 * x + 2] << 16) | (in[3 * x + 1] << 8) | in[3 * x]; break;
            default: {
                const std::uint32_t v = bitCount == 16 ? (in[2 * x] | (in[2 * x + 1] << 8))
                                                       : (in[4 * x] | (in[4 * x + 1] << 8) | (in[4 * x + 2] << 16) |
                                                          (static_cast<std::uint32_t>(in[4 * x + 3]) << 24));
                out[x] = 0xFF000000u | (MaskChannel(v, masks[0]) << 16) | (MaskChannel(v, masks[1]) << 8) |
                         MaskChannel(v, masks[2]);
            }
            }
        }
    }
    return bitmap;
}

std::string PackedDib(const Bitmap& bitmap)
{
    DibParts parts = EncodeDib(bitmap);
    return parts.info + parts.bits;
}

Bitmap DecodePackedDib(std::string_view packed)
{
    ByteReader reader(packed);
    const std::uint32_t headerSize = reader.U32();
    if (headerSize > packed.size())
        throw ReadError(kBadMetafileMessage);
    std::size_t infoSize = headerSize;
    if (headerSize >= 40) {
        reader.Seek(14);
        const int bitCount = reader.U16();
        const std::uint32_t compression = reader.U32();
        reader.Seek(32);
        const std::uint32_t used = reader.U32();
        if (compression == 3 && headerSize == 40)
            infoSize += 12;
        if (bitCount <= 8)
            infoSize += 4u * (used ? std::min<std::uint32_t>(used, 256) : 1u << std::min(bitCount, 8));
    }
    if (infoSize > packed.size())
        throw ReadError(kBadMetafileMessage);
    return DecodeDib(packed.substr(0, infoSize), packed.substr(infoSize));
}

std::string BmpFile(const Bitmap& bitmap)
{
    const std::string dib = PackedDib(bitmap);
    ByteWriter file;
    file.Bytes("BM");
    file.U32(static_cast<std::uint32_t>(14 + dib.size()));
    file.U32(0);
    file.U32(14 + 40);
    file.Bytes(dib);
    return std::move(file.Data());
}

} // namespace lx
