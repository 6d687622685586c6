#include "symbol/encoders/DataMatrixEncoder.h"

#include "symbol/encoders/DataMatrixDetail.h"

#include <cstring>

namespace lx {
namespace dm {
namespace {

constexpr SymbolSize kSquare[] = {
    {10, 10, 1, 1, 3, 5, 1},        {12, 12, 1, 1, 5, 7, 1},        {14, 14, 1, 1, 8, 10, 1},
    {16, 16, 1, 1, 12, 12, 1},      {18, 18, 1, 1, 18, 14, 1},      {20, 20, 1, 1, 22, 18, 1},
    {22, 22, 1, 1, 30, 20, 1},      {24, 24, 1, 1, 36, 24, 1},      {26, 26, 1, 1, 44, 28, 1},
    {32, 32, 2, 2, 62, 36, 1},      {36, 36, 2, 2, 86, 42, 1},      {40, 40, 2, 2, 114, 48, 1},
    {44, 44, 2, 2, 144, 56, 1},     {48, 48, 2, 2, 174, 68, 1},     {52, 52, 2, 2, 204, 84, 2},
    {64, 64, 4, 4, 280, 112, 2},    {72, 72, 4, 4, 368, 144, 4},    {80, 80, 4, 4, 456, 192, 4},
    {88, 88, 4, 4, 576, 224, 4},    {96, 96, 4, 4, 696, 272, 4},    {104, 104, 4, 4, 816, 336, 6},
    {120, 120, 6, 6, 1050, 408, 6}, {132, 132, 6, 6, 1304, 496, 8}, {144, 144, 6, 6, 1558, 620, 10},
};

constexpr SymbolSize kRectangular[] = {
    {8, 18, 1, 1, 5, 7, 1},    {8, 32, 1, 2, 10, 11, 1},  {12, 26, 1, 1, 16, 14, 1},
    {12, 36, 1, 2, 22, 18, 1}, {16, 36, 1, 2, 32, 24, 1}, {16, 48, 1, 2, 49, 28, 1},
};

} // namespace

std::span<const SymbolSize> SizesOf(int shape)
{
    if (shape == 0)
        return kSquare;
    return kRectangular;
}

} // namespace dm

namespace {

constexpr int kHeaderLength = 10; // "D" + 2 + 2 + 5 digits

// Static work areas: one encode at a time.
std::uint8_t g_codewords[dm::kMaxCodewords];
std::uint8_t g_work[144 * dm::kWorkStride];

struct Request {
    const std::uint8_t* data = nullptr;
    int length = 0;
    bool structuredAppend = false;
    int position = 0;
    int total = 0;
    int fileNumber = 0;
};

bool ReadDigits(const std::uint8_t* text, int count, int& value)
{
    value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Splits the request into header and data; false for a malformed header.
bool ParseRequest(const std::uint8_t* request, int length, Request& out)
{
    int pos = 0;
    if (length > 0 && request[0] == 'D') {
        if (length < kHeaderLength || !ReadDigits(request + 1, 2, out.position) ||
            !ReadDigits(request + 3, 2, out.total) || !ReadDigits(request + 5, 5, out.fileNumber))
            return false;
        // A total of 1 has no sequence indicator: the 4-bit field holds 2..16.
        if (out.position < 1 || out.position > 16 || out.total < 2 || out.total > 16 || out.total < out.position)
            return false;
        out.structuredAppend = true;
        pos = kHeaderLength;
    }
    if (pos < length && request[pos] == ',')
        ++pos;
    out.data = request + pos;
    out.length = length - pos;
    return true;
}

bool PutStructuredAppend(const Request& request, dm::CodewordBuffer& out)
{
    // File identification bytes must stay within 1..254: the five-digit number
    // is written in base 254 with each digit raised by one.
    const int id = request.fileNumber % (254 * 254);
    return out.Put(233) && out.Put((request.position - 1) * 16 + 17 - request.total) && out.Put(id / 254 + 1) &&
        out.Put(id % 254 + 1);
}

// The "@" escape at the start of the whole message; advances over what it used.
bool PutEscape(const std::uint8_t*& data, int& length, dm::CodewordBuffer& out)
{
    if (length < 2 || data[0] != '@')
        return true; // a lone "@" is data
    int codeword = 0;
    switch (data[1]) {
    case '1': codeword = 232; break;
    case '5': codeword = 236; break;
    case '6': codeword = 237; break;
    default: break;
    }
    if (codeword) {
        data += 2;
        length -= 2;
        return out.Put(codeword);
    }
    data += 1; // "@" before any other byte only marks that byte as data
    length -= 1;
    return true;
}

int RandomisedPad(int position)
{
    const int value = 129 + (149 * position) % 253 + 1;
    return value <= 254 ? value : value - 254;
}

void Pad(dm::CodewordBuffer& out, int capacity)
{
    if (out.Count() < capacity)
        (void)out.Put(129);
    while (out.Count() < capacity)
        (void)out.Put(RandomisedPad(out.Count() + 1));
}

const dm::SymbolSize* ChooseSize(std::span<const dm::SymbolSize> sizes, int sizeIndex, int codewords)
{
    if (sizeIndex > 0) {
        const dm::SymbolSize& given = sizes[sizeIndex - 1];
        return given.dataCodewords >= codewords ? &given : nullptr;
    }
    for (const dm::SymbolSize& s : sizes)
        if (s.dataCodewords >= codewords)
            return &s;
    return nullptr;
}

void CopyOut(const dm::SymbolSize& size, std::uint8_t* matrix)
{
    const int stride = (size.columns + 7) / 8;
    for (int r = 0; r < size.rows; ++r)
        std::memcpy(matrix + r * stride, g_work + r * dm::kWorkStride, stride);
}

} // namespace

int EncodeDataMatrix(int requestLength, const std::uint8_t* request, std::int32_t* size, std::uint8_t* matrix,
                     int model, int sizeIndex)
{
    if (model < 1 || model > 2)
        return -4;
    if (requestLength < 0 || (requestLength > 0 && !request) || !size || !matrix)
        return -1;
    Request parsed;
    if (!ParseRequest(request, requestLength, parsed))
        return -3;
    if (parsed.length > kDataMatrixMaxDataBytes)
        return -1;

    const auto sizes = dm::SizesOf(model - 1);
    const bool sizeIndexValid = sizeIndex >= 0 && sizeIndex <= static_cast<int>(sizes.size());
    dm::SizeLimit limit{sizes, sizeIndexValid && sizeIndex > 0 ? &sizes[sizeIndex - 1] : nullptr};

    dm::CodewordBuffer out(g_codewords, dm::kMaxCodewords);
    const std::uint8_t* data = parsed.data;
    int length = parsed.length;
    if (parsed.structuredAppend && !PutStructuredAppend(parsed, out))
        return -1;
    if ((!parsed.structuredAppend || parsed.position == 1) && !PutEscape(data, length, out))
        return -1;
    if (!dm::EncodeData(data, length, out, limit))
        return -1;
    if (!sizeIndexValid)
        return -6;
    const dm::SymbolSize* chosen = ChooseSize(sizes, sizeIndex, out.Count());
    if (!chosen)
        return -1;

    Pad(out, chosen->dataCodewords);
    dm::AddErrorCorrection(g_codewords, *chosen);
    std::memset(g_work, 0, sizeof g_work);
    dm::PlaceModules(g_codewords, *chosen, g_work);
    CopyOut(*chosen, matrix);
    *size = chosen->columns | chosen->rows << 16;
    return 0;
}

} // namespace lx
