#include "support/Oracles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "support/TestPaths.h"

namespace lxtest {

bool OraclesRequired()
{
    const char* value = std::getenv("LX_REQUIRE_ORACLES");
    return value && std::string(value) == "1";
}

std::string MissingTools(std::initializer_list<const char*> programs)
{
    std::string missing;
    for (const char* program : programs)
        if (std::system((std::string("command -v '") + program + "' >/dev/null 2>&1").c_str()) != 0)
            missing += (missing.empty() ? "" : ", ") + std::string(program);
    return missing;
}

bool LibwmfRenders()
{
    if (!MissingTools({"wmf2gd"}).empty())
        return false;
    // A placeable metafile of 10 x 10 at 96 dpi with no drawing, written
    // by hand: key, box, inch, checksum; header; end record.
    static const unsigned char empty[] = {0xD7, 0xCD, 0xC6, 0x9A, 0,    0,    0, 0, 0, 0, 10, 0, 10, 0, 96, 0,
                                          0,    0,    0,    0,    0x71, 0x57, 1, 0, 9, 0, 0,  3, 12, 0, 0,  0,
                                          0,    0,    3,    0,    0,    0,    0, 0, 3, 0, 0,  0, 0,  0};
    TempDir dir;
    std::ofstream(dir.File("probe.wmf"), std::ios::binary).write(reinterpret_cast<const char*>(empty), sizeof empty);
    const std::string command =
        "wmf2gd -t png -o '" + dir.File("probe.png") + "' '" + dir.File("probe.wmf") + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::vector<std::string> OutputLines(const std::string& command)
{
    std::vector<std::string> lines;
    FILE* out = popen((command + " 2>/dev/null").c_str(), "r");
    if (!out)
        return lines;
    char line[512];
    while (std::fgets(line, sizeof line, out)) {
        lines.emplace_back(line);
        if (lines.back().ends_with('\n'))
            lines.back().pop_back();
    }
    pclose(out);
    return lines;
}

} // namespace lxtest
