#include "designer/model/LxLabelFigure.h"

namespace lx {

TLxLabelObjectFigure::TLxLabelObjectFigure() : TLxLableObjectBase(KindFigure) {}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectFigure::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectFigure>();
    copy->SetLineColor(lineColor_);
    copy->SetFigureType(figureType_);
    copy->SetLineWidth(lineWidth_);
    copy->SetLineType(lineType_);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectFigure::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectFigure::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectFigure::SaveOwnPart(Stream& stream) const
{
    stream.WriteUInt32(lineColor_);
    stream.WriteUInt8(figureType_);
    stream.WriteInt32(lineWidth_);
    stream.WriteUInt8(lineType_);
}

void TLxLabelObjectFigure::LoadOwnPart(Stream& stream)
{
    lineColor_ = stream.ReadUInt32();
    figureType_ = stream.ReadUInt8();
    lineWidth_ = stream.ReadInt32();
    lineType_ = stream.ReadUInt8();
}

} // namespace lx
