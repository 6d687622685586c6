#include "platform/com/ComClient.h"

#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <mutex>

#include "platform/com/Registration.h"

namespace lx {

namespace {

// Libraries stay loaded for the rest of the process: objects and factories
// they made may still be referenced anywhere.
void* LoadLibrary(const std::string& path)
{
    static std::mutex mutex;
    static std::map<std::string, void*> loaded;
    const std::lock_guard lock(mutex);
    if (const auto it = loaded.find(path); it != loaded.end())
        return it->second;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle)
        loaded.emplace(path, handle);
    return handle;
}

void* Export(const std::string& path, const char* name)
{
    void* library = LoadLibrary(path);
    return library ? dlsym(library, name) : nullptr;
}

HResult RunServerEntry(const std::string& path, const char* name)
{
    const auto entry = reinterpret_cast<ServerEntry>(Export(path, name));
    return entry ? entry() : kLibraryNotLoaded;
}

std::map<std::string, std::string>& RunRegistrations()
{
    static std::map<std::string, std::string> registrations;
    return registrations;
}

// The library of a class: this run's own registration, else the store's.
std::string ClassLibrary(const Guid& clsid)
{
    if (const auto it = RunRegistrations().find(clsid.ToString()); it != RunRegistrations().end())
        return it->second;
    try {
        return RegisteredLibrary(RegistryStore(), clsid);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

void RegisterClassForRun(const Guid& clsid, const std::string& libraryPath)
{
    if (libraryPath.empty())
        RunRegistrations().erase(clsid.ToString());
    else
        RunRegistrations()[clsid.ToString()] = libraryPath;
}

HResult GetClassObject(const Guid& clsid, const Guid& iid, void** out)
{
    if (!out)
        return kPointer;
    *out = nullptr;
    const std::string path = ClassLibrary(clsid);
    if (path.empty())
        return kClassNotRegistered;
    const auto entry = reinterpret_cast<GetClassObjectEntry>(Export(path, kGetClassObjectName));
    if (!entry)
        return kLibraryNotLoaded;
    return entry(&clsid, &iid, out);
}

HResult CreateInstance(const Guid& clsid, const Guid& iid, void** out)
{
    ComPtr<ClassFactory> factory;
    if (const HResult status = GetClassObject(clsid, ClassFactory::kIid, factory.Out()); Failed(status))
        return status;
    return factory->CreateInstance(iid, out);
}

std::string CreateFailureMessage(const Guid& clsid, HResult status)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<std::uint32_t>(status));
    if (status == kClassNotRegistered)
        return "クラス " + clsid.ToString() + " は登録されていません。";
    if (status == kLibraryNotLoaded)
        return "クラス " + clsid.ToString() + " のライブラリを読み込めません。";
    return "クラス " + clsid.ToString() + " のオブジェクトを作成できません (" + code + ")。";
}

HResult RegisterServerLibrary(const std::string& libraryPath)
{
    return RunServerEntry(libraryPath, kRegisterServerName);
}

HResult UnregisterServerLibrary(const std::string& libraryPath)
{
    return RunServerEntry(libraryPath, kUnregisterServerName);
}

} // namespace lx
