#pragma once
// Input analysis: splits data into numeric, alphanumeric, byte and kanji
// segments so that the bit stream is short.
#include "symbol/encoders/QrSegments.h"

#include <cstdint>

namespace lx {

// Weight of one byte in tenths of a bit of QR data: 33 for a digit, 55 for
// another character of the 45-character set, 130 for a double-byte lead byte
// (its trail is not weighed), 80 for any other byte. The request builders cut
// structured-append parts by it.
int CharCost(std::uint8_t c);

// Class of the character at pos (a QrMode); *bytes receives its length, 2
// for a kanji pair.
int QrCharClass(const std::uint8_t* data, int length, int pos, int* bytes);

// Merged class of two runs: the wider of the two, except that kanji with any
// other class is byte. Class 4 marks the end of the data.
int QrMergeClass(int a, int b);

// Analyses data[0, length): fills the segment list and copies the examined
// bytes into dataBuffer (room for kQrMaxDataBytes). Repeats the analysis when
// the resulting version needs wider character counts. Returns the number of
// characters examined in the last pass (a kanji pair counts once);
// *bytesExamined receives the bytes they took.
int EncodeQrModes(QrSegmentList& segments, const std::uint8_t* data, std::uint8_t* dataBuffer, int length,
                  const QrSymbolKind& kind, int* bytesExamined);

} // namespace lx
