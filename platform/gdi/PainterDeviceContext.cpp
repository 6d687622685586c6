#include "platform/gdi/PainterDeviceContext.h"

#include <QColor>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRawFont>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>

namespace lx {

namespace {

QColor ToQColor(ColorRef c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

QPainterPath ToQPath(const DevicePath& path, bool winding)
{
    QPainterPath q;
    q.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PathPoint& p = path[i];
        switch (p.type & ~kPtCloseFigure) {
        case kPtMoveTo: q.moveTo(p.x, p.y); break;
        case kPtBezierTo:
            if (i + 2 < path.size()) {
                q.cubicTo(p.x, p.y, path[i + 1].x, path[i + 1].y, path[i + 2].x, path[i + 2].y);
                i += 2;
            }
            break;
        default: q.lineTo(p.x, p.y); break;
        }
        if (path[i].type & kPtCloseFigure)
            q.closeSubpath();
    }
    return q;
}

// Index of the source pixel whose span holds the centre of device pixel
// `device`, when `count` source pixels stretch over `extent` from `start`.
int SourceIndex(int device, int start, double extent, int count)
{
    const double u = (device + 0.5 - start) / extent;
    return std::clamp(static_cast<int>(std::floor(u * count)), 0, count - 1);
}

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

bool SameRow(const Bitmap& source, int a, int b)
{
    return a == b ||
        std::memcmp(source.Row(a), source.Row(b), static_cast<std::size_t>(source.Width()) * sizeof(std::uint32_t)) ==
        0;
}

// The colours (0xRRGGBB) of source rows first to last: dark then light
// (equal for one colour); nothing when there are more than two.
std::optional<std::pair<std::uint32_t, std::uint32_t>> TwoColours(const Bitmap& source, int first, int last)
{
    std::uint32_t colours[2] = {};
    int found = 0;
    for (int y = first; y <= last; ++y) {
        if (y > first && SameRow(source, y, y - 1))
            continue;
        const std::uint32_t* row = source.Row(y);
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint32_t c = row[x] & kRgbMask;
            if ((found > 0 && c == colours[0]) || (found > 1 && c == colours[1]))
                continue;
            if (found == 2)
                return std::nullopt;
            colours[found++] = c;
        }
    }
    if (found == 1)
        colours[1] = colours[0];
    if (DarkerColour(colours[1], colours[0]))
        std::swap(colours[0], colours[1]);
    return std::make_pair(colours[0], colours[1]);
}

// Rectangles covering the dark pixels of bands of device rows: spans along
// each band, a span that repeats the one above it in the same columns grows
// that rectangle downwards.
class SpanMerger {
public:
    void Band(int top, const std::vector<std::pair<int, int>>& spans)
    {
        next_.clear();
        std::size_t i = 0;
        for (const auto& [left, right] : spans) {
            while (i < open_.size() && (open_[i].left < left || (open_[i].left == left && open_[i].right < right)))
                Close(open_[i++], top);
            if (i < open_.size() && open_[i].left == left && open_[i].right == right)
                next_.push_back(open_[i++]);
            else
                next_.push_back({left, right, top});
        }
        while (i < open_.size())
            Close(open_[i++], top);
        open_.swap(next_);
    }
    std::vector<QRect> Finish(int bottom)
    {
        for (const Open& r : open_)
            Close(r, bottom);
        open_.clear();
        return std::move(rects_);
    }

private:
    struct Open {
        int left, right, top;
    };
    void Close(const Open& r, int bottom) { rects_.emplace_back(r.left, r.top, r.right - r.left, bottom - r.top); }

    std::vector<Open> open_, next_;
    std::vector<QRect> rects_;
};

using Spans = std::vector<std::pair<int, int>>;

// Device spans of the device columns [left, left + columns.size()) whose
// source column (columns: monotonic, from SourceIndex) lies in a source span.
void SampledSpans(const Spans& source, const std::vector<int>& columns, int left, Spans& out)
{
    out.clear();
    const bool ascending = columns.front() <= columns.back();
    const auto firstAt = [&](int column) {
        const auto at = ascending
            ? std::lower_bound(columns.begin(), columns.end(), column)
            : std::partition_point(columns.begin(), columns.end(), [&](int c) { return c >= column; });
        return left + static_cast<int>(at - columns.begin());
    };
    const auto add = [&](int from, int to) {
        if (from >= to)
            return;
        if (!out.empty() && out.back().second == from)
            out.back().second = to;
        else
            out.emplace_back(from, to);
    };
    if (ascending)
        for (const auto& [s0, s1] : source)
            add(firstAt(s0), firstAt(s1));
    else
        for (auto span = source.rbegin(); span != source.rend(); ++span)
            add(firstAt(span->second), firstAt(span->first));
}

// Source rows top to bottom - 1 alike, with their dark spans.
struct SourceBand {
    int top = 0;
    int bottom = 0;
    const Spans* spans = nullptr;
};

// The area filled with `light`, then the dark spans of the source rows each
// device row shows as rectangles: spans repeated in the rows below grow
// downwards.
template <class BandAt>
void PaintDarkSpans(QPainter& painter, const Rect& dest, const Rect& area, const std::vector<int>& columns,
                    int sourceHeight, std::uint32_t dark, std::uint32_t light, BandAt bandAt)
{
    painter.fillRect(QRect(area.left, area.top, area.Width(), area.Height()), QColor::fromRgb(light));
    if (dark == light)
        return;
    const double height = dest.bottom - dest.top;
    const auto rowAt = [&](int y) { return SourceIndex(y, dest.top, height, sourceHeight); };
    SpanMerger merger;
    Spans spans;
    for (int y = area.top; y < area.bottom;) {
        const SourceBand band = bandAt(rowAt(y));
        const int top = y;
        while (y < area.bottom && rowAt(y) >= band.top && rowAt(y) < band.bottom)
            ++y;
        SampledSpans(*band.spans, columns, area.left, spans);
        merger.Band(top, spans);
    }
    const std::vector<QRect> rects = merger.Finish(area.bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(dark));
    painter.drawRects(rects.data(), static_cast<int>(rects.size()));
}

// The font of a font file as the font database knows it, so that a PDF
// embeds it (fonts read from memory have no file to embed); invalid when the
// database picks another file for its family and style.
QRawFont DatabaseFont(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    const QRawFont own(file, 16, QFont::PreferNoHinting);
    const QStringList families = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
    if (!own.isValid() || families.isEmpty())
        return {};
    QFont font(families.front());
    font.setStyleName(own.styleName());
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setHintingPreference(QFont::PreferNoHinting);
    QRawFont known = QRawFont::fromFont(font);
    return known.fontTable("head") == own.fontTable("head") ? known : QRawFont();
}

// Raw fonts of font files at a pixel size; invalid for faces held in memory
// or inside collections, which keep their outlines.
QRawFont RawFont(const FontFace* face, double pixels)
{
    const std::string& path = FaceFilePath(face);
    if (path.empty() || FaceFileIndex(face) != 0)
        return {};
    static std::mutex mutex;
    static std::map<std::string, QRawFont> files;
    static std::map<std::pair<std::string, double>, QRawFont> sized;
    std::lock_guard lock(mutex);
    if (sized.size() > 256)
        sized.clear();
    auto it = sized.find({path, pixels});
    if (it == sized.end()) {
        auto file = files.find(path);
        if (file == files.end())
            file = files.emplace(path, DatabaseFont(path)).first;
        QRawFont font = file->second;
        if (font.isValid())
            font.setPixelSize(pixels);
        it = sized.emplace(std::make_pair(path, pixels), font).first;
    }
    return it->second;
}

} // namespace

struct PainterDeviceContext::PendingText {
    QRawFont font;
    QColor colour;
    QTransform toLine; // glyph space of the first glyph onto the device
    QList<quint32> indexes;
    QList<QPointF> positions;
};

PainterDeviceContext::PainterDeviceContext(QPainter* painter, const DeviceInfo& device, const Rect& bounds)
    : DeviceContext(device), painter_(painter), bounds_(bounds)
{
    if (painter_) {
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->resetTransform();
    }
}

PainterDeviceContext::~PainterDeviceContext()
{
    try {
        FlushText();
    } catch (...) {
        // A painter that fails now has nothing more to draw to.
    }
}

void PainterDeviceContext::FlushText()
{
    if (!pendingText_)
        return;
    const std::unique_ptr<PendingText> text = std::move(pendingText_);
    if (!painter_ || !painter_->isActive())
        return;
    QGlyphRun glyphRun;
    glyphRun.setRawFont(text->font);
    glyphRun.setGlyphIndexes(text->indexes);
    glyphRun.setPositions(text->positions);
    painter_->save();
    painter_->setTransform(text->toLine);
    painter_->setPen(text->colour);
    painter_->drawGlyphRun(QPointF(0, 0), glyphRun);
    painter_->restore();
}

void PainterDeviceContext::PaintRect(const Rect& rect, ColorRef color)
{
    FlushText();
    if (!painter_ || !painter_->isActive())
        return;
    painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void PainterDeviceContext::PaintPath(const DevicePath& path, bool winding, ColorRef color)
{
    FlushText();
    if (!painter_ || !painter_->isActive())
        return;
    // Pixel centres decide coverage, as GDI's fills do.
    painter_->fillPath(ToQPath(path, winding).translated(-0.5, -0.5), ToQColor(color));
}

void PainterDeviceContext::PaintStroke(const DevicePath& path, double width, ColorRef color)
{
    FlushText();
    if (!painter_ || !painter_->isActive())
        return;
    QPen pen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter_->strokePath(ToQPath(path, true).translated(-0.5, -0.5), pen);
}

std::optional<Rect> PainterDeviceContext::PaintedArea(const Rect& dest, int sourceWidth,
                                                      std::vector<int>& columns) const
{
    if (!painter_ || !painter_->isActive())
        return std::nullopt;
    const Rect area = dest.Normalized().Intersected(clipBounds_ ? *clipBounds_ : bounds_);
    if (area.Empty())
        return std::nullopt;
    // Nearest neighbour by pixel centres, so that every source pixel covers a
    // whole number of device pixels; a reversed edge mirrors the picture.
    const double width = dest.right - dest.left;
    columns.resize(static_cast<std::size_t>(area.Width()));
    for (int x = area.left; x < area.right; ++x)
        columns[static_cast<std::size_t>(x - area.left)] = SourceIndex(x, dest.left, width, sourceWidth);
    return area;
}

void PainterDeviceContext::PaintBitmap(const Rect& dest, const Bitmap& source, std::optional<ColorRef> key)
{
    FlushText();
    std::vector<int> columns;
    const std::optional<Rect> painted = PaintedArea(dest, source.Width(), columns);
    if (!painted)
        return;
    const Rect area = *painted;
    if (vectorOutput_ && !key && PaintTwoColours(dest, area, columns, source))
        return;
    const double height = dest.bottom - dest.top;
    const std::uint32_t keyArgb = key ? ArgbFromColorRef(*key) : 0;
    QImage image(area.Width(), area.Height(), QImage::Format_ARGB32);
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* in = source.Row(SourceIndex(y, dest.top, height, source.Height()));
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y - area.top));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::uint32_t argb = in[columns[i]] | 0xFF000000u;
            out[i] = key && argb == keyArgb ? 0u : argb;
        }
    }
    painter_->drawImage(QPoint(area.left, area.top), image);
}

bool PainterDeviceContext::PaintTwoColours(const Rect& dest, const Rect& area, const std::vector<int>& columns,
                                           const Bitmap& source)
{
    const double height = dest.bottom - dest.top;
    const auto rowAt = [&](int y) { return SourceIndex(y, dest.top, height, source.Height()); };
    const int first = std::min(rowAt(area.top), rowAt(area.bottom - 1));
    const int last = std::max(rowAt(area.top), rowAt(area.bottom - 1));
    const auto colours = TwoColours(source, first, last);
    if (!colours)
        return false;
    const std::uint32_t dark = colours->first;
    const std::uint32_t light = colours->second;
    Spans spans;
    PaintDarkSpans(*painter_, dest, area, columns, source.Height(), dark, light, [&](int sy) {
        SourceBand band{sy, sy + 1, &spans};
        while (band.bottom < source.Height() && SameRow(source, band.bottom, sy))
            ++band.bottom;
        spans.clear();
        const std::uint32_t* row = source.Row(sy);
        for (int x = 0; x < source.Width(); ++x) {
            if ((row[x] & kRgbMask) != dark)
                continue;
            if (!spans.empty() && spans.back().second == x)
                spans.back().second = x + 1;
            else
                spans.emplace_back(x, x + 1);
        }
        return band;
    });
    return true;
}

void PainterDeviceContext::PaintSpanRaster(const Rect& dest, const SpanRaster& source)
{
    FlushText();
    std::vector<int> columns;
    const std::optional<Rect> area = PaintedArea(dest, source.width, columns);
    if (!area)
        return;
    PaintDarkSpans(*painter_, dest, *area, columns, source.height, source.dark & kRgbMask, source.light & kRgbMask,
                   [&](int sy) {
                       const SpanRaster::Band& band = source.BandAt(sy);
                       return SourceBand{band.top, band.bottom, &band.spans};
                   });
}

namespace {

bool SameDirection(const QTransform& a, const QTransform& b)
{
    return a.m11() == b.m11() && a.m12() == b.m12() && a.m21() == b.m21() && a.m22() == b.m22();
}

// Where the origin of `next` lies in the glyph space of `first` (both of one
// direction).
QPointF GlyphSpaceShift(const QTransform& first, const QTransform& next)
{
    return first.inverted().map(QPointF(next.dx(), next.dy()));
}

} // namespace

void PainterDeviceContext::PaintGlyphs(const PlacedGlyphs& placed, double dx, double dy, ColorRef color)
{
    if (!vectorOutput_ || !painter_ || !painter_->isActive() || !DrawPlacedGlyphs(placed, dx, dy, color))
        DeviceContext::PaintGlyphs(placed, dx, dy, color);
}

bool PainterDeviceContext::DrawPlacedGlyphs(const PlacedGlyphs& placed, double dx, double dy, ColorRef color)
{
    const FontMetrics& m = placed.font->Metrics();
    std::vector<QRawFont> fonts;
    for (const GlyphSlot& slot : placed.glyphs) {
        fonts.push_back(slot.face && !slot.upright ? RawFont(slot.face, m.em) : QRawFont());
        if (!fonts.back().isValid())
            return false; // upright or in-memory glyphs keep their outlines
    }
    // Glyph space (the raw font's, y down from the baseline) onto the placed:
    // stretched, slanted, turned along u and v, moved to the cell's top as the
    // outlines are (pixel centres decide coverage).
    const double stretch = placed.font->Stretch();
    const double slant = placed.font->Slant();
    const QTransform toLine(placed.ux * stretch, placed.uy * stretch, placed.vx - placed.ux * stretch * slant,
                            placed.vy - placed.uy * stretch * slant, placed.originX + dx - 0.5,
                            placed.originY + dy - 0.5);
    const QColor colour = ToQColor(color);
    int pen = 0;
    for (std::size_t i = 0; i < placed.glyphs.size();) {
        // Glyphs of one face join the text block waiting when they share its
        // font, colour and direction; they are placed from its first glyph.
        const bool joins = pendingText_ && pendingText_->font == fonts[i] && pendingText_->colour == colour &&
            SameDirection(pendingText_->toLine, toLine);
        if (!joins) {
            FlushText();
            pendingText_ = std::make_unique<PendingText>(PendingText{fonts[i], colour, toLine, {}, {}});
        }
        const QPointF shift = joins ? GlyphSpaceShift(pendingText_->toLine, toLine) : QPointF();
        for (const FontFace* face = placed.glyphs[i].face; i < placed.glyphs.size() && placed.glyphs[i].face == face;
             ++i) {
            pendingText_->indexes.push_back(placed.glyphs[i].glyph);
            pendingText_->positions.push_back(shift + QPointF(pen / stretch + slant * m.ascent, m.ascent));
            pen += placed.glyphs[i].advance;
        }
    }
    return true;
}

void PainterDeviceContext::ClipChanged(const Region* effective)
{
    if (!painter_ || !painter_->isActive())
        return;
    FlushText();
    if (effective ? appliedClip_ == *effective : !appliedClip_)
        return;
    appliedClip_ = effective ? std::optional<Region>(*effective) : std::nullopt;
    if (!effective) {
        painter_->setClipping(false);
        clipBounds_.reset();
        return;
    }
    QRegion region;
    for (const Rect& r : effective->Rects())
        region += QRect(r.left, r.top, r.Width(), r.Height());
    painter_->setClipRegion(region);
    clipBounds_ = effective->Bounds();
}

} // namespace lx
