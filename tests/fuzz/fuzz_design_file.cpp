// Hostile bytes into the whole-file reader of designs, with the control
// registered so that symbol objects are built too. Reading may only fail
// with lx::Error; a design it accepts must write again and read back to the
// same bytes.
#include "FuzzSupport.h"
#include "designer/model/LxDesignFile.h"
#include "designer/model/LxLabelManager.h"
#include "designer/model/LxLabelObjectManager.h"
#include "platform/io/Errors.h"

#include <cstdint>
#include <string>

namespace {

std::string Written(const lx::Design& design)
{
    lx::MemoryStream stream;
    lx::WriteDesign(stream, *design.MergeTable, *design.SheetLayout, *design.Document);
    return stream.TakeBytes();
}

bool HoldsSymbolObject(const lx::TlxLabelManager& document)
{
    for (std::int32_t face = 0; face < document.GetFaceCount(); ++face)
        if (lxfuzz::HoldsSymbolObject(document.GetFaceObjects(face)))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    lxfuzz::RegisterSymbolControl();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static lxfuzz::ReachCounter symbols("symbol objects inside design files");
    lx::MemoryStream input{lxfuzz::Bytes(data, size)};
    bool reached = false;
    try {
        const lx::Design design = lx::ReadDesign(input);
        reached = HoldsSymbolObject(*design.Document);
        design.Document->GetSerialRecordCount();
        const std::string once = Written(design);
        lx::MemoryStream again{once};
        if (Written(lx::ReadDesign(again)) != once)
            __builtin_trap();
    } catch (const lx::Error&) {
    }
    symbols.Count(reached);
    return 0;
}
