#include "symbol/encoders/PainterTestSupport.h"

#include "platform/gdi/RasterDeviceContext.h"
#include "symbol/encoders/DataMatrixEncoder.h"
#include "symbol/encoders/MaxiCodeEncoder.h"
#include "symbol/encoders/Pdf417TestSupport.h"
#include "symbol/encoders/QrTestSupport.h"

#include <algorithm>

namespace lxtest {

Encoded2D EncodeQrText(const std::string& request, int model)
{
    const QrSymbol s = EncodeQrRequest(request, model);
    return {s.matrix, s.size};
}

Encoded2D EncodeDataMatrixText(const std::string& data, int model)
{
    Encoded2D s;
    s.matrix.assign(lx::kDataMatrixMatrixBytes, 0);
    if (lx::EncodeDataMatrix(static_cast<int>(data.size()), reinterpret_cast<const std::uint8_t*>(data.data()), &s.size,
                             s.matrix.data(), model, 0) != 0)
        s.size = 0;
    return s;
}

Encoded2D EncodeMaxiCodeText(const std::string& message)
{
    const std::string request = "," + message;
    Encoded2D s;
    s.matrix.assign(lx::kMaxiCodeMapBytes, 0);
    if (lx::EncodeMaxiCode(static_cast<int>(request.size()), reinterpret_cast<const std::uint8_t*>(request.data()),
                           s.matrix.data(), 3) == 0)
        s.size = 30 | 33 << 16;
    return s;
}

Encoded2D EncodePdf417Text(const std::string& request, int model)
{
    const Pdf417Symbol s = EncodePdf417Request(request, model);
    return {s.matrix, s.width | s.rows << 16};
}

lx::Bitmap PaintYUp(int width, int height, const std::function<void(lx::DeviceContext&)>& paint, std::uint32_t fill,
                    int scale)
{
    lx::Bitmap bitmap(width * scale, height * scale, fill);
    lx::RasterDeviceContext dc(bitmap);
    dc.SetMapMode(lx::MapMode::Anisotropic);
    dc.SetWindowExt(width, -height);
    dc.SetViewportExt(width * scale, height * scale);
    paint(dc);
    return bitmap;
}

GreyImage Grey(const lx::Bitmap& bitmap, bool invert)
{
    GreyImage image;
    image.width = bitmap.Width();
    image.height = bitmap.Height();
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = bitmap.Pixel(x, y);
            const int level = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
            image.pixels.push_back(static_cast<std::uint8_t>(invert ? 255 - level : level));
        }
    return image;
}

namespace {
template <typename Source>
GreyImage Remapped(const GreyImage& image, int width, int height, Source source)
{
    GreyImage out;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto [sx, sy] = source(x, y);
            out.pixels[static_cast<std::size_t>(y) * width + x] =
                image.pixels[static_cast<std::size_t>(sy) * image.width + sx];
        }
    return out;
}
} // namespace

GreyImage Transposed(const GreyImage& image)
{
    return Remapped(image, image.height, image.width, [](int x, int y) { return std::pair{y, x}; });
}

GreyImage FlippedLeftRight(const GreyImage& image)
{
    return Remapped(image, image.width, image.height, [&](int x, int y) { return std::pair{image.width - 1 - x, y}; });
}

GreyImage FlippedTopBottom(const GreyImage& image)
{
    return Remapped(image, image.width, image.height, [&](int x, int y) { return std::pair{x, image.height - 1 - y}; });
}

GreyImage TurnedClockwise(const GreyImage& image, int quarters)
{
    GreyImage out = image;
    for (int i = 0; i < (quarters % 4 + 4) % 4; ++i)
        out = FlippedLeftRight(Transposed(out));
    return out;
}

int FigureLog::Count(char kind) const
{
    return static_cast<int>(
        std::count_if(figures.begin(), figures.end(), [&](const Figure& f) { return f.kind == kind; }));
}

} // namespace lxtest
