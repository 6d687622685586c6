#include "symbol/encoders/QrReedSolomon.h"

#include "symbol/encoders/QrTables.h"

#include <array>

namespace lx {
namespace {

struct GaloisTables {
    std::array<std::uint8_t, 512> exp{};
    std::array<int, 256> log{};
};

constexpr GaloisTables MakeGaloisTables()
{
    GaloisTables t;
    int x = 1;
    for (int i = 0; i < 255; ++i) {
        t.exp[i] = static_cast<std::uint8_t>(x);
        t.log[x] = i;
        x <<= 1;
        if (x & 0x100)
            x ^= 0x11D;
    }
    for (int i = 255; i < 512; ++i)
        t.exp[i] = t.exp[i - 255];
    return t;
}
constexpr GaloisTables kGf = MakeGaloisTables();

constexpr int kDegrees[] = {2,  5,  6,  7,  8,  10, 13, 14, 15, 16, 17, 18, 20, 22, 24, 26, 28, 30,
                            32, 34, 36, 40, 42, 44, 46, 48, 50, 52, 54, 56, 58, 60, 62, 64, 66, 68};
constexpr int kMaxDegree = 68;

constexpr int SumOfDegrees()
{
    int sum = 0;
    for (int d : kDegrees)
        sum += d;
    return sum;
}

// Every generator's coefficients below its leading 1, highest power first,
// as logarithms so that the division multiplies by one table look-up.
struct GeneratorTable {
    std::array<std::uint8_t, SumOfDegrees()> logCoefficients{};
    std::array<int, kMaxDegree + 1> offset{};
};

// The generator of degree d + 1 is that of degree d times (x + alpha^d), so
// one running product yields every degree of the table.
constexpr GeneratorTable MakeGenerators()
{
    GeneratorTable table;
    for (auto& o : table.offset)
        o = -1;
    std::array<std::uint8_t, kMaxDegree + 1> poly{}; // poly[0] is the leading coefficient
    poly[0] = 1;
    int next = 0;
    int wanted = 0;
    for (int degree = 1; degree <= kMaxDegree; ++degree) {
        const int logRoot = degree - 1;
        for (int j = degree; j > 0; --j) {
            const int product = poly[j - 1] == 0 ? 0 : kGf.exp[kGf.log[poly[j - 1]] + logRoot];
            poly[j] = static_cast<std::uint8_t>(poly[j] ^ product);
        }
        if (degree != kDegrees[wanted])
            continue;
        table.offset[degree] = next;
        for (int j = 1; j <= degree; ++j)
            table.logCoefficients[next++] = static_cast<std::uint8_t>(kGf.log[poly[j]]);
        ++wanted;
    }
    return table;
}
constexpr GeneratorTable kGenerators = MakeGenerators();

// Appends bits of whole bytes at any bit position (Micro QR's 4-bit codeword).
void AppendBytes(std::uint8_t* sequence, int& bitPos, const std::uint8_t* bytes, int count)
{
    for (int i = 0; i < count; ++i) {
        const int shift = bitPos % 8;
        const int index = bitPos / 8;
        if (shift == 0) {
            sequence[index] = bytes[i];
        } else {
            sequence[index] = static_cast<std::uint8_t>((sequence[index] & (0xFF00 >> shift)) | (bytes[i] >> shift));
            sequence[index + 1] = static_cast<std::uint8_t>(bytes[i] << (8 - shift));
        }
        bitPos += 8;
    }
}

int InterleaveModel2(const QrVersionInfo& info, int level, const std::uint8_t* data, std::uint8_t* sequence)
{
    const int blocks = info.blocks[level];
    const int dataTotal = info.data[level];
    const int ecLength = (info.total - dataTotal) / blocks;
    const int shortLength = dataTotal / blocks;
    const int shortBlocks = blocks - dataTotal % blocks;
    std::uint8_t ec[kMaxDegree];
    int start = 0;
    for (int b = 0; b < blocks; ++b) {
        const int length = shortLength + (b >= shortBlocks ? 1 : 0);
        for (int j = 0; j < shortLength; ++j)
            sequence[j * blocks + b] = data[start + j];
        if (length > shortLength)
            sequence[shortLength * blocks + (b - shortBlocks)] = data[start + shortLength];
        QrReedSolomonBlock(data + start, length, ecLength, ec);
        for (int j = 0; j < ecLength; ++j)
            sequence[dataTotal + j * blocks + b] = ec[j];
        start += length;
    }
    return 8 * info.total;
}

// Equal blocks in order; codewords the blocks leave over stay 0.
int SequenceModel1(const QrVersionInfo& info, int level, const std::uint8_t* data, std::uint8_t* sequence)
{
    const int blocks = info.blocks[level];
    const int dataTotal = info.data[level];
    const int dataLength = dataTotal / blocks;
    const int ecLength = (info.total - dataTotal) / blocks;
    for (int i = 0; i < info.total; ++i)
        sequence[i] = i < dataTotal ? data[i] : 0;
    for (int b = 0; b < blocks; ++b)
        QrReedSolomonBlock(data + b * dataLength, dataLength, ecLength, sequence + dataTotal + b * ecLength);
    return 8 * info.total;
}

int SequenceMicro(const QrVersionInfo& info, int versionIndex, int level, const std::uint8_t* data,
                  std::uint8_t* sequence)
{
    const int dataLength = info.data[level];
    const int ecLength = info.total - dataLength;
    std::uint8_t ec[kMaxDegree];
    QrReedSolomonBlock(data, dataLength, ecLength, ec);
    for (int i = 0; i < dataLength; ++i)
        sequence[i] = data[i];
    int bitPos = QrDataCapacityBits(kQrMicro, versionIndex, level);
    AppendBytes(sequence, bitPos, ec, ecLength);
    return bitPos;
}

} // namespace

void QrReedSolomonBlock(const std::uint8_t* data, int dataLength, int ecLength, std::uint8_t* ec)
{
    const std::uint8_t* generator = kGenerators.logCoefficients.data() + kGenerators.offset[ecLength];
    for (int i = 0; i < ecLength; ++i)
        ec[i] = 0;
    for (int i = 0; i < dataLength; ++i) {
        const std::uint8_t factor = data[i] ^ ec[0];
        for (int j = 0; j + 1 < ecLength; ++j)
            ec[j] = ec[j + 1];
        ec[ecLength - 1] = 0;
        if (factor == 0)
            continue;
        const int logFactor = kGf.log[factor];
        for (int j = 0; j < ecLength; ++j)
            ec[j] ^= kGf.exp[generator[j] + logFactor];
    }
}

int QrAddReedSolomon(int model, int versionIndex, int level, const std::uint8_t* data, std::uint8_t* sequence)
{
    const QrVersionInfo& info = QrVersionTable(model, versionIndex);
    if (model == kQrModel2)
        return InterleaveModel2(info, level, data, sequence);
    if (model == kQrModel1)
        return SequenceModel1(info, level, data, sequence);
    return SequenceMicro(info, versionIndex, level, data, sequence);
}

} // namespace lx
