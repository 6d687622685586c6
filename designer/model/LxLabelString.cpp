#include "designer/model/LxLabelString.h"

#include "platform/text/Cp932.h"

namespace lx {

const std::string& DefaultTextFontName()
{
    static const std::string name = Sjis("ＭＳ ゴシック");
    return name;
}

TLxLabelObjectString::TLxLabelObjectString() : TLxLabelObjectString(KindString) {}

TLxLabelObjectString::TLxLabelObjectString(std::uint8_t kind) : TLxLableObjectBase(kind)
{
    static const std::string prompt = Sjis("ここに文字列を入力してください");
    CreateFonts();
    text_ = prompt;
}

void TLxLabelObjectString::CreateFonts()
{
    font_ = FontValue{};
    font_.Name = DefaultTextFontName();
    font_.Size = 10;
    font_.Color = 0;
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectString::Clone() const
{
    auto copy = std::make_unique<TLxLabelObjectString>();
    copy->SetText(text_);
    copy->AssignTextStyle(*this);
    copy->AssignCommonPart(*this);
    return copy;
}

void TLxLabelObjectString::AssignTextStyle(const TLxLabelObjectString& source)
{
    font_ = source.font_;
    verticalWriting_ = source.verticalWriting_;
    alignment_ = source.alignment_;
    charSpacing_ = source.charSpacing_;
}

void TLxLabelObjectString::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
}

void TLxLabelObjectString::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
}

void TLxLabelObjectString::SaveOwnPart(Stream& stream) const
{
    WriteFont(font_, stream);
    WriteString(text_, stream);
    stream.WriteUInt8(verticalWriting_);
    stream.WriteUInt8(alignment_);
    stream.WriteFloat64(charSpacing_);
}

void TLxLabelObjectString::LoadOwnPart(Stream& stream)
{
    ReadFont(font_, stream);
    ReadString(stream, text_);
    verticalWriting_ = stream.ReadUInt8();
    alignment_ = stream.ReadUInt8();
    charSpacing_ = stream.ReadFloat64();
}

} // namespace lx
