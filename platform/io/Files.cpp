#include "platform/io/Files.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lx {

namespace fs = std::filesystem;

std::string FileErrorMessage(std::string_view message, std::string_view path)
{
    std::string text(message);
    text += ": ";
    text += ReadableFileName(path);
    return text;
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

// Our temporary files are ".lxsave-HHHHHHHH-XXXXXX" beside the file they
// replace, HHHHHHHH naming that file by a hash: short, so that a file whose
// name is as long as the system allows can still be saved.
constexpr std::string_view kSaveMark = ".lxsave-";
constexpr std::size_t kUniqueLength = 6;

std::string TemporaryPrefix(const fs::path& target)
{
    // FNV-1a: the same name gives the same prefix in every run.
    std::uint32_t hash = 2166136261u;
    for (const char c : target.filename().string())
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char hex[10];
    std::snprintf(hex, sizeof hex, "%08x-", hash);
    return std::string(kSaveMark) + hex;
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

// Leftovers of a save of the same file that never finished.
void RemoveInterruptedSaves(const fs::path& target)
{
    const std::string prefix = TemporaryPrefix(target);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(FolderOf(target), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + kUniqueLength && name.starts_with(prefix) && entry.is_regular_file(error) &&
            !entry.is_symlink(error))
            fs::remove(entry.path(), error);
    }
}

// The replaced file's permission bits, or what a new file would get.
mode_t ModeFor(const fs::path& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Flushes the folder's entries when the folder can be opened: a folder the
// user may write but not read cannot be, and the save stands without it.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The bytes in a new temporary file, flushed to the disk; false on failure.
bool WriteTemporary(int fd, std::string_view bytes, mode_t mode)
{
    const bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

void WriteFileReplacing(std::string_view path, std::string_view bytes)
{
    const fs::path target = SaveTarget(std::string(path));
    const fs::path folder = FolderOf(target);
    RemoveInterruptedSaves(target);
    std::string temporary = (folder / (TemporaryPrefix(target) + std::string(kUniqueLength, 'X'))).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw FileError(FileErrorMessage("ファイルを作成できません", path));
    const bool written = WriteTemporary(fd, bytes, ModeFor(target));
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw FileError(FileErrorMessage("ファイルに書き込めません", path));
    }
    SyncFolder(folder);
}

} // namespace lx
