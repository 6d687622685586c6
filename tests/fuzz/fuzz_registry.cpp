// The registry store's file text: any bytes either fail cleanly or give a
// store whose own text reads back to the same store.
#include "platform/registry/Registry.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const lx::RegistryStore store("fuzz.txt", text);
        const std::string written = store.ToText();
        if (lx::RegistryStore("fuzz.txt", written).ToText() != written)
            std::abort();
    } catch (const lx::RegistryError&) {
    }
    return 0;
}
