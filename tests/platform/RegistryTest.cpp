#include "platform/registry/Registry.h"
#include "platform/app/Program.h"
#include "platform/io/Files.h"

#include "support/ScopedEnv.h"
#include "support/TestPaths.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

using namespace lx;

namespace {

constexpr const char* kDesignerKey = "HKLM\\SOFTWARE\\Quillon\\Brevant2_trial\\";

std::string FileText(const std::string& path) { return ReadFileBytes(path); }

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

} // namespace

TEST(Registry, ValuesSurviveTheFileWithAnyCharacters)
{
    lxtest::TempDir temp;
    const std::string path = temp.File("store.txt");
    const std::string awkward = "C:\\データ\\\"quoted\"\nline\ttab\x01\x7f end";
    {
        RegistryStore store(path);
        store.WriteString(kDesignerKey, "DataDir", "/srv/ラベル/data/");
        store.WriteString(kDesignerKey, "Awkward", awkward);
        store.WriteString(kDesignerKey, "", "default");
        store.WriteValue("HKCR\\CLSID\\{1}", "MiscStatus", RegistryValue(std::uint32_t{0x20191}));
    }
    const RegistryStore reread(path);
    // Root short forms, letter case and surplus delimiters name the same key.
    EXPECT_EQ(reread.ReadString("HKEY_LOCAL_MACHINE\\software\\QUILLON\\Brevant2_trial", "datadir"),
              "/srv/ラベル/data/");
    EXPECT_EQ(reread.ReadString("\\HKLM\\\\SOFTWARE\\Quillon\\Brevant2_trial", "Awkward"), awkward);
    EXPECT_EQ(reread.ReadString(kDesignerKey, ""), "default");
    EXPECT_EQ(reread.ReadValue("HKEY_CLASSES_ROOT\\CLSID\\{1}", "MiscStatus"), RegistryValue(std::uint32_t{0x20191}));
    // A number is not a string, and a missing value or key is nothing.
    EXPECT_EQ(reread.ReadString("HKCR\\CLSID\\{1}", "MiscStatus"), std::nullopt);
    EXPECT_EQ(reread.ReadString(kDesignerKey, "Missing"), std::nullopt);
    EXPECT_EQ(reread.ReadString("HKLM\\SOFTWARE\\Other", "DataDir"), std::nullopt);
    // The file stays one line per item, readable by a person.
    const std::string text = FileText(path);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillon\\Brevant2_trial]\n"), std::string::npos);
    EXPECT_NE(text.find("\"DataDir\"=\"/srv/ラベル/data/\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"MiscStatus\"=dword:00020191\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos);
}

TEST(Registry, KeysFormATreeThatDeletesWhole)
{
    lxtest::TempDir temp;
    RegistryStore store(temp.File("store.txt"));
    store.WriteString("HKCR\\CLSID\\{A}\\InprocServer32", "", "/lib/a.so");
    store.WriteString("HKCR\\CLSID\\{A}\\InprocServer32", "ThreadingModel", "Apartment");
    store.WriteString("HKCR\\CLSID\\{A}\\ProgID", "", "Lib.A.1");
    store.CreateKey("HKCR\\CLSID\\{B}");
    store.WriteString("HKCR\\CLSID-x", "", "neighbour with a longer name");

    EXPECT_TRUE(store.KeyExists("HKCR\\CLSID")); // only implied by its sub-keys
    EXPECT_TRUE(store.KeyExists("HKCR\\CLSID\\{b}"));
    EXPECT_FALSE(store.KeyExists("HKCR\\CLSID\\{C}"));
    EXPECT_EQ(store.SubKeys("HKCR\\CLSID"), (std::vector<std::string>{"{A}", "{B}"}));
    EXPECT_EQ(store.SubKeys("HKCR\\CLSID\\{A}"), (std::vector<std::string>{"InprocServer32", "ProgID"}));
    EXPECT_EQ(store.ValueNames("HKCR\\CLSID\\{A}\\InprocServer32"), (std::vector<std::string>{"", "ThreadingModel"}));

    EXPECT_TRUE(store.DeleteValue("HKCR\\CLSID\\{A}\\InprocServer32", "threadingmodel"));
    EXPECT_FALSE(store.DeleteValue("HKCR\\CLSID\\{A}\\InprocServer32", "ThreadingModel"));
    EXPECT_TRUE(store.DeleteKey("HKCR\\CLSID\\{A}"));
    EXPECT_FALSE(store.DeleteKey("HKCR\\CLSID\\{A}"));
    EXPECT_FALSE(store.KeyExists("HKCR\\CLSID\\{A}\\ProgID"));
    EXPECT_TRUE(store.KeyExists("HKCR\\CLSID\\{B}"));
    EXPECT_EQ(store.ReadString("HKCR\\CLSID-x", ""), "neighbour with a longer name");
    EXPECT_EQ(RegistryStore(store.Path()).SubKeys("HKCR\\CLSID"), (std::vector<std::string>{"{B}"}));
}

TEST(Registry, WritersSharingTheFileKeepEachOthersValues)
{
    lxtest::TempDir temp;
    const std::string path = temp.File("store.txt");
    RegistryStore designer(path);
    RegistryStore control(path); // opened before the designer wrote anything
    designer.WriteString(kDesignerKey, "DataDir", "/data/");
    control.WriteString("HKCR\\CLSID\\{A}", "", "control");
    EXPECT_EQ(control.ReadString(kDesignerKey, "DataDir"), "/data/");
    const RegistryStore reread(path);
    EXPECT_EQ(reread.ReadString(kDesignerKey, "DataDir"), "/data/");
    EXPECT_EQ(reread.ReadString("HKCR\\CLSID\\{A}", ""), "control");
}

TEST(Registry, DamagedLinesAreLeftOutNamedAndKeptBeforeARewrite)
{
    lxtest::TempDir temp;
    const std::string path = temp.File("store.txt");
    EXPECT_FALSE(RegistryStore(path).KeyExists("HKLM\\SOFTWARE")); // no file: empty store
    EXPECT_TRUE(RegistryStore(path).DamagedLines().empty());
    // Each bad line between two sound keys: the sound values stay.
    for (const char* bad : {
             "\"v\"=\"unterminated", // text not closed
             "\"v\"=\"a\\q\"", // unknown escape
             "\"v\"=\"a\\x4\"", // short hex escape
             "\"v\"=\"a\" trailing", // text after the value
             "\"v\"=dword:1234", // short number
             "\"v\"=dword:0000000g", // not hex
             "\"v\"", // no "="
             "bare=1", // unquoted name
             "\"v\"=\"x\\", // escape at the end of the line
         }) {
        WriteText(path, std::string("[HKLM\\A]\n\"keep\"=\"1\"\n") + bad + "\n[HKLM\\B]\n@=\"2\"\n");
        const RegistryStore store(path);
        EXPECT_EQ(store.ReadString("HKLM\\A", "keep"), "1") << bad;
        EXPECT_EQ(store.ReadString("HKLM\\B", ""), "2") << bad;
        EXPECT_FALSE(store.ReadValue("HKLM\\A", "v")) << bad;
        ASSERT_EQ(store.DamagedLines().size(), 1u) << bad;
        EXPECT_NE(store.DamagedLines()[0].find("3 行目"), std::string::npos) << store.DamagedLines()[0];
    }
    // A key line that cannot be read takes its values with it, and only them.
    for (const char* badKey : {"[HKLM\\SOFTWARE", "[NOROOT\\SOFTWARE]"}) {
        WriteText(path,
                  std::string("\"early\"=\"x\"\n[HKLM\\A]\n@=\"1\"\n") + badKey +
                      "\n\"lost\"=\"y\"\n[HKLM\\B]\n@=\"2\"\n");
        const RegistryStore store(path);
        EXPECT_EQ(store.ReadString("HKLM\\A", ""), "1");
        EXPECT_EQ(store.ReadString("HKLM\\B", ""), "2");
        EXPECT_EQ(store.DamagedLines().size(), 3u) << badKey; // the value before any key, the key, its value
        EXPECT_FALSE(store.KeyExists("HKLM\\SOFTWARE"));
    }

    // The user is told which file; a change keeps the damaged text first.
    const std::string damaged = "[HKLM\\A]\n@=\"1\"\nnot a line\n";
    WriteText(path, damaged);
    RegistryStore store(path);
    const std::string message = store.DamageMessage();
    EXPECT_NE(message.find("「" + path + "」が壊れています"), std::string::npos) << message;
    EXPECT_NE(message.find("3 行目"), std::string::npos) << message;
    EXPECT_EQ(store.DamagedCopyPath(), path + ".damaged");
    EXPECT_NE(message.find(store.DamagedCopyPath()), std::string::npos) << message;
    EXPECT_EQ(FileText(path), damaged) << "reading never rewrites";
    store.WriteString("HKLM\\A", "new", "x");
    EXPECT_EQ(FileText(path + ".damaged"), damaged);
    EXPECT_TRUE(RegistryStore(path).DamagedLines().empty());
    EXPECT_EQ(RegistryStore(path).ReadString("HKLM\\A", ""), "1");
    // A second damage never overwrites the first copy.
    WriteText(path, damaged + "again\n");
    EXPECT_EQ(RegistryStore(path).DamagedCopyPath(), path + ".damaged-2");
    RegistryStore(path).WriteString("HKLM\\A", "newer", "y");
    EXPECT_EQ(FileText(path + ".damaged"), damaged);
    EXPECT_EQ(FileText(path + ".damaged-2"), damaged + "again\n");
    EXPECT_TRUE(RegistryStore(path).DamageMessage().empty());

    WriteText(path, "# comment\r\n; another\r\n\r\n[HKLM\\A]\r\n@=\"crlf\"\r\n");
    EXPECT_EQ(RegistryStore(path).ReadString("HKLM\\A", ""), "crlf");
    EXPECT_THROW(store.ReadString("SOFTWARE\\Quillon", "DataDir"), RegistryError);
    EXPECT_THROW(store.WriteString("", "x", "y"), RegistryError);
    EXPECT_THROW(store.CreateKey("HKLM\\A\nB"), RegistryError);
    // A store whose folder is missing makes it when written.
    RegistryStore nowhere(temp.File("none/deeper/store.txt"));
    EXPECT_FALSE(nowhere.KeyExists("HKLM\\A"));
    nowhere.WriteString("HKLM\\A", "v", "x");
    EXPECT_EQ(RegistryStore(temp.File("none/deeper/store.txt")).ReadString("HKLM\\A", "v"), "x");
}

TEST(Registry, DefaultStoreIsNamedByTheEnvironmentElseLiesInTheUsersConfiguration)
{
    lxtest::ScopedEnv registry("LX_REGISTRY_FILE", "/tmp/elsewhere.txt");
    EXPECT_EQ(RegistryStore::DefaultPath(), "/tmp/elsewhere.txt");
    ::unsetenv("LX_REGISTRY_FILE");
    ASSERT_FALSE(std::ifstream(ProgramFolder() + "/lx-registry.txt").good()) << "the test folder has no store";
    lxtest::ScopedEnv home("HOME", "/home/はな");
    {
        lxtest::ScopedEnv config("XDG_CONFIG_HOME", "/srv/設定");
        EXPECT_EQ(RegistryStore::DefaultPath(), "/srv/設定/tlxlabel/lx-registry.txt");
    }
    {
        // A relative base folder is ignored, as the basedir rules say.
        lxtest::ScopedEnv config("XDG_CONFIG_HOME", "relative");
        EXPECT_EQ(RegistryStore::DefaultPath(), "/home/はな/.config/tlxlabel/lx-registry.txt");
    }
    lxtest::ScopedEnv config("XDG_CONFIG_HOME", "");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryStore::DefaultPath(), "/home/はな/.config/tlxlabel/lx-registry.txt");
    lxtest::ScopedEnv data("XDG_DATA_HOME", "");
    EXPECT_EQ(UserDataFolder(), "/home/はな/.local/share/tlxlabel");
}
