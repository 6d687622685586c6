#pragma once
// File-system helpers. A path is the system's own bytes (UTF-8 from dialogs,
// the command line and folder listings) and goes to the system unchanged, so
// that any file name opens; only names stored inside files are CP932.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/io/Errors.h"

namespace lx {

// "message: path" for a FileError, the path shown as the user typed it.
std::string FileErrorMessage(std::string_view message, std::string_view path);

// The error of a file operation that failed with the system's `error`: its
// reason where the user can act on it (a name too long, a full disk), else
// `otherwise` ("ファイルに書き込めません").
FileError FileFailure(int error, std::string_view path, std::string_view otherwise);

bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
// Creates the folder and its parents; throws FileError on failure.
void CreateDirectories(std::string_view path);
// Removes a file; returns false when it did not exist or could not be removed.
bool RemoveFile(std::string_view path);

// The whole file; throws FileError when it cannot be read, is no regular
// file (a FIFO, a device) or is larger than maxBytes (a guard against reading
// a huge file into memory by mistake).
std::string ReadFileBytes(std::string_view path, std::uint64_t maxBytes = 1ull << 30);
// Replaces the file without ever leaving it half written (FileReplacement).
void WriteFileReplacing(std::string_view path, std::string_view bytes);

// A new version of the file at `path`. Its bytes go to a private temporary
// file in the same folder: unnamed where the file system allows, so that a
// killed save leaves nothing, else under a short name of its own (this
// process and a random part), created exclusively and never through a link.
// Commit flushes it to the disk and puts it in the old file's place; until
// then, and whenever anything fails, the old file stays as it was. A
// symbolic link stays and its target is replaced; the replaced file's
// permission bits stay.
//
// Refused with a FileError that says why: what is not a regular file (a
// FIFO, a device, a socket, directly or through a link), a file the user may
// not write, a name longer than the system allows, a folder where no file
// can be made.
class FileReplacement {
public:
    explicit FileReplacement(std::string_view path);
    // Without Commit the new file goes and the old one stays.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // The path as given.
    const std::string& Path() const { return path_; }
    // The new file, open for reading and writing.
    int Descriptor() const { return fd_; }
    // A name that opens the new file itself, for a writer that takes only a
    // name: whatever becomes of the names in the folder, it reaches no other.
    std::string OpenName() const;
    void Write(std::string_view bytes);
    // What to report when bytes another writer put in through OpenName turn
    // out incomplete.
    FileError IncompleteError() const;
    void Commit();

private:
    void CreateTemporary();
    void CreateNamed(int mode);
    void Discard();
    std::string LinkUnnamed();

    std::string path_;
    std::string target_; // the file replaced: path_ with its links followed
    std::string leaf_; // target_'s name in its folder
    int folder_ = -1;
    int fd_ = -1;
    std::string name_; // of the new file in the folder; empty while it has none
    int oldMode_ = -1; // the replaced file's permission bits, -1 for a new file
    bool committed_ = false;
};

// What the temporary names of a replacement of `path` begin with (".lxsave-"
// and eight hex digits naming the file): this alone is the name an unnamed
// file takes for the instant between being whole and taking the file's
// place; a named one adds "-", the process and a random part.
std::string TemporaryStem(std::string_view path);

} // namespace lx
