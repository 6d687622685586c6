#pragma once
// Class factories and the four entry points every server library exports
// with C linkage:
//   HResult DllGetClassObject(const Guid* clsid, const Guid* iid, void** out);
//   HResult DllCanUnloadNow();       // kOk when no object or lock is alive
//   HResult DllRegisterServer();     // writes the library's classes into the registry store
//   HResult DllUnregisterServer();   // removes them
#include "platform/com/ComObject.h"

namespace lx {

class ClassFactory : public ComUnknown {
public:
    static constexpr Guid kIid{0x6C780002, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    // A new object of the factory's class, asked for its interface `iid`.
    virtual HResult CreateInstance(const Guid& iid, void** out) = 0;
    // Keeps the library loaded while locked.
    virtual HResult LockServer(bool lock) = 0;

protected:
    ~ClassFactory() = default;
};

using GetClassObjectEntry = HResult (*)(const Guid* clsid, const Guid* iid, void** out);
using ServerEntry = HResult (*)();

inline constexpr const char* kGetClassObjectName = "DllGetClassObject";
inline constexpr const char* kCanUnloadNowName = "DllCanUnloadNow";
inline constexpr const char* kRegisterServerName = "DllRegisterServer";
inline constexpr const char* kUnregisterServerName = "DllUnregisterServer";

} // namespace lx
