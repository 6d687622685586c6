// Puts the shipped data beside the designer and names it in the registry
// store: lx_setup_data <data folder> <shipped folder> <program folder>
#include "designer/windows/ShippedData.h"
#include "platform/registry/Registry.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: lx_setup_data <data folder> <shipped folder> <program folder>\n");
        return 2;
    }
    try {
        const std::string program = argv[3];
        lx::InstallShippedData(argv[1], argv[2], program, program + "/" + lx::RegistryStore::kFileName);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lx_setup_data: %s\n", error.what());
        return 1;
    }
    return 0;
}
