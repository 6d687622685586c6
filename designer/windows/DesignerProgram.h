#pragma once
// The program body of the designer: the single-instance guard, the data
// folders, the open design and the nine windows, and the choice between the
// design file named on the command line and the start menu.
#include <QIcon>
#include <memory>
#include <string>
#include <vector>

#include "designer/model/EditorSession.h"
#include "designer/windows/DataFolders.h"

namespace lx {

class SingleInstanceGuard;
class QtTranslations;
class TFormTopMenu;
class TFormSelectPaper;
class TFormDesign;
class TFormSelectCsvType;
class TFormPreview;
class TFormAddPaper;
class TFormSelectPicture;
class TFormPicSave;
class TFormLoadTemp;

// The program's name on the desktop: its .desktop file and icon name.
inline constexpr const char* kDesktopName = "tlxlabel";
// The program's icon from the hicolor PNGs found beside the program in the
// build tree (icons/) or installed (../share/icons/); empty without them.
QIcon ProgramIcon(const std::string& programFolder);

// The name of the designer's single-instance lock.
inline constexpr const char* kSingleInstanceName = "BREVANT2_TRIAL_PROGRAM";

class DesignerProgram {
public:
    // lockFolder: where the single-instance lock lives (empty: the default).
    explicit DesignerProgram(std::string lockFolder = {});
    ~DesignerProgram();
    DesignerProgram(const DesignerProgram&) = delete;
    DesignerProgram& operator=(const DesignerProgram&) = delete;

    // Everything up to the message loop. Returns false when another copy is
    // running (after telling the user); the loop must not run then.
    // arguments: the command line without the program name, as the
    // system's bytes (a file name need not be UTF-8).
    bool Start(const std::vector<std::string>& arguments);

    // The program's windows, there once Start succeeded, and the design the
    // editor edits: what a test or a benchmark drives as the user would.
    TFormTopMenu& TopMenu() const;
    TFormSelectPaper& SelectPaper() const;
    TFormDesign& Design() const;
    TFormSelectCsvType& SelectCsvType() const;
    TFormPreview& Preview() const;
    TFormAddPaper& AddPaper() const;
    TFormSelectPicture& SelectPicture() const;
    TFormPicSave& PicSave() const;
    TFormLoadTemp& LoadTemp() const;
    EditorSession& Session() { return session_; }
    const DataFolders& Folders() const { return folders_; }

private:
    struct Windows;

    std::string lockFolder_;
    // Held until the program ends; the kernel frees it if the run dies.
    std::unique_ptr<SingleInstanceGuard> guard_;
    // Qt's own dialogs and buttons in Japanese, like the rest of the program.
    std::unique_ptr<QtTranslations> translations_;
    DataFolders folders_;
    // The windows refer to the session: it is made before them and
    // released after them.
    EditorSession session_;
    std::unique_ptr<Windows> windows_;
};

// The command line after the program name, each argument's bytes as they
// came: Qt's decoded arguments lose the bytes of a name that is not UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The whole run: start, then the message loop until the start menu closes.
// The exit code is 0 in every case.
int RunDesigner(int argc, char** argv);

} // namespace lx
