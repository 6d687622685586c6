// Hostile calls through the control's dispatch interface: fuzzed dispatch
// identifiers, invoke kinds and argument variants, several calls on one
// control. A call may fail with a status or a dispatch exception; it must
// never crash, and a failed call leaves the control usable.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/com/Dispatch.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/image/Picture.h"
#include "symbol/control/CMatrixelProCtrl.h"
#include "symbol/control/MatrixelProIds.h"

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    bool Done() const { return at >= size; }
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
    template <class T>
    T Value()
    {
        std::array<std::uint8_t, sizeof(T)> raw{};
        for (auto& b : raw)
            b = Byte();
        T value;
        std::memcpy(&value, raw.data(), sizeof value);
        return value;
    }
    std::string Text()
    {
        const std::size_t length = std::min<std::size_t>(Byte(), size - std::min(size, at));
        std::string text(reinterpret_cast<const char*>(data + at), length);
        at += length;
        return text;
    }
};

// Identifiers beyond the table's numbers: stock members and strays.
constexpr std::array<lx::DispId, 12> kOtherIds{lx::kDispIdBackColor,
                                               lx::kDispIdFont,
                                               lx::kDispIdHwnd,
                                               lx::kDispIdRefresh,
                                               -1,
                                               -500,
                                               -513,
                                               -551,
                                               0x7FFFFFFF,
                                               INT32_MIN,
                                               0x10000,
                                               52};

lx::DispId NextId(Reader& r)
{
    const std::uint8_t b = r.Byte();
    return b < 0xF0 ? static_cast<lx::DispId>(b % 56) : kOtherIds[(b - 0xF0) % kOtherIds.size()];
}

// A device context whose handle the drawing method may be given.
std::int32_t DrawingHandle()
{
    static lx::Bitmap bitmap(64, 64);
    static lx::RasterDeviceContext dc(bitmap);
    static const std::int32_t handle = lx::RegisterDeviceContext(&dc);
    return handle;
}

lx::Variant NextVariant(Reader& r)
{
    switch (r.Byte() % 10) {
    case 0: return {};
    case 1: return lx::Variant(r.Value<std::int16_t>());
    case 2: return lx::Variant(r.Value<std::int32_t>());
    case 3: return lx::Variant(r.Value<float>());
    case 4: return lx::Variant(r.Value<double>());
    case 5: return lx::Variant::Text(r.Text());
    case 6: return lx::Variant(lx::BStr::FromBytes(r.Text()));
    case 7: return lx::Variant((r.Byte() & 1) != 0);
    case 8: return lx::Variant(std::shared_ptr<const lx::Picture>(std::make_shared<lx::Picture>()));
    default: return lx::Variant(DrawingHandle());
    }
}

// The file writer is only ever pointed into the run's own folder.
void KeepFilesInRunFolder(lx::DispId id, std::vector<lx::Variant>& args)
{
    if (id == lx::kDispCreateQrMetaFile && args.size() >= 2)
        args[1] = lx::Variant::Text(lxfuzz::RunFolder() + "/symbol");
}

void Call(lx::CMatrixelProCtrl& control, Reader& r)
{
    const lx::DispId id = NextId(r);
    const auto flags = static_cast<std::uint16_t>(r.Byte() & 0x0F);
    std::vector<lx::Variant> args(r.Byte() % 5);
    for (auto& arg : args)
        arg = NextVariant(r);
    KeepFilesInRunFolder(id, args);
    lx::Variant result;
    lx::DispatchException exception;
    control.Invoke(id, flags, args, &result, &exception);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lx::DeviceInfo printer;
    printer.dpiX = printer.dpiY = 600;
    const auto control = lx::ComPtr<lx::CMatrixelProCtrl>::Attach(new lx::CMatrixelProCtrl(printer));
    Reader r{data, size};
    for (int calls = 0; calls < 32 && !r.Done(); ++calls)
        Call(*control, r);
    // Whatever the calls left, the control still draws and reports.
    control->GetSymbolExtent();
    control->ImageData();
    return 0;
}
