#pragma once
// Runs a piece of a test in a forked child: as an ordinary user (file modes
// apply to it even when the tests run as root), or under limits that kill it.
#include <functional>
#include <sys/types.h>

namespace lxtest {

// The user an ordinary child runs as: "nobody" when the tests run as root,
// otherwise the user running them.
uid_t OrdinaryUid();
gid_t OrdinaryGid();

// Runs body in a forked child with the ids above and returns its result
// (0 for success), or -1 when the child could not take the ids or died.
int RunAsOrdinaryUser(const std::function<int()>& body);

// Starts body in a forked child, as the ordinary user when asked, and
// returns at once: the child's id, or -1 when none could start.
pid_t StartChild(const std::function<int()>& body, bool asOrdinaryUser = false);
// Whether a child of StartChild still runs (it is not reaped here).
bool ChildRunning(pid_t child);
// Waits for a child of StartChild: its result, or -1 when it could not take
// the ids or died.
int AwaitChild(pid_t child);

// While it lives, no file this process writes grows past `bytes`: a write
// beyond fails (EFBIG), as on a full disk, instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long saved_;
    void (*savedHandler_)(int);
};

// Runs body in a forked child; true when the child ended by a signal.
bool KilledBySignal(const std::function<void()>& body);

} // namespace lxtest
