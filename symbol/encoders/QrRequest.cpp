#include "symbol/encoders/QrRequest.h"

#include "symbol/encoders/QrModes.h"
#include "symbol/encoders/QrTables.h"

namespace lx {
namespace {

constexpr int kBadHeader = -3;
constexpr int kBadData = -1;
constexpr int kTooManySegments = -2;

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

std::uint8_t Upper(std::uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 'a' + 'A') : c; }

int HexValue(std::uint8_t c)
{
    if (IsDigit(c))
        return c - '0';
    c = Upper(c);
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Two digits when the first is 0 or 1, else one; -1 when malformed.
int ReadSmallNumber(const std::uint8_t* request, int length, int& pos)
{
    if (pos >= length || !IsDigit(request[pos]))
        return -1;
    const int first = request[pos++] - '0';
    if (first > 1)
        return first;
    if (pos >= length || !IsDigit(request[pos]))
        return -1;
    return first * 10 + (request[pos++] - '0');
}

int ParseStructuredAppend(const std::uint8_t* request, int length, int& pos, QrRequest& out)
{
    const int position = ReadSmallNumber(request, length, pos);
    const int total = ReadSmallNumber(request, length, pos);
    if (pos + 2 > length)
        return kBadHeader;
    const int high = HexValue(request[pos]);
    const int low = HexValue(request[pos + 1]);
    pos += 2;
    if (position < 1 || position > 16 || total < 2 || total > 16 || position > total || high < 0 || low < 0)
        return kBadHeader;
    if (pos < length)
        ++pos; // the separator, whatever it is
    out.structuredAppend = true;
    out.sequence = static_cast<std::uint8_t>((position - 1) << 4 | (total - 1));
    out.parity = static_cast<std::uint8_t>(high << 4 | low);
    return 0;
}

int LevelOf(std::uint8_t c)
{
    switch (Upper(c)) {
    case 'L': return kQrLevelL;
    case 'M': return kQrLevelM;
    case 'Q': return kQrLevelQ;
    case 'H': return kQrLevelH;
    default: return -1;
    }
}

bool FitsMode(int mode, std::uint8_t* bytes, int length)
{
    switch (mode) {
    case kQrNumeric:
        for (int i = 0; i < length; ++i)
            if (!IsDigit(bytes[i]))
                return false;
        return true;
    case kQrAlphanumeric:
        for (int i = 0; i < length; ++i) {
            bytes[i] = Upper(bytes[i]);
            if (QrAlphanumericValue(bytes[i]) < 0)
                return false;
        }
        return true;
    case kQrKanji:
        for (int i = 0; i < length; i += 2) {
            int charBytes = 0;
            if (QrCharClass(bytes, length, i, &charBytes) != kQrKanji)
                return false;
        }
        return true;
    default: return true;
    }
}

// Appends a segment, refusing what would overflow the data buffer or what
// its mode cannot encode (the bit stream would not carry the given bytes).
int AddSegment(QrSegmentList& segments, std::uint8_t* dataBuffer, int& used, int mode, const std::uint8_t* bytes,
               int length)
{
    if (length > kQrMaxDataBytes - used)
        return kBadData;
    for (int i = 0; i < length; ++i)
        dataBuffer[used + i] = bytes[i];
    if (!FitsMode(mode, dataBuffer + used, length))
        return kBadData;
    segments.items[segments.count++] = {static_cast<std::uint8_t>(mode), length, used};
    used += length;
    return 0;
}

int ReadByteSegment(const std::uint8_t* request, int length, int& pos, QrSegmentList& segments,
                    std::uint8_t* dataBuffer, int& used)
{
    if (length - pos < 5)
        return kBadData;
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        if (!IsDigit(request[pos + i]))
            return kBadData;
        count = count * 10 + (request[pos + i] - '0');
    }
    pos += 4;
    const int available = length - pos;
    const int taken = count < available ? count : available;
    if (const int rc = AddSegment(segments, dataBuffer, used, kQrByte, request + pos, taken))
        return rc;
    pos += taken;
    while (pos < length) {
        const std::uint8_t c = request[pos++];
        if (c == ',' || c == '\n')
            break;
    }
    return 0;
}

// A segment runs to the next comma or carriage return (dropped, with a line
// feed right behind the carriage return) or to the end of the request.
int ReadDelimitedSegment(const std::uint8_t* request, int length, int& pos, int mode, bool firstIsData,
                         QrSegmentList& segments, std::uint8_t* dataBuffer, int& used)
{
    const int start = pos;
    if (firstIsData)
        ++pos;
    while (pos < length && pos - start < kQrMaxDataBytes && request[pos] != ',' && request[pos] != '\r')
        ++pos;
    const int end = pos;
    if (pos < length && (request[pos] == ',' || request[pos] == '\r')) {
        const bool carriageReturn = request[pos++] == '\r';
        if (carriageReturn && pos < length && request[pos] == '\n')
            ++pos;
    }
    return AddSegment(segments, dataBuffer, used, mode, request + start, end - start);
}

} // namespace

int ParseQrRequestHeader(const std::uint8_t* request, int length, bool micro, QrRequest& out)
{
    out = QrRequest{};
    int pos = 0;
    if (pos < length && Upper(request[pos]) == 'D') {
        if (micro)
            return kBadHeader;
        ++pos;
        if (const int rc = ParseStructuredAppend(request, length, pos, out))
            return rc;
    }
    if (pos < length && LevelOf(request[pos]) >= 0)
        out.level = LevelOf(request[pos++]);
    if (pos < length && IsDigit(request[pos]))
        out.mask = request[pos++] - '0';
    if (pos < length) {
        const std::uint8_t c = Upper(request[pos]);
        if (c == 'A' || c == 'M') {
            out.automatic = c == 'A';
            pos += pos + 1 < length ? 2 : 1;
        } else if (!IsDigit(c)) {
            ++pos;
        }
    }
    out.dataStart = pos;
    return 0;
}

int ReadQrSegments(const std::uint8_t* request, int pos, int length, QrSegmentList& segments, std::uint8_t* dataBuffer)
{
    segments.count = 0;
    int used = 0;
    while (pos < length && segments.count < kQrMaxSegments) {
        const std::uint8_t letter = Upper(request[pos]);
        int rc = 0;
        if (letter == 'B') {
            ++pos;
            rc = ReadByteSegment(request, length, pos, segments, dataBuffer, used);
        } else if (letter == 'N' || letter == 'A' || letter == 'K') {
            ++pos;
            const int mode = letter == 'N' ? kQrNumeric : letter == 'A' ? kQrAlphanumeric : kQrKanji;
            rc = ReadDelimitedSegment(request, length, pos, mode, false, segments, dataBuffer, used);
        } else {
            rc = ReadDelimitedSegment(request, length, pos, kQrAlphanumeric, true, segments, dataBuffer, used);
        }
        if (rc != 0)
            return rc;
    }
    // Segments beyond the limit would otherwise be dropped without a word.
    return pos < length ? kTooManySegments : 0;
}

} // namespace lx
