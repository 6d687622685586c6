#include "designer/windows/ShippedData.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/text/Cp932.h"

#include "support/TestPaths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace lx;
namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) { return ReadFileBytes(path.string()); }

void Write(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(ShippedData, CatalogueKeepsTheUsersPapersOnce)
{
    const std::string shipped = "\"A\"\t\"B\"\t\r\n\"0\"\t\"A-1\"\t\"A4\"\t\"x\"\t\"210\"\t\"297\"\t\r\n";
    const std::string user = Sjis("\"14\"\t\"私の用紙\"\t\"A4\"\t\"私の用紙\"\t\"210\"\t\"297\"\t");
    const std::string installed = "\"Old\"\r\n\"0\"\t\"OLD-1\"\t\"A4\"\t\"x\"\t\"1\"\t\"1\"\t\r\n" + user + "\r\n";
    // The shipped makers and papers replace the old ones; the user's paper stays.
    EXPECT_EQ(MergedCatalogue(shipped, installed), shipped + user + "\r\n");
    EXPECT_EQ(MergedCatalogue(shipped + user + "\r\n", installed), shipped + user + "\r\n");
    EXPECT_EQ(MergedCatalogue(shipped, ""), shipped);
}

TEST(ShippedData, InstallCopiesTheDataNamesItAndSparesTheUsersFiles)
{
    lxtest::TempDir temp;
    const fs::path program = temp.File("program");
    const std::string registry = temp.File("program/lx-registry.txt");
    fs::create_directories(program);
    RegistryStore(registry).WriteString("HKCR\\CLSID\\{A}", "", "registered by the control");
    InstallShippedData(lxtest::SourcePath("data"), lxtest::SourcePath("designer/windows/shipped"), program.string(),
                       registry);

    EXPECT_EQ(Read(program / "data/paper.cfg"), Read(lxtest::SourcePath("data/paper.cfg")));
    EXPECT_EQ(Read(program / "data/0/OP3001.bv2"), Read(lxtest::SourcePath("data/0/OP3001.bv2")));
    EXPECT_TRUE(fs::is_regular_file(program / fs::u8path("テンプレート/NO_Preview.JPG")));
    EXPECT_TRUE(fs::is_directory(program / fs::u8path("素材")));
    const RegistryStore store(registry);
    EXPECT_EQ(store.ReadString(kProgramRegistryKey, "DataDir"), (program / "data").string() + "/");
    EXPECT_EQ(store.ReadString("HKCR\\CLSID\\{A}", ""), "registered by the control");

    // The user adds a paper; a second install keeps it and restores a damaged shipped file.
    const std::string user = Sjis("\"14\"\t\"ユーザ定義1\"\t\"A4\"\t\"ユーザ定義1\"\t\"210\"\t\"297\"\t\r\n");
    Write(program / "data/paper.cfg", Read(program / "data/paper.cfg") + user);
    Write(program / fs::u8path("data/14/ユーザ定義1.bv2"), "LBLBASE\r\n");
    Write(program / "data/0/OP3001.bv2", "damaged");
    InstallShippedData(lxtest::SourcePath("data"), lxtest::SourcePath("designer/windows/shipped"), program.string(),
                       registry);
    EXPECT_EQ(Read(program / "data/paper.cfg"), Read(lxtest::SourcePath("data/paper.cfg")) + user);
    EXPECT_EQ(Read(program / fs::u8path("data/14/ユーザ定義1.bv2")), "LBLBASE\r\n");
    EXPECT_EQ(Read(program / "data/0/OP3001.bv2"), Read(lxtest::SourcePath("data/0/OP3001.bv2")));

    EXPECT_THROW(InstallShippedData(temp.File("none"), lxtest::SourcePath("designer/windows/shipped"), program.string(),
                                    registry),
                 FileError);
}

// The build placed the data beside the program and named it, so the run
// command starts on it.
TEST(ShippedData, TheBuildPutsTheDataBesideTheDesigner)
{
    const fs::path program = lxtest::BuildPath("designer/windows");
    ASSERT_TRUE(fs::exists(program / "tlxlabel"));
    const RegistryStore store((program / RegistryStore::kFileName).string());
    EXPECT_EQ(store.ReadString(kProgramRegistryKey, "DataDir"), (program / "data").string() + "/");
    EXPECT_TRUE(fs::is_regular_file(program / "data/paper.cfg"));
    EXPECT_TRUE(fs::is_regular_file(program / fs::u8path("テンプレート/NO_Preview.JPG")));
    EXPECT_FALSE(fs::is_empty(program / fs::u8path("素材")));
}
