#pragma once
// A captured outline path of a device context, so that its points can be
// moved and the path filled again (the deformed effect text).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/io/Errors.h"

namespace lx {

// The failure of a TPath point access.
class EPathError : public Error {
public:
    using Error::Error;
};

[[noreturn]] void RaisePathError(const std::string& message);

// One point of a path as callers read and write it.
struct TPathPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::uint8_t Kind = 0; // 0 move-to, 1 line-to, 2 Bezier point
    bool Closed = false; // the figure closes at this point
};

class TPath {
public:
    // Copies the context's current (ended) path; no path gives 0 points.
    void CapturePath(const DeviceContext& canvas);
    // Builds the points as the context's current path and ends it. A Bezier
    // entry without the two points after it ends the path there.
    void ReplayPath(DeviceContext& canvas) const;
    // ReplayPath, then stroke with the context's pen and fill with its brush.
    void StrokeAndFill(DeviceContext& canvas) const;

    std::int32_t GetCount() const { return static_cast<std::int32_t>(points_.size()); }
    // EPathError "TPath.GetPoint: Index is Out of Range" outside 0 .. Count - 1.
    void GetPoint(std::int32_t i, TPathPoint& point) const;
    // EPathError "TPath.SetPoint: Index is Out of Range" outside 0 .. Count - 1.
    // A kind other than 0, 1, 2 stores a type that replays as nothing.
    void SetPoint(std::int32_t i, const TPathPoint& point);
    void Assign(const TPath& source);

private:
    // Device-context point types: 6 move-to, 2 line-to, 4 Bezier-to, each
    // with bit 0 when the figure closes there.
    std::vector<Point> points_;
    std::vector<std::uint8_t> types_;
};

} // namespace lx
