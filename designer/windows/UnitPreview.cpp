#include "designer/windows/UnitPreview.h"

#include "designer/model/LxLblInfo.h"
#include "designer/model/SheetDrawing.h"
#include "designer/windows/HandlerWiring.h"
#include "designer/windows/PictureView.h"
#include "designer/windows/QtBridge.h"
#include "designer/windows/UnitTopMenu.h"
#include "designer/windows/UpDown.h"
#include "platform/app/Messages.h"
#include "platform/gdi/RasterDeviceContext.h"
#include "platform/printing/Printer.h"
#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <charconv>
#include <cmath>
#include <tuple>

namespace lx {

namespace {

QLabel* Caption(const QString& text, QWidget* parent, int left, int top, int width = 80)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, top, width, 16);
    return label;
}

// A user offset typed in mm, stepped by 0.2 and written back with one
// decimal, independent of the locale.
std::string StepOffsetText(const std::string& text, double step)
{
    const double value = ParseFloat(text) + step;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    // Beyond ten digits before the point the short general form serves.
    if (result.ec != std::errc() || std::abs(value) >= 1e10)
        return FormatFloat(value);
    return std::string(buffer, result.ptr);
}

} // namespace

TFormPreview::TFormPreview(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPreview"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    UseDialogFrame(this);
    setFixedSize(800, 550);
    BuildComponents();
    guarded([this] { FormCreate(); });
}

TFormPreview::~TFormPreview() = default;

void TFormPreview::BuildComponents()
{
    PanelPreview = PlaceWidget(new QFrame, this, "PanelPreview", 8, 8, 504, 504);
    PanelPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelPreview->setLineWidth(2);
    ImagePreview = PlaceWidget(new PictureView, PanelPreview, "ImagePreview", 2, 2, 500, 500);
    SBtnPrev = PlaceWidget(new QPushButton(QStringLiteral("前のページ")), this, "SBtnPrev", 8, 516, 100, 26);
    SBtnNext = PlaceWidget(new QPushButton(QStringLiteral("次のページ")), this, "SBtnNext", 412, 516, 100, 26);

    Caption(QStringLiteral("プリンタ"), this, 524, 8);
    CBPrinter = PlaceWidget(new QComboBox, this, "CBPrinter", 524, 26, 268, 24);
    BtnPrinterConfig =
        PlaceWidget(new QPushButton(QStringLiteral("プリンタ設定")), this, "BtnPrinterConfig", 524, 56, 100, 26);
    Caption(QStringLiteral("印刷枚数"), this, 524, 96);
    SEPrintNum = PlaceWidget(new QSpinBox, this, "SEPrintNum", 600, 92, 60, 24);
    SEPrintNum->setRange(1, 99);
    SEPrintNum->setValue(1);

    GBPrintPosition =
        PlaceWidget(new QGroupBox(QStringLiteral("印刷位置設定")), this, "GBPrintPosition", 524, 124, 268, 80);
    Caption(QStringLiteral("印刷位置がずれる場合に、ご利用ください。"), GBPrintPosition, 8, 20, 252);
    Caption(QStringLiteral("横"), GBPrintPosition, 8, 48, 20);
    EditPrintPosLeft =
        PlaceWidget(new QLineEdit(QStringLiteral("0.0")), GBPrintPosition, "EditPrintPosLeft", 30, 44, 60, 24);
    UpDownLeft = PlaceWidget(new UpDown, GBPrintPosition, "UpDownLeft", 90, 44, 16, 24);
    UpDownLeft->Tag = 0;
    Caption(QStringLiteral("縦"), GBPrintPosition, 130, 48, 20);
    EditPrintPosTop =
        PlaceWidget(new QLineEdit(QStringLiteral("0.0")), GBPrintPosition, "EditPrintPosTop", 152, 44, 60, 24);
    UpDownTop = PlaceWidget(new UpDown, GBPrintPosition, "UpDownTop", 212, 44, 16, 24);
    UpDownTop->Tag = 1;

    GBSashikomi = PlaceWidget(new QGroupBox(QStringLiteral("差込印刷設定")), this, "GBSashikomi", 524, 214, 268, 112);
    SEPageNo = PlaceWidget(new QSpinBox, GBSashikomi, "SEPageNo", 8, 22, 60, 24);
    Caption(QStringLiteral("ページ目"), GBSashikomi, 72, 26, 60);
    LblPageRange = PlaceWidget(new QLabel, GBSashikomi, "LblPageRange", 140, 26, 120, 16);
    Caption(QStringLiteral("印刷範囲"), GBSashikomi, 8, 56);
    SEPageFrom = PlaceWidget(new QSpinBox, GBSashikomi, "SEPageFrom", 8, 76, 60, 24);
    Caption(QStringLiteral("ページから"), GBSashikomi, 72, 80, 64);
    SEPageTo = PlaceWidget(new QSpinBox, GBSashikomi, "SEPageTo", 140, 76, 60, 24);
    Caption(QStringLiteral("ページまで"), GBSashikomi, 204, 80, 60);
    for (QSpinBox* box : {SEPageNo, SEPageFrom, SEPageTo})
        box->setRange(1, 1);

    BtnClose = PlaceWidget(new QPushButton(QStringLiteral("デザインに戻る")), this, "BtnClose", 524, 510, 128, 32);
    BtnDoPrint = PlaceWidget(new QPushButton(QStringLiteral("印刷する")), this, "BtnDoPrint", 664, 510, 128, 32);

    const auto bind = [this](auto* sender, auto signal, void (TFormPreview::*handler)(), const char* name) {
        Wire(name, sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    bind(BtnPrinterConfig, &QPushButton::clicked, LX_HANDLER(TFormPreview, BtnPrinterConfigClick));
    bind(CBPrinter, &QComboBox::currentIndexChanged, LX_HANDLER(TFormPreview, CBPrinterChange));
    bind(SEPageNo, &QSpinBox::valueChanged, LX_HANDLER(TFormPreview, SEPageNoChange));
    bind(SBtnPrev, &QPushButton::clicked, LX_HANDLER(TFormPreview, SBtnPrevClick));
    bind(SBtnNext, &QPushButton::clicked, LX_HANDLER(TFormPreview, SBtnNextClick));
    bind(BtnClose, &QPushButton::clicked, LX_HANDLER(TFormPreview, BtnCloseClick));
    bind(BtnDoPrint, &QPushButton::clicked, LX_HANDLER(TFormPreview, BtnDoPrintClick));
    for (UpDown* arrows : {UpDownLeft, UpDownTop})
        Wire("UpDownLeftClick", arrows, &UpDown::clicked, this,
             [this, arrows](UpDown::Button button) { guarded([&] { UpDownLeftClick(arrows, button); }); });
}

void TFormPreview::FormCreate() { FillPrinterList(); }

// The printers, and the PDF file chosen in the setup dialog as the last
// entry (its data the path); the current one selected.
void TFormPreview::FillPrinterList()
{
    const QSignalBlocker blocker(CBPrinter);
    CBPrinter->clear();
    for (const std::string& name : PrinterNames())
        CBPrinter->addItem(ToQString(name));
    const std::string pdf = PdfOutputPath();
    if (pdf.empty()) {
        CBPrinter->setCurrentIndex(CBPrinter->findText(ToQString(CurrentPrinterName())));
        return;
    }
    const QString path = FromUtf8(pdf);
    CBPrinter->addItem(QStringLiteral("PDFファイル（%1）").arg(QFileInfo(path).fileName()), path);
    CBPrinter->setCurrentIndex(CBPrinter->count() - 1);
}

void TFormPreview::BtnPrinterConfigClick()
{
    Messages().SetUpPrinter();
    FillPrinterList();
}

void TFormPreview::CBPrinterChange()
{
    if (CBPrinter->currentIndex() < 0)
        return;
    if (const QVariant pdf = CBPrinter->currentData(); pdf.isValid())
        SetPdfOutputPath(pdf.toString().toStdString());
    else
        SetCurrentPrinter(ToCp932(CBPrinter->currentText()));
}

// ---- the merge print group and the page shown

void TFormPreview::SetupMergePrintGroup()
{
    CurrentPage = 1;
    // The preview is drawn once the group is set up, not at every value.
    const QSignalBlocker blocker(SEPageNo);
    if (!Plan().RecordByRecord()) {
        GBSashikomi->hide();
        SBtnPrev->hide();
        SBtnNext->hide();
        return;
    }
    GBSashikomi->show();
    const std::int32_t pages = Plan().PageCount();
    for (QSpinBox* box : {SEPageNo, SEPageFrom, SEPageTo}) {
        box->setRange(1, pages);
        box->setEnabled(pages >= 2);
    }
    SEPageNo->setValue(1);
    SEPageFrom->setValue(1);
    SEPageTo->setValue(pages);
    LblPageRange->setText(QString::number(pages) + QStringLiteral("ページ中"));
    SBtnPrev->setVisible(pages >= 2);
    SBtnNext->setVisible(pages >= 2);
}

void TFormPreview::UpdatePageButtons()
{
    SBtnPrev->setEnabled(CurrentPage != 1);
    SBtnNext->setEnabled(CurrentPage != SEPageNo->maximum());
}

void TFormPreview::SBtnPrevClick()
{
    if (CurrentPage > 1)
        --CurrentPage;
    SEPageNo->setValue(CurrentPage);
}

void TFormPreview::SBtnNextClick()
{
    if (CurrentPage < SEPageNo->maximum())
        ++CurrentPage;
    SEPageNo->setValue(CurrentPage);
}

void TFormPreview::SEPageNoChange()
{
    if (SEPageNo->value() <= 0) {
        SEPageNo->setValue(1);
        return;
    }
    CurrentPage = SEPageNo->value();
    UpdatePageButtons();
    DrawPreviewPage();
}

// ---- drawing

void TFormPreview::PreparePreviewBitmap()
{
    const Size size = FitProportionally(SheetLayout->GetPaperWidth(), SheetLayout->GetPaperHeight(),
                                        ImagePreview->width(), ImagePreview->height());
    previewBitmap_ = Bitmap(size.cx, size.cy);
}

void TFormPreview::DrawPreviewPage()
{
    if (!printer_ || !SheetLayout)
        return;
    PreparePreviewBitmap();
    if (!previewBitmap_.Empty()) {
        const double dpiX = previewBitmap_.Width() / SheetLayout->GetPaperWidth() * 25.4;
        const double dpiY = previewBitmap_.Height() / SheetLayout->GetPaperHeight() * 25.4;
        RasterDeviceContext canvas(previewBitmap_);
        printer_->DrawPreviewPage(canvas, CurrentPage, dpiX, dpiY);
    }
    ImagePreview->setPicture(ToQImage(previewBitmap_));
}

// ---- showing and printing

void TFormPreview::LoadPreview(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV& mergeTable)
{
    Document = &document;
    SheetLayout = &layout;
    MergeTable = &mergeTable;
    printer_.emplace(document, layout, &mergeTable);
    SetupMergePrintGroup();
    UpdatePageButtons();
    DrawPreviewPage();
}

void TFormPreview::ShowPreview(const TlxLabelManager& document, const TlxLblInfo& layout, const TLxCSV& mergeTable)
{
    LoadPreview(document, layout, mergeTable);
    CentreOnDesktop(this);
    exec();
    // The design is the editor's again; nothing here may reach it any more.
    printer_.reset();
    Document = nullptr;
    SheetLayout = nullptr;
    MergeTable = nullptr;
}

void TFormPreview::UpDownLeftClick(UpDown* sender, int button)
{
    QLineEdit* edit = sender->Tag == 0 ? EditPrintPosLeft : EditPrintPosTop;
    const double step = button == UpDown::btNext ? 0.2 : -0.2;
    edit->setText(ToQString(StepOffsetText(ToCp932(edit->text()), step)));
}

void TFormPreview::BtnCloseClick() { close(); }

std::pair<std::int32_t, std::int32_t> TFormPreview::PrintRange() const
{
    if (GBSashikomi->isVisibleTo(this))
        return {SEPageFrom->value(), SEPageTo->value()};
    return {1, 1};
}

std::optional<std::string> TFormPreview::ChoosePdfFile() const
{
    // The user learns why a file is asked for where a printer was expected.
    ShowInfo(kNoPrinterWritesPdf);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.caption = "印刷 - PDFファイルに出力";
    request.filters = {"PDF (*.pdf *.PDF)"};
    request.defaultSuffix = "pdf";
    const auto chosen = Messages().ChooseFile(request);
    if (!chosen)
        return std::nullopt;
    return chosen->path;
}

void TFormPreview::BtnDoPrintClick()
{
    if (!printer_ || !SheetLayout)
        return;
    PrintRequest request;
    // A text that is not a number stops the print before the job begins.
    request.userLeft = ParseFloat(ToCp932(EditPrintPosLeft->text()));
    request.userTop = ParseFloat(ToCp932(EditPrintPosTop->text()));
    std::tie(request.firstPage, request.lastPage) = PrintRange();
    PrintJob::Options options;
    options.title = Sjis(std::string(kApplicationTitle) + "- 印刷 -");
    options.copies = SEPrintNum->value();
    options.paperWidthMm = SheetLayout->GetPaperWidth();
    options.paperHeightMm = SheetLayout->GetPaperHeight();
    // An empty range would print nothing, not even an empty page.
    if (request.lastPage < request.firstPage) {
        ShowInfo("印刷範囲が正しくありません。開始ページを終了ページ以前にしてください。");
        return;
    }
    // A PDF file chosen in the printer setup stands for the printer; with
    // neither, the user names a PDF file now.
    options.pdfPath = PdfOutputPath();
    if (options.pdfPath.empty() && !HasPrinter()) {
        const auto file = ChoosePdfFile();
        if (!file)
            return;
        options.pdfPath = *file;
    }
    PrintJob job(options);
    // Copies the device cannot make are drawn again.
    request.copies = job.Passes();
    printer_->Print(
        job.Context(), [&job] { job.NewPage(); }, request);
    job.End();
    close();
}

} // namespace lx
