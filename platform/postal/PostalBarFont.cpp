#include "platform/postal/PostalBarFont.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/fonts/FontEngine.h"
#include "platform/postal/CustomerBarcode.h"

namespace lx {

namespace {

constexpr int kUnit = kPostalBarWidthUnits;
constexpr int kPitch = 2 * kUnit;
constexpr int kBarTop = 6 * kUnit;
constexpr int kAscent = kBarTop + kUnit / 2;
constexpr int kDescent = kUnit / 2;

struct GlyphRect {
    int x0, y0, x1, y1;
};

// One glyph: the character it is mapped from, its bars, its advance.
struct BarGlyph {
    char code;
    std::vector<GlyphRect> bars;
    int advance = 0;
};

GlyphRect BarRect(PostalBar bar, int x)
{
    switch (bar) {
    case PostalBar::Long: return {x, 0, x + kUnit, kBarTop};
    case PostalBar::Ascender: return {x, 2 * kUnit, x + kUnit, kBarTop};
    case PostalBar::Descender: return {x, 0, x + kUnit, 4 * kUnit};
    case PostalBar::Timing: break;
    }
    return {x, 2 * kUnit, x + kUnit, 4 * kUnit};
}

BarGlyph MakeGlyph(char code, int symbol)
{
    BarGlyph glyph{code, {}, 0};
    for (char bar : PostalSymbolBars(symbol)) {
        glyph.bars.push_back(BarRect(static_cast<PostalBar>(bar), glyph.advance));
        glyph.advance += kPitch;
    }
    return glyph;
}

// Glyph 0 (.notdef) is empty; then one glyph per mapped character, in code order.
std::vector<BarGlyph> Glyphs()
{
    std::vector<BarGlyph> glyphs;
    glyphs.push_back({0, {}, kPitch});
    glyphs.push_back(MakeGlyph(kCustomerBarcodeCharset[0], kPostalStart));
    glyphs.push_back(MakeGlyph(kCustomerBarcodeCharset[1], kPostalStop));
    glyphs.push_back(MakeGlyph('-', kPostalHyphen));
    for (int d = 0; d <= 9; ++d)
        glyphs.push_back(MakeGlyph(static_cast<char>('0' + d), d));
    for (int k = 0; k < 8; ++k)
        glyphs.push_back(MakeGlyph(kCustomerBarcodeCharset[2 + k], kPostalCc1 + k));
    std::sort(glyphs.begin() + 1, glyphs.end(), [](const BarGlyph& a, const BarGlyph& b) { return a.code < b.code; });
    return glyphs;
}

// Big-endian table writer.
class Table {
public:
    void U8(int v) { bytes_ += static_cast<char>(v & 0xFF); }
    void U16(int v)
    {
        U8(v >> 8);
        U8(v);
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<int>(v >> 16));
        U16(static_cast<int>(v & 0xFFFF));
    }
    void Zeros(int n) { bytes_.append(static_cast<std::size_t>(n), '\0'); }
    void Align4()
    {
        while (bytes_.size() % 4)
            U8(0);
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::string& Bytes() const { return bytes_; }
    void Append(const std::string& bytes) { bytes_ += bytes; }

private:
    std::string bytes_;
};

std::uint32_t CheckSum(const std::string& table)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < table.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < table.size() ? static_cast<unsigned char>(table[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

// A simple glyph of rectangles, each a clockwise contour of four on-curve points.
std::string GlyphData(const BarGlyph& glyph)
{
    Table t;
    if (glyph.bars.empty())
        return {};
    t.U16(static_cast<int>(glyph.bars.size()));
    t.U16(glyph.bars.front().x0);
    t.U16(0);
    t.U16(glyph.bars.back().x1);
    t.U16(kBarTop);
    for (std::size_t i = 0; i < glyph.bars.size(); ++i)
        t.U16(static_cast<int>(i * 4 + 3));
    t.U16(0); // no instructions
    for (std::size_t i = 0; i < glyph.bars.size() * 4; ++i)
        t.U8(0x01); // on curve, 16-bit deltas
    std::vector<std::pair<int, int>> points;
    for (const GlyphRect& r : glyph.bars)
        points.insert(points.end(), {{r.x0, r.y0}, {r.x0, r.y1}, {r.x1, r.y1}, {r.x1, r.y0}});
    int last = 0;
    for (const auto& p : points) {
        t.U16(p.first - last);
        last = p.first;
    }
    last = 0;
    for (const auto& p : points) {
        t.U16(p.second - last);
        last = p.second;
    }
    return t.Bytes();
}

std::string CmapTable(const std::vector<BarGlyph>& glyphs)
{
    // Format 4, one segment per character and the closing 0xFFFF segment.
    const int segments = static_cast<int>(glyphs.size());
    int searchRange = 2;
    int entrySelector = 0;
    while (searchRange * 2 <= segments * 2) {
        searchRange *= 2;
        ++entrySelector;
    }
    Table sub;
    sub.U16(4);
    sub.U16(16 + 8 * segments);
    sub.U16(0);
    sub.U16(segments * 2);
    sub.U16(searchRange);
    sub.U16(entrySelector);
    sub.U16(segments * 2 - searchRange);
    for (std::size_t g = 1; g < glyphs.size(); ++g)
        sub.U16(static_cast<unsigned char>(glyphs[g].code));
    sub.U16(0xFFFF);
    sub.U16(0);
    for (std::size_t g = 1; g < glyphs.size(); ++g)
        sub.U16(static_cast<unsigned char>(glyphs[g].code));
    sub.U16(0xFFFF);
    for (std::size_t g = 1; g < glyphs.size(); ++g)
        sub.U16(static_cast<int>(g) - static_cast<unsigned char>(glyphs[g].code));
    sub.U16(1);
    sub.Zeros(2 * segments); // idRangeOffset
    Table cmap;
    cmap.U16(0);
    cmap.U16(1);
    cmap.U16(3); // Windows
    cmap.U16(1); // Unicode BMP
    cmap.U32(12);
    cmap.Append(sub.Bytes());
    return cmap.Bytes();
}

std::string HeadTable(int xMax)
{
    Table t;
    t.U32(0x00010000);
    t.U32(0x00010000);
    t.U32(0); // checkSumAdjustment
    t.U32(0x5F0F3CF5);
    t.U16(0x000B);
    t.U16(kPostalBarFontUnitsPerEm);
    t.Zeros(16); // created, modified
    t.U16(0);
    t.U16(0);
    t.U16(xMax);
    t.U16(kBarTop);
    t.U16(0); // macStyle
    t.U16(8);
    t.U16(2);
    t.U16(1); // long loca offsets
    t.U16(0);
    return t.Bytes();
}

std::string HheaTable(int advanceMax, int xMax, int glyphCount)
{
    Table t;
    t.U32(0x00010000);
    t.U16(kAscent);
    t.U16(-kDescent);
    t.U16(0);
    t.U16(advanceMax);
    t.U16(0);
    t.U16(kUnit);
    t.U16(xMax);
    t.U16(1);
    t.U16(0);
    t.Zeros(10); // caret offset, reserved
    t.U16(0);
    t.U16(glyphCount);
    return t.Bytes();
}

std::string MaxpTable(int glyphCount, int maxContours)
{
    Table t;
    t.U32(0x00010000);
    t.U16(glyphCount);
    t.U16(maxContours * 4);
    t.U16(maxContours);
    t.Zeros(4);
    t.U16(2); // maxZones
    t.Zeros(16);
    return t.Bytes();
}

std::string Assemble(std::vector<std::pair<std::string, std::string>> tables)
{
    std::sort(tables.begin(), tables.end());
    const int count = static_cast<int>(tables.size());
    int searchRange = 1;
    int entrySelector = 0;
    while (searchRange * 2 <= count) {
        searchRange *= 2;
        ++entrySelector;
    }
    Table file;
    file.U32(0x00010000);
    file.U16(count);
    file.U16(searchRange * 16);
    file.U16(entrySelector);
    file.U16(count * 16 - searchRange * 16);
    std::uint32_t offset = static_cast<std::uint32_t>(12 + 16 * count);
    for (const auto& [tag, data] : tables) {
        file.Append(tag);
        file.U32(CheckSum(data));
        file.U32(offset);
        file.U32(static_cast<std::uint32_t>(data.size()));
        offset += static_cast<std::uint32_t>((data.size() + 3) / 4 * 4);
    }
    for (const auto& entry : tables) {
        file.Append(entry.second);
        file.Align4();
    }
    return file.Bytes();
}

} // namespace

std::string PostalBarFontFile()
{
    const std::vector<BarGlyph> glyphs = Glyphs();
    Table glyf;
    Table loca;
    Table hmtx;
    int advanceMax = 0;
    int xMax = 0;
    int maxContours = 0;
    for (const BarGlyph& glyph : glyphs) {
        loca.U32(static_cast<std::uint32_t>(glyf.Size()));
        glyf.Append(GlyphData(glyph));
        glyf.Align4();
        hmtx.U16(glyph.advance);
        hmtx.U16(0);
        advanceMax = std::max(advanceMax, glyph.advance);
        if (!glyph.bars.empty())
            xMax = std::max(xMax, glyph.bars.back().x1);
        maxContours = std::max(maxContours, static_cast<int>(glyph.bars.size()));
    }
    loca.U32(static_cast<std::uint32_t>(glyf.Size()));
    const int count = static_cast<int>(glyphs.size());
    return Assemble({{"cmap", CmapTable(glyphs)},
                     {"glyf", glyf.Bytes()},
                     {"head", HeadTable(xMax)},
                     {"hhea", HheaTable(advanceMax, xMax, count)},
                     {"hmtx", hmtx.Bytes()},
                     {"loca", loca.Bytes()},
                     {"maxp", MaxpTable(count, maxContours)}});
}

namespace {
// Known to the font layer as soon as the library is loaded, as an installed
// font would be.
[[maybe_unused]] const bool fontRegistered = [] {
    RegisterFontData(std::string(kPostalBarFontFace), PostalBarFontFile());
    return true;
}();
} // namespace

} // namespace lx
