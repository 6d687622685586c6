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

DibParts EncodeCompactDib(const SpanRaster& spans)
{
    // The bytes EncodeCompactDib gives the pixels: the palette holds the
    // colour of the first pixel, then the other one if the picture has it.
    const int w = spans.width;
    const int h = spans.height;
    if (w <= 0 || h <= 0)
        return EncodeDib(Bitmap());
    const bool oneColour = spans.dark == spans.light;
    const bool hasDark = !oneColour &&
        std::any_of(spans.bands.begin(), spans.bands.end(), [](const SpanRaster::Band& b) { return !b.spans.empty(); });
    // Spans are apart, so only one span from edge to edge fills a row.
    const std::pair<int, int> wholeRow{0, w};
    const bool hasLight = oneColour ||
        std::any_of(spans.bands.begin(), spans.bands.end(),
                    [&](const SpanRaster::Band& b) { return b.spans.size() != 1 || b.spans.front() != wholeRow; });
    const SpanRaster::Band& top = spans.BandAt(0);
    const bool firstIsDark = hasDark && !top.spans.empty() && top.spans.front().first == 0;
    const std::uint32_t front = (firstIsDark ? spans.dark : spans.light) & 0xFFFFFFu;
    const std::uint32_t back = (firstIsDark ? spans.light : spans.dark) & 0xFFFFFFu;
    const std::size_t stride = (static_cast<std::size_t>(w) + 31) / 32 * 4;
    ByteWriter info;
    WriteInfoHeader(info, w, h, 1, stride, 2);
    info.U32(front);
    info.U32(hasDark && hasLight ? back : front);
    std::string bits(stride * static_cast<std::size_t>(h), '\0');
    std::string row(stride, '\0');
    for (const SpanRaster::Band& band : spans.bands) {
        std::fill(row.begin(), row.end(), '\0');
        // Set bits mark the pixels that are not the first colour.
        const auto marked = firstIsDark ? ComplementSpans(band.spans, w) : band.spans;
        for (const auto& [left, right] : marked)
            for (int x = left; x < right; ++x)
                row[static_cast<std::size_t>(x / 8)] =
                    static_cast<char>(row[static_cast<std::size_t>(x / 8)] | (0x80 >> (x % 8)));
        for (int y = std::max(band.top, 0); y < std::min(band.bottom, h); ++y)
            std::copy(row.begin(), row.end(),
                      bits.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<std::size_t>(h - 1 - y)));
    }
    return {std::move(info.Data()), std::move(bits)};
}

namespace {

// What a DIB's information header says about its pixels.
struct DibLayout {
    int width = 0;
    std::int64_t rows = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    std::vector<std::uint32_t> palette; // 1 << bitCount entries up to 8 bits
    std::uint64_t stride = 0;

    const unsigned char* Row(std::string_view bits, std::int64_t y) const
    {
        return reinterpret_cast<const unsigned char*>(bits.data()) + stride * static_cast<std::uint64_t>(y);
    }
    // The bitmap row a stored row lands in.
    int Target(std::int64_t y) const { return static_cast<int>(topDown ? y : rows - 1 - y); }
};

DibLayout ReadDibLayout(std::string_view infoBytes, std::size_t bitsSize)
{
    ByteReader info(infoBytes);
    DibLayout d;
    const std::uint32_t headerSize = info.U32();
    int height = 0;
    std::uint32_t compression = 0;
    std::uint32_t used = 0;
    const bool core = headerSize == 12;
    if (core) {
        d.width = info.U16();
        height = info.I16();
        info.U16();
        d.bitCount = info.U16();
    } else {
        if (headerSize < 40 || headerSize > infoBytes.size())
            throw ReadError(kBadMetafileMessage);
        d.width = info.I32();
        height = info.I32();
        info.U16();
        d.bitCount = info.U16();
        compression = info.U32();
        info.U32();
        info.U32();
        info.U32();
        used = info.U32();
        info.Seek(headerSize);
    }
    d.topDown = height < 0;
    d.rows = d.topDown ? -static_cast<std::int64_t>(height) : height;
    if (d.width <= 0 || d.rows <= 0 ||
        static_cast<std::uint64_t>(d.width) * static_cast<std::uint64_t>(d.rows) >
            static_cast<std::uint64_t>(kMaxImagePixels))
        throw ReadError(kBadMetafileMessage);
    const int bitCount = d.bitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        throw ReadError(kBadMetafileMessage);
    if (compression != 0 && compression != 3)
        throw ReadError(kBadMetafileMessage);
    if (bitCount == 32)
        d.masks[0] = 0xFF0000, d.masks[1] = 0xFF00, d.masks[2] = 0xFF;
    if (compression == 3) {
        for (std::uint32_t& m : d.masks)
            m = info.U32();
    }
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
            d.palette.push_back(0xFF000000u | (r << 16) | (g << 8) | b);
        }
        d.palette.resize(1u << bitCount, 0xFF000000u);
    }
    d.stride = (static_cast<std::uint64_t>(d.width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
    if (d.stride * static_cast<std::uint64_t>(d.rows) > bitsSize)
        throw ReadError(kBadMetafileMessage);
    return d;
}

// Spans [left, right) of the set bits of a 1-bit row.
void SetBitSpans(const unsigned char* in, int width, std::vector<std::pair<int, int>>& spans)
{
    spans.clear();
    for (int x = 0; x < width; ++x) {
        if (x % 8 == 0 && in[x / 8] == 0) {
            x += 7; // a byte of clear bits
            continue;
        }
        if (!((in[x / 8] >> (7 - x % 8)) & 1))
            continue;
        if (!spans.empty() && spans.back().second == x)
            spans.back().second = x + 1;
        else
            spans.emplace_back(x, x + 1);
    }
}

} // namespace

Bitmap DecodeDib(std::string_view infoBytes, std::string_view bits)
{
    const DibLayout d = ReadDibLayout(infoBytes, bits.size());
    const int width = d.width;
    Bitmap bitmap(width, static_cast<int>(d.rows));
    for (std::int64_t y = 0; y < d.rows; ++y) {
        const unsigned char* in = d.Row(bits, y);
        std::uint32_t* out = bitmap.Row(d.Target(y));
        const auto& palette = d.palette;
        for (int x = 0; x < width; ++x) {
            switch (d.bitCount) {
            case 1: out[x] = palette[(in[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(in[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: out[x] = palette[in[x]]; break;
            case 24: out[x] = 0xFF000000u | (in[3 * x + 2] << 16) | (in[3 * x + 1] << 8) | in[3 * x]; break;
            default: {
                const std::uint32_t v = d.bitCount == 16 ? (in[2 * x] | (in[2 * x + 1] << 8))
                                                         : (in[4 * x] | (in[4 * x + 1] << 8) | (in[4 * x + 2] << 16) |
                                                            (static_cast<std::uint32_t>(in[4 * x + 3]) << 24));
                out[x] = 0xFF000000u | (MaskChannel(v, d.masks[0]) << 16) | (MaskChannel(v, d.masks[1]) << 8) |
                    MaskChannel(v, d.masks[2]);
            }
            }
        }
    }
    return bitmap;
}

std::optional<SpanRaster> DecodeDibSpans(std::string_view infoBytes, std::string_view bits)
{
    const DibLayout d = ReadDibLayout(infoBytes, bits.size());
    if (d.bitCount != 1)
        return std::nullopt;
    SpanRaster raster;
    raster.width = d.width;
    raster.height = static_cast<int>(d.rows);
    // Spans of the set bits (palette entry 1), turned round below when entry 1
    // is the lighter colour.
    const bool setIsDark = !DarkerColour(d.palette[0], d.palette[1]);
    raster.dark = setIsDark ? d.palette[1] : d.palette[0];
    raster.light = setIsDark ? d.palette[0] : d.palette[1];
    std::vector<std::pair<int, int>> spans;
    std::vector<SpanRaster::Band> stored; // in stored order
    for (std::int64_t y = 0; y < d.rows; ++y) {
        SetBitSpans(d.Row(bits, y), d.width, spans);
        if (!stored.empty() && stored.back().spans == spans)
            ++stored.back().bottom;
        else
            stored.push_back({static_cast<int>(y), static_cast<int>(y) + 1, spans});
    }
    for (SpanRaster::Band& band : stored) {
        if (!setIsDark)
            band.spans = ComplementSpans(band.spans, d.width);
        if (raster.dark == raster.light)
            band.spans.clear();
        if (!d.topDown) {
            const int top = raster.height - band.bottom;
            band.bottom = raster.height - band.top;
            band.top = top;
        }
    }
    if (!d.topDown)
        std::reverse(stored.begin(), stored.end());
    raster.bands = std::move(stored);
    return raster;
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
