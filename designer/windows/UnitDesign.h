#pragma once
// The design editor: one window in which a design is edited label cell by
// label cell. Its code is split by concern into UnitDesign*.cpp files that
// share this header and the editor's state fields below.
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxUndoManager.h"
#include "platform/app/Messages.h"
#include "platform/image/Bitmap.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QTabBar;
class QToolButton;
class QMenu;

namespace lx {

class PictureButton;
class PictureView;

// The sizes of the display-size box: (0, 0) fits the visible area.
struct DisplaySize {
    int width;
    int height;
};
inline constexpr std::array<DisplaySize, 4> kDisplaySizes{{{0, 0}, {1024, 768}, {1280, 1024}, {1920, 1200}}};

class TFormDesign : public QWidget {
    Q_OBJECT
public:
    explicit TFormDesign(QWidget* parent = nullptr);
    ~TFormDesign() override;

    // The three ways a design enters the editor.
    void NewDesign(const TlxPaperObject& paper, bool portrait);
    // A new design on a layout that the caller has already read.
    void NewDesign(TlxLblInfo layout);
    void OpenDesignFile(const std::string& path);
    void OpenTemplateFile(const std::string& path);

    void PrepareDesignSurface();
    void RefreshDesign();
    void CBShowSizeChange();

    // Design files (the open dialog of the start menu and the editor).
    std::optional<std::string> RunOpenDialog();
    bool ConfirmDiscardChanges();

    // ---- The editor's state, shared by every concern of the editor. ----
    std::int32_t CurrentFace = 0;
    std::int32_t CopySourceFace = -1;
    std::unique_ptr<TlxLblInfo> SheetLayout;
    Bitmap SurfaceBitmap;
    Bitmap OverviewBitmap;
    double ScreenDpiX = 96;
    double ScreenDpiY = 96;
    bool PanelsReady = false;
    // Mouse state.
    bool ObjectGrabbed = false;
    bool MultiSelecting = false;
    bool LeftButtonDown = false;
    std::int32_t PressPictureX = 0;
    std::int32_t PressPictureY = 0;
    std::int32_t PressX = 0;
    std::int32_t PressY = 0;
    double PressObjectLeft = 0;
    double PressObjectTop = 0;
    std::int32_t PressFrameLeft = 0;
    std::int32_t PressFrameTop = 0;
    std::unique_ptr<TLxCSV> MergeTable;
    // A layout that the open document still refers to after SheetLayout was
    // replaced by another paper's (a template kept on more faces than the
    // new paper has cells); released with the document.
    std::unique_ptr<TlxLblInfo> RetainedLayout;
    // The open design's content and its undo history; null while the
    // window is closed. Declared after what they refer to.
    std::unique_ptr<TlxLabelManager> Document;
    std::unique_ptr<TlxUndoManager> UndoHistory;
    // The user's documents folder (CP932) with its trailing delimiter.
    std::string DocumentsFolder;
    bool Saved = true;
    // File-name part of the open design (CP932); empty for a new design or a template.
    std::string DesignFileName;
    bool IsNewDesign = false;
    bool ReturnToMenu = true;
    std::array<bool, 8> EffectStyleFlags{};
    // The design-file dialogs, set up once.
    FileDialogRequest OpenDialogLabelFile;
    FileDialogRequest SaveDialogLabelFile;

    // ---- Components of the frame. ----
    QFrame* PanelTool;
    PictureButton* PngBtnDelDesign;
    QPushButton* BtnUndo;
    QPushButton* BtnRedo;
    QLabel* katabanlbl;
    QLabel* Paperlbl;
    QComboBox* CBShowSize;
    QLabel* LblMode;
    QPushButton* BtnMode;
    QScrollArea* ScrollBoxDesign;
    PictureView* ImageDesign;
    QTabBar* TABSheet;
    QFrame* PanelSide;
    PictureView* ImagePrev;
    QPushButton* BtnSheetCopy;
    QPushButton* BtnSheetPaste;
    QPushButton* BtnSheetPasteAll;
    QPushButton* BtnSheetDel;
    QPushButton* BtnCsvSheet;
    QPushButton* BtnRenbanSheet;

    // ---- Design files, label cells, undo replay, object order and the shell. ----
    void SaveDesign(const std::string& path);
    void BtnSaveClick();
    void BtnLoadClick();
    void BtnPaperConfigClick();
    // The before and after states of the selected object around an edit.
    void RecordGeometryUndo(bool before);
    void RecordPropertyUndo(bool before);
    void ClearMultiSelection();
    void BtnUndoClick();
    void BtnRedoClick();
    void DrawFaceOverview();
    // A press at a point of ImagePrev (widget coordinates).
    void ImagePrevMouseDown(QPoint point);
    void PngBtnSheetCopyClick();
    void PngBtnSheetPasteClick();
    void PngBtnSheetPasteAllClick();
    void PngBtnSheetDelClick();
    void PngBtnDelDesignClick();
    void PngBtnModeClick();
    void SBtnSheetPrevClick();
    void SBtnSheetBackClick();
    void SBtnChangeNameClick();
    void SBtnDelSheetClick();
    void CBGridClick();
    void DrawDesignGuide();
    QPushButton* BtnSave;
    QPushButton* BtnLoad;
    QPushButton* BtnPaperConfig;
    QToolButton* SBtnSheetPrev;
    QToolButton* SBtnSheetBack;
    QToolButton* SBtnChangeName;
    QToolButton* SBtnDelSheet;
    QCheckBox* CBGrid;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Every change of the surface's size redraws it (the window's size, the
    // panels around the surface).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildComponents();
    void FormCreate();
    void FormShow();
    void FormClose();
    // Sizes the image control inside the scroll box for a display size.
    QSize LayOutDesignImage(DisplaySize size);
    // Lays an opened design or template onto the current sheet layout.
    void LayDocumentOntoSheet();
    void DrawLabel();
    void DrawCellShapes();
    void ShowModeControls();
    void ReadDocumentsFolder();
    void SetupDesignFileDialogs();
    void LoadDesign(const std::string& path);

    // ---- Design files, label cells, undo replay, object order and the shell. ----
    void BuildFileComponents();
    void BuildCellComponents();
    void BuildOrderComponents();
    void BuildUndoComponents();
    void RecordSelectedUndo(std::int32_t action, bool before);
    void ReplayGroup(bool redo);
    void ReplayUndoStep(UndoStep& step, bool redo);
    void BindMergeObjectsToTable(const TLxLableObjectBase& restored);
    void RedrawAfterEdit();
    TLxLableObjectBase* SelectedObject() const;
    void ClearFaceDesign(bool withMergeTable);
};

} // namespace lx
