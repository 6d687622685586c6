#pragma once
// Independent decoders used as oracles: zxing-cpp in process, zbarimg as a
// separate program.
#include <cstdint>
#include <string>
#include <vector>

#include <ZXing/BarcodeFormat.h>

namespace lxtest {

// An 8-bit grey image, 0 black, 255 white, rows top first.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The module-matrix form the 2D encoders write: one bit per module (1 = dark),
// rows from the top, (columns + 7) / 8 bytes a row, bit value 1 << (c % 8) of
// byte c / 8 for column c (least significant bit = leftmost module).
std::vector<std::vector<bool>> ModulesFromMatrix(const std::uint8_t* matrix, int columns, int rows);

// Draws a module grid (true = dark) at `scale` pixels a module with a quiet
// zone of `quiet` modules on every side.
GreyImage RenderModules(const std::vector<std::vector<bool>>& dark, int scale, int quiet);

struct Decoded {
    bool ok = false;
    std::string bytes; // raw content bytes (no character-set conversion)
    std::string text; // zxing's text form
    ZXing::BarcodeFormat format = ZXing::BarcodeFormat::None;
    std::string error;
};

// Decodes the first symbol of the given formats; `pure` tells zxing the image
// holds one symbol on a clean background (needed for MaxiCode).
Decoded ZxingDecode(const GreyImage& image, ZXing::BarcodeFormats formats, bool pure = true);

// Writes the image as a binary PGM file (for zbarimg or a look by eye).
void WritePgm(const GreyImage& image, const std::string& path);

// The mean of the channels of 0xAARRGGBB pixels (rows one after another);
// `invert` turns a light-on-dark symbol round.
GreyImage GreyOfArgb(int width, int height, const std::uint32_t* argb, bool invert = false);

// Image turns that undo a painted orientation before decoding.
GreyImage Transposed(const GreyImage& image);
GreyImage FlippedLeftRight(const GreyImage& image);
GreyImage FlippedTopBottom(const GreyImage& image);
GreyImage TurnedClockwise(const GreyImage& image, int quarters);

} // namespace lxtest
