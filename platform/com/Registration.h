#pragma once
// The registry entries of server libraries: classes (with their library,
// threading model and ProgID), controls (plus toolbox bitmap, status bits,
// type library) and type libraries with their interfaces. All keys live
// under HKEY_CLASSES_ROOT of the registry store, laid out as on Windows.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/ComTypes.h"
#include "platform/registry/Registry.h"

namespace lx {

struct ClassRegistration {
    Guid clsid;
    std::string typeName; // UTF-8
    std::string progId; // empty: none
    std::string threading = "Apartment";
};

// The extra entries of an embeddable control.
struct ControlRegistration {
    int toolboxBitmap = 1;
    std::uint32_t miscStatus = 0;
    Guid typeLibrary;
    int versionMajor = 1;
    int versionMinor = 0;
};

struct InterfaceRegistration {
    Guid iid;
    std::string name;
};

struct TypeLibraryRegistration {
    Guid libid;
    int versionMajor = 1;
    int versionMinor = 0;
    std::uint32_t locale = 0;
    std::string helpString;
    std::string helpFolder;
    std::vector<InterfaceRegistration> interfaces;
};

// Key of a class: "HKEY_CLASSES_ROOT\CLSID\{...}".
std::string ClassKey(const Guid& clsid);
// The library file registered for a class, or empty.
std::string RegisteredLibrary(const RegistryStore& store, const Guid& clsid);

// Each writes or removes its entries; the store throws FileError when the
// file cannot be written.
void RegisterClass(RegistryStore& store, const ClassRegistration& reg, const std::string& libraryPath);
void RegisterControl(RegistryStore& store, const ClassRegistration& reg, const ControlRegistration& control,
                     const std::string& libraryPath);
void UnregisterClass(RegistryStore& store, const ClassRegistration& reg);
void RegisterTypeLibrary(RegistryStore& store, const TypeLibraryRegistration& lib, const std::string& libraryPath);
void UnregisterTypeLibrary(RegistryStore& store, const TypeLibraryRegistration& lib);

} // namespace lx
