#pragma once
// The current printer: its name, resolution and printable-area offsets from
// Qt Print Support, and print jobs drawn through a DeviceContext. Without a
// printer the virtual one stands in, so renders stay deterministic, and jobs
// go to PDF files. LX_VIRTUAL_PRINTER=1 (the tests set it) hides the
// system's printers.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"

class QPrinterInfo;

namespace lx {

// 600 x 600 dpi on a 254 x 381 mm page (6000 x 9000 pixels): pixels and
// millimetres convert exactly, as the metafile headers need.
DeviceInfo VirtualPrinterDevice();

// A printer the system lists is current.
bool HasPrinter();
// Names in CP932.
std::vector<std::string> PrinterNames();
std::string CurrentPrinterName();
// Makes a printer of the list current; an unknown name changes nothing.
void SetCurrentPrinter(const std::string& cp932Name);
// Resolution, page size and physical offsets of the current printer, or
// the virtual printer when there is none. Asked of the system once and kept
// until the current printer changes or ForgetPrinterDevice is called.
DeviceInfo CurrentPrinterDevice();
// The next CurrentPrinterDevice asks the system again (every print job
// starts so, in case the printer's settings changed).
void ForgetPrinterDevice();
// A PDF file chosen in the printer setup dialog in place of a printer (a
// UTF-8 path), or empty. Making a printer current empties it.
std::string PdfOutputPath();
void SetPdfOutputPath(const std::string& utf8Path);
// The printer setup dialog over the current printer; the printer (or PDF
// file) chosen in it becomes current. False when the user cancels.
bool RunPrinterSetupDialog();

// One print job. Pages are drawn at the printer's resolution; device (0, 0)
// is the corner of the printable area (the paper's corner in a PDF).
class PrintJob {
public:
    struct Options {
        std::string title; // CP932
        int copies = 1;
        // A PDF file instead of the printer (UTF-8 path); always used when
        // the system has no printer. It is replaced whole when the job ends
        // well (see FileReplacement), and stays as it was otherwise.
        std::string pdfPath;
        double paperWidthMm = 210;
        double paperHeightMm = 297;
    };
    // Begins the job; throws Error with a Japanese message when it cannot.
    explicit PrintJob(const Options& options);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    DeviceContext& Context();
    // How often the caller draws the job's pages: the copies that the device
    // cannot make itself (a PDF file holds every copy), otherwise 1.
    int Passes() const;
    void NewPage();
    void End();

private:
    PrintJob(const Options& options, const QPrinterInfo& printer);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace lx
