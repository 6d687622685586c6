// Hostile property streams loaded into the control: the stream reader must
// refuse them cleanly, and whatever values it does load (never validated)
// must encode and measure without a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/io/Stream.h"
#include "symbol/control/CMatrixelProCtrl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static lx::CMatrixelProCtrl* control = [] {
        lx::DeviceInfo printer;
        printer.dpiX = printer.dpiY = 600;
        return new lx::CMatrixelProCtrl(printer);
    }();
    lx::MemoryStream stream(std::string(reinterpret_cast<const char*>(data), size));
    if (control->Load(stream) == lx::kOk) {
        control->GetSymbolExtent();
        control->ImageData();
        control->InitNew();
    }
    return 0;
}
