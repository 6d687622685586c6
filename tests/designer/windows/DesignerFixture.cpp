#include "DesignerFixture.h"

#include "designer/model/LxDesignFile.h"
#include "designer/model/LxPaper.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitSelectCsvType.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitSelectPicture.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/com/ComClient.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/text/Cp932.h"

#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lxtest {

namespace fs = std::filesystem;

void DesignerTest::SetUp()
{
    fs::copy(SourcePath("data"), temp.File("data"), fs::copy_options::recursive);
    fs::create_directories(temp.File("lock"));
    lockFolder_ = temp.File("lock");
    const std::string registry = temp.File("registry.txt");
    lx::RegistryStore(registry).WriteString(lx::kProgramRegistryKey, lx::kDataDirValue, temp.File("data") + "/");
    if (const char* saved = std::getenv("LX_REGISTRY_FILE")) {
        hadRegistry_ = true;
        savedRegistry_ = saved;
    }
    ::setenv("LX_REGISTRY_FILE", registry.c_str(), 1);
    // User papers go to the test's own folder.
    userData_.emplace("XDG_DATA_HOME", temp.File("userdata"));
    // Registered as the build registers it beside the program.
    ASSERT_EQ(lx::RegisterServerLibrary(BuildPath("symbol/control/libMatrixelPro.so")), lx::kOk);
}

void DesignerTest::TearDown()
{
    program.reset();
    userData_.reset();
    if (hadRegistry_)
        ::setenv("LX_REGISTRY_FILE", savedRegistry_.c_str(), 1);
    else
        ::unsetenv("LX_REGISTRY_FILE");
}

bool DesignerTest::StartProgram(const std::vector<std::string>& arguments)
{
    FormTopMenu = nullptr;
    FormSelectPaper = nullptr;
    FormDesign = nullptr;
    FormSelectCsvType = nullptr;
    FormPreview = nullptr;
    FormAddPaper = nullptr;
    FormSelectPicture = nullptr;
    FormPicSave = nullptr;
    FormLoadTemp = nullptr;
    program = std::make_unique<lx::DesignerProgram>(lockFolder_);
    if (!program->Start(arguments))
        return false;
    FormTopMenu = &program->TopMenu();
    FormSelectPaper = &program->SelectPaper();
    FormDesign = &program->Design();
    FormSelectCsvType = &program->SelectCsvType();
    FormPreview = &program->Preview();
    FormAddPaper = &program->AddPaper();
    FormSelectPicture = &program->SelectPicture();
    FormPicSave = &program->PicSave();
    FormLoadTemp = &program->LoadTemp();
    return true;
}

void DesignerTest::EditObject(std::int32_t j, const lx::ObjectEdit& edit)
{
    const std::int32_t selected = Session().SelectedIndex();
    Session().Select(j);
    Session().EditSelected(edit);
    Session().Select(selected);
}

std::vector<QWidget*> DesignerTest::Windows() const
{
    return {FormTopMenu,  FormSelectPaper,   FormDesign,  FormSelectCsvType, FormPreview,
            FormAddPaper, FormSelectPicture, FormPicSave, FormLoadTemp};
}

std::vector<QWidget*> DesignerTest::VisibleWindows() const
{
    std::vector<QWidget*> visible;
    for (QWidget* window : Windows())
        if (window && window->isVisible())
            visible.push_back(window);
    return visible;
}

void DesignerTest::FillDesign(const std::function<void(lx::TlxLabelManager&)>& fill)
{
    const lx::TlxLblInfo& layout = *Session().Layout();
    lx::TlxLabelManager document(layout.LabelCount, layout);
    document.SetSingleMode(Session().Document()->GetSingleMode());
    fill(document);
    const std::string path = temp.File("filled.bv2t");
    lx::SaveDesignFile(path, *Session().MergeTable(), layout, document);
    Session().LoadTemplate(path);
    FormDesign->RefreshDesign();
    FormDesign->DrawFaceOverview();
    FormDesign->ShowPropertyPage();
}

void DesignerTest::Reopen()
{
    const std::int32_t face = Session().CurrentFace();
    const std::int32_t selected = Session().SelectedIndex();
    const std::string path = temp.File("reopened.bv2");
    Session().Save(path);
    Session().Load(path);
    Session().ChooseFace(face);
    Session().Select(selected);
    FormDesign->RefreshDesign();
    FormDesign->ShowPropertyPage();
}

void DesignerTest::ExpectPanelsWrite()
{
    if (!Session().SelectedObject())
        FormDesign->BtnFigureSheet->click();
    ASSERT_NE(Session().SelectedObject(), nullptr);
    FormDesign->EditSheetPosLeft->setText(QStringLiteral("12.5"));
    EXPECT_EQ(Session().SelectedObject()->GetLeft(), 12.5);
}

void DesignerTest::MarkSaved() { Session().Save(temp.File("saved.bv2")); }

std::string DesignerTest::DataFolder() const { return temp.File("data") + "/"; }

namespace {

void WriteCp932File(const std::string& utf8Path, const std::string& utf8Text)
{
    const fs::path path = fs::u8path(utf8Path);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << lx::Sjis(utf8Text);
}

} // namespace

void DesignerTest::WriteDataFile(const std::string& relative, const std::string& utf8Text) const
{
    WriteCp932File(temp.File("data/" + relative), utf8Text);
}

std::string DesignerTest::UserFolder() const { return UserPath(""); }

void DesignerTest::WriteUserFile(const std::string& relative, const std::string& utf8Text) const
{
    WriteCp932File(UserPath(relative), utf8Text);
}

void DesignerTest::WriteMixedUserPaper() const
{
    WriteUserFile("paper.cfg",
                  std::string("\r\n\"14\"\t\"") + kMixedPaper + "\"\t\"A4\"\t\"\"\t\"210\"\t\"297\"\t\r\n");
    WriteUserFile(std::string("14/") + kMixedPaper + ".bv2",
                  "LBLBASE\r\n1.00\r\n8\r\n0\r\n0\r\n0\r\n"
                  "lxLineNomal\t10\t10\t190\t90\r\n"
                  "lxLineNomal\t10\t110\t60\t38.1\r\n"
                  "lxLineNomal\t75\t110\t60\t38.1\r\n"
                  "lxLineNomal\t140\t110\t60\t38.1\r\n"
                  "lxLineNomal\t10\t155\t60\t38.1\r\n"
                  "lxLineNomal\t75\t155\t60\t38.1\r\n"
                  "lxLineNomal\t140\t155\t60\t38.1\r\n"
                  "lxLineNomal\t10\t210\t190\t60\r\n");
}

std::string DesignerTest::WriteDesign(const std::string& fileName, int category, const std::string& model,
                                      const std::function<void(lx::TlxLabelManager&)>& fill) const
{
    const lx::TlxPaper catalogue(lx::CatalogueFilePath(DataFolder()));
    const lx::TlxPaperObject* paper = catalogue.FindPaper(category, lx::Sjis(model));
    if (!paper)
        throw std::runtime_error("no paper " + model);
    const lx::TlxLblInfo layout(DataFolder(), true, *paper);
    lx::TlxLabelManager document(layout.LabelCount, layout);
    fill(document);
    const std::string path = temp.File(fileName);
    lx::SaveDesignFile(path, lx::TLxCSV(), layout, document);
    return path;
}

void DesignerTest::NewDesignOnPaper(const std::string& model, const std::string& layoutLines)
{
    WriteDataFile("0/" + model + ".bv2", layoutLines);
    lx::TlxPaperObject paper;
    paper.SetModelNumber(model);
    paper.SetPaperSize({lx::lxPaperA4, 210, 297});
    FormTopMenu->hide();
    FormDesign->NewDesign(paper, true);
    ProcessEvents();
}

void DesignerTest::UseOwnHome(const std::string& configFolder)
{
    fs::create_directories(fs::u8path(temp.File("home")));
    home_.emplace("HOME", temp.File("home"));
    config_.emplace("XDG_CONFIG_HOME", configFolder);
}

void ProcessEvents()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

} // namespace lxtest
