#include "platform/com/ServerModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <optional>

namespace lx {

namespace {

// One factory object per class; it keeps the library alive while it lives.
class Factory final : public ComImplementation<ClassFactory> {
public:
    Factory(ServerModule& module, const ServerModule::ClassEntry& entry) : module_(module), live_(module), entry_(entry)
    {
    }

    HResult CreateInstance(const Guid& iid, void** out) override
    {
        if (!out)
            return kPointer;
        *out = nullptr;
        ComPtr<ComUnknown> object;
        try {
            object = ComPtr<ComUnknown>::Attach(entry_.create());
        } catch (const std::bad_alloc&) {
            return kOutOfMemory;
        } catch (const std::exception&) {
            return kFail;
        }
        if (!object)
            return kOutOfMemory;
        return object->QueryInterface(iid, out);
    }

    HResult LockServer(bool lock) override
    {
        module_.Lock(lock);
        return kOk;
    }

private:
    ServerModule& module_;
    ServerModule::LiveObject live_;
    const ServerModule::ClassEntry& entry_;
};

} // namespace

ServerModule::ServerModule(TypeLibraryRegistration typeLibrary, std::vector<ClassEntry> classes)
    : typeLibrary_(std::move(typeLibrary)), classes_(std::move(classes))
{
}

HResult ServerModule::GetClassObject(const Guid* clsid, const Guid* iid, void** out)
{
    if (!clsid || !iid || !out)
        return kPointer;
    *out = nullptr;
    for (const ClassEntry& entry : classes_)
        if (entry.clsid == *clsid) {
            ComPtr<Factory> factory;
            try {
                factory = ComPtr<Factory>::Attach(new Factory(*this, entry));
            } catch (const std::bad_alloc&) {
                return kOutOfMemory;
            }
            return factory->QueryInterface(*iid, out);
        }
    return kClassNotAvailable;
}

HResult ServerModule::CanUnloadNow() const { return live_ == 0 && locks_ == 0 ? kOk : kFalse; }

HResult ServerModule::RegisterServer(const std::string& libraryPath)
{
    std::optional<RegistryStore> store;
    try {
        store.emplace();
        RegisterTypeLibrary(*store, typeLibrary_, libraryPath);
    } catch (const std::exception&) {
        return kSelfRegTypeLib;
    }
    try {
        for (const ClassEntry& entry : classes_)
            entry.updateRegistry(*store, true, libraryPath);
    } catch (const std::exception&) {
        return kSelfRegClass;
    }
    return kOk;
}

HResult ServerModule::UnregisterServer()
{
    std::optional<RegistryStore> store;
    try {
        store.emplace();
        UnregisterTypeLibrary(*store, typeLibrary_);
    } catch (const std::exception&) {
        return kSelfRegTypeLib;
    }
    try {
        for (const ClassEntry& entry : classes_)
            entry.updateRegistry(*store, false, {});
    } catch (const std::exception&) {
        return kSelfRegClass;
    }
    return kOk;
}

std::string LibraryPathOf(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname)
        return {};
    std::error_code error;
    const std::filesystem::path path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : path.string();
}

} // namespace lx
