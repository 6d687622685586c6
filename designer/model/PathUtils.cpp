#include "designer/model/PathUtils.h"

#include <algorithm>

namespace lx {

void RaisePathError(const std::string& message) { throw EPathError(message); }

void TPath::CapturePath(const DeviceContext& canvas)
{
    // The context answers -1 when it holds no path; that is no points.
    const int count = std::max(0, canvas.GetPath(nullptr, nullptr, 0));
    points_.assign(static_cast<std::size_t>(count), Point{});
    types_.assign(static_cast<std::size_t>(count), 0);
    if (count == 0)
        return;
    const int got = std::max(0, canvas.GetPath(points_.data(), types_.data(), count));
    points_.resize(static_cast<std::size_t>(std::min(got, count)));
    types_.resize(points_.size());
}

void TPath::ReplayPath(DeviceContext& canvas) const
{
    canvas.BeginPath();
    const std::size_t count = points_.size();
    for (std::size_t i = 0; i < count; ++i) {
        switch (types_[i] & kPtMoveTo) {
        case kPtLineTo: canvas.LineTo(points_[i].x, points_[i].y); break;
        case kPtBezierTo:
            if (count - i < 3) {
                // A curve needs three points; the path ends short instead of
                // reading past the last one.
                canvas.EndPath();
                return;
            }
            canvas.PolyBezierTo({points_[i], points_[i + 1], points_[i + 2]});
            i += 2;
            break;
        case kPtMoveTo: canvas.MoveTo(points_[i].x, points_[i].y); break;
        default: break;
        }
        if (types_[i] & kPtCloseFigure)
            canvas.CloseFigure();
    }
    canvas.EndPath();
}

void TPath::StrokeAndFill(DeviceContext& canvas) const
{
    ReplayPath(canvas);
    canvas.StrokeAndFillPath();
}

void TPath::GetPoint(std::int32_t i, TPathPoint& point) const
{
    if (i < 0 || i >= GetCount())
        RaisePathError("TPath.GetPoint: Index is Out of Range");
    const auto at = static_cast<std::size_t>(i);
    point.X = points_[at].x;
    point.Y = points_[at].y;
    switch (types_[at] & kPtMoveTo) {
    case kPtLineTo: point.Kind = 1; break;
    case kPtBezierTo: point.Kind = 2; break;
    default: point.Kind = 0; break;
    }
    point.Closed = (types_[at] & kPtCloseFigure) != 0;
}

void TPath::SetPoint(std::int32_t i, const TPathPoint& point)
{
    if (i < 0 || i >= GetCount())
        RaisePathError("TPath.SetPoint: Index is Out of Range");
    const auto at = static_cast<std::size_t>(i);
    points_[at] = {point.X, point.Y};
    std::uint8_t type = 0;
    switch (point.Kind) {
    case 0: type = kPtMoveTo; break;
    case 1: type = kPtLineTo; break;
    case 2: type = kPtBezierTo; break;
    default: break;
    }
    types_[at] = static_cast<std::uint8_t>(type | (point.Closed ? kPtCloseFigure : 0));
}

void TPath::Assign(const TPath& source)
{
    points_ = source.points_;
    types_ = source.types_;
}

} // namespace lx
