#pragma once
// What the manager's sources need of a SANE device: its options by name, the
// scan read into a bitmap, and SANE's status told as a TWAIN condition.
#include <sane/sane.h>

#include <optional>
#include <string>

#include "platform/image/Bitmap.h"
#include "platform/twain/TwainTypes.h"

namespace lx::twain {

// The images a source hands over are at most this many pixels: the most a
// device-independent bitmap may claim when it is read back.
inline constexpr long long kMaxScanPixels = 64ll * 1024 * 1024;

struct SaneOption {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* descriptor = nullptr;
};

// An active option of that name.
std::optional<SaneOption> FindOption(SANE_Handle device, const char* name);
std::optional<std::string> StringOption(SANE_Handle device, const char* name);
// An integer or fixed-point option's value.
std::optional<double> NumberOption(SANE_Handle device, const char* name);

// The scan source is a document feeder, which may hold further pages.
bool FeederSelected(SANE_Handle device);

// The condition code for a failed SANE call.
TW_UINT16 ConditionOf(SANE_Status status);

struct ScanResult {
    SANE_Status status = SANE_STATUS_GOOD;
    Bitmap image;
};

// Reads the image of a started scan, every frame of it, as 32-bit pixels.
// Whatever the device claims is checked before it is believed; an image
// that would exceed kMaxScanPixels ends with SANE_STATUS_NO_MEM.
ScanResult ReadScan(SANE_Handle device);

} // namespace lx::twain
