#pragma once
// The object table of a metafile being played: pens, brushes and fonts by
// index, and the stock objects both formats name.
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/metafile/ByteCursor.h"

namespace lx {

// A slot that holds an object we do not draw with (a region, a palette).
struct OtherObject {
    friend bool operator==(const OtherObject&, const OtherObject&) = default;
};
using PlaybackObject = std::variant<Pen, Brush, LogFont, OtherObject>;

class PlaybackObjects {
public:
    explicit PlaybackObjects(std::size_t size) : slots_(size) {}
    void Put(std::uint32_t index, PlaybackObject object);
    // The lowest free slot, as Windows metafiles number their objects.
    void Add(PlaybackObject object);
    void Select(DeviceContext& dc, std::uint32_t index) const;
    void Delete(std::uint32_t index);
    std::size_t Count() const { return slots_.size(); }

private:
    std::vector<std::optional<PlaybackObject>> slots_;
};

Pen PenFromRecord(std::uint32_t style, int width, std::uint32_t color);
// The eight style bytes after the weight, which both metafile formats share.
void ReadLogFontStyle(ByteReader& r, LogFont& f);
// A LOGFONTW (92 bytes) at the reader's position.
LogFont ReadLogFontW(ByteReader& r);

} // namespace lx
