#include "platform/image/MetafileImage.h"

#include "platform/io/Errors.h"
#include "platform/io/LittleEndian.h"

#include <cmath>
#include <cstdlib>

namespace lx {

namespace {

constexpr char kCorrupt[] = "メタファイルが壊れています。";

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kEmfHeaderMinSize = 88;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kPlaceableHeaderSize = 22;
constexpr std::uint32_t kWmfHeaderWords = 9;

struct MetafileInfo {
    std::int64_t mmWidth = 0;
    std::int64_t mmHeight = 0;
};

// Records: type and size (bytes, a multiple of 4, at least 8) each, filling
// the declared length exactly.
void CheckEmfRecords(const LeReader& in, std::uint32_t length)
{
    std::uint64_t offset = 0;
    while (offset < length) {
        const std::uint32_t size = in.U32(offset + 4);
        if (size < 8 || size % 4 != 0 || size > length - offset)
            in.Fail();
        offset += size;
    }
}

MetafileInfo ReadEnhanced(const LeReader& in)
{
    const std::uint32_t headerSize = in.U32(4);
    const std::uint32_t length = in.U32(48);
    if (in.U32(0) != kEmrHeader || in.U32(40) != kEmfSignature || headerSize < kEmfHeaderMinSize ||
        length < headerSize || length > in.Size())
        in.Fail();
    CheckEmfRecords(in, length);
    // The frame is in hundredths of a millimetre, edges included.
    return {std::abs(std::int64_t{in.I32(32)} - in.I32(24)), std::abs(std::int64_t{in.I32(36)} - in.I32(28))};
}

std::uint16_t PlaceableChecksum(const LeReader& in)
{
    std::uint16_t sum = 0;
    for (std::uint64_t offset = 0; offset < 20; offset += 2)
        sum ^= in.U16(offset);
    return sum;
}

// Records after the standard header: size in 16-bit words (at least 3) and
// function; they stay inside the declared size and stop at the end record.
void CheckWmfRecords(const LeReader& in, std::uint64_t end)
{
    std::uint64_t offset = kPlaceableHeaderSize + 2 * kWmfHeaderWords;
    while (offset < end) {
        const std::uint64_t size = std::uint64_t{in.U32(offset)} * 2;
        if (size < 6 || size > end - offset)
            in.Fail();
        if (in.U16(offset + 4) == 0)
            return;
        offset += size;
    }
}

MetafileInfo ReadPlaceable(const LeReader& in)
{
    const std::uint16_t unitsPerInch = in.U16(14);
    const std::uint16_t type = in.U16(kPlaceableHeaderSize);
    const std::uint64_t end = kPlaceableHeaderSize + std::uint64_t{in.U32(kPlaceableHeaderSize + 6)} * 2;
    if (unitsPerInch == 0 || in.U16(20) != PlaceableChecksum(in) || (type != 1 && type != 2) ||
        in.U16(kPlaceableHeaderSize + 2) != kWmfHeaderWords || end < kPlaceableHeaderSize + 2 * kWmfHeaderWords ||
        end > in.Size())
        in.Fail();
    CheckWmfRecords(in, end);
    const std::int64_t width = std::abs(std::int64_t{in.I16(10)} - in.I16(6));
    const std::int64_t height = std::abs(std::int64_t{in.I16(12)} - in.I16(8));
    return {width * 2540 / unitsPerInch, height * 2540 / unitsPerInch};
}

int ScreenPixels(std::int64_t hundredthsOfMm)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(hundredthsOfMm) * kMetafileScreenDpi / 2540.0));
}

} // namespace

bool LooksLikeEnhancedMetafile(std::string_view bytes)
{
    const LeReader in(bytes, kCorrupt);
    return in.Has(0, kEmfHeaderMinSize) && in.U32(0) == kEmrHeader && in.U32(40) == kEmfSignature;
}

bool LooksLikePlaceableMetafile(std::string_view bytes)
{
    const LeReader in(bytes, kCorrupt);
    return in.Has(0, 4) && in.U32(0) == kPlaceableKey;
}

int MetafileImage::Width() const { return ScreenPixels(mmWidth_); }
int MetafileImage::Height() const { return ScreenPixels(mmHeight_); }

void MetafileImage::LoadFromBytes(std::string_view bytes)
{
    const LeReader in(bytes, kCorrupt);
    const bool enhanced = LooksLikeEnhancedMetafile(bytes);
    if (!enhanced && !LooksLikePlaceableMetafile(bytes))
        in.Fail();
    const MetafileInfo info = enhanced ? ReadEnhanced(in) : ReadPlaceable(in);
    bytes_.assign(bytes);
    enhanced_ = enhanced;
    mmWidth_ = info.mmWidth;
    mmHeight_ = info.mmHeight;
}

std::unique_ptr<Graphic> MetafileImage::Clone() const { return std::make_unique<MetafileImage>(*this); }

} // namespace lx
