// Puts the shipped data beside the designer and names it in the registry
// store, where the symbol control is registered as well:
//   lx_setup_data <data folder> <shipped folder> <program folder> [control library]
#include "designer/windows/ShippedData.h"
#include "platform/com/ComClient.h"
#include "platform/registry/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr,
                     "usage: lx_setup_data <data folder> <shipped folder> <program folder> [control library]\n");
        return 2;
    }
    try {
        const std::string program = argv[3];
        const std::string store = program + "/" + lx::RegistryStore::kFileName;
        lx::InstallShippedData(argv[1], argv[2], program, store);
        // The designer makes every symbol through the registered control.
        ::setenv("LX_REGISTRY_FILE", store.c_str(), 1);
        if (argc == 5 && lx::Failed(lx::RegisterServerLibrary(argv[4]))) {
            std::fprintf(stderr, "lx_setup_data: the control %s could not be registered\n", argv[4]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lx_setup_data: %s\n", error.what());
        return 1;
    }
    return 0;
}
