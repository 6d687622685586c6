#include "platform/com/DispatchTable.h"

namespace lx::dispatch_detail {

HResult Convert(const Variant& in, VarType to, Variant& out)
{
    if (to == VarType::Empty) {
        out = in;
        return kOk;
    }
    return ConvertVariant(in, to, out);
}

HResult Raise(DispatchException* exception, HResult status, std::string description)
{
    if (exception) {
        exception->status = status;
        exception->description = std::move(description);
        exception->helpContext = 0;
    }
    return kDispatchException;
}

} // namespace lx::dispatch_detail
