#include "SaneTestBackend.h"

#include <dlfcn.h>
#include <pthread.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>

// SANE's threaded backends make their reader thread cancellable at any
// instruction. Cancelled inside malloc, it leaves the heap locked and the
// frontend's sane_cancel waits for it forever. The tests' processes defer
// those cancellations to the reader's next write to its pipe.
extern "C" __attribute__((visibility("default"))) int pthread_setcanceltype(int, int* previous)
{
    using Setter = int (*)(int, int*);
    static const auto real = reinterpret_cast<Setter>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    return real(PTHREAD_CANCEL_DEFERRED, previous);
}

namespace lxtest {

const TempDir& SaneTestBackend::Dir()
{
    static const TempDir dir;
    return dir;
}

void SaneTestBackend::Install()
{
    if (const char* previous = std::getenv("SANE_CONFIG_DIR"))
        previous_ = previous;
    ::setenv("SANE_CONFIG_DIR", Dir().Path().c_str(), 1);
}

SaneTestBackend::SaneTestBackend(NoScanner)
{
    std::ofstream(Dir().File("dll.conf")) << "";
    Install();
}

SaneTestBackend::SaneTestBackend(const std::vector<std::string>& settings)
{
    std::ofstream(Dir().File("dll.conf")) << "test\n";
    std::ofstream conf(Dir().File("test.conf"));
    conf << "number_of_devices 2\nmode Color\ndepth 8\nresolution 127\ntest-picture \"Color pattern\"\n"
            "tl_x 0\ntl_y 0\nbr_x 20\nbr_y 10\n";
    // Later lines win over the defaults above.
    for (const auto& line : settings)
        conf << line << "\n";
    Install();
}

SaneTestBackend::~SaneTestBackend()
{
    if (previous_)
        ::setenv("SANE_CONFIG_DIR", previous_->c_str(), 1);
    else
        ::unsetenv("SANE_CONFIG_DIR");
}

namespace {

// The next number of a PNM header, comments skipped; -1 when there is none.
long HeaderNumber(std::istream& in)
{
    for (int c = in.peek(); in && (std::isspace(c) || c == '#'); c = in.peek()) {
        if (c == '#')
            in.ignore(1 << 20, '\n');
        else
            in.get();
    }
    long value = -1;
    in >> value;
    return value;
}

// A PNM file of scanimage (P4 line art, P5 grey, P6 colour; 8 or 16-bit
// samples, big-endian) as 0xAARRGGBB words, 16-bit samples cut to their
// high byte.
PngFacts ReadPnm(std::istream& in)
{
    PngFacts facts;
    std::string magic;
    in >> magic;
    const long width = HeaderNumber(in), height = HeaderNumber(in);
    const long maxval = magic == "P4" ? 1 : HeaderNumber(in);
    if ((magic != "P4" && magic != "P5" && magic != "P6") || width <= 0 || height <= 0 || maxval <= 0 ||
        width * height > (1 << 24))
        return facts;
    in.get();
    const int channels = magic == "P6" ? 3 : 1;
    const int bytes = maxval > 255 ? 2 : 1;
    const std::size_t stride =
        magic == "P4" ? static_cast<std::size_t>(width + 7) / 8 : static_cast<std::size_t>(width * channels * bytes);
    std::string row(stride, '\0');
    for (long y = 0; y < height; ++y) {
        if (!in.read(row.data(), static_cast<std::streamsize>(stride)))
            return facts;
        const auto* u = reinterpret_cast<const unsigned char*>(row.data());
        for (long x = 0; x < width; ++x) {
            std::uint32_t rgb = 0;
            if (magic == "P4")
                rgb = (u[x / 8] >> (7 - x % 8)) & 1 ? 0 : 0xFFFFFF;
            else
                for (int c = 0; c < 3; ++c)
                    rgb = rgb << 8 | u[(x * channels + (channels == 3 ? c : 0)) * bytes];
            facts.argb.push_back(0xFF000000u | rgb);
        }
    }
    facts.width = static_cast<int>(width);
    facts.height = static_cast<int>(height);
    facts.ok = true;
    return facts;
}

} // namespace

PngFacts SaneTestBackend::Scan(const std::string& device) const
{
    // PNM, as scanimage's PNG output fails on three-pass and hand-held scans.
    const std::string file = Dir().File("oracle.pnm");
    const std::string command = "scanimage -d '" + device + "' --format=pnm > '" + file + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {};
    std::ifstream in(file, std::ios::binary);
    return ReadPnm(in);
}

} // namespace lxtest
