#pragma once
// A guard against a second running copy of a program: an exclusive lock on a
// named lock file. The kernel drops the lock when the holding process ends in
// any way, so a crashed run never blocks the next one.
#include <string>
#include <string_view>

namespace lx {

class SingleInstanceGuard {
public:
    // Tries to take the lock of that name in `folder` (DefaultLockFolder()
    // when empty). Never blocks.
    explicit SingleInstanceGuard(std::string_view name, std::string folder = {});
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False only when another holder of the same name is running (in another
    // process or through another guard in this one). A lock file that cannot
    // be opened at all does not count as another copy.
    bool AnotherRunning() const { return anotherRunning_; }
    const std::string& LockFilePath() const { return path_; }

    // $LX_LOCK_DIR, else $XDG_RUNTIME_DIR, else the temporary folder.
    static std::string DefaultLockFolder();

private:
    std::string path_;
    int fd_ = -1;
    bool anotherRunning_ = false;
};

} // namespace lx
