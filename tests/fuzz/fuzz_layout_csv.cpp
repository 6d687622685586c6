// Readers of outside bytes in the paper and merge units: the first byte picks
// the reader, the rest is its input. Any lx::Error is a clean refusal.
#include "designer/model/LxCSV.h"
#include "designer/model/LxLblInfo.h"
#include "designer/model/LxPaper.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/io/Stream.h"
#include "platform/text/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A data folder of our own for the readers that take files.
const std::string& Folder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "lxfuzz-XXXXXX").string();
        std::string path = std::string(::mkdtemp(pattern.data())) + "/";
        lx::CreateDirectories(path + "0");
        return path;
    }();
    return folder;
}

// Plain writes: the atomic, synced writer would slow the fuzzer down a hundredfold.
void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void ReadLayoutText(const std::string& bytes)
{
    WriteFile(Folder() + "0/M.bv2", bytes);
    const lx::TlxLblInfo layout(Folder(), bytes.size() % 2 == 0, lx::TlxPaperObject("0", "M", "A4", "", "210", "297"));
    for (std::int32_t i = 0; i < layout.LabelCount; ++i)
        for (std::int32_t j = 0; j < layout.GetInnerShapeCount(i); ++j)
            layout.GetInnerShapeLeft(i, j);
}

void ReadLayoutBlock(const std::string& bytes)
{
    lx::MemoryStream stream(bytes);
    lx::TlxLblInfo layout;
    layout.ReadLayoutBlock(stream);
    lx::MemoryStream again;
    layout.WriteLayoutBlock(again);
    if (again.Bytes().size() > bytes.size())
        std::abort();
}

// The bytes as a chosen merge file's text, any question answered by their length.
void ReadMergeText(const std::string& bytes)
{
    try {
        lx::TextFileToCp932(bytes, [&](const lx::TwoReadings&) {
            return bytes.size() % 2 == 0 ? lx::TextEncoding::Cp932 : lx::TextEncoding::Utf8;
        });
    } catch (const lx::Error&) {
    }
}

void ReadCsvBlock(const std::string& bytes)
{
    lx::MemoryStream stream(bytes);
    lx::TLxCSV table;
    table.LoadFromStream(stream);
    table.ParseCsv();
    for (std::int32_t r = -1; r <= table.GetRowCount() && r < 64; ++r)
        for (std::int32_t c = 0; c <= table.GetColCount() + 1 && c < 64; ++c)
            table.CsvCell(c, r);
    table.GetColumnPreview(2, 5);
    table.Clone();
}

void ReadCatalogue(const std::string& bytes)
{
    WriteFile(Folder() + "paper.cfg", bytes);
    const lx::TlxPaper catalogue(Folder() + "paper.cfg");
    for (std::int32_t maker = 0; maker <= lx::kUserPaperCategory; ++maker)
        catalogue.ListPapers(maker, "A");
    for (const lx::TlxPaperObject& paper : catalogue.Papers())
        catalogue.FindPaper(paper.GetMakerIndex(), paper.GetModelNumber());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 4) {
        case 0: ReadLayoutText(bytes); break;
        case 1: ReadLayoutBlock(bytes); break;
        case 2:
            ReadMergeText(bytes);
            ReadCsvBlock(bytes);
            break;
        default: ReadCatalogue(bytes); break;
        }
    } catch (const lx::Error&) {
    }
    return 0;
}
