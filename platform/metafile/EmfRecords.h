#pragma once
// Record numbers and fixed values of the EMF format used by our writer and
// reader.
#include <cstdint>

namespace lx::emf {

enum : std::uint32_t {
    kHeader = 1,
    kPolygon = 3,
    kPolyline = 4,
    kPolyBezierTo = 5,
    kPolylineTo = 6,
    kSetWindowExtEx = 9,
    kSetWindowOrgEx = 10,
    kSetViewportExtEx = 11,
    kSetViewportOrgEx = 12,
    kEof = 14,
    kSetMapMode = 17,
    kSetBkMode = 18,
    kSetPolyFillMode = 19,
    kSetTextAlign = 22,
    kSetTextColor = 24,
    kSetBkColor = 25,
    kMoveToEx = 27,
    kIntersectClipRect = 30,
    kSaveDC = 33,
    kRestoreDC = 34,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kLineTo = 54,
    kBeginPath = 59,
    kEndPath = 60,
    kCloseFigure = 61,
    kFillPath = 62,
    kStrokeAndFillPath = 63,
    kStrokePath = 64,
    kFlattenPath = 65,
    kAbortPath = 68,
    kExtSelectClipRgn = 75,
    kBitBlt = 76,
    kStretchDibits = 81,
    kExtCreateFontIndirectW = 82,
    kExtTextOutA = 83,
    kExtTextOutW = 84,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kPolyBezierTo16 = 88,
    kPolylineTo16 = 89,
    kPolyPolygon16 = 91,
    kExtCreatePen = 95,
    kTransparentBlt = 116,
};

constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kStockObject = 0x80000000u;
constexpr std::uint32_t kWhiteBrush = 0;
constexpr std::uint32_t kNullBrush = 5;
constexpr std::uint32_t kBlackPen = 7;
constexpr std::uint32_t kNullPen = 8;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr std::uint32_t kRgnAnd = 1;
constexpr std::uint32_t kRgnCopy = 5;
constexpr std::uint32_t kHeaderSize = 108;

} // namespace lx::emf
