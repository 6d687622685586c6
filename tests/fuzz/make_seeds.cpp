// Writes the seed inputs that need the model: designs and object blocks
// holding symbol, mobile QR and merge symbol objects, and the symbol
// objects' own record parts. Run from the fuzz build:
//   lx_fuzz_make_seeds tests/fuzz/seeds
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "FuzzSupport.h"
#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelBarcode.h"
#include "designer/model/LxLabelCSVBarcode.h"
#include "designer/model/LxLabelCSVQRCarry.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLabelObjectManager.h"
#include "designer/model/LxLabelQRCarry.h"
#include "platform/io/Files.h"

namespace {

std::string seeds;

void Write(const std::string& target, const std::string& name, const std::string& bytes)
{
    std::filesystem::create_directories(seeds + "/" + target);
    std::ofstream(seeds + "/" + target + "/" + name, std::ios::binary) << bytes;
}

std::string Streamed(const std::function<void(lx::Stream&)>& write)
{
    lx::MemoryStream stream;
    write(stream);
    return stream.TakeBytes();
}

// The merge design of the seeds with its objects replaced by these.
void WriteDesignSeed(const std::string& name, const std::function<void(lx::Design&)>& fill)
{
    lx::MemoryStream base(lx::ReadFileBytes(seeds + "/fuzz_design_file/merge_serial_single"));
    lx::Design design = lx::ReadDesign(base);
    design.Document->ClearFace(0);
    fill(design);
    Write("fuzz_design_file", name, Streamed([&](lx::Stream& s) {
              lx::WriteDesign(s, *design.MergeTable, *design.SheetLayout, *design.Document);
          }));
    Write("fuzz_object_block", name,
          Streamed([&](lx::Stream& s) { design.Document->GetFaceObjects(0).SaveObjects(s); }));
}

void AddSymbol(lx::Design& design, lx::SymbolKind kind, const std::string& data)
{
    design.Document->AddObject(lx::KindBarcode, 0);
    auto* symbol = static_cast<lx::TLxLabelObjectBarcode*>(design.Document->GetObject(0, 0));
    symbol->SetSymbolKind(kind);
    symbol->SetData(data);
    symbol->UpdateSymbol();
}

void WriteDesignSeeds()
{
    WriteDesignSeed("symbol_qr", [](lx::Design& d) { AddSymbol(d, lx::SymbolQr, "HELLO 123"); });
    WriteDesignSeed("symbol_linear", [](lx::Design& d) {
        AddSymbol(d, lx::SymbolCode128, "ABC-123");
        AddSymbol(d, lx::SymbolEan13, "490123456789");
    });
    WriteDesignSeed("symbol_2d", [](lx::Design& d) {
        AddSymbol(d, lx::SymbolDataMatrix, "DM");
        AddSymbol(d, lx::SymbolPdf417, "PDF");
    });
    WriteDesignSeed("mobile_qr", [](lx::Design& d) {
        d.Document->AddObject(lx::KindQRCarry, 0);
        auto* qr = static_cast<lx::TLxLabelObjectQRCarry*>(d.Document->GetObject(0, 0));
        qr->SetPersonName("NAME");
        qr->SetTel1("0312345678");
        qr->UpdateSymbol();
    });
    WriteDesignSeed("merge_symbols", [](lx::Design& d) {
        d.Document->AddMergeObject(lx::KindCsvBarcode, 0, d.MergeTable);
        static_cast<lx::TLxLabelObjectCsvBarcode*>(d.Document->GetObject(0, 0))->SetDataColumn(1);
        d.Document->AddMergeObject(lx::KindCsvQRCarry, 0, d.MergeTable);
        static_cast<lx::TLxLabelObjectCsvQRCarry*>(d.Document->GetObject(0, 0))->SetPersonNameColumn(2);
    });
}

void WriteOwnPartSeeds()
{
    lx::SymbolSettings settings;
    settings.Data = "HELLO";
    Write("fuzz_symbol_objects", "symbol_qr",
          Streamed([&](lx::Stream& s) { lx::WriteSymbolOwnPart(settings, lx::Picture(), s); }));
    settings.SymbolKind = lx::SymbolPostal;
    settings.ZipCode = "2630023";
    settings.Address = "1-2-3";
    Write("fuzz_symbol_objects", "symbol_postal",
          Streamed([&](lx::Stream& s) { lx::WriteSymbolOwnPart(settings, lx::Picture(), s); }));
    lx::QRCarryFields fields;
    fields.Texts[lx::TextPersonName] = "NAME";
    Write("fuzz_symbol_objects", "mobile_qr",
          Streamed([&](lx::Stream& s) { lx::WriteQRCarryOwnPart(fields, lx::Picture(), s); }));
    Write("fuzz_symbol_objects", "merge_symbol", Streamed([](lx::Stream& s) {
              lx::WriteCsvBarcodeOwnPart(lx::CsvBarcodeBinding{0, 1, 2, 3}, s);
          }));
    lx::CsvQRCarryBinding binding;
    binding.Columns[lx::TextPersonName] = 1;
    Write("fuzz_symbol_objects", "merge_mobile_qr",
          Streamed([&](lx::Stream& s) { lx::WriteCsvQRCarryOwnPart(binding, s); }));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seeds folder>\n", argv[0]);
        return 2;
    }
    seeds = argv[1];
    lxfuzz::RegisterSymbolControl();
    WriteDesignSeeds();
    WriteOwnPartSeeds();
    return 0;
}
