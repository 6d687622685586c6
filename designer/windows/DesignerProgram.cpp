#include "designer/windows/DesignerProgram.h"

#include "designer/windows/QtBridge.h"
#include "designer/windows/ShippedData.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitSelectCsvType.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitSelectPicture.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/app/GuardedApplication.h"
#include "platform/app/Messages.h"
#include "platform/app/Program.h"
#include "platform/app/SingleInstance.h"
#include "platform/app/WheelGuard.h"
#include "platform/registry/Registry.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace lx {

// Qt's Japanese texts, installed for the run (package qt6-translations-l10n);
// without them Qt's dialogs stay English and nothing else changes.
class QtTranslations {
public:
    QtTranslations()
    {
        if (translator_.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&translator_);
    }
    ~QtTranslations() { QCoreApplication::removeTranslator(&translator_); }
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

private:
    QTranslator translator_;
};

QIcon ProgramIcon(const std::string& programFolder)
{
    QIcon icon;
    const QString folder = QString::fromStdString(programFolder);
    for (const QString& base : {QStringLiteral("/icons/hicolor/"), QStringLiteral("/../share/icons/hicolor/")})
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString file = folder + base + QStringLiteral("%1x%1/apps/").arg(size) +
                QString::fromLatin1(kDesktopName) + QStringLiteral(".png");
            if (QFileInfo::exists(file))
                icon.addFile(file, QSize(size, size));
        }
    return icon;
}

namespace {

// Told once a run: a store with lines it cannot read still serves the rest.
void ReportDamagedRegistry()
{
    const std::string message = RegistryStore().DamageMessage();
    if (!message.empty())
        ShowInfo(message);
}

} // namespace

// The nine windows, made once in the program's order, the start menu
// first, and released in the reverse order. Each is handed what it needs:
// the data folders, the session, the windows it opens.
struct DesignerProgram::Windows {
    std::unique_ptr<TFormTopMenu> topMenu;
    std::unique_ptr<TFormSelectPaper> selectPaper;
    std::unique_ptr<TFormDesign> design;
    std::unique_ptr<TFormSelectCsvType> selectCsvType;
    std::unique_ptr<TFormPreview> preview;
    std::unique_ptr<TFormAddPaper> addPaper;
    std::unique_ptr<TFormSelectPicture> selectPicture;
    std::unique_ptr<TFormPicSave> picSave;
    std::unique_ptr<TFormLoadTemp> loadTemp;

    Windows(const DataFolders& folders, EditorSession& session)
        : topMenu(std::make_unique<TFormTopMenu>(folders)), selectPaper(std::make_unique<TFormSelectPaper>(folders)),
          design(std::make_unique<TFormDesign>(session, folders.data)),
          selectCsvType(std::make_unique<TFormSelectCsvType>()), preview(std::make_unique<TFormPreview>()),
          addPaper(std::make_unique<TFormAddPaper>(folders, selectPaper.get())),
          selectPicture(std::make_unique<TFormSelectPicture>(design.get())), picSave(std::make_unique<TFormPicSave>()),
          loadTemp(std::make_unique<TFormLoadTemp>())
    {
        topMenu->SetWindows({selectPaper.get(), loadTemp.get(), design.get()});
        selectPaper->SetWindows({topMenu.get(), design.get(), addPaper.get()});
        design->SetWindows({topMenu.get(), selectPaper.get(), preview.get(), picSave.get(), selectPicture.get()});
    }
};

DesignerProgram::DesignerProgram(std::string lockFolder) : lockFolder_(std::move(lockFolder)) {}

DesignerProgram::~DesignerProgram() = default;

TFormTopMenu& DesignerProgram::TopMenu() const { return *windows_->topMenu; }
TFormSelectPaper& DesignerProgram::SelectPaper() const { return *windows_->selectPaper; }
TFormDesign& DesignerProgram::Design() const { return *windows_->design; }
TFormSelectCsvType& DesignerProgram::SelectCsvType() const { return *windows_->selectCsvType; }
TFormPreview& DesignerProgram::Preview() const { return *windows_->preview; }
TFormAddPaper& DesignerProgram::AddPaper() const { return *windows_->addPaper; }
TFormSelectPicture& DesignerProgram::SelectPicture() const { return *windows_->selectPicture; }
TFormPicSave& DesignerProgram::PicSave() const { return *windows_->picSave; }
TFormLoadTemp& DesignerProgram::LoadTemp() const { return *windows_->loadTemp; }

bool DesignerProgram::Start(const std::vector<std::string>& arguments)
{
    guard_ = std::make_unique<SingleInstanceGuard>(kSingleInstanceName, lockFolder_);
    if (guard_->AnotherRunning()) {
        ShowInfo("既に起動しています。");
        return false;
    }
    QCoreApplication::setApplicationName(FromUtf8(kApplicationTitle));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopName));
    QApplication::setWindowIcon(ProgramIcon(ProgramFolder()));
    translations_ = std::make_unique<QtTranslations>();
    WheelGuard::Install();
    guarded([] { ReportDamagedRegistry(); });
    // An installed program registers its control at the first start, and
    // again when the registered library has gone.
    guarded([] {
        if (const std::string notice = RegisterInstalledControl(ProgramFolder()); !notice.empty())
            ShowInfo(notice);
    });
    // The windows' font: "ＭＳ Ｐゴシック" 9 pt (12 pixels), which the
    // shipped font configuration maps to IPA P Gothic.
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    // The start menu closes the program; the other windows only hide.
    QApplication::setQuitOnLastWindowClosed(false);
    folders_ = ReadDataFolders();
    windows_ = std::make_unique<Windows>(folders_, session_);
    const std::string file = arguments.empty() ? std::string() : arguments.front();
    if (file.empty())
        TopMenu().show();
    else
        TopMenu().OpenFromMenu([&] { Design().OpenDesignFile(file); });
    return true;
}

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return arguments;
}

int RunDesigner(int argc, char** argv)
{
    // Takes Qt's own options out of argv; what stays is the program's.
    GuardedApplication app(argc, argv);
    DesignerProgram program;
    if (program.Start(ProgramArguments(argc, argv)))
        QApplication::exec();
    return 0;
}

} // namespace lx
