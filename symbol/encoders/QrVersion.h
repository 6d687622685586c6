#pragma once
// Version choice: the smallest symbol of a model that holds a segment list.
#include "symbol/encoders/QrSegments.h"

namespace lx {

// Data bits of one segment without its mode indicator and count.
int QrSegmentDataBits(int mode, int length);

// Exact length of the bit stream before the terminator at a version index:
// Model 1's leading zero bits, the structured-append header, and every
// segment's indicator, count and data.
int QrStreamBits(const QrSegmentList& segments, const QrSymbolKind& kind, int versionIndex);

// Models 1 and 2. requestedVersion 0 picks the smallest version that holds
// the data; otherwise that version (1-based) is used when it holds the data
// and is not smaller than the smallest one. Returns the version index, or -1.
int QrChooseVersion(const QrSegmentList& segments, const QrSymbolKind& kind, int requestedVersion);

// Micro QR under the same rules; M1 takes numeric data only and M2 no byte or
// kanji data, and a version without the asked level takes nothing.
int QrChooseMicroVersion(const QrSegmentList& segments, int level, int requestedVersion);

// Either of the two, by the kind's model.
int QrChooseSymbolVersion(const QrSegmentList& segments, const QrSymbolKind& kind, int requestedVersion);

} // namespace lx
