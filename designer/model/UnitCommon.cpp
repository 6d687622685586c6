#include "designer/model/UnitCommon.h"

#include "platform/io/Errors.h"

#include <limits>

namespace lx {

void WriteStreamString(std::string_view text, Stream& stream)
{
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw Error("文字列が長すぎます。");
    stream.WriteInt32(static_cast<std::int32_t>(text.size()));
    stream.WriteBytes(text);
}

void ReadStreamString(Stream& stream, std::string& text)
{
    const std::int32_t length = stream.ReadInt32();
    text = length > 0 ? stream.ReadBytes(static_cast<std::size_t>(length)) : std::string();
}

std::string ReadStreamString(Stream& stream)
{
    std::string text;
    ReadStreamString(stream, text);
    return text;
}

std::string QuoteField(std::string_view text)
{
    std::string field;
    field.reserve(text.size() + 2);
    field += '"';
    field += text;
    field += '"';
    return field;
}

} // namespace lx
