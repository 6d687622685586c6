#pragma once
// A server's side of a dispatch interface: one table row per member, and the
// Invoke that finds the row, converts the arguments to the declared types and
// calls the owner's function. A member function raises a dispatch exception
// by throwing DispatchFault.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "platform/com/Dispatch.h"

namespace lx {

// How a property answers a put.
enum class PutKind { NotSupported, Ignored, Set };

// VarType::Empty as a declared type means "any variant, unconverted".
template <typename Owner>
struct DispatchMember {
    DispId id = 0;
    std::string_view name;
    // Property type, or the method's result type.
    VarType type = VarType::Empty;
    // Property: getter (null = get not supported) and putter; both get the
    // member's number, so one function can serve a family of members.
    Variant (Owner::*get)(DispId) = nullptr;
    PutKind putKind = PutKind::NotSupported;
    void (Owner::*put)(DispId, const Variant&) = nullptr;
    // Method: the function and its parameter types.
    Variant (Owner::*call)(std::span<const Variant>) = nullptr;
    std::array<VarType, 4> params{};
    std::size_t paramCount = 0;
    bool color = false;

    bool IsMethod() const { return call != nullptr; }
};

namespace dispatch_detail {

HResult Convert(const Variant& in, VarType to, Variant& out);
HResult Raise(DispatchException* exception, HResult status, std::string description);

} // namespace dispatch_detail

template <typename Owner>
HResult FindMemberId(std::span<const DispatchMember<Owner>> table, std::string_view name, DispId* id)
{
    if (!id)
        return kPointer;
    for (const DispatchMember<Owner>& member : table)
        if (EqualsIgnoringAsciiCase(member.name, name)) {
            *id = member.id;
            return kOk;
        }
    return kUnknownName;
}

template <typename Owner>
HResult ListMembers(std::span<const DispatchMember<Owner>> table, std::vector<MemberInfo>* members)
{
    if (!members)
        return kPointer;
    members->clear();
    for (const DispatchMember<Owner>& m : table)
        members->push_back({m.id, std::string(m.name), m.type, m.IsMethod(), m.color});
    return kOk;
}

template <typename Owner>
HResult InvokeMember(Owner& owner, std::span<const DispatchMember<Owner>> table, DispId id, std::uint16_t flags,
                     std::span<const Variant> args, Variant* result, DispatchException* exception)
{
    using dispatch_detail::Convert;
    using dispatch_detail::Raise;
    const DispatchMember<Owner>* member = nullptr;
    for (const DispatchMember<Owner>& row : table)
        if (row.id == id)
            member = &row;
    if (!member)
        return kMemberNotFound;
    Variant value;
    try {
        if (member->IsMethod()) {
            if (!(flags & (kInvokeMethod | kInvokePropertyGet)))
                return kMemberNotFound;
            if (args.size() != member->paramCount)
                return kBadParamCount;
            std::array<Variant, 4> converted;
            for (std::size_t i = 0; i < args.size(); ++i)
                if (const HResult status = Convert(args[i], member->params[i], converted[i]); Failed(status))
                    return status;
            value = (owner.*(member->call))(std::span<const Variant>(converted.data(), args.size()));
        } else if (flags & kInvokePropertyPut) {
            if (args.size() != 1)
                return kBadParamCount;
            if (member->putKind == PutKind::NotSupported)
                return Raise(exception, kSetNotSupported, "Property is read-only.");
            if (member->putKind == PutKind::Ignored)
                return kOk;
            Variant converted;
            if (const HResult status = Convert(args[0], member->type, converted); Failed(status))
                return status;
            (owner.*(member->put))(id, converted);
            return kOk;
        } else if (flags & (kInvokePropertyGet | kInvokeMethod)) {
            if (!args.empty())
                return kBadParamCount;
            if (!member->get)
                return Raise(exception, kGetNotSupported, "Property is write-only.");
            value = (owner.*(member->get))(id);
        } else {
            return kMemberNotFound;
        }
    } catch (const DispatchFault& fault) {
        return Raise(exception, fault.status, fault.description);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const std::exception& e) {
        return Raise(exception, kFail, e.what());
    }
    if (result)
        *result = std::move(value);
    return kOk;
}

} // namespace lx
