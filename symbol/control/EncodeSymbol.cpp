#include "symbol/control/EncodeSymbol.h"

#include <algorithm>
#include <cstdio>

#include "platform/text/Cp932.h"
#include "symbol/control/MatrixelProIds.h"
#include "symbol/encoders/DataMatrixEncoder.h"
#include "symbol/encoders/LinearEncoder.h"
#include "symbol/encoders/MaxiCodeEncoder.h"
#include "symbol/encoders/Pdf417Encoder.h"
#include "symbol/encoders/QrEncoder.h"
#include "symbol/encoders/QrModes.h"

namespace lx {

DivideSplit::DivideSplit(std::string_view data, int parts, bool byCost)
    : parts_(parts), byCost_(byCost), size_(static_cast<long long>(data.size()))
{
    bounds_.push_back(0);
    cost_.push_back(0);
    for (std::size_t pos = 0; pos < data.size();) {
        const auto first = static_cast<std::uint8_t>(data[pos]);
        // A character of cost above 80 is a double-byte one; a lone lead
        // byte at the end still counts double but ends at the data's end.
        const int length = CharCost(first) > 80 ? 2 : 1;
        pos = std::min(data.size(), pos + static_cast<std::size_t>(length));
        bounds_.push_back(static_cast<int>(pos));
        cost_.push_back(cost_.back() + (byCost ? CharCost(first) : length));
    }
}

int DivideSplit::Position(int k) const
{
    if (parts_ <= 0 || k <= 1)
        return 0;
    const std::size_t last = bounds_.size() - 1;
    // Part k begins at the share (k - 1) / parts of the whole, compared in
    // whole numbers: cost * parts against (k - 1) * total.
    const long long parts = parts_;
    const long long target = static_cast<long long>(k - 1) * (byCost_ ? cost_.back() : size_);
    if (target <= 0 || last == 0)
        return 0;
    if (byCost_) {
        // Whole characters while their cost stays within the share; the
        // first character is always taken.
        const auto within =
            std::partition_point(cost_.begin(), cost_.end(), [&](long long c) { return c * parts <= target; }) -
            cost_.begin() - 1;
        return bounds_[std::clamp<std::size_t>(static_cast<std::size_t>(within), 1, last)];
    }
    // Whole characters until the share is reached.
    const auto reached =
        std::partition_point(cost_.begin(), cost_.end(), [&](long long c) { return c * parts < target; }) -
        cost_.begin();
    return bounds_[std::min(static_cast<std::size_t>(reached), last)];
}

namespace {

std::string Format(const char* format, int a, int b, long long c)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::uint8_t XorOf(std::string_view data)
{
    std::uint8_t x = 0;
    for (char c : data)
        x ^= static_cast<std::uint8_t>(c);
    return x;
}

std::uint64_t SumOf(std::string_view data)
{
    std::uint64_t sum = 0;
    for (char c : data)
        sum += static_cast<std::uint8_t>(c);
    return sum;
}

// Which bytes of `data` this request carries: the whole data, or part
// Divide1 of Divide2; and the status when no engine is to run.
struct PartChoice {
    std::int32_t bstart = 0;
    std::int32_t bend = 0;
    bool encode = false;
    bool refused = false; // a series the family cannot carry: no request at all
    int status = 0;
    int Length() const { return bend - bstart; }
};

// Part Divide1 of Divide2 within the family's limit: a header the engine and
// the readers take as written. Loaded values and a change of CodeType can
// leave the pair outside it.
bool DivideFits(const ControlProperties& p)
{
    return p.Divide1 >= 1 && p.Divide1 <= p.Divide2 && p.Divide2 <= DivideLimit(p.CodeType);
}

PartChoice ChoosePart(const ControlProperties& p, std::string_view data, bool byCost)
{
    PartChoice c;
    if (p.Divide2 >= 2 && !DivideFits(p)) {
        c.refused = true;
        c.status = kStatusEmptyPart;
        return c;
    }
    const int n = static_cast<int>(data.size());
    c.bend = n;
    if (p.Divide2 >= 2) {
        const DivideSplit split(data, p.Divide2, byCost);
        c.bstart = split.Position(p.Divide1);
        c.bend = split.Position(p.Divide1 + 1);
        // An empty part anywhere empties the request; more parts than bytes
        // always leave one empty.
        bool empty = p.Divide2 > n;
        for (int k = 2; !empty && k <= p.Divide2 + 1; ++k)
            empty = split.Position(k) == split.Position(k - 1);
        if (empty)
            c.bstart = c.bend;
    }
    c.encode = c.Length() > 0 && c.Length() <= kMaxPartBytes;
    if (!c.encode)
        c.status = c.Length() > kMaxPartBytes ? kStatusTooLong : p.Divide2 > 1 ? kStatusEmptyPart : 0;
    return c;
}

// The request: the header when divided, the option characters, the part.
EncodeRequest Assemble(const ControlProperties& p, const PartChoice& c, std::string_view data,
                       const std::string& header, const std::string& options)
{
    EncodeRequest r;
    r.bstart = c.bstart;
    r.bend = c.bend;
    r.encode = c.encode;
    r.status = c.status;
    if (c.refused)
        return r;
    if (p.Divide2 >= 2)
        r.bytes = header;
    r.bytes += options;
    if (c.encode)
        r.bytes.append(data.substr(static_cast<std::size_t>(c.bstart), static_cast<std::size_t>(c.Length())));
    return r;
}

char QrLevelLetter(int level)
{
    // A level outside 0-3 (only a loaded value can be) reads as M, the
    // setter's own replacement.
    static constexpr char kLetters[] = "LMQH";
    return level >= 0 && level <= 3 ? kLetters[level] : 'M';
}

} // namespace

EncodeRequest BuildQrRequest(const ControlProperties& p)
{
    const std::string_view data = p.InputData;
    const bool binary = p.TextOrBinary == 1;
    const PartChoice part = ChoosePart(p, data, !binary);
    std::string options(1, QrLevelLetter(p.EccLevel));
    options += binary ? Format("M,B%04d", part.Length(), 0, 0) : std::string("A,");
    return Assemble(p, part, data, Format("D%02d%02d%02llx,", p.Divide1, p.Divide2, XorOf(data)), options);
}

EncodeRequest BuildMaxiCodeRequest(const ControlProperties& p)
{
    std::string_view data = p.InputData;
    std::string header = Format("D%02d%02d,", p.Divide1, p.Divide2, 0);
    if (p.Divide2 >= 2 && (p.MaxiCodeMode == 1 || p.MaxiCodeMode == 2)) {
        // Every part repeats the primary message: the data up to its third
        // comma within the first 19 bytes, completed to three commas.
        std::size_t scanned = 0;
        int commas = 0;
        while (commas < 3 && scanned < 19 && scanned < data.size())
            commas += data[scanned++] == ',' ? 1 : 0;
        header.append(data.substr(0, scanned));
        header.append(static_cast<std::size_t>(3 - commas), ',');
        data.remove_prefix(scanned);
    }
    EncodeRequest r = Assemble(p, ChoosePart(p, data, false), data, header, p.Divide2 >= 2 ? "" : ",");
    // Bstart and Bend count in the whole data.
    const auto removed = static_cast<std::int32_t>(p.InputData.size() - data.size());
    r.bstart += removed;
    r.bend += removed;
    return r;
}

EncodeRequest BuildPdf417Request(const ControlProperties& p)
{
    const std::string_view data = p.InputData;
    const std::string header =
        Format("D%05d%05d%03lld,", p.Divide1, p.Divide2, static_cast<long long>(SumOf(data) % 900));
    const std::string options{static_cast<char>(('0' + p.PDF417Ecc) & 0xFF), ','};
    return Assemble(p, ChoosePart(p, data, false), data, header, options);
}

EncodeRequest BuildDataMatrixRequest(const ControlProperties& p)
{
    const std::string_view data = p.InputData;
    // The engine reads a five-digit file number and skips one comma after
    // it, so the header's comma is all the separator a divided request has.
    const std::string header = Format("D%02d%02d%05lld,", p.Divide1, p.Divide2, DataMatrixFileNumber(SumOf(data)));
    return Assemble(p, ChoosePart(p, data, false), data, header, p.Divide2 >= 2 ? "" : ",");
}

EncodeRequest BuildLinearRequest(const ControlProperties& p)
{
    EncodeRequest r;
    const auto n = static_cast<std::int32_t>(p.InputData.size());
    r.bstart = 0;
    r.bend = n;
    if (n == 0) {
        r.keepStatus = true;
    } else if (n < kLinearDataLimit) {
        r.bytes = p.InputData;
        r.encode = true;
    } else {
        r.status = kStatusTooLong;
    }
    return r;
}

int DivideLimit(int codeType)
{
    switch (codeType) {
    case kCodeQr: return 16;
    case kCodeMaxiCode: return 8;
    case kCodePdf417: return 99;
    case kCodeDataMatrix: return 16;
    default: return 32767;
    }
}

int LinearKindCode(const ControlProperties& p)
{
    const int eanUpc = 2 * p.OptEANUPC;
    switch (p.CodeType) {
    case kCodeEan13: return 0x101 + eanUpc;
    case kCodeEan8: return 0x102 + eanUpc;
    case kCodeUpcA: return 0x201 + eanUpc;
    case kCodeUpcE: return 0x202 + eanUpc;
    case kCodeCodabar: return 0x301;
    case kCodeItf: return 0x401 + p.OptITF;
    case kCodeStf: return 0x501 + p.OptSTF;
    case kCodeCode39: return 0x601;
    case kCodeCode93: return 0x701;
    case kCodeCode128: return 0x801 + p.OptCODE128;
    case kCodeEan128: return 0x901 + p.OptCODE128;
    case kCodeMsi: return 0xA01;
    case kCodeCode11: return 0xB01;
    case kCodePlessey: return 0xC01 + p.OptPLESSEY;
    default: return -1;
    }
}

std::int32_t PackPdf417Params(const ControlProperties& p)
{
    // 2 to the ratio, 2 for 1 up to 128 for 7.
    const std::uint32_t h = 1u << std::clamp<int>(p.PDF417HWratio, 0, 7);
    const std::uint32_t word = (static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.PDF417XYratio)) << 24) +
        (h << 16) + (static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.PDF417Row)) << 8) +
        static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.PDF417Colum));
    return static_cast<std::int32_t>(word);
}

bool CheckDigitAllowed(int codeType, int chkDigit)
{
    switch (codeType) {
    case kCodeQr:
    case kCodeMaxiCode:
    case kCodePdf417:
    case kCodeDataMatrix: return true;
    case kCodeCodabar:
    case kCodeItf:
    case kCodeStf:
    case kCodeCode39: return chkDigit == 0 || chkDigit == 1;
    case kCodeMsi: return chkDigit >= 0 && chkDigit <= 2;
    case kCodeCode11: return chkDigit == 1 || chkDigit == 2;
    case kCodeEan13:
    case kCodeEan8:
    case kCodeUpcA:
    case kCodeUpcE:
    case kCodeCode93:
    case kCodeCode128:
    case kCodeEan128:
    case kCodePlessey: return chkDigit == 1;
    default: return false;
    }
}

bool IsMatrixFamily(int codeType)
{
    return codeType == kCodeQr || codeType == kCodeMaxiCode || codeType == kCodePdf417 || codeType == kCodeDataMatrix;
}

bool EncodeKeepsStatus(int codeType, bool noData) { return noData && !IsMatrixFamily(codeType); }

namespace {

// The buffer handed to an engine: the request and one spare byte for the
// end mark the engines write behind it.
std::vector<std::uint8_t> EngineBuffer(const std::string& request)
{
    std::vector<std::uint8_t> buffer(request.begin(), request.end());
    buffer.push_back(0);
    return buffer;
}

bool MicroQrOptionFault(const ControlProperties& p)
{
    return p.ModelNo == 3 &&
        (p.EccLevel == 3 || (p.QRversion == 1 && p.EccLevel > 0) || (p.QRversion < 4 && p.EccLevel > 1));
}

int RunTwoDimensionalEngine(const ControlProperties& p, std::uint8_t* request, int length, EncodedSymbol& out)
{
    switch (p.CodeType) {
    case kCodeQr: return EncodeQr(length, request, &out.NumCell, out.ModuleBuffer.data(), p.ModelNo, p.QRversion);
    case kCodeMaxiCode: {
        const int status = EncodeMaxiCode(length, request, out.ModuleBuffer.data(), p.MaxiCodeMode);
        if (status == 0)
            out.NumCell = 30;
        return status;
    }
    case kCodePdf417:
        return EncodePdf417(length, request, &out.NumCell, out.ModuleBuffer.data(), p.PDF417Model, p.Pdf417Params,
                            &out.Pdf417EccUsed);
    default: return EncodeDataMatrix(length, request, &out.NumCell, out.ModuleBuffer.data(), p.DmxModel, 0);
    }
}

void EncodeTwoDimensional(const ControlProperties& p, const EncodeRequest& r, EncodedSymbol& out)
{
    out.MakeStatus = 0;
    out.Bstart = r.bstart;
    out.Bend = r.bend;
    if (!r.encode) {
        out.MakeStatus = static_cast<std::int16_t>(r.status);
        out.NumCell = 0;
        return;
    }
    std::vector<std::uint8_t> buffer = EngineBuffer(r.bytes);
    const int status = RunTwoDimensionalEngine(p, buffer.data(), static_cast<int>(r.bytes.size()), out);
    out.MakeStatus = static_cast<std::int16_t>(status);
    if (status == 0)
        return;
    if ((p.CodeType == kCodeQr && MicroQrOptionFault(p)) ||
        (p.CodeType == kCodePdf417 && p.PDF417Model == 3 && p.PDF417Colum > 4))
        out.MakeStatus = kStatusBadOption;
    out.NumCell = 0;
}

void EncodeLinearSymbol(const ControlProperties& p, const EncodeRequest& r, EncodedSymbol& out)
{
    out.Bstart = r.bstart;
    out.Bend = r.bend;
    char text[kLinearTextCapacity] = {};
    if (r.encode) {
        const int check = p.ChkDigit - (p.CodeType == kCodeCode11 ? 1 : 0);
        std::vector<std::uint8_t> buffer = EngineBuffer(r.bytes);
        const int status = EncodeLinear(static_cast<int>(r.bytes.size()), buffer.data(), &out.NumCell,
                                        out.ModuleBuffer.data(), LinearKindCode(p), p.BarChrGap * 256 + check, text);
        out.MakeStatus = static_cast<std::int16_t>(status);
        if (status < 0)
            out.NumCell = 0;
    } else {
        if (!r.keepStatus)
            out.MakeStatus = static_cast<std::int16_t>(r.status);
        out.NumCell = 0;
    }
    text[kLinearTextCapacity - 1] = '\0';
    out.LinearText = text;
}

} // namespace

void EncodeSymbol(const ControlProperties& p, EncodedSymbol& out)
{
    switch (p.CodeType) {
    case kCodeQr: EncodeTwoDimensional(p, BuildQrRequest(p), out); break;
    case kCodeMaxiCode: EncodeTwoDimensional(p, BuildMaxiCodeRequest(p), out); break;
    case kCodePdf417: EncodeTwoDimensional(p, BuildPdf417Request(p), out); break;
    case kCodeDataMatrix: EncodeTwoDimensional(p, BuildDataMatrixRequest(p), out); break;
    default: EncodeLinearSymbol(p, BuildLinearRequest(p), out); break;
    }
}

} // namespace lx
