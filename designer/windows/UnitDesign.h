#pragma once
// The design editor: one window in which a design is edited label cell by
// label cell. Its code is split by concern into UnitDesign*.cpp files that
// share this header. The design, the cell being edited and every change are
// the session's; the editor keeps only its view and the gesture under way.
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "designer/model/EditorSession.h"
#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLblInfo.h"
#include "designer/windows/ElidedLabel.h"
#include "platform/app/Messages.h"
#include "platform/image/Bitmap.h"
#include "platform/image/Picture.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QToolButton;

namespace lx {

class ColorSwatch;
class OutlineShape;
class PictureButton;
class PictureView;
class UpDown;

// The sizes of the display-size box: (0, 0) fits the visible area.
struct DisplaySize {
    int width;
    int height;
};
inline constexpr std::array<DisplaySize, 4> kDisplaySizes{{{0, 0}, {1024, 768}, {1280, 1024}, {1920, 1200}}};

class MergeColumnModel;
class TFormPicSave;
class TFormPreview;
class TFormSelectPaper;
class TFormSelectPicture;
class TFormTopMenu;

// The windows the editor opens or goes back to.
struct EditorWindows {
    TFormTopMenu* menu = nullptr;
    TFormSelectPaper* paperChooser = nullptr;
    TFormPreview* preview = nullptr;
    TFormPicSave* pictureExport = nullptr;
    TFormSelectPicture* pictureChooser = nullptr;
};

// The editor edits the design of its session, in the data folder's papers;
// it reads the design and asks the session for every change.
class TFormDesign : public QWidget {
    Q_OBJECT
public:
    TFormDesign(EditorSession& session, std::string dataFolder, QWidget* parent = nullptr);
    ~TFormDesign() override;
    void SetWindows(const EditorWindows& windows) { Windows = windows; }

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

    // ---- Printing and picture export (UnitDesignPrint.cpp). ----
    void BtnPrintClick();
    void PngBtnPicOutClick();
    PictureButton* BtnPrint;
    PictureButton* PngBtnPicOut;

    // ---- Components of the frame. ----
    QFrame* PanelTool;
    PictureButton* PngBtnDelDesign;
    QPushButton* BtnUndo;
    QPushButton* BtnRedo;
    QLabel* katabanlbl;
    ElidedLabel* Paperlbl;
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
    void BtnSaveClick();
    void BtnLoadClick();
    void BtnPaperConfigClick();
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
    void TABSheetDrawTab(QPainter& painter, int index, const QRect& rect);
    void TABSheetMouseDown(Qt::MouseButton button, QPoint point);
    // The numeric fields' key filter: true for the characters they keep.
    static bool EditSheetNumPress(QChar key);
    void UseNumericKeys(QLineEdit* edit);
    // Picture files dropped onto the picture page.
    void HandleDropFiles(const std::vector<std::string>& paths);
    QPushButton* BtnSave;
    QPushButton* BtnLoad;
    QPushButton* BtnPaperConfig;
    QToolButton* SBtnSheetPrev;
    QToolButton* SBtnSheetBack;
    QToolButton* SBtnChangeName;
    QToolButton* SBtnDelSheet;
    QCheckBox* CBGrid;
    QMenu* PopupMenuSheetTab;

    // ---- Adding objects, selection, property panels, mouse and keyboard editing. ----
    // Indexes of the effect-style flags.
    enum EffectStyleIndex {
        EffectShadow1,
        EffectShadow2,
        EffectOutline,
        EffectCurve,
        EffectSlantForward,
        EffectSlantBackward,
        EffectDeform,
        EffectSpare
    };
    // Add commands, by tag; the kind each tag adds is in the editor's kind
    // table (UnitDesignAdd.cpp).
    void BtnAddSheetClick(int tag);
    void ShowPropertyPage();
    void TABSheetChange(int index);
    void RefreshObjectTabs();
    void DrawSelection();
    int SurfaceMmToPixels(bool horizontal, double mm) const;
    int SurfacePixelsToMm(bool horizontal, double px) const;
    // Fills the selected object's property page and the common panel.
    void FillPropertyPanel();
    // Each kind's page filler, as the kinds table names it.
    void FillTextPage(const TLxLableObjectBase& object);
    void FillFigurePage(const TLxLableObjectBase& object);
    void FillImagePage(const TLxLableObjectBase& object);
    void FillGridPage(const TLxLableObjectBase& object);
    void FillEffectsPage(const TLxLableObjectBase& object);
    void FillBarcodePage(const TLxLableObjectBase& object);
    void FillQRCarryPage(const TLxLableObjectBase& object);
    void FillCsvBarcodePage(const TLxLableObjectBase& object);
    void FillCsvQRCarryPage(const TLxLableObjectBase& object);
    void FillFontCombo(QComboBox* box);
    // Panel change handlers: each writes its page into the selected object,
    // an edit of the session.
    void CommonSheetChange();
    void StringSheetChange();
    void CsvStringSheetChange();
    void RenbanStringSheetChange();
    void FigureSheetChange();
    void ImageSheetChange();
    void GridSheetChange();
    void EffectsSheetChange();
    // Page writers for the object at index of the current cell, each one
    // edit of the session.
    void LabelEditCommonObj(std::int32_t index);
    void LabelEditStringObj(std::int32_t index);
    void LabelEditCsvString(std::int32_t index);
    void LabelEditRenbanStringObj(std::int32_t index);
    void LabelEditFigureObj(std::int32_t index);
    void LabelEditImageObj(std::int32_t index);
    void LabelEditGridObj(std::int32_t index);
    void LabelEditEffectsObj(std::int32_t index);
    std::uint8_t GetFormFontStyle(std::uint8_t kind) const;
    std::uint8_t GetFormFigureType() const;
    void UpDownEffectsSheetClick(int tag, bool up);
    void BtnFontColorClick();
    void BtnGridOuterColorClick();
    void BtnGridInnerColorClick();
    void MemoSheetStringEnter();
    void MemoSheetEffectsEnter();
    // Mouse and keyboard on the design surface; positions in the surface's
    // (ImageDesign's) coordinates.
    void ImageDesignMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void ImageDesignMouseMove(int x, int y);
    void ImageDesignMouseUp(Qt::MouseButton button, int x, int y);
    void ShapeFrameMouseDown(Qt::MouseButton button);
    // A corner handle dragged to a point of the surface.
    void ShapeHandleMouseMove(OutlineShape* handle, QPoint point);
    void ShapeFrameMouseUp(Qt::MouseButton button);
    // True when the key moved or resized something.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
    // Rectangles with a non-empty intersection, edges exclusive.
    static bool Collision(const QRect& a, const QRect& b);

    QMenu* PopupMenuSelect;
    QPushButton* BtnStringSheet;
    QPushButton* BtnPicSheet;
    QPushButton* BtnFigureSheet;
    QPushButton* BtnBarSheet;
    QPushButton* BtnQrCarrySheet;
    PictureButton* PngBtnChart;
    PictureButton* PNGButton1;
    OutlineShape* ShapeSheetLine;
    OutlineShape* ShapeLeftTop;
    OutlineShape* ShapeRightTop;
    OutlineShape* ShapeLeftBottom;
    OutlineShape* ShapeRightBottom;
    OutlineShape* ShapeMultiSelect;
    QLabel* EditSheetName;
    QStackedWidget* PageControlProperty;
    QWidget* TabSheetText;
    QWidget* TabSheetDrawing;
    QWidget* TabSheetImage;
    QWidget* TabSheetBarcode;
    QWidget* TabSheetQRCarry;
    QWidget* TabSheetCSV;
    QStackedWidget* PageControlCSV;
    QWidget* TabSheetCsvString;
    QWidget* TabSheetCsvBarcode;
    QWidget* TabSheetCsvQRCarry;
    QWidget* TabSheetRenban;
    QWidget* TabSheetGrid;
    QWidget* TabSheetEffects;
    QWidget* TabSheetDummy;
    // Common panel.
    QFrame* PanelCommonEdit;
    QLineEdit* EditSheetPosLeft;
    QLineEdit* EditSheetPosTop;
    QLineEdit* EditSheetWidth;
    QLineEdit* EditSheetHeight;
    UpDown* UpDownPosX;
    UpDown* UpDownPosY;
    UpDown* UpDownWidth;
    UpDown* UpDownHeight;
    QCheckBox* CBCanDisplay;
    QCheckBox* CBCanMove;
    QCheckBox* CBNotPrint;
    // Text page.
    QPlainTextEdit* MemoSheetString;
    QComboBox* CBFontName;
    QSpinBox* SEFontSize;
    ColorSwatch* ShapeFontColor;
    QPushButton* BtnFontColor;
    QToolButton* SBFontBold;
    QToolButton* SBFontItalic;
    QToolButton* SBFontUnderLine;
    QCheckBox* CBStringTate;
    QRadioButton* RBLeft;
    QRadioButton* RBCenter;
    QRadioButton* RBRight;
    QLineEdit* EditStrSpace;
    UpDown* UpDownStrSpace;
    // Merge text page.
    QComboBox* CBCsvCol;
    QLineEdit* EditFrontStr;
    QLineEdit* EditBackStr;
    QPlainTextEdit* MemoCSVContent;
    QComboBox* CBCsvFontList;
    QSpinBox* SECsvFontSize;
    ColorSwatch* ShapeCsvFontColor;
    QPushButton* BtnCsvFontColor;
    QToolButton* BtnCsvFontBold;
    QToolButton* BtnCsvFontItalic;
    QToolButton* BtnCsvFontUnderLine;
    QCheckBox* CBCsvFontTate;
    QRadioButton* RBCsvLeft;
    QRadioButton* RBCsvCenter;
    QRadioButton* RBCsvRight;
    QLineEdit* EditCsvStrSpace;
    UpDown* UpDownCsvStrSpace;
    // Serial-number page.
    QLineEdit* EditRenbanStart;
    QLineEdit* EditRenbanFinish;
    QComboBox* CBRenbanFontName;
    QSpinBox* SERenbanFontSize;
    ColorSwatch* ShapeRenbanFontColor;
    QPushButton* BtnRenbanFontColor;
    QToolButton* SBRenbanFontBold;
    QToolButton* SBRenbanFontItalic;
    QToolButton* SBRenbanFontUnderLine;
    QCheckBox* CBRenbanStringTate;
    QRadioButton* RBRenbanLeft;
    QRadioButton* RBRenbanCenter;
    QRadioButton* RBRenbanRight;
    QLineEdit* EditRenbanStrSpace;
    UpDown* UpDownRenbanStrSpace;
    // Figure page.
    QToolButton* SBLineVertical;
    QToolButton* SBLineHorizontal;
    QToolButton* SBLineDiagonal;
    QToolButton* SBLineCoDiagonal;
    QToolButton* SBSquare1;
    QToolButton* SBRound1;
    QToolButton* SBSquare2;
    QToolButton* SBRound2;
    ColorSwatch* ShapeLineColor;
    QPushButton* BtnChangeLineColor;
    QSpinBox* SELineWidth;
    QComboBox* CBLineType;
    // Picture page.
    QFrame* ShapePictureBack;
    PictureView* ImageSheetPicture;
    QCheckBox* CBTransparent;
    QCheckBox* CBFixRate;
    ColorSwatch* ShapeTransparent;
    QToolButton* SBtnCopy;
    QToolButton* SBtnClear;
    // The picture page's body; picture files dropped on it load into the picture.
    QFrame* PanelPicture;
    // Grid page.
    QSpinBox* SpinEditGridCol;
    QSpinBox* SpinEditGridRow;
    ColorSwatch* ShapeGridInnerColor;
    QPushButton* BtnGridInnerColor;
    ColorSwatch* ShapeGridOuterColor;
    QPushButton* BtnGridOuterColor;
    QSpinBox* SEdGridLineInnerWidth;
    QSpinBox* SEdGridLineOuterWidth;
    QComboBox* CBGridLineInnerType;
    QComboBox* CBGridLineOuterType;
    // Effect-text page.
    QPlainTextEdit* MemoSheetEffects;
    QComboBox* CBFontName2;
    QLabel* Label127;
    QSpinBox* SEFontSize2;
    ColorSwatch* ShapeFontColor2;
    QPushButton* BtnFontColor2;
    QLabel* Label129;
    ColorSwatch* ShapeArtFontColor2;
    QToolButton* SBArtFont2;
    ColorSwatch* ShapeArtFontColor3;
    QToolButton* SBArtFont3;
    QCheckBox* CB_Kage2;
    QCheckBox* CB_small2;
    QCheckBox* CB_Kakoi2;
    QCheckBox* CB_Kyokusen2;
    QCheckBox* CB_naname2;
    QCheckBox* CB_naname2_2;
    QCheckBox* CB_haikei1;
    QCheckBox* CB_tokusyu1;
    QRadioButton* RBLeft2;
    QRadioButton* RBCenter2;
    QRadioButton* RBRight2;

    // ---- Effect-style boxes, colour buttons, picture commands and merge columns. ----
    // Style boxes in the order of EffectStyleFlags.
    std::array<QCheckBox*, 8> EffectStyleBoxes() const;
    void EffectStyleClick(int flag);
    void BtnChangeLineColorClick();
    void BtnCsvFontColorClick();
    void BtnRenbanFontColorClick();
    void BtnFontColor2Click();
    void SBArtFont2Click();
    void SBArtFont3Click();
    QToolButton* SBtnOpenImage;
    QToolButton* SBtnLoadTwain;
    QToolButton* SBtnPaste;
    void SBtnOpenImageClick();
    void SBtnLoadTwainClick();
    void SBtnCopyClick();
    void SBtnPasteClick();
    void SBtnClearClick();
    // A press on the picture page's picture (its own coordinates).
    void ImageSheetPictureMouseDown(int x, int y);
    void CBTransparentClick();
    void CBFixRateClick();
    // A picture file for the picture object (also for dropped files): a JPEG
    // keeps its file, any other picture is drawn onto a bitmap of its size.
    static Picture LoadPictureFile(const std::string& path);
    // Puts a new picture on the picture page and into the selected picture
    // object; a change of the design.
    void ApplyPictureToObject(Picture picture);
    // Sizes and places the image inside the box so that its picture keeps
    // its proportions, centred.
    void SetImageToForm(PictureView* image, int left, int top, int width, int height);
    QComboBox* CBCsvQr;
    QComboBox* CBCsvCodaBar;
    QComboBox* CBCsvItf;
    QComboBox* CBCsvCode128;
    QComboBox* CBCsvEan128;
    QComboBox* CBCsvMaxi;
    QComboBox* CBCsvPdf417;
    QComboBox* CBCsvMatrix;
    QComboBox* CBCsvZip;
    QComboBox* CBCsvAddress;
    QComboBox* CBCsvCode;
    QComboBox* CbQrName;
    QComboBox* CBQrKana;
    QComboBox* CBTel1;
    QComboBox* CBTel2;
    QComboBox* CBTel3;
    QComboBox* CBMail1;
    QComboBox* CBMail2;
    QComboBox* CBMail3;
    QComboBox* CBMemo;
    QComboBox* CBAddr;
    QComboBox* CBUrlCsv;
    QComboBox* CBSiteName;
    QComboBox* CBUrl;
    QComboBox* CBToMail;
    QComboBox* CBSubject;
    QComboBox* CBBody;
    QComboBox* CBContents;
    PictureButton* PngBtnChangeCsvFile;
    QComboBox* CBCsvBarType;
    QCheckBox* CBCsvCheckDegi;
    QStackedWidget* PageControlCsvBarType;
    QWidget* TabSheetCsvQr;
    QWidget* TabSheetCsvEtc;
    QWidget* TabSheetCsvCoda;
    QWidget* TabSheetCsvItf;
    QWidget* TabSheetCsvCode128;
    QWidget* TabSheetCsvEan128;
    QWidget* TabSheetCsvMaxi;
    QWidget* TabSheetCsvPdf417;
    QWidget* TabSheetCsvMatrix;
    QWidget* TabSheetCsvCostom;
    QTabWidget* PageControlQrString;
    // The 29 column lists in the order in which they are filled.
    std::array<QComboBox*, 29> MergeColumnLists() const;
    void FillMergeColumnLists(std::int32_t columnCount);
    // One list on the shared column items, showing "no column".
    void FillColumnCombo(QComboBox* box);
    void PngBtnChangeCsvFileClick();
    // Loads a chosen CSV file into the design's table (a change of the
    // design); on failure tells the user why and returns false, the table
    // as it was.
    bool LoadMergeTable(const std::string& path);
    void CBCsvBarTypeChange();
    // The merge-symbol options page of a symbol kind, with the check-digit box.
    void ShowCsvBarTypePage(int symbolKind);

    // ---- Symbol pages: symbol, mobile QR, merge symbol and merge mobile QR. ----
    void BarcodeSheetChange();
    void QrCarrySheetChange();
    void CSVBarcodeSheetChange();
    void CSVQrCarrySheetChange();
    void LabelEditBarcodeObj(std::int32_t index);
    void LabelEditQRCarryObj(std::int32_t index);
    void LabelEditCsvBarcode(std::int32_t index);
    void LabelEditCsvQRCarry(std::int32_t index);
    // Symbol page.
    QLabel* LabelType;
    QComboBox* CBType;
    QCheckBox* CBChrd;
    QLabel* Label111;
    QStackedWidget* PageControlBarType;
    QWidget* TabSheetQr;
    QWidget* TabSheetEtc;
    QWidget* TabSheetCoda;
    QWidget* TabSheetITF;
    QWidget* TabSheetCode128;
    QWidget* TabSheetEan128;
    QWidget* TabSheetMaxi;
    QWidget* TabSheetPdf417;
    QWidget* TabSheetMatrix;
    QWidget* TabSheetCostom;
    QPlainTextEdit* MemoCodeQr;
    QComboBox* CBQRModel;
    QComboBox* CBQrErrLv;
    QLineEdit* EditBarText;
    QLineEdit* EditCodeCoda;
    QComboBox* CBStartCharCoda;
    QComboBox* CBStopCharCoda;
    QLineEdit* EditCodeItf;
    QCheckBox* CBRover;
    QLineEdit* EditCodeCode128;
    QComboBox* CBStartCharCode128;
    QLineEdit* EditCodeEan128;
    QComboBox* CBStartCharEan128;
    QComboBox* CBMaxiMode;
    QPlainTextEdit* MemoMaxi;
    QComboBox* CBModePdf417;
    QPlainTextEdit* MemoPdf417;
    QComboBox* CBModelMatrix;
    QPlainTextEdit* MemoMatrix;
    QLineEdit* EditZip;
    QLineEdit* EditAddress;
    // Mobile QR page.
    QRadioButton* RadioDocomo;
    QRadioButton* RadioBankAU;
    QTabWidget* PageControlQr;
    QLabel* Label83;
    QLabel* Label86;
    QLabel* Label87;
    QLabel* Label88;
    QLabel* LblAddr;
    QLabel* LblUrl;
    QLineEdit* EditQRName;
    QLineEdit* EditQRKana;
    QLineEdit* EditQRTel1;
    QLineEdit* EditQRTel2;
    QLineEdit* EditQrTel3;
    QLineEdit* EditQRMail1;
    QLineEdit* EDitQRMail2;
    QLineEdit* EditQRMail3;
    QLineEdit* EditQRMemo;
    QLineEdit* EditQrDocomoAddr;
    QLineEdit* EditQrDocomoUrl;
    QLineEdit* EditQrSiteName;
    QLineEdit* EditQrUrl;
    QLineEdit* EditQrToMail;
    QLineEdit* EditQrSubject;
    QPlainTextEdit* MemoQrBody;
    QPlainTextEdit* MemoQrContents;
    // Merge symbol page, besides its column lists.
    QComboBox* CBCsvQrModel;
    QComboBox* CBCsvQrErrLv;
    QComboBox* CBCsvStartChar;
    QComboBox* CBCsvStopChar;
    QCheckBox* ChkBCsvItf;
    QComboBox* CBCsvCodesetCode128;
    QComboBox* CBCsvCodesetEan128;
    QComboBox* CBCsvMaxiMode;
    QComboBox* CBCsvPdf417Model;
    QComboBox* CBCsvMatrixModel;
    // Merge mobile QR page, besides its column lists.
    QRadioButton* RadioCsvDocomo;
    QRadioButton* RadioCsvBankAu;
    QLabel* Label99;
    QLabel* Label102;
    QLabel* Label103;
    QLabel* Label104;
    QLabel* Label112;
    QLabel* Label113;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Every change of the surface's size redraws it (the window's size, the
    // panels around the surface).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- The editor's own state: the view of the design and the gesture
    // under way. The design and the cell being edited are the session's.
    EditorSession& Session;
    const std::string DataFolder;
    EditorWindows Windows;
    Bitmap SurfaceBitmap;
    Bitmap OverviewBitmap;
    double ScreenDpiX = 96;
    double ScreenDpiY = 96;
    bool PanelsReady = false;
    bool ReturnToMenu = true;
    // Mouse state.
    bool ObjectGrabbed = false;
    bool LeftButtonDown = false;
    std::int32_t PressPictureX = 0;
    std::int32_t PressPictureY = 0;
    std::int32_t PressX = 0;
    std::int32_t PressY = 0;
    std::int32_t PressFrameLeft = 0;
    std::int32_t PressFrameTop = 0;
    // The multi-selection frame as drawn: while it is a rubber band its
    // width and height may be negative.
    QRect MultiSelectRect;
    // The effect style the style boxes chose, for the effect-text writer.
    std::array<bool, 8> EffectStyleFlags{};
    // The picture of the picture page (what the picture commands load).
    Picture ImageSheetPictureData;
    MergeColumnModel* MergeColumns = nullptr;
    // The user's documents folder with its trailing "/", and the dialogs
    // set up once.
    std::string DocumentsFolder;
    FileDialogRequest OpenDialogLabelFile;
    FileDialogRequest SaveDialogLabelFile;
    FileDialogRequest OpenDialogCSV;

    void BuildComponents();
    void FitSidePanelToPages();
    // The scroll area of the property pages.
    QScrollArea* PropertyPages = nullptr;
    void FormCreate();
    void FormShow();
    void FormClose();
    // Sizes the image control inside the scroll box for a display size.
    QSize LayOutDesignImage(DisplaySize size);
    void DrawLabel();
    void DrawCellShapes();
    void ShowModeControls();
    void ReadDocumentsFolder();
    void SetupDesignFileDialogs();
    // The panels follow a design just read.
    void ShowLoadedDesign();

    // ---- Design files, label cells, undo replay, object order and the shell. ----
    void BuildFileComponents();
    void BuildPrintComponents();
    void BuildCellComponents();
    void BuildOrderComponents();
    void BuildUndoComponents();
    void BuildShellComponents();
    void ReplayGroup(bool redo);
    void RedrawAfterEdit();
    const TLxLableObjectBase* SelectedObject() const;
    bool ConfirmDesignDeletion();

    // ---- Adding objects, selection, property panels, mouse and keyboard editing. ----
    void BuildObjectComponents();
    void BuildPanelComponents();
    void BuildMouseComponents();
    void BuildTextPages(QWidget* text, QWidget* merge, QWidget* serial);
    void BuildFigurePage();
    void BuildImagePage();
    void BuildGridPage();
    void BuildEffectsPage();
    void ConnectPanelHandlers();
    void AddObjectOfTag(int tag);
    void PressOnSurface(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // Runs a page write of the object at index, the selected one, as an
    // edit of the session (inside another write, as part of that one).
    void RecordedWrite(std::int32_t index, const ObjectEdit& write);
    // The page change handlers' common steps.
    void ApplyPanel(void (TFormDesign::*writer)(std::int32_t), bool drawSelection);
    void FillCommonPanel(const TLxLableObjectBase& object);
    // The position and size boxes show the selected object's box; the box
    // being typed in keeps the user's text until it is left.
    void ShowSelectedGeometry(bool evenTheFocusedBox = false);
    void ApplyEffectStyleRule();
    void WriteTextStyle(std::uint8_t kind, TLxLableObjectBase& object);
    void CaptionAlignmentButtons(QCheckBox* vertical, QRadioButton* left, QRadioButton* right);
    void ChooseSwatchColor(ColorSwatch* swatch, void (TFormDesign::*writer)(std::int32_t));
    QPoint PictureOrigin() const;
    QRect ObjectSurfaceRect(const TLxLableObjectBase& object) const;
    std::int32_t HitTest(QPoint picturePoint) const;
    void ToggleMultiMember(std::int32_t before);
    void FinishRubberBand();
    void DrawMultiSelectionFrames();
    void PlaceMultiSelectShape();
    bool IsEditingKeyTarget() const;
    void StepNudgeText(QLineEdit* edit, double step);
    bool HandleEditingEvent(QObject* watched, QEvent* event);
    bool AcceptDroppedFiles(QEvent* event);
    void UpdateScreenDpi();
    void EnablePositionBoxes();
    // The key preview and surface mouse hook; removed before the window's
    // parts are torn down.
    QObject* EditingHook = nullptr;

    // ---- Effect-style boxes, colour buttons, picture commands and merge columns. ----
    void BuildEffectStyleComponents();
    void BuildPictureComponents();
    void BuildMergeComponents();
    void ArrangeEffectStyle(int flag, bool on);
    void KeepEffectsTextLimit();
    // Writes the page of the selected object, when there is one.
    void WriteSelected(void (TFormDesign::*writer)(std::int32_t));
    std::optional<std::string> SelectPictureFile();
    std::optional<Bitmap> AcquireTwainBitmap();
    void FitSheetPicture();

    // ---- Symbol pages. ----
    void BuildSymbolComponents();
    void BuildBarcodePage();
    void BuildQRCarryPage();
    void BuildCsvSymbolOptions();
    void ConnectSymbolHandlers();
    // The frame keeps the picture's proportions at its width (heightOnly) or
    // along its longer side; the size boxes follow in millimetres.
    void FitFrameToPicture(const Picture& picture, bool heightOnly);
};

} // namespace lx
