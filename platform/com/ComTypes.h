#pragma once
// Basic values of our component model: class and interface identifiers and
// the 32-bit status codes every call returns.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lx {

// A 128-bit identifier of a class, an interface or a type library, written
// as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in the registry store.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend bool operator==(const Guid&, const Guid&) = default;
    friend auto operator<=>(const Guid&, const Guid&) = default;

    // Upper-case hexadecimal digits in braces.
    std::string ToString() const;
    // Accepts the braced form in either case; nothing for anything else.
    static std::optional<Guid> Parse(std::string_view text);
};

// Names of members, properties and registry items compare this way.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Status of a call: 0 and 1 succeed, negative values are failures.
using HResult = std::int32_t;

constexpr HResult MakeFailure(std::uint32_t code) { return static_cast<HResult>(code); }
constexpr bool Succeeded(HResult status) { return status >= 0; }
constexpr bool Failed(HResult status) { return status < 0; }

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kNotImplemented = MakeFailure(0x80004001u);
inline constexpr HResult kNoInterface = MakeFailure(0x80004002u);
inline constexpr HResult kPointer = MakeFailure(0x80004003u);
inline constexpr HResult kFail = MakeFailure(0x80004005u);
inline constexpr HResult kUnexpected = MakeFailure(0x8000FFFFu);
inline constexpr HResult kOutOfMemory = MakeFailure(0x8007000Eu);
inline constexpr HResult kInvalidArgument = MakeFailure(0x80070057u);
// Dispatch failures.
inline constexpr HResult kUnknownName = MakeFailure(0x80020006u);
inline constexpr HResult kMemberNotFound = MakeFailure(0x80020003u);
inline constexpr HResult kTypeMismatch = MakeFailure(0x80020005u);
inline constexpr HResult kDispatchException = MakeFailure(0x80020009u);
inline constexpr HResult kOverflow = MakeFailure(0x8002000Au);
inline constexpr HResult kBadParamCount = MakeFailure(0x8002000Eu);
// Class lookup and creation.
inline constexpr HResult kNoAggregation = MakeFailure(0x80040110u);
inline constexpr HResult kClassNotAvailable = MakeFailure(0x80040111u);
inline constexpr HResult kClassNotRegistered = MakeFailure(0x80040154u);
inline constexpr HResult kLibraryNotLoaded = MakeFailure(0x800401F9u);
// Self-registration of a server library.
inline constexpr HResult kSelfRegTypeLib = MakeFailure(0x80040200u);
inline constexpr HResult kSelfRegClass = MakeFailure(0x80040201u);
// Persistence.
inline constexpr HResult kReadFault = MakeFailure(0x8003001Eu);
inline constexpr HResult kWriteFault = MakeFailure(0x8003001Du);

// The status of an automation error raised by a control: 0x800A0000 + code.
constexpr HResult ControlErrorStatus(int code)
{
    return MakeFailure(0x800A0000u + static_cast<std::uint32_t>(code & 0xFFFF));
}
// A property that cannot be read, or written.
inline constexpr HResult kGetNotSupported = ControlErrorStatus(394);
inline constexpr HResult kSetNotSupported = ControlErrorStatus(383);

} // namespace lx
