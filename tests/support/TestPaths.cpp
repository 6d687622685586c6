#include "TestPaths.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace lxtest {

std::string SourcePath(const std::string& relative) { return std::string(LX_SOURCE_DIR) + "/" + relative; }
std::string BuildPath(const std::string& relative) { return std::string(LX_BUILD_DIR) + "/" + relative; }

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
