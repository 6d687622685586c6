#include "platform/app/Program.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace lx {

namespace {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "/";
}

// The base folder named by the variable; the basedir rules ignore a
// relative one.
std::string BaseFolder(const char* variable, const char* fallback)
{
    if (const char* folder = std::getenv(variable); folder && folder[0] == '/')
        return folder;
    return HomeFolder() + "/" + fallback;
}

} // namespace

std::string ProgramPath()
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string ProgramFolder()
{
    const std::string path = ProgramPath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string UserConfigFolder() { return BaseFolder("XDG_CONFIG_HOME", ".config") + "/" + kUserFolderName; }

std::string UserDataFolder() { return BaseFolder("XDG_DATA_HOME", ".local/share") + "/" + kUserFolderName; }

} // namespace lx
