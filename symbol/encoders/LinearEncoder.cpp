#include "symbol/encoders/LinearEncoder.h"

#include "symbol/encoders/LinearElements.h"

namespace lx {

namespace linear {
namespace {
// The error cell: encoding runs on the control's thread only.
std::int32_t errorCell = 0;
} // namespace

void ResetError() { errorCell = 0; }
std::int32_t Error() { return errorCell; }

int Fail(std::int32_t error, char* text)
{
    errorCell = error;
    text[0] = '\0';
    return 0;
}

int Finish(const ElementWriter& elements, const TextWriter& text, char* textOut)
{
    if (elements.Overflowed() || text.Overflowed())
        return Fail(kLinearTooLong, textOut);
    return elements.Count();
}

void ElementWriter::Modules(const char* widths, bool barFirst)
{
    bool bar = barFirst;
    for (const char* w = widths; *w; ++w, bar = !bar) {
        const auto width = static_cast<std::uint8_t>(*w - '0');
        bar ? Bar(width) : Space(width);
    }
}

void ElementWriter::WideNarrow(unsigned wideMask, int count, bool barFirst)
{
    bool bar = barFirst;
    for (int i = count - 1; i >= 0; --i, bar = !bar) {
        const std::uint8_t width = (wideMask >> i) & 1 ? kLinearWide : kLinearNarrow;
        bar ? Bar(width) : Space(width);
    }
}

std::uint8_t GapElement(std::int32_t option)
{
    const int gap = (option >> 8) & 0xFF;
    if (gap < 2)
        return kLinearNarrow;
    // Above 63 the run would spill into the bar bit.
    return static_cast<std::uint8_t>(kLinearNarrowRun + (gap > 63 ? 63 : gap));
}

int IndexIn(const char* set, std::uint8_t c)
{
    for (int i = 0; set[i]; ++i)
        if (static_cast<std::uint8_t>(set[i]) == c)
            return i;
    return -1;
}

int Mod10Weight31(const std::uint8_t* digits, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += digits[count - 1 - i] * (i % 2 == 0 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

} // namespace linear

const LinearSymbology LinearSymbologyTable[27] = {
    {kLinearEan13, "EAN13", EncodeEanUpc},
    {kLinearEan8, "EAN8", EncodeEanUpc},
    {kLinearEan13AddOn, "EAN13add", EncodeEanUpc},
    {kLinearEan8AddOn, "EAN8add", EncodeEanUpc},
    {kLinearUpcA, "UPCA", EncodeEanUpc},
    {kLinearUpcE, "UPCE", EncodeUpcE},
    {kLinearUpcAAddOn, "UPCAadd", EncodeEanUpc},
    {kLinearUpcEAddOn, "UPCEadd", EncodeUpcE},
    {kLinearCodabar, "NW7", EncodeCodabar},
    {kLinearItf, "ITF", EncodeItf},
    {kLinearItfBearer, "ITFJIS", EncodeItf},
    {kLinearStfNormal, "STFNormal", EncodeStf},
    {kLinearStfShort, "STFShort", EncodeStf},
    {kLinearCode39, "CODE39", EncodeCode39},
    {kLinearCode93, "CODE93", EncodeCode93},
    {kLinearCode128A, "CODE128_A", EncodeCode128},
    {kLinearCode128B, "CODE128_B", EncodeCode128},
    {kLinearCode128C, "CODE128_C", EncodeCode128},
    {kLinearEan128A, "EAN128_A", EncodeCode128},
    {kLinearEan128B, "EAN128_B", EncodeCode128},
    {kLinearEan128C, "EAN128_C", EncodeCode128},
    {kLinearMsi, "MSI", EncodeMsi},
    {kLinearCode11, "CODE11", EncodeCode11},
    {kLinearPlesseyDual, "PLESSEY_Dual", EncodePlessey},
    {kLinearPlesseySingle, "PLESSEY_Single", EncodePlessey},
    {kLinearAnker, "ANKER", EncodePlessey},
    {0, nullptr, nullptr},
};

int EncodeLinear(int length, const std::uint8_t* data, std::int32_t* elementCount, std::uint8_t* elements,
                 std::int32_t key, std::int32_t option, char* text)
{
    linear::ResetError();
    for (const LinearSymbology* row = LinearSymbologyTable; row->name; ++row) {
        if (row->key != key)
            continue;
        const int count = row->encoder(length, data, elements, key, option, text);
        *elementCount = count;
        return linear::Error() != kLinearOk ? linear::Error() : count;
    }
    linear::Fail(kLinearUnknownKey, text);
    return kLinearUnknownKey;
}

std::int32_t LastLinearError() { return linear::Error(); }

} // namespace lx
