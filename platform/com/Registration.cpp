#include "platform/com/Registration.h"

namespace lx {

namespace {

constexpr const char* kRoot = "HKEY_CLASSES_ROOT\\";

std::string Version(int major, int minor) { return std::to_string(major) + "." + std::to_string(minor); }

std::string TypeLibKey(const TypeLibraryRegistration& lib)
{
    return kRoot + std::string("TypeLib\\") + lib.libid.ToString();
}

} // namespace

std::string ClassKey(const Guid& clsid) { return kRoot + std::string("CLSID\\") + clsid.ToString(); }

std::string RegisteredLibrary(const RegistryStore& store, const Guid& clsid)
{
    return store.ReadString(ClassKey(clsid) + "\\InprocServer32", "").value_or("");
}

void RegisterClass(RegistryStore& store, const ClassRegistration& reg, const std::string& libraryPath)
{
    const std::string key = ClassKey(reg.clsid);
    store.WriteString(key, "", reg.typeName);
    store.WriteString(key + "\\InprocServer32", "", libraryPath);
    store.WriteString(key + "\\InprocServer32", "ThreadingModel", reg.threading);
    if (!reg.progId.empty()) {
        store.WriteString(key + "\\ProgID", "", reg.progId);
        store.WriteString(kRoot + reg.progId, "", reg.typeName);
        store.WriteString(kRoot + reg.progId + "\\CLSID", "", reg.clsid.ToString());
    }
}

void RegisterControl(RegistryStore& store, const ClassRegistration& reg, const ControlRegistration& control,
                     const std::string& libraryPath)
{
    RegisterClass(store, reg, libraryPath);
    const std::string key = ClassKey(reg.clsid);
    store.CreateKey(key + "\\Control");
    store.WriteString(key + "\\ToolboxBitmap32", "", libraryPath + ", " + std::to_string(control.toolboxBitmap));
    store.WriteString(key + "\\MiscStatus", "", "0");
    store.WriteString(key + "\\MiscStatus\\1", "", std::to_string(control.miscStatus));
    store.WriteString(key + "\\TypeLib", "", control.typeLibrary.ToString());
    store.WriteString(key + "\\Version", "", Version(control.versionMajor, control.versionMinor));
}

void UnregisterClass(RegistryStore& store, const ClassRegistration& reg)
{
    store.DeleteKey(ClassKey(reg.clsid));
    if (!reg.progId.empty())
        store.DeleteKey(kRoot + reg.progId);
}

void RegisterTypeLibrary(RegistryStore& store, const TypeLibraryRegistration& lib, const std::string& libraryPath)
{
    const std::string key = TypeLibKey(lib) + "\\" + Version(lib.versionMajor, lib.versionMinor);
    store.WriteString(key, "", lib.helpString);
    store.WriteString(key + "\\" + std::to_string(lib.locale) + "\\linux", "", libraryPath);
    store.WriteString(key + "\\FLAGS", "", "0");
    store.WriteString(key + "\\HELPDIR", "", lib.helpFolder);
    for (const InterfaceRegistration& item : lib.interfaces) {
        const std::string itemKey = kRoot + std::string("Interface\\") + item.iid.ToString();
        store.WriteString(itemKey, "", item.name);
        store.WriteString(itemKey + "\\TypeLib", "", lib.libid.ToString());
        store.WriteString(itemKey + "\\TypeLib", "Version", Version(lib.versionMajor, lib.versionMinor));
    }
}

void UnregisterTypeLibrary(RegistryStore& store, const TypeLibraryRegistration& lib)
{
    const std::string key = TypeLibKey(lib);
    store.DeleteKey(key + "\\" + Version(lib.versionMajor, lib.versionMinor));
    if (store.SubKeys(key).empty())
        store.DeleteKey(key);
    for (const InterfaceRegistration& item : lib.interfaces)
        store.DeleteKey(kRoot + std::string("Interface\\") + item.iid.ToString());
}

} // namespace lx
