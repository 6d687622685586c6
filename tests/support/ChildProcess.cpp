#include "support/ChildProcess.h"

#include <cstdio>
#include <exception>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lxtest {

namespace {

const passwd* Nobody()
{
    static const passwd* nobody = ::getpwnam("nobody");
    return nobody;
}

int Await(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {}
    return status;
}

} // namespace

uid_t OrdinaryUid() { return ::geteuid() == 0 && Nobody() ? Nobody()->pw_uid : ::geteuid(); }

gid_t OrdinaryGid() { return ::geteuid() == 0 && Nobody() ? Nobody()->pw_gid : ::getegid(); }

int RunAsOrdinaryUser(const std::function<int()>& body)
{
    const uid_t uid = OrdinaryUid();
    const gid_t gid = OrdinaryGid();
    if (uid == 0)
        return -1;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::getuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(255);
        int result = 254;
        try {
            result = body();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "child: %s\n", error.what());
        }
        ::_exit(result);
    }
    const int status = Await(child);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

bool KilledBySignal(const std::function<void()>& body)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        try {
            body();
        } catch (...) {
        }
        ::_exit(0);
    }
    return WIFSIGNALED(Await(child));
}

} // namespace lxtest
