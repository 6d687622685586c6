#pragma once
// The figure object (kind 1): a line, rectangle or ellipse fitted to the
// object's box, in one colour with a line width and a pen style.
#include <cstdint>
#include <memory>

#include "designer/model/LxLabelBase.h"

namespace lx {

// Figure types, each fitted to the object's box.
enum FigureType : std::uint8_t {
    FigureVerticalLine = 0,
    FigureHorizontalLine = 1,
    FigureDiagonal = 2, // top-left to bottom-right
    FigureOppositeDiagonal = 3, // bottom-left to top-right
    FigureRectangle = 4,
    FigureEllipse = 5,
    FigureFilledRectangle = 6,
    FigureFilledEllipse = 7,
};

class TLxLabelObjectFigure : public TLxLableObjectBase {
public:
    // Name "図形シート", kind 1, a black solid vertical line of width 0.
    TLxLabelObjectFigure();

    std::optional<std::uint8_t> ClassKind() const override { return KindFigure; }
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // 0x00BBGGRR; also the fill of the filled shapes.
    std::uint32_t GetLineColor() const { return lineColor_; }
    void SetLineColor(std::uint32_t color) { lineColor_ = color; }
    std::uint8_t GetFigureType() const { return figureType_; }
    void SetFigureType(std::uint8_t type) { figureType_ = type; }
    // Tenths of a millimetre; counts for solid lines only.
    std::int32_t GetLineWidth() const { return lineWidth_; }
    void SetLineWidth(std::int32_t width) { lineWidth_ = width; }
    // Pen style: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot.
    std::uint8_t GetLineType() const { return lineType_; }
    void SetLineType(std::uint8_t type) { lineType_ = type; }

    // LineColor (int32), FigureType (byte), LineWidth (int32), LineType
    // (byte): 10 bytes. On a ReadError the fields read
    // before it keep their new values.
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

private:
    std::uint32_t lineColor_ = 0;
    std::uint8_t figureType_ = FigureVerticalLine;
    std::int32_t lineWidth_ = 0;
    std::uint8_t lineType_ = 0;
};

} // namespace lx
