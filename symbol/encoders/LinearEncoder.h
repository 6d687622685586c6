#pragma once
// The linear symbologies: one entry point that looks a symbology up by its
// key and writes the element string and the human-readable text.
//
// Element string: one byte per bar or space in drawing order. Bit 7 set = bar.
// Bits 0-6 are a width code: 2 = one wide element, any other k = (k & 63)
// narrow widths (0x40 + k for k >= 2 narrow widths that must not read as wide).
// EAN/UPC, Code 93 and Code 128 write module counts, their wide is 2 modules.
//
// Plain functions on fixed buffers: no heap, not re-entrant (one error cell).
#include <cstdint>

namespace lx {

// Element string bits.
inline constexpr std::uint8_t kLinearBar = 0x80;
inline constexpr std::uint8_t kLinearNarrow = 1;
inline constexpr std::uint8_t kLinearWide = 2;
inline constexpr std::uint8_t kLinearNarrowRun = 0x40; // + count

// Buffers the caller gives every encoder: the element string (the control's
// module buffer) and the zero-terminated text. Nothing is written beyond them.
inline constexpr int kLinearElementCapacity = 4094;
inline constexpr int kLinearTextCapacity = 256;

// Results of an encode (the error cell).
inline constexpr std::int32_t kLinearOk = 0;
inline constexpr std::int32_t kLinearTooLong = -1;
inline constexpr std::int32_t kLinearBadCharacter = -2;
inline constexpr std::int32_t kLinearUnknownKey = -4;
inline constexpr std::int32_t kLinearBadCheckOption = -5;

// Keys: group * 256 + option.
inline constexpr std::int32_t kLinearEan13 = 0x101;
inline constexpr std::int32_t kLinearEan8 = 0x102;
inline constexpr std::int32_t kLinearEan13AddOn = 0x103;
inline constexpr std::int32_t kLinearEan8AddOn = 0x104;
inline constexpr std::int32_t kLinearUpcA = 0x201;
inline constexpr std::int32_t kLinearUpcE = 0x202;
inline constexpr std::int32_t kLinearUpcAAddOn = 0x203;
inline constexpr std::int32_t kLinearUpcEAddOn = 0x204;
inline constexpr std::int32_t kLinearCodabar = 0x301;
inline constexpr std::int32_t kLinearItf = 0x401;
inline constexpr std::int32_t kLinearItfBearer = 0x402;
inline constexpr std::int32_t kLinearStfNormal = 0x501;
inline constexpr std::int32_t kLinearStfShort = 0x502;
inline constexpr std::int32_t kLinearCode39 = 0x601;
inline constexpr std::int32_t kLinearCode93 = 0x701;
inline constexpr std::int32_t kLinearCode128A = 0x801;
inline constexpr std::int32_t kLinearCode128B = 0x802;
inline constexpr std::int32_t kLinearCode128C = 0x803;
inline constexpr std::int32_t kLinearEan128A = 0x901;
inline constexpr std::int32_t kLinearEan128B = 0x902;
inline constexpr std::int32_t kLinearEan128C = 0x903;
inline constexpr std::int32_t kLinearMsi = 0xA01;
inline constexpr std::int32_t kLinearCode11 = 0xB01;
inline constexpr std::int32_t kLinearPlesseyDual = 0xC01;
inline constexpr std::int32_t kLinearPlesseySingle = 0xC02;
inline constexpr std::int32_t kLinearAnker = 0xC03;

// Option word: bits 0-7 the check-digit option, bits 8-15 the inter-character
// gap of Codabar and Code 39 in narrow widths.
constexpr std::int32_t LinearOption(int checkOption, int gap) { return gap * 256 + checkOption; }

// Every encoder: (data length, data, element string, key, option word, text)
// -> element count, 0 on failure with the error cell set.
using LinearEncoderFunction = int (*)(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key,
                                      std::int32_t option, char* text);

struct LinearSymbology {
    std::int32_t key;
    const char* name;
    LinearEncoderFunction encoder;
};

// 26 symbologies, ended by a row whose name is null.
extern const LinearSymbology LinearSymbologyTable[27];

// Encodes with the table row of `key`. Returns the element count (> 0) or a
// negative error; an unknown key gives -4 and leaves *elementCount alone.
int EncodeLinear(int length, const std::uint8_t* data, std::int32_t* elementCount, std::uint8_t* elements,
                 std::int32_t key, std::int32_t option, char* text);

// The error cell: the result of the last encode (0 after a success).
std::int32_t LastLinearError();

int EncodeEanUpc(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                 char* text);
int EncodeUpcE(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
               char* text);
int EncodeCodabar(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                  char* text);
int EncodeItf(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
              char* text);
int EncodeStf(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
              char* text);
int EncodeCode39(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                 char* text);
int EncodeCode93(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                 char* text);
int EncodeCode128(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                  char* text);
int EncodeMsi(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
              char* text);
int EncodeCode11(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                 char* text);
int EncodePlessey(int length, const std::uint8_t* data, std::uint8_t* elements, std::int32_t key, std::int32_t option,
                  char* text);

// The EAN/UPC add-on alone: 0-2 digits give 2, 3-5 give 5 (padded with 0 at
// the end). Writes the 9-module gap, the add-on's elements and the text " dd";
// element count, 0 with -1 or -2 in the error cell for more than 5 or a non-digit.
int EncodeEanAddOn(int length, const std::uint8_t* digits, std::uint8_t* elements, char* text);

} // namespace lx
