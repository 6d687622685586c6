#include "platform/app/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace lx {

namespace {

// Only characters that are safe in a file name survive.
std::string LockFileName(std::string_view name)
{
    std::string file;
    for (char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
            c == '-' || c == '.';
        file += plain ? c : '_';
    }
    // A shared temporary folder is per machine: the user id keeps users apart,
    // as a session-local mutex would.
    return file + "-" + std::to_string(::getuid()) + ".lock";
}

} // namespace

std::string SingleInstanceGuard::DefaultLockFolder()
{
    for (const char* variable : {"LX_LOCK_DIR", "XDG_RUNTIME_DIR"})
        if (const char* folder = std::getenv(variable); folder && *folder)
            return folder;
    std::error_code error;
    const auto temporary = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : temporary.string();
}

SingleInstanceGuard::SingleInstanceGuard(std::string_view name, std::string folder)
    : path_((folder.empty() ? DefaultLockFolder() : folder) + "/" + LockFileName(name))
{
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        anotherRunning_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace lx
