#pragma once
// File-system helpers. A path is the system's own bytes (UTF-8 from dialogs,
// the command line and folder listings) and goes to the system unchanged, so
// that any file name opens; only names stored inside files are CP932.
#include <cstdint>
#include <string>
#include <string_view>

namespace lx {

// "message: path" for a FileError, the path shown as the user typed it.
std::string FileErrorMessage(std::string_view message, std::string_view path);

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
// Replaces the file without ever leaving it half written: the bytes go to a
// temporary file with a short name in the same folder, which is flushed and
// renamed over it, the folder flushed after when it can be read. The replaced file's permission bits
// stay; a symbolic link is written through into its target; the temporary
// file is removed on every failure, and the leftovers of an interrupted save
// of the same file at the next save.
void WriteFileReplacing(std::string_view path, std::string_view bytes);

} // namespace lx
