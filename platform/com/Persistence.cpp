#include "platform/com/Persistence.h"

#include "platform/image/MetafileImage.h"
#include "platform/image/Picture.h"
#include "platform/io/Errors.h"

#include <type_traits>

namespace lx {

bool MemoryPropertyBag::Read(std::string_view name, Variant& value) const
{
    for (const auto& [key, stored] : entries_)
        if (EqualsIgnoringAsciiCase(key, name)) {
            value = stored;
            return true;
        }
    return false;
}

void MemoryPropertyBag::Write(std::string_view name, const Variant& value)
{
    for (auto& [key, stored] : entries_)
        if (EqualsIgnoringAsciiCase(key, name)) {
            stored = value;
            return;
        }
    entries_.emplace_back(std::string(name), value);
}

bool MemoryPropertyBag::Remove(std::string_view name)
{
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (EqualsIgnoringAsciiCase(it->first, name)) {
            entries_.erase(it);
            return true;
        }
    return false;
}

namespace {

constexpr std::string_view kMagic = "LXPB";

[[noreturn]] void Damaged() { throw ReadError("プロパティのデータが壊れています。"); }

std::string PictureBytes(const std::shared_ptr<const Picture>& picture)
{
    const Graphic* graphic = picture ? picture->GetGraphic() : nullptr;
    return graphic && !graphic->Empty() ? graphic->SaveToBytes() : std::string();
}

void WriteCounted(Stream& stream, const std::string& bytes)
{
    if (bytes.size() > 0xFFFFFFFFu)
        throw Error("プロパティの値が大きすぎます。");
    stream.WriteUInt32(static_cast<std::uint32_t>(bytes.size()));
    stream.WriteBytes(bytes);
}

// The stream's own type of text that CP932 cannot hold ("UL").
constexpr std::uint16_t kUtf16Tag = 0x4C55;

// UTF-16LE units of plain text: whole surrogate pairs, no control character
// but tab and line ends, no private-use or non-character, no escaped byte.
bool IsPlainUtf16(std::string_view bytes)
{
    if (bytes.size() % 2 != 0)
        return false;
    const std::u16string units = BStr::FromBytes(std::string(bytes)).ToUtf16();
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        const bool high = u >= 0xD800 && u < 0xDC00;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            ++i;
            continue;
        }
        const bool control = u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r';
        if (control || high || (u >= 0xDC00 && u < 0xF900) || u >= 0xFFFE)
            return false;
    }
    return true;
}

// Bytes with a NUL never go under the string type: there, a NUL marks the
// UTF-16 the program wrote under that type for a time (see ReadString).
bool HasNul(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

void WriteText(Stream& stream, const BStr& text)
{
    const std::string cp932 = text.ToCp932();
    if (BStr::FromCp932(cp932) == text && !HasNul(cp932)) {
        stream.WriteUInt16(static_cast<std::uint16_t>(VarType::String));
        WriteCounted(stream, cp932);
        return;
    }
    if (text.Bytes().size() % 2 != 0)
        throw Error("文字列の長さが UTF-16 として正しくありません。");
    stream.WriteUInt16(kUtf16Tag);
    WriteCounted(stream, text.Bytes());
}

void WriteValue(Stream& stream, const Variant& value)
{
    if (value.Type() == VarType::String) {
        WriteText(stream, value.AsString());
        return;
    }
    stream.WriteUInt16(static_cast<std::uint16_t>(value.Type()));
    switch (value.Type()) {
    case VarType::Empty: break;
    case VarType::Int16: stream.WriteInt16(value.AsInt16()); break;
    case VarType::Int32: stream.WriteInt32(value.AsInt32()); break;
    case VarType::Float: stream.WriteFloat32(value.AsFloat()); break;
    case VarType::Double: stream.WriteFloat64(value.AsDouble()); break;
    case VarType::Bool: stream.WriteUInt8(value.AsBool() ? 1 : 0); break;
    case VarType::String: break;
    case VarType::Picture: WriteCounted(stream, PictureBytes(value.AsPicture())); break;
    }
}

// Reads a byte count and that many bytes; the count is checked against the
// stream before anything is reserved.
std::string ReadCounted(Stream& stream)
{
    const std::uint32_t count = stream.ReadUInt32();
    if (count > stream.Remaining())
        Damaged();
    return stream.ReadBytes(count);
}

Variant ReadPicture(Stream& stream)
{
    std::string bytes = ReadCounted(stream);
    if (bytes.empty())
        return Variant(std::shared_ptr<const Picture>());
    auto image = std::make_unique<MetafileImage>();
    image->LoadFromBytes(bytes);
    auto picture = std::make_shared<Picture>();
    picture->SetGraphic(std::move(image));
    return Variant(std::shared_ptr<const Picture>(std::move(picture)));
}

Variant ReadUtf16(Stream& stream)
{
    std::string units = ReadCounted(stream);
    if (units.size() % 2 != 0)
        Damaged();
    return Variant(BStr::FromBytes(std::move(units)));
}

// A string of the string type: CP932 bytes, as the first form wrote it.
// For a time the program wrote UTF-16 there instead, where every ASCII
// character brings a NUL; CP932 text holds none. Bytes with a NUL that are
// plain UTF-16 text are read that way; any others stay the bytes they are.
Variant ReadString(Stream& stream)
{
    std::string bytes = ReadCounted(stream);
    if (HasNul(bytes) && IsPlainUtf16(bytes))
        return Variant(BStr::FromBytes(std::move(bytes)));
    return Variant(BStr::FromCp932(bytes));
}

Variant ReadValue(Stream& stream)
{
    const std::uint16_t tag = stream.ReadUInt16();
    if (tag == kUtf16Tag)
        return ReadUtf16(stream);
    switch (static_cast<VarType>(tag)) {
    case VarType::Empty: return Variant();
    case VarType::Int16: return Variant(stream.ReadInt16());
    case VarType::Int32: return Variant(stream.ReadInt32());
    case VarType::Float: return Variant(stream.ReadFloat32());
    case VarType::Double: return Variant(stream.ReadFloat64());
    case VarType::Bool: {
        const std::uint8_t b = stream.ReadUInt8();
        if (b > 1)
            Damaged();
        return Variant(b == 1);
    }
    case VarType::String: return ReadString(stream);
    case VarType::Picture: return ReadPicture(stream);
    }
    Damaged();
}

template <typename T>
T Unwrap(const Variant& v)
{
    if constexpr (std::is_same_v<T, std::int16_t>)
        return v.AsInt16();
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return v.AsInt32();
    else if constexpr (std::is_same_v<T, float>)
        return v.AsFloat();
    else
        return v.AsBool();
}

} // namespace

void WritePropertyStream(Stream& stream, const MemoryPropertyBag& bag)
{
    stream.WriteBytes(kMagic);
    stream.WriteUInt32(static_cast<std::uint32_t>(bag.Entries().size()));
    for (const auto& [name, value] : bag.Entries()) {
        if (name.empty() || name.size() > 255)
            throw Error("プロパティ名が長すぎます。");
        stream.WriteUInt8(static_cast<std::uint8_t>(name.size()));
        stream.WriteBytes(name);
        WriteValue(stream, value);
    }
}

MemoryPropertyBag ReadPropertyStream(Stream& stream)
{
    if (stream.ReadBytes(kMagic.size()) != kMagic)
        Damaged();
    const std::uint32_t count = stream.ReadUInt32();
    // Every entry takes at least four bytes: a name length, a name byte and a type.
    if (count > stream.Remaining() / 4)
        Damaged();
    MemoryPropertyBag bag;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t length = stream.ReadUInt8();
        if (length == 0)
            Damaged();
        const std::string name = stream.ReadBytes(length);
        Variant probe;
        if (bag.Read(name, probe))
            Damaged();
        bag.Write(name, ReadValue(stream));
    }
    return bag;
}

std::optional<Variant> PropertyExchange::Load(std::string_view key, VarType type) const
{
    Variant stored;
    Variant converted;
    if (!source_ || !source_->Read(key, stored) || Failed(ConvertVariant(stored, type, converted)))
        return std::nullopt;
    return converted;
}

template <typename T>
void PropertyExchange::Exchange(std::string_view key, T& value, T byDefault, VarType type)
{
    switch (mode_) {
    case Mode::Save: target_->Write(key, Variant(value)); break;
    case Mode::Reset: value = byDefault; break;
    case Mode::Load: {
        const std::optional<Variant> loaded = Load(key, type);
        value = loaded ? Unwrap<T>(*loaded) : byDefault;
        break;
    }
    }
}

void PropertyExchange::Short(std::string_view key, std::int16_t& value, std::int16_t byDefault)
{
    Exchange(key, value, byDefault, VarType::Int16);
}

void PropertyExchange::Long(std::string_view key, std::int32_t& value, std::int32_t byDefault)
{
    Exchange(key, value, byDefault, VarType::Int32);
}

void PropertyExchange::Bool(std::string_view key, bool& value, bool byDefault)
{
    Exchange(key, value, byDefault, VarType::Bool);
}

void PropertyExchange::Float(std::string_view key, float& value, float byDefault)
{
    Exchange(key, value, byDefault, VarType::Float);
}

void PropertyExchange::Color(std::string_view key, std::uint32_t& value, std::uint32_t byDefault)
{
    // Colours travel as 32-bit numbers; the cast keeps every bit.
    auto stored = static_cast<std::int32_t>(value);
    Exchange(key, stored, static_cast<std::int32_t>(byDefault), VarType::Int32);
    value = static_cast<std::uint32_t>(stored);
}

void PropertyExchange::Text(std::string_view key, std::string& cp932, std::string_view byDefault)
{
    switch (mode_) {
    case Mode::Save: target_->Write(key, Variant::Text(cp932)); break;
    case Mode::Reset: cp932 = std::string(byDefault); break;
    case Mode::Load: {
        const std::optional<Variant> loaded = Load(key, VarType::String);
        cp932 = loaded ? loaded->AsString().ToCp932() : std::string(byDefault);
        break;
    }
    }
}

void PropertyExchange::PictureValue(std::string_view key, std::shared_ptr<const Picture>& value)
{
    switch (mode_) {
    case Mode::Save: target_->Write(key, Variant(value)); break;
    case Mode::Reset: value.reset(); break;
    case Mode::Load: {
        Variant stored;
        value =
            source_ && source_->Read(key, stored) && stored.Type() == VarType::Picture ? stored.AsPicture() : nullptr;
        break;
    }
    }
}

} // namespace lx
