#pragma once
// The sheet layout of one paper: its label cells (with optional inner
// shapes), read from the paper's layout text file or a design file's layout
// block, and seen in portrait or landscape.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "designer/model/LxPaper.h"
#include "platform/io/Errors.h"
#include "platform/io/Stream.h"

namespace lx {

// A layout text file cannot be used, or a cell index is out of range.
class LayoutError : public Error {
public:
    using Error::Error;
};

// Outline of a cell (solid rectangle, dotted rectangle, ellipse) or of an
// inner shape (solid diagonal line, dotted diagonal line, ellipse).
enum : std::uint8_t { lxLineNomal = 0, lxLineDot = 1, lxLineCircle = 2 };

// "lxLineNomal", "lxLineDot", "lxLineCircle"; any other kind is written as
// "lxLineNomal", the kind it reads back as.
std::string LineKindText(std::uint8_t kind);
// The three names (byte-exact) to 0, 1, 2; any other text to 0.
std::uint8_t LineKindFromText(std::string_view text);

// A label cell, or an inner shape of one, on the portrait sheet (mm).
class TLblPosition {
public:
    TLblPosition() = default;
    TLblPosition(std::uint8_t lineKind, double left, double top, double width, double height);

    std::uint8_t GetLineKind() const { return lineKind_; }
    void SetLineKind(std::uint8_t value) { lineKind_ = value; }
    double GetLeft() const { return left_; }
    void SetLeft(double value) { left_ = value; }
    double GetTop() const { return top_; }
    void SetTop(double value) { top_ = value; }
    double GetWidth() const { return width_; }
    void SetWidth(double value) { width_ = value; }
    double GetHeight() const { return height_; }
    void SetHeight(double value) { height_ = value; }

    // Inner shapes of a cell; an inner shape has none of its own.
    std::vector<TLblPosition>& InnerShapes() { return innerShapes_; }
    const std::vector<TLblPosition>& InnerShapes() const { return innerShapes_; }

    bool operator==(const TLblPosition&) const = default;

private:
    std::uint8_t lineKind_ = lxLineNomal;
    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    std::vector<TLblPosition> innerShapes_;
};

class TlxLblInfo {
public:
    // An empty layout: no cells, an empty paper, portrait.
    TlxLblInfo() = default;
    // Reads the paper's layout file under the data folder (LayoutFilePath).
    // Throws FileError, LayoutError ("LblFileのヘッダが一致しません" for a
    // wrong first line) or PaperCatalogueError.
    TlxLblInfo(std::string_view dataFolder, bool portrait, const TlxPaperObject& paper);

    // The layout keeps its own copy of the paper, so it outlives the
    // catalogue it was chosen from.
    TlxPaperObject Paper;
    std::string Header;
    std::string Version;
    bool SingleMode = false;
    std::int32_t LabelCount = 0;
    std::vector<TLblPosition> Cells;
    bool Portrait = true;

    // Lengths in mm in the layout's orientation: landscape swaps every pair.
    // A cell or shape index out of range throws LayoutError
    // "lblinfo->範囲外の指定です".
    double GetPaperWidth() const;
    double GetPaperHeight() const;
    double GetLabelLeft(std::int32_t i) const;
    double GetLabelTop(std::int32_t i) const;
    double GetLabelWidth(std::int32_t i) const;
    double GetLabelHeight(std::int32_t i) const;
    std::uint8_t GetLabelLineKind(std::int32_t i) const;
    std::int32_t GetInnerShapeCount(std::int32_t i) const;
    double GetInnerShapeLeft(std::int32_t i, std::int32_t j) const;
    double GetInnerShapeTop(std::int32_t i, std::int32_t j) const;
    double GetInnerShapeWidth(std::int32_t i, std::int32_t j) const;
    double GetInnerShapeHeight(std::int32_t i, std::int32_t j) const;
    std::uint8_t GetInnerShapeKind(std::int32_t i, std::int32_t j) const;

    // Throws LayoutError "LblFileのヘッダが一致しません" unless Header is "LBLBASE".
    void CheckHeader() const;

    // The layout block of a design file. Reading checks every count against
    // the bytes left and the label count against the cells, and refuses a
    // layout without cells or a sheet side that is not a positive number;
    // on a ReadError the layout is unchanged.
    void WriteLayoutBlock(Stream& stream) const;
    void ReadLayoutBlock(Stream& stream);

    // Writes the layout file of a new paper (creating its category folder,
    // replacing the file atomically) and then puts the paper's line into
    // "paper.cfg". Throws FileError, PaperCatalogueError.
    void SaveLayoutFile(std::string_view dataFolder) const;

private:
    const TLblPosition& Cell(std::int32_t i) const;
    const TLblPosition& InnerShape(std::int32_t i, std::int32_t j) const;
    void ReadLayoutText(std::string_view text);
};

} // namespace lx
