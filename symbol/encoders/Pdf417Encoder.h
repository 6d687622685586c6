#pragma once
// PDF417, truncated PDF417 and MicroPDF417 encoder: request bytes in, bar
// module matrix out. Plain functions on fixed static work areas: no heap, not
// re-entrant, one encode at a time.
#include <cstdint>

namespace lx {

// Largest matrix the encoder writes (rows x row bytes); the caller's module
// buffer must hold at least this many bytes.
constexpr int kPdf417MatrixBytes = 4094;

// Codeword limits of one symbol.
constexpr int kPdf417MaxCodewords = 928;
constexpr int kMicroPdf417MaxData = 126;

enum Pdf417Model { kPdf417Standard = 1, kPdf417Truncated = 2, kMicroPdf417 = 3 };

// Result codes of EncodePdf417.
enum Pdf417Result {
    kPdf417Ok = 0,
    kPdf417TooMuchData = -1,
    kPdf417BadMacroHeader = -3,
    kPdf417BadModel = -4,
    kPdf417BadParams = -6,
    kPdf417BadEccDigit = -7,
};

// Encodes `request` (optional "Dnnnnnmmmmmfff[,]" macro header, error-correction
// digit, optional ",", data) into `matrix`: rows from the top, (width + 7) / 8
// bytes a row, module c in bit c % 8 of byte c / 8, set = bar. On success sets
// *numCell to width | rows << 16 and, for standard and truncated symbols,
// *eccUsed to the level used (0-8). Returns 0 or a Pdf417Result. The request
// is only read; nothing is written behind it.
int EncodePdf417(int requestLength, const std::uint8_t* request, std::int32_t* numCell, std::uint8_t* matrix, int model,
                 std::int32_t params, std::int32_t* eccUsed);

// ---- Steps of the encoder, exposed for tests ----

struct Pdf417Macro {
    bool on = false;
    int index = 0; // 0-based segment index
    int lastIndex = 0; // segment count - 1
    int fileId = 0; // 0-899
};

// Parses the optional macro header at request[*pos]; advances *pos past it.
int ParsePdf417MacroHeader(const std::uint8_t* request, int length, int* pos, Pdf417Macro* macro);

struct Pdf417Layout {
    int columns = 0; // 0 = automatic
    int rows = 0; // 0 = automatic
    int widthRatio = 16;
    int rowHeight = 4;
    int firstCluster = 0; // 0, 1, 2 for clusters 0, 3, 6
};

// Unpacks and checks the parameter word (0 = all defaults); returns 0 or -6.
int ParsePdf417Params(std::int32_t params, Pdf417Layout* layout);

// Compacts data into codewords (text, byte and numeric compaction); returns
// the codeword count, or -1 when more than `capacity` codewords are needed.
int Pdf417Compact(const std::uint8_t* data, int length, bool micro, int* codewords, int capacity);

// Appends one run of text-compactible bytes; returns the new count or -1.
int Pdf417TextCompact(const std::uint8_t* data, int length, int* codewords, int count, int capacity);
// Appends 901 or 924 and the bytes; returns the new count or -1.
int Pdf417ByteCompact(const std::uint8_t* data, int length, int* codewords, int count, int capacity);
// Appends up to 44 digits as base-900 codewords (no 902); returns the new count or -1.
int Pdf417NumericCompact(const std::uint8_t* data, int length, int* codewords, int count, int capacity);

struct Pdf417Size {
    int columns = 0;
    int rows = 0;
    int eccCount = 0; // error-correction codewords
    int level = 0; // standard and truncated: 0-8
    int microIndex = -1; // MicroPDF417: entry of the size table
};

// Chooses level, columns and rows for `dataCount` codewords (compacted plus
// length descriptor and macro block); `eccDigitLevel` is -1 for automatic.
// Returns 0 or -1.
int Pdf417SizeSymbol(int model, int compactedCount, int dataCount, int eccDigitLevel, const Pdf417Layout& layout,
                     Pdf417Size* size);

// Writes `eccCount` Reed-Solomon codewords over GF(929) behind data[0..dataCount).
void Pdf417ErrorCorrection(int* codewords, int dataCount, int eccCount);

// Lays out all rows into `matrix`; returns the module width of a row.
int Pdf417BuildRows(int model, const int* codewords, const Pdf417Size& size, int firstCluster, std::uint8_t* matrix);

// Module width of a row.
int Pdf417RowWidth(int model, int columns);

// Whether text compaction can encode the byte (printable ASCII, TAB, LF, CR).
bool Pdf417IsText(std::uint8_t byte);

} // namespace lx
