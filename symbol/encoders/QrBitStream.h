#pragma once
// The data codewords of a QR symbol: header, segments, terminator and pad
// codewords.
#include "symbol/encoders/QrSegments.h"

#include <cstdint>

namespace lx {

// Fills the data codewords of the version (its data capacity rounded up to
// whole codewords; the 4-bit last codeword of Micro M1 and M3 sits in the
// high half of its byte). The version must hold the segments.
void QrBuildBitStream(const QrSegmentList& segments, const std::uint8_t* dataBuffer, const QrSymbolKind& kind,
                      int versionIndex, std::uint8_t* codewords);

// The 13-bit value of a Shift-JIS pair in kanji mode.
int QrKanjiValue(std::uint8_t lead, std::uint8_t trail);

} // namespace lx
