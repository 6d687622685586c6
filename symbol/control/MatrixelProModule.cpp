#include <memory>

#include "platform/com/ClassFactory.h"
#include "platform/com/PropertyPage.h"
#include "platform/com/ServerModule.h"
#include "platform/printing/Printer.h"
#include "symbol/control/CMatrixelProCtrl.h"
#include "symbol/control/CMatrixelProPropPage.h"
#include "symbol/control/MatrixelProStrings.h"
#include "symbol/encoders/SymbolPainter.h"

namespace lx {

namespace {

// Miscellaneous status of the control class: recompose on resize, cannot
// link inside, inside-out, activate when visible, set client site first.
constexpr std::uint32_t kControlMiscStatus = 0x20191;

ClassRegistration ControlClass()
{
    return {kMatrixelProClassId, std::string(LoadResourceString(kIdsControlTypeName)), "MATRIXELPRO.MatrixelProCtrl.1"};
}

ClassRegistration PageClass()
{
    return {kMatrixelProPageClassId, std::string(LoadResourceString(kIdsPageTypeName)), {}};
}

void UpdateControlRegistry(RegistryStore& store, bool add, const std::string& libraryPath)
{
    if (!add) {
        UnregisterClass(store, ControlClass());
        return;
    }
    ControlRegistration control;
    control.toolboxBitmap = 1;
    control.miscStatus = kControlMiscStatus;
    control.typeLibrary = kMatrixelProTypeLibId;
    RegisterControl(store, ControlClass(), control, libraryPath);
}

void UpdatePageRegistry(RegistryStore& store, bool add, const std::string& libraryPath)
{
    if (add)
        RegisterClass(store, PageClass(), libraryPath);
    else
        UnregisterClass(store, PageClass());
}

TypeLibraryRegistration TypeLibrary()
{
    TypeLibraryRegistration lib;
    lib.libid = kMatrixelProTypeLibId;
    lib.locale = 1033;
    lib.helpString = "MatrixelPro OLE Control module";
    lib.interfaces = {{kMatrixelProDispatchId, "_DMatrixelPro"}, {kMatrixelProEventsId, "_DMatrixelProEvents"}};
    return lib;
}

ComUnknown* CreateControl()
{
    // The virtual printer stands in for a missing one, as everywhere in
    // the system, so that symbols and label renders share one resolution.
    auto* control = new CMatrixelProCtrl(CurrentPrinterDevice());
    return static_cast<Dispatch*>(control);
}

ComUnknown* CreatePage() { return CreateMatrixelProPropPage().Detach(); }

struct ModuleStart {
    ModuleStart() { SetDefaultFontName(LoadResourceString(kIdsDefaultFont)); }
} moduleStart;

} // namespace

ServerModule& MatrixelProModule()
{
    static ServerModule module(TypeLibrary(),
                               {{kMatrixelProClassId, CreateControl, UpdateControlRegistry},
                                {kMatrixelProPageClassId, CreatePage, UpdatePageRegistry}});
    return module;
}

} // namespace lx

extern "C" {

__attribute__((visibility("default"))) lx::HResult DllGetClassObject(const lx::Guid* clsid, const lx::Guid* iid,
                                                                     void** out)
{
    return lx::MatrixelProModule().GetClassObject(clsid, iid, out);
}

__attribute__((visibility("default"))) lx::HResult DllCanUnloadNow() { return lx::MatrixelProModule().CanUnloadNow(); }

__attribute__((visibility("default"))) lx::HResult DllRegisterServer()
{
    return lx::MatrixelProModule().RegisterServer(lx::LibraryPathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

__attribute__((visibility("default"))) lx::HResult DllUnregisterServer()
{
    return lx::MatrixelProModule().UnregisterServer();
}

} // extern "C"
