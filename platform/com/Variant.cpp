#include "platform/com/Variant.h"

#include <cmath>
#include <limits>

#include "platform/text/Cp932.h"
#include "platform/text/Numbers.h"

namespace lx {

BStr BStr::FromUtf16(std::u16string_view text)
{
    BStr s;
    s.bytes_.reserve(text.size() * 2);
    for (char16_t c : text) {
        s.bytes_ += static_cast<char>(c & 0xFF);
        s.bytes_ += static_cast<char>(c >> 8);
    }
    return s;
}

BStr BStr::FromCp932(std::string_view text)
{
    std::u16string wide = Cp932ToUtf16(text);
    if (Utf16ToCp932(wide) != text) {
        // Some characters have a twin code (the NEC and IBM extensions) and
        // would come back as the twin: those travel as escapes of their
        // bytes, so every byte string comes back as it went.
        wide.clear();
        ForEachChar(text, [&](std::string_view ch) {
            const std::u16string one = Cp932ToUtf16(ch);
            if (Utf16ToCp932(one) == ch) {
                wide += one;
                return;
            }
            for (char c : ch) {
                const auto byte = static_cast<unsigned char>(c);
                wide += byte >= 0x80 ? static_cast<char16_t>(0xDC00 + byte) : static_cast<char16_t>(byte);
            }
        });
    }
    return FromUtf16(wide);
}

BStr BStr::FromUtf8(std::string_view text) { return FromCp932(Utf8ToCp932(text)); }

BStr BStr::FromBytes(std::string bytes)
{
    BStr s;
    s.bytes_ = std::move(bytes);
    return s;
}

std::u16string BStr::ToUtf16() const
{
    std::u16string text(bytes_.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes_[2 * i]) |
                                        static_cast<unsigned char>(bytes_[2 * i + 1]) << 8);
    return text;
}

std::string BStr::ToCp932() const { return Utf16ToCp932(ToUtf16()); }

std::string BStr::ToUtf8() const { return Cp932ToUtf8(ToCp932()); }

VarType Variant::Type() const
{
    static constexpr VarType kTypes[] = {VarType::Empty,  VarType::Int16, VarType::Int32,  VarType::Float,
                                         VarType::Double, VarType::Bool,  VarType::String, VarType::Picture};
    return kTypes[value_.index()];
}

namespace {

// The value as a number, or the failure status.
HResult NumberOf(const Variant& v, double& number)
{
    switch (v.Type()) {
    case VarType::Empty: number = 0; return kOk;
    case VarType::Int16: number = v.AsInt16(); return kOk;
    case VarType::Int32: number = v.AsInt32(); return kOk;
    case VarType::Float: number = v.AsFloat(); return kOk;
    case VarType::Double: number = v.AsDouble(); return kOk;
    case VarType::Bool: number = v.AsBool() ? -1 : 0; return kOk;
    case VarType::String: {
        const std::string text = v.AsString().ToUtf8();
        if (EqualsIgnoringAsciiCase(text, "True")) {
            number = -1;
            return kOk;
        }
        if (EqualsIgnoringAsciiCase(text, "False")) {
            number = 0;
            return kOk;
        }
        const std::optional<double> parsed = TryParseFloat(text);
        if (!parsed)
            return kTypeMismatch;
        number = *parsed;
        return kOk;
    }
    case VarType::Picture: return kTypeMismatch;
    }
    return kTypeMismatch;
}

template <typename Int>
HResult ToInteger(double number, Variant& out)
{
    if (!std::isfinite(number))
        return kOverflow;
    const double rounded = RoundHalfEven(number);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return kOverflow;
    out = Variant(static_cast<Int>(rounded));
    return kOk;
}

std::string TextOf(const Variant& v)
{
    switch (v.Type()) {
    case VarType::Int16: return std::to_string(v.AsInt16());
    case VarType::Int32: return std::to_string(v.AsInt32());
    case VarType::Float: return FormatFloat(static_cast<double>(v.AsFloat()));
    case VarType::Double: return FormatFloat(v.AsDouble());
    case VarType::Bool: return v.AsBool() ? "True" : "False";
    default: return {};
    }
}

} // namespace

HResult ConvertVariant(const Variant& in, VarType to, Variant& out)
{
    if (in.Type() == to) {
        out = in;
        return kOk;
    }
    if (in.Type() == VarType::Picture || to == VarType::Picture)
        return kTypeMismatch;
    if (to == VarType::Empty) {
        out = Variant();
        return kOk;
    }
    if (to == VarType::String) {
        out = Variant(BStr::FromUtf8(TextOf(in)));
        return kOk;
    }
    double number = 0;
    if (const HResult status = NumberOf(in, number); Failed(status))
        return status;
    switch (to) {
    case VarType::Int16: return ToInteger<std::int16_t>(number, out);
    case VarType::Int32: return ToInteger<std::int32_t>(number, out);
    case VarType::Float:
        if (std::isfinite(number) && std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max()))
            return kOverflow;
        out = Variant(static_cast<float>(number));
        return kOk;
    case VarType::Double: out = Variant(number); return kOk;
    case VarType::Bool: out = Variant(number != 0); return kOk;
    default: return kTypeMismatch;
    }
}

} // namespace lx
