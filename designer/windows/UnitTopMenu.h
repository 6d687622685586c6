#pragma once
// The start menu, the designer's main window: new design from a paper,
// design from a template, open a design file, quit. It reads the data folder
// once, when it is created; every window asks it for that folder.
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

class QLabel;

namespace lx {

class PictureButton;

// The application's title: the start menu's caption, and a part of texts
// such as the design-file filter and the print job's title.
inline constexpr std::string_view kApplicationTitle = "Pomerel Brevant2";
// Where the data folder is configured: the value "DataDir" of this key.
inline constexpr std::string_view kProgramRegistryKey = "HKLM\\SOFTWARE\\Quillon\\Brevant2_trial\\";
inline constexpr std::string_view kDataDirValue = "DataDir";

// The folder holding the shipped "data", "テンプレート" and "素材" (no
// trailing "/"): the program's folder when "data" lies beside it (the build
// tree), else <prefix>/share/tlxlabel of a program in <prefix>/bin.
std::string ShippedFolder(const std::string& programFolder);
// The data folder (a system path ending in "/"): the registry value
// "DataDir" of the store at registryFile; without a usable value (missing,
// empty, not a text, or a store that cannot be read), the folder "data" of
// the shipped folder. Throws Error with the reason when there is neither.
std::string FindDataFolder(const std::string& registryFile, const std::string& programFolder);
// The folder "data" of the shipped folder, with its trailing "/".
std::string DataFolderBesideProgram(const std::string& programFolder);
// The shipped folder of the running program, with a trailing "/".
std::string ShippedFolderPath();
// Where the user's own papers go: the user's data folder, with its "/".
std::string UserPaperFolder();

class TFormTopMenu : public QWidget {
    Q_OBJECT
public:
    explicit TFormTopMenu(QWidget* parent = nullptr);

    // The data folder, with its trailing "/".
    const std::string& GetDataDir() const { return DataFolder; }
    // The folder of the user's papers (CP932, with its delimiter).
    const std::string& GetUserDataDir() const { return UserDataFolder; }

    // Runs one of the editor's open roads from the menu or the command line.
    // When it fails, its message is shown and, unless the editor came up,
    // the start menu is shown again so that the program keeps a window.
    void OpenFromMenu(const std::function<void()>& open);

    QLabel* Image1;
    PictureButton* PngBtnOpenFile;
    PictureButton* PngBtnClose;
    PictureButton* PngBtnSelectPaper;
    PictureButton* PngBtnTemplate;
    QLabel* Image2;

    void PngBtnSelectPaperClick();
    void PngBtnTemplateClick();
    void PngBtnOpenFileClick();
    void PngBtnCloseClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    PictureButton* MakeButton(const char* name, const QString& picture, int left, int top,
                              void (TFormTopMenu::*handler)(), const char* handlerName);

    std::string DataFolder;
    std::string UserDataFolder;
};

} // namespace lx
