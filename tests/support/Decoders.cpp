#include "Decoders.h"

#include <ZXing/ReadBarcode.h>

#include <fstream>
#include <utility>

namespace lxtest {

std::vector<std::vector<bool>> ModulesFromMatrix(const std::uint8_t* matrix, int columns, int rows)
{
    const int stride = (columns + 7) / 8;
    std::vector<std::vector<bool>> dark(static_cast<std::size_t>(rows),
                                        std::vector<bool>(static_cast<std::size_t>(columns)));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            dark[r][c] = (matrix[r * stride + c / 8] >> (c % 8)) & 1;
    return dark;
}

GreyImage RenderModules(const std::vector<std::vector<bool>>& dark, int scale, int quiet)
{
    const int rows = static_cast<int>(dark.size());
    const int cols = rows ? static_cast<int>(dark[0].size()) : 0;
    GreyImage image;
    image.width = (cols + 2 * quiet) * scale;
    image.height = (rows + 2 * quiet) * scale;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (dark[r][c])
                for (int y = 0; y < scale; ++y)
                    for (int x = 0; x < scale; ++x)
                        image.pixels[static_cast<std::size_t>((r + quiet) * scale + y) * image.width +
                                     (c + quiet) * scale + x] = 0;
    return image;
}

Decoded ZxingDecode(const GreyImage& image, ZXing::BarcodeFormats formats, bool pure)
{
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setIsPure(pure);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    hints.setCharacterSet("ISO-8859-1");
    ZXing::ImageView view(image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum);
    const auto result = ZXing::ReadBarcode(view, hints);
    Decoded decoded;
    decoded.ok = result.isValid();
    decoded.format = result.format();
    const auto& bytes = result.bytes();
    decoded.bytes.assign(bytes.begin(), bytes.end());
    decoded.text = result.text();
    if (!decoded.ok)
        decoded.error = "zxing found no valid symbol";
    return decoded;
}

void WritePgm(const GreyImage& image, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << image.width << " " << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
}

GreyImage GreyOfArgb(int width, int height, const std::uint32_t* argb, bool invert)
{
    GreyImage image{width, height, {}};
    image.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        const int level = (((argb[i] >> 16) & 0xFF) + ((argb[i] >> 8) & 0xFF) + (argb[i] & 0xFF)) / 3;
        image.pixels.push_back(static_cast<std::uint8_t>(invert ? 255 - level : level));
    }
    return image;
}

namespace {

template <typename Source>
GreyImage Remapped(const GreyImage& image, int width, int height, Source source)
{
    GreyImage out{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)};
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

} // namespace lxtest
