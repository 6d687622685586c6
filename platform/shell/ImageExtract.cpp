#include "platform/shell/ImageExtract.h"

#include "platform/gdi/GdiTypes.h"
#include "platform/image/Graphic.h"
#include "platform/image/Picture.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <vector>

namespace lx {

namespace {

// A picture file larger than this is not read for a mere thumbnail.
constexpr std::uint64_t kMaxThumbnailFileBytes = 256ull << 20;

struct Tap {
    int index;
    double weight;
};

// For each of `to` target pixels along one axis, the source pixels of the
// `from` it covers and how much of each (fractions at both ends).
std::vector<std::vector<Tap>> AreaTaps(int from, int to)
{
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * step;
        const double end = std::min(static_cast<double>(from), (i + 1) * step);
        for (int j = static_cast<int>(begin); j < from && j < end; ++j) {
            const double weight = std::min(end, j + 1.0) - std::max(begin, static_cast<double>(j));
            if (weight > 0)
                taps[static_cast<std::size_t>(i)].push_back({j, weight});
        }
    }
    return taps;
}

// Alpha-weighted channel sums: colours are multiplied by their alpha.
struct Sum {
    double a = 0, r = 0, g = 0, b = 0;

    void Add(std::uint32_t argb, double weight)
    {
        const double alpha = (argb >> 24) * weight;
        a += alpha;
        r += ((argb >> 16) & 0xFF) * alpha;
        g += ((argb >> 8) & 0xFF) * alpha;
        b += (argb & 0xFF) * alpha;
    }
    void Add(const Sum& other, double weight)
    {
        a += other.a * weight;
        r += other.r * weight;
        g += other.g * weight;
        b += other.b * weight;
    }
    std::uint32_t Argb(double area) const
    {
        const auto channel = [](double v) { return static_cast<std::uint32_t>(std::clamp(RoundToInt(v), 0, 255)); };
        if (a <= 0)
            return 0;
        return channel(a / area) << 24 | channel(r / a) << 16 | channel(g / a) << 8 | channel(b / a);
    }
};

Size FittedSize(int width, int height, int maxWidth, int maxHeight)
{
    const double scale = std::min(static_cast<double>(maxWidth) / width, static_cast<double>(maxHeight) / height);
    return {std::clamp(RoundToInt(width * scale), 1, maxWidth), std::clamp(RoundToInt(height * scale), 1, maxHeight)};
}

Bitmap AreaAverage(const Bitmap& source, Size size)
{
    const auto across = AreaTaps(source.Width(), size.cx);
    const auto down = AreaTaps(source.Height(), size.cy);
    // Rows first: every source row narrowed to the target width.
    std::vector<Sum> narrowed(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(source.Height()));
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint32_t* row = source.Row(y);
        Sum* out = narrowed.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(size.cx);
        for (int x = 0; x < size.cx; ++x)
            for (const Tap& tap : across[static_cast<std::size_t>(x)])
                out[x].Add(row[tap.index], tap.weight);
    }
    const double area = static_cast<double>(source.Width()) / size.cx * source.Height() / size.cy;
    Bitmap result(size.cx, size.cy);
    for (int y = 0; y < size.cy; ++y) {
        std::uint32_t* row = result.Row(y);
        for (int x = 0; x < size.cx; ++x) {
            Sum sum;
            for (const Tap& tap : down[static_cast<std::size_t>(y)])
                sum.Add(narrowed[static_cast<std::size_t>(tap.index) * static_cast<std::size_t>(size.cx) +
                                 static_cast<std::size_t>(x)],
                        tap.weight);
            row[x] = sum.Argb(area);
        }
    }
    return result;
}

} // namespace

Bitmap ScaleToFit(const Bitmap& source, int maxWidth, int maxHeight)
{
    if (source.Empty() || maxWidth <= 0 || maxHeight <= 0)
        return {};
    if (source.Width() <= maxWidth && source.Height() <= maxHeight)
        return source;
    return AreaAverage(source, FittedSize(source.Width(), source.Height(), maxWidth, maxHeight));
}

bool ExtractThumbnail(std::string_view path, Bitmap& bitmap)
{
    if (bitmap.Empty())
        return false;
    try {
        std::unique_ptr<Graphic> graphic = GraphicForExtension(path);
        const auto* raster = dynamic_cast<RasterGraphic*>(graphic.get());
        if (!raster)
            return false;
        graphic->LoadFromBytes(ReadFileBytes(path, kMaxThumbnailFileBytes));
        // A JPEG is decoded no larger than the thumbnail needs.
        const SharedPixels pixels = raster->PixelsFor(bitmap.Width(), bitmap.Height());
        Bitmap thumbnail = ScaleToFit(pixels->Pixels(), bitmap.Width(), bitmap.Height());
        if (thumbnail.Empty())
            return false;
        bitmap = std::move(thumbnail);
        return true;
    } catch (const Error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false; // a picture too large for memory has no thumbnail
    }
}

} // namespace lx
