#pragma once
// Where the designer's data lives: the shipped data folder (paper catalogue
// and layouts), named by the registry store or found beside the program,
// and the folder of the user's own papers. The program reads them once, at
// start-up, and hands them to the windows that need them.
#include <string>
#include <string_view>

namespace lx {

// Where the data folder is configured: the value "DataDir" of this key.
inline constexpr std::string_view kProgramRegistryKey = "HKLM\\SOFTWARE\\Quillon\\Brevant2_trial\\";
inline constexpr std::string_view kDataDirValue = "DataDir";

// The two folders of a run, each a system path with its trailing "/".
struct DataFolders {
    std::string data;
    // The user's papers (CP932).
    std::string user;
};

// The folders of this run. A data folder that cannot be found is told to
// the user, and the folder beside the program, where the message points,
// stands in for it.
DataFolders ReadDataFolders();

// The folder holding the shipped "data", "テンプレート" and "素材" (no
// trailing "/"): the program's folder when "data" lies beside it (the build
// tree), else <prefix>/share/tlxlabel of a program in <prefix>/bin.
std::string ShippedFolder(const std::string& programFolder);
// The data folder (a system path ending in "/"): the registry value
// "DataDir" of the store at registryFile; without a usable value (missing,
// empty, not a text, or a store that cannot be read), the folder "data" of
// the shipped folder. Throws Error with the reason when there is neither.
std::string FindDataFolder(const std::string& registryFile, const std::string& programFolder);
// The folder "data" of the shipped folder, with its trailing "/".
std::string DataFolderBesideProgram(const std::string& programFolder);
// The shipped folder of the running program, with a trailing "/".
std::string ShippedFolderPath();
// Where the user's own papers go: the user's data folder, with its "/".
std::string UserPaperFolder();

} // namespace lx
