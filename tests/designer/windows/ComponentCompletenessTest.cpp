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
#include <vector>

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

// Components of one window whose events reach the same handler.
struct Group {
    const char* window;
    Event event;
    const char* handler;
    std::vector<const char*> components;
    const char* note = "";
};

constexpr Event N = Event::None, C = Event::Click, V = Event::Change, D = Event::Double, E = Event::Direct,
                X = Event::Absent;

// clang-format off
const Group kComponents[] = {
    // Start menu.
    {"FormTopMenu", N, "", {"Image1", "Image2"}},
    {"FormTopMenu", C, "PngBtnSelectPaperClick", {"PngBtnSelectPaper"}},
    {"FormTopMenu", C, "PngBtnTemplateClick", {"PngBtnTemplate"}},
    {"FormTopMenu", C, "PngBtnOpenFileClick", {"PngBtnOpenFile"}},
    {"FormTopMenu", C, "PngBtnCloseClick", {"PngBtnClose"}},

    // Paper chooser.
    {"FormSelectPaper", N, "", {"LblMaker", "LblPaperList", "LblSearch", "LblPreview", "GBPaperMuki", "PanelPreview",
        "ImageDesign"}},
    {"FormSelectPaper", V, "CBMakerChange", {"CBMaker"}},
    {"FormSelectPaper", V, "RefreshPreview", {"LBPaperList"}},
    {"FormSelectPaper", E, "LBPaperListMouseMove", {"LBPaperList"}, "each line carries its own hint"},
    {"FormSelectPaper", V, "EditSearchChange", {"EditSearch"}},
    {"FormSelectPaper", C, "RefreshPreview", {"RBTate", "RBYoko"}},
    {"FormSelectPaper", C, "BtnNextClick", {"BtnNext"}},
    {"FormSelectPaper", C, "BtnBackClick", {"BtnBack"}},
    {"FormSelectPaper", C, "BtnAddPaperClick", {"BtnAddPaper"}},
    {"FormSelectPaper", C, "BtnDelPaperClick", {"BtnDelPaper"}},

    // Editor frame.
    {"FormDesign", N, "", {"ScrollBoxDesign", "katabanlbl", "Paperlbl", "LblMode", "PageControlProperty",
        "PageControlBarType", "PageControlCSV", "PageControlCsvBarType"}},
    {"FormDesign", E, "ImageDesignMouseDown", {"ImageDesign"}},
    {"FormDesign", V, "CBShowSizeChange", {"CBShowSize"}},
    {"FormDesign", C, "PngBtnModeClick", {"BtnMode"}},
    {"FormDesign", C, "BtnUndoClick", {"BtnUndo"}},
    {"FormDesign", C, "BtnRedoClick", {"BtnRedo"}},
    {"FormDesign", C, "BtnPrintClick", {"BtnPrint"}},
    {"FormDesign", C, "PngBtnPicOutClick", {"PngBtnPicOut"}},
    {"FormDesign", C, "TABSheetChange", {"TABSheet"}},
    {"FormDesign", E, "TABSheetMouseDown", {"TABSheet"}},
    {"FormDesign", E, "HandleDropFiles", {"PanelPicture"}},

    // Adding objects and the pages per kind.
    {"FormDesign", N, "", {"PopupMenuSelect", "EditSheetName", "TabSheetText", "TabSheetDrawing", "TabSheetImage",
        "TabSheetBarcode", "TabSheetQRCarry", "TabSheetCSV", "TabSheetCsvString", "TabSheetCsvBarcode",
        "TabSheetCsvQRCarry", "TabSheetRenban", "TabSheetGrid", "TabSheetEffects", "TabSheetDummy", "ShapeSheetLine",
        "ShapeMultiSelect"}},
    {"FormDesign", C, "BtnAddSheetClick", {"BtnStringSheet", "MenuItemMoji", "BtnPicSheet", "MenuItemPic",
        "BtnFigureSheet", "MenuItemZukei", "BtnBarSheet", "MenuItemQR", "BtnQrCarrySheet", "MenuItemKeitai",
        "BtnCsvSheet", "BtnRenbanSheet", "PngBtnChart", "MenuItemMoyou", "PNGButton1", "MenuItemEffect"}},
    {"FormDesign", X, "", {"OpenDialogCSV"}, "file dialogs are asked through the message service"},
    {"FormDesign", E, "ShapeLeftTopMouseMove", {"ShapeLeftTop"}, "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", E, "ShapeRightTopMouseMove", {"ShapeRightTop"}, "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", E, "ShapeLeftBottomMouseMove", {"ShapeLeftBottom"}, "ShapeHandleMouseMove moves every handle"},
    {"FormDesign", E, "ShapeRightBottomMouseMove", {"ShapeRightBottom"}, "ShapeHandleMouseMove moves every handle"},

    // Common panel.
    {"FormDesign", N, "", {"PanelCommonEdit"}},
    {"FormDesign", V, "CommonSheetChange", {"EditSheetPosLeft", "EditSheetPosTop", "EditSheetWidth",
        "EditSheetHeight", "CBCanDisplay", "CBCanMove", "CBNotPrint"}},
    {"FormDesign", E, "EditSheetNumPress", {"EditSheetPosLeft", "EditSheetPosTop", "EditSheetWidth",
        "EditSheetHeight"}},
    {"FormDesign", C, "UpDownEffectsSheetClick", {"UpDownPosX", "UpDownPosY", "UpDownWidth", "UpDownHeight"}},

    // Text page.
    {"FormDesign", V, "StringSheetChange", {"MemoSheetString", "CBFontName", "SEFontSize", "SBFontBold",
        "SBFontItalic", "SBFontUnderLine", "CBStringTate", "RBLeft", "RBCenter", "RBRight", "EditStrSpace"}},
    {"FormDesign", E, "MemoSheetStringEnter", {"MemoSheetString"}},
    {"FormDesign", N, "", {"ShapeFontColor"}},
    {"FormDesign", C, "BtnFontColorClick", {"BtnFontColor"}},
    {"FormDesign", E, "EditSheetNumPress", {"EditStrSpace"}},
    {"FormDesign", C, "UpDownEffectsSheetClick", {"UpDownStrSpace"}},

    // Merge text page.
    {"FormDesign", V, "CsvStringSheetChange", {"CBCsvCol", "EditFrontStr", "EditBackStr", "CBCsvFontList",
        "SECsvFontSize", "BtnCsvFontBold", "BtnCsvFontItalic", "BtnCsvFontUnderLine", "CBCsvFontTate", "RBCsvLeft",
        "RBCsvCenter", "RBCsvRight", "EditCsvStrSpace"}},
    {"FormDesign", N, "", {"MemoCSVContent", "ShapeCsvFontColor"}},
    {"FormDesign", C, "BtnCsvFontColorClick", {"BtnCsvFontColor"}},
    {"FormDesign", E, "EditSheetNumPress", {"EditCsvStrSpace"}},
    {"FormDesign", C, "UpDownEffectsSheetClick", {"UpDownCsvStrSpace"}},
    {"FormDesign", C, "PngBtnChangeCsvFileClick", {"PngBtnChangeCsvFile"}},

    // Serial-number page.
    {"FormDesign", V, "RenbanStringSheetChange", {"EditRenbanStart", "EditRenbanFinish", "CBRenbanFontName",
        "SERenbanFontSize", "SBRenbanFontBold", "SBRenbanFontItalic", "SBRenbanFontUnderLine", "CBRenbanStringTate",
        "RBRenbanLeft", "RBRenbanCenter", "RBRenbanRight", "EditRenbanStrSpace"}},
    {"FormDesign", N, "", {"ShapeRenbanFontColor"}},
    {"FormDesign", C, "BtnRenbanFontColorClick", {"BtnRenbanFontColor"}},
    {"FormDesign", E, "EditSheetNumPress", {"EditRenbanStrSpace"}},
    {"FormDesign", C, "UpDownEffectsSheetClick", {"UpDownRenbanStrSpace"}},

    // Figure page.
    {"FormDesign", C, "FigureSheetChange", {"SBLineVertical", "SBLineHorizontal", "SBLineDiagonal",
        "SBLineCoDiagonal", "SBSquare1", "SBRound1", "SBSquare2", "SBRound2"}},
    {"FormDesign", N, "", {"ShapeLineColor"}},
    {"FormDesign", C, "BtnChangeLineColorClick", {"BtnChangeLineColor"}},
    {"FormDesign", V, "FigureSheetChange", {"SELineWidth", "CBLineType"}},
    {"FormDesign", X, "", {"ColorDialoglabel"}, "the colour dialog is asked through the message service"},

    // Picture page and its commands.
    {"FormDesign", N, "", {"ShapePictureBack", "ShapeTransparent"}},
    {"FormDesign", E, "ImageSheetPictureMouseDown", {"ImageSheetPicture"}},
    {"FormDesign", C, "CBTransparentClick", {"CBTransparent"}},
    {"FormDesign", C, "CBFixRateClick", {"CBFixRate"}},
    {"FormDesign", C, "SBtnOpenImageClick", {"SBtnOpenImage"}},
    {"FormDesign", C, "SBtnLoadTwainClick", {"SBtnLoadTwain"}},
    {"FormDesign", C, "SBtnCopyClick", {"SBtnCopy"}},
    {"FormDesign", C, "SBtnPasteClick", {"SBtnPaste"}},
    {"FormDesign", C, "SBtnClearClick", {"SBtnClear"}},
    {"FormDesign", X, "", {"AcquireImage1"}, "a plain object made for each acquisition, not a component"},

    // Grid page.
    {"FormDesign", V, "GridSheetChange", {"SpinEditGridCol", "SpinEditGridRow", "SEdGridLineInnerWidth",
        "SEdGridLineOuterWidth", "CBGridLineInnerType", "CBGridLineOuterType"}},
    {"FormDesign", N, "", {"ShapeGridInnerColor", "ShapeGridOuterColor"}},
    {"FormDesign", C, "BtnGridInnerColorClick", {"BtnGridInnerColor"}},
    {"FormDesign", C, "BtnGridOuterColorClick", {"BtnGridOuterColor"}},

    // Effect-text page, its style boxes and colour buttons.
    {"FormDesign", V, "EffectsSheetChange", {"MemoSheetEffects", "CBFontName2", "SEFontSize2", "RBLeft2",
        "RBCenter2", "RBRight2"}},
    {"FormDesign", E, "MemoSheetEffectsEnter", {"MemoSheetEffects"}},
    {"FormDesign", N, "", {"Label127", "Label129", "ShapeFontColor2", "ShapeArtFontColor2", "ShapeArtFontColor3"}},
    {"FormDesign", C, "BtnFontColor2Click", {"BtnFontColor2"}},
    {"FormDesign", C, "SBArtFont2Click", {"SBArtFont2"}},
    {"FormDesign", C, "SBArtFont3Click", {"SBArtFont3"}},
    {"FormDesign", C, "CB_Kage2Click", {"CB_Kage2"}},
    {"FormDesign", C, "CB_small2Click", {"CB_small2"}},
    {"FormDesign", C, "CB_Kakoi2Click", {"CB_Kakoi2"}},
    {"FormDesign", C, "CB_Kyokusen2Click", {"CB_Kyokusen2"}},
    {"FormDesign", C, "CB_naname2Click", {"CB_naname2"}},
    {"FormDesign", C, "CB_naname2_2Click", {"CB_naname2_2"}},
    {"FormDesign", C, "CB_haikei1Click", {"CB_haikei1"}},
    {"FormDesign", C, "CB_tokusyu1MouseUp", {"CB_tokusyu1"}},

    // Symbol page.
    {"FormDesign", V, "BarcodeSheetChange", {"CBType", "MemoCodeQr", "CBQRModel", "CBQrErrLv", "EditCodeCoda",
        "CBStartCharCoda", "CBStopCharCoda", "EditCodeItf", "CBRover", "EditCodeCode128", "CBStartCharCode128",
        "EditCodeEan128", "CBStartCharEan128", "CBMaxiMode", "MemoMaxi", "CBModePdf417", "MemoPdf417",
        "CBModelMatrix", "MemoMatrix", "EditZip", "EditAddress", "EditBarText"}},
    {"FormDesign", N, "", {"CBChrd", "Label111", "TabSheetQr", "TabSheetEtc", "TabSheetCoda", "TabSheetITF",
        "TabSheetCode128", "TabSheetEan128", "TabSheetMaxi", "TabSheetPdf417", "TabSheetMatrix", "TabSheetCostom"}},

    // Mobile QR page.
    {"FormDesign", V, "QrCarrySheetChange", {"RadioDocomo", "RadioBankAU", "PageControlQr", "EditQRName",
        "EditQRKana", "EditQRTel1", "EditQRTel2", "EditQrTel3", "EditQRMail1", "EDitQRMail2", "EditQRMail3",
        "EditQRMemo", "EditQrDocomoAddr", "EditQrDocomoUrl", "EditQrSiteName", "EditQrUrl", "EditQrToMail",
        "EditQrSubject", "MemoQrBody", "MemoQrContents"}},
    {"FormDesign", N, "", {"Label83", "Label86", "Label87", "Label88", "LblAddr", "LblUrl"}},

    // Merge symbol page.
    {"FormDesign", V, "CBCsvBarTypeChange", {"CBCsvBarType"}},
    {"FormDesign", N, "", {"CBCsvCheckDegi", "TabSheetCsvQr", "TabSheetCsvEtc", "TabSheetCsvCoda", "TabSheetCsvItf",
        "TabSheetCsvCode128", "TabSheetCsvEan128", "TabSheetCsvMaxi", "TabSheetCsvPdf417", "TabSheetCsvMatrix",
        "TabSheetCsvCostom"}},
    {"FormDesign", V, "CSVBarcodeSheetChange", {"CBCsvQr", "CBCsvQrModel", "CBCsvQrErrLv", "CBCsvCodaBar",
        "CBCsvStartChar", "CBCsvStopChar", "CBCsvItf", "ChkBCsvItf", "CBCsvCode128", "CBCsvCodesetCode128",
        "CBCsvEan128", "CBCsvCodesetEan128", "CBCsvMaxi", "CBCsvMaxiMode", "CBCsvPdf417", "CBCsvPdf417Model",
        "CBCsvMatrix", "CBCsvMatrixModel", "CBCsvZip", "CBCsvAddress", "CBCsvCode"}},

    // Merge mobile QR page.
    {"FormDesign", V, "CSVQrCarrySheetChange", {"RadioCsvDocomo", "RadioCsvBankAu", "PageControlQrString",
        "CbQrName", "CBQrKana", "CBTel1", "CBTel2", "CBTel3", "CBMail1", "CBMail2", "CBMail3", "CBMemo", "CBAddr",
        "CBUrlCsv", "CBSiteName", "CBUrl", "CBToMail", "CBSubject", "CBBody", "CBContents"}},
    {"FormDesign", N, "", {"Label99", "Label102", "Label103", "Label104", "Label112", "Label113"}},

    // Files, cells, undo, order and the shell.
    {"FormDesign", C, "BtnSaveClick", {"BtnSave"}},
    {"FormDesign", C, "BtnLoadClick", {"BtnLoad"}},
    {"FormDesign", C, "BtnPaperConfigClick", {"BtnPaperConfig"}},
    {"FormDesign", X, "", {"OpenDialogLabelFile", "SaveDialogLabelFile"},
     "file dialogs are asked through the message service"},
    {"FormDesign", E, "ImagePrevMouseDown", {"ImagePrev"}},
    {"FormDesign", C, "PngBtnSheetCopyClick", {"BtnSheetCopy"}},
    {"FormDesign", C, "PngBtnSheetPasteClick", {"BtnSheetPaste"}},
    {"FormDesign", C, "PngBtnSheetPasteAllClick", {"BtnSheetPasteAll"}},
    {"FormDesign", C, "PngBtnSheetDelClick", {"BtnSheetDel"}},
    {"FormDesign", C, "PngBtnDelDesignClick", {"PngBtnDelDesign"}},
    {"FormDesign", C, "SBtnSheetPrevClick", {"SBtnSheetPrev"}},
    {"FormDesign", C, "SBtnSheetBackClick", {"SBtnSheetBack"}},
    {"FormDesign", C, "SBtnChangeNameClick", {"SBtnChangeName"}},
    {"FormDesign", C, "SBtnDelSheetClick", {"SBtnDelSheet"}},
    {"FormDesign", C, "CBGridClick", {"CBGrid"}},
    {"FormDesign", N, "", {"PopupMenuSheetTab"}},
    {"FormDesign", C, "Delete1Click", {"Delete1"}},
    {"FormDesign", C, "MenuItem1Click", {"MenuItem1"}},
    {"FormDesign", C, "N3Click", {"N3"}},
    {"FormDesign", X, "", {"WMSysCommand"},
     "minimising the editor is the window manager's; there is no application-wide minimise on X11 or Wayland"},

    // Merge-type chooser (created, never shown).
    {"FormSelectCsvType", N, "", {"CBCsvSheetType"}},
    {"FormSelectCsvType", C, "PNGBtnOKClick", {"PNGBtnOK"}},
    {"FormSelectCsvType", C, "PNGBtnCancelClick", {"PNGBtnCancel"}},

    // Print preview.
    {"FormPreview", V, "CBPrinterChange", {"CBPrinter"}},
    {"FormPreview", C, "BtnPrinterConfigClick", {"BtnPrinterConfig"}},
    {"FormPreview", X, "", {"PrinterSetupDialog1"}, "the printer dialog is asked through the message service"},
    {"FormPreview", N, "", {"SEPrintNum", "GBPrintPosition", "EditPrintPosLeft", "EditPrintPosTop", "GBSashikomi",
        "LblPageRange", "SEPageFrom", "SEPageTo", "ImagePreview"}},
    {"FormPreview", C, "UpDownLeftClick", {"UpDownLeft", "UpDownTop"}},
    {"FormPreview", V, "SEPageNoChange", {"SEPageNo"}},
    {"FormPreview", C, "SBtnPrevClick", {"SBtnPrev"}},
    {"FormPreview", C, "SBtnNextClick", {"SBtnNext"}},
    {"FormPreview", C, "BtnCloseClick", {"BtnClose"}},
    {"FormPreview", C, "BtnDoPrintClick", {"BtnDoPrint"}},

    // User-paper editor.
    {"FormAddPaper", V, "CBMakeTypeChange", {"CBMakeType"}},
    {"FormAddPaper", N, "", {"RadioButtonA4Size", "RadioButtonHagakiSize", "RadioButtonB5Size", "PGMakeType",
        "TabSheetLblType1", "TabSheetLblType2", "EditLabelWidth", "EditLabelHeight", "EditOffsetUpper",
        "EditOffsetLower", "EditOffsetLeft", "EditOffsetRight", "EditCol", "EditRow", "CBLabelType", "PanelPreview",
        "ImageDesign"}},
    {"FormAddPaper", E, "EditPaperNameKeyPress", {"EditPaperName"}, "a validator keeps typed and pasted text alike"},
    {"FormAddPaper", V, "SELblCountChange", {"SELblCount"}},
    {"FormAddPaper", V, "TCLblConfigChange", {"TCLblConfig"}},
    {"FormAddPaper", V, "EditEtcLblChange", {"EditLblWidth", "EditLblHeigh", "EditPosX", "EditPosY", "CBLblType"}},
    {"FormAddPaper", C, "BtnPreviewClick", {"BtnPreview"}},
    {"FormAddPaper", C, "BtnAddPaperClick", {"BtnAddPaper"}},
    {"FormAddPaper", C, "BtnCancelClick", {"BtnCancel"}},

    // Picture chooser.
    {"FormSelectPicture", C, "PngBtnDesktopClick", {"PngBtnDesktop"}},
    {"FormSelectPicture", C, "PngBtnDocumentClick", {"PngBtnDocument"}},
    {"FormSelectPicture", C, "PngBtnSozaiClick", {"PngBtnSozai"}},
    {"FormSelectPicture", V, "DirListBoxChange", {"DriveCB"}, "mounted volumes in place of drive letters"},
    {"FormSelectPicture", V, "DirListBoxChange", {"DirListBox"}},
    {"FormSelectPicture", C, "modal result OK", {"BtnOK"}},
    {"FormSelectPicture", C, "modal result Cancel", {"BtnCancel"}},
    {"FormSelectPicture", E, "LVAttachFileDblClick", {"LVAttachFile"},
     "a double click on the viewport, also where no item is"},
    {"FormSelectPicture", X, "", {"ImageListThumbnail"}, "the list's model hands out the thumbnails itself"},
    {"FormSelectPicture", N, "", {"ProgressBarStatus", "PopupMenu1"}},

    // Picture export.
    {"FormPicSave", E, "ScrollBox1MouseWheelDown", {"ScrollBox1"}, "the scroll box's own wheel handling scrolls it"},
    {"FormPicSave", N, "", {"ImagePreview", "GroupBox1"}},
    {"FormPicSave", C, "RBPicSizeClick", {"RBExtra", "RBLarge", "RBMidium", "RBSmall"}},
    {"FormPicSave", C, "BtnSaveClick", {"BtnSave"}},
    {"FormPicSave", C, "BtnCancelClick", {"BtnCancel"}},
    {"FormPicSave", X, "", {"SaveDialog1"}, "file dialogs are asked through the message service"},

    // Template chooser.
    {"FormLoadTemp", V, "ListBox1Click", {"ListBox1"}},
    {"FormLoadTemp", D, "ListBox1DblClick", {"ListBox1"}},
    {"FormLoadTemp", N, "", {"Panel1", "Image1"}},
    {"FormLoadTemp", C, "modal result 1", {"BtnOK"}},
    {"FormLoadTemp", C, "modal result 2", {"BtnCancel"}},
    {"FormLoadTemp", X, "", {"FileListBox1"}, "the folder is listed directly; no hidden widget is needed"},
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
    for (const Group& group : kComponents) {
        for (const char* name : group.components) {
            SCOPED_TRACE(std::string(group.window) + "." + name + " -> " + group.handler);
            if (group.event == Event::Absent) {
                EXPECT_STRNE(group.note, "") << "a component without a widget says why";
                continue;
            }
            QWidget* window = Window(Windows(), group.window);
            ASSERT_NE(window, nullptr);
            const QObject* component = window->findChild<QObject*>(QString::fromLatin1(name));
            if (!component) {
                ADD_FAILURE() << "no component of that name";
                continue;
            }
            if (group.event == Event::Direct) {
                if (*group.note == '\0') {
                    EXPECT_TRUE(WiredTo(*component, group.event, group.handler))
                        << "no event filter reaches that handler: "
                        << lx::WiredHandlers(*component).join(u' ').toStdString();
                }
            } else if (kSignals.contains(group.event)) {
                EXPECT_TRUE(HasReceiver(*component, group.event)) << "nothing receives its signal";
                EXPECT_TRUE(WiredTo(*component, group.event, group.handler))
                    << "its signal is not wired to that handler: "
                    << lx::WiredHandlers(*component).join(u' ').toStdString();
            }
        }
    }
}
