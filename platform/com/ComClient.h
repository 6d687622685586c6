#pragma once
// The host's side of the component model: objects are created by class
// identifier. The class's library is found in the registry store
// (HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32), loaded once with dlopen
// and asked for the class factory through its DllGetClassObject export.
#include <string>

#include "platform/com/ClassFactory.h"
#include "platform/io/Errors.h"

namespace lx {

// Registers a class's library for this process only, ahead of the registry
// store: for a run whose store cannot be written. An empty path removes it.
// Called on the GUI thread before any object is made.
void RegisterClassForRun(const Guid& clsid, const std::string& libraryPath);

// The class factory of a registered class. kClassNotRegistered when the
// store names no library, kLibraryNotLoaded when it cannot be loaded or
// lacks the export; otherwise the library's answer.
HResult GetClassObject(const Guid& clsid, const Guid& iid, void** out);
// A new object of a registered class, asked for the interface `iid`.
HResult CreateInstance(const Guid& clsid, const Guid& iid, void** out);

// The Japanese message of a failed creation.
std::string CreateFailureMessage(const Guid& clsid, HResult status);

// As CreateInstance, throwing Error with a Japanese message on failure.
template <typename T>
ComPtr<T> CreateObject(const Guid& clsid)
{
    ComPtr<T> object;
    const HResult status = CreateInstance(clsid, T::kIid, object.Out());
    if (Failed(status) || !object)
        throw Error(CreateFailureMessage(clsid, status));
    return object;
}

// Loads a server library and runs its DllRegisterServer or
// DllUnregisterServer (what regsvr32 does on Windows).
HResult RegisterServerLibrary(const std::string& libraryPath);
HResult UnregisterServerLibrary(const std::string& libraryPath);

} // namespace lx
