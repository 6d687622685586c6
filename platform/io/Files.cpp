#include "platform/io/Files.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace lx {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSaveMark = ".lxsave-";
constexpr std::string_view kCannotCreate = "ファイルを作成できません";
constexpr std::string_view kCannotWrite = "ファイルに書き込めません";
constexpr std::string_view kDiskFull = "ディスクの空きが足りないため書き込めません";

} // namespace

std::string FileErrorMessage(std::string_view message, std::string_view path)
{
    std::string text(message);
    text += ": ";
    text += ReadableFileName(path);
    return text;
}

FileError FileFailure(int error, std::string_view path, std::string_view otherwise)
{
    std::string_view reason = otherwise;
    switch (error) {
    case ENAMETOOLONG: reason = "ファイル名が長すぎます"; break;
    case ENOSPC:
    case EDQUOT: reason = kDiskFull; break;
    case EFBIG: reason = "ファイルが大きすぎるため書き込めません"; break;
    default: break;
    }
    return FileError(FileErrorMessage(reason, path));
}

bool FileExists(std::string_view path)
{
    std::error_code error;
    return fs::is_regular_file(fs::path(path), error);
}

bool DirectoryExists(std::string_view path)
{
    std::error_code error;
    return fs::is_directory(fs::path(path), error);
}

void CreateDirectories(std::string_view path)
{
    std::error_code error;
    fs::create_directories(fs::path(path), error);
    if (error || !fs::is_directory(fs::path(path), error))
        throw FileError(FileErrorMessage("フォルダを作成できません", path));
}

bool RemoveFile(std::string_view path)
{
    std::error_code error;
    return fs::remove(fs::path(path), error);
}

namespace {

// Opens a regular file for reading. Anything else (a FIFO, a device, a
// folder) is refused at once: opening a FIFO would wait for a writer, and a
// device may never end.
std::FILE* OpenRegularFile(std::string_view path)
{
    const std::string name(path);
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw FileError(FileErrorMessage("ファイルを開けません", path));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError(FileErrorMessage("通常のファイルではないため開けません", path));
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        throw FileError(FileErrorMessage("ファイルを開けません", path));
    }
    return file;
}

} // namespace

std::string ReadFileBytes(std::string_view path, std::uint64_t maxBytes)
{
    std::FILE* file = OpenRegularFile(path);
    const auto tooLarge = [&] {
        std::fclose(file);
        return FileError(FileErrorMessage("ファイルが大きすぎます", path));
    };
    // A file already over the limit is refused before any of it is read.
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && static_cast<std::uint64_t>(info.st_size) > maxBytes)
        throw tooLarge();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        // The file may grow while it is read.
        if (bytes.size() + n > maxBytes)
            throw tooLarge();
        bytes.append(buffer, n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw FileError(FileErrorMessage("ファイルを読み込めません", path));
    return bytes;
}

namespace {

// Another save of the same file may hold the commit name for an instant;
// one that holds it longer leaves this save a name of its own.
constexpr int kCommitTries = 2000;
constexpr auto kCommitPause = std::chrono::milliseconds(1);

[[noreturn]] void ThrowFailure(int error, std::string_view path, std::string_view otherwise)
{
    throw FileFailure(error, path, otherwise);
}

std::string StemOf(std::string_view leaf)
{
    // FNV-1a: the same name gives the same stem in every run.
    std::uint32_t hash = 2166136261u;
    for (const char c : leaf)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    return std::string(kSaveMark) + hex;
}

std::string UniqueName(const std::string& stem)
{
    thread_local std::random_device random;
    char unique[32];
    std::snprintf(unique, sizeof unique, "-%ld-%08x", static_cast<long>(::getpid()), random());
    return stem + unique;
}

// The file a save replaces: a symbolic link is followed to its target, so
// that the link stays and the file it names gets the new bytes.
fs::path SaveTarget(const std::string& path)
{
    fs::path target = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(target, error); ++hops) {
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

fs::path FolderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// The permission bits of the file to be replaced, -1 when there is none;
// refuses what a save may not replace.
int CheckTarget(const std::string& path, const std::string& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return -1;
        ThrowFailure(errno, path, kCannotCreate);
    }
    if (!S_ISREG(info.st_mode))
        throw FileError(FileErrorMessage("通常のファイルではないため書き込めません", path));
    // Refused as writing it in place would be.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        ThrowFailure(errno, path, kCannotCreate);
    return static_cast<int>(info.st_mode & 07777);
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

enum class Leftover { Gone, InUse, NotOurs };

// Removes a temporary file of ours that no save holds any more: a regular
// file, not locked (every save locks its file while it lives).
Leftover RemoveAbandoned(int folder, const std::string& name)
{
    struct stat seen {};
    if (::fstatat(folder, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Leftover::Gone : Leftover::NotOurs;
    if (!S_ISREG(seen.st_mode))
        return Leftover::NotOurs;
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Leftover::Gone : Leftover::NotOurs;
    Leftover result = Leftover::NotOurs;
    struct stat opened {};
    struct stat now {};
    if (::fstat(fd, &opened) == 0 && SameFile(opened, seen)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
            result = Leftover::InUse;
        else if (::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !SameFile(now, opened) ||
                 ::unlinkat(folder, name.c_str(), 0) == 0)
            result = Leftover::Gone;
    }
    ::close(fd);
    return result;
}

bool ProcessAlive(std::string_view pid)
{
    long number = 0;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), number);
    if (error != std::errc() || end != pid.data() + pid.size() || number <= 0)
        return false;
    return ::kill(static_cast<pid_t>(number), 0) == 0 || errno == EPERM;
}

// Leftovers of saves of the same file that were killed, where the folder
// can be listed. A live save's file is left alone: its process still runs,
// or it still holds its lock.
void RemoveInterruptedSaves(const fs::path& folder, int folderFd, const std::string& stem)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name != stem && !name.starts_with(stem + "-"))
            continue;
        const std::string_view rest = std::string_view(name).substr(std::min(name.size(), stem.size() + 1));
        if (!ProcessAlive(rest.substr(0, rest.find('-'))))
            RemoveAbandoned(folderFd, name);
    }
}

bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Flushes the folder's entries when the folder can be opened: a folder the
// user may write but not read cannot be, and the save stands without it.
void SyncFolder(int folder)
{
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// LX_NAMED_TEMPORARY_FILES=1 makes every save name its temporary file, as
// on file systems without unnamed ones.
bool NamedTemporariesOnly()
{
    const char* value = std::getenv("LX_NAMED_TEMPORARY_FILES");
    return value && std::string_view(value) == "1";
}

// Gives the unnamed file `fd` the name, failing (EEXIST) when it is taken.
bool LinkUnnamedAs(int fd, int folder, const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc, by the descriptor itself where the system lets us.
    return errno == ENOENT && ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
}

} // namespace

std::string TemporaryStem(std::string_view path) { return StemOf(SaveTarget(std::string(path)).filename().string()); }

FileReplacement::FileReplacement(std::string_view path)
    : path_(path), target_(SaveTarget(path_).string()), leaf_(fs::path(target_).filename().string())
{
    oldMode_ = CheckTarget(path_, target_);
    if (leaf_.empty() || leaf_ == "." || leaf_ == "..")
        throw FileError(FileErrorMessage(kCannotCreate, path_));
    const fs::path folder = FolderOf(target_);
    folder_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0)
        ThrowFailure(errno, path_, kCannotCreate);
    try {
        RemoveInterruptedSaves(folder, folder_, StemOf(leaf_));
        CreateTemporary();
    } catch (...) {
        Discard();
        throw;
    }
}

void FileReplacement::CreateTemporary()
{
    // A file that replaces another starts private and takes the other's
    // bits when whole; a new file gets what the user's mask gives.
    const int mode = oldMode_ >= 0 ? 0600 : 0666;
    fd_ = NamedTemporariesOnly() ? -1 : ::openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd_ < 0 && (NamedTemporariesOnly() || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
        CreateNamed(mode);
    else if (fd_ < 0)
        ThrowFailure(errno, path_, kCannotCreate);
    // Held while this save lives: its file is no leftover to remove.
    ::flock(fd_, LOCK_EX);
}

void FileReplacement::CreateNamed(int mode)
{
    const std::string stem = StemOf(leaf_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = UniqueName(stem);
        // O_EXCL: a name taken, by a link too, is never opened.
        fd_ = ::openat(folder_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd_ >= 0) {
            name_ = name;
            return;
        }
        if (errno != EEXIST)
            ThrowFailure(errno, path_, kCannotCreate);
    }
    ThrowFailure(EEXIST, path_, kCannotCreate);
}

FileReplacement::~FileReplacement() { Discard(); }

void FileReplacement::Discard()
{
    struct stat named {};
    struct stat own {};
    if (!committed_ && !name_.empty() && ::fstatat(folder_, name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        ::fstat(fd_, &own) == 0 && SameFile(named, own))
        ::unlinkat(folder_, name_.c_str(), 0);
    if (fd_ >= 0)
        ::close(fd_);
    if (folder_ >= 0)
        ::close(folder_);
    fd_ = folder_ = -1;
}

std::string FileReplacement::OpenName() const { return "/proc/self/fd/" + std::to_string(fd_); }

void FileReplacement::Write(std::string_view bytes)
{
    if (!WriteAll(fd_, bytes))
        ThrowFailure(errno, path_, kCannotWrite);
}

FileError FileReplacement::IncompleteError() const
{
    struct statvfs space {};
    const bool full =
        ::fstatvfs(fd_, &space) == 0 && static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize < (1u << 20);
    return FileError(FileErrorMessage(full ? kDiskFull : kCannotWrite, path_));
}

std::string FileReplacement::LinkUnnamed()
{
    const std::string stem = StemOf(leaf_);
    for (int attempt = 0; attempt < kCommitTries; ++attempt) {
        if (LinkUnnamedAs(fd_, folder_, stem))
            return stem;
        if (errno != EEXIST)
            ThrowFailure(errno, path_, kCannotWrite);
        const Leftover leftover = RemoveAbandoned(folder_, stem);
        if (leftover == Leftover::NotOurs)
            break;
        if (leftover == Leftover::InUse)
            std::this_thread::sleep_for(kCommitPause);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = UniqueName(stem);
        if (LinkUnnamedAs(fd_, folder_, name))
            return name;
        if (errno != EEXIST)
            ThrowFailure(errno, path_, kCannotWrite);
    }
    ThrowFailure(EEXIST, path_, kCannotWrite);
}

void FileReplacement::Commit()
{
    // The old file may have changed while this one was written.
    const int current = CheckTarget(path_, target_);
    const int mode = current >= 0 ? current : oldMode_;
    if ((mode >= 0 && ::fchmod(fd_, static_cast<mode_t>(mode)) != 0) || ::fsync(fd_) != 0)
        ThrowFailure(errno, path_, kCannotWrite);
    if (name_.empty())
        name_ = LinkUnnamed();
    if (::renameat(folder_, name_.c_str(), folder_, leaf_.c_str()) != 0)
        ThrowFailure(errno, path_, kCannotWrite);
    committed_ = true;
    SyncFolder(folder_);
}

void WriteFileReplacing(std::string_view path, std::string_view bytes)
{
    FileReplacement file(path);
    file.Write(bytes);
    file.Commit();
}

} // namespace lx
