#pragma once
// Fixed tables of PDF417 and MicroPDF417.
#include <cstdint>

namespace lx {

extern const std::uint32_t kPdf417Patterns[3][929];
extern const std::uint16_t kMicroPdf417SideRap[52];
extern const std::uint16_t kMicroPdf417CentreRap[52];

struct MicroPdf417Size {
    int columns;
    int rows;
    int dataCodewords;
    int leftRap; // row address of the top row, 1-52
    int rightRap;
    int centreRap; // 0 for one and two columns
};
extern const MicroPdf417Size kMicroPdf417Sizes[34];

} // namespace lx
