#include "platform/io/Files.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace lx {

namespace fs = std::filesystem;

std::string NativePath(std::string_view cp932Path)
{
    // Convert first: a CP932 trail byte may be 0x5C, a UTF-8 sequence never is.
    std::string path = Cp932ToUtf8(cp932Path);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string SystemPath(std::string_view utf8Path) { return Utf8ToCp932(utf8Path); }

std::string FileErrorMessage(std::string_view message, std::string_view utf8Path)
{
    std::string text(message);
    text += ": ";
    text += utf8Path;
    return text;
}

bool FileExists(std::string_view cp932Path)
{
    std::error_code error;
    return fs::is_regular_file(NativePath(cp932Path), error);
}

bool DirectoryExists(std::string_view cp932Path)
{
    std::error_code error;
    return fs::is_directory(NativePath(cp932Path), error);
}

void CreateDirectories(std::string_view cp932Path)
{
    const std::string path = NativePath(cp932Path);
    std::error_code error;
    fs::create_directories(path, error);
    if (error || !fs::is_directory(path, error))
        throw FileError(FileErrorMessage("フォルダを作成できません", path));
}

bool RemoveFile(std::string_view cp932Path)
{
    std::error_code error;
    return fs::remove(NativePath(cp932Path), error);
}

std::string ReadFileBytes(std::string_view cp932Path, std::uint64_t maxBytes)
{
    const std::string path = NativePath(cp932Path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw FileError(FileErrorMessage("ファイルを開けません", path));
    const auto tooLarge = [&] {
        std::fclose(file);
        return FileError(FileErrorMessage("ファイルが大きすぎます", path));
    };
    // A file already over the limit is refused before any of it is read.
    struct stat info {};
    const bool sized = ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    if (sized && static_cast<std::uint64_t>(info.st_size) > maxBytes)
        throw tooLarge();
    std::string bytes;
    if (sized)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        // The file may grow while it is read, or have no size at all.
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

void WriteFileReplacing(std::string_view cp932Path, std::string_view bytes)
{
    const std::string path = NativePath(cp932Path);
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw FileError(FileErrorMessage("ファイルを作成できません", path));
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const bool ok = written == bytes.size() && ::fsync(fd) == 0 && ::fchmod(fd, 0644) == 0;
    ::close(fd);
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw FileError(FileErrorMessage("ファイルに書き込めません", path));
    }
}

} // namespace lx
