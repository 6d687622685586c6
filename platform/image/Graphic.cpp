#include "platform/image/Graphic.h"

#include "platform/io/Errors.h"

namespace lx {

void CheckImageSize(std::int64_t width, std::int64_t height)
{
    if (width < 0 || height < 0)
        throw ReadError("画像のサイズが正しくありません。");
    if (width > 0 && height > kMaxImagePixels / width)
        throw ReadError("画像が大きすぎます。");
    if (width > kMaxImagePixels || height > kMaxImagePixels)
        throw ReadError("画像が大きすぎます。");
}

} // namespace lx
