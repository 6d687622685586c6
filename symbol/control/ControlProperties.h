#pragma once
// The values one symbol-encoder control holds: the properties a host sets
// (ControlProperties) and what the last encode left (EncodedSymbol).
#include <array>
#include <cstdint>
#include <string>

namespace lx {

struct ControlProperties {
    std::int16_t BarChrGap = 1;
    std::int16_t MaxiCodeMode = 1;
    std::int16_t PDF417Model = 1;
    std::int16_t PDF417Colum = 0;
    std::int16_t PDF417Row = 0;
    std::int16_t PDF417XYratio = 4;
    std::int16_t PDF417HWratio = 4;
    std::int16_t DmxModel = 1;
    std::int16_t QRversion = 0;
    std::int16_t OptPLESSEY = 0;
    std::int16_t OptCODE128 = 0;
    std::int16_t OptSTF = 0;
    std::int16_t OptITF = 0;
    std::int16_t OptEANUPC = 0;
    float NwRatio = 2.5f;
    std::int16_t CodeType = 0;
    std::int16_t ChrDisplay = 1;
    std::int16_t BarHeight = 15;
    std::int16_t ChkDigit = 0;
    std::int16_t CellUnit = 2540;
    std::int16_t QuietZone = 5;
    std::int16_t ModelNo = 2;
    std::int32_t Pdf417Params = 0;
    bool Color = false; // fill type 0-1 as persisted (see FillType)
    bool CellForm = false; // round QR cells in the clipboard and file pictures
    std::int16_t Mirror = 0;
    bool Stretch = false;
    std::int16_t Divide1 = 1;
    std::int16_t Divide2 = 1;
    std::int16_t EccLevel = 1;
    std::string InputData; // bytes: CP932 text or raw data
    std::int16_t Rotate = 0;
    std::int16_t CellPitch = 50;
    std::int16_t CellAdjust = 0;
    std::int16_t TextOrBinary = 0;
    std::int16_t GapAdjust = 0;
    std::int16_t AutoRedraw = 0;
    std::int16_t ThrowError = 0;
    std::int16_t PDF417Ecc = 0;
    std::uint32_t ForeWColor = 0xFFFFFF;
    std::uint32_t ForeBColor = 0x000000;
};

inline constexpr int kModuleBufferBytes = 4094;

struct EncodedSymbol {
    // 0: nothing to draw; QR modules per side; MaxiCode 30; PDF417 and
    // DataMatrix columns | rows << 16; linear: element count.
    std::int32_t NumCell = 0;
    // Byte range [Bstart, Bend) of InputData that the last request carried.
    std::int32_t Bstart = 0;
    std::int32_t Bend = 0;
    std::int16_t MakeStatus = 0;
    std::int32_t Pdf417EccUsed = 0;
    std::string LinearText; // CP932
    std::array<std::uint8_t, kModuleBufferBytes> ModuleBuffer{};
};

} // namespace lx
