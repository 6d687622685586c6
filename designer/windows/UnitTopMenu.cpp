#include "designer/windows/UnitTopMenu.h"

#include "designer/windows/Forms.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitSelectPaper.h"
#include "platform/app/Messages.h"
#include "platform/app/Program.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/text/Cp932.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <filesystem>
#include <optional>

namespace lx {

namespace {

// Appends "/" unless the folder already ends in one.
std::string WithDelimiter(std::string folder)
{
    if (!folder.ends_with('/'))
        folder += '/';
    return folder;
}

std::optional<std::string> RegistryDataDir(const std::string& registryFile)
{
    try {
        return RegistryStore(registryFile).ReadString(kProgramRegistryKey, kDataDirValue);
    } catch (const Error&) {
        return std::nullopt; // an unreadable store reads as a missing value
    }
}

} // namespace

std::string ShippedFolder(const std::string& programFolder)
{
    if (DirectoryExists(programFolder + "/data"))
        return programFolder;
    const std::string installed =
        (std::filesystem::path(programFolder).parent_path() / "share" / kUserFolderName).string();
    return DirectoryExists(installed) ? installed : programFolder;
}

std::string DataFolderBesideProgram(const std::string& programFolder)
{
    return WithDelimiter(ShippedFolder(programFolder) + "/data");
}

std::string ShippedFolderPath() { return WithDelimiter(ShippedFolder(ProgramFolder())); }

std::string UserPaperFolder() { return WithDelimiter(UserDataFolder()); }

std::string FindDataFolder(const std::string& registryFile, const std::string& programFolder)
{
    const auto configured = RegistryDataDir(registryFile);
    if (configured && !configured->empty())
        return WithDelimiter(*configured);
    const std::string beside = DataFolderBesideProgram(programFolder);
    if (DirectoryExists(beside))
        return beside;
    throw Error("データフォルダが見つかりません。レジストリ（" + registryFile +
                "）に値 DataDir がなく、プログラムのフォルダにも " + programFolder + "/data がなく、" + programFolder +
                "/../share/" + kUserFolderName + "/data もありません。");
}

TFormTopMenu::TFormTopMenu(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormTopMenu"));
    setWindowTitle(FromUtf8(kApplicationTitle));
    // The main window, in a fixed dialog frame.
    UseDialogFrame(this);
    setFixedSize(605, 308);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 605, 308);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/background.png")));
    PngBtnOpenFile = MakeButton("PngBtnOpenFile", QStringLiteral("open_file"), 22, 210,
                                LX_HANDLER(TFormTopMenu, PngBtnOpenFileClick));
    PngBtnClose =
        MakeButton("PngBtnClose", QStringLiteral("close"), 312, 210, LX_HANDLER(TFormTopMenu, PngBtnCloseClick));
    PngBtnSelectPaper = MakeButton("PngBtnSelectPaper", QStringLiteral("select_paper"), 22, 120,
                                   LX_HANDLER(TFormTopMenu, PngBtnSelectPaperClick));
    PngBtnTemplate = MakeButton("PngBtnTemplate", QStringLiteral("template"), 312, 120,
                                LX_HANDLER(TFormTopMenu, PngBtnTemplateClick));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(20, 16, 566, 85);
    Image2->setPixmap(QPixmap(QStringLiteral(":/images/title.png")));
    CentreOnDesktop(this);
    FormCreate();
}

PictureButton* TFormTopMenu::MakeButton(const char* name, const QString& picture, int left, int top,
                                        void (TFormTopMenu::*handler)(), const char* handlerName)
{
    auto* button = new PictureButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, 274, 74);
    button->setPictures(QStringLiteral(":/images/") + picture);
    Wire(handlerName, button, &QAbstractButton::clicked, this,
         [this, handler] { guarded([&] { (this->*handler)(); }); });
    return button;
}

void TFormTopMenu::FormCreate()
{
    // Whatever happens below, the folder never becomes the root: it names
    // the folder beside the program, where the error message points.
    DataFolder = DataFolderBesideProgram(ProgramFolder());
    UserDataFolder = UserPaperFolder();
    guarded([this] { DataFolder = FindDataFolder(RegistryStore::DefaultPath(), ProgramFolder()); });
}

void TFormTopMenu::OpenFromMenu(const std::function<void()>& open)
{
    if (!guarded(open) && !FormDesign->isVisible())
        show();
}

void TFormTopMenu::PngBtnSelectPaperClick()
{
    hide();
    FormSelectPaper->show();
}

void TFormTopMenu::PngBtnTemplateClick()
{
    if (FormLoadTemp->exec() != 1)
        return;
    const std::string path = FormLoadTemp->ChosenTemplatePath();
    if (path.empty())
        return;
    hide();
    OpenFromMenu([&] { FormDesign->OpenTemplateFile(path); });
}

void TFormTopMenu::PngBtnOpenFileClick()
{
    const auto path = FormDesign->RunOpenDialog();
    if (!path)
        return;
    hide();
    OpenFromMenu([&] { FormDesign->OpenDesignFile(*path); });
}

void TFormTopMenu::PngBtnCloseClick() { close(); }

void TFormTopMenu::closeEvent(QCloseEvent* event)
{
    // Closing the start menu ends the program, whatever else is open.
    event->accept();
    QCoreApplication::quit();
}

} // namespace lx
