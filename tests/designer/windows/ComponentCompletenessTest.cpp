// Every component of the designer's windows exists under its own name, and
// every event a user can cause on it reaches the handler its row names: the
// windows note each connection under the handler's name (HandlerWiring.h).
// The table is written from the windows' component lists, not read from our
// code, so a component that was never built or never wired to the handler
// of its row shows up here.
#include "DesignerFixture.h"

#include "designer/windows/HandlerWiring.h"
#include "designer/windows/UnitAddPaper.h"
#include "designer/windows/UnitDesign.h"
#include "designer/windows/UnitLoadTemp.h"
#include "designer/windows/UnitPicSave.h"
#include "designer/windows/UnitPreview.h"
#include "designer/windows/UnitSelectCsvType.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitSelectPicture.h"
#include "designer/windows/UnitTopMenu.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QMetaMethod>
#include <map>
#include <set>

using lxtest::DesignerTest;

namespace {

// What a user does to the component, and the Qt signals that carry it.
enum class Event {
    None, // shown or switched by the program only
    Click, // pressed, ticked or chosen
    Change, // its value or text changes, by the user or by the program
    Double, // double-clicked
    Direct, // mouse, key, wheel or drop: reached through an event filter or override; a
            // row with a note has no handler of that name, the note says what does it
    Absent, // no widget on Linux; the note says why
};

struct Row {
    const char* window;
    const char* component;
    Event event;
    const char* handler;
    const char* note = "";
};

constexpr Event N = Event::None, C = Event::Click, V = Event::Change, D = Event::Double, E = Event::Direct,
                X = Event::Absent;

// clang-format off
const Row kComponents[] = {
    // Start menu.
    {"FormTopMenu", "Image1", N, ""},
    {"FormTopMenu", "Image2", N, ""},
    {"FormTopMenu", "PngBtnSelectPaper", C, "PngBtnSelectPaperClick"},
    {"FormTopMenu", "PngBtnTemplate", C, "PngBtnTemplateClick"},
    {"FormTopMenu", "PngBtnOpenFile", C, "PngBtnOpenFileClick"},
    {"FormTopMenu", "PngBtnClose", C, "PngBtnCloseClick"},

    // Paper chooser.
    {"FormSelectPaper", "LblMaker", N, ""},
    {"FormSelectPaper", "LblPaperList", N, ""},
    {"FormSelectPaper", "LblSearch", N, ""},
    {"FormSelectPaper", "LblPreview", N, ""},
    {"FormSelectPaper", "CBMaker", V, "CBMakerChange"},
    {"FormSelectPaper", "LBPaperList", V, "RefreshPreview"},
    {"FormSelectPaper", "LBPaperList", E, "LBPaperListMouseMove", "each line carries its own hint"},
    {"FormSelectPaper", "EditSearch", V, "EditSearchChange"},
    {"FormSelectPaper", "GBPaperMuki", N, ""},
    {"FormSelectPaper", "RBTate", C, "RefreshPreview"},
    {"FormSelectPaper", "RBYoko", C, "RefreshPreview"},
    {"FormSelectPaper", "PanelPreview", N, ""},
    {"FormSelectPaper", "ImageDesign", N, ""},
    {"FormSelectPaper", "BtnNext", C, "BtnNextClick"},
    {"FormSelectPaper", "BtnBack", C, "BtnBackClick"},
    {"FormSelectPaper", "BtnAddPaper", C, "BtnAddPaperClick"},
    {"FormSelectPaper", "BtnDelPaper", C, "BtnDelPaperClick"},

    // Editor frame.
    {"FormDesign", "ScrollBoxDesign", N, ""},
    {"FormDesign", "ImageDesign", E, "ImageDesignMouseDown"},
    {"FormDesign", "CBShowSize", V, "CBShowSizeChange"},
    {"FormDesign", "katabanlbl", N, ""},
    {"FormDesign", "Paperlbl", N, ""},
    {"FormDesign", "LblMode", N, ""},
    {"FormDesign", "BtnMode", C, "PngBtnModeClick"},
    {"FormDesign", "BtnUndo", C, "BtnUndoClick"},
    {"FormDesign", "BtnRedo", C, "BtnRedoClick"},
    {"FormDesign", "BtnPrint", C, "BtnPrintClick"},
    {"FormDesign", "PngBtnPicOut", C, "PngBtnPicOutClick"},
    {"FormDesign", "PageControlProperty", N, ""},
    {"FormDesign", "PageControlBarType", N, ""},
    {"FormDesign", "PageControlCSV", N, ""},
    {"FormDesign", "PageControlCsvBarType", N, ""},
    {"FormDesign", "TABSheet", C, "TABSheetChange"},
    {"FormDesign", "TABSheet", E, "TABSheetMouseDown"},
    {"FormDesign", "PanelPicture", E, "HandleDropFiles"},

    // Adding objects and the pages per kind.
    {"FormDesign", "PopupMenuSelect", N, ""},
    {"FormDesign", "BtnStringSheet", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemMoji", C, "BtnAddSheetClick"},
    {"FormDesign", "BtnPicSheet", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemPic", C, "BtnAddSheetClick"},
    {"FormDesign", "BtnFigureSheet", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemZukei", C, "BtnAddSheetClick"},
    {"FormDesign", "BtnBarSheet", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemQR", C, "BtnAddSheetClick"},
    {"FormDesign", "BtnQrCarrySheet", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemKeitai", C, "BtnAddSheetClick"},
    {"FormDesign", "BtnCsvSheet", C, "BtnAddSheetClick"},
    {"FormDesign", "BtnRenbanSheet", C, "BtnAddSheetClick"},
    {"FormDesign", "PngBtnChart", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemMoyou", C, "BtnAddSheetClick"},
    {"FormDesign", "PNGButton1", C, "BtnAddSheetClick"},
    {"FormDesign", "MenuItemEffect", C, "BtnAddSheetClick"},
    {"FormDesign", "OpenDialogCSV", X, "", "file dialogs are asked through the message service"},
    {"FormDesign", "EditSheetName", N, ""},
    {"FormDesign", "TabSheetText", N, ""},
    {"FormDesign", "TabSheetDrawing", N, ""},
    {"FormDesign", "TabSheetImage", N, ""},
    {"FormDesign", "TabSheetBarcode", N, ""},
    {"FormDesign", "TabSheetQRCarry", N, ""},
    {"FormDesign", "TabSheetCSV", N, ""},
    {"FormDesign", "TabSheetCsvString", N, ""},
    {"FormDesign", "TabSheetCsvBarcode", N, ""},
    {"FormDesign", "TabSheetCsvQRCarry", N, ""},
    {"FormDesign", "TabSheetRenban", N, ""},
    {"FormDesign", "TabSheetGrid", N, ""},
    {"FormDesign", "TabSheetEffects", N, ""},
    {"FormDesign", "TabSheetDummy", N, ""},
    {"FormDesign", "ShapeSheetLine", N, ""},
    {"FormDesign", "ShapeLeftTop", E, "ShapeLeftTopMouseMove", "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", "ShapeRightTop", E, "ShapeRightTopMouseMove", "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", "ShapeLeftBottom", E, "ShapeLeftBottomMouseMove", "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", "ShapeRightBottom", E, "ShapeRightBottomMouseMove", "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", "ShapeMultiSelect", N, ""},

    // Common panel.
    {"FormDesign", "PanelCommonEdit", N, ""},
    {"FormDesign", "EditSheetPosLeft", V, "CommonSheetChange"},
    {"FormDesign", "EditSheetPosTop", V, "CommonSheetChange"},
    {"FormDesign", "EditSheetWidth", V, "CommonSheetChange"},
    {"FormDesign", "EditSheetHeight", V, "CommonSheetChange"},
    {"FormDesign", "EditSheetPosLeft", E, "EditSheetNumPress"},
    {"FormDesign", "EditSheetPosTop", E, "EditSheetNumPress"},
    {"FormDesign", "EditSheetWidth", E, "EditSheetNumPress"},
    {"FormDesign", "EditSheetHeight", E, "EditSheetNumPress"},
    {"FormDesign", "UpDownPosX", C, "UpDownEffectsSheetClick"},
    {"FormDesign", "UpDownPosY", C, "UpDownEffectsSheetClick"},
    {"FormDesign", "UpDownWidth", C, "UpDownEffectsSheetClick"},
    {"FormDesign", "UpDownHeight", C, "UpDownEffectsSheetClick"},
    {"FormDesign", "CBCanDisplay", V, "CommonSheetChange"},
    {"FormDesign", "CBCanMove", V, "CommonSheetChange"},
    {"FormDesign", "CBNotPrint", V, "CommonSheetChange"},

    // Text page.
    {"FormDesign", "MemoSheetString", V, "StringSheetChange"},
    {"FormDesign", "MemoSheetString", E, "MemoSheetStringEnter"},
    {"FormDesign", "CBFontName", V, "StringSheetChange"},
    {"FormDesign", "SEFontSize", V, "StringSheetChange"},
    {"FormDesign", "ShapeFontColor", N, ""},
    {"FormDesign", "BtnFontColor", C, "BtnFontColorClick"},
    {"FormDesign", "SBFontBold", V, "StringSheetChange"},
    {"FormDesign", "SBFontItalic", V, "StringSheetChange"},
    {"FormDesign", "SBFontUnderLine", V, "StringSheetChange"},
    {"FormDesign", "CBStringTate", V, "StringSheetChange"},
    {"FormDesign", "RBLeft", V, "StringSheetChange"},
    {"FormDesign", "RBCenter", V, "StringSheetChange"},
    {"FormDesign", "RBRight", V, "StringSheetChange"},
    {"FormDesign", "EditStrSpace", V, "StringSheetChange"},
    {"FormDesign", "EditStrSpace", E, "EditSheetNumPress"},
    {"FormDesign", "UpDownStrSpace", C, "UpDownEffectsSheetClick"},

    // Merge text page.
    {"FormDesign", "CBCsvCol", V, "CsvStringSheetChange"},
    {"FormDesign", "EditFrontStr", V, "CsvStringSheetChange"},
    {"FormDesign", "EditBackStr", V, "CsvStringSheetChange"},
    {"FormDesign", "MemoCSVContent", N, ""},
    {"FormDesign", "CBCsvFontList", V, "CsvStringSheetChange"},
    {"FormDesign", "SECsvFontSize", V, "CsvStringSheetChange"},
    {"FormDesign", "ShapeCsvFontColor", N, ""},
    {"FormDesign", "BtnCsvFontColor", C, "BtnCsvFontColorClick"},
    {"FormDesign", "BtnCsvFontBold", V, "CsvStringSheetChange"},
    {"FormDesign", "BtnCsvFontItalic", V, "CsvStringSheetChange"},
    {"FormDesign", "BtnCsvFontUnderLine", V, "CsvStringSheetChange"},
    {"FormDesign", "CBCsvFontTate", V, "CsvStringSheetChange"},
    {"FormDesign", "RBCsvLeft", V, "CsvStringSheetChange"},
    {"FormDesign", "RBCsvCenter", V, "CsvStringSheetChange"},
    {"FormDesign", "RBCsvRight", V, "CsvStringSheetChange"},
    {"FormDesign", "EditCsvStrSpace", V, "CsvStringSheetChange"},
    {"FormDesign", "EditCsvStrSpace", E, "EditSheetNumPress"},
    {"FormDesign", "UpDownCsvStrSpace", C, "UpDownEffectsSheetClick"},
    {"FormDesign", "PngBtnChangeCsvFile", C, "PngBtnChangeCsvFileClick"},

    // Serial-number page.
    {"FormDesign", "EditRenbanStart", V, "RenbanStringSheetChange"},
    {"FormDesign", "EditRenbanFinish", V, "RenbanStringSheetChange"},
    {"FormDesign", "CBRenbanFontName", V, "RenbanStringSheetChange"},
    {"FormDesign", "SERenbanFontSize", V, "RenbanStringSheetChange"},
    {"FormDesign", "ShapeRenbanFontColor", N, ""},
    {"FormDesign", "BtnRenbanFontColor", C, "BtnRenbanFontColorClick"},
    {"FormDesign", "SBRenbanFontBold", V, "RenbanStringSheetChange"},
    {"FormDesign", "SBRenbanFontItalic", V, "RenbanStringSheetChange"},
    {"FormDesign", "SBRenbanFontUnderLine", V, "RenbanStringSheetChange"},
    {"FormDesign", "CBRenbanStringTate", V, "RenbanStringSheetChange"},
    {"FormDesign", "RBRenbanLeft", V, "RenbanStringSheetChange"},
    {"FormDesign", "RBRenbanCenter", V, "RenbanStringSheetChange"},
    {"FormDesign", "RBRenbanRight", V, "RenbanStringSheetChange"},
    {"FormDesign", "EditRenbanStrSpace", V, "RenbanStringSheetChange"},
    {"FormDesign", "EditRenbanStrSpace", E, "EditSheetNumPress"},
    {"FormDesign", "UpDownRenbanStrSpace", C, "UpDownEffectsSheetClick"},

    // Figure page.
    {"FormDesign", "SBLineVertical", C, "FigureSheetChange"},
    {"FormDesign", "SBLineHorizontal", C, "FigureSheetChange"},
    {"FormDesign", "SBLineDiagonal", C, "FigureSheetChange"},
    {"FormDesign", "SBLineCoDiagonal", C, "FigureSheetChange"},
    {"FormDesign", "SBSquare1", C, "FigureSheetChange"},
    {"FormDesign", "SBRound1", C, "FigureSheetChange"},
    {"FormDesign", "SBSquare2", C, "FigureSheetChange"},
    {"FormDesign", "SBRound2", C, "FigureSheetChange"},
    {"FormDesign", "ShapeLineColor", N, ""},
    {"FormDesign", "BtnChangeLineColor", C, "BtnChangeLineColorClick"},
    {"FormDesign", "SELineWidth", V, "FigureSheetChange"},
    {"FormDesign", "CBLineType", V, "FigureSheetChange"},
    {"FormDesign", "ColorDialoglabel", X, "", "the colour dialog is asked through the message service"},

    // Picture page and its commands.
    {"FormDesign", "ShapePictureBack", N, ""},
    {"FormDesign", "ImageSheetPicture", E, "ImageSheetPictureMouseDown"},
    {"FormDesign", "CBTransparent", C, "CBTransparentClick"},
    {"FormDesign", "CBFixRate", C, "CBFixRateClick"},
    {"FormDesign", "ShapeTransparent", N, ""},
    {"FormDesign", "SBtnOpenImage", C, "SBtnOpenImageClick"},
    {"FormDesign", "SBtnLoadTwain", C, "SBtnLoadTwainClick"},
    {"FormDesign", "SBtnCopy", C, "SBtnCopyClick"},
    {"FormDesign", "SBtnPaste", C, "SBtnPasteClick"},
    {"FormDesign", "SBtnClear", C, "SBtnClearClick"},
    {"FormDesign", "AcquireImage1", X, "", "a plain object made for each acquisition, not a component"},

    // Grid page.
    {"FormDesign", "SpinEditGridCol", V, "GridSheetChange"},
    {"FormDesign", "SpinEditGridRow", V, "GridSheetChange"},
    {"FormDesign", "ShapeGridInnerColor", N, ""},
    {"FormDesign", "BtnGridInnerColor", C, "BtnGridInnerColorClick"},
    {"FormDesign", "ShapeGridOuterColor", N, ""},
    {"FormDesign", "BtnGridOuterColor", C, "BtnGridOuterColorClick"},
    {"FormDesign", "SEdGridLineInnerWidth", V, "GridSheetChange"},
    {"FormDesign", "SEdGridLineOuterWidth", V, "GridSheetChange"},
    {"FormDesign", "CBGridLineInnerType", V, "GridSheetChange"},
    {"FormDesign", "CBGridLineOuterType", V, "GridSheetChange"},

    // Effect-text page, its style boxes and colour buttons.
    {"FormDesign", "MemoSheetEffects", V, "EffectsSheetChange"},
    {"FormDesign", "MemoSheetEffects", E, "MemoSheetEffectsEnter"},
    {"FormDesign", "CBFontName2", V, "EffectsSheetChange"},
    {"FormDesign", "SEFontSize2", V, "EffectsSheetChange"},
    {"FormDesign", "RBLeft2", V, "EffectsSheetChange"},
    {"FormDesign", "RBCenter2", V, "EffectsSheetChange"},
    {"FormDesign", "RBRight2", V, "EffectsSheetChange"},
    {"FormDesign", "Label127", N, ""},
    {"FormDesign", "Label129", N, ""},
    {"FormDesign", "ShapeFontColor2", N, ""},
    {"FormDesign", "BtnFontColor2", C, "BtnFontColor2Click"},
    {"FormDesign", "ShapeArtFontColor2", N, ""},
    {"FormDesign", "SBArtFont2", C, "SBArtFont2Click"},
    {"FormDesign", "ShapeArtFontColor3", N, ""},
    {"FormDesign", "SBArtFont3", C, "SBArtFont3Click"},
    {"FormDesign", "CB_Kage2", C, "CB_Kage2Click"},
    {"FormDesign", "CB_small2", C, "CB_small2Click"},
    {"FormDesign", "CB_Kakoi2", C, "CB_Kakoi2Click"},
    {"FormDesign", "CB_Kyokusen2", C, "CB_Kyokusen2Click"},
    {"FormDesign", "CB_naname2", C, "CB_naname2Click"},
    {"FormDesign", "CB_naname2_2", C, "CB_naname2_2Click"},
    {"FormDesign", "CB_haikei1", C, "CB_haikei1Click"},
    {"FormDesign", "CB_tokusyu1", C, "CB_tokusyu1MouseUp"},

    // Symbol page.
    {"FormDesign", "CBType", V, "BarcodeSheetChange"},
    {"FormDesign", "CBChrd", N, ""},
    {"FormDesign", "Label111", N, ""},
    {"FormDesign", "TabSheetQr", N, ""},
    {"FormDesign", "TabSheetEtc", N, ""},
    {"FormDesign", "TabSheetCoda", N, ""},
    {"FormDesign", "TabSheetITF", N, ""},
    {"FormDesign", "TabSheetCode128", N, ""},
    {"FormDesign", "TabSheetEan128", N, ""},
    {"FormDesign", "TabSheetMaxi", N, ""},
    {"FormDesign", "TabSheetPdf417", N, ""},
    {"FormDesign", "TabSheetMatrix", N, ""},
    {"FormDesign", "TabSheetCostom", N, ""},
    {"FormDesign", "MemoCodeQr", V, "BarcodeSheetChange"},
    {"FormDesign", "CBQRModel", V, "BarcodeSheetChange"},
    {"FormDesign", "CBQrErrLv", V, "BarcodeSheetChange"},
    {"FormDesign", "EditCodeCoda", V, "BarcodeSheetChange"},
    {"FormDesign", "CBStartCharCoda", V, "BarcodeSheetChange"},
    {"FormDesign", "CBStopCharCoda", V, "BarcodeSheetChange"},
    {"FormDesign", "EditCodeItf", V, "BarcodeSheetChange"},
    {"FormDesign", "CBRover", V, "BarcodeSheetChange"},
    {"FormDesign", "EditCodeCode128", V, "BarcodeSheetChange"},
    {"FormDesign", "CBStartCharCode128", V, "BarcodeSheetChange"},
    {"FormDesign", "EditCodeEan128", V, "BarcodeSheetChange"},
    {"FormDesign", "CBStartCharEan128", V, "BarcodeSheetChange"},
    {"FormDesign", "CBMaxiMode", V, "BarcodeSheetChange"},
    {"FormDesign", "MemoMaxi", V, "BarcodeSheetChange"},
    {"FormDesign", "CBModePdf417", V, "BarcodeSheetChange"},
    {"FormDesign", "MemoPdf417", V, "BarcodeSheetChange"},
    {"FormDesign", "CBModelMatrix", V, "BarcodeSheetChange"},
    {"FormDesign", "MemoMatrix", V, "BarcodeSheetChange"},
    {"FormDesign", "EditZip", V, "BarcodeSheetChange"},
    {"FormDesign", "EditAddress", V, "BarcodeSheetChange"},
    {"FormDesign", "EditBarText", V, "BarcodeSheetChange"},

    // Mobile QR page.
    {"FormDesign", "RadioDocomo", V, "QrCarrySheetChange"},
    {"FormDesign", "RadioBankAU", V, "QrCarrySheetChange"},
    {"FormDesign", "PageControlQr", V, "QrCarrySheetChange"},
    {"FormDesign", "Label83", N, ""},
    {"FormDesign", "Label86", N, ""},
    {"FormDesign", "Label87", N, ""},
    {"FormDesign", "Label88", N, ""},
    {"FormDesign", "LblAddr", N, ""},
    {"FormDesign", "LblUrl", N, ""},
    {"FormDesign", "EditQRName", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQRKana", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQRTel1", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQRTel2", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrTel3", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQRMail1", V, "QrCarrySheetChange"},
    {"FormDesign", "EDitQRMail2", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQRMail3", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQRMemo", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrDocomoAddr", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrDocomoUrl", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrSiteName", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrUrl", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrToMail", V, "QrCarrySheetChange"},
    {"FormDesign", "EditQrSubject", V, "QrCarrySheetChange"},
    {"FormDesign", "MemoQrBody", V, "QrCarrySheetChange"},
    {"FormDesign", "MemoQrContents", V, "QrCarrySheetChange"},

    // Merge symbol page.
    {"FormDesign", "CBCsvBarType", V, "CBCsvBarTypeChange"},
    {"FormDesign", "CBCsvCheckDegi", N, ""},
    {"FormDesign", "TabSheetCsvQr", N, ""},
    {"FormDesign", "TabSheetCsvEtc", N, ""},
    {"FormDesign", "TabSheetCsvCoda", N, ""},
    {"FormDesign", "TabSheetCsvItf", N, ""},
    {"FormDesign", "TabSheetCsvCode128", N, ""},
    {"FormDesign", "TabSheetCsvEan128", N, ""},
    {"FormDesign", "TabSheetCsvMaxi", N, ""},
    {"FormDesign", "TabSheetCsvPdf417", N, ""},
    {"FormDesign", "TabSheetCsvMatrix", N, ""},
    {"FormDesign", "TabSheetCsvCostom", N, ""},
    {"FormDesign", "CBCsvQr", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvQrModel", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvQrErrLv", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvCodaBar", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvStartChar", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvStopChar", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvItf", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "ChkBCsvItf", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvCode128", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvCodesetCode128", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvEan128", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvCodesetEan128", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvMaxi", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvMaxiMode", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvPdf417", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvPdf417Model", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvMatrix", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvMatrixModel", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvZip", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvAddress", V, "CSVBarcodeSheetChange"},
    {"FormDesign", "CBCsvCode", V, "CSVBarcodeSheetChange"},

    // Merge mobile QR page.
    {"FormDesign", "RadioCsvDocomo", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "RadioCsvBankAu", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "PageControlQrString", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "Label99", N, ""},
    {"FormDesign", "Label102", N, ""},
    {"FormDesign", "Label103", N, ""},
    {"FormDesign", "Label104", N, ""},
    {"FormDesign", "Label112", N, ""},
    {"FormDesign", "Label113", N, ""},
    {"FormDesign", "CbQrName", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBQrKana", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBTel1", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBTel2", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBTel3", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBMail1", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBMail2", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBMail3", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBMemo", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBAddr", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBUrlCsv", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBSiteName", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBUrl", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBToMail", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBSubject", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBBody", V, "CSVQrCarrySheetChange"},
    {"FormDesign", "CBContents", V, "CSVQrCarrySheetChange"},

    // Files, cells, undo, order and the shell.
    {"FormDesign", "BtnSave", C, "BtnSaveClick"},
    {"FormDesign", "BtnLoad", C, "BtnLoadClick"},
    {"FormDesign", "BtnPaperConfig", C, "BtnPaperConfigClick"},
    {"FormDesign", "OpenDialogLabelFile", X, "", "file dialogs are asked through the message service"},
    {"FormDesign", "SaveDialogLabelFile", X, "", "file dialogs are asked through the message service"},
    {"FormDesign", "ImagePrev", E, "ImagePrevMouseDown"},
    {"FormDesign", "BtnSheetCopy", C, "PngBtnSheetCopyClick"},
    {"FormDesign", "BtnSheetPaste", C, "PngBtnSheetPasteClick"},
    {"FormDesign", "BtnSheetPasteAll", C, "PngBtnSheetPasteAllClick"},
    {"FormDesign", "BtnSheetDel", C, "PngBtnSheetDelClick"},
    {"FormDesign", "PngBtnDelDesign", C, "PngBtnDelDesignClick"},
    {"FormDesign", "SBtnSheetPrev", C, "SBtnSheetPrevClick"},
    {"FormDesign", "SBtnSheetBack", C, "SBtnSheetBackClick"},
    {"FormDesign", "SBtnChangeName", C, "SBtnChangeNameClick"},
    {"FormDesign", "SBtnDelSheet", C, "SBtnDelSheetClick"},
    {"FormDesign", "CBGrid", C, "CBGridClick"},
    {"FormDesign", "PopupMenuSheetTab", N, ""},
    {"FormDesign", "Delete1", C, "Delete1Click"},
    {"FormDesign", "MenuItem1", C, "MenuItem1Click"},
    {"FormDesign", "N3", C, "N3Click"},
    {"FormDesign", "WMSysCommand", X, "", "minimising the editor is the window manager's; there is no application-wide minimise on X11 or Wayland"},

    // Merge-type chooser (created, never shown).
    {"FormSelectCsvType", "CBCsvSheetType", N, ""},
    {"FormSelectCsvType", "PNGBtnOK", C, "PNGBtnOKClick"},
    {"FormSelectCsvType", "PNGBtnCancel", C, "PNGBtnCancelClick"},

    // Print preview.
    {"FormPreview", "CBPrinter", V, "CBPrinterChange"},
    {"FormPreview", "BtnPrinterConfig", C, "BtnPrinterConfigClick"},
    {"FormPreview", "PrinterSetupDialog1", X, "", "the printer dialog is asked through the message service"},
    {"FormPreview", "SEPrintNum", N, ""},
    {"FormPreview", "GBPrintPosition", N, ""},
    {"FormPreview", "EditPrintPosLeft", N, ""},
    {"FormPreview", "UpDownLeft", C, "UpDownLeftClick"},
    {"FormPreview", "EditPrintPosTop", N, ""},
    {"FormPreview", "UpDownTop", C, "UpDownLeftClick"},
    {"FormPreview", "GBSashikomi", N, ""},
    {"FormPreview", "SEPageNo", V, "SEPageNoChange"},
    {"FormPreview", "LblPageRange", N, ""},
    {"FormPreview", "SEPageFrom", N, ""},
    {"FormPreview", "SEPageTo", N, ""},
    {"FormPreview", "SBtnPrev", C, "SBtnPrevClick"},
    {"FormPreview", "SBtnNext", C, "SBtnNextClick"},
    {"FormPreview", "BtnClose", C, "BtnCloseClick"},
    {"FormPreview", "BtnDoPrint", C, "BtnDoPrintClick"},
    {"FormPreview", "ImagePreview", N, ""},

    // User-paper editor.
    {"FormAddPaper", "CBMakeType", V, "CBMakeTypeChange"},
    {"FormAddPaper", "RadioButtonA4Size", N, ""},
    {"FormAddPaper", "RadioButtonHagakiSize", N, ""},
    {"FormAddPaper", "RadioButtonB5Size", N, ""},
    {"FormAddPaper", "EditPaperName", E, "EditPaperNameKeyPress", "a validator keeps typed and pasted text alike"},
    {"FormAddPaper", "PGMakeType", N, ""},
    {"FormAddPaper", "TabSheetLblType1", N, ""},
    {"FormAddPaper", "TabSheetLblType2", N, ""},
    {"FormAddPaper", "EditLabelWidth", N, ""},
    {"FormAddPaper", "EditLabelHeight", N, ""},
    {"FormAddPaper", "EditOffsetUpper", N, ""},
    {"FormAddPaper", "EditOffsetLower", N, ""},
    {"FormAddPaper", "EditOffsetLeft", N, ""},
    {"FormAddPaper", "EditOffsetRight", N, ""},
    {"FormAddPaper", "EditCol", N, ""},
    {"FormAddPaper", "EditRow", N, ""},
    {"FormAddPaper", "CBLabelType", N, ""},
    {"FormAddPaper", "SELblCount", V, "SELblCountChange"},
    {"FormAddPaper", "TCLblConfig", V, "TCLblConfigChange"},
    {"FormAddPaper", "EditLblWidth", V, "EditEtcLblChange"},
    {"FormAddPaper", "EditLblHeigh", V, "EditEtcLblChange"},
    {"FormAddPaper", "EditPosX", V, "EditEtcLblChange"},
    {"FormAddPaper", "EditPosY", V, "EditEtcLblChange"},
    {"FormAddPaper", "CBLblType", V, "EditEtcLblChange"},
    {"FormAddPaper", "PanelPreview", N, ""},
    {"FormAddPaper", "ImageDesign", N, ""},
    {"FormAddPaper", "BtnPreview", C, "BtnPreviewClick"},
    {"FormAddPaper", "BtnAddPaper", C, "BtnAddPaperClick"},
    {"FormAddPaper", "BtnCancel", C, "BtnCancelClick"},

    // Picture chooser.
    {"FormSelectPicture", "PngBtnDesktop", C, "PngBtnDesktopClick"},
    {"FormSelectPicture", "PngBtnDocument", C, "PngBtnDocumentClick"},
    {"FormSelectPicture", "PngBtnSozai", C, "PngBtnSozaiClick"},
    {"FormSelectPicture", "DriveCB", V, "DirListBoxChange", "mounted volumes in place of drive letters"},
    {"FormSelectPicture", "DirListBox", V, "DirListBoxChange"},
    {"FormSelectPicture", "BtnOK", C, "modal result OK"},
    {"FormSelectPicture", "BtnCancel", C, "modal result Cancel"},
    {"FormSelectPicture", "LVAttachFile", E, "LVAttachFileDblClick", "a double click on the viewport, also where no item is"},
    {"FormSelectPicture", "ImageListThumbnail", X, "", "the list's model hands out the thumbnails itself"},
    {"FormSelectPicture", "ProgressBarStatus", N, ""},
    {"FormSelectPicture", "PopupMenu1", N, ""},

    // Picture export.
    {"FormPicSave", "ScrollBox1", E, "ScrollBox1MouseWheelDown", "the scroll box's own wheel handling scrolls it"},
    {"FormPicSave", "ImagePreview", N, ""},
    {"FormPicSave", "GroupBox1", N, ""},
    {"FormPicSave", "RBExtra", C, "RBPicSizeClick"},
    {"FormPicSave", "RBLarge", C, "RBPicSizeClick"},
    {"FormPicSave", "RBMidium", C, "RBPicSizeClick"},
    {"FormPicSave", "RBSmall", C, "RBPicSizeClick"},
    {"FormPicSave", "BtnSave", C, "BtnSaveClick"},
    {"FormPicSave", "BtnCancel", C, "BtnCancelClick"},
    {"FormPicSave", "SaveDialog1", X, "", "file dialogs are asked through the message service"},

    // Template chooser.
    {"FormLoadTemp", "ListBox1", V, "ListBox1Click"},
    {"FormLoadTemp", "ListBox1", D, "ListBox1DblClick"},
    {"FormLoadTemp", "Panel1", N, ""},
    {"FormLoadTemp", "Image1", N, ""},
    {"FormLoadTemp", "BtnOK", C, "modal result 1"},
    {"FormLoadTemp", "BtnCancel", C, "modal result 2"},
    {"FormLoadTemp", "FileListBox1", X, "", "the folder is listed directly; no hidden widget is needed"},
};
// clang-format on

// Signals that carry each kind of user event.
const std::map<Event, std::set<QByteArray>> kSignals{
    {Event::Click, {"clicked", "toggled", "triggered", "pressed", "tabBarClicked"}},
    {Event::Change,
     {"textChanged", "currentIndexChanged", "currentTextChanged", "editTextChanged", "valueChanged", "toggled",
      "clicked", "activated", "currentChanged", "currentRowChanged", "itemSelectionChanged"}},
    {Event::Double, {"doubleClicked", "itemDoubleClicked", "activated", "itemActivated"}},
    {Event::Direct, {"event"}},
};

// The window of that name among the program's windows.
QWidget* Window(const std::vector<QWidget*>& windows, const std::string& name)
{
    for (QWidget* window : windows)
        if (window && window->objectName() == QString::fromStdString(name))
            return window;
    return nullptr;
}

// Whether one of the signals of that kind on the object has a receiver; an
// item view's choice is announced by its selection model.
bool HasReceiver(const QObject& object, Event event)
{
    if (const auto* view = qobject_cast<const QAbstractItemView*>(&object)) {
        if (event == Event::Change && view->selectionModel() && HasReceiver(*view->selectionModel(), event))
            return true;
    }
    // isSignalConnected is protected; a pointer to it taken through a
    // subclass calls it on any object.
    struct Probe : QObject {
        using QObject::isSignalConnected;
    };
    const auto isConnected = &Probe::isSignalConnected;
    const QMetaObject* meta = object.metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal && kSignals.at(event).contains(method.name()) &&
            (object.*isConnected)(method))
            return true;
    }
    return false;
}

// Whether a signal of that kind on the object was wired to the named
// handler; for an item view, also through its selection model.
bool WiredTo(const QObject& object, Event event, const char* handler)
{
    if (const auto* view = qobject_cast<const QAbstractItemView*>(&object)) {
        if (view->selectionModel() && WiredTo(*view->selectionModel(), event, handler))
            return true;
    }
    for (const QString& wired : lx::WiredHandlers(object)) {
        if (wired.section(u':', 1) == QLatin1String(handler) &&
            kSignals.at(event).contains(wired.section(u':', 0, 0).toLatin1()))
            return true;
    }
    return false;
}

} // namespace

TEST_F(DesignerTest, EveryComponentOfEveryWindowExistsAndReachesItsHandler)
{
    ASSERT_TRUE(StartProgram());
    for (const Row& row : kComponents) {
        SCOPED_TRACE(std::string(row.window) + "." + row.component + " -> " + row.handler);
        if (row.event == Event::Absent) {
            EXPECT_STRNE(row.note, "") << "a component without a widget says why";
            continue;
        }
        QWidget* window = Window(Windows(), row.window);
        ASSERT_NE(window, nullptr);
        const QObject* component = window->findChild<QObject*>(QString::fromLatin1(row.component));
        if (!component) {
            ADD_FAILURE() << "no component of that name";
            continue;
        }
        if (row.event == Event::Direct) {
            if (*row.note == '\0') {
                EXPECT_TRUE(WiredTo(*component, row.event, row.handler))
                    << "no event filter reaches that handler: "
                    << lx::WiredHandlers(*component).join(u' ').toStdString();
            }
        } else if (kSignals.contains(row.event)) {
            EXPECT_TRUE(HasReceiver(*component, row.event)) << "nothing receives its signal";
            EXPECT_TRUE(WiredTo(*component, row.event, row.handler))
                << "its signal is not wired to that handler: "
                << lx::WiredHandlers(*component).join(u' ').toStdString();
        }
    }
}
