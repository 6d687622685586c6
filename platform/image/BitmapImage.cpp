#include "platform/image/BitmapImage.h"

#include "platform/io/Errors.h"
#include "platform/io/LittleEndian.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <vector>

namespace lx {

namespace {

constexpr char kCorrupt[] = "ビットマップ画像が壊れています。";
constexpr char kUnsupported[] = "この形式のビットマップ画像は読み込めません。";

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionBitFields = 3;

// One colour channel of a packed pixel, scaled to 8 bits.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), bits_(mask ? std::bit_width(mask >> shift_) : 0)
    {
    }

    bool Present() const { return mask_ != 0; }

    std::uint32_t Extract(std::uint32_t pixel) const
    {
        if (!mask_)
            return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        if (bits_ >= 8)
            return static_cast<std::uint32_t>(value >> (bits_ - 8));
        const std::uint64_t top = (std::uint64_t{1} << bits_) - 1;
        return static_cast<std::uint32_t>((value * 255 + top / 2) / top);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

// Everything the header says about where and how the pixels are stored.
struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bits = 0;
    std::vector<std::uint32_t> palette; // ARGB
    std::array<Channel, 4> channels; // red, green, blue, alpha
    std::uint64_t pixelOffset = 0;
    std::uint64_t stride = 0;
};

void SetDefaultChannels(BmpLayout& layout)
{
    if (layout.bits == 16)
        layout.channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel()};
    else
        layout.channels = {Channel(0x00FF0000), Channel(0x0000FF00), Channel(0x000000FF), Channel()};
}

// Reads the palette that starts at `offset`: `count` entries (0 = as many as
// the depth can index) of `entrySize` bytes (blue, green, red[, reserved]),
// cut at the pixel data.
void ReadPalette(const LeReader& in, BmpLayout& layout, std::uint64_t offset, std::uint64_t count,
                 std::uint64_t entrySize)
{
    if (layout.bits > 8)
        return;
    const std::uint64_t indexable = std::uint64_t{1} << layout.bits;
    count = count == 0 ? indexable : std::min(count, indexable);
    if (layout.pixelOffset < offset)
        in.Fail();
    count = std::min(count, (layout.pixelOffset - offset) / entrySize);
    layout.palette.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = offset + i * entrySize;
        layout.palette.push_back(0xFF000000u | (std::uint32_t{in.U8(at + 2)} << 16) |
                                 (std::uint32_t{in.U8(at + 1)} << 8) | in.U8(at));
    }
}

void ReadCoreHeader(const LeReader& in, BmpLayout& layout)
{
    layout.width = in.U16(18);
    layout.height = in.U16(20);
    layout.bits = in.U16(24);
    if (layout.bits != 1 && layout.bits != 4 && layout.bits != 8 && layout.bits != 24)
        throw ReadError(kUnsupported);
    SetDefaultChannels(layout);
    ReadPalette(in, layout, kFileHeaderSize + kCoreHeaderSize, 0, 3);
}

void ReadInfoHeader(const LeReader& in, BmpLayout& layout, std::uint32_t headerSize)
{
    const std::int32_t width = in.I32(18);
    const std::int32_t height = in.I32(22);
    if (width < 0 || height == std::numeric_limits<std::int32_t>::min())
        in.Fail();
    layout.width = width;
    layout.height = height < 0 ? -std::int64_t{height} : height;
    layout.topDown = height < 0;
    layout.bits = in.U16(28);
    const std::uint32_t compression = in.U32(30);
    const std::uint32_t colorsUsed = in.U32(46);

    switch (layout.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: throw ReadError(kUnsupported);
    }
    const bool bitFields = compression == kCompressionBitFields;
    if (!(compression == kCompressionNone || (bitFields && (layout.bits == 16 || layout.bits == 32))))
        throw ReadError(kUnsupported);

    std::uint64_t paletteOffset = kFileHeaderSize + headerSize;
    SetDefaultChannels(layout);
    if (bitFields) {
        // Masks live in the larger headers, else right behind the 40 bytes.
        const std::uint64_t maskOffset = kFileHeaderSize + kInfoHeaderSize;
        layout.channels = {Channel(in.U32(maskOffset)), Channel(in.U32(maskOffset + 4)),
                           Channel(in.U32(maskOffset + 8)), Channel(headerSize >= 56 ? in.U32(maskOffset + 12) : 0)};
        if (headerSize < 52)
            paletteOffset += 12;
    }
    ReadPalette(in, layout, paletteOffset, colorsUsed, 4);
}

BmpLayout ReadLayout(const LeReader& in)
{
    if (in.Size() < kFileHeaderSize + kCoreHeaderSize || in.U8(0) != 'B' || in.U8(1) != 'M')
        in.Fail();
    BmpLayout layout;
    layout.pixelOffset = in.U32(10);
    const std::uint32_t headerSize = in.U32(14);
    in.Require(kFileHeaderSize, headerSize);
    if (headerSize == kCoreHeaderSize)
        ReadCoreHeader(in, layout);
    else if (headerSize >= kInfoHeaderSize)
        ReadInfoHeader(in, layout, headerSize);
    else
        throw ReadError(kUnsupported);

    CheckImageSize(layout.width, layout.height);
    layout.stride = (static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.bits) + 31) / 32 * 4;
    in.Require(layout.pixelOffset, layout.stride * static_cast<std::uint64_t>(layout.height));
    return layout;
}

std::uint32_t PaletteColor(const BmpLayout& layout, unsigned index)
{
    // Windows shows an index beyond the palette as black.
    return index < layout.palette.size() ? layout.palette[index] : 0xFF000000u;
}

std::uint32_t PackedColor(const BmpLayout& layout, std::uint32_t pixel)
{
    const auto& c = layout.channels;
    const std::uint32_t alpha = c[3].Present() ? c[3].Extract(pixel) : 0xFF;
    return (alpha << 24) | (c[0].Extract(pixel) << 16) | (c[1].Extract(pixel) << 8) | c[2].Extract(pixel);
}

void DecodeRow(const unsigned char* src, const BmpLayout& layout, std::uint32_t* dst)
{
    const int width = static_cast<int>(layout.width);
    switch (layout.bits) {
    case 1:
    case 4:
    case 8: {
        const int bits = layout.bits;
        const int perByte = 8 / bits;
        const unsigned mask = (1u << bits) - 1;
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            dst[x] = PaletteColor(layout, (src[x / perByte] >> shift) & mask);
        }
        break;
    }
    case 16:
        for (int x = 0; x < width; ++x)
            dst[x] = PackedColor(layout, src[2 * x] | (src[2 * x + 1] << 8));
        break;
    case 24:
        for (int x = 0; x < width; ++x)
            dst[x] =
                0xFF000000u | (std::uint32_t{src[3 * x + 2]} << 16) | (std::uint32_t{src[3 * x + 1]} << 8) | src[3 * x];
        break;
    default:
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = src + 4 * x;
            dst[x] = PackedColor(layout, p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24));
        }
        break;
    }
}

std::uint32_t ToU32(std::uint64_t value)
{
    if (value > std::numeric_limits<std::uint32_t>::max())
        throw Error("画像が大きすぎます。");
    return static_cast<std::uint32_t>(value);
}

void AppendHeaders(std::string& out, const Bitmap& bitmap, int bits, std::uint32_t paletteBytes,
                   std::uint64_t imageSize, BmpImageSize sizeField)
{
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    out += "BM";
    AppendLe32(out, ToU32(offset + imageSize));
    AppendLe32(out, 0);
    AppendLe32(out, offset);
    AppendLe32(out, kInfoHeaderSize);
    AppendLe32(out, static_cast<std::uint32_t>(bitmap.Width()));
    AppendLe32(out, static_cast<std::uint32_t>(bitmap.Height())); // positive: bottom-up
    AppendLe16(out, 1);
    AppendLe16(out, static_cast<std::uint16_t>(bits));
    AppendLe32(out, kCompressionNone);
    AppendLe32(out, sizeField == BmpImageSize::Stated ? static_cast<std::uint32_t>(imageSize) : 0);
    for (int i = 0; i < 4; ++i) // resolutions, colours used and important
        AppendLe32(out, 0);
}

void AppendRgbRow(std::string& out, const std::uint32_t* row, int width, std::size_t stride)
{
    const std::size_t start = out.size();
    for (int x = 0; x < width; ++x) {
        out.push_back(static_cast<char>(row[x] & 0xFF));
        out.push_back(static_cast<char>((row[x] >> 8) & 0xFF));
        out.push_back(static_cast<char>((row[x] >> 16) & 0xFF));
    }
    out.resize(start + stride, '\0');
}

void AppendMonoRow(std::string& out, const std::uint32_t* row, int width, std::size_t stride)
{
    const std::size_t start = out.size();
    out.resize(start + stride, '\0');
    for (int x = 0; x < width; ++x)
        if ((row[x] & 0xFFFFFFu) == 0xFFFFFFu)
            out[start + static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80u >> (x % 8));
}

} // namespace

Bitmap DecodeBmp(std::string_view file)
{
    const LeReader in(file, kCorrupt);
    const BmpLayout layout = ReadLayout(in);
    Bitmap bitmap(static_cast<int>(layout.width), static_cast<int>(layout.height));
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    for (std::int64_t y = 0; y < layout.height; ++y) {
        const std::int64_t stored = layout.topDown ? y : layout.height - 1 - y;
        const unsigned char* src = bytes + layout.pixelOffset + static_cast<std::uint64_t>(stored) * layout.stride;
        DecodeRow(src, layout, bitmap.Row(static_cast<int>(y)));
    }
    return bitmap;
}

std::string EncodeBmp(const Bitmap& bitmap, BmpDepth depth, BmpImageSize sizeField)
{
    const int bits = static_cast<int>(depth);
    const std::uint64_t stride = (static_cast<std::uint64_t>(bitmap.Width()) * bits + 31) / 32 * 4;
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(bitmap.Height());
    const std::uint32_t paletteBytes = depth == BmpDepth::Mono ? 8 : 0;
    std::string out;
    out.reserve(static_cast<std::size_t>(kFileHeaderSize + kInfoHeaderSize + paletteBytes + imageSize));
    AppendHeaders(out, bitmap, bits, paletteBytes, imageSize, sizeField);
    if (depth == BmpDepth::Mono) {
        AppendLe32(out, 0x00000000); // black
        AppendLe32(out, 0x00FFFFFF); // white
    }
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        if (depth == BmpDepth::Mono)
            AppendMonoRow(out, bitmap.Row(y), bitmap.Width(), static_cast<std::size_t>(stride));
        else
            AppendRgbRow(out, bitmap.Row(y), bitmap.Width(), static_cast<std::size_t>(stride));
    }
    return out;
}

BitmapImage::BitmapImage() : BitmapImage(Bitmap()) {}

BitmapImage::BitmapImage(Bitmap bitmap) : pixels_(std::make_shared<DecodedImage>(std::move(bitmap))) {}

BitmapImage::BitmapImage(SpanRaster spans) : spans_(std::make_shared<const SpanRaster>(std::move(spans))) {}

SharedPixels BitmapImage::PixelsFor(int, int) const
{
    if (!pixels_)
        pixels_ = std::make_shared<DecodedImage>(spans_->ToBitmap());
    return pixels_;
}

void BitmapImage::LoadFromBytes(std::string_view bytes)
{
    auto decoded = std::make_shared<DecodedImage>(DecodeBmp(bytes));
    file_.assign(bytes);
    pixels_ = std::move(decoded);
    spans_.reset();
}

std::string BitmapImage::SaveToBytes() const
{
    if (Empty())
        return {};
    return file_.empty() ? EncodeBmp(GetBitmap()) : file_;
}

std::unique_ptr<Graphic> BitmapImage::Clone() const { return std::make_unique<BitmapImage>(*this); }

Bitmap& BitmapImage::MutableBitmap()
{
    file_.clear();
    PixelsFor(0, 0);
    spans_.reset();
    if (pixels_.use_count() > 1)
        pixels_ = std::make_shared<DecodedImage>(Bitmap(pixels_->Pixels()));
    return pixels_->MutablePixels();
}

void BitmapImage::SetBitmap(Bitmap bitmap)
{
    file_.clear();
    pixels_ = std::make_shared<DecodedImage>(std::move(bitmap));
    spans_.reset();
}

} // namespace lx
