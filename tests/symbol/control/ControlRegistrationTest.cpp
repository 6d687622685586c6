// Registration of the control library into the registry store, and the
// road every host takes: the class identifier leads to the library, the
// library is loaded and its class factory makes the control.
#include <gtest/gtest.h>

#include <filesystem>

#include "ControlTesting.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComClient.h"
#include "platform/com/PropertyPage.h"
#include "platform/com/Registration.h"
#include "platform/registry/Registry.h"
#include "support/TestPaths.h"
#include "symbol/encoders/SymbolPainter.h"

// The library's own exports (the test binary links the library).
extern "C" lx::HResult DllGetClassObject(const lx::Guid*, const lx::Guid*, void**);
extern "C" lx::HResult DllCanUnloadNow();

using namespace lx;

namespace {

std::string LibraryPath() { return lxtest::BuildPath("symbol/control/libMatrixelPro.so"); }

TEST(ControlRegistration, RegisterCreateByClassIdentifierUnregister)
{
    lxtest::TempDir dir;
    lxtest::TemporaryRegistry registry(dir.File("registry.txt"));
    EXPECT_EQ(CreateInstance(kMatrixelProClassId, Dispatch::kIid, ComPtr<Dispatch>().Out()), kClassNotRegistered);

    ASSERT_EQ(RegisterServerLibrary(LibraryPath()), kOk);
    const RegistryStore store;
    const std::string key = "HKCR\\CLSID\\" + kMatrixelProClassId.ToString();
    EXPECT_EQ(store.ReadString(key, ""), "MatrixelPro Control");
    EXPECT_EQ(std::filesystem::path(*store.ReadString(key + "\\InprocServer32", "")),
              std::filesystem::canonical(LibraryPath()));
    EXPECT_EQ(store.ReadString(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(store.ReadString(key + "\\ProgID", ""), "MATRIXELPRO.MatrixelProCtrl.1");
    EXPECT_EQ(store.ReadString("HKCR\\MATRIXELPRO.MatrixelProCtrl.1\\CLSID", ""), kMatrixelProClassId.ToString());
    EXPECT_EQ(store.ReadString("HKCR\\CLSID\\" + kMatrixelProPageClassId.ToString(), ""), "MatrixelPro Property Page");

    // As the designer's symbol objects do it.
    ComPtr<Dispatch> control = CreateObject<Dispatch>(kMatrixelProClassId);
    DispatchDriver driver(control);
    driver.Put(kDispEccLevel, Variant(std::int16_t{3}));
    driver.Put(kDispInputData, Variant::Text("HELLO"));
    driver.Call(kDispIdRefresh);
    EXPECT_EQ(driver.Get(kDispNumCell).AsInt16(), 21);
    EXPECT_TRUE(control.As<OleControl>());
    EXPECT_TRUE(control.As<PersistStreamInit>());
    EXPECT_FALSE(control.As<ClassFactory>());

    ASSERT_EQ(UnregisterServerLibrary(LibraryPath()), kOk);
    const RegistryStore after;
    EXPECT_FALSE(after.KeyExists(key));
    EXPECT_FALSE(after.KeyExists("HKCR\\MATRIXELPRO.MatrixelProCtrl.1"));
    EXPECT_FALSE(after.KeyExists("HKCR\\TypeLib\\" + kMatrixelProTypeLibId.ToString()));
    EXPECT_THROW(CreateObject<Dispatch>(kMatrixelProClassId), Error);
}

TEST(ControlRegistration, UnwritableStoreFailsAtTheTypeLibraryAndRegistersNoClass)
{
    lxtest::TempDir dir;
    // A store file inside a path that cannot be a folder.
    const std::string blocker = dir.File("blocker");
    {
        std::FILE* f = std::fopen(blocker.c_str(), "w");
        std::fclose(f);
    }
    lxtest::TemporaryRegistry registry(blocker + "/registry.txt");
    EXPECT_EQ(static_cast<std::uint32_t>(RegisterServerLibrary(LibraryPath())), 0x80040200u);
    EXPECT_FALSE(std::filesystem::exists(blocker + "/registry.txt"));
}

TEST(ControlRegistration, FactoryAndUnloadTest)
{
    const auto entry = reinterpret_cast<GetClassObjectEntry>(&DllGetClassObject);
    ComPtr<ClassFactory> factory;
    ASSERT_EQ(entry(&kMatrixelProClassId, &ClassFactory::kIid, factory.Out()), kOk);
    EXPECT_EQ(DllCanUnloadNow(), kFalse); // the factory itself is alive
    {
        ComPtr<Dispatch> control;
        ASSERT_EQ(factory->CreateInstance(Dispatch::kIid, control.Out()), kOk);
        ComPtr<PropertyPage> wrong;
        EXPECT_EQ(factory->CreateInstance(PropertyPage::kIid, wrong.Out()), kNoInterface);
    }
    factory.Reset();
    EXPECT_EQ(DllCanUnloadNow(), kOk);
    ComPtr<ClassFactory> none;
    const Guid unknown{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(entry(&unknown, &ClassFactory::kIid, none.Out()), kClassNotAvailable);
}

TEST(ControlRegistration, DefaultFontNameStartsAsArialAndHoldsNinetyNineBytes)
{
    EXPECT_EQ(DefaultFontName(), "Arial");
    SetDefaultFontName(std::string(99, 'F'));
    EXPECT_EQ(DefaultFontName(), std::string(99, 'F'));
    SetDefaultFontName(std::string(120, 'G'));
    EXPECT_EQ(DefaultFontName(), std::string(99, 'G'));
    // A double-byte character that would straddle the end is left out whole.
    SetDefaultFontName(std::string(98, 'H') + "\x82\xA0");
    EXPECT_EQ(DefaultFontName(), std::string(98, 'H'));
    SetDefaultFontName("Arial");
}

} // namespace
