#include "platform/com/Dispatch.h"

#include <cstdio>

namespace lx {

namespace {

std::string MessageOf(HResult status, const std::string& description)
{
    if (!description.empty())
        return description;
    char text[80];
    std::snprintf(text, sizeof text, "オートメーション エラーです (0x%08X)。", static_cast<std::uint32_t>(status));
    return text;
}

} // namespace

DispatchError::DispatchError(HResult status, std::string description)
    : Error(MessageOf(status, description)), status_(status), description_(std::move(description))
{
}

Variant DispatchDriver::Invoke(DispId id, std::uint16_t flags, std::span<const Variant> args)
{
    if (!target_)
        throw DispatchError(kPointer, {});
    Variant result;
    DispatchException exception;
    const HResult status = target_->Invoke(id, flags, args, &result, &exception);
    if (status == kDispatchException)
        throw DispatchError(exception.status, exception.description);
    if (Failed(status))
        throw DispatchError(status, {});
    return result;
}

void DispatchDriver::Put(DispId id, const Variant& value) { Invoke(id, kInvokePropertyPut, {&value, 1}); }

Variant DispatchDriver::Get(DispId id) { return Invoke(id, kInvokePropertyGet, {}); }

Variant DispatchDriver::Call(DispId id, std::span<const Variant> args) { return Invoke(id, kInvokeMethod, args); }

DispId DispatchDriver::IdOfName(std::string_view name)
{
    if (!target_)
        throw DispatchError(kPointer, {});
    DispId id = 0;
    if (const HResult status = target_->GetIdOfName(name, &id); Failed(status))
        throw DispatchError(status, {});
    return id;
}

} // namespace lx
