#pragma once
// Pixels decoded from a picture, held once and shared read-only by every
// picture, clone and undo record that holds the same graphic. The bytes of
// all live decoded images are counted, so that memory growth can be watched.
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/image/Bitmap.h"
#include "platform/image/ImageSize.h"

namespace lx {

class DecodedImage {
public:
    explicit DecodedImage(Bitmap pixels);
    ~DecodedImage();
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;

    const Bitmap& Pixels() const { return pixels_; }
    // Only for a holder that owns the image alone; the size must not change.
    Bitmap& MutablePixels() { return pixels_; }

    // Pixel bytes of every decoded image alive in the process.
    static std::int64_t LiveBytes() { return liveBytes_.load(); }

private:
    Bitmap pixels_;
    std::int64_t counted_;
    static std::atomic<std::int64_t> liveBytes_;
};

using SharedPixels = std::shared_ptr<const DecodedImage>;

// The decoded pixels a compressed graphic keeps: the largest decoded so far,
// shared with its copies.
class PixelCache {
public:
    // The kept image when it covers `needed`, else the result of decode()
    // (a Bitmap), which is kept from then on.
    template <class Decode>
    SharedPixels Get(ImageSize needed, Decode decode)
    {
        if (!kept_ || kept_->Pixels().Width() < needed.width || kept_->Pixels().Height() < needed.height)
            kept_ = std::make_shared<const DecodedImage>(decode());
        return kept_;
    }
    void Reset() { kept_.reset(); }

private:
    SharedPixels kept_;
};

// The pixels a picture of width x height needs when it is drawn into a box
// of boxWidth x boxHeight: never more than the picture has, never more than
// the box shows (a size of 0 or less counts as the picture's own).
ImageSize DrawnSize(int width, int height, int boxWidth, int boxHeight);

// Nearest-neighbour sampling by pixel centres, the mapping the painters use,
// so that drawing the result 1:1 gives the pixels a stretch of the source
// would have given.
Bitmap SampleNearest(const Bitmap& source, int width, int height);

} // namespace lx
