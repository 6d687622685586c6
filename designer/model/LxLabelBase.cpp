#include "designer/model/LxLabelBase.h"

#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <array>

namespace lx {

namespace {

constexpr std::string_view kBaseNameUtf8 = "デフォルトシート名";

constexpr std::array<LabelObjectKindInfo, kLabelObjectKindCount> kKinds = {{
    {KindString, "TLxLabelObjectString", "文字シート", false},
    {KindFigure, "TLxLabelObjectFigure", "図形シート", false},
    {KindImage, "TLxLabelObjectImage", "画像シート", false},
    {KindBarcode, "TLxLabelObjectBarcode", "QRコードシート", false},
    {KindQRCarry, "TLxLabelObjectQRCarry", "携帯QRシート", false},
    {KindCsvString, "TLxLabelObjectCsvString", "差込文字シート", true},
    {KindCsvBarcode, "TLxLabelObjectCsvBarcode", "差込バーコードシート", true},
    {KindCsvQRCarry, "TLxLabelObjectCsvQRCarry", "差込携帯QRシート", true},
    {KindRenbanString, "TLxLabelObjectRenbanString", "連番シート", true},
    {KindGrid, "TLxLabelObjectGrid", "格子模様シート", false},
    {KindEffects, "TLxLabelObjectEffects", "特殊文字シート", false},
}};

// CP932 names, converted once: index kLabelObjectKindCount is the base name.
const std::array<std::string, kLabelObjectKindCount + 1>& Cp932Names()
{
    static const auto names = [] {
        std::array<std::string, kLabelObjectKindCount + 1> converted;
        for (const auto& info : kKinds)
            converted[info.kind] = Sjis(info.defaultNameUtf8);
        converted[kLabelObjectKindCount] = Sjis(kBaseNameUtf8);
        return converted;
    }();
    return names;
}

} // namespace

const LabelObjectKindInfo* FindLabelObjectKind(std::uint8_t kind)
{
    return kind < kKinds.size() ? &kKinds[kind] : nullptr;
}

const std::string& DefaultObjectName(std::uint8_t kind)
{
    return Cp932Names()[kind < kLabelObjectKindCount ? kind : kLabelObjectKindCount];
}

bool IsRecordBoundKind(std::uint8_t kind)
{
    const LabelObjectKindInfo* info = FindLabelObjectKind(kind);
    return info && info->recordBound;
}

bool IsMergeKind(std::uint8_t kind) { return kind >= KindCsvString && kind <= KindCsvQRCarry; }

TLxLableObjectBase::TLxLableObjectBase() : name_(DefaultObjectName(kLabelObjectKindCount)) {}

TLxLableObjectBase::TLxLableObjectBase(std::uint8_t kind) : name_(DefaultObjectName(kind)), kind_(kind) {}

std::unique_ptr<TLxLableObjectBase> TLxLableObjectBase::CloneForRecord(std::int32_t) const
{
    throw Error("種類 " + std::to_string(kind_) + " のオブジェクトはレコードを指定して複製できません。");
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
