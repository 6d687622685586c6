#include "symbol/encoders/QrModes.h"

#include "symbol/encoders/QrTables.h"
#include "symbol/encoders/QrVersion.h"

namespace lx {
namespace {

constexpr int kEndOfData = 4;

bool IsKanjiPair(std::uint8_t lead, std::uint8_t trail)
{
    const bool leadFits =
        (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA) || (lead == 0xEB && trail < 0xC0);
    const bool trailFits = trail >= 0x40 && trail != 0x7F && trail <= 0xFC;
    return leadFits && trailFits;
}

struct Run {
    int cls = kQrNumeric;
    int length = 0;
    int start = 0;
};

// One analysis pass: a look-ahead of three undecided runs (slots 0-2) and
// the run just opened (slot 3), decided by the bit costs at the estimate.
class ModePipeline {
public:
    ModePipeline(QrSegmentList& segments, const QrSymbolKind& kind, int estimate)
        : segments_(segments), kind_(kind), estimate_(estimate)
    {
        segments_.count = 0;
    }

    void Start(int cls) { runs_[0] = {cls, 0, 0}; }

    // A character of another class than the newest run begins at pos.
    void Open(int cls, int pos)
    {
        runs_[newest_].length = pos - runs_[newest_].start;
        runs_[newest_ + 1] = {cls, 0, pos};
        if (newest_ + 1 == 3)
            DecideThree(); // leaves the newest run in slot 2
        else
            ++newest_;
    }

    void Finish(int pos)
    {
        Open(kEndOfData, pos);
        if (newest_ == 1) {
            Emit();
        } else {
            DecideTwoAtEnd();
        }
    }

    int Emitted() const { return segments_.count; }
    int NewestClass() const { return runs_[newest_].cls; }

private:
    int Cost(int cls, int length) const
    {
        return QrModeIndicatorBits(kind_.model, estimate_) + QrCountWidth(kind_.model, estimate_, cls) +
            QrSegmentDataBits(cls, length);
    }
    int Cost(const Run& run) const { return Cost(run.cls, run.length); }

    void DecideThree()
    {
        const Run& r0 = runs_[0];
        const Run& r1 = runs_[1];
        const Run& r2 = runs_[2];
        const int b = Cost(r0), c = Cost(r1), e = Cost(r2);
        const int g = QrMergeClass(r0.cls, r1.cls);
        const int l = Cost(g, r0.length + r1.length);
        const int o = QrMergeClass(r1.cls, r2.cls);
        const int r = Cost(o, r1.length + r2.length);
        const int t = QrMergeClass(g, o);
        const int v = Cost(t, r0.length + r1.length + r2.length);
        const bool better = r < c + e;
        const bool worse = c + e < r;
        if (e + l < v) {
            if ((better && b + r >= e + l) || (!better && b + c >= l))
                MergeLow(g);
            else
                RuleX(o, worse);
        } else if ((!better || b + r < v) && (better || b + c + e < v)) {
            RuleX(o, worse);
        } else if (t == kQrByte && !worse && QrMergeClass(o, runs_[3].cls) == kQrAlphanumeric) {
            MergeHigh(o);
        } else {
            MergeLow(g);
        }
        newest_ = 2;
    }

    void RuleX(int o, bool worse)
    {
        if (o == kQrByte || worse)
            Emit();
        else
            MergeHigh(o);
    }

    // Slot 2 holds the end mark: slots 0 and 1 are the last two runs.
    void DecideTwoAtEnd()
    {
        const int g = QrMergeClass(runs_[0].cls, runs_[1].cls);
        if (Cost(runs_[0]) + Cost(runs_[1]) < Cost(g, runs_[0].length + runs_[1].length))
            Emit();
        else
            MergeLow(g);
        Emit();
        newest_ = 0;
    }

    void Emit()
    {
        if (segments_.count < kQrMaxSegments + 3) {
            QrSegment& s = segments_.items[segments_.count++];
            s.mode = static_cast<std::uint8_t>(runs_[0].cls);
            s.length = runs_[0].length;
            s.start = runs_[0].start;
        }
        runs_[0] = runs_[1];
        runs_[1] = runs_[2];
        runs_[2] = runs_[3];
    }

    void MergeLow(int cls)
    {
        runs_[0].cls = cls;
        runs_[0].length += runs_[1].length;
        runs_[1] = runs_[2];
        runs_[2] = runs_[3];
    }

    void MergeHigh(int cls)
    {
        runs_[1].cls = cls;
        runs_[1].length += runs_[2].length;
        runs_[2] = runs_[3];
    }

    QrSegmentList& segments_;
    const QrSymbolKind& kind_;
    const int estimate_;
    Run runs_[4];
    int newest_ = 0;
};

int RunPass(QrSegmentList& segments, const std::uint8_t* data, std::uint8_t* dataBuffer, int length,
            const QrSymbolKind& kind, int estimate, int* bytesExamined)
{
    ModePipeline pipeline(segments, kind, estimate);
    *bytesExamined = 0;
    if (length <= 0)
        return 0;
    int bytes = 0;
    int pos = 0;
    int examined = 0;
    pipeline.Start(QrCharClass(data, length, 0, &bytes));
    // The data buffer bounds the bytes as well as the characters: kanji
    // pairs would otherwise take twice the room.
    for (;;) {
        for (int i = 0; i < bytes; ++i)
            dataBuffer[pos + i] = data[pos + i];
        pos += bytes;
        ++examined;
        if (pos >= length || examined >= kQrMaxDataBytes || pipeline.Emitted() >= kQrMaxSegments)
            break;
        const int cls = QrCharClass(data, length, pos, &bytes);
        if (pos + bytes > kQrMaxDataBytes)
            break;
        if (cls != pipeline.NewestClass())
            pipeline.Open(cls, pos);
    }
    pipeline.Finish(pos);
    *bytesExamined = pos;
    return examined;
}

} // namespace

int CharCost(std::uint8_t c)
{
    if (c >= '0' && c <= '9')
        return 33;
    if (QrAlphanumericValue(c) >= 0)
        return 55;
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))
        return 130;
    return 80;
}

int QrCharClass(const std::uint8_t* data, int length, int pos, int* bytes)
{
    *bytes = 1;
    const std::uint8_t c = data[pos];
    if (c >= '0' && c <= '9')
        return kQrNumeric;
    if (QrAlphanumericValue(c) >= 0)
        return kQrAlphanumeric;
    if (pos + 1 < length && IsKanjiPair(c, data[pos + 1])) {
        *bytes = 2;
        return kQrKanji;
    }
    return kQrByte;
}

int QrMergeClass(int a, int b)
{
    if (a == b)
        return a;
    if (a == kQrKanji || b == kQrKanji)
        return kQrByte;
    return a > b ? a : b;
}

int EncodeQrModes(QrSegmentList& segments, const std::uint8_t* data, std::uint8_t* dataBuffer, int length,
                  const QrSymbolKind& kind, int* bytesExamined)
{
    const bool micro = kind.model == kQrMicro;
    int estimate = micro ? 1 : 0;
    int examined = 0;
    for (int pass = 0; pass < 4; ++pass) {
        examined = RunPass(segments, data, dataBuffer, length, kind, estimate, bytesExamined);
        const int chosen = QrChooseSymbolVersion(segments, kind, 0);
        if (micro) {
            if (chosen < 0 && estimate != 3) {
                estimate = 3;
                continue;
            }
            if (chosen < 0 || chosen == estimate)
                break;
        } else if (chosen < 0 || QrCountBracket(chosen) <= QrCountBracket(estimate)) {
            // The first bracket is the lowest, so a choice inside it always stops.
            break;
        }
        estimate = chosen;
    }
    return examined;
}

} // namespace lx
