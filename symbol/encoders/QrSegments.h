#pragma once
// Types shared by the QR Code, Micro QR and Model 1 encoder units.
#include <cstdint>

namespace lx {

// Model index: the control's ModelNo 1..3 minus one.
enum QrModel : int { kQrModel1 = 0, kQrModel2 = 1, kQrMicro = 2 };

// Segment modes, also the character classes of the input analysis.
enum QrMode : std::uint8_t { kQrNumeric = 0, kQrAlphanumeric = 1, kQrByte = 2, kQrKanji = 3 };

// Error-correction levels as the tables index them.
enum QrLevel : int { kQrLevelL = 0, kQrLevelM = 1, kQrLevelQ = 2, kQrLevelH = 3 };

inline constexpr int kQrMaxSegments = 200;
inline constexpr int kQrMaxDataBytes = 7366;

struct QrSegment {
    std::uint8_t mode = kQrNumeric;
    std::int32_t length = 0; // in bytes; a kanji character counts 2
    std::int32_t start = 0; // offset of its bytes in the data buffer
};

// The end of an analysis pass may emit up to three segments beyond the limit;
// the encoder then refuses the list.
struct QrSegmentList {
    QrSegment items[kQrMaxSegments + 3];
    int count = 0;
};

// What the bit stream depends on besides the segments.
struct QrSymbolKind {
    int model = kQrModel2;
    int level = kQrLevelM;
    bool structuredAppend = false;
    std::uint8_t sequence = 0; // position - 1 in the high nibble, total - 1 in the low one
    std::uint8_t parity = 0; // exclusive-or of all bytes of the whole message
};

} // namespace lx
