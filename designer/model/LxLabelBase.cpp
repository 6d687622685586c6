#include "designer/model/LxLabelBase.h"

#include "platform/io/Errors.h"

namespace lx {

TLxLableObjectBase::TLxLableObjectBase() : name_(DefaultObjectName(kLabelObjectKindCount)) {}

TLxLableObjectBase::TLxLableObjectBase(std::uint8_t kind) : name_(DefaultObjectName(kind)), kind_(kind) {}

std::unique_ptr<TLxLableObjectBase> TLxLableObjectBase::CloneForRecord(std::int32_t) const
{
    throw Error("種類 " + std::to_string(kind_) + " のオブジェクトはレコードを指定して複製できません。");
}

RecordBinding TLxLableObjectBase::GetRecordBinding() const
{
    const LabelObjectKindInfo* kind = FindKindOfClass(*this);
    return kind ? kind->binding : RecordBinding::None;
}

void TLxLableObjectBase::AssignCommonPart(const TLxLableObjectBase& source)
{
    name_ = source.name_;
    width_ = source.width_;
    height_ = source.height_;
    left_ = source.left_;
    top_ = source.top_;
    canDisplay_ = source.canDisplay_;
    canMove_ = source.canMove_;
    notPrint_ = source.notPrint_;
    kind_ = source.kind_;
    selected_ = source.selected_;
}

void TLxLableObjectBase::SaveCommonPart(Stream& stream) const
{
    WriteString(name_, stream);
    stream.WriteFloat64(width_);
    stream.WriteFloat64(height_);
    stream.WriteFloat64(left_);
    stream.WriteFloat64(top_);
    stream.WriteUInt8(canDisplay_);
    stream.WriteUInt8(canMove_);
    stream.WriteUInt8(notPrint_);
    stream.WriteUInt8(kind_);
    stream.WriteUInt8(selected_);
}

void TLxLableObjectBase::LoadCommonPart(Stream& stream)
{
    ReadString(stream, name_);
    width_ = stream.ReadFloat64();
    height_ = stream.ReadFloat64();
    left_ = stream.ReadFloat64();
    top_ = stream.ReadFloat64();
    canDisplay_ = stream.ReadUInt8();
    canMove_ = stream.ReadUInt8();
    notPrint_ = stream.ReadUInt8();
    kind_ = stream.ReadUInt8();
    selected_ = stream.ReadUInt8();
}

} // namespace lx
