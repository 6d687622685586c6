#pragma once
// Small files made by hand from the published record layouts, for tests
// that need a valid file of a kind we do not write ourselves.
#include <string>

namespace lxtest {

// An enhanced metafile of a header record and an end record, whose frame is
// widthMm01 x heightMm01 hundredths of a millimetre.
std::string TinyEnhancedMetafile(int widthMm01 = 2540, int heightMm01 = 1270);
// A placeable Windows metafile (22-byte header with checksum, standard
// header, end record) with the given bounding box and units per inch.
std::string TinyPlaceableMetafile(int right = 2900, int bottom = 2900, int unitsPerInch = 2540);

} // namespace lxtest
