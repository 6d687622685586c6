#include "support/Oracles.h"

#include <cstdlib>

namespace lxtest {

bool OraclesRequired()
{
    const char* value = std::getenv("LX_REQUIRE_ORACLES");
    return value && std::string(value) == "1";
}

bool ToolsInstalled(std::initializer_list<const char*> programs)
{
    for (const char* program : programs)
        if (std::system((std::string("command -v '") + program + "' >/dev/null 2>&1").c_str()) != 0)
            return false;
    return true;
}

std::string ToolList(std::initializer_list<const char*> programs)
{
    std::string list;
    for (const char* program : programs)
        list += (list.empty() ? "" : ", ") + std::string(program);
    return list;
}

} // namespace lxtest
