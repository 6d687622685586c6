#include "DesignerFixture.h"

#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/text/Cp932.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <filesystem>
#include <fstream>

using namespace lx;
using lxtest::DesignerTest;

namespace {

struct RegistryCase {
    const char* name;
    std::function<void(RegistryStore&)> fill;
    bool programHasData;
    // Expected folder (UTF-8, relative to the test folder); empty: an error.
    std::string expected;
};

} // namespace

TEST(DataFolder, RegistryValueElseTheFolderBesideTheProgramElseAClearError)
{
    const std::vector<RegistryCase> cases{
        {"value", [](RegistryStore& s) { s.WriteString(kProgramRegistryKey, "DataDir", "/srv/データ/"); }, true,
         "/srv/データ/"},
        {"value without delimiter",
         [](RegistryStore& s) { s.WriteString(kProgramRegistryKey, "DataDir", "/srv/data"); }, false, "/srv/data/"},
        {"value outside CP932", [](RegistryStore& s) { s.WriteString(kProgramRegistryKey, "DataDir", "/srv/Café 〜"); },
         false, "/srv/Café 〜/"},
        {"missing value", [](RegistryStore&) {}, true, "@/program/data/"},
        {"empty value", [](RegistryStore& s) { s.WriteString(kProgramRegistryKey, "DataDir", ""); }, true,
         "@/program/data/"},
        {"number value",
         [](RegistryStore& s) { s.WriteValue(kProgramRegistryKey, "DataDir", RegistryValue(std::uint32_t{1})); }, true,
         "@/program/data/"},
        {"missing value, nothing beside", [](RegistryStore&) {}, false, ""},
    };
    for (const RegistryCase& c : cases) {
        lxtest::TempDir temp;
        const std::string registry = temp.File("registry.txt");
        RegistryStore store(registry);
        c.fill(store);
        std::filesystem::create_directories(temp.File(c.programHasData ? "program/data" : "program"));
        const std::string program = temp.File("program");
        if (c.expected.empty()) {
            try {
                FindDataFolder(registry, program);
                ADD_FAILURE() << c.name;
            } catch (const Error& error) {
                EXPECT_NE(std::string(error.what()).find("データフォルダが見つかりません"), std::string::npos)
                    << c.name;
                EXPECT_NE(std::string(error.what()).find(program + "/data"), std::string::npos) << c.name;
            }
            continue;
        }
        std::string expected = c.expected;
        if (expected.front() == '@')
            expected = temp.Path() + expected.substr(1);
        EXPECT_EQ(FindDataFolder(registry, program), expected) << c.name;
    }
    // A damaged store reads as a missing value.
    lxtest::TempDir temp;
    std::ofstream(temp.File("registry.txt")) << "not a store\n";
    std::filesystem::create_directories(temp.File("program/data"));
    EXPECT_EQ(FindDataFolder(temp.File("registry.txt"), temp.File("program")), temp.File("program/data") + "/");
}

TEST_F(DesignerTest, MissingDataFolderIsReportedAndNeverTheRoot)
{
    RegistryStore(std::getenv("LX_REGISTRY_FILE")).DeleteValue(kProgramRegistryKey, "DataDir");
    ASSERT_TRUE(StartProgram());
    // The test program has no data folder beside it.
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_NE(messages.Shown()[0].text.find("データフォルダが見つかりません"), std::string::npos);
    EXPECT_NE(FormTopMenu->GetDataDir(), "/");
    EXPECT_EQ(FormTopMenu->GetDataDir().substr(FormTopMenu->GetDataDir().size() - 6), "/data/");
    EXPECT_TRUE(FormTopMenu->isVisible());
}

TEST_F(DesignerTest, StartMenuLayoutAndPictureButtons)
{
    ASSERT_TRUE(StartProgram());
    for (PictureButton* button : {FormTopMenu->PngBtnSelectPaper, FormTopMenu->PngBtnTemplate,
                                  FormTopMenu->PngBtnOpenFile, FormTopMenu->PngBtnClose}) {
        // Three different pictures: rest, hover, pressed.
        const QImage rest = button->currentPicture().toImage();
        EXPECT_EQ(rest.size(), QSize(274, 74));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(button, &enter);
        const QImage hover = button->currentPicture().toImage();
        button->setDown(true);
        const QImage pressed = button->currentPicture().toImage();
        button->setDown(false);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_NE(rest, hover);
        EXPECT_NE(rest, pressed);
        EXPECT_NE(hover, pressed);
        EXPECT_EQ(button->currentPicture().toImage(), rest);
    }
    EXPECT_FALSE(FormTopMenu->Image1->pixmap().isNull());
    EXPECT_FALSE(FormTopMenu->Image2->pixmap().isNull());
}

TEST_F(DesignerTest, CancelledOpenDialogLeavesTheStartMenuAsItWas)
{
    ASSERT_TRUE(StartProgram());
    FormTopMenu->PngBtnOpenFile->click(); // the scripted dialog is cancelled
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_EQ(messages.FileRequests()[0].filters, std::vector<std::string>{"Pomerel Brevant2ファイル (*.bv2)"});
    EXPECT_EQ(messages.FileRequests()[0].defaultSuffix, "bv2");
    EXPECT_TRUE(FormTopMenu->isVisible());
    EXPECT_FALSE(FormDesign->isVisible());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(DesignerTest, FileThatFailsToOpenFromTheMenuBringsTheMenuBack)
{
    ASSERT_TRUE(StartProgram());
    messages.ChooseFileNext(FileDialogResult{temp.File("壊れた デザイン.bv2"), 0});
    std::ofstream(temp.File("壊れた デザイン.bv2")) << "x";
    FormTopMenu->PngBtnOpenFile->click();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_TRUE(FormTopMenu->isVisible());
    EXPECT_FALSE(FormDesign->isVisible());
}
