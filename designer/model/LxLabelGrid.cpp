#include "designer/model/LxLabelGrid.h"

namespace lx {

TLxLabelObjectGrid::TLxLabelObjectGrid() : TLxLableObjectBase(KindGrid) {}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectGrid::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectGrid>();
    copy->SetColumns(columns_);
    copy->SetRows(rows_);
    copy->SetInnerLineColor(innerLineColor_);
    copy->SetOuterLineColor(outerLineColor_);
    copy->SetInnerLineWidth(innerLineWidth_);
    copy->SetOuterLineWidth(outerLineWidth_);
    copy->SetInnerLineType(innerLineType_);
    copy->SetOuterLineType(outerLineType_);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectGrid::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectGrid::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectGrid::SaveOwnPart(Stream& stream) const
{
    stream.WriteInt32(columns_);
    stream.WriteInt32(rows_);
    stream.WriteUInt32(innerLineColor_);
    stream.WriteUInt32(outerLineColor_);
    stream.WriteInt32(innerLineWidth_);
    stream.WriteInt32(outerLineWidth_);
    stream.WriteUInt8(innerLineType_);
    stream.WriteUInt8(outerLineType_);
}

void TLxLabelObjectGrid::LoadOwnPart(Stream& stream)
{
    columns_ = stream.ReadInt32();
    rows_ = stream.ReadInt32();
    innerLineColor_ = stream.ReadUInt32();
    outerLineColor_ = stream.ReadUInt32();
    innerLineWidth_ = stream.ReadInt32();
    outerLineWidth_ = stream.ReadInt32();
    innerLineType_ = stream.ReadUInt8();
    outerLineType_ = stream.ReadUInt8();
}

} // namespace lx
