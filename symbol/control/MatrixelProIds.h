#pragma once
// The fixed identifiers of the symbol-encoder control: its class, its
// property page, its type library and interfaces, and the numbers of the
// dispatch members. Hosts create the control by kMatrixelProClassId and
// drive it by these numbers; this header holds constants only, so a host
// includes it without linking the control.
#include "platform/com/ComTypes.h"
#include "platform/com/Dispatch.h"

namespace lx {

inline constexpr Guid kMatrixelProClassId{0x41126068, 0xF189, 0x4D44, {0x83, 0x03, 0xB7, 0x36, 0xA9, 0x7D, 0x7F, 0x70}};
inline constexpr Guid kMatrixelProPageClassId{0xB9C11F11,
                                              0x2E83,
                                              0x4DC8,
                                              {0xB7, 0xFD, 0xB6, 0x9C, 0xA4, 0x89, 0xDC, 0x7F}};
inline constexpr Guid kMatrixelProTypeLibId{0xE1638A37,
                                            0x7D01,
                                            0x4639,
                                            {0x97, 0x33, 0x62, 0x23, 0xD2, 0xB8, 0xF6, 0xDF}};
inline constexpr Guid kMatrixelProDispatchId{0x798DCA5F,
                                             0x92AD,
                                             0x4CB1,
                                             {0xBD, 0x4B, 0x63, 0xDE, 0x04, 0x53, 0xC3, 0x7C}};
inline constexpr Guid kMatrixelProEventsId{0xD1441FA4,
                                           0x4221,
                                           0x483A,
                                           {0x9A, 0xA1, 0xA7, 0x4D, 0x0B, 0xDD, 0x59, 0x28}};

// Dispatch identifiers of the control's own members.
enum MatrixelProDispId : DispId {
    kDispAutoRedraw = 1,
    kDispThrowError = 2,
    kDispInputData = 3,
    kDispBend = 4,
    kDispBstart = 5,
    kDispModelNo = 6,
    kDispNumCell = 7,
    kDispPicture = 8,
    kDispCellAdjust = 9,
    kDispCellPitch = 10,
    kDispCellUnit = 11,
    kDispTextOrBinary = 12,
    kDispInputDataB = 13,
    kDispMakeStatus = 14,
    kDispDivide1 = 15,
    kDispDivide2 = 16,
    kDispEccLevel = 17,
    kDispQuietZone = 18,
    kDispRotate = 19,
    kDispForeBColor = 20,
    kDispForeWColor = 21,
    kDispGapAdjust = 22,
    kDispBarHeight = 23,
    kDispChrDisplay = 24,
    kDispChkDigit = 25,
    kDispCodeType = 26,
    kDispNwRatio = 27,
    kDispOptEANUPC = 28,
    kDispOptITF = 29,
    kDispOptSTF = 30,
    kDispOptCODE128 = 31,
    kDispOptPLESSEY = 32,
    kDispImageHeight = 33,
    kDispImageWidth = 34,
    kDispQRversion = 35,
    kDispMaxiCodeMode = 36,
    kDispPDF417Model = 37,
    kDispPDF417Ecc = 38,
    kDispDmxModel = 39,
    kDispPDF417Colum = 40,
    kDispPDF417Row = 41,
    kDispPDF417XYratio = 42,
    kDispPDF417HWratio = 43,
    kDispNumRow = 44,
    kDispBarChrGap = 45,
    kDispImageData = 46,
    kDispInputDataA = 47,
    kDispMirror = 48,
    kDispCreateQrMetaFile = 49,
    kDispDrawQrImage = 50,
    kDispQrImageCopy = 51,
};

// CodeType values.
enum MatrixelProCodeType : int {
    kCodeQr = 0,
    kCodeEan13 = 1,
    kCodeEan8 = 2,
    kCodeUpcA = 3,
    kCodeUpcE = 4,
    kCodeCodabar = 5,
    kCodeItf = 6,
    kCodeStf = 7,
    kCodeCode39 = 8,
    kCodeCode93 = 9,
    kCodeCode128 = 10,
    kCodeEan128 = 11,
    kCodeMsi = 12,
    kCodeCode11 = 13,
    kCodePlessey = 14,
    kCodeMaxiCode = 15,
    kCodePdf417 = 16,
    kCodeDataMatrix = 17,
};

} // namespace lx
