#include "symbol/encoders/QrVersion.h"

#include "symbol/encoders/QrTables.h"

namespace lx {
namespace {

bool MicroVersionTakes(const QrSegmentList& segments, int versionIndex)
{
    for (int i = 0; i < segments.count; ++i) {
        const int mode = segments.items[i].mode;
        if (versionIndex == 0 && mode != kQrNumeric)
            return false;
        if (versionIndex == 1 && (mode == kQrByte || mode == kQrKanji))
            return false;
    }
    return true;
}

bool FitsVersion(const QrSegmentList& segments, const QrSymbolKind& kind, int versionIndex)
{
    const int capacity = QrDataCapacityBits(kind.model, versionIndex, kind.level);
    if (capacity == 0)
        return false;
    if (kind.model == kQrMicro && !MicroVersionTakes(segments, versionIndex))
        return false;
    return QrStreamBits(segments, kind, versionIndex) <= capacity;
}

// The count widths change only between brackets, so one bit count per
// bracket serves every Model 1/2 version.
int SmallestModelVersion(const QrSegmentList& segments, const QrSymbolKind& kind)
{
    const int maxIndex = QrMaxVersion(kind.model) - 1;
    int bracket = -1;
    int bits = 0;
    for (int v = 0; v <= maxIndex; ++v) {
        if (QrCountBracket(v) != bracket) {
            bracket = QrCountBracket(v);
            bits = QrStreamBits(segments, kind, v);
        }
        if (bits <= QrDataCapacityBits(kind.model, v, kind.level))
            return v;
    }
    return -1;
}

int SmallestMicroVersion(const QrSegmentList& segments, const QrSymbolKind& kind)
{
    for (int v = 0; v < 4; ++v)
        if (FitsVersion(segments, kind, v))
            return v;
    return -1;
}

// A requested version is checked against its own count widths: a list of
// many short segments may fit version 9 but not version 10.
int ApplyRequest(const QrSegmentList& segments, const QrSymbolKind& kind, int smallest, int requestedVersion)
{
    if (smallest < 0 || requestedVersion == 0)
        return smallest;
    const int requested = requestedVersion - 1;
    if (requested < smallest || requested >= QrMaxVersion(kind.model))
        return -1;
    return FitsVersion(segments, kind, requested) ? requested : -1;
}

} // namespace

int QrSegmentDataBits(int mode, int length)
{
    switch (mode) {
    case kQrNumeric: {
        static constexpr int kRemainder[3] = {0, 4, 7};
        return 10 * (length / 3) + kRemainder[length % 3];
    }
    case kQrAlphanumeric: return 11 * (length / 2) + 6 * (length % 2);
    case kQrByte: return 8 * length;
    default: return 13 * ((length + 1) / 2);
    }
}

int QrStreamBits(const QrSegmentList& segments, const QrSymbolKind& kind, int versionIndex)
{
    int bits = 0;
    if (kind.model == kQrModel1)
        bits += 4;
    if (kind.structuredAppend && kind.model != kQrMicro)
        bits += 20;
    const int indicator = QrModeIndicatorBits(kind.model, versionIndex);
    for (int i = 0; i < segments.count; ++i) {
        const QrSegment& s = segments.items[i];
        bits += indicator + QrCountWidth(kind.model, versionIndex, s.mode) + QrSegmentDataBits(s.mode, s.length);
    }
    return bits;
}

int QrChooseVersion(const QrSegmentList& segments, const QrSymbolKind& kind, int requestedVersion)
{
    return ApplyRequest(segments, kind, SmallestModelVersion(segments, kind), requestedVersion);
}

int QrChooseMicroVersion(const QrSegmentList& segments, int level, int requestedVersion)
{
    const QrSymbolKind kind{kQrMicro, level};
    return ApplyRequest(segments, kind, SmallestMicroVersion(segments, kind), requestedVersion);
}

int QrChooseSymbolVersion(const QrSegmentList& segments, const QrSymbolKind& kind, int requestedVersion)
{
    return kind.model == kQrMicro ? QrChooseMicroVersion(segments, kind.level, requestedVersion)
                                  : QrChooseVersion(segments, kind, requestedVersion);
}

} // namespace lx
