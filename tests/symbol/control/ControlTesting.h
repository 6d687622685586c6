#pragma once
// Helpers of the control tests: a control made in process (with or without
// a printer), a dispatch driver on it, and a site that counts repaints.
#include <optional>
#include <string>

#include "platform/com/Dispatch.h"
#include "platform/com/OleControl.h"
#include "support/ScopedEnv.h"
#include "symbol/control/CMatrixelProCtrl.h"
#include "symbol/control/MatrixelProIds.h"

namespace lxtest {

inline lx::DeviceInfo Printer600()
{
    lx::DeviceInfo printer;
    printer.dpiX = printer.dpiY = 600;
    printer.horzRes = 6000;
    printer.vertRes = 9000;
    printer.horzSizeMm = 254;
    printer.vertSizeMm = 381;
    return printer;
}

struct CountingSite : lx::ControlSite {
    int invalidations = 0;
    void InvalidateControl() override { ++invalidations; }
};

// A control as a host holds it: the object and a driver of its dispatch interface.
struct TestControl {
    explicit TestControl(std::optional<lx::DeviceInfo> printer = Printer600())
        : object(lx::ComPtr<lx::CMatrixelProCtrl>::Attach(new lx::CMatrixelProCtrl(printer))),
          driver(lx::ComPtr<lx::Dispatch>(object.Get()))
    {
        object->SetSite(&site);
    }
    ~TestControl() { object->SetSite(nullptr); }

    void Put(lx::DispId id, int value) { driver.Put(id, lx::Variant(static_cast<std::int16_t>(value))); }
    int GetShort(lx::DispId id) { return driver.Get(id).AsInt16(); }
    void PutText(const std::string& cp932) { driver.Put(lx::kDispInputData, lx::Variant::Text(cp932)); }
    bool Dirty() { return object->IsDirty() == lx::kOk; }

    lx::ComPtr<lx::CMatrixelProCtrl> object;
    lx::DispatchDriver driver;
    CountingSite site;
};

// Points the registry store at a file of its own while it lives.
struct TemporaryRegistry : ScopedEnv {
    explicit TemporaryRegistry(const std::string& path) : ScopedEnv("LX_REGISTRY_FILE", path) {}
};

} // namespace lxtest
