// The symbol pages: the symbol and mobile QR pages, and the options of the
// merge symbol and merge mobile QR pages beside their column lists. Every
// write renders the symbol again and keeps the box in the symbol's
// proportions.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelQRCarry.h"
#include "designer/model/LxObjectFactory.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/QtBridge.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>

namespace lx {

namespace {

// The options pages, in the order both symbol pages stack them.
enum OptionsPage {
    PageQr,
    PageEtc,
    PageCoda,
    PageItf,
    PageCode128,
    PageEan128,
    PageMaxi,
    PagePdf417,
    PageMatrix,
    PagePostal,
    kOptionsPageCount
};

constexpr std::array<int, 15> kOptionsPageOfKind{PageQr,     PageEtc,  PageEtc,    PageEtc,    PageEtc,
                                                 PageCoda,   PageItf,  PageEtc,    PageEtc,    PageCode128,
                                                 PageEan128, PageMaxi, PagePdf417, PageMatrix, PagePostal};

constexpr int kBookmarkTab = 1;

QStringList SymbolKindItems()
{
    return {QStringLiteral("QRコード"),
            QStringLiteral("EAN-13(JAN-13)/ISBN(13桁)"),
            QStringLiteral("EAN-8(JAN-8)"),
            QStringLiteral("UPC-A"),
            QStringLiteral("UPC-E"),
            QStringLiteral("CODABAR"),
            QStringLiteral("ITF"),
            QStringLiteral("STF"),
            QStringLiteral("CODE39"),
            QStringLiteral("CODE128"),
            QStringLiteral("EAN-128"),
            QStringLiteral("MaxiCode"),
            QStringLiteral("PDF417"),
            QStringLiteral("Data Matrix"),
            QStringLiteral("郵便カスタマーコード")};
}

QStringList QrModels() { return {QStringLiteral("Model 1"), QStringLiteral("Model 2"), QStringLiteral("MicroQR")}; }
QStringList QrLevels()
{
    return {QStringLiteral("L(7%)"), QStringLiteral("M(15%)"), QStringLiteral("Q(25%)"), QStringLiteral("H(30%)")};
}
QStringList CodabarChars()
{
    return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
}
QStringList CodeSets() { return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}; }
QStringList MaxiModes()
{
    return {QStringLiteral("Mode2"), QStringLiteral("Mode3"), QStringLiteral("Mode4"), QStringLiteral("Mode5")};
}
QStringList Pdf417Models()
{
    return {QStringLiteral("Standard"), QStringLiteral("Truncated"), QStringLiteral("Micro PDF417")};
}
QStringList MatrixModels() { return {QStringLiteral("Square"), QStringLiteral("Rectangular")}; }

QLabel* Caption(QWidget* page, const QString& text, int x, int y, const char* name = nullptr)
{
    auto* label = new QLabel(text, page);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    return label;
}

QComboBox* Choice(QWidget* page, const char* name, const QStringList& items, int x, int y, int width = 140)
{
    auto* box = PlaceWidget(new QComboBox, page, name, x, y, width, 22);
    box->addItems(items);
    return box;
}

// A caption with a box under it; returns the box.
template <typename Box>
Box* Field(QWidget* page, const char* name, const QString& caption, int y, int height = 22,
           const char* captionName = nullptr)
{
    Caption(page, caption, 8, y, captionName);
    return PlaceWidget(new Box, page, name, 8, y + 18, 300, height);
}

// A caption and a list beside it, as the merge pages lay their rows out.
QComboBox* OptionRow(QWidget* page, const char* name, const QString& caption, const QStringList& items, int y)
{
    Caption(page, caption, 8, y);
    return Choice(page, name, items, 130, y - 2, 170);
}

void ShowItem(QComboBox* box, int index) { box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1); }

void ShowItemText(QComboBox* box, const std::string& text) { box->setCurrentIndex(box->findText(ToQString(text))); }

// A chosen item's index, or the value kept when nothing is chosen.
std::int32_t ChosenOr(const QComboBox* box, std::int32_t offset, std::int32_t kept)
{
    return box->currentIndex() >= 0 ? box->currentIndex() + offset : kept;
}

std::string ChosenTextOr(const QComboBox* box, const std::string& kept)
{
    return box->currentIndex() >= 0 ? ToCp932(box->currentText()) : kept;
}

std::int32_t ChosenColumn(const QComboBox* box) { return std::max(box->currentIndex(), 0); }

std::string FieldText(const QWidget* box)
{
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(box))
        return MemoToCp932(memo->toPlainText());
    return ToCp932(static_cast<const QLineEdit*>(box)->text());
}

void SetFieldText(QWidget* box, const std::string& cp932)
{
    if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->setPlainText(MemoToQString(cp932));
    else
        static_cast<QLineEdit*>(box)->setText(ToQString(cp932));
}

// Carrier 0 ticks the first button, 1 the second, any other neither.
void ShowCarrier(QRadioButton* docomo, QRadioButton* other, std::int32_t carrier)
{
    QButtonGroup* group = docomo->group();
    group->setExclusive(false);
    docomo->setChecked(carrier == kCarrierMecard);
    other->setChecked(carrier == kCarrierMemory);
    group->setExclusive(true);
}

std::int32_t ChosenCarrier(const QRadioButton* docomo, const QRadioButton* other, std::int32_t kept)
{
    return docomo->isChecked() ? kCarrierMecard : other->isChecked() ? kCarrierMemory : kept;
}

// The create type is the shown tab's place among the visible tabs.
std::int32_t VisibleTabIndex(const QTabWidget* tabs)
{
    std::int32_t place = 0;
    for (int i = 0; i < tabs->currentIndex(); ++i)
        place += tabs->isTabVisible(i);
    return place;
}

void ShowVisibleTab(QTabWidget* tabs, std::int32_t place)
{
    for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->isTabVisible(i))
            continue;
        if (place-- == 0) {
            tabs->setCurrentIndex(i);
            return;
        }
    }
}

// What the carrier changes on a mobile QR page.
struct CarrierControls {
    QLabel* tel2;
    QLabel* mail2;
    QLabel* mail3;
    std::vector<QWidget*> otherOnly;
    std::vector<QWidget*> docomoOnly;
    QTabWidget* tabs;
};

void ShowCarrierControls(const CarrierControls& c, bool docomo)
{
    c.tel2->setText(docomo ? QStringLiteral("■TV電話") : QStringLiteral("■TEL 2"));
    c.mail2->setText(docomo ? QStringLiteral("■ニックネーム") : QStringLiteral("■メールアドレス 2"));
    c.mail3->setText(docomo ? QStringLiteral("■誕生日") : QStringLiteral("■メールアドレス 3"));
    // Sized once for the first text; each new text gets its own width.
    for (QLabel* caption : {c.tel2, c.mail2, c.mail3})
        caption->adjustSize();
    for (QWidget* widget : c.otherOnly)
        widget->setVisible(!docomo);
    for (QWidget* widget : c.docomoOnly)
        widget->setVisible(docomo);
    // Hiding the shown tab moves to another one: not a change of the user's.
    const QSignalBlocker quiet(c.tabs);
    c.tabs->setTabVisible(kBookmarkTab, docomo);
}

QRadioButton* CarrierButton(QWidget* page, const char* name, const QString& text, int x, QButtonGroup* group)
{
    auto* button = PlaceWidget(new QRadioButton(text), page, name, x, 6, 110, 22);
    group->addButton(button);
    return button;
}

} // namespace

// The option boxes that the symbol page and the merge symbol page share.
struct SymbolOptionBoxes {
    QComboBox* qrModel;
    QComboBox* qrLevel;
    QComboBox* codabarStart;
    QComboBox* codabarStop;
    QCheckBox* bearerBar;
    QComboBox* code128Set;
    QComboBox* ean128Set;
    QComboBox* maxiMode;
    QComboBox* pdf417Model;
    QComboBox* matrixModel;
    QCheckBox* checkDigit;
};

// The code set a CODE128 or EAN-128 symbol is made with: the letter chosen
// in the page, else the object's own code set.
static void ShowCodeSet(QComboBox* box, const SymbolSettings& s)
{
    const int chosen = box->findText(ToQString(s.StartChar));
    ShowItem(box, chosen >= 0 ? chosen : s.CodeSet);
}

// The MaxiCode mode a symbol is made with: the control replaces a mode
// outside Mode 2 to Mode 5 (1 to 4) by Mode 4.
static int MaxiModeInUse(const SymbolSettings& s)
{
    return s.MaxiCodeMode >= 1 && s.MaxiCodeMode <= 4 ? s.MaxiCodeMode : 3;
}

static void FillSymbolOptions(const SymbolOptionBoxes& b, const SymbolSettings& s)
{
    const bool qr = s.SymbolKind == SymbolQr;
    ShowItem(b.qrModel, qr ? s.Model - 1 : 0);
    ShowItem(b.qrLevel, qr ? s.EccLevel : 1);
    ShowItemText(b.codabarStart, s.StartChar);
    ShowItemText(b.codabarStop, s.StopChar);
    ShowCodeSet(b.code128Set, s);
    ShowCodeSet(b.ean128Set, s);
    b.bearerBar->setChecked(s.BearerBar != 0);
    ShowItem(b.maxiMode, MaxiModeInUse(s) - 1);
    ShowItem(b.pdf417Model, s.SymbolKind == SymbolPdf417 ? s.Model - 1 : 0);
    ShowItem(b.matrixModel, s.SymbolKind == SymbolDataMatrix ? s.Model - 1 : 0);
    b.checkDigit->setChecked(s.CheckDigit == 1);
}

// Writes the options of the page showing; a list showing nothing keeps the
// stored value.
static void WriteSymbolOptions(const SymbolOptionBoxes& b, int page, SymbolSettings& s)
{
    switch (page) {
    case PageQr:
        s.Model = ChosenOr(b.qrModel, 1, s.Model);
        s.EccLevel = ChosenOr(b.qrLevel, 0, s.EccLevel);
        break;
    case PageCoda:
        s.StartChar = ChosenTextOr(b.codabarStart, s.StartChar);
        s.StopChar = ChosenTextOr(b.codabarStop, s.StopChar);
        break;
    case PageItf: s.BearerBar = b.bearerBar->isChecked() ? 1 : 0; break;
    case PageCode128: s.StartChar = ChosenTextOr(b.code128Set, s.StartChar); break;
    case PageEan128: s.StartChar = ChosenTextOr(b.ean128Set, s.StartChar); break;
    case PageMaxi: s.MaxiCodeMode = ChosenOr(b.maxiMode, 1, s.MaxiCodeMode); break;
    case PagePdf417: s.Model = ChosenOr(b.pdf417Model, 1, s.Model); break;
    case PageMatrix: s.Model = ChosenOr(b.matrixModel, 1, s.Model); break;
    default: break;
    }
    // The check-digit box is offered for CODABAR, ITF, STF and CODE39 only.
    if (s.SymbolKind >= SymbolCodabar && s.SymbolKind <= SymbolCode39)
        s.CheckDigit = b.checkDigit->isChecked() ? 1 : 0;
}

static SymbolOptionBoxes SymbolPageOptions(const TFormDesign& f)
{
    return {f.CBQRModel,         f.CBQrErrLv,  f.CBStartCharCoda, f.CBStopCharCoda, f.CBRover, f.CBStartCharCode128,
            f.CBStartCharEan128, f.CBMaxiMode, f.CBModePdf417,    f.CBModelMatrix,  f.CBChrd};
}

static SymbolOptionBoxes CsvSymbolPageOptions(const TFormDesign& f)
{
    return {f.CBCsvQrModel,     f.CBCsvQrErrLv,        f.CBCsvStartChar,     f.CBCsvStopChar,
            f.ChkBCsvItf,       f.CBCsvCodesetCode128, f.CBCsvCodesetEan128, f.CBCsvMaxiMode,
            f.CBCsvPdf417Model, f.CBCsvMatrixModel,    f.CBCsvCheckDegi};
}

// The data box of each options page of the symbol page; none for the postal page.
static std::array<QWidget*, kOptionsPageCount> SymbolDataBoxes(const TFormDesign& f)
{
    return {f.MemoCodeQr,     f.EditBarText, f.EditCodeCoda, f.EditCodeItf, f.EditCodeCode128,
            f.EditCodeEan128, f.MemoMaxi,    f.MemoPdf417,   f.MemoMatrix,  nullptr};
}

// The data column list of each options page of the merge symbol page.
static std::array<QComboBox*, kOptionsPageCount> CsvDataColumnBoxes(const TFormDesign& f)
{
    return {f.CBCsvQr,     f.CBCsvCode, f.CBCsvCodaBar, f.CBCsvItf,    f.CBCsvCode128,
            f.CBCsvEan128, f.CBCsvMaxi, f.CBCsvPdf417,  f.CBCsvMatrix, nullptr};
}

// The seventeen texts of the mobile QR page, in the object's order.
static std::array<QWidget*, kQRCarryTextCount> QRCarryTextBoxes(const TFormDesign& f)
{
    return {f.EditQRName,  f.EditQRKana,   f.EditQRTel1,    f.EditQRTel2,       f.EditQrTel3,      f.EditQRMail1,
            f.EDitQRMail2, f.EditQRMail3,  f.EditQRMemo,    f.EditQrDocomoAddr, f.EditQrDocomoUrl, f.EditQrSiteName,
            f.EditQrUrl,   f.EditQrToMail, f.EditQrSubject, f.MemoQrBody,       f.MemoQrContents};
}

// The seventeen column lists of the merge mobile QR page, in the same order.
static std::array<QComboBox*, kQRCarryTextCount> CsvQRCarryColumnBoxes(const TFormDesign& f)
{
    return {f.CbQrName, f.CBQrKana, f.CBTel1,     f.CBTel2, f.CBTel3,   f.CBMail1,   f.CBMail2, f.CBMail3,   f.CBMemo,
            f.CBAddr,   f.CBUrlCsv, f.CBSiteName, f.CBUrl,  f.CBToMail, f.CBSubject, f.CBBody,  f.CBContents};
}

// ---- Building the pages. ----

void TFormDesign::BuildSymbolComponents()
{
    BuildBarcodePage();
    BuildQRCarryPage();
    BuildCsvSymbolOptions();
    ConnectSymbolHandlers();
    ShowCsvBarTypePage(SymbolQr);
}

void TFormDesign::BuildBarcodePage()
{
    QWidget* page = TabSheetBarcode;
    LabelType = Caption(page, QStringLiteral("バーコードの種類"), 8, 8, "LabelType");
    CBType = Choice(page, "CBType", SymbolKindItems(), 8, 26, 240);
    CBChrd = PlaceWidget(new QCheckBox(QStringLiteral("チェックデジット")), page, "CBChrd", 8, 52, 160, 22);
    // New symbols are QR Codes; the kind of a loaded one is shown, not chosen.
    for (QWidget* widget : std::initializer_list<QWidget*>{LabelType, CBType, CBChrd})
        widget->hide();
    Label111 = PlaceWidget(new QLabel, page, "Label111", 8, 4, 300, 34);
    PageControlBarType = PlaceWidget(new QStackedWidget, page, "PageControlBarType", 0, 40, 320, 320);
    const QString data = QStringLiteral("■データ");
    TabSheetQr = Named(new QWidget, "TabSheetQr");
    MemoCodeQr = Field<QPlainTextEdit>(TabSheetQr, "MemoCodeQr", data, 4, 120);
    Caption(TabSheetQr, QStringLiteral("■モデル"), 8, 150);
    CBQRModel = Choice(TabSheetQr, "CBQRModel", QrModels(), 8, 168);
    Caption(TabSheetQr, QStringLiteral("■誤り訂正レベル"), 160, 150);
    CBQrErrLv = Choice(TabSheetQr, "CBQrErrLv", QrLevels(), 160, 168);
    TabSheetEtc = Named(new QWidget, "TabSheetEtc");
    EditBarText = Field<QLineEdit>(TabSheetEtc, "EditBarText", data, 4);
    TabSheetCoda = Named(new QWidget, "TabSheetCoda");
    EditCodeCoda = Field<QLineEdit>(TabSheetCoda, "EditCodeCoda", data, 4);
    Caption(TabSheetCoda, QStringLiteral("■スタート文字"), 8, 52);
    CBStartCharCoda = Choice(TabSheetCoda, "CBStartCharCoda", CodabarChars(), 8, 70, 80);
    Caption(TabSheetCoda, QStringLiteral("■ストップ文字"), 160, 52);
    CBStopCharCoda = Choice(TabSheetCoda, "CBStopCharCoda", CodabarChars(), 160, 70, 80);
    TabSheetITF = Named(new QWidget, "TabSheetITF");
    EditCodeItf = Field<QLineEdit>(TabSheetITF, "EditCodeItf", data, 4);
    CBRover = PlaceWidget(new QCheckBox(QStringLiteral("ベアラバー")), TabSheetITF, "CBRover", 8, 52, 160, 22);
    TabSheetCode128 = Named(new QWidget, "TabSheetCode128");
    EditCodeCode128 = Field<QLineEdit>(TabSheetCode128, "EditCodeCode128", data, 4);
    Caption(TabSheetCode128, QStringLiteral("■コードセット"), 8, 52);
    CBStartCharCode128 = Choice(TabSheetCode128, "CBStartCharCode128", CodeSets(), 8, 70, 80);
    TabSheetEan128 = Named(new QWidget, "TabSheetEan128");
    EditCodeEan128 = Field<QLineEdit>(TabSheetEan128, "EditCodeEan128", data, 4);
    Caption(TabSheetEan128, QStringLiteral("■コードセット"), 8, 52);
    CBStartCharEan128 = Choice(TabSheetEan128, "CBStartCharEan128", CodeSets(), 8, 70, 80);
    TabSheetMaxi = Named(new QWidget, "TabSheetMaxi");
    Caption(TabSheetMaxi, QStringLiteral("■モード"), 8, 4);
    CBMaxiMode = Choice(TabSheetMaxi, "CBMaxiMode", MaxiModes(), 8, 22);
    MemoMaxi = Field<QPlainTextEdit>(TabSheetMaxi, "MemoMaxi", data, 52, 120);
    TabSheetPdf417 = Named(new QWidget, "TabSheetPdf417");
    Caption(TabSheetPdf417, QStringLiteral("■モデル"), 8, 4);
    CBModePdf417 = Choice(TabSheetPdf417, "CBModePdf417", Pdf417Models(), 8, 22);
    MemoPdf417 = Field<QPlainTextEdit>(TabSheetPdf417, "MemoPdf417", data, 52, 120);
    TabSheetMatrix = Named(new QWidget, "TabSheetMatrix");
    Caption(TabSheetMatrix, QStringLiteral("■モデル"), 8, 4);
    CBModelMatrix = Choice(TabSheetMatrix, "CBModelMatrix", MatrixModels(), 8, 22);
    MemoMatrix = Field<QPlainTextEdit>(TabSheetMatrix, "MemoMatrix", data, 52, 120);
    TabSheetCostom = Named(new QWidget, "TabSheetCostom");
    EditZip = Field<QLineEdit>(TabSheetCostom, "EditZip", QStringLiteral("■郵便番号"), 4);
    EditAddress = Field<QLineEdit>(TabSheetCostom, "EditAddress", QStringLiteral("■住所"), 52);
    for (QWidget* sub : {TabSheetQr, TabSheetEtc, TabSheetCoda, TabSheetITF, TabSheetCode128, TabSheetEan128,
                         TabSheetMaxi, TabSheetPdf417, TabSheetMatrix, TabSheetCostom})
        PageControlBarType->addWidget(sub);
}

void TFormDesign::BuildQRCarryPage()
{
    QWidget* page = TabSheetQRCarry;
    auto* carriers = new QButtonGroup(page);
    RadioDocomo = CarrierButton(page, "RadioDocomo", QStringLiteral("ドコモ"), 8, carriers);
    RadioBankAU = CarrierButton(page, "RadioBankAU", QStringLiteral("SoftBank/au"), 120, carriers);
    PageControlQr = PlaceWidget(new QTabWidget, page, "PageControlQr", 0, 34, 330, 500);
    // Rows of a caption over a box, 42 pixels apart so that neither crosses the other.
    QWidget* book = Named(new QWidget, "TabSheetQrBook");
    EditQRName = Field<QLineEdit>(book, "EditQRName", QStringLiteral("■名前"), 2);
    EditQRKana = Field<QLineEdit>(book, "EditQRKana", QStringLiteral("■フリガナ"), 44);
    EditQRTel1 = Field<QLineEdit>(book, "EditQRTel1", QStringLiteral("■TEL 1"), 86);
    EditQRTel2 = Field<QLineEdit>(book, "EditQRTel2", QStringLiteral("■TEL 2"), 128, 22, "Label83");
    EditQrTel3 = Field<QLineEdit>(book, "EditQrTel3", QStringLiteral("■TEL 3"), 170, 22, "Label86");
    EditQRMail1 = Field<QLineEdit>(book, "EditQRMail1", QStringLiteral("■メールアドレス 1"), 212);
    EDitQRMail2 = Field<QLineEdit>(book, "EDitQRMail2", QStringLiteral("■メールアドレス 2"), 254, 22, "Label87");
    EditQRMail3 = Field<QLineEdit>(book, "EditQRMail3", QStringLiteral("■メールアドレス 3"), 296, 22, "Label88");
    EditQRMemo = Field<QLineEdit>(book, "EditQRMemo", QStringLiteral("■メモ"), 338);
    EditQrDocomoAddr = Field<QLineEdit>(book, "EditQrDocomoAddr", QStringLiteral("■住所"), 380, 22, "LblAddr");
    EditQrDocomoUrl = Field<QLineEdit>(book, "EditQrDocomoUrl", QStringLiteral("■URL"), 422, 22, "LblUrl");
    Label83 = book->findChild<QLabel*>(QStringLiteral("Label83"));
    Label86 = book->findChild<QLabel*>(QStringLiteral("Label86"));
    Label87 = book->findChild<QLabel*>(QStringLiteral("Label87"));
    Label88 = book->findChild<QLabel*>(QStringLiteral("Label88"));
    LblAddr = book->findChild<QLabel*>(QStringLiteral("LblAddr"));
    LblUrl = book->findChild<QLabel*>(QStringLiteral("LblUrl"));
    QWidget* bookmark = Named(new QWidget, "TabSheetQrBookmark");
    EditQrSiteName = Field<QLineEdit>(bookmark, "EditQrSiteName", QStringLiteral("■タイトル"), 2);
    EditQrUrl = Field<QLineEdit>(bookmark, "EditQrUrl", QStringLiteral("■URL"), 44);
    QWidget* mail = Named(new QWidget, "TabSheetQrMail");
    EditQrToMail = Field<QLineEdit>(mail, "EditQrToMail", QStringLiteral("■宛先"), 2);
    EditQrSubject = Field<QLineEdit>(mail, "EditQrSubject", QStringLiteral("■件名"), 44);
    MemoQrBody = Field<QPlainTextEdit>(mail, "MemoQrBody", QStringLiteral("■本文"), 86, 160);
    QWidget* plain = Named(new QWidget, "TabSheetQrText");
    MemoQrContents = Field<QPlainTextEdit>(plain, "MemoQrContents", QStringLiteral("■テキスト"), 2, 200);
    PageControlQr->addTab(book, QStringLiteral("電話帳"));
    PageControlQr->addTab(bookmark, QStringLiteral("ブックマーク"));
    PageControlQr->addTab(mail, QStringLiteral("メール"));
    PageControlQr->addTab(plain, QStringLiteral("テキスト"));
}

void TFormDesign::BuildCsvSymbolOptions()
{
    CBCsvBarType->addItems(SymbolKindItems());
    CBCsvQrModel = OptionRow(TabSheetCsvQr, "CBCsvQrModel", QStringLiteral("■モデル"), QrModels(), 36);
    CBCsvQrErrLv = OptionRow(TabSheetCsvQr, "CBCsvQrErrLv", QStringLiteral("■誤り訂正レベル"), QrLevels(), 64);
    CBCsvStartChar = OptionRow(TabSheetCsvCoda, "CBCsvStartChar", QStringLiteral("■スタート文字"), CodabarChars(), 36);
    CBCsvStopChar = OptionRow(TabSheetCsvCoda, "CBCsvStopChar", QStringLiteral("■ストップ文字"), CodabarChars(), 64);
    ChkBCsvItf = PlaceWidget(new QCheckBox(QStringLiteral("ベアラバー")), TabSheetCsvItf, "ChkBCsvItf", 8, 34, 160, 22);
    CBCsvCodesetCode128 =
        OptionRow(TabSheetCsvCode128, "CBCsvCodesetCode128", QStringLiteral("■コードセット"), CodeSets(), 36);
    CBCsvCodesetEan128 =
        OptionRow(TabSheetCsvEan128, "CBCsvCodesetEan128", QStringLiteral("■コードセット"), CodeSets(), 36);
    CBCsvMaxiMode = OptionRow(TabSheetCsvMaxi, "CBCsvMaxiMode", QStringLiteral("■モード"), MaxiModes(), 36);
    CBCsvPdf417Model = OptionRow(TabSheetCsvPdf417, "CBCsvPdf417Model", QStringLiteral("■モデル"), Pdf417Models(), 36);
    CBCsvMatrixModel = OptionRow(TabSheetCsvMatrix, "CBCsvMatrixModel", QStringLiteral("■モデル"), MatrixModels(), 36);

    QWidget* page = TabSheetCsvQRCarry;
    auto* carriers = new QButtonGroup(page);
    RadioCsvDocomo = CarrierButton(page, "RadioCsvDocomo", QStringLiteral("ドコモ"), 8, carriers);
    RadioCsvBankAu = CarrierButton(page, "RadioCsvBankAu", QStringLiteral("SoftBank/au"), 120, carriers);
    const auto label = [page](const char* name) { return page->findChild<QLabel*>(QString::fromLatin1(name)); };
    Label99 = label("Label99");
    Label102 = label("Label102");
    Label103 = label("Label103");
    Label104 = label("Label104");
    Label112 = label("Label112");
    Label113 = label("Label113");
}

void TFormDesign::ConnectSymbolHandlers()
{
    using Handler = void (TFormDesign::*)();
    // One change signal per kind of box; a radio button counts when it is
    // ticked. What CP932 cannot hold is taken out of a text and told first.
    const auto connectAll = [this](std::initializer_list<QObject*> boxes, Handler handler, const char* name) {
        const auto run = [this, handler] { guarded([&] { (this->*handler)(); }); };
        for (QObject* box : boxes) {
            if (auto* edit = qobject_cast<QLineEdit*>(box)) {
                connect(edit, &QLineEdit::textChanged, this, [edit] { guarded([edit] { KeepCp932Only(edit); }); });
                Wire(name, edit, &QLineEdit::textChanged, this, run);
            } else if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
                connect(memo, &QPlainTextEdit::textChanged, this, [memo] { guarded([memo] { KeepCp932Only(memo); }); });
                Wire(name, memo, &QPlainTextEdit::textChanged, this, run);
            } else if (auto* list = qobject_cast<QComboBox*>(box))
                Wire(name, list, &QComboBox::currentIndexChanged, this, run);
            else if (auto* radio = qobject_cast<QRadioButton*>(box))
                Wire(name, radio, &QAbstractButton::toggled, this, [run](bool on) {
                    if (on)
                        run();
                });
            else if (auto* check = qobject_cast<QAbstractButton*>(box))
                Wire(name, check, &QAbstractButton::toggled, this, run);
            else if (auto* tabs = qobject_cast<QTabWidget*>(box))
                Wire(name, tabs, &QTabWidget::currentChanged, this, run);
        }
    };
    connectAll({CBType,      CBChrd,          MemoCodeQr,         CBQRModel,      CBQrErrLv,
                EditBarText, EditCodeCoda,    CBStartCharCoda,    CBStopCharCoda, EditCodeItf,
                CBRover,     EditCodeCode128, CBStartCharCode128, EditCodeEan128, CBStartCharEan128,
                CBMaxiMode,  MemoMaxi,        CBModePdf417,       MemoPdf417,     CBModelMatrix,
                MemoMatrix,  EditZip,         EditAddress},
               LX_HANDLER(TFormDesign, BarcodeSheetChange));
    connectAll({RadioDocomo, RadioBankAU, PageControlQr}, LX_HANDLER(TFormDesign, QrCarrySheetChange));
    for (QWidget* box : QRCarryTextBoxes(*this))
        connectAll({box}, LX_HANDLER(TFormDesign, QrCarrySheetChange));
    connectAll({CBCsvCheckDegi, CBCsvQrModel, CBCsvQrErrLv, CBCsvStartChar, CBCsvStopChar, ChkBCsvItf,
                CBCsvCodesetCode128, CBCsvCodesetEan128, CBCsvMaxiMode, CBCsvPdf417Model, CBCsvMatrixModel, CBCsvZip,
                CBCsvAddress},
               LX_HANDLER(TFormDesign, CSVBarcodeSheetChange));
    for (QComboBox* box : CsvDataColumnBoxes(*this))
        if (box)
            connectAll({box}, LX_HANDLER(TFormDesign, CSVBarcodeSheetChange));
    connectAll({RadioCsvDocomo, RadioCsvBankAu, PageControlQrString}, LX_HANDLER(TFormDesign, CSVQrCarrySheetChange));
    for (QComboBox* box : CsvQRCarryColumnBoxes(*this))
        connectAll({box}, LX_HANDLER(TFormDesign, CSVQrCarrySheetChange));
}

// ---- Page steps and change handlers. ----

void TFormDesign::ShowCsvBarTypePage(int symbolKind)
{
    CBCsvCheckDegi->setEnabled(false);
    if (symbolKind < 0 || symbolKind >= static_cast<int>(kOptionsPageOfKind.size()))
        return;
    PageControlCsvBarType->setCurrentIndex(kOptionsPageOfKind[static_cast<std::size_t>(symbolKind)]);
    CBCsvCheckDegi->setEnabled(symbolKind >= SymbolCodabar && symbolKind <= SymbolCode39);
}

void TFormDesign::BarcodeSheetChange()
{
    const int kind = CBType->currentIndex();
    CBChrd->setEnabled(false);
    Label111->clear();
    if (kind >= 0 && kind < static_cast<int>(kOptionsPageOfKind.size())) {
        PageControlBarType->setCurrentIndex(kOptionsPageOfKind[static_cast<std::size_t>(kind)]);
        if (kind == SymbolEan13)
            Label111->setText(
                QStringLiteral("■EAN-13はチェックデジットが自動的に\r\n追加されるため12桁入力してください"));
        else if (kind == SymbolEan8)
            Label111->setText(
                QStringLiteral("■EAN-8はチェックデジットが自動的に\r\n追加されるため7桁入力してください"));
        CBChrd->setEnabled(kind >= SymbolCodabar && kind <= SymbolCode39);
    }
    ApplyPanel(&TFormDesign::LabelEditBarcodeObj, true);
}

void TFormDesign::QrCarrySheetChange()
{
    const bool docomo = RadioDocomo->isChecked();
    ShowCarrierControls({Label83,
                         Label87,
                         Label88,
                         {Label86, EditQrTel3},
                         {LblAddr, EditQrDocomoAddr, LblUrl, EditQrDocomoUrl},
                         PageControlQr},
                        docomo);
    // The nickname takes kana; the other carriers' mail address does not.
    EDitQRMail2->setAttribute(Qt::WA_InputMethodEnabled, docomo);
    ApplyPanel(&TFormDesign::LabelEditQRCarryObj, true);
}

void TFormDesign::CSVBarcodeSheetChange()
{
    ShowCsvBarTypePage(CBCsvBarType->currentIndex());
    ApplyPanel(&TFormDesign::LabelEditCsvBarcode, true);
}

void TFormDesign::CSVQrCarrySheetChange()
{
    ShowCarrierControls(
        {Label99, Label103, Label104, {Label102, CBTel3}, {Label112, CBAddr, Label113, CBUrlCsv}, PageControlQrString},
        RadioCsvDocomo->isChecked());
    ApplyPanel(&TFormDesign::LabelEditCsvQRCarry, true);
}

// ---- Filling the pages from the selected object. ----

void TFormDesign::FillBarcodePage(const TLxLableObjectBase& object)
{
    const auto* symbol = dynamic_cast<const TLxLabelObjectBarcode*>(&object);
    if (!symbol)
        return;
    const SymbolSettings& s = symbol->GetSettings();
    ShowItem(CBType, s.SymbolKind);
    for (QWidget* box : SymbolDataBoxes(*this))
        if (box)
            SetFieldText(box, "");
    EditZip->clear();
    EditAddress->clear();
    const int page = CBType->currentIndex() >= 0 ? kOptionsPageOfKind[static_cast<std::size_t>(s.SymbolKind)] : -1;
    if (page == PagePostal) {
        EditZip->setText(ToQString(s.ZipCode));
        EditAddress->setText(ToQString(s.Address));
    } else if (page >= 0) {
        SetFieldText(SymbolDataBoxes(*this)[static_cast<std::size_t>(page)], s.Data);
    }
    FillSymbolOptions(SymbolPageOptions(*this), s);
    BarcodeSheetChange();
}

void TFormDesign::FillQRCarryPage(const TLxLableObjectBase& object)
{
    const auto* qr = dynamic_cast<const TLxLabelObjectQRCarry*>(&object);
    if (!qr)
        return;
    const QRCarryFields& fields = qr->GetFields();
    ShowCarrier(RadioDocomo, RadioBankAU, fields.Carrier);
    const auto boxes = QRCarryTextBoxes(*this);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        SetFieldText(boxes[i], fields.Texts[i]);
    QrCarrySheetChange();
    ShowVisibleTab(PageControlQr, fields.CreateType);
}

void TFormDesign::FillCsvBarcodePage(const TLxLableObjectBase& object)
{
    const auto* merge = dynamic_cast<const TLxLabelObjectCsvBarcode*>(&object);
    if (!merge)
        return;
    const SymbolSettings& s = merge->GetSettings();
    ShowItem(CBCsvBarType, s.SymbolKind);
    for (QComboBox* box : CsvDataColumnBoxes(*this))
        if (box)
            ShowItem(box, merge->GetDataColumn());
    ShowItem(CBCsvZip, merge->GetZipColumn());
    ShowItem(CBCsvAddress, merge->GetAddressColumn());
    FillSymbolOptions(CsvSymbolPageOptions(*this), s);
    CSVBarcodeSheetChange();
}

void TFormDesign::FillCsvQRCarryPage(const TLxLableObjectBase& object)
{
    const auto* merge = dynamic_cast<const TLxLabelObjectCsvQRCarry*>(&object);
    if (!merge)
        return;
    ShowCarrier(RadioCsvDocomo, RadioCsvBankAu, merge->GetCarrier());
    const auto boxes = CsvQRCarryColumnBoxes(*this);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        ShowItem(boxes[i], merge->GetColumn(static_cast<QRCarryText>(i)));
    CSVQrCarrySheetChange();
    ShowVisibleTab(PageControlQrString, merge->GetCreateType());
}

// ---- Writing the pages into the object. ----

void TFormDesign::LabelEditBarcodeObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* symbol = dynamic_cast<TLxLabelObjectBarcode*>(&object);
        if (!symbol || KindOfClass(object) != KindBarcode)
            return;
        SymbolSettings s = symbol->GetSettings();
        s.SymbolKind = ChosenOr(CBType, 0, s.SymbolKind);
        const int page = PageControlBarType->currentIndex();
        if (page == PagePostal) {
            s.ZipCode = ToCp932(EditZip->text());
            s.Address = ToCp932(EditAddress->text());
        } else if (page >= 0 && page < kOptionsPageCount) {
            s.Data = FieldText(SymbolDataBoxes(*this)[static_cast<std::size_t>(page)]);
        }
        WriteSymbolOptions(SymbolPageOptions(*this), page, s);
        symbol->SetSettings(s);
        symbol->UpdateSymbol();
        FitFrameToPicture(symbol->GetRenderedPicture(), true);
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditQRCarryObj(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* qr = dynamic_cast<TLxLabelObjectQRCarry*>(&object);
        if (!qr || KindOfClass(object) != KindQRCarry)
            return;
        QRCarryFields fields = qr->GetFields();
        fields.Carrier = ChosenCarrier(RadioDocomo, RadioBankAU, fields.Carrier);
        fields.CreateType = VisibleTabIndex(PageControlQr);
        const auto boxes = QRCarryTextBoxes(*this);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            fields.Texts[i] = FieldText(boxes[i]);
        qr->SetFields(fields);
        qr->UpdateSymbol();
        FitFrameToPicture(qr->GetRenderedPicture(), true);
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditCsvBarcode(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* merge = dynamic_cast<TLxLabelObjectCsvBarcode*>(&object);
        if (!merge)
            return;
        SymbolSettings s = merge->GetSettings();
        s.SymbolKind = ChosenOr(CBCsvBarType, 0, s.SymbolKind);
        const int page = PageControlCsvBarType->currentIndex();
        if (page == PagePostal) {
            merge->SetZipColumn(ChosenColumn(CBCsvZip));
            merge->SetAddressColumn(ChosenColumn(CBCsvAddress));
        } else if (page >= 0 && page < kOptionsPageCount) {
            merge->SetDataColumn(ChosenColumn(CsvDataColumnBoxes(*this)[static_cast<std::size_t>(page)]));
        }
        WriteSymbolOptions(CsvSymbolPageOptions(*this), page, s);
        merge->SetSettings(s);
        merge->UpdateSymbolForRecord();
        FitFrameToPicture(merge->GetRenderedPicture(), true);
        LabelEditCommonObj(index);
    });
}

void TFormDesign::LabelEditCsvQRCarry(std::int32_t index)
{
    RecordedWrite(index, [&](TLxLableObjectBase& object) {
        auto* merge = dynamic_cast<TLxLabelObjectCsvQRCarry*>(&object);
        if (!merge)
            return;
        merge->SetCarrier(ChosenCarrier(RadioCsvDocomo, RadioCsvBankAu, merge->GetCarrier()));
        merge->SetCreateType(VisibleTabIndex(PageControlQrString));
        const auto boxes = CsvQRCarryColumnBoxes(*this);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            merge->SetColumn(static_cast<QRCarryText>(i), ChosenColumn(boxes[i]));
        merge->UpdateSymbol();
        FitFrameToPicture(merge->GetPicture(), true);
        LabelEditCommonObj(index);
    });
}

} // namespace lx
