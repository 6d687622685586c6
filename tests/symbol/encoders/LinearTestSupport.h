#pragma once
// Encoding through the table, drawing element strings as grey images and
// reading them back with zxing-cpp (in process) and zbarimg (in batches).
#include "support/Decoders.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lxtest {

struct LinearResult {
    int result = 0;            // element count or error
    std::int32_t count = -99;  // the element count as stored
    std::vector<std::uint8_t> elements;
    std::string text;
};

LinearResult EncodeLinearText(std::int32_t key, std::string_view data, int check = 0, int gap = 1);

// Element string as "b2 s1 ..." (b bar, s space, width code in decimal) for
// readable expectations and failure messages.
std::string DescribeElements(const std::vector<std::uint8_t>& elements);

// Draws the elements with full-height bars: narrow and wide in pixels (wide is
// what width code 2 means), a quiet zone of `quiet` pixels on both sides.
GreyImage RenderElements(const std::vector<std::uint8_t>& elements, int narrow, int wide, int quiet, int height = 40);

struct LinearDecoded {
    bool ok = false;
    std::string bytes;       // content bytes, no character-set conversion
    std::string identifier;  // symbology identifier, "]C1" for GS1-128
    ZXing::BarcodeFormat format = ZXing::BarcodeFormat::None;
};

struct LinearReadOptions {
    bool addOn = false;        // EAN/UPC add-on required
    bool validateCheck = false; // Code 39 (check character removed) and ITF check digits verified
};

// zxing-cpp: Codabar start and stop kept, Code 39 without its extended mode.
LinearDecoded ZxingReadLinear(const GreyImage& image, ZXing::BarcodeFormats formats, LinearReadOptions options = {});

// One zbarimg run over all images (EAN-2 and EAN-5 add-ons enabled); for each
// image the "TYPE:data" of every symbol found, joined by '\n'.
std::vector<std::string> ZbarReadAll(const std::vector<GreyImage>& images);

} // namespace lxtest
