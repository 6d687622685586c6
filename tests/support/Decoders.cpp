#include "Decoders.h"

#include "TestPaths.h"

#include <ZXing/ReadBarcode.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>

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

bool ZbarAvailable() { return std::system("command -v zbarimg >/dev/null 2>&1") == 0; }

std::vector<std::string> ZbarDecode(const GreyImage& image)
{
    std::vector<std::string> lines;
    if (!ZbarAvailable())
        return lines;
    TempDir dir;
    const std::string path = dir.File("symbol.pgm");
    WritePgm(image, path);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("zbarimg --quiet '" + path + "' 2>/dev/null").c_str(), "r"),
                                               ::pclose);
    if (!pipe)
        return lines;
    std::array<char, 4096> buffer{};
    std::string output;
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()))
        output += buffer.data();
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        if (end > start)
            lines.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace lxtest
