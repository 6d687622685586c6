#pragma once
// The paper catalogue "paper.cfg" of the data folder and its entries: which
// sheet products a design can be made for, and where their layout files are.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/io/Errors.h"
#include "platform/io/Stream.h"

namespace lx {

// "paper.cfg" or a paper line in it cannot be used.
class PaperCatalogueError : public Error {
public:
    using Error::Error;
};

// Paper kinds as stored in the catalogue and the layout block.
enum : std::uint8_t { lxPaperA4 = 0, lxPaperHagaki = 1, lxPaperB5 = 2, lxPaperOther = 3 };

// The chooser offers categories 0 to 13, the makers named first in the
// catalogue's first line; 14 holds the papers the user defines.
constexpr std::int32_t kMakerCount = 14;
constexpr std::int32_t kUserPaperCategory = 14;

// Kind and portrait dimensions (mm) of a sheet.
struct PaperSize {
    std::uint8_t Kind = lxPaperA4;
    double Width = 0;
    double Height = 0;
    bool operator==(const PaperSize&) const = default;
};

// "A4" -> 0, "Hagaki" -> 1, "B5" -> 2 (byte-exact); anything else 3.
std::uint8_t PaperKindFromText(std::string_view text);
// The names above; "error" for any other kind.
std::string PaperKindText(std::uint8_t kind);

// One catalogue entry: category, model number, size name and dimensions.
class TlxPaperObject {
public:
    TlxPaperObject() = default;
    // From the six fields of a catalogue line; throws ConvertError when the
    // category, width or height is not a number.
    TlxPaperObject(std::string_view makerText, std::string_view modelNumber, std::string_view kindText,
                   std::string_view sizeName, std::string_view widthText, std::string_view heightText);

    std::int32_t GetMakerIndex() const { return makerIndex_; }
    void SetMakerIndex(std::int32_t value) { makerIndex_ = value; }
    const std::string& GetModelNumber() const { return modelNumber_; }
    void SetModelNumber(std::string value) { modelNumber_ = std::move(value); }
    const std::string& GetSizeName() const { return sizeName_; }
    void SetSizeName(std::string value) { sizeName_ = std::move(value); }
    const PaperSize& GetPaperSize() const { return size_; }
    void SetPaperSize(const PaperSize& value) { size_ = value; }

    // The paper record of the layout block: category, model number, size
    // name, kind byte, width, height.
    void SaveToStream(Stream& stream) const;
    // Reads a paper record; on a ReadError the entry keeps its old values.
    void LoadFromStream(Stream& stream);

    bool operator==(const TlxPaperObject&) const = default;

private:
    std::int32_t makerIndex_ = 0;
    std::string modelNumber_;
    std::string sizeName_;
    PaperSize size_;
};

// Data folder + "paper.cfg" (the folder gets its trailing delimiter if missing).
std::string CatalogueFilePath(std::string_view dataFolder);
// Data folder + the category's decimal number: the folder of its layout files.
std::string CategoryFolderPath(std::string_view dataFolder, std::int32_t category);
// Data folder + category + "/" + model number (in UTF-8) + ".bv2". Throws
// PaperCatalogueError when the model number cannot be a file name (empty,
// "." or "..", a path delimiter or a control character), so that no entry
// reaches outside its category folder.
std::string LayoutFilePath(std::string_view dataFolder, std::int32_t category, std::string_view modelNumber);

// The catalogue line of a paper: six quoted fields, each followed by a TAB.
// Quotes inside a field are doubled so that the line reads back unchanged.
// Throws PaperCatalogueError for what the catalogue could not read back: a
// line break or NUL in a name, a width or height that is not above 0.
std::string CatalogueLine(const TlxPaperObject& paper);
// The catalogue text with the paper's line in place of any line of the same
// category and model number, or appended; every line ends with CR LF.
std::string WithCatalogueLine(std::string_view catalogueText, const TlxPaperObject& paper);

// Writes an empty catalogue (a blank maker line) into the folder, making
// the folder, unless it has one: the user's own catalogue starts so.
void EnsureCatalogue(std::string_view folder);

// The catalogue read from "paper.cfg", with the user's own papers.
class TlxPaper {
public:
    // Reads the catalogue and, when userCataloguePath names an existing
    // file, the user papers (category 14) of that catalogue of the same form
    // (its maker line unused); a user paper hides a catalogue line of the
    // same model number. Throws FileError, PaperCatalogueError.
    explicit TlxPaper(std::string cataloguePath, std::string userCataloguePath = {});

    // Reads the files again; the catalogue is unchanged when this throws.
    void LoadPaperCatalogue();

    const std::string& GetCataloguePath() const { return cataloguePath_; }
    // The folder (with its delimiter) of the catalogue listing the paper, an
    // entry of Papers(): its layout file lies under that folder.
    std::string LayoutFolder(const TlxPaperObject& paper) const;
    const std::vector<TlxPaperObject>& Papers() const { return papers_; }
    const std::vector<std::string>& MakerNames() const { return makerNames_; }

    // The maker names, each followed by CR LF.
    std::string GetMakerNames() const;
    // The chooser's lines for one category, each followed by CR LF: the model
    // number, with "【size name】" after it except for user papers. A filter
    // (trimmed) keeps the papers whose model number or size name contains it.
    std::string ListPapers(std::int32_t makerIndex, std::string_view filter) const;
    // The entry of that category and exact model number, or nullptr.
    const TlxPaperObject* FindPaper(std::int32_t makerIndex, std::string_view model) const;
    // Removes the paper of that category from memory, its lines from the file
    // listing it and its layout file. Papers of other categories are left alone. Returns
    // false (and changes nothing) when no such entry exists.
    bool DeletePaper(std::int32_t makerIndex, std::string_view model);

private:
    bool IsUserPaper(const TlxPaperObject& paper) const;

    std::string cataloguePath_;
    std::string userCataloguePath_;
    std::vector<TlxPaperObject> papers_;
    // papers_ from this index on come from the user's catalogue.
    std::size_t userStart_ = 0;
    std::vector<std::string> makerNames_;
};

} // namespace lx
