// The editor's design files: the documents folder, the file dialogs,
// opening and saving a design, the unsaved-changes prompt and leaving the
// design for another paper.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxDesignFile.h"
#include "designer/windows/HandlerWiring.h"

#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/shell/ShellFolders.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <tuple>

namespace lx {

namespace {

constexpr std::string_view kDesignExtension = ".bv2";

} // namespace

void TFormDesign::BuildFileComponents()
{
    BtnLoad = new QPushButton(QStringLiteral("開く"));
    BtnSave = new QPushButton(QStringLiteral("保存"));
    BtnPaperConfig = new QPushButton(QStringLiteral("用紙変更"));
    auto* tools = qobject_cast<QBoxLayout*>(PanelTool->layout());
    int at = 0;
    for (auto [button, name, handler, handlerName] :
         {std::tuple{BtnLoad, "BtnLoad", LX_HANDLER(TFormDesign, BtnLoadClick)},
          std::tuple{BtnSave, "BtnSave", LX_HANDLER(TFormDesign, BtnSaveClick)},
          std::tuple{BtnPaperConfig, "BtnPaperConfig", LX_HANDLER(TFormDesign, BtnPaperConfigClick)}}) {
        button->setObjectName(QString::fromLatin1(name));
        tools->insertWidget(at++, button);
        WireClick(this, button, handler, handlerName);
    }
}

void TFormDesign::ReadDocumentsFolder()
{
    // The home folder when the user's documents folder does not exist.
    DocumentsFolder = lx::DocumentsFolder() + "/";
}

void TFormDesign::SetupDesignFileDialogs()
{
    for (FileDialogRequest* dialog : {&OpenDialogLabelFile, &SaveDialogLabelFile}) {
        dialog->defaultSuffix = std::string(kDesignExtension.substr(1));
        dialog->folder = DocumentsFolder;
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
    return chosen->path;
}

void TFormDesign::ShowLoadedDesign()
{
    Paperlbl->setText(ToQString(Session.Layout()->Paper.GetModelNumber()));
    katabanlbl->show();
    FillMergeColumnLists(Session.MergeTable()->GetColCount());
}

void TFormDesign::BtnSaveClick()
{
    const auto chosen = Messages().ChooseFile(SaveDialogLabelFile);
    if (!chosen)
        return;
    Session.Save(chosen->path);
    RefreshDesign();
}

void TFormDesign::BtnLoadClick()
{
    if (!ConfirmDiscardChanges())
        return;
    const auto path = RunOpenDialog();
    if (!path)
        return;
    // A file that fails to load leaves the open design, its cell and its
    // history as they were, and the panels working.
    PanelsReady = false;
    const bool loaded = guarded([&] { Session.Load(*path); });
    if (loaded) {
        ShowLoadedDesign();
        ObjectGrabbed = false;
        RefreshDesign();
        ShowPropertyPage();
        DrawFaceOverview();
    }
    PanelsReady = true;
}

void TFormDesign::BtnPaperConfigClick()
{
    if (!ConfirmDiscardChanges())
        return;
    Session.Abandon();
    ReturnToMenu = false;
    close();
    if (Windows.paperChooser)
        Windows.paperChooser->show();
}

bool TFormDesign::ConfirmDiscardChanges()
{
    if (Session.IsSaved())
        return true;
    return AskYesNo("現在のデザインの変更は保存されていません。作業を続行してよろしいですか？");
}

} // namespace lx
