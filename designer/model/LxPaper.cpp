#include "designer/model/LxPaper.h"

#include "designer/model/UnitCommon.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace lx {

namespace {

constexpr std::uint64_t kMaxCatalogueBytes = 16u << 20;
constexpr std::size_t kCatalogueFieldCount = 6;

bool IsPathDelimiter(std::string_view character) { return character == "\\" || character == "/"; }

// The folder paths are system paths (UTF-8), where "/" is always a delimiter.
std::string WithTrailingDelimiter(std::string_view folder)
{
    std::string result(folder);
    if (!folder.empty() && !folder.ends_with('/'))
        result += '/';
    return result;
}

// The folder part of a path, its trailing delimiter included.
std::string FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(path.substr(0, slash == std::string_view::npos ? 0 : slash + 1));
}

bool CanNameFile(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    bool ok = true;
    ForEachChar(name, [&](std::string_view c) {
        if (IsPathDelimiter(c) || static_cast<unsigned char>(c[0]) < ' ')
            ok = false;
    });
    return ok;
}

// Fixed notation, as short as reads back exactly: sheet sizes never show
// an exponent.
std::string FormatFixed(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    std::string text(buffer, result.ptr);
    return text == "-0" ? "0" : text;
}

// A quoted catalogue field. The splitter reads a doubled quote as one quote,
// so doubling keeps names with quotes intact; a lead byte standing alone at
// the end would swallow the closing quote, and line breaks would split the
// line, so such texts are refused.
std::string CatalogueField(std::string_view text)
{
    std::string escaped;
    ForEachChar(text, [&](std::string_view c) {
        const unsigned char first = static_cast<unsigned char>(c[0]);
        if (first == '\r' || first == '\n' || first == '\0' || (c.size() == 1 && IsLeadByte(first)))
            throw PaperCatalogueError("改行などの書き込めない文字を含む名前は用紙カタログに登録できません。");
        escaped += c;
        if (c == "\"")
            escaped += '"';
    });
    return QuoteField(escaped);
}

// Previews divide by the sheet's sides, so a catalogue size must be above 0.
bool IsSheetLength(double value) { return value > 0 && std::isfinite(value); }

bool LineNames(std::string_view line, std::int32_t category, std::string_view model)
{
    const auto fields = SplitDelimited(line, '\t');
    return fields.size() >= 2 && TryParseInt(fields[0]) == category && fields[1] == model;
}

std::string LineMessage(std::size_t lineIndex, std::string_view what)
{
    return "用紙カタログ（paper.cfg）の" + std::to_string(lineIndex + 1) + "行目: " + std::string(what);
}

TlxPaperObject ParsePaperLine(std::string_view line, std::size_t lineIndex)
{
    const auto f = SplitDelimited(line, '\t');
    if (f.size() < kCatalogueFieldCount)
        throw PaperCatalogueError(LineMessage(lineIndex, "項目が足りません（6項目必要です）。"));
    try {
        TlxPaperObject paper(f[0], f[1], f[2], f[3], f[4], f[5]);
        const PaperSize& size = paper.GetPaperSize();
        if (!IsSheetLength(size.Width) || !IsSheetLength(size.Height))
            throw PaperCatalogueError(LineMessage(lineIndex, "用紙の幅と高さは0より大きい数値で指定してください。"));
        return paper;
    } catch (const ConvertError& error) {
        throw PaperCatalogueError(LineMessage(lineIndex, error.what()));
    }
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// Substring search that only matches at character boundaries.
bool ContainsText(std::string_view text, std::string_view part)
{
    for (std::size_t pos = 0; pos + part.size() <= text.size(); pos += CharLength(text, pos))
        if (text.compare(pos, part.size(), part) == 0)
            return true;
    return false;
}

} // namespace

std::uint8_t PaperKindFromText(std::string_view text)
{
    if (text == "A4")
        return lxPaperA4;
    if (text == "Hagaki")
        return lxPaperHagaki;
    if (text == "B5")
        return lxPaperB5;
    return lxPaperOther;
}

std::string PaperKindText(std::uint8_t kind)
{
    switch (kind) {
    case lxPaperA4: return "A4";
    case lxPaperHagaki: return "Hagaki";
    case lxPaperB5: return "B5";
    default: return "error";
    }
}

TlxPaperObject::TlxPaperObject(std::string_view makerText, std::string_view modelNumber, std::string_view kindText,
                               std::string_view sizeName, std::string_view widthText, std::string_view heightText)
    : makerIndex_(ParseInt(makerText)), modelNumber_(modelNumber),
      sizeName_(sizeName), size_{PaperKindFromText(kindText), ParseFloat(widthText), ParseFloat(heightText)}
{
}

void TlxPaperObject::SaveToStream(Stream& stream) const
{
    stream.WriteInt32(makerIndex_);
    WriteStreamString(modelNumber_, stream);
    WriteStreamString(sizeName_, stream);
    stream.WriteUInt8(size_.Kind);
    stream.WriteFloat64(size_.Width);
    stream.WriteFloat64(size_.Height);
}

void TlxPaperObject::LoadFromStream(Stream& stream)
{
    TlxPaperObject read;
    read.makerIndex_ = stream.ReadInt32();
    read.modelNumber_ = ReadStreamString(stream);
    read.sizeName_ = ReadStreamString(stream);
    read.size_.Kind = stream.ReadUInt8();
    read.size_.Width = stream.ReadFloat64();
    read.size_.Height = stream.ReadFloat64();
    if (!std::isfinite(read.size_.Width) || !std::isfinite(read.size_.Height))
        throw ReadError("用紙の寸法が正しくありません。");
    *this = std::move(read);
}

std::string CatalogueFilePath(std::string_view dataFolder) { return WithTrailingDelimiter(dataFolder) + "paper.cfg"; }

std::string CategoryFolderPath(std::string_view dataFolder, std::int32_t category)
{
    return WithTrailingDelimiter(dataFolder) + std::to_string(category);
}

std::string LayoutFilePath(std::string_view dataFolder, std::int32_t category, std::string_view modelNumber)
{
    if (!CanNameFile(modelNumber))
        throw PaperCatalogueError("型番「" + Cp932ToUtf8(modelNumber) + "」はファイル名に使えません。");
    // The model number is CP932 catalogue text; the file is named in UTF-8.
    return CategoryFolderPath(dataFolder, category) + "/" + Cp932ToUtf8(modelNumber) + ".bv2";
}

std::string CatalogueLine(const TlxPaperObject& paper)
{
    const PaperSize& size = paper.GetPaperSize();
    if (!IsSheetLength(size.Width) || !IsSheetLength(size.Height))
        throw PaperCatalogueError("用紙の幅と高さは0より大きい数値で指定してください。");
    std::string line;
    for (const std::string& field :
         {std::to_string(paper.GetMakerIndex()), paper.GetModelNumber(), PaperKindText(size.Kind), paper.GetSizeName(),
          FormatFixed(size.Width), FormatFixed(size.Height)}) {
        line += CatalogueField(field);
        line += '\t';
    }
    return line;
}

std::string WithCatalogueLine(std::string_view catalogueText, const TlxPaperObject& paper)
{
    auto lines = SplitLines(catalogueText);
    if (lines.empty())
        throw PaperCatalogueError("用紙カタログ（paper.cfg）にメーカー名の行がありません。");
    // A second line for the same paper would leave the catalogue's first
    // entry (its old size) pointing at the new layout file.
    lines.erase(std::remove_if(lines.begin() + 1, lines.end(),
                               [&](const std::string& line) {
                                   return LineNames(line, paper.GetMakerIndex(), paper.GetModelNumber());
                               }),
                lines.end());
    lines.push_back(CatalogueLine(paper));
    return JoinLines(lines);
}

void EnsureCatalogue(std::string_view folder)
{
    const std::string path = CatalogueFilePath(folder);
    if (FileExists(path))
        return;
    CreateDirectories(WithTrailingDelimiter(folder));
    WriteFileReplacing(path, "\r\n");
}

TlxPaper::TlxPaper(std::string cataloguePath, std::string userCataloguePath)
    : cataloguePath_(std::move(cataloguePath)), userCataloguePath_(std::move(userCataloguePath))
{
    LoadPaperCatalogue();
}

void TlxPaper::LoadPaperCatalogue()
{
    const auto lines = SplitLines(ReadFileBytes(cataloguePath_, kMaxCatalogueBytes));
    if (lines.empty())
        throw PaperCatalogueError("用紙カタログ（paper.cfg）が空です。");
    // Any number of makers: the chooser lists the first 14 and then the
    // user's own category.
    auto makers = SplitDelimited(lines[0], '\t');
    std::vector<TlxPaperObject> papers;
    papers.reserve(lines.size() - 1);
    for (std::size_t i = 1; i < lines.size(); ++i)
        papers.push_back(ParsePaperLine(lines[i], i));
    std::vector<TlxPaperObject> userPapers;
    if (!userCataloguePath_.empty() && FileExists(userCataloguePath_)) {
        const auto userLines = SplitLines(ReadFileBytes(userCataloguePath_, kMaxCatalogueBytes));
        for (std::size_t i = 1; i < userLines.size(); ++i)
            if (TlxPaperObject paper = ParsePaperLine(userLines[i], i); paper.GetMakerIndex() == kUserPaperCategory)
                userPapers.push_back(std::move(paper));
    }
    const auto hidden = [&](const TlxPaperObject& paper) {
        return std::any_of(userPapers.begin(), userPapers.end(), [&](const TlxPaperObject& user) {
            return user.GetMakerIndex() == paper.GetMakerIndex() && user.GetModelNumber() == paper.GetModelNumber();
        });
    };
    papers.erase(std::remove_if(papers.begin(), papers.end(), hidden), papers.end());
    const std::size_t userStart = papers.size();
    papers.insert(papers.end(), std::make_move_iterator(userPapers.begin()), std::make_move_iterator(userPapers.end()));
    makerNames_ = std::move(makers);
    papers_ = std::move(papers);
    userStart_ = userStart;
}

bool TlxPaper::IsUserPaper(const TlxPaperObject& paper) const
{
    const std::less<const TlxPaperObject*> before;
    const TlxPaperObject* first = papers_.data();
    if (before(&paper, first) || !before(&paper, first + papers_.size()))
        return false;
    return static_cast<std::size_t>(&paper - first) >= userStart_;
}

std::string TlxPaper::LayoutFolder(const TlxPaperObject& paper) const
{
    return FolderOf(IsUserPaper(paper) ? userCataloguePath_ : cataloguePath_);
}

std::string TlxPaper::GetMakerNames() const { return JoinLines(makerNames_); }

std::string TlxPaper::ListPapers(std::int32_t makerIndex, std::string_view filter) const
{
    static const std::string open = Sjis("【");
    static const std::string close = Sjis("】");
    filter = TrimBlanks(filter);
    std::vector<std::string> lines;
    for (const TlxPaperObject& paper : papers_) {
        if (paper.GetMakerIndex() != makerIndex)
            continue;
        if (!filter.empty() && !ContainsText(paper.GetSizeName(), filter) &&
            !ContainsText(paper.GetModelNumber(), filter))
            continue;
        lines.push_back(makerIndex == kUserPaperCategory ? paper.GetModelNumber()
                                                         : paper.GetModelNumber() + open + paper.GetSizeName() + close);
    }
    return JoinLines(lines);
}

const TlxPaperObject* TlxPaper::FindPaper(std::int32_t makerIndex, std::string_view model) const
{
    for (const TlxPaperObject& paper : papers_)
        if (paper.GetMakerIndex() == makerIndex && paper.GetModelNumber() == model)
            return &paper;
    return nullptr;
}

bool TlxPaper::DeletePaper(std::int32_t makerIndex, std::string_view model)
{
    const auto names = [&](const TlxPaperObject& paper) {
        return paper.GetMakerIndex() == makerIndex && paper.GetModelNumber() == model;
    };
    const auto found = std::find_if(papers_.begin(), papers_.end(), names);
    if (found == papers_.end())
        return false;
    const std::string& listing = IsUserPaper(*found) ? userCataloguePath_ : cataloguePath_;
    const std::string layoutPath = LayoutFilePath(FolderOf(listing), makerIndex, model);

    auto lines = SplitLines(ReadFileBytes(listing, kMaxCatalogueBytes));
    if (!lines.empty())
        lines.erase(std::remove_if(lines.begin() + 1, lines.end(),
                                   [&](const std::string& line) { return LineNames(line, makerIndex, model); }),
                    lines.end());
    WriteFileReplacing(listing, JoinLines(lines));
    RemoveFile(layoutPath);
    const auto removedBefore =
        std::count_if(papers_.begin(), papers_.begin() + static_cast<std::ptrdiff_t>(userStart_), names);
    papers_.erase(std::remove_if(papers_.begin(), papers_.end(), names), papers_.end());
    userStart_ -= static_cast<std::size_t>(removedBefore);
    return true;
}

} // namespace lx
