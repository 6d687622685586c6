#pragma once
// Linear symbols through the table, drawn as grey images and read back by
// zxing-cpp (in process) and zbarimg (one run for many images).
#include "support/Decoders.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lxtest {

struct LinearResult {
    int result = 0; // element count or error
    std::int32_t count = -99; // the element count as stored
    std::vector<std::uint8_t> elements;
    std::string text;
};

LinearResult EncodeLinearText(std::int32_t key, std::string_view data, int check = 0, int gap = 1);

// Each table row's longest data and whether it checks the check-digit option
// (-5 when out of range), in table order.
struct LinearLimit {
    std::int32_t key;
    int length;
    bool checksOption;
};
extern const LinearLimit kLinearLimits[26];

// The modulo-10 check digit of EAN/UPC, ITF and STF: weights 3 and 1, 3 on
// the rightmost digit.
char Mod10Weights31(const std::string& digits);

// "b2 s1 ...": b bar, s space, then the width code.
std::string DescribeElements(const std::vector<std::uint8_t>& elements);

// Full-height bars; `wide` pixels for width code 2, `narrow` per narrow width
// otherwise, a quiet zone of `quiet` pixels on both sides.
GreyImage RenderElements(const std::vector<std::uint8_t>& elements, int narrow, int wide, int quiet);

struct LinearDecoded {
    bool ok = false;
    std::string bytes; // content bytes, no character-set conversion
    std::string identifier; // symbology identifier ("]C1" for GS1-128)
};

// zxing-cpp keeping Codabar start and stop; `addOn` requires the EAN/UPC
// add-on, `validateCheck` verifies Code 39 (and strips it) and ITF check digits.
LinearDecoded ZxingReadLinear(const GreyImage& image, ZXing::BarcodeFormats formats, bool addOn = false,
                              bool validateCheck = false);

// For each image the "TYPE:data" lines of every symbol zbarimg found, sorted
// and joined by '\n' (EAN-2 and EAN-5 add-ons enabled).
std::vector<std::string> ZbarReadAll(const std::vector<GreyImage>& images);

} // namespace lxtest
