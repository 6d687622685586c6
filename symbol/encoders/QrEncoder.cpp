#include "symbol/encoders/QrEncoder.h"

#include "symbol/encoders/QrBitStream.h"
#include "symbol/encoders/QrMasking.h"
#include "symbol/encoders/QrModes.h"
#include "symbol/encoders/QrReedSolomon.h"
#include "symbol/encoders/QrRequest.h"
#include "symbol/encoders/QrTables.h"
#include "symbol/encoders/QrVersion.h"

#include <cstring>

namespace lx {
namespace {

constexpr int kMaxCodewords = 3706;

// One encode at a time: the control calls the encoder on its own thread.
QrSegmentList gSegments;
std::uint8_t gDataBuffer[kQrMaxDataBytes + 1];
std::uint8_t gCodewords[kMaxCodewords];
std::uint8_t gSequence[kMaxCodewords + 1];
QrWorkMatrix gWork;

int FormSegments(const std::uint8_t* request, int length, const QrRequest& parsed, const QrSymbolKind& kind)
{
    const int dataLength = length - parsed.dataStart;
    if (!parsed.automatic)
        return ReadQrSegments(request, parsed.dataStart, length, gSegments, gDataBuffer);
    gSegments.count = 0;
    int examinedBytes = 0;
    if (dataLength > 0)
        EncodeQrModes(gSegments, request + parsed.dataStart, gDataBuffer, dataLength, kind, &examinedBytes);
    if (gSegments.count > kQrMaxSegments)
        return kQrTooManySegments;
    // Data the analysis could not reach is refused, never dropped.
    if (examinedBytes < dataLength)
        return kQrDataDoesNotFit;
    return kQrOk;
}

} // namespace

int EncodeQr(int length, std::uint8_t* request, int* moduleCount, std::uint8_t* matrix, int model, int version)
{
    if (request == nullptr || length < 0 || moduleCount == nullptr || matrix == nullptr)
        return kQrDataDoesNotFit;
    request[length] = 0xFF;
    if (model < 1 || model > 3)
        return kQrBadModel;
    const int modelIndex = model - 1;
    QrRequest parsed;
    if (const int rc = ParseQrRequestHeader(request, length, modelIndex == kQrMicro, parsed))
        return rc;
    const QrSymbolKind kind{modelIndex, parsed.level, parsed.structuredAppend, parsed.sequence, parsed.parity};
    if (const int rc = FormSegments(request, length, parsed, kind))
        return rc;
    if (version < 0 || version > QrMaxVersion(modelIndex))
        return kQrVersionOutOfRange;
    const int versionIndex = QrChooseSymbolVersion(gSegments, kind, version);
    if (versionIndex < 0)
        return kQrDataDoesNotFit;

    QrBuildBitStream(gSegments, gDataBuffer, kind, versionIndex, gCodewords);
    const int bits = QrAddReedSolomon(modelIndex, versionIndex, parsed.level, gCodewords, gSequence);
    gWork.model = modelIndex;
    gWork.versionIndex = versionIndex;
    gWork.level = parsed.level;
    gWork.size = QrSymbolSize(modelIndex, versionIndex);
    QrPlaceCodewords(gWork, gSequence, bits);
    QrSelectMask(gWork, parsed.mask);
    QrCopyMatrix(gWork, matrix);
    *moduleCount = gWork.size;
    return kQrOk;
}

void QrCopyMatrix(const QrWorkMatrix& m, std::uint8_t* matrix)
{
    const int bytes = QrRowBytes(m.size);
    for (int r = 0; r < m.size; ++r)
        std::memcpy(matrix + r * bytes, m.result[r], static_cast<std::size_t>(bytes));
}

const QrWorkMatrix& QrLastWorkMatrix() { return gWork; }

} // namespace lx
