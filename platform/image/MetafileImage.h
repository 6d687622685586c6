#pragma once
// The metafile graphic: an enhanced metafile or a placeable Windows metafile,
// kept as its file bytes (played back by the metafile layer).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/image/Graphic.h"

namespace lx {

// Pixels per inch of the reference display that a metafile's size in
// hundredths of a millimetre is shown at.
inline constexpr int kMetafileScreenDpi = 96;

class MetafileImage : public Graphic {
public:
    MetafileImage() = default;

    std::string_view ClassName() const override { return "TMetafile"; }
    bool Empty() const override { return bytes_.empty(); }
    // Size of the picture frame at kMetafileScreenDpi.
    int Width() const override;
    int Height() const override;
    // Accepts an enhanced metafile (header record first, " EMF" signature,
    // its records inside the declared size) or a placeable Windows metafile
    // (key 0x9AC6CDD7, checksum, a standard header and its declared size).
    // The bytes are kept as given. Throws ReadError.
    void LoadFromBytes(std::string_view bytes) override;
    std::string SaveToBytes() const override { return bytes_; }
    std::unique_ptr<Graphic> Clone() const override;

    // True for an enhanced metafile, false for a placeable Windows metafile.
    bool IsEnhanced() const { return enhanced_; }
    const std::string& Bytes() const { return bytes_; }
    // Frame size in hundredths of a millimetre.
    std::int64_t MmWidth() const { return mmWidth_; }
    std::int64_t MmHeight() const { return mmHeight_; }

private:
    std::string bytes_;
    bool enhanced_ = false;
    std::int64_t mmWidth_ = 0;
    std::int64_t mmHeight_ = 0;
};

// True when the bytes start like an enhanced metafile (a header record with
// the " EMF" signature); nothing else is checked.
bool LooksLikeEnhancedMetafile(std::string_view bytes);
// True when the bytes start with the placeable Windows metafile key.
bool LooksLikePlaceableMetafile(std::string_view bytes);

} // namespace lx
