#pragma once
// The plain text object (kind 0): lines of text in one font, written
// horizontally or vertically, aligned and optionally spaced. Also the parent
// of the merge text and serial-number objects, which reuse its fields, its
// font and its own record part.
#include <cstdint>
#include <memory>
#include <string>

#include "designer/model/LxLabelBase.h"
#include "designer/model/UnitCommon.h"

namespace lx {

// Face of every new text object (CP932 "ＭＳ ゴシック").
const std::string& DefaultTextFontName();

class TLxLabelObjectString : public TLxLableObjectBase {
public:
    // Name "文字シート", kind 0, font "ＭＳ ゴシック" 10 pt black, the prompt
    // text "ここに文字列を入力してください", horizontal, left aligned, no spacing.
    TLxLabelObjectString();

    std::optional<std::uint8_t> ClassKind() const override { return KindString; }
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    // Common part, then the own part.
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    const std::string& GetText() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string& GetFontName() const { return font_.Name; }
    void SetFontName(std::string name) { font_.Name = std::move(name); }
    std::int32_t GetFontSize() const { return font_.Size; }
    void SetFontSize(std::int32_t points) { font_.Size = points; }
    std::uint32_t GetFontColor() const { return font_.Color; }
    void SetFontColor(std::uint32_t color) { font_.Color = color; }
    // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut
    std::uint8_t GetFontStyle() const { return font_.Style; }
    void SetFontStyle(std::uint8_t style) { font_.Style = style; }
    std::uint8_t GetVerticalWriting() const { return verticalWriting_; }
    void SetVerticalWriting(std::uint8_t value) { verticalWriting_ = value; }
    // 0 left (top), 1 centre, 2 right (bottom).
    std::uint8_t GetAlignment() const { return alignment_; }
    void SetAlignment(std::uint8_t value) { alignment_ = value; }
    // Extra millimetres after every character.
    double GetCharSpacing() const { return charSpacing_; }
    void SetCharSpacing(double mm) { charSpacing_ = mm; }

    // Gives the object a fresh font of the class defaults.
    void CreateFonts();
    // Font (size, colour, face, style), Text, VerticalWriting, Alignment,
    // CharSpacing: 70 bytes for a default object.
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

protected:
    // The text object's defaults under another kind and that kind's name.
    explicit TLxLabelObjectString(std::uint8_t kind);
    TLxLabelObjectString(const TLxLabelObjectString&) = default;
    TLxLabelObjectString& operator=(const TLxLabelObjectString&) = default;

    // Face, size, colour, style, VerticalWriting, Alignment and CharSpacing;
    // every clone of the three text classes copies them.
    void AssignTextStyle(const TLxLabelObjectString& source);

private:
    FontValue font_;
    std::string text_;
    std::uint8_t verticalWriting_ = 0;
    std::uint8_t alignment_ = 0;
    double charSpacing_ = 0;
};

} // namespace lx
