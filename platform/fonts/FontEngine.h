#pragma once
// Fonts realised at a device pixel size: metrics, integer advances and glyph
// outlines, read from the font files through fontconfig and HarfBuzz so that
// measurement depends only on the font and the pixel height.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/DevicePath.h"
#include "platform/gdi/GdiTypes.h"

namespace lx {

class FontFace;

// Metrics in whole device pixels, as a text metric record gives them.
struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0; // ascent + descent: the cell height
    int internalLeading = 0; // height - em
    int aveCharWidth = 0;
    double em = 0; // pixels per em (may be fractional for cell heights)
    double underlineOffset = 0; // below the baseline
    double underlineSize = 1;
    double strikeOffset = 0; // above the baseline
    double strikeSize = 1;
};

// One character of a laid-out string.
struct GlyphSlot {
    const FontFace* face = nullptr;
    unsigned glyph = 0;
    int advance = 0; // whole device pixels along the line
    bool upright = false; // full-width glyph of a vertical "@" face
};

// Where a line of glyphs lies in device space: it starts at the origin (the
// top of the cell on the reference line), goes along the unit vector
// (ux, uy), and the cell grows along (vx, vy).
struct GlyphFrame {
    double originX = 0;
    double originY = 0;
    double ux = 1;
    double uy = 0;
    double vx = 0;
    double vy = 1;

    // The device point `along` the line and `across` it from the origin.
    PathPoint At(double along, double across, std::uint8_t type) const
    {
        return {originX + along * ux + across * vx, originY + along * uy + across * vy, type};
    }
};

// A logical font at one device scale. Cheap to get: instances are cached by
// their logical font and scale.
class ScaledFont {
public:
    // scaleX, scaleY: device pixels per logical unit (absolute values).
    static std::shared_ptr<const ScaledFont> Get(const LogFont& font, double scaleX, double scaleY);

    const FontMetrics& Metrics() const { return metrics_; }
    bool Vertical() const { return vertical_; }
    // Decodes the bytes by the font's character set (CP932 for every set but
    // the symbol set, whose bytes are glyph codes) and lays them out.
    std::vector<GlyphSlot> Layout(std::string_view bytes) const;
    int TextWidth(std::string_view bytes) const;

    // Appends the outline of one glyph of the line in `frame`; `pen` is the
    // distance along the line.
    void AppendGlyph(const GlyphSlot& slot, const GlyphFrame& frame, double pen, DevicePath& out) const;
    // Thickness in pixels by which glyphs are emboldened when the face has
    // no bold of its own (0 when it has).
    double SyntheticBold() const { return syntheticBold_; }
    // Horizontal factor over the vertical scale, and the synthetic slant
    // (x grows by slant x y) of faces without an italic.
    double Stretch() const { return stretch_; }
    double Slant() const { return slant_; }

    ScaledFont(const LogFont& font, double scaleX, double scaleY);

private:
    const FontFace* face_ = nullptr;
    const FontFace* fallback_ = nullptr;
    std::uint8_t charSet_ = 0;
    bool vertical_ = false;
    double pixelsPerUnit_ = 0; // vertical scale from font units to pixels
    double stretch_ = 1; // horizontal factor over the vertical scale
    double slant_ = 0;
    double syntheticBold_ = 0;
    FontMetrics metrics_;
};

// The font file a glyph's face was read from and the face's index in it;
// empty for a face registered from memory.
const std::string& FaceFilePath(const FontFace* face);
int FaceFileIndex(const FontFace* face);

// The default height of a logical font whose height is 0: a 16-pixel cell.
constexpr int kDefaultFontCellHeight = 16;

// Loads the shipped font configuration (the Japanese face-name aliases)
// into fontconfig. Runs once by itself when the application object is made
// (so Qt's font database sees it) or at the first font of a program without
// one; callable again at no cost.
void InstallFontConfiguration();

// Makes a font file held in memory the face of a family name (UTF-8, ASCII
// letters compared without case), ahead of every installed font. Register
// before the name is first used: realised fonts are cached.
void RegisterFontData(const std::string& utf8Family, std::string fontFile);

// The family fontconfig picks for a face name (UTF-8), e.g. "IPAGothic" for
// "ＭＳ ゴシック".
std::string ResolvedFamily(const std::string& utf8Face);
// The font file it comes from.
std::string ResolvedFontFile(const std::string& utf8Face);

} // namespace lx
