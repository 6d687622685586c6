#include "designer/model/LxLabelRenbanString.h"

#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

namespace lx {

TLxLabelObjectRenbanString::TLxLabelObjectRenbanString(std::int32_t recordIndex)
    : TLxLabelObjectString(KindRenbanString), recordIndex_(recordIndex), startNumber_("0"), finishNumber_("0")
{
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectRenbanString::Clone() const { return CloneForRecord(recordIndex_); }

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectRenbanString::CloneForRecord(std::int32_t recordIndex) const
{
    auto copy = std::make_unique<TLxLabelObjectRenbanString>(recordIndex);
    copy->startNumber_ = startNumber_;
    copy->finishNumber_ = finishNumber_;
    copy->AssignTextStyle(*this);
    copy->AssignCommonPart(*this);
    return copy;
}

std::string TLxLabelObjectRenbanString::SerialTextFor(std::int32_t recordIndex) const
{
    const std::int64_t finish = ParseInt(finishNumber_);
    // 64 bits: a start near the 32-bit limit plus a record index must not wrap
    // round to a small number that is then shown.
    const std::int64_t value = std::int64_t{ParseInt(startNumber_)} + recordIndex;
    if (finish < value)
        return {};
    const std::string digits = std::to_string(value < 0 ? -value : value);
    const std::size_t width = CharCount(startNumber_);
    std::string text = value < 0 ? "-" : "";
    if (digits.size() < width)
        text.append(width - digits.size(), '0');
    return text + digits;
}

void TLxLabelObjectRenbanString::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
    stream.WriteInt32(recordIndex_);
    WriteString(startNumber_, stream);
    WriteString(finishNumber_, stream);
}

void TLxLabelObjectRenbanString::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
    recordIndex_ = stream.ReadInt32();
    ReadString(stream, startNumber_);
    ReadString(stream, finishNumber_);
}

} // namespace lx
