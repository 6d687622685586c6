#include "platform/app/Program.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"

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
    EXPECT_EQ(reread.ReadString("HKEY_LOCAL_MACHINE\\software\\QUILLON\\Brevant2_trial", "datadir"), "/srv/ラベル/data/");
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

TEST(Registry, DamagedFilesAndBadKeysAreCleanErrors)
{
    lxtest::TempDir temp;
    const std::string path = temp.File("store.txt");
    EXPECT_FALSE(RegistryStore(path).KeyExists("HKLM\\SOFTWARE")); // no file: empty store
    for (const char* text : {
             "\"DataDir\"=\"x\"\n",                 // value before any key
             "[HKLM\\SOFTWARE\n",                   // key line not closed
             "[NOROOT\\SOFTWARE]\n",                // unknown root
             "[HKLM\\A]\n\"v\"=\"unterminated\n",   // text not closed
             "[HKLM\\A]\n\"v\"=\"a\\q\"\n",         // unknown escape
             "[HKLM\\A]\n\"v\"=\"a\\x4\"\n",        // short hex escape
             "[HKLM\\A]\n\"v\"=\"a\" trailing\n",   // text after the value
             "[HKLM\\A]\n\"v\"=dword:1234\n",       // short number
             "[HKLM\\A]\n\"v\"=dword:0000000g\n",   // not hex
             "[HKLM\\A]\n\"v\"\n",                  // no "="
             "[HKLM\\A]\nbare=1\n",                 // unquoted name
             "[HKLM\\A]\n\"v\"=\"x\\",              // escape at the very end
         }) {
        WriteText(path, text);
        EXPECT_THROW(RegistryStore{path}, RegistryError) << text;
    }
    WriteText(path, "# comment\r\n; another\r\n\r\n[HKLM\\A]\r\n@=\"crlf\"\r\n");
    EXPECT_EQ(RegistryStore(path).ReadString("HKLM\\A", ""), "crlf");
    RegistryStore store(path);
    EXPECT_THROW(store.ReadString("SOFTWARE\\Quillon", "DataDir"), RegistryError);
    EXPECT_THROW(store.WriteString("", "x", "y"), RegistryError);
    EXPECT_THROW(store.CreateKey("HKLM\\A\nB"), RegistryError);
    // A store in a folder that does not exist reads empty and fails to write.
    RegistryStore nowhere(temp.File("none/store.txt"));
    EXPECT_THROW(nowhere.WriteString("HKLM\\A", "v", "x"), FileError);
    EXPECT_FALSE(nowhere.KeyExists("HKLM\\A"));
}

TEST(Registry, DefaultStoreIsNamedByTheEnvironmentOrLiesBesideTheProgram)
{
    const char* saved = std::getenv("LX_REGISTRY_FILE");
    const std::string previous = saved ? saved : "";
    ::setenv("LX_REGISTRY_FILE", "/tmp/elsewhere.txt", 1);
    EXPECT_EQ(RegistryStore::DefaultPath(), "/tmp/elsewhere.txt");
    ::unsetenv("LX_REGISTRY_FILE");
    EXPECT_EQ(RegistryStore::DefaultPath(), ProgramFolder() + "/lx-registry.txt");
    EXPECT_TRUE(std::ifstream(ProgramPath()).good());
    if (saved)
        ::setenv("LX_REGISTRY_FILE", previous.c_str(), 1);
}
