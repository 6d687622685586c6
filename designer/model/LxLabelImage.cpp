#include "designer/model/LxLabelImage.h"

namespace lx {

TLxLabelObjectImage::TLxLabelObjectImage() : TLxLableObjectBase(KindImage)
{
    CreatePicture();
    InitDefaults();
}

void TLxLabelObjectImage::CreatePicture() { picture_ = Picture(); }

void TLxLabelObjectImage::InitDefaults()
{
    transparentColor_ = 0xFFFFFF;
    fixRate_ = 1;
    transparent_ = 0;
    SetName(DefaultObjectName(KindImage));
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectImage::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectImage>();
    copy->SetPicture(picture_);
    copy->SetTransparentColor(transparentColor_);
    copy->SetTransparent(transparent_);
    copy->SetFixRate(fixRate_);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectImage::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectImage::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectImage::SaveOwnPart(Stream& stream) const
{
    WritePicture(picture_, stream);
    stream.WriteUInt32(transparentColor_);
    stream.WriteUInt8(transparent_);
    stream.WriteUInt8(fixRate_);
}

void TLxLabelObjectImage::LoadOwnPart(Stream& stream)
{
    ReadPicture(picture_, stream);
    transparentColor_ = stream.ReadUInt32();
    transparent_ = stream.ReadUInt8();
    fixRate_ = stream.ReadUInt8();
}

} // namespace lx
