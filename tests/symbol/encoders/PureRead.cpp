#include "symbol/encoders/PureRead.h"

#include <ZXing/ReadBarcode.h>

namespace lxtest {

PureRead ReadPure(const GreyImage& image, ZXing::BarcodeFormat format)
{
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setIsPure(true);
    hints.setCharacterSet("ISO-8859-1");
    const auto r = ZXing::ReadBarcode({image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum}, hints);
    return {r.isValid(),
            std::string(r.bytes().begin(), r.bytes().end()),
            r.symbologyIdentifier(),
            r.sequenceIndex(),
            r.sequenceSize(),
            r.isLastInSequence(),
            r.sequenceId()};
}

} // namespace lxtest
