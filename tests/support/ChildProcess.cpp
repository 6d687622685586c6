#include "support/ChildProcess.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
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

pid_t StartChild(const std::function<int()>& body, bool asOrdinaryUser)
{
    const uid_t uid = OrdinaryUid();
    const gid_t gid = OrdinaryGid();
    if (asOrdinaryUser && uid == 0)
        return -1;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    if (asOrdinaryUser && ::getuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
        ::_exit(255);
    int result = 254;
    try {
        result = body();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "child: %s\n", error.what());
    }
    ::_exit(result);
}

bool ChildRunning(pid_t child)
{
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

int AwaitChild(pid_t child)
{
    if (child < 0)
        return -1;
    const int status = Await(child);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

int RunAsOrdinaryUser(const std::function<int()>& body) { return AwaitChild(StartChild(body, true)); }

FileSizeLimit::FileSizeLimit(unsigned long bytes) : savedHandler_(std::signal(SIGXFSZ, SIG_IGN))
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    saved_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = saved_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, savedHandler_);
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
