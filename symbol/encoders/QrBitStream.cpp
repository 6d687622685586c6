#include "symbol/encoders/QrBitStream.h"

#include "symbol/encoders/QrTables.h"

namespace lx {
namespace {

// Most significant bit first through an accumulator; bits beyond the
// capacity are dropped, so a wrong count can never write past the codewords.
class BitWriter {
public:
    BitWriter(std::uint8_t* out, int capacityBits) : out_(out), capacity_(capacityBits) {}

    void Put(std::uint32_t value, int bits)
    {
        if (bits > capacity_ - written_) {
            value >>= bits - (capacity_ - written_);
            bits = capacity_ - written_;
        }
        if (bits <= 0)
            return;
        acc_ = (acc_ << bits) | (value & ((1u << bits) - 1u));
        accBits_ += bits;
        written_ += bits;
        while (accBits_ >= 8) {
            accBits_ -= 8;
            out_[bytes_++] = static_cast<std::uint8_t>(acc_ >> accBits_);
        }
    }

    // Pads the partial last byte with 0 bits; returns the bytes written.
    int FinishByte()
    {
        if (accBits_ > 0) {
            out_[bytes_++] = static_cast<std::uint8_t>(acc_ << (8 - accBits_));
            accBits_ = 0;
        }
        return (written_ + 7) / 8;
    }

    int Written() const { return written_; }

private:
    std::uint8_t* out_;
    int capacity_;
    int written_ = 0;
    int bytes_ = 0;
    std::uint64_t acc_ = 0;
    int accBits_ = 0;
};

void PutNumeric(BitWriter& w, const std::uint8_t* p, int length)
{
    int i = 0;
    for (; i + 3 <= length; i += 3)
        w.Put((p[i] - '0') * 100u + (p[i + 1] - '0') * 10u + (p[i + 2] - '0'), 10);
    if (length - i == 2)
        w.Put((p[i] - '0') * 10u + (p[i + 1] - '0'), 7);
    else if (length - i == 1)
        w.Put(p[i] - '0', 4);
}

std::uint32_t AlphanumericOf(std::uint8_t c)
{
    if (c >= 'a' && c <= 'z')
        c = static_cast<std::uint8_t>(c - 'a' + 'A');
    const int v = QrAlphanumericValue(c);
    return v < 0 ? 0u : static_cast<std::uint32_t>(v);
}

void PutAlphanumeric(BitWriter& w, const std::uint8_t* p, int length)
{
    int i = 0;
    for (; i + 2 <= length; i += 2)
        w.Put(AlphanumericOf(p[i]) * 45u + AlphanumericOf(p[i + 1]), 11);
    if (i < length)
        w.Put(AlphanumericOf(p[i]), 6);
}

void PutSegment(BitWriter& w, const QrSegment& s, const std::uint8_t* dataBuffer, const QrSymbolKind& kind,
                int versionIndex)
{
    if (kind.model == kQrMicro)
        w.Put(s.mode, QrModeIndicatorBits(kQrMicro, versionIndex));
    else
        w.Put(1u << s.mode, 4);
    const int count = s.mode == kQrKanji ? s.length / 2 : s.length;
    w.Put(static_cast<std::uint32_t>(count), QrCountWidth(kind.model, versionIndex, s.mode));
    const std::uint8_t* p = dataBuffer + s.start;
    switch (s.mode) {
    case kQrNumeric: PutNumeric(w, p, s.length); break;
    case kQrAlphanumeric: PutAlphanumeric(w, p, s.length); break;
    case kQrByte:
        for (int i = 0; i < s.length; ++i)
            w.Put(p[i], 8);
        break;
    default:
        for (int i = 0; i + 1 < s.length; i += 2)
            w.Put(static_cast<std::uint32_t>(QrKanjiValue(p[i], p[i + 1])), 13);
        break;
    }
}

} // namespace

int QrKanjiValue(std::uint8_t lead, std::uint8_t trail)
{
    const int code = (lead << 8 | trail) - (lead < 0xA0 ? 0x8140 : 0xC140);
    return ((code >> 8) * 0xC0 + (code & 0xFF)) & 0x1FFF;
}

void QrBuildBitStream(const QrSegmentList& segments, const std::uint8_t* dataBuffer, const QrSymbolKind& kind,
                      int versionIndex, std::uint8_t* codewords)
{
    const int capacity = QrDataCapacityBits(kind.model, versionIndex, kind.level);
    const int dataCodewords = (capacity + 7) / 8;
    for (int i = 0; i < dataCodewords; ++i)
        codewords[i] = 0;
    BitWriter w(codewords, capacity);
    if (kind.model == kQrModel1)
        w.Put(0, 4);
    if (kind.structuredAppend && kind.model != kQrMicro) {
        w.Put(3, 4);
        w.Put(kind.sequence, 8);
        w.Put(kind.parity, 8);
    }
    for (int i = 0; i < segments.count; ++i)
        PutSegment(w, segments.items[i], dataBuffer, kind, versionIndex);
    const int terminator = kind.model == kQrMicro ? 3 + 2 * versionIndex : 4;
    w.Put(0, terminator);
    // Pad codewords fill the whole codewords; a 4-bit last codeword stays 0000.
    const int used = w.FinishByte();
    for (int i = used; i < capacity / 8; ++i)
        codewords[i] = (i - used) % 2 == 0 ? 0xEC : 0x11;
}

} // namespace lx
