// A host that knows nothing of the control but its file and class: loads it
// with dlopen and asks DllGetClassObject for the class factory, as any
// program embedding the control would.
//   lx_control_host <library>      exit 0 and "factory" on success
#include "platform/com/ClassFactory.h"
#include "symbol/control/MatrixelProIds.h"

#include <cstdio>
#include <dlfcn.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lx_control_host <library>\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    const auto entry = reinterpret_cast<lx::GetClassObjectEntry>(dlsym(library, lx::kGetClassObjectName));
    if (!entry) {
        std::fprintf(stderr, "no %s\n", lx::kGetClassObjectName);
        return 1;
    }
    lx::ClassFactory* factory = nullptr;
    const lx::HResult status =
        entry(&lx::kMatrixelProClassId, &lx::ClassFactory::kIid, reinterpret_cast<void**>(&factory));
    if (lx::Failed(status) || !factory) {
        std::fprintf(stderr, "DllGetClassObject: 0x%08X\n", static_cast<unsigned>(status));
        return 1;
    }
    factory->Release();
    std::printf("factory\n");
    return 0;
}
