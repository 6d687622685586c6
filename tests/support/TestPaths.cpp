#include "TestPaths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace lxtest {

std::string SourcePath(const std::string& relative) { return std::string(LX_SOURCE_DIR) + "/" + relative; }
std::string BuildPath(const std::string& relative) { return std::string(LX_BUILD_DIR) + "/" + relative; }

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lxtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

} // namespace lxtest
