#pragma once
// The dispatch interface: members called by number (dispatch identifier)
// with variant arguments, the way every host drives a control. A member that
// fails on purpose raises a dispatch exception: the call returns
// kDispatchException and the exception record carries the status and the
// description.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/com/Variant.h"
#include "platform/io/Errors.h"

namespace lx {

using DispId = std::int32_t;

// Members every control framework offers under fixed numbers.
inline constexpr DispId kDispIdBackColor = -501;
inline constexpr DispId kDispIdFont = -512;
inline constexpr DispId kDispIdHwnd = -515;
inline constexpr DispId kDispIdRefresh = -550;
inline constexpr DispId kDispIdAboutBox = -552;

// What a call asks of a member (flags, may be combined).
inline constexpr std::uint16_t kInvokeMethod = 1;
inline constexpr std::uint16_t kInvokePropertyGet = 2;
inline constexpr std::uint16_t kInvokePropertyPut = 4;

struct DispatchException {
    HResult status = kOk;
    std::string source;
    // ASCII or UTF-8 text.
    std::string description;
    std::uint32_t helpContext = 0;
};

// What a dispatch interface tells about one of its members.
struct MemberInfo {
    DispId id = 0;
    std::string name;
    VarType type = VarType::Empty; // property type or method result
    bool method = false;
    bool color = false; // a property holding a colour value
};

class Dispatch : public ComUnknown {
public:
    static constexpr Guid kIid{0x6C780001, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    // The number of a member by its name (compared without regard to ASCII
    // case); kUnknownName when there is none.
    virtual HResult GetIdOfName(std::string_view name, DispId* id) = 0;
    // The members, in the interface's order; an object without type
    // information answers kNotImplemented.
    virtual HResult GetTypeInfo(std::vector<MemberInfo>*) { return kNotImplemented; }
    // Arguments in their natural order (first argument first); a property
    // put passes the new value as its only argument. `result` and
    // `exception` may be null.
    virtual HResult Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                           DispatchException* exception) = 0;

protected:
    ~Dispatch() = default;
};

// A failed dispatch call seen by a host: the status (for a dispatch
// exception the exception's own status) and the description.
class DispatchError : public Error {
public:
    DispatchError(HResult status, std::string description);
    HResult Status() const { return status_; }
    const std::string& Description() const { return description_; }

private:
    HResult status_;
    std::string description_;
};

// The host's side of a dispatch interface: every failure becomes a
// DispatchError.
class DispatchDriver {
public:
    DispatchDriver() = default;
    explicit DispatchDriver(ComPtr<Dispatch> target) : target_(std::move(target)) {}

    bool Bound() const { return static_cast<bool>(target_); }
    const ComPtr<Dispatch>& Target() const { return target_; }

    void Put(DispId id, const Variant& value);
    Variant Get(DispId id);
    Variant Call(DispId id, std::span<const Variant> args = {});
    Variant Call(DispId id, std::initializer_list<Variant> args)
    {
        return Call(id, std::span<const Variant>(args.begin(), args.size()));
    }
    DispId IdOfName(std::string_view name);

private:
    Variant Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args);

    ComPtr<Dispatch> target_;
};

// Thrown inside a server's member to raise a dispatch exception.
struct DispatchFault {
    HResult status;
    std::string description;
};

} // namespace lx
