#include "designer/windows/DesignerProgram.h"

#include "designer/windows/Forms.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/ShippedData.h"
#include "designer/windows/UnitDesign.h"
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

DesignerProgram::DesignerProgram(std::string lockFolder) : lockFolder_(std::move(lockFolder)) {}

DesignerProgram::~DesignerProgram()
{
    if (formsCreated_)
        DestroyForms();
}

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
    CreateForms();
    formsCreated_ = true;
    const std::string file = arguments.empty() ? std::string() : arguments.front();
    if (file.empty())
        FormTopMenu->show();
    else
        FormTopMenu->OpenFromMenu([&] { FormDesign->OpenDesignFile(file); });
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
