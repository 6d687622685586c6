#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"

#include "support/ChildProcess.h"
#include "support/TestPaths.h"

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
        out.Commit();
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

using lxtest::FolderNames;

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

// A name as long as the system allows (255 bytes: 85 Japanese characters)
// saves under its own name, again and again.
TEST(Files, ReplacingWorksUnderTheLongestName)
{
    lxtest::TempDir temp;
    std::string name;
    for (int i = 0; i < 81; ++i)
        name += "長";
    name += "x.bv2";
    ASSERT_EQ(name.size(), 248u);
    name = "1234567" + name;
    ASSERT_EQ(name.size(), 255u);
    const std::string path = temp.File(name);
    WriteFileReplacing(path, "first");
    WriteFileReplacing(path, "second");
    EXPECT_EQ(ReadFileBytes(path), "second");
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{name});
}

// A folder the user may write and enter but not list (mode 0333) takes saves:
// only its flush needs read access. Run as an ordinary user, as file modes do
// not bind root.
TEST(Files, ReplacingWorksInAFolderThatCannotBeListed)
{
    namespace fs = std::filesystem;
    lxtest::TempDir temp;
    fs::permissions(temp.Path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    const std::string folder = temp.File("drop box");
    fs::create_directory(folder);
    ASSERT_EQ(::chown(folder.c_str(), lxtest::OrdinaryUid(), lxtest::OrdinaryGid()), 0);
    fs::permissions(folder, static_cast<fs::perms>(0333));
    const std::string file = folder + "/design.bv2";
    const int result = lxtest::RunAsOrdinaryUser([&] {
        if (::opendir(folder.c_str()) != nullptr)
            return 1; // the folder must not be readable for the test to mean anything
        WriteFileReplacing(file, "first");
        WriteFileReplacing(file, "second");
        return ReadFileBytes(file) == "second" ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"design.bv2"});
}

// Only regular files are read: a FIFO (which would wait for a writer) and a
// device (which never ends) are refused at once.
TEST(Files, ReadingRefusesWhatIsNoRegularFile)
{
    lxtest::TempDir temp;
    const std::string fifo = temp.File("design.bv2");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), temp.Path()}) {
        try {
            ReadFileBytes(path);
            ADD_FAILURE() << path;
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()), "通常のファイルではないため開けません: " + path);
        }
    }
}
