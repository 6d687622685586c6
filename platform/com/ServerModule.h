#pragma once
// What a server library keeps for its exports: its creatable classes with
// their factories and registry entries, its type library, and the count of
// live objects and locks that decides whether it may be unloaded. Each
// server library owns one ServerModule.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/ClassFactory.h"
#include "platform/com/Registration.h"

namespace lx {

class ServerModule {
public:
    struct ClassEntry {
        Guid clsid;
        // A new object with one reference; may throw.
        std::function<ComUnknown*()> create;
        // Writes (true) or removes (false) the class's registry entries.
        std::function<void(RegistryStore&, bool, const std::string& libraryPath)> updateRegistry;
    };

    ServerModule(TypeLibraryRegistration typeLibrary, std::vector<ClassEntry> classes);

    // The bodies of the four exports.
    HResult GetClassObject(const Guid* clsid, const Guid* iid, void** out);
    HResult CanUnloadNow() const;
    // Type library first (failure: kSelfRegTypeLib, and no class is
    // touched), then every class (failure: kSelfRegClass).
    HResult RegisterServer(const std::string& libraryPath);
    HResult UnregisterServer();

    const TypeLibraryRegistration& TypeLibrary() const { return typeLibrary_; }

    // Objects of the library count themselves alive with one of these.
    class LiveObject {
    public:
        explicit LiveObject(ServerModule& module) : module_(module) { ++module_.live_; }
        ~LiveObject() { --module_.live_; }
        LiveObject(const LiveObject&) = delete;
        LiveObject& operator=(const LiveObject&) = delete;

    private:
        ServerModule& module_;
    };

    void Lock(bool lock) { lock ? ++locks_ : --locks_; }
    int LiveObjects() const { return live_; }

private:
    TypeLibraryRegistration typeLibrary_;
    std::vector<ClassEntry> classes_;
    std::atomic<int> live_{0};
    std::atomic<int> locks_{0};
};

// Path of the shared library (or program) that holds `address`, or empty.
std::string LibraryPathOf(const void* address);

} // namespace lx
