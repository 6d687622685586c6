#pragma once
// libpng and libjpeg used directly as oracles: they read back the files our
// writers make and write the files our readers are tested on.
#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

// What libpng reports about a PNG file, and its pixels as 0xAARRGGBB words
// (palette expanded, 16-bit samples cut to their high byte).
struct PngFacts {
    bool ok = false;
    std::string error;
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int interlace = 0;
    std::vector<std::uint8_t> palette; // red, green, blue per entry
    int zlibLevelFlag = -1; // FLEVEL bits of the first IDAT's zlib header
    std::vector<std::uint32_t> argb;
};
PngFacts ReadPngWithLibpng(const std::string& file);

// A PNG written by libpng from raw samples (rows top first, packed as the
// colour type and depth want them).
struct PngSource {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colorType = 0;
    bool interlaced = false;
    std::vector<std::uint8_t> palette; // red, green, blue per entry
    std::vector<std::uint8_t> paletteAlpha;
    std::vector<std::uint8_t> samples;
};
std::string WritePngWithLibpng(const PngSource& source);

// What libjpeg reports about a JPEG file, and its pixels as 0xFFRRGGBB words.
struct JpegFacts {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    int colorSpace = 0; // J_COLOR_SPACE of the file
    bool progressive = false;
    bool arithmetic = false;
    int lumaQuant0 = 0; // first entry of quantisation table 0
    std::vector<std::uint32_t> argb;
};
JpegFacts ReadJpegWithLibjpeg(const std::string& file);

// A JPEG written by libjpeg from interleaved samples of `components` bytes.
// colorSpace is a J_COLOR_SPACE (JCS_GRAYSCALE, JCS_RGB, JCS_CMYK). Samples
// of a single row stand for every row (large pictures without their memory).
std::string WriteJpegWithLibjpeg(int width, int height, int components, int colorSpace,
                                 const std::vector<std::uint8_t>& samples, bool progressive, int quality = 95);

} // namespace lxtest
