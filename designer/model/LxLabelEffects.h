#pragma once
// The effect-text object (kind 10): text of one or more lines in one main
// font, decorated by style flags (two shadows, an outline, a curve, two
// slants, a deformation) drawn in a second colour (shadows and outline) and
// a third colour (shaped text).
#include <cstdint>
#include <memory>
#include <string>

#include "designer/model/LxLabelBase.h"
#include "designer/model/UnitCommon.h"

namespace lx {

class TLxLabelObjectEffects : public TLxLableObjectBase {
public:
    // Name "特殊文字シート", kind 10, "ＭＳ ゴシック" 10 pt black, red shadow
    // colour, black shaped-text colour, no style, the prompt text.
    TLxLabelObjectEffects();

    std::optional<std::uint8_t> ClassKind() const override { return KindEffects; }

    // SpareStyle is not copied.
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // CP932; lines separated by CR LF.
    const std::string& GetText() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string& GetFontName() const { return font_.Name; }
    void SetFontName(std::string name) { font_.Name = std::move(name); }
    std::int32_t GetFontSize() const { return font_.Size; }
    void SetFontSize(std::int32_t points) { font_.Size = points; }
    std::uint32_t GetFontColor() const { return font_.Color; }
    void SetFontColor(std::uint32_t color) { font_.Color = color; }
    // The colour of the shadow and outline passes, kept in the second font.
    std::uint32_t GetSubFontColor() const { return subFont_.Color; }
    void SetSubFontColor(std::uint32_t color) { subFont_.Color = color; }
    std::uint32_t GetShadowColor() const { return subFont_.Color; }
    void SetShadowColor(std::uint32_t color) { subFont_.Color = color; }
    // The colour of the curved, slanted and spare-style passes, kept in the
    // third font.
    std::uint32_t GetThirdFontColor() const { return thirdFont_.Color; }
    void SetThirdFontColor(std::uint32_t color) { thirdFont_.Color = color; }
    std::uint32_t GetShapedTextColor() const { return thirdFont_.Color; }
    void SetShapedTextColor(std::uint32_t color) { thirdFont_.Color = color; }

    std::uint8_t GetShadow() const { return shadow_; }
    void SetShadow(std::uint8_t value) { shadow_ = value; }
    std::uint8_t GetOutline() const { return outline_; }
    void SetOutline(std::uint8_t value) { outline_ = value; }
    std::uint8_t GetShadow2() const { return shadow2_; }
    void SetShadow2(std::uint8_t value) { shadow2_ = value; }
    std::uint8_t GetCurve() const { return curve_; }
    void SetCurve(std::uint8_t value) { curve_ = value; }
    std::uint8_t GetSlantForward() const { return slantForward_; }
    void SetSlantForward(std::uint8_t value) { slantForward_ = value; }
    std::uint8_t GetSlantBackward() const { return slantBackward_; }
    void SetSlantBackward(std::uint8_t value) { slantBackward_ = value; }
    std::uint8_t GetDeform() const { return deform_; }
    void SetDeform(std::uint8_t value) { deform_ = value; }
    // Drawn, but neither stored nor cloned.
    std::uint8_t GetSpareStyle() const { return spareStyle_; }
    void SetSpareStyle(std::uint8_t value) { spareStyle_ = value; }
    // 0 left, 1 centre, 2 right.
    std::uint8_t GetAlignment() const { return alignment_; }
    void SetAlignment(std::uint8_t value) { alignment_ = value; }
    // Extra millimetres after every character.
    double GetCharSpacing() const { return charSpacing_; }
    void SetCharSpacing(double mm) { charSpacing_ = mm; }

    // The three fonts of a new object.
    void CreateFonts();
    // Font, SubFont, ThirdFont (stream fonts), Text, then Shadow, Shadow2,
    // Outline, Curve, SlantForward, SlantBackward, Deform, Alignment (one
    // byte each) and CharSpacing (float64). The second and third font keep
    // whatever face, size and style they hold.
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

private:
    FontValue font_;
    FontValue subFont_;
    FontValue thirdFont_;
    std::uint8_t shadow_ = 0;
    std::uint8_t outline_ = 0;
    std::uint8_t shadow2_ = 0;
    std::uint8_t curve_ = 0;
    std::uint8_t slantForward_ = 0;
    std::uint8_t slantBackward_ = 0;
    std::uint8_t deform_ = 0;
    std::uint8_t spareStyle_ = 0;
    std::string text_;
    std::uint8_t alignment_ = 0;
    double charSpacing_ = 0;
};

} // namespace lx
