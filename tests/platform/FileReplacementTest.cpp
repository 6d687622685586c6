#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/io/Stream.h"

#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/TestPaths.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace lx;
using lxtest::FolderNames;
namespace fs = std::filesystem;

namespace {

// The message of the FileError that `save` throws; empty when it throws none.
std::string Refusal(const std::function<void()>& save)
{
    try {
        save();
    } catch (const FileError& error) {
        return error.what();
    }
    return {};
}

// What a path is: "fifo", "device", "socket", "link", "file" or "none".
std::string KindOf(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "none";
    if (S_ISFIFO(info.st_mode))
        return "fifo";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return "device";
    if (S_ISSOCK(info.st_mode))
        return "socket";
    return S_ISLNK(info.st_mode) ? "link" : "file";
}

// Whether the folder's file system gives unnamed temporary files.
bool HasUnnamedTemporaries(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Saves under both kinds of temporary file: unnamed, as this file system
// gives them, and named, as on file systems without them.
class Replacement : public ::testing::TestWithParam<bool> {
protected:
    bool Named() const { return GetParam(); }

    lxtest::ScopedEnv named{"LX_NAMED_TEMPORARY_FILES", GetParam() ? "1" : "0"};
    lxtest::TempDir temp;
};

INSTANTIATE_TEST_SUITE_P(Files, Replacement, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

} // namespace

// A save killed half-way (the file-size limit's signal ends it after three
// bytes) leaves the old file whole. An unnamed temporary file goes with the
// process; a named one goes at the next save of the same file, and only
// that file's.
TEST_P(Replacement, KilledSavesLeaveTheOldFileAndNoTemporaries)
{
    for (const char* name : {"a.bv2", "b.bv2"}) {
        WriteFileReplacing(temp.File(name), "old");
        EXPECT_TRUE(lxtest::KilledBySignal([&] {
            const rlimit limit{3, 3};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            WriteFileReplacing(temp.File(name), "a save that never ends");
        }));
        EXPECT_EQ(ReadFileBytes(temp.File(name)), "old");
    }
    WriteFileReplacing(temp.File(".a.bv2.lxsave-mine.txt"), "the user's own");
    EXPECT_EQ(FolderNames(temp.Path()).size(), Named() ? 5u : 3u);
    WriteFileReplacing(temp.File("a.bv2"), "saved");
    EXPECT_EQ(ReadFileBytes(temp.File("a.bv2")), "saved");
    EXPECT_EQ(FolderNames(temp.Path()).size(), Named() ? 4u : 3u) << "b.bv2's leftover waits for b.bv2's save";
    WriteFileReplacing(temp.File("b.bv2"), "saved");
    EXPECT_EQ(FolderNames(temp.Path()), (std::vector<std::string>{".a.bv2.lxsave-mine.txt", "a.bv2", "b.bv2"}));
}

// The name every save of a file may take for an instant: what a killed save
// left there goes, and a link planted there is never followed.
TEST_P(Replacement, TheCommonTemporaryNameIsClearedAndNeverFollowed)
{
    const std::string path = temp.File("design.bv2");
    const std::string stem = temp.File(TemporaryStem(path));
    WriteFileReplacing(stem, "left by a killed save");
    WriteFileReplacing(path, "first");
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"design.bv2"});

    const std::string victim = temp.File("victim.txt");
    WriteFileReplacing(victim, "someone else's");
    fs::create_symlink(victim, stem);
    fs::create_symlink(victim, temp.File(TemporaryStem(path) + "-1-00000000"));
    WriteFileReplacing(path, "second");
    EXPECT_EQ(ReadFileBytes(path), "second");
    EXPECT_EQ(ReadFileBytes(victim), "someone else's");
    EXPECT_EQ(KindOf(stem), "link");
    EXPECT_EQ(FolderNames(temp.Path()).size(), 4u);
}

// A write that the disk cannot take (here the file-size limit, which gives
// the same error) leaves the old file byte for byte and says why; so does a
// stream that is never committed.
TEST_P(Replacement, AFullDiskLeavesTheOldFileAndSaysSo)
{
    const std::string path = temp.File("design.bv2");
    const std::string old(100, 'o');
    WriteFileReplacing(path, old);
    const std::string bigger(4096, 'n');
    {
        const lxtest::FileSizeLimit full(1000);
        const std::string refused = "ファイルが大きすぎるため書き込めません: " + path;
        EXPECT_EQ(Refusal([&] { WriteFileReplacing(path, bigger); }), refused);
        EXPECT_EQ(Refusal([&] {
                      FileStream stream(path, FileStream::Mode::Create);
                      stream.WriteBytes(bigger);
                      stream.Commit();
                  }),
                  refused);
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    {
        FileStream stream(path, FileStream::Mode::Create);
        stream.WriteBytes("never committed");
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"design.bv2"});
}

// Two programs saving the same file at once: every save succeeds, and the
// file is always one of the two versions, whole.
TEST_P(Replacement, TwoProcessesSavingOneFileAtOnceBothSucceed)
{
    const std::string path = temp.File("design.bv2");
    const std::string versions[] = {std::string(300000, 'A') + "end", std::string(200000, 'B') + "end"};
    WriteFileReplacing(path, versions[0]);
    pid_t savers[2];
    for (int i = 0; i < 2; ++i)
        savers[i] = lxtest::StartChild([&, i] {
            for (int n = 0; n < 50; ++n)
                WriteFileReplacing(path, versions[i]);
            return 0;
        });
    int wrong = 0;
    while (lxtest::ChildRunning(savers[0]) || lxtest::ChildRunning(savers[1])) {
        const std::string seen = ReadFileBytes(path);
        wrong += seen != versions[0] && seen != versions[1];
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(lxtest::AwaitChild(savers[0]), 0);
    EXPECT_EQ(lxtest::AwaitChild(savers[1]), 0);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"design.bv2"});
}

// A FIFO, a device, a socket and links to them are refused and stay what
// they were; nothing is made beside them.
TEST_P(Replacement, WhatIsNoRegularFileIsRefusedAndStaysAsItWas)
{
    const std::string fifo = temp.File("pipe.bv2");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socket = temp.File("socket.bv2");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socket.size(), sizeof address.sun_path);
    socket.copy(address.sun_path, socket.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink(fifo, temp.File("to pipe.bv2"));
    fs::create_symlink("/dev/null", temp.File("to null.bv2"));
    const auto before = FolderNames(temp.Path());
    const std::pair<std::string, std::string> targets[] = {{fifo, "fifo"},
                                                           {"/dev/null", "device"},
                                                           {socket, "socket"},
                                                           {temp.File("to pipe.bv2"), "link"},
                                                           {temp.File("to null.bv2"), "link"}};
    for (const auto& [path, kind] : targets) {
        const std::string refused = "通常のファイルではないため書き込めません: " + path;
        EXPECT_EQ(Refusal([&] { WriteFileReplacing(path, "design"); }), refused);
        EXPECT_EQ(Refusal([&] { FileStream(path, FileStream::Mode::Create); }), refused);
        EXPECT_EQ(KindOf(path), kind);
    }
    EXPECT_EQ(KindOf(fifo), "fifo");
    EXPECT_EQ(FolderNames(temp.Path()), before);
    ::close(listener);
}

// A file the user may not write is refused as writing it in place would
// be, though the folder would let a new file take its name; a name longer
// than the system allows is told as such. Run as an ordinary user, as file
// modes do not bind root.
TEST_P(Replacement, AReadOnlyFileOrATooLongNameIsRefusedWithItsReason)
{
    const std::string path = temp.File("read only.bv2");
    WriteFileReplacing(path, "kept");
    ASSERT_EQ(::chown(temp.Path().c_str(), lxtest::OrdinaryUid(), lxtest::OrdinaryGid()), 0);
    ASSERT_EQ(::chown(path.c_str(), lxtest::OrdinaryUid(), lxtest::OrdinaryGid()), 0);
    fs::permissions(path, static_cast<fs::perms>(0444));
    const int result = lxtest::RunAsOrdinaryUser([&] {
        return Refusal([&] { WriteFileReplacing(path, "replaced"); }) == "ファイルを作成できません: " + path ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFileBytes(path), "kept");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, static_cast<fs::perms>(0444));

    const std::string tooLong = temp.File(std::string(252, 'n') + ".bv2");
    EXPECT_EQ(Refusal([&] { WriteFileReplacing(tooLong, "x"); }), "ファイル名が長すぎます: " + tooLong);
    EXPECT_EQ(FolderNames(temp.Path()), std::vector<std::string>{"read only.bv2"});
}

// Saves into a folder the user may write but not list (mode 0333), killed
// at random moments a hundred times: an unnamed temporary file goes with
// its process, so nothing piles up that could never be cleared, and the
// file is always one whole version.
TEST(Files, KillsDuringSavesIntoAFolderThatCannotBeListedLeaveNothing)
{
    lxtest::TempDir temp;
    if (!HasUnnamedTemporaries(temp.Path()))
        GTEST_SKIP() << "this file system has no unnamed temporary files";
    fs::permissions(temp.Path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    const std::string folder = temp.File("drop box");
    fs::create_directory(folder);
    ASSERT_EQ(::chown(folder.c_str(), lxtest::OrdinaryUid(), lxtest::OrdinaryGid()), 0);
    fs::permissions(folder, static_cast<fs::perms>(0333));
    const std::string path = folder + "/design.bv2";
    const std::string versions[] = {std::string(1 << 21, 'A'), std::string(3 << 20, 'B')};
    ASSERT_EQ(lxtest::RunAsOrdinaryUser([&] {
                  WriteFileReplacing(path, versions[0]);
                  return 0;
              }),
              0);
    std::mt19937 random(31);
    for (int kill = 0; kill < 100; ++kill) {
        const pid_t saver = lxtest::StartChild(
            [&] {
                for (int n = 0;; ++n)
                    WriteFileReplacing(path, versions[n % 2]);
                return 0;
            },
            true);
        ASSERT_GT(saver, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 20000));
        ::kill(saver, SIGKILL);
        EXPECT_EQ(lxtest::AwaitChild(saver), -1);
        const std::string seen = ReadFileBytes(path);
        ASSERT_TRUE(seen == versions[0] || seen == versions[1]) << "after kill " << kill;
    }
    // A kill in the instant between naming and replacing leaves the common
    // name, which the next save clears.
    ASSERT_EQ(lxtest::RunAsOrdinaryUser([&] {
                  WriteFileReplacing(path, "last");
                  return 0;
              }),
              0);
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"design.bv2"});
}
