#include "SampleFiles.h"

#include "platform/io/LittleEndian.h"

namespace lxtest {

std::string TinyEnhancedMetafile(int widthMm01, int heightMm01)
{
    std::string emf;
    auto put = [&](std::uint32_t v) { lx::AppendLe32(emf, v); };
    put(1); // EMR_HEADER
    put(88); // record size
    for (std::uint32_t v : {0u, 0u, 95u, 47u}) // bounds in device pixels
        put(v);
    for (int v : {0, 0, widthMm01, heightMm01}) // frame in 0.01 mm
        put(static_cast<std::uint32_t>(v));
    put(0x464D4520); // " EMF"
    put(0x10000); // version
    put(88 + 20); // file size
    put(2); // records
    lx::AppendLe16(emf, 1); // handles
    lx::AppendLe16(emf, 0);
    for (std::uint32_t v : {0u, 0u, 0u, 1920u, 1080u, 508u, 286u}) // description, palette, device sizes
        put(v);
    for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) // EMR_EOF
        put(v);
    return emf;
}

std::string TinyPlaceableMetafile(int right, int bottom, int unitsPerInch)
{
    std::string wmf;
    lx::AppendLe32(wmf, 0x9AC6CDD7);
    for (int v : {0, 0, 0, right, bottom, unitsPerInch, 0, 0})
        lx::AppendLe16(wmf, static_cast<std::uint16_t>(v));
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        checksum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(wmf[i]) |
                                               (static_cast<unsigned char>(wmf[i + 1]) << 8));
    lx::AppendLe16(wmf, checksum);
    lx::AppendLe16(wmf, 1); // memory metafile
    lx::AppendLe16(wmf, 9); // header words
    lx::AppendLe16(wmf, 0x300); // version
    lx::AppendLe32(wmf, 9 + 3); // size in words
    lx::AppendLe16(wmf, 0); // objects
    lx::AppendLe32(wmf, 3); // largest record
    lx::AppendLe16(wmf, 0);
    lx::AppendLe32(wmf, 3); // end record: 3 words, function 0
    lx::AppendLe16(wmf, 0);
    return wmf;
}

} // namespace lxtest
