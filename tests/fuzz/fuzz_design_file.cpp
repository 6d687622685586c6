// Hostile bytes into the whole-file reader of designs. Reading may only fail
// with lx::Error; a design it accepts must write again and read back to the
// same bytes.
#include "designer/model/LxDesignFile.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lx::MemoryStream input{std::string(reinterpret_cast<const char*>(data), size)};
    try {
        const lx::Design design = lx::ReadDesign(input);
        design.Document->GetSerialRecordCount();
        const std::string once = Written(design);
        lx::MemoryStream again{once};
        if (Written(lx::ReadDesign(again)) != once)
            __builtin_trap();
    } catch (const lx::Error&) {
    }
    return 0;
}
