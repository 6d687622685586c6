#include "designer/model/LxLabelEffects.h"

#include "platform/text/Cp932.h"

namespace lx {

TLxLabelObjectEffects::TLxLabelObjectEffects() : TLxLableObjectBase(KindEffects)
{
    static const std::string prompt = Sjis("ここに特殊文字列を入力してください");
    CreateFonts();
    text_ = prompt;
}

void TLxLabelObjectEffects::CreateFonts()
{
    static const std::string face = Sjis("ＭＳ ゴシック");
    font_ = FontValue{};
    font_.Name = face;
    font_.Size = 10;
    font_.Color = 0;
    subFont_ = FontValue{};
    subFont_.Color = 0x0000FF;
    thirdFont_ = FontValue{};
    thirdFont_.Color = 0;
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectEffects::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectEffects>();
    copy->SetText(text_);
    copy->SetFontName(font_.Name);
    copy->SetFontSize(font_.Size);
    copy->SetFontColor(font_.Color);
    copy->SetAlignment(alignment_);
    copy->SetCharSpacing(charSpacing_);
    copy->SetShadow(shadow_);
    copy->SetOutline(outline_);
    copy->SetShadow2(shadow2_);
    copy->SetCurve(curve_);
    copy->SetSlantForward(slantForward_);
    copy->SetSlantBackward(slantBackward_);
    copy->SetDeform(deform_);
    copy->SetSubFontColor(subFont_.Color);
    copy->SetThirdFontColor(thirdFont_.Color);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectEffects::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectEffects::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectEffects::SaveOwnPart(Stream& stream) const
{
    WriteFont(font_, stream);
    WriteFont2(subFont_, stream);
    WriteFont2(thirdFont_, stream);
    WriteString(text_, stream);
    // Shadow2 comes before Outline in the record.
    for (std::uint8_t flag : {shadow_, shadow2_, outline_, curve_, slantForward_, slantBackward_, deform_, alignment_})
        stream.WriteUInt8(flag);
    stream.WriteFloat64(charSpacing_);
}

void TLxLabelObjectEffects::LoadOwnPart(Stream& stream)
{
    ReadFont(font_, stream);
    ReadFont2(subFont_, stream);
    ReadFont2(thirdFont_, stream);
    ReadString(stream, text_);
    for (std::uint8_t* flag :
         {&shadow_, &shadow2_, &outline_, &curve_, &slantForward_, &slantBackward_, &deform_, &alignment_})
        *flag = stream.ReadUInt8();
    charSpacing_ = stream.ReadFloat64();
}

} // namespace lx
