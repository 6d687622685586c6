#pragma once
// QR Code Model 1, Model 2 and Micro QR encoder.
#include "symbol/encoders/QrPlacement.h"

#include <cstdint>

namespace lx {

// Result codes of EncodeQr.
enum QrResult : int {
    kQrOk = 0,
    kQrDataDoesNotFit = -1, // too much data, a bad given segment, no version holds it, requested version too small
    kQrTooManySegments = -2, // more than 200 segments, found by the analysis or given
    kQrBadStructuredAppend = -3, // a malformed structured-append header, or one with Micro QR
    kQrBadModel = -4, // model not 1..3
    kQrVersionOutOfRange = -6, // requested version above the model's maximum
};

// Encodes one request: [D pp tt xx sep] [L|M|Q|H] [mask digit] (A|M) sep data.
// The byte request[length] is overwritten with 0xFF as an end mark, so the
// caller's buffer keeps one spare byte. On success writes the symbol into
// matrix (rows top first, (n + 7) / 8 bytes a row, least significant bit =
// leftmost module; up to 177 x 23 bytes), sets *moduleCount to n and returns
// 0; on failure returns a QrResult and leaves both untouched.
// model: 1 Model 1, 2 Model 2, 3 Micro QR; version: 0 = smallest that fits.
// Not re-entrant: the work areas are static.
int EncodeQr(int length, std::uint8_t* request, int* moduleCount, std::uint8_t* matrix, int model, int version);

// Copies the result layer out: the first (n + 7) / 8 bytes of every row.
void QrCopyMatrix(const QrWorkMatrix& m, std::uint8_t* matrix);

// The work matrix of the last successful encode (for inspection).
const QrWorkMatrix& QrLastWorkMatrix();

} // namespace lx
