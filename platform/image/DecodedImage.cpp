#include "platform/image/DecodedImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace lx {

std::atomic<std::int64_t> DecodedImage::liveBytes_{0};

DecodedImage::DecodedImage(Bitmap pixels)
    : pixels_(std::move(pixels)),
      counted_(static_cast<std::int64_t>(pixels_.Width()) * pixels_.Height() * std::int64_t{sizeof(std::uint32_t)})
{
    liveBytes_ += counted_;
}

DecodedImage::~DecodedImage() { liveBytes_ -= counted_; }

ImageSize DrawnSize(int width, int height, int boxWidth, int boxHeight)
{
    const auto fit = [](int own, int box) { return box <= 0 ? own : std::min(own, box); };
    return {fit(width, boxWidth), fit(height, boxHeight)};
}

namespace {

// Source index of each of `count` target positions over `sourceCount`.
std::vector<int> NearestIndices(int count, int sourceCount)
{
    std::vector<int> indices(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double u = (i + 0.5) / count;
        indices[static_cast<std::size_t>(i)] =
            std::clamp(static_cast<int>(std::floor(u * sourceCount)), 0, sourceCount - 1);
    }
    return indices;
}

} // namespace

Bitmap SampleNearest(const Bitmap& source, int width, int height)
{
    if (source.Empty() || width <= 0 || height <= 0)
        return {};
    if (width == source.Width() && height == source.Height())
        return source;
    const std::vector<int> columns = NearestIndices(width, source.Width());
    const std::vector<int> rows = NearestIndices(height, source.Height());
    Bitmap result(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = source.Row(rows[static_cast<std::size_t>(y)]);
        std::uint32_t* out = result.Row(y);
        for (int x = 0; x < width; ++x)
            out[x] = in[columns[static_cast<std::size_t>(x)]];
    }
    return result;
}

} // namespace lx
