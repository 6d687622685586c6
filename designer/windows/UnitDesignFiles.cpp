// The editor's design files: the documents folder, the file dialogs,
// loading a design, and the unsaved-changes prompt.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxDesignFile.h"

#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/io/Files.h"
#include <QLabel>
#include "platform/text/Cp932.h"

#include <QStandardPaths>

namespace lx {

namespace {

constexpr std::string_view kDesignExtension = ".bv2";

// The file-name part of a CP932 path (after the last delimiter).
std::string FileNamePart(std::string_view path)
{
    std::size_t start = 0;
    std::size_t pos = 0;
    ForEachChar(path, [&](std::string_view c) {
        pos += c.size();
        if (c == "\\" || c == "/")
            start = pos;
    });
    return std::string(path.substr(start));
}

} // namespace

void TFormDesign::ReadDocumentsFolder()
{
    DocumentsFolder = SystemPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString()) + "\\";
}

void TFormDesign::SetupDesignFileDialogs()
{
    for (FileDialogRequest* dialog : {&OpenDialogLabelFile, &SaveDialogLabelFile}) {
        dialog->defaultSuffix = std::string(kDesignExtension.substr(1));
        dialog->folder = NativePath(DocumentsFolder);
        dialog->filters = {std::string(kApplicationTitle) + "ファイル (*" + std::string(kDesignExtension) + ")"};
        dialog->filterIndex = 0;
    }
    OpenDialogLabelFile.mode = FileDialogRequest::Mode::Open;
    SaveDialogLabelFile.mode = FileDialogRequest::Mode::Save;
    SaveDialogLabelFile.overwritePrompt = true;
}

std::optional<std::string> TFormDesign::RunOpenDialog()
{
    const auto chosen = Messages().ChooseFile(OpenDialogLabelFile);
    if (!chosen)
        return std::nullopt;
    return SystemPath(chosen->path);
}

void TFormDesign::LoadDesign(const std::string& path)
{
    // Read whole first: a file that fails to load leaves the open design,
    // its name included, as it was.
    Design design = LoadDesignFile(path);
    DesignFileName = FileNamePart(path);
    Document.reset();
    RetainedLayout.reset();
    MergeTable = std::move(design.MergeTable);
    SheetLayout = std::move(design.SheetLayout);
    Document = std::move(design.Document);
    Paperlbl->setText(ToQString(SheetLayout->Paper.GetModelNumber()));
    katabanlbl->show();
}

bool TFormDesign::ConfirmDiscardChanges()
{
    if (Saved)
        return true;
    return AskYesNo("現在のデザインの変更は保存されていません。作業を続行してよろしいですか？");
}

} // namespace lx
