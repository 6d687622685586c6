#include "platform/printing/Printer.h"
#include "platform/printing/PdfFontNames.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "platform/gdi/PainterDeviceContext.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

namespace lx {

namespace {

// LX_VIRTUAL_PRINTER=1 hides the system's printers: the virtual device
// stands in and jobs go to PDF files, so tests hold on any machine.
bool PrintersHidden()
{
    const char* value = std::getenv("LX_VIRTUAL_PRINTER");
    return value && std::string_view(value) == "1";
}

std::optional<QString>& ChosenPrinter()
{
    static std::optional<QString> chosen;
    return chosen;
}

std::string& ChosenPdfFile()
{
    static std::string chosen;
    return chosen;
}

// The printers the system lists, asked of the print server at most once a
// second: every question is a round trip, and one print job would ask
// dozens of times.
const QList<QPrinterInfo>& ListedPrinters()
{
    static QList<QPrinterInfo> printers;
    static std::optional<std::chrono::steady_clock::time_point> asked;
    const auto now = std::chrono::steady_clock::now();
    if (!asked || now - *asked > std::chrono::seconds(1)) {
        if (!asked && QCoreApplication::instance()) // let go while the print plugin is still loaded
            qAddPostRoutine([] { printers.clear(); });
        printers = QPrinterInfo::availablePrinters();
        asked = now;
    }
    return printers;
}

// A printer the system lists: without a print server the system may still
// name a default printer from the user's settings, and a job sent there is
// lost without a word.
bool Listed(const QString& name)
{
    const QList<QPrinterInfo>& printers = ListedPrinters();
    return std::any_of(printers.begin(), printers.end(),
                       [&](const QPrinterInfo& p) { return p.printerName() == name; });
}

// The current printer's device, asked once per printer: building a QPrinter
// for a real printer costs milliseconds, and labels ask for every render.
std::optional<DeviceInfo>& CachedDevice()
{
    static std::optional<DeviceInfo> device;
    return device;
}

// The chosen printer, else the default one, of those the system lists (one
// question to the print server: each costs a round trip).
QPrinterInfo CurrentInfo()
{
    if (PrintersHidden())
        return {};
    const QList<QPrinterInfo>& printers = ListedPrinters();
    const auto find = [&](const auto& wanted) {
        const auto found = std::find_if(printers.begin(), printers.end(), wanted);
        return found == printers.end() ? QPrinterInfo() : *found;
    };
    if (ChosenPrinter()) {
        const QPrinterInfo chosen = find([](const QPrinterInfo& p) { return p.printerName() == *ChosenPrinter(); });
        if (!chosen.isNull())
            return chosen;
    }
    return find([](const QPrinterInfo& p) { return p.isDefault(); });
}

// Printer pages go out as PDF for the printer to rasterise at its own
// resolution, text and symbols as shapes: a finer canvas than the virtual
// printer's only costs time.
void LimitResolution(QPrinter& printer)
{
    if (printer.resolution() > VirtualPrinterDevice().dpiX)
        printer.setResolution(VirtualPrinterDevice().dpiX);
}

DeviceInfo DeviceOf(QPrinter& printer)
{
    DeviceInfo device;
    device.dpiX = device.dpiY = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect paint = layout.paintRectPixels(printer.resolution());
    const QRect full = layout.fullRectPixels(printer.resolution());
    device.horzRes = paint.width();
    device.vertRes = paint.height();
    device.horzSizeMm = static_cast<int>(std::lround(paint.width() * 25.4 / device.dpiX));
    device.vertSizeMm = static_cast<int>(std::lround(paint.height() * 25.4 / device.dpiY));
    device.physicalOffsetX = paint.left() - full.left();
    device.physicalOffsetY = paint.top() - full.top();
    return device;
}

} // namespace

DeviceInfo VirtualPrinterDevice() { return DeviceInfo{600, 600, 6000, 9000, 254, 381, 0, 0}; }

bool HasPrinter() { return !CurrentInfo().isNull(); }

std::vector<std::string> PrinterNames()
{
    std::vector<std::string> names;
    if (PrintersHidden())
        return names;
    for (const QPrinterInfo& printer : ListedPrinters())
        names.push_back(Utf8ToCp932(printer.printerName().toStdString()));
    return names;
}

std::string CurrentPrinterName()
{
    const QPrinterInfo info = CurrentInfo();
    return info.isNull() ? std::string() : Utf8ToCp932(info.printerName().toStdString());
}

void SetCurrentPrinter(const std::string& cp932Name)
{
    const QString name = QString::fromStdString(Cp932ToUtf8(cp932Name));
    if (!PrintersHidden() && Listed(name)) {
        ChosenPrinter() = name;
        ChosenPdfFile().clear();
        ForgetPrinterDevice();
    }
}

std::string PdfOutputPath() { return ChosenPdfFile(); }

void SetPdfOutputPath(const std::string& utf8Path) { ChosenPdfFile() = utf8Path; }

DeviceInfo CurrentPrinterDevice()
{
    std::optional<DeviceInfo>& cached = CachedDevice();
    if (cached)
        return *cached;
    const QPrinterInfo info = CurrentInfo();
    if (info.isNull()) {
        cached = VirtualPrinterDevice();
    } else {
        QPrinter printer(info, QPrinter::HighResolution);
        LimitResolution(printer);
        cached = DeviceOf(printer);
    }
    return *cached;
}

void ForgetPrinterDevice() { CachedDevice().reset(); }

bool RunPrinterSetupDialog()
{
    const QPrinterInfo info = CurrentInfo();
    QPrinter printer(QPrinter::HighResolution);
    if (!info.isNull())
        printer.setPrinterName(info.printerName());
    if (!ChosenPdfFile().empty())
        printer.setOutputFileName(QString::fromStdString(ChosenPdfFile()));
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        SetPdfOutputPath(printer.outputFileName().toStdString());
    else if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty())
        SetCurrentPrinter(Utf8ToCp932(printer.printerName().toStdString()));
    ForgetPrinterDevice();
    return true;
}

struct PrintJob::Impl {
    // Made for the printer the job goes to: a printer made for the default
    // one and switched over asks the print server twice.
    explicit Impl(const QPrinterInfo& info) : printer(info, QPrinter::HighResolution) {}
    // When the job goes to a PDF file: Qt writes it here, and it takes the
    // old file's place only when the job has ended well.
    std::optional<FileReplacement> pdf;
    QPrinter printer;
    QPainter painter;
    std::unique_ptr<PainterDeviceContext> context;
    int passes = 1;
    bool ended = false;
};

PrintJob::PrintJob(const Options& options) : PrintJob(options, CurrentInfo()) {}

PrintJob::PrintJob(const Options& options, const QPrinterInfo& info)
    : impl_(std::make_unique<Impl>(options.pdfPath.empty() ? info : QPrinterInfo()))
{
    ForgetPrinterDevice();
    QPrinter& printer = impl_->printer;
    const bool pdf = !options.pdfPath.empty() || info.isNull();
    if (pdf) {
        if (options.pdfPath.empty())
            throw Error("プリンタがありません。");
        impl_->pdf.emplace(options.pdfPath);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(impl_->pdf->OpenName()));
        printer.setResolution(VirtualPrinterDevice().dpiX);
        printer.setFullPage(true);
    } else {
        printer.setPrinterName(info.printerName());
        LimitResolution(printer);
    }
    printer.setPageSize(QPageSize(QSizeF(options.paperWidthMm, options.paperHeightMm), QPageSize::Millimeter));
    printer.setPageOrientation(QPageLayout::Portrait);
    const int copies = std::max(1, options.copies);
    printer.setCopyCount(copies);
    if (copies > 1 && !printer.supportsMultipleCopies()) {
        printer.setCopyCount(1);
        impl_->passes = copies;
    }
    printer.setDocName(QString::fromStdString(Cp932ToUtf8(options.title)));
    if (!impl_->painter.begin(&printer))
        throw Error(pdf ? "PDFファイルを作成できません: " + options.pdfPath : std::string("印刷を開始できません。"));
    DeviceInfo device = DeviceOf(printer);
    if (pdf) {
        // The PDF stands in for the virtual printer: its resolution, the
        // paper's corner as origin.
        device.dpiX = device.dpiY = VirtualPrinterDevice().dpiX;
        device.physicalOffsetX = device.physicalOffsetY = 0;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    impl_->context =
        std::make_unique<PainterDeviceContext>(&impl_->painter, device, Rect{0, 0, page.width(), page.height()});
    impl_->context->SetVectorOutput(true);
}

PrintJob::~PrintJob()
{
    if (!impl_->ended && impl_->painter.isActive())
        impl_->painter.end();
}

DeviceContext& PrintJob::Context() { return *impl_->context; }

int PrintJob::Passes() const { return impl_->passes; }

void PrintJob::NewPage()
{
    impl_->context->FlushText();
    if (!impl_->printer.newPage())
        throw Error("印刷できません。");
}

void PrintJob::End()
{
    if (impl_->ended)
        return;
    impl_->ended = true;
    impl_->context->FlushText();
    if (!impl_->painter.end() || impl_->printer.printerState() == QPrinter::Error) {
        if (impl_->pdf)
            throw impl_->pdf->IncompleteError();
        throw Error("印刷できません。");
    }
    if (impl_->pdf)
        CommitTaggedPdf(*impl_->pdf);
}

} // namespace lx
