#include "designer/windows/DataFolders.h"

#include "platform/app/Messages.h"
#include "platform/app/Program.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"

#include <filesystem>
#include <optional>

namespace lx {

namespace {

// Appends "/" unless the folder already ends in one.
std::string WithDelimiter(std::string folder)
{
    if (!folder.ends_with('/'))
        folder += '/';
    return folder;
}

std::optional<std::string> RegistryDataDir(const std::string& registryFile)
{
    try {
        return RegistryStore(registryFile).ReadString(kProgramRegistryKey, kDataDirValue);
    } catch (const Error&) {
        return std::nullopt; // an unreadable store reads as a missing value
    }
}

} // namespace

std::string ShippedFolder(const std::string& programFolder)
{
    if (DirectoryExists(programFolder + "/data"))
        return programFolder;
    const std::string installed =
        (std::filesystem::path(programFolder).parent_path() / "share" / kUserFolderName).string();
    return DirectoryExists(installed) ? installed : programFolder;
}

std::string DataFolderBesideProgram(const std::string& programFolder)
{
    return WithDelimiter(ShippedFolder(programFolder) + "/data");
}

std::string ShippedFolderPath() { return WithDelimiter(ShippedFolder(ProgramFolder())); }

std::string UserPaperFolder() { return WithDelimiter(UserDataFolder()); }

std::string FindDataFolder(const std::string& registryFile, const std::string& programFolder)
{
    const auto configured = RegistryDataDir(registryFile);
    if (configured && !configured->empty())
        return WithDelimiter(*configured);
    const std::string beside = DataFolderBesideProgram(programFolder);
    if (DirectoryExists(beside))
        return beside;
    throw Error("データフォルダが見つかりません。レジストリ（" + registryFile +
                "）に値 DataDir がなく、プログラムのフォルダにも " + programFolder + "/data がなく、" + programFolder +
                "/../share/" + kUserFolderName + "/data もありません。");
}

DataFolders ReadDataFolders()
{
    // Whatever happens below, the folder never becomes the root: it names
    // the folder beside the program, where the error message points.
    DataFolders folders{DataFolderBesideProgram(ProgramFolder()), UserPaperFolder()};
    guarded([&folders] { folders.data = FindDataFolder(RegistryStore::DefaultPath(), ProgramFolder()); });
    return folders;
}

} // namespace lx
