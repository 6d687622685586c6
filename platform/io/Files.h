#pragma once
// File-system helpers over paths given as CP932 byte strings in the system's
// form. The system writes "\" as the path delimiter; here it becomes "/".
#include <cstdint>
#include <string>
#include <string_view>

namespace lx {

// UTF-8 path for the operating system: CP932 decoded, "\" turned into "/".
std::string NativePath(std::string_view cp932Path);
// The CP932 form of an operating-system path (the inverse of NativePath,
// keeping "/" as the delimiter).
std::string SystemPath(std::string_view utf8Path);

// "message: path" for a FileError, the path shown as the user typed it.
std::string FileErrorMessage(std::string_view message, std::string_view utf8Path);

bool FileExists(std::string_view cp932Path);
bool DirectoryExists(std::string_view cp932Path);
// Creates the folder and its parents; throws FileError on failure.
void CreateDirectories(std::string_view cp932Path);
// Removes a file; returns false when it did not exist or could not be removed.
bool RemoveFile(std::string_view cp932Path);

// The whole file; throws FileError when it cannot be read or is larger than
// maxBytes (a guard against reading a huge file into memory by mistake).
std::string ReadFileBytes(std::string_view cp932Path, std::uint64_t maxBytes = 1ull << 30);
// Replaces the file without ever leaving it half written: the bytes go to a
// temporary file in the same folder, which is flushed and renamed over it,
// the folder flushed before and after. The replaced file's permission bits
// stay; a symbolic link is written through into its target; the temporary
// file is removed on every failure, and the leftovers of an interrupted save
// of the same file at the next save.
void WriteFileReplacing(std::string_view cp932Path, std::string_view bytes);

} // namespace lx
