#pragma once
// Reading an encode request: the structured-append header, the level letter,
// the mask digit, the analysis letter and, when the request gives them, the
// segments.
#include "symbol/encoders/QrSegments.h"

#include <cstdint>

namespace lx {

struct QrRequest {
    int level = kQrLevelM;
    int mask = -1; // -1 chooses automatically
    bool automatic = true;
    bool structuredAppend = false;
    std::uint8_t sequence = 0;
    std::uint8_t parity = 0;
    int dataStart = 0; // offset of the data behind the header
};

// Returns 0, or -3 for a structured-append header that is malformed, out of
// range, or given with Micro QR.
int ParseQrRequestHeader(const std::uint8_t* request, int length, bool micro, QrRequest& out);

// Reads the segments given in request[pos, length) into the list and copies
// their bytes into dataBuffer (room for kQrMaxDataBytes). Returns 0, -1 for
// more than kQrMaxDataBytes bytes, a byte segment without its count and a
// byte, or characters that the segment's mode cannot hold, and -2 when data
// follows the 200th segment.
int ReadQrSegments(const std::uint8_t* request, int pos, int length, QrSegmentList& segments, std::uint8_t* dataBuffer);

} // namespace lx
