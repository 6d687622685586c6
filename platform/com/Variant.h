#pragma once
// The values passed through dispatch interfaces and property bags: our own
// automation string (BStr) and variant.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "platform/com/ComTypes.h"

namespace lx {

class Picture;

// An automation string: UTF-16 text held as its bytes. Like its model it can
// also carry bytes that are not text at all (an odd byte count included),
// which is how raw data crosses a dispatch interface.
class BStr {
public:
    BStr() = default;
    static BStr FromUtf16(std::u16string_view text);
    // CP932 text as UTF-16; any byte string survives the trip back through
    // ToCp932 (bytes outside code page 932, and the twin codes of the NEC
    // and IBM extensions, travel as escape characters U+DC80-U+DCFF).
    static BStr FromCp932(std::string_view text);
    static BStr FromUtf8(std::string_view text);
    static BStr FromBytes(std::string bytes);

    const std::string& Bytes() const { return bytes_; }
    // The UTF-16 units (a last odd byte is left out).
    std::u16string ToUtf16() const;
    std::string ToCp932() const;
    std::string ToUtf8() const;

    friend bool operator==(const BStr&, const BStr&) = default;

private:
    std::string bytes_;
};

enum class VarType : std::uint16_t {
    Empty = 0,
    Int16 = 2,
    Int32 = 3,
    Float = 4,
    Double = 5,
    String = 8,
    Bool = 11,
    Picture = 0x4C50, // our picture object (a shared, read-only Picture)
};

class Variant {
public:
    Variant() = default;
    Variant(std::int16_t v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(BStr v) : value_(std::move(v)) {}
    Variant(std::shared_ptr<const Picture> v) : value_(std::move(v)) {}
    // Text goes through BStr, so that its code page is always said.
    Variant(const char*) = delete;
    // A string variant of CP932 text.
    static Variant Text(std::string_view cp932) { return Variant(BStr::FromCp932(cp932)); }

    VarType Type() const;
    bool IsEmpty() const { return value_.index() == 0; }

    // The held value; the variant must hold that type.
    std::int16_t AsInt16() const { return std::get<std::int16_t>(value_); }
    std::int32_t AsInt32() const { return std::get<std::int32_t>(value_); }
    float AsFloat() const { return std::get<float>(value_); }
    double AsDouble() const { return std::get<double>(value_); }
    bool AsBool() const { return std::get<bool>(value_); }
    const BStr& AsString() const { return std::get<BStr>(value_); }
    const std::shared_ptr<const Picture>& AsPicture() const { return std::get<std::shared_ptr<const Picture>>(value_); }

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    std::variant<std::monostate, std::int16_t, std::int32_t, float, double, bool, BStr, std::shared_ptr<const Picture>>
        value_;
};

// Converts a value to another type as automation does: numbers between
// number types (floats round half to even; out of range is kOverflow),
// numbers and booleans (true is -1) to and from decimal text ("." point),
// empty to 0, false or "". Anything else is kTypeMismatch. On failure `out`
// is unchanged.
HResult ConvertVariant(const Variant& in, VarType to, Variant& out);

} // namespace lx
