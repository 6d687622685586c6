#include "symbol/control/MatrixelProStrings.h"

#include <array>
#include <utility>

namespace lx {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 34> kStrings{{
    {1, "MatrixelPro Control"},
    {2, "MatrixelPro Property Page"},
    {100, "General"},
    {120, "Arial"},
    {101, "CellPitch >= 1"},
    {102, "ModelNo = 1(Model1), 2(Model2), 3(,microQR=3)"},
    {103, "-CellPitch < CellAdjust < CellPitch"},
    {104, "QuietZone >= 0"},
    {105, "Rotate = 0,1,2,3 (0deg.=0,90deg.=1,180deg.=2,270deg.=3)"},
    {106, "Ecc = 0-3(Model1,2), 0(MicroQR M1), 0-1(MicroQR M2,3), 0-2(MicroQR M4)\n(L=0,M=1,Q=2,H=3)"},
    {107, "1 <= Divide1,2 <= 16"},
    {108, "MicroQR can't divide"},
    {109, "0 <= CellUnit<= 2540, =0 same as =2540, =-1 get default printer resolution"},
    {110, "ChrDisplay = 0,1,2 (None=0,Yes=1,Yes_3mm)=2"},
    {111, "ChkDigit = 0,1,2 (None=0,Yes_1digit=1,Yes_2digit=2)"},
    {112,
     "CodeType = 0 -- 17 (QR=0,EAN13=1,EAN8=2,UPCA=3,UPCE=4,Codabar=5,ITF=6,\n"
     "STF=7,Code39=8,Code93=9,Code128=10,EAN128=11,MSI=12,\n"
     "Code11=13,Plessey=14,MaxiCode=15,PDF417=16,DataMatrix=17)"},
    {113, "2.0 <= NwRatio <= 3.0"},
    {114, "1 <= BarHeight <= 1000"},
    {115, "OptEANUPC = 0,1 (AddOn None=0, Yes=1)"},
    {116, "OptITF = 0,1 (Bearer Bar None=0,Yes=1)"},
    {117, "OptSTF = 0,1 (Start/Stop Normal=0,Short=1)"},
    {118, "OptCODE128 = 0,1,2 (Code Set A=0,B=1,C=2)"},
    {119, "OptPLESEEY = 0,1,2 (Dual=0,SIgle=1,Anker=2)"},
    {121, "QRversion = 0(Auto), 1-14(Model1), 1-40(Model2), 1-4(MicroQR)"},
    {122, "PDF417Colum = 0(Auto), 1-30(PDF417), 1-4(MicroPDF417)"},
    {123, "PDF417Row = 0(Auto), 3-90(PDF417)"},
    {124, "PDF417XYratio = 1-10"},
    {125, "PDF417HWratio = 1(8:1), 2(4:1), 3(2:1), 4(1:1), 5(1:2), 6(1:4), 7(1:8)"},
    {126, "PDF417Ecc = 0(Auto), 1(2) ,2(4) ,3(8), 4(16) ,5(32), 6(64), 7(128), 8(256), 9(512)"},
    {127, "MaxiCodeMode = 1(Mode2) ,2(Mode3) ,3(Mode4), 4(Mode5)"},
    {128, "PDF417Model = 1(Standard) ,2(Truncated) ,3(MicroPDF417)"},
    {129, "DmxModel = 1(Square) ,2(Rectangular)"},
    {130, "1<= Barcode(CODABAR,CODE3)) Char. Gap <=10"},
}};

} // namespace

std::string_view LoadResourceString(int id)
{
    for (const auto& [number, text] : kStrings)
        if (number == id)
            return text;
    return {};
}

} // namespace lx
