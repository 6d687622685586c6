#include "designer/windows/ShippedData.h"

#include "designer/model/LxPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/com/ComClient.h"
#include "platform/com/Registration.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/text/DelimitedText.h"
#include "symbol/control/MatrixelProIds.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCatalogueName = "paper.cfg";

bool IsUserPaperLine(const std::string& line)
{
    const auto fields = SplitDelimited(line, '\t');
    return !fields.empty() && fields[0] == std::to_string(kUserPaperCategory);
}

std::string ReadWhole(const fs::path& path) { return ReadFileBytes(path.string()); }

void WriteIfDifferent(const fs::path& path, std::string_view bytes)
{
    std::error_code error;
    if (fs::is_regular_file(path, error) && ReadWhole(path) == bytes)
        return;
    fs::create_directories(path.parent_path(), error);
    WriteFileReplacing(path.string(), bytes);
}

void CopyTree(const fs::path& source, const fs::path& target)
{
    std::error_code error;
    if (!fs::is_directory(source, error))
        throw FileError("フォルダがありません: " + source.string());
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), source);
        if (relative == kCatalogueName)
            continue;
        WriteIfDifferent(target / relative, ReadWhole(entry.path()));
    }
}

} // namespace

std::string MergedCatalogue(std::string_view shipped, std::string_view installed)
{
    std::vector<std::string> lines = SplitLines(shipped);
    const std::vector<std::string> old = SplitLines(installed);
    for (std::size_t i = 1; i < old.size(); ++i)
        if (IsUserPaperLine(old[i]) && std::find(lines.begin(), lines.end(), old[i]) == lines.end())
            lines.push_back(old[i]);
    return JoinLines(lines);
}

void InstallShippedData(const std::string& sourceData, const std::string& sourceShipped,
                        const std::string& programFolder, const std::string& registryFile)
{
    const fs::path data = fs::path(programFolder) / "data";
    CopyTree(sourceData, data);
    CopyTree(sourceShipped, programFolder);
    const fs::path catalogue = data / kCatalogueName;
    std::error_code error;
    const std::string installed = fs::is_regular_file(catalogue, error) ? ReadWhole(catalogue) : std::string();
    WriteIfDifferent(catalogue, MergedCatalogue(ReadWhole(fs::path(sourceData) / kCatalogueName), installed));

    const std::string dataDir = data.string() + "/";
    RegistryStore store(registryFile);
    if (store.ReadString(kProgramRegistryKey, kDataDirValue) != dataDir)
        store.WriteString(kProgramRegistryKey, kDataDirValue, dataDir);
}

std::string InstalledControlLibrary(const std::string& programFolder)
{
    const fs::path library = fs::path(programFolder).parent_path() / LX_INSTALL_LIBDIR / "libMatrixelPro.so";
    std::error_code error;
    return fs::is_regular_file(library, error) ? library.string() : std::string();
}

std::string RegisterInstalledControl(const std::string& programFolder)
{
    const std::string library = InstalledControlLibrary(programFolder);
    if (library.empty())
        return {};
    std::string registered;
    try {
        registered = RegisteredLibrary(RegistryStore(), kMatrixelProClassId);
    } catch (const Error&) {
        // An unreadable store cannot be written either: registering tells.
    }
    std::error_code error;
    if (!registered.empty() && fs::is_regular_file(registered, error))
        return {};
    const HResult status = RegisterServerLibrary(library);
    if (status == kLibraryNotLoaded)
        throw Error("シンボルコントロール（" + library + "）を登録できません。");
    if (!Failed(status))
        return {};
    // The store cannot be written (a read-only or full configuration
    // folder): the control beside the program serves this run.
    RegisterClassForRun(kMatrixelProClassId, library);
    return "シンボルコントロールの登録を保存できません（" + RegistryStore::DefaultPath() +
        "）。今回はプログラムと一緒に入っているコントロールを使います。";
}

} // namespace lx
