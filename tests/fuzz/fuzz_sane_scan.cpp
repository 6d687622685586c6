// The scan reader against a hostile scanner: this target answers SANE's calls
// itself, from the input. Each frame starts with its parameters (format,
// last-frame flag, bytes per line, pixels per line, lines, depth); then come
// reads, each a 16-bit length (0xFFFF ends the frame, 0xFFFE fails the read)
// and the bytes it hands over. The device may claim more than it hands.
// Reading must end in an image or a status, within the pixel limit.
#include <sane/sane.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzSupport.h"
#include "platform/twain/manager/SaneDevice.h"

namespace {

struct Device {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;

    std::size_t Left() const { return size - at; }
    std::uint32_t Next(int bytes)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= static_cast<std::uint32_t>(at < size ? data[at++] : 0) << 8 * i;
        return v;
    }
};

Device device;

constexpr SANE_Int kDepths[] = {1, 8, 16, 0, 2, 24};

} // namespace

extern "C" {

SANE_Status sane_get_parameters(SANE_Handle, SANE_Parameters* p)
{
    if (device.Left() < 12)
        return SANE_STATUS_IO_ERROR;
    const std::uint32_t kind = device.Next(1);
    p->format = static_cast<SANE_Frame>((kind & 0x7F) % 6);
    p->last_frame = (kind & 0x80) ? SANE_FALSE : SANE_TRUE;
    p->bytes_per_line = static_cast<SANE_Int>(device.Next(4));
    p->pixels_per_line = static_cast<SANE_Int>(device.Next(4));
    p->lines = static_cast<std::int16_t>(device.Next(2));
    p->depth = kDepths[device.Next(1) % std::size(kDepths)];
    return SANE_STATUS_GOOD;
}

SANE_Status sane_read(SANE_Handle, SANE_Byte* buffer, SANE_Int maxLength, SANE_Int* length)
{
    *length = 0;
    if (device.Left() < 2)
        return SANE_STATUS_EOF;
    const std::uint32_t claimed = device.Next(2);
    if (claimed == 0xFFFF)
        return SANE_STATUS_EOF;
    if (claimed == 0xFFFE)
        return SANE_STATUS_IO_ERROR;
    const std::size_t handed = std::min<std::size_t>({claimed, static_cast<std::size_t>(maxLength), device.Left()});
    std::memcpy(buffer, device.data + device.at, handed);
    device.at += handed;
    *length = static_cast<SANE_Int>(claimed);
    return SANE_STATUS_GOOD;
}

SANE_Status sane_start(SANE_Handle) { return device.Left() ? SANE_STATUS_GOOD : SANE_STATUS_NO_DOCS; }

// Options are not what this target reads.
SANE_Status sane_control_option(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*)
{
    return SANE_STATUS_UNSUPPORTED;
}

const SANE_Option_Descriptor* sane_get_option_descriptor(SANE_Handle, SANE_Int) { return nullptr; }

} // extern "C"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static lxfuzz::ReachCounter images("scanned images");
    device = Device{data, size};
    const lx::twain::ScanResult result = lx::twain::ReadScan(&device);
    images.Count(result.status == SANE_STATUS_GOOD);
    const lx::Bitmap& image = result.image;
    if (result.status == SANE_STATUS_GOOD &&
        (image.Width() <= 0 || image.Height() <= 0 ||
         static_cast<long long>(image.Width()) * image.Height() > lx::twain::kMaxScanPixels))
        __builtin_trap();
    return 0;
}
