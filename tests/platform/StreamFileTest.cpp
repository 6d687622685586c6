#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"

#include "support/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace lx;

TEST(Files, Cp932PathsWithBackslashesReachTheRightFile)
{
    lxtest::TempDir temp;
    // "ソ" ends in the byte 0x5C, which must not turn into a delimiter.
    const std::string cp932Folder = SystemPath(temp.Path()) + "\\" + Sjis("ソフト");
    EXPECT_EQ(Sjis("ソ").back(), '\\');
    CreateDirectories(cp932Folder);
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("ソフト")));
    const std::string file = cp932Folder + "\\" + Sjis("表.bin");
    {
        FileStream out(file, FileStream::Mode::Create);
        out.WriteInt32(-7);
        out.WriteFloat64(0.25);
        out.WriteBytes("xyz");
        EXPECT_EQ(out.Size(), 15u);
        out.Flush();
    }
    EXPECT_TRUE(FileExists(file));
    FileStream in(file, FileStream::Mode::Read);
    EXPECT_EQ(in.Size(), 15u);
    EXPECT_EQ(in.ReadInt32(), -7);
    EXPECT_EQ(in.ReadFloat64(), 0.25);
    EXPECT_THROW(in.ReadBytes(4), ReadError);
    EXPECT_EQ(in.ReadBytes(3), "xyz");
    EXPECT_THROW(in.ReadUInt8(), ReadError);
    EXPECT_THROW(FileStream(cp932Folder + "\\none", FileStream::Mode::Read), FileError);
}

TEST(Files, ReplacingWritesWholeFilesAndLeavesNoTemporaries)
{
    lxtest::TempDir temp;
    const std::string path = SystemPath(temp.File("a.cfg"));
    WriteFileReplacing(path, "first version, longer");
    WriteFileReplacing(path, "second");
    EXPECT_EQ(ReadFileBytes(path), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
    EXPECT_THROW(ReadFileBytes(path, 3), FileError);
    EXPECT_THROW(WriteFileReplacing(SystemPath(temp.File("no/such/folder.txt")), "x"), FileError);
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(RemoveFile(path));
    try {
        ReadFileBytes(path);
        FAIL();
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("ファイルを開けません"), std::string::npos);
    }
}
