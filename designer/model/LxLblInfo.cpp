#include "designer/model/LxLblInfo.h"

#include "designer/model/UnitCommon.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"
#include "platform/text/DelimitedText.h"
#include "platform/text/Numbers.h"

#include <cctype>
#include <cmath>

namespace lx {

namespace {

constexpr std::string_view kHeader = "LBLBASE";
constexpr std::string_view kVersion = "1.00";
constexpr std::uint64_t kMaxLayoutBytes = 16u << 20;
// Lines before the first cell line: header, version, count, single mode and
// two lines that are not used.
constexpr std::size_t kFirstCellLine = 6;
constexpr std::size_t kGroupSize = 5;
// Bytes of a stored shape: kind and four doubles; a cell adds its shape count.
constexpr std::uint64_t kShapeBytes = 1 + 4 * 8;
constexpr std::uint64_t kCellBytes = kShapeBytes + 4;

const char* const kRangeMessage = "lblinfo->範囲外の指定です";

std::string LineMessage(std::size_t lineIndex, std::string_view what)
{
    return "レイアウトファイルの" + std::to_string(lineIndex + 1) + "行目: " + std::string(what);
}

double ParseNumberAt(std::string_view text, std::size_t lineIndex)
{
    try {
        return ParseFloat(text);
    } catch (const ConvertError& error) {
        throw LayoutError(LineMessage(lineIndex, error.what()));
    }
}

std::int32_t ParseCount(std::string_view text)
{
    std::int32_t count = 0;
    try {
        count = ParseInt(text);
    } catch (const ConvertError& error) {
        throw LayoutError(LineMessage(2, error.what()));
    }
    if (count < 0)
        throw LayoutError(LineMessage(2, "ラベル数が負の値です。"));
    return count;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "0" is false and any other number true ("-1" is what we write); the words
// True and False are accepted in any letter case.
bool ParseFlag(std::string_view text, std::size_t lineIndex)
{
    if (const auto number = TryParseFloat(text))
        return *number != 0;
    if (EqualsIgnoringCase(text, "true"))
        return true;
    if (EqualsIgnoringCase(text, "false"))
        return false;
    throw LayoutError(LineMessage(lineIndex, "'" + Cp932ToUtf8(text) + "' は有効なブール値ではありません。"));
}

// A cell line: groups of five fields (kind, left, top, width, height); the
// first group is the cell, later ones its inner shapes. A group starts at
// every fifth field below the last one, so a lone trailing field is ignored.
TLblPosition ParseCellLine(std::string_view line, std::size_t lineIndex)
{
    const auto fields = SplitDelimited(line, '\t');
    if (fields.size() < kGroupSize)
        throw LayoutError(LineMessage(lineIndex, "項目が足りません。"));
    std::vector<TLblPosition> shapes;
    for (std::size_t k = 0; k + 1 < fields.size(); k += kGroupSize) {
        if (k + kGroupSize > fields.size())
            throw LayoutError(LineMessage(lineIndex, "内部図形の項目が足りません。"));
        shapes.emplace_back(LineKindFromText(fields[k]), ParseNumberAt(fields[k + 1], lineIndex),
                            ParseNumberAt(fields[k + 2], lineIndex), ParseNumberAt(fields[k + 3], lineIndex),
                            ParseNumberAt(fields[k + 4], lineIndex));
    }
    TLblPosition cell = std::move(shapes.front());
    cell.InnerShapes().assign(std::make_move_iterator(shapes.begin() + 1), std::make_move_iterator(shapes.end()));
    return cell;
}

void AppendShapeFields(std::string& line, const TLblPosition& shape)
{
    line += LineKindText(shape.GetLineKind());
    for (const double value : {shape.GetLeft(), shape.GetTop(), shape.GetWidth(), shape.GetHeight()}) {
        if (!std::isfinite(value))
            throw LayoutError("ラベルの位置と大きさには有限の数値を指定してください。");
        line += '\t';
        line += FormatFloat(value);
    }
}

// Inner shapes follow their cell as further groups, so nothing is lost.
std::string CellLine(const TLblPosition& cell)
{
    std::string line;
    AppendShapeFields(line, cell);
    for (const TLblPosition& shape : cell.InnerShapes()) {
        line += '\t';
        AppendShapeFields(line, shape);
    }
    return line;
}

void WriteShape(Stream& stream, const TLblPosition& shape)
{
    stream.WriteUInt8(shape.GetLineKind());
    stream.WriteFloat64(shape.GetLeft());
    stream.WriteFloat64(shape.GetTop());
    stream.WriteFloat64(shape.GetWidth());
    stream.WriteFloat64(shape.GetHeight());
}

double ReadLength(Stream& stream)
{
    const double value = stream.ReadFloat64();
    if (!std::isfinite(value))
        throw ReadError("レイアウトの座標が正しくありません。");
    return value;
}

TLblPosition ReadShape(Stream& stream)
{
    const std::uint8_t kind = stream.ReadUInt8();
    const double left = ReadLength(stream);
    const double top = ReadLength(stream);
    const double width = ReadLength(stream);
    const double height = ReadLength(stream);
    return TLblPosition(kind, left, top, width, height);
}

// A design is drawn on its sheet: a side that is not a positive number
// cannot be scaled to the screen or the printer.
bool IsSheetSide(double value) { return value > 0 && std::isfinite(value); }

// A stored count, checked against the bytes its items need at least.
std::int32_t ReadCount(Stream& stream, std::uint64_t itemBytes)
{
    const std::int32_t count = stream.ReadInt32();
    if (count < 0 || static_cast<std::uint64_t>(count) * itemBytes > stream.Remaining())
        throw ReadError("レイアウトのラベル数が正しくありません。");
    return count;
}

} // namespace

std::string LineKindText(std::uint8_t kind)
{
    switch (kind) {
    case lxLineDot: return "lxLineDot";
    case lxLineCircle: return "lxLineCircle";
    default: return "lxLineNomal";
    }
}

std::uint8_t LineKindFromText(std::string_view text)
{
    if (text == "lxLineDot")
        return lxLineDot;
    if (text == "lxLineCircle")
        return lxLineCircle;
    return lxLineNomal;
}

TLblPosition::TLblPosition(std::uint8_t lineKind, double left, double top, double width, double height)
    : lineKind_(lineKind), left_(left), top_(top), width_(width), height_(height)
{
}

TlxLblInfo::TlxLblInfo(std::string_view dataFolder, bool portrait, const TlxPaperObject& paper)
{
    const std::string path = LayoutFilePath(dataFolder, paper.GetMakerIndex(), paper.GetModelNumber());
    ReadLayoutText(ReadFileBytes(path, kMaxLayoutBytes));
    Paper = paper;
    Portrait = portrait;
}

void TlxLblInfo::ReadLayoutText(std::string_view text)
{
    const auto lines = SplitLines(text);
    TlxLblInfo read;
    read.Header = lines.empty() ? std::string() : lines[0];
    read.CheckHeader();
    if (lines.size() < 4)
        throw LayoutError(LineMessage(lines.size(), "行がありません。"));
    read.Version = lines[1];
    read.LabelCount = ParseCount(lines[2]);
    read.SingleMode = ParseFlag(lines[3], 3);
    // The count is checked against the lines before anything is allocated;
    // the two unused lines may be missing when there are no cells.
    const std::size_t count = static_cast<std::size_t>(read.LabelCount);
    const std::size_t end = kFirstCellLine + count;
    if (count > 0 && lines.size() < end)
        throw LayoutError(LineMessage(2, "ラベル数 " + std::to_string(count) + " に対してラベルの行が足りません。"));
    // Lines after the label count's cell lines are not read.
    read.Cells.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        read.Cells.push_back(ParseCellLine(lines[kFirstCellLine + i], kFirstCellLine + i));
    Header = std::move(read.Header);
    Version = std::move(read.Version);
    LabelCount = read.LabelCount;
    SingleMode = read.SingleMode;
    Cells = std::move(read.Cells);
}

const TLblPosition& TlxLblInfo::Cell(std::int32_t i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= Cells.size())
        throw LayoutError(kRangeMessage);
    return Cells[static_cast<std::size_t>(i)];
}

const TLblPosition& TlxLblInfo::InnerShape(std::int32_t i, std::int32_t j) const
{
    const auto& shapes = Cell(i).InnerShapes();
    if (j < 0 || static_cast<std::size_t>(j) >= shapes.size())
        throw LayoutError(kRangeMessage);
    return shapes[static_cast<std::size_t>(j)];
}

double TlxLblInfo::GetPaperWidth() const { return Portrait ? Paper.GetPaperSize().Width : Paper.GetPaperSize().Height; }

double TlxLblInfo::GetPaperHeight() const
{
    return Portrait ? Paper.GetPaperSize().Height : Paper.GetPaperSize().Width;
}

double TlxLblInfo::GetLabelLeft(std::int32_t i) const { return Portrait ? Cell(i).GetLeft() : Cell(i).GetTop(); }
double TlxLblInfo::GetLabelTop(std::int32_t i) const { return Portrait ? Cell(i).GetTop() : Cell(i).GetLeft(); }
double TlxLblInfo::GetLabelWidth(std::int32_t i) const { return Portrait ? Cell(i).GetWidth() : Cell(i).GetHeight(); }
double TlxLblInfo::GetLabelHeight(std::int32_t i) const { return Portrait ? Cell(i).GetHeight() : Cell(i).GetWidth(); }
std::uint8_t TlxLblInfo::GetLabelLineKind(std::int32_t i) const { return Cell(i).GetLineKind(); }

std::int32_t TlxLblInfo::GetInnerShapeCount(std::int32_t i) const
{
    return static_cast<std::int32_t>(Cell(i).InnerShapes().size());
}

double TlxLblInfo::GetInnerShapeLeft(std::int32_t i, std::int32_t j) const
{
    return Portrait ? InnerShape(i, j).GetLeft() : InnerShape(i, j).GetTop();
}

double TlxLblInfo::GetInnerShapeTop(std::int32_t i, std::int32_t j) const
{
    return Portrait ? InnerShape(i, j).GetTop() : InnerShape(i, j).GetLeft();
}

double TlxLblInfo::GetInnerShapeWidth(std::int32_t i, std::int32_t j) const
{
    return Portrait ? InnerShape(i, j).GetWidth() : InnerShape(i, j).GetHeight();
}

double TlxLblInfo::GetInnerShapeHeight(std::int32_t i, std::int32_t j) const
{
    return Portrait ? InnerShape(i, j).GetHeight() : InnerShape(i, j).GetWidth();
}

std::uint8_t TlxLblInfo::GetInnerShapeKind(std::int32_t i, std::int32_t j) const
{
    return InnerShape(i, j).GetLineKind();
}

void TlxLblInfo::CheckHeader() const
{
    if (Header != kHeader)
        throw LayoutError("LblFileのヘッダが一致しません");
}

void TlxLblInfo::WriteLayoutBlock(Stream& stream) const
{
    Paper.SaveToStream(stream);
    WriteStreamString(Header, stream);
    WriteStreamString(Version, stream);
    stream.WriteUInt8(SingleMode ? 1 : 0);
    stream.WriteInt32(LabelCount);
    stream.WriteInt32(static_cast<std::int32_t>(Cells.size()));
    for (const TLblPosition& cell : Cells) {
        WriteShape(stream, cell);
        stream.WriteInt32(static_cast<std::int32_t>(cell.InnerShapes().size()));
        for (const TLblPosition& shape : cell.InnerShapes())
            WriteShape(stream, shape);
    }
    stream.WriteUInt8(Portrait ? 1 : 0);
}

void TlxLblInfo::ReadLayoutBlock(Stream& stream)
{
    TlxLblInfo read;
    read.Paper.LoadFromStream(stream);
    const PaperSize& sheet = read.Paper.GetPaperSize();
    if (!IsSheetSide(sheet.Width) || !IsSheetSide(sheet.Height))
        throw ReadError("用紙の寸法が正しくありません。");
    read.Header = ReadStreamString(stream);
    read.Version = ReadStreamString(stream);
    read.SingleMode = stream.ReadUInt8() != 0;
    read.LabelCount = stream.ReadInt32();
    const std::int32_t count = ReadCount(stream, kCellBytes);
    // The document makes one object list per label; a count that disagrees
    // with the stored cells would let it address cells that do not exist.
    if (read.LabelCount != count)
        throw ReadError("レイアウトのラベル数が正しくありません。");
    // Every design has a first label, which the editor opens.
    if (count == 0)
        throw ReadError("レイアウトにラベルがありません。");
    read.Cells.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        TLblPosition cell = ReadShape(stream);
        const std::int32_t shapes = ReadCount(stream, kShapeBytes);
        cell.InnerShapes().reserve(static_cast<std::size_t>(shapes));
        for (std::int32_t j = 0; j < shapes; ++j)
            cell.InnerShapes().push_back(ReadShape(stream));
        read.Cells.push_back(std::move(cell));
    }
    read.Portrait = stream.ReadUInt8() != 0;
    *this = std::move(read);
}

void TlxLblInfo::SaveLayoutFile(std::string_view dataFolder) const
{
    std::vector<std::string> lines = {
        std::string(kHeader), std::string(kVersion), std::to_string(Cells.size()), SingleMode ? "-1" : "0", "0", "0"};
    for (const TLblPosition& cell : Cells)
        lines.push_back(CellLine(cell));

    // Everything that can be refused is checked before the first write; the
    // catalogue line comes last, so it never names a paper without a file.
    const std::string layoutPath = LayoutFilePath(dataFolder, Paper.GetMakerIndex(), Paper.GetModelNumber());
    const std::string cataloguePath = CatalogueFilePath(dataFolder);
    const std::string catalogue = WithCatalogueLine(ReadFileBytes(cataloguePath, kMaxLayoutBytes), Paper);
    const bool replacing = FileExists(layoutPath);
    CreateDirectories(CategoryFolderPath(dataFolder, Paper.GetMakerIndex()));
    WriteFileReplacing(layoutPath, JoinLines(lines));
    try {
        WriteFileReplacing(cataloguePath, catalogue);
    } catch (const Error&) {
        if (!replacing)
            RemoveFile(layoutPath);
        throw;
    }
}

} // namespace lx
