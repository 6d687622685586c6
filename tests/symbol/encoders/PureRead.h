#pragma once
// zxing-cpp reading one symbol on a clean background, with the structured-append
// facts the plain decoding helper leaves out.
#include "support/Decoders.h"

#include <string>

namespace lxtest {

struct PureRead {
    bool ok = false;
    std::string bytes; // no character-set conversion
    std::string symbology;
    int sequenceIndex = -1;
    int sequenceSize = -1;
    bool lastInSequence = false;
    std::string sequenceId;
};

PureRead ReadPure(const GreyImage& image, ZXing::BarcodeFormat format);

} // namespace lxtest
