#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"

#include "support/TestPaths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace lx;

TEST(Files, AnyNameReachesTheSystemAsItIs)
{
    lxtest::TempDir temp;
    // Characters outside CP932, the wave dash Linux input methods type, and a
    // backslash, which is no delimiter here.
    const std::string folder = temp.File("Café 〜 ü");
    CreateDirectories(folder);
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(folder)));
    const std::string name = "表\\x 😀.bin";
    const std::string file = folder + "/" + name;
    {
        FileStream out(file, FileStream::Mode::Create);
        out.WriteInt32(-7);
        out.WriteFloat64(0.25);
        out.WriteBytes("xyz");
        EXPECT_EQ(out.Size(), 15u);
        out.Flush();
    }
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(std::filesystem::directory_iterator(std::filesystem::u8path(folder))->path().filename().string(), name);
    FileStream in(file, FileStream::Mode::Read);
    EXPECT_EQ(in.Size(), 15u);
    EXPECT_EQ(in.ReadInt32(), -7);
    EXPECT_EQ(in.ReadFloat64(), 0.25);
    EXPECT_THROW(in.ReadBytes(4), ReadError);
    EXPECT_EQ(in.ReadBytes(3), "xyz");
    EXPECT_THROW(in.ReadUInt8(), ReadError);
    EXPECT_THROW(FileStream(folder + "/none", FileStream::Mode::Read), FileError);
}

TEST(Files, ReplacingWritesWholeFilesAndLeavesNoTemporaries)
{
    lxtest::TempDir temp;
    const std::string path = temp.File("a.cfg");
    WriteFileReplacing(path, "first version, longer");
    WriteFileReplacing(path, "second");
    EXPECT_EQ(ReadFileBytes(path), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
    EXPECT_THROW(ReadFileBytes(path, 3), FileError);
    // A file whose size already breaks the limit is refused unread: this
    // sparse one would take 3 GiB to read.
    const std::string huge = temp.File("huge.bv2");
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, 3ull << 30);
    try {
        ReadFileBytes(huge);
        FAIL();
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("ファイルが大きすぎます"), std::string::npos);
    }
    std::filesystem::remove(huge);
    EXPECT_THROW(WriteFileReplacing(temp.File("no/such/folder.txt"), "x"), FileError);
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(RemoveFile(path));
    try {
        ReadFileBytes(path);
        FAIL();
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("ファイルを開けません"), std::string::npos);
    }
}

namespace {

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// A save keeps what it replaces: the permission bits, and a symbolic link,
// whose target gets the bytes.
TEST(Files, ReplacingKeepsPermissionsAndWritesThroughLinks)
{
    namespace fs = std::filesystem;
    lxtest::TempDir temp;
    const std::string file = temp.File("private.bv2");
    WriteFileReplacing(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    WriteFileReplacing(file, "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    fs::create_directory(temp.File("links"));
    const std::string link = temp.File("links/design.bv2");
    fs::create_symlink("../private.bv2", link);
    WriteFileReplacing(link, "through the link");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(file), "through the link");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FolderNames(temp.File("links")), std::vector<std::string>{"design.bv2"});
    EXPECT_EQ(FolderNames(temp.Path()), (std::vector<std::string>{"links", "private.bv2"}));
}

// No temporary file stays behind: not after a save that fails at the
// rename, and the leftovers of an interrupted save of the same file (and
// only of that file) go at its next save.
TEST(Files, ReplacingLeavesNoTemporaryFiles)
{
    lxtest::TempDir temp;
    std::filesystem::create_directory(temp.File("a folder.bv2"));
    EXPECT_THROW(WriteFileReplacing(temp.File("a folder.bv2"), "x"), FileError);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"a folder.bv2"});

    for (const char* name : {".a.bv2.lxsave-Ab12Cd", ".b.bv2.lxsave-Ab12Cd", ".a.bv2.lxsave-mine.txt"})
        std::ofstream(temp.File(name)) << "half a save";
    WriteFileReplacing(temp.File("a.bv2"), "saved");
    EXPECT_EQ(FolderNames(temp.Path()),
              (std::vector<std::string>{".a.bv2.lxsave-mine.txt", ".b.bv2.lxsave-Ab12Cd", "a folder.bv2", "a.bv2"}));
}
