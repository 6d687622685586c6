// The whole merge print job as a user runs it: the design opened from its
// file (A4 with 12 labels of 86.4 x 42.3 mm, each with two merged text lines
// of 9 pt and 8 pt and a merged QR Code, Model 2, level M, 30 mm, of a
// 37-character URL, and the table of records 1..N), then every record
// printed by the model's print job, as the print preview's print button
// prints it, to a PDF file (or to the printer when the system has one). The
// design file is written first when it is not there yet; bench_merge_print.sh
// writes it before its timed runs, and runs the same job in gLabels beside it.
#include "bench/MergePrintDesign.h"
#include "designer/model/DesignPrinter.h"
#include "designer/model/LxDesignFile.h"
#include "platform/com/ComClient.h"
#include "platform/com/Registration.h"
#include "platform/io/Stream.h"
#include "platform/printing/Printer.h"
#include "platform/registry/Registry.h"
#include "platform/text/Cp932.h"
#include "symbol/control/MatrixelProIds.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace lxbench;

// The design file of the job for `records` records, written when missing.
std::string DesignFile(int records)
{
    const std::string path = OutputFolder() + "/merge-" + std::to_string(records) + ".bv2";
    if (!std::filesystem::exists(path)) {
        const MergePrintDesign job(records);
        lx::SaveDesignFile(path, *job.table, job.layout, job.document);
    }
    return path;
}

// Opens the design and prints every sheet of it, to the PDF file when the
// system has no printer.
void OpenAndPrint(const std::string& design, const std::string& pdf, bool printer)
{
    const lx::Design opened = lx::LoadDesignFile(design);
    const lx::DesignPrinter print(*opened.Document, *opened.SheetLayout, opened.MergeTable.get());
    lx::PrintJob::Options options;
    options.title = "bench_merge_print";
    options.paperWidthMm = opened.SheetLayout->GetPaperWidth();
    options.paperHeightMm = opened.SheetLayout->GetPaperHeight();
    if (!printer)
        options.pdfPath = pdf;
    lx::PrintJob job(options);
    lx::PrintRequest request;
    request.lastPage = print.Plan().PageCount();
    request.copies = job.Passes();
    print.Print(
        job.Context(), [&job] { job.NewPage(); }, request);
    job.End();
}

void BM_MergePrint(benchmark::State& state)
{
    const std::string design = DesignFile(static_cast<int>(state.range(0)));
    const std::string pdf = OutputFolder() + "/merge-" + std::to_string(state.range(0)) + ".pdf";
    // Asked once: every question is a round trip to the print server.
    const bool printer = lx::HasPrinter();
    for (auto _ : state)
        OpenAndPrint(design, pdf, printer);
    state.counters["labels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
    state.counters["pdf_bytes"] = printer ? 0.0 : static_cast<double>(std::filesystem::file_size(pdf));
    state.SetLabel(printer ? "printer" : "pdf");
}

} // namespace

BENCHMARK(BM_MergePrint)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The freshly built control, registered into a store of the bench's own.
    const std::string store = OutputFolder() + "/bench-registry.txt";
    ::setenv("LX_REGISTRY_FILE", store.c_str(), 1);
    QGuiApplication app(argc, argv);
    // Registered once, as the program does: a store that names the library
    // already is not written again.
    if (lx::RegisteredLibrary(lx::RegistryStore(), lx::kMatrixelProClassId) != LX_CONTROL_LIBRARY &&
        lx::RegisterServerLibrary(LX_CONTROL_LIBRARY) != lx::kOk)
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
