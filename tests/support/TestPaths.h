#pragma once
// Paths of the test run: the source tree (for checked-in data) and fresh
// temporary folders that are removed when the test ends.
#include <string>
#include <vector>

namespace lxtest {

// Absolute path of a file under the source tree, e.g. SourcePath("data/paper.cfg").
std::string SourcePath(const std::string& relative);
// Absolute path of a file under the build tree.
std::string BuildPath(const std::string& relative);

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // UTF-8 path of the folder, without a trailing "/".
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace lxtest
