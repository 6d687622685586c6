#include "symbol/encoders/QrTables.h"

#include <array>

namespace lx {
namespace {

// Model 2 (ISO/IEC 18004 error-correction characteristics).
constexpr QrVersionInfo kModel2[40] = {
    {26, {19, 16, 13, 9}, {1, 1, 1, 1}},
    {44, {34, 28, 22, 16}, {1, 1, 1, 1}},
    {70, {55, 44, 34, 26}, {1, 1, 2, 2}},
    {100, {80, 64, 48, 36}, {1, 2, 2, 4}},
    {134, {108, 86, 62, 46}, {1, 2, 4, 4}},
    {172, {136, 108, 76, 60}, {2, 4, 4, 4}},
    {196, {156, 124, 88, 66}, {2, 4, 6, 5}},
    {242, {194, 154, 110, 86}, {2, 4, 6, 6}},
    {292, {232, 182, 132, 100}, {2, 5, 8, 8}},
    {346, {274, 216, 154, 122}, {4, 5, 8, 8}},
    {404, {324, 254, 180, 140}, {4, 5, 8, 11}},
    {466, {370, 290, 206, 158}, {4, 8, 10, 11}},
    {532, {428, 334, 244, 180}, {4, 9, 12, 16}},
    {581, {461, 365, 261, 197}, {4, 9, 16, 16}},
    {655, {523, 415, 295, 223}, {6, 10, 12, 18}},
    {733, {589, 453, 325, 253}, {6, 10, 17, 16}},
    {815, {647, 507, 367, 283}, {6, 11, 16, 19}},
    {901, {721, 563, 397, 313}, {6, 13, 18, 21}},
    {991, {795, 627, 445, 341}, {7, 14, 21, 25}},
    {1085, {861, 669, 485, 385}, {8, 16, 20, 25}},
    {1156, {932, 714, 512, 406}, {8, 17, 23, 25}},
    {1258, {1006, 782, 568, 442}, {9, 17, 23, 34}},
    {1364, {1094, 860, 614, 464}, {9, 18, 25, 30}},
    {1474, {1174, 914, 664, 514}, {10, 20, 27, 32}},
    {1588, {1276, 1000, 718, 538}, {12, 21, 29, 35}},
    {1706, {1370, 1062, 754, 596}, {12, 23, 34, 37}},
    {1828, {1468, 1128, 808, 628}, {12, 25, 34, 40}},
    {1921, {1531, 1193, 871, 661}, {13, 26, 35, 42}},
    {2051, {1631, 1267, 911, 701}, {14, 28, 38, 45}},
    {2185, {1735, 1373, 985, 745}, {15, 29, 40, 48}},
    {2323, {1843, 1455, 1033, 793}, {16, 31, 43, 51}},
    {2465, {1955, 1541, 1115, 845}, {17, 33, 45, 54}},
    {2611, {2071, 1631, 1171, 901}, {18, 35, 48, 57}},
    {2761, {2191, 1725, 1231, 961}, {19, 37, 51, 60}},
    {2876, {2306, 1812, 1286, 986}, {19, 38, 53, 63}},
    {3034, {2434, 1914, 1354, 1054}, {20, 40, 56, 66}},
    {3196, {2566, 1992, 1426, 1096}, {21, 43, 59, 70}},
    {3362, {2702, 2102, 1502, 1142}, {22, 45, 62, 74}},
    {3532, {2812, 2216, 1582, 1222}, {24, 47, 65, 77}},
    {3706, {2956, 2334, 1666, 1276}, {25, 49, 68, 81}},
};

// Model 1, as the data codewords it actually carries.
constexpr QrVersionInfo kModel1[14] = {
    {26, {19, 16, 13, 9}, {1, 1, 1, 1}},       {46, {36, 30, 24, 16}, {1, 1, 1, 1}},
    {72, {57, 44, 36, 24}, {1, 1, 1, 1}},      {100, {80, 60, 50, 34}, {1, 1, 1, 1}},
    {134, {108, 82, 68, 46}, {1, 1, 1, 2}},    {170, {136, 106, 86, 58}, {1, 2, 2, 2}},
    {212, {170, 132, 108, 72}, {1, 2, 2, 3}},  {256, {208, 160, 128, 87}, {2, 2, 2, 3}},
    {306, {246, 186, 156, 102}, {2, 2, 3, 3}}, {358, {290, 222, 183, 124}, {2, 2, 3, 4}},
    {416, {336, 256, 208, 145}, {2, 4, 4, 5}}, {476, {384, 292, 244, 165}, {2, 4, 4, 5}},
    {542, {432, 332, 276, 192}, {3, 4, 4, 6}}, {610, {489, 368, 310, 210}, {3, 4, 5, 6}},
};

// Micro QR; M1 holds its single level in the L column. M1 and M3 end their
// data with a 4-bit codeword, counted here as a whole one.
constexpr QrVersionInfo kMicro[4] = {
    {5, {3, 0, 0, 0}, {1, 0, 0, 0}},
    {10, {5, 4, 0, 0}, {1, 1, 0, 0}},
    {17, {11, 9, 0, 0}, {1, 1, 0, 0}},
    {24, {16, 14, 10, 0}, {1, 1, 1, 0}},
};

constexpr std::int16_t kMicroDataBits[4][4] = {{20, 0, 0, 0}, {40, 32, 0, 0}, {84, 68, 0, 0}, {128, 112, 80, 0}};

// Numeric, alphanumeric, byte, kanji.
constexpr std::uint8_t kCountWidths[3][4] = {{10, 9, 8, 8}, {12, 11, 16, 10}, {14, 13, 16, 12}};
constexpr std::uint8_t kMicroCountWidths[4][4] = {{3, 2, 2, 1}, {4, 3, 3, 2}, {5, 4, 4, 3}, {6, 5, 5, 4}};

constexpr std::array<std::int8_t, 256> MakeAlphanumericTable()
{
    std::array<std::int8_t, 256> table{};
    for (auto& v : table)
        v = -1;
    const char* set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
    for (int i = 0; set[i]; ++i)
        table[static_cast<std::uint8_t>(set[i])] = static_cast<std::int8_t>(i);
    return table;
}
constexpr auto kAlphanumeric = MakeAlphanumericTable();

} // namespace

int QrMaxVersion(int model) { return model == kQrModel1 ? 14 : model == kQrModel2 ? 40 : 4; }

const QrVersionInfo& QrVersionTable(int model, int versionIndex)
{
    if (model == kQrModel1)
        return kModel1[versionIndex];
    if (model == kQrModel2)
        return kModel2[versionIndex];
    return kMicro[versionIndex];
}

int QrSymbolSize(int model, int versionIndex)
{
    return model == kQrMicro ? 11 + 2 * versionIndex : 21 + 4 * versionIndex;
}

int QrDataCapacityBits(int model, int versionIndex, int level)
{
    if (model == kQrMicro)
        return kMicroDataBits[versionIndex][level];
    return 8 * QrVersionTable(model, versionIndex).data[level];
}

int QrCountWidth(int model, int versionIndex, int mode)
{
    if (model == kQrMicro)
        return kMicroCountWidths[versionIndex][mode];
    return kCountWidths[QrCountBracket(versionIndex)][mode];
}

int QrModeIndicatorBits(int model, int versionIndex) { return model == kQrMicro ? versionIndex : 4; }

int QrAlphanumericValue(std::uint8_t c) { return kAlphanumeric[c]; }

} // namespace lx
