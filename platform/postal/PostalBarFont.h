#pragma once
// The postal bar font: a TrueType face named "PB Barcode" whose characters
// are the bars of the customer barcode, so that the bar string GetCBarString
// gives is drawn with TextOut like any text. It is built in memory and known
// to the font layer from the moment the platform library is loaded.
//
// Glyphs exist for the digits, '-', and the designer's charset "()ABCDEFGH"
// (start, stop, CC1-CC8); each is its bars (three, two for start and stop)
// on a pitch of two bar widths, in the published proportions: long bar six
// bar widths, semi-long bars four, timing bar two, the timing band in the
// middle. Bars stand on the baseline; the cell is seven bar widths high.
#include <string>
#include <string_view>

namespace lx {

inline constexpr std::string_view kPostalBarFontFace = "PB Barcode";

// Design units of the face (1000 to the em) and the bar width in them: a
// bar is 0.06 mm per point of font size.
inline constexpr int kPostalBarFontUnitsPerEm = 1000;
inline constexpr int kPostalBarWidthUnits = 170;

// The complete font file.
std::string PostalBarFontFile();

} // namespace lx
