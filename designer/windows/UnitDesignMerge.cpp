// Merge columns: the column lists of the merge pages, the change of the
// design's CSV file with its undo step, and the merge-symbol options pages.
#include "designer/windows/UnitDesign.h"

#include "designer/model/LxLabelCSVString.h"
#include "designer/model/LxObjectFactory.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/MergeColumnModel.h"
#include "designer/windows/MergeEncodingQuestion.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/QtBridge.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <vector>

namespace lx {

namespace {

constexpr std::string_view kCannotOpen = "を開くことができません。";

// A caption and a column list under it at (8, y).
QComboBox* ColumnRow(QWidget* page, const char* name, const QString& caption, int y, const char* labelName = nullptr)
{
    auto* label = new QLabel(caption, page);
    if (labelName)
        label->setObjectName(QString::fromLatin1(labelName));
    label->move(8, y);
    auto* box = new QComboBox(page);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(130, y - 2, 170, 22);
    return box;
}

} // namespace

void TFormDesign::BuildMergeComponents()
{
    PngBtnChangeCsvFile = new PictureButton;
    PngBtnChangeCsvFile->setObjectName(QStringLiteral("PngBtnChangeCsvFile"));
    PngBtnChangeCsvFile->setText(QStringLiteral("CSVファイルを変更"));
    if (auto* csv = qobject_cast<QBoxLayout*>(TabSheetCSV->layout()))
        csv->insertWidget(0, PngBtnChangeCsvFile);

    QWidget* symbol = TabSheetCsvBarcode;
    CBCsvBarType = new QComboBox(symbol);
    CBCsvBarType->setObjectName(QStringLiteral("CBCsvBarType"));
    CBCsvBarType->setGeometry(8, 6, 240, 22);
    CBCsvCheckDegi = new QCheckBox(QStringLiteral("チェックデジット"), symbol);
    CBCsvCheckDegi->setObjectName(QStringLiteral("CBCsvCheckDegi"));
    CBCsvCheckDegi->move(8, 34);
    PageControlCsvBarType = new QStackedWidget(symbol);
    PageControlCsvBarType->setObjectName(QStringLiteral("PageControlCsvBarType"));
    PageControlCsvBarType->setGeometry(0, 60, 320, 300);
    const QString data = QStringLiteral("データ列");
    TabSheetCsvQr = Named(new QWidget, "TabSheetCsvQr");
    CBCsvQr = ColumnRow(TabSheetCsvQr, "CBCsvQr", data, 8);
    TabSheetCsvEtc = Named(new QWidget, "TabSheetCsvEtc");
    CBCsvCode = ColumnRow(TabSheetCsvEtc, "CBCsvCode", data, 8);
    TabSheetCsvCoda = Named(new QWidget, "TabSheetCsvCoda");
    CBCsvCodaBar = ColumnRow(TabSheetCsvCoda, "CBCsvCodaBar", data, 8);
    TabSheetCsvItf = Named(new QWidget, "TabSheetCsvItf");
    CBCsvItf = ColumnRow(TabSheetCsvItf, "CBCsvItf", data, 8);
    TabSheetCsvCode128 = Named(new QWidget, "TabSheetCsvCode128");
    CBCsvCode128 = ColumnRow(TabSheetCsvCode128, "CBCsvCode128", data, 8);
    TabSheetCsvEan128 = Named(new QWidget, "TabSheetCsvEan128");
    CBCsvEan128 = ColumnRow(TabSheetCsvEan128, "CBCsvEan128", data, 8);
    TabSheetCsvMaxi = Named(new QWidget, "TabSheetCsvMaxi");
    CBCsvMaxi = ColumnRow(TabSheetCsvMaxi, "CBCsvMaxi", data, 8);
    TabSheetCsvPdf417 = Named(new QWidget, "TabSheetCsvPdf417");
    CBCsvPdf417 = ColumnRow(TabSheetCsvPdf417, "CBCsvPdf417", data, 8);
    TabSheetCsvMatrix = Named(new QWidget, "TabSheetCsvMatrix");
    CBCsvMatrix = ColumnRow(TabSheetCsvMatrix, "CBCsvMatrix", data, 8);
    TabSheetCsvCostom = Named(new QWidget, "TabSheetCsvCostom");
    CBCsvZip = ColumnRow(TabSheetCsvCostom, "CBCsvZip", QStringLiteral("郵便番号列"), 8);
    CBCsvAddress = ColumnRow(TabSheetCsvCostom, "CBCsvAddress", QStringLiteral("住所列"), 36);
    for (QWidget* page : {TabSheetCsvQr, TabSheetCsvEtc, TabSheetCsvCoda, TabSheetCsvItf, TabSheetCsvCode128,
                          TabSheetCsvEan128, TabSheetCsvMaxi, TabSheetCsvPdf417, TabSheetCsvMatrix, TabSheetCsvCostom})
        PageControlCsvBarType->addWidget(page);

    auto* tabs = PageControlQrString = new QTabWidget(TabSheetCsvQRCarry);
    tabs->setObjectName(QStringLiteral("PageControlQrString"));
    tabs->setGeometry(0, 60, 330, 360);
    QWidget* book = Named(new QWidget, "TabSheetCsvQrBook");
    CbQrName = ColumnRow(book, "CbQrName", QStringLiteral("■名前"), 8);
    CBQrKana = ColumnRow(book, "CBQrKana", QStringLiteral("■フリガナ"), 34);
    CBTel1 = ColumnRow(book, "CBTel1", QStringLiteral("■TEL 1"), 60);
    CBTel2 = ColumnRow(book, "CBTel2", QStringLiteral("■TEL 2"), 86, "Label99");
    CBTel3 = ColumnRow(book, "CBTel3", QStringLiteral("■TEL 3"), 112, "Label102");
    CBMail1 = ColumnRow(book, "CBMail1", QStringLiteral("■メールアドレス 1"), 138);
    CBMail2 = ColumnRow(book, "CBMail2", QStringLiteral("■メールアドレス 2"), 164, "Label103");
    CBMail3 = ColumnRow(book, "CBMail3", QStringLiteral("■メールアドレス 3"), 190, "Label104");
    CBMemo = ColumnRow(book, "CBMemo", QStringLiteral("■メモ"), 216);
    CBAddr = ColumnRow(book, "CBAddr", QStringLiteral("■住所"), 242, "Label112");
    CBUrlCsv = ColumnRow(book, "CBUrlCsv", QStringLiteral("■URL"), 268, "Label113");
    QWidget* bookmark = Named(new QWidget, "TabSheetCsvQrBookmark");
    CBSiteName = ColumnRow(bookmark, "CBSiteName", QStringLiteral("■タイトル"), 8);
    CBUrl = ColumnRow(bookmark, "CBUrl", QStringLiteral("■URL"), 34);
    QWidget* mail = Named(new QWidget, "TabSheetCsvQrMail");
    CBToMail = ColumnRow(mail, "CBToMail", QStringLiteral("■宛先"), 8);
    CBSubject = ColumnRow(mail, "CBSubject", QStringLiteral("■件名"), 34);
    CBBody = ColumnRow(mail, "CBBody", QStringLiteral("■本文"), 60);
    QWidget* plain = Named(new QWidget, "TabSheetCsvQrText");
    CBContents = ColumnRow(plain, "CBContents", QStringLiteral("■テキスト"), 8);
    tabs->addTab(book, QStringLiteral("電話帳"));
    tabs->addTab(bookmark, QStringLiteral("ブックマーク"));
    tabs->addTab(mail, QStringLiteral("メール"));
    tabs->addTab(plain, QStringLiteral("テキスト"));

    OpenDialogCSV.mode = FileDialogRequest::Mode::Open;
    OpenDialogCSV.caption = "差込シートに使用するCSVファイルを選択してください";
    OpenDialogCSV.filters = {"CSVファイル (*.csv *.CSV)"};
    OpenDialogCSV.defaultSuffix = "csv";
    FillMergeColumnLists(0);

    Wire("PngBtnChangeCsvFileClick", PngBtnChangeCsvFile, &QAbstractButton::clicked, this,
         [this] { guarded([this] { PngBtnChangeCsvFileClick(); }); });
    Wire("CBCsvBarTypeChange", CBCsvBarType, &QComboBox::currentIndexChanged, this,
         [this] { guarded([this] { CBCsvBarTypeChange(); }); });
}

std::array<QComboBox*, 29> TFormDesign::MergeColumnLists() const
{
    return {CBCsvCol,    CBCsvQr,  CBCsvCodaBar, CBCsvItf,  CBCsvCode128, CBCsvEan128, CBCsvMaxi, CBCsvPdf417,
            CBCsvMatrix, CBCsvZip, CBCsvAddress, CBCsvCode, CbQrName,     CBQrKana,    CBTel1,    CBTel2,
            CBTel3,      CBMail1,  CBMail2,      CBMail3,   CBMemo,       CBAddr,      CBUrlCsv,  CBSiteName,
            CBUrl,       CBToMail, CBSubject,    CBBody,    CBContents};
}

void TFormDesign::FillColumnCombo(QComboBox* box)
{
    if (box->model() != MergeColumns) {
        box->setModel(MergeColumns);
        // Neither the box nor its list may measure every item of a wide table.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setIconSize(QSize(0, 0)); // the items have no icons to make room for
        box->setMinimumContentsLength(12);
        if (auto* list = qobject_cast<QListView*>(box->view()))
            list->setUniformItemSizes(true);
    }
    box->setCurrentIndex(0);
}

void TFormDesign::FillMergeColumnLists(std::int32_t columnCount)
{
    // Filling is not a choice of the user: the pages' change handlers stay quiet.
    const auto boxes = MergeColumnLists();
    std::vector<QSignalBlocker> quiet;
    quiet.reserve(boxes.size());
    for (QComboBox* box : boxes)
        quiet.emplace_back(box);
    if (!MergeColumns)
        MergeColumns = new MergeColumnModel(this);
    MergeColumns->SetColumnCount(columnCount);
    for (QComboBox* box : boxes)
        FillColumnCombo(box);
    MemoCSVContent->clear();
}

void TFormDesign::PngBtnChangeCsvFileClick()
{
    const auto chosen = Messages().ChooseFile(OpenDialogCSV);
    if (!chosen)
        return;
    const std::shared_ptr<const TLxCSV> previous = Session.MergeTable()->Clone();
    // Loaded in place: every object bound to the table sees the new rows.
    if (!LoadMergeTable(chosen->path))
        return;
    FillMergeColumnLists(Session.MergeTable()->GetColCount());
    Session.RebindSelectedMergeObject(previous);
    // The lists keep showing the selected object's column, so that the next
    // change on the page does not unbind it.
    const TLxLableObjectBase* selected = SelectedObject();
    if (const auto* text = dynamic_cast<const TLxLabelObjectCsvString*>(selected)) {
        const QSignalBlocker quiet(CBCsvCol);
        CBCsvCol->setCurrentIndex(text->GetColumn() < CBCsvCol->count() ? text->GetColumn() : 0);
        MemoCSVContent->setPlainText(ToQString(Session.MergeTable()->GetColumnPreview(text->GetColumn(), 5)));
    } else if (selected && MergeTableOf(*selected)) {
        FillPropertyPanel();
    }
    RefreshDesign();
}

bool TFormDesign::LoadMergeTable(const std::string& path)
{
    try {
        if (Session.LoadMergeTable(path, AskWhichReading(path)))
            return true;
        ShowInfo(ReadableFileName(path) + std::string(kCannotOpen));
    } catch (const ReadError& error) {
        ShowInfo(ReadableFileName(path) + "\n" + error.what());
    }
    return false;
}

// The symbology list is one more box of the merge symbol page.
void TFormDesign::CBCsvBarTypeChange() { CSVBarcodeSheetChange(); }

} // namespace lx
