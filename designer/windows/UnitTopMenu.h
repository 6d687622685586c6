#pragma once
// The start menu, the designer's main window: new design from a paper,
// design from a template, open a design file, quit.
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "designer/windows/DataFolders.h"

class QLabel;

namespace lx {

class PictureButton;
class TFormDesign;
class TFormLoadTemp;
class TFormSelectPaper;

// The windows the start menu opens.
struct MenuWindows {
    TFormSelectPaper* paperChooser = nullptr;
    TFormLoadTemp* templateChooser = nullptr;
    TFormDesign* editor = nullptr;
};

// The application's title: the start menu's caption, and a part of texts
// such as the design-file filter and the print job's title.
inline constexpr std::string_view kApplicationTitle = "Pomerel Brevant2";
class TFormTopMenu : public QWidget {
    Q_OBJECT
public:
    explicit TFormTopMenu(DataFolders folders, QWidget* parent = nullptr);
    void SetWindows(const MenuWindows& windows) { Windows = windows; }

    // The data folder, with its trailing "/".
    const std::string& GetDataDir() const { return Folders.data; }
    // The folder of the user's papers (CP932, with its delimiter).
    const std::string& GetUserDataDir() const { return Folders.user; }

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
    PictureButton* MakeButton(const char* name, const QString& picture, int left, int top,
                              void (TFormTopMenu::*handler)(), const char* handlerName);

    const DataFolders Folders;
    MenuWindows Windows;
};

} // namespace lx
