#pragma once
// Encoding dispatch: the control's properties become one encode request for
// the engine of the symbol's family (QR, MaxiCode, PDF417, DataMatrix,
// linear), and the engine's result goes back into EncodedSymbol.
//
// The request builders are separate from the engine calls so that the exact
// request bytes can be looked at.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "symbol/control/ControlProperties.h"

namespace lx {

// Data bytes one request may carry (linear symbols: fewer than kLinearDataLimit).
inline constexpr int kMaxPartBytes = 7089;
inline constexpr int kLinearDataLimit = 7108;

// Status values the control reports besides the engines' own.
inline constexpr int kStatusTooLong = -1;
inline constexpr int kStatusEmptyPart = -3;
inline constexpr int kStatusBadOption = -8;

struct EncodeRequest {
    std::string bytes; // header, option characters, the part's data
    std::int32_t bstart = 0;
    std::int32_t bend = 0;
    // False: no engine call; MakeStatus := status (unless keepStatus) and NumCell := 0.
    bool encode = false;
    int status = 0;
    bool keepStatus = false;
};

// Where part k (1-based) of Divide2 parts begins in the data; k = parts + 1
// gives the end. Parts never cut a double-byte character. By cost (QR text)
// the parts hold about equal shares of the data's CharCost; otherwise equal
// byte counts. The shares are exact fractions, so the last part always ends
// at the data's end.
class DivideSplit {
public:
    DivideSplit(std::string_view data, int parts, bool byCost);
    int Position(int k) const;
    // Sum of CharCost over the characters (a double-byte character once).
    long long TotalCost() const { return cost_.back(); }

private:
    int parts_;
    bool byCost_;
    long long size_;
    std::vector<int> bounds_; // character boundaries, 0 first and the data's end last
    std::vector<long long> cost_; // cost (or bytes) before each boundary
};

EncodeRequest BuildQrRequest(const ControlProperties& p);
EncodeRequest BuildMaxiCodeRequest(const ControlProperties& p);
EncodeRequest BuildPdf417Request(const ControlProperties& p);
EncodeRequest BuildDataMatrixRequest(const ControlProperties& p);
EncodeRequest BuildLinearRequest(const ControlProperties& p);

// The linear encoder key of CodeType 1-14 (group * 256 + option), -1 otherwise.
int LinearKindCode(const ControlProperties& p);
// The packed PDF417 layout word of the four layout properties.
std::int32_t PackPdf417Params(const ControlProperties& p);
// The most parts of a structured-append series a CodeType can carry.
int DivideLimit(int codeType);
// Which ChkDigit values a CodeType allows.
bool CheckDigitAllowed(int codeType, int chkDigit);
// QR Code, MaxiCode, PDF417 and DataMatrix; every other CodeType is linear.
bool IsMatrixFamily(int codeType);
// An encode of a linear symbol without data leaves MakeStatus as it was.
bool EncodeKeepsStatus(int codeType, bool noData);

// Builds the request of the symbol's family and runs its engine; leaves
// NumCell, Bstart, Bend, MakeStatus, ModuleBuffer, LinearText and
// Pdf417EccUsed describing the attempt. Never throws.
void EncodeSymbol(const ControlProperties& p, EncodedSymbol& out);

} // namespace lx
