#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "designer/model/LxLabelBase.h"
#include "designer/model/LxLabelObjectManager.h"
#include "platform/com/ComClient.h"

namespace lxfuzz {

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lx-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

std::string Bytes(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

const std::string& RunFolder()
{
    static const TempFolder folder;
    return folder.Path();
}

void RegisterSymbolControl()
{
    static const bool registered = [] {
        ::setenv("LX_REGISTRY_FILE", (RunFolder() + "/registry.txt").c_str(), 1);
        // No application object here: the system's printers stay out of reach.
        ::setenv("LX_VIRTUAL_PRINTER", "1", 1);
        if (lx::RegisterServerLibrary(LX_FUZZ_CONTROL_LIBRARY) != lx::kOk) {
            std::fprintf(stderr, "cannot register %s\n", LX_FUZZ_CONTROL_LIBRARY);
            std::abort();
        }
        return true;
    }();
    (void)registered;
}

ReachCounter::~ReachCounter()
{
    std::fprintf(stderr, "reached: %s in %lld of %lld inputs\n", what_, reached_, inputs_);
}

void ReachCounter::Count(bool reached)
{
    ++inputs_;
    reached_ += reached ? 1 : 0;
}

bool HoldsSymbolObject(const lx::TlxLabelObjectManager& list)
{
    for (std::int32_t i = 0; i < list.GetObjectCount(); ++i) {
        switch (list.GetObject(i)->GetKind()) {
        case lx::KindBarcode:
        case lx::KindQRCarry:
        case lx::KindCsvBarcode:
        case lx::KindCsvQRCarry: return true;
        default: break;
        }
    }
    return false;
}

} // namespace lxfuzz
