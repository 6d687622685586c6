#pragma once
// The size limit every picture reader and the metafile bitmap records share,
// so that whatever a picture file may hold can also be drawn.
#include <cstdint>

namespace lx {

// Largest image a file may ask for; a bigger one is refused before any pixel
// memory is reserved.
inline constexpr std::int64_t kMaxImagePixels = 100'000'000;

struct ImageSize {
    int width = 0;
    int height = 0;
};

// Throws ReadError "画像が大きすぎます。" unless width x height (both >= 0) is
// within kMaxImagePixels.
void CheckImageSize(std::int64_t width, std::int64_t height);

} // namespace lx
