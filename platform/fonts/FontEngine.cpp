#include "platform/fonts/FontEngine.h"

#include <QCoreApplication>
#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

#include "LxFontsConf.h"
#include "platform/text/Cp932.h"

namespace lx {

namespace {

int RoundPx(double v) { return static_cast<int>(std::floor(v + 0.5)); }

std::once_flag configOnce;

// Loaded as the application object is made, before Qt's font database asks
// fontconfig; programs without one load it at their first font.
void InstallAtApplicationStart() { InstallFontConfiguration(); }
Q_COREAPP_STARTUP_FUNCTION(InstallAtApplicationStart)

} // namespace

void InstallFontConfiguration()
{
    std::call_once(configOnce, [] {
        FcConfig* config = FcInitLoadConfig();
        if (!config)
            return;
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kLxFontsConf), FcTrue);
        FcConfigBuildFonts(config);
        FcConfigSetCurrent(config);
        FcConfigDestroy(config); // the current configuration keeps its own reference
    });
}

// One font file with its HarfBuzz objects and outlines in font units.
class FontFace {
public:
    FontFace(const std::string& path, int index) : path_(path), index_(index)
    {
        Load(hb_blob_create_from_file(path.c_str()), index);
    }
    // A font file held in memory by the face itself.
    explicit FontFace(std::string data) : data_(std::move(data))
    {
        Load(hb_blob_create(data_.data(), static_cast<unsigned>(data_.size()), HB_MEMORY_MODE_READONLY, nullptr,
                            nullptr),
             0);
    }
    ~FontFace()
    {
        hb_draw_funcs_destroy(drawFuncs_);
        hb_font_destroy(font_);
        hb_face_destroy(face_);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    int Upem() const { return upem_; }
    double Ascent() const { return ascent_; }
    double Descent() const { return descent_; }
    double UnderlineOffset() const { return -underlineOffset_; }
    double UnderlineSize() const { return underlineSize_; }
    double StrikeOffset() const { return strikeOffset_; }
    double StrikeSize() const { return strikeSize_; }
    double AverageWidth() const { return averageWidth_; }
    const std::string& Path() const { return path_; }
    int Index() const { return index_; }

private:
    void Load(hb_blob_t* blob, int index)
    {
        face_ = hb_face_create(blob, static_cast<unsigned>(index));
        hb_blob_destroy(blob);
        font_ = hb_font_create(face_);
        upem_ = static_cast<int>(hb_face_get_upem(face_));
        hb_font_set_scale(font_, upem_, upem_);
        hb_position_t value = 0;
        ascent_ = hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_HORIZONTAL_CLIPPING_ASCENT, &value) && value > 0
            ? value
            : Extents().first;
        descent_ = hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_HORIZONTAL_CLIPPING_DESCENT, &value) && value > 0
            ? value
            : Extents().second;
        if (ascent_ + descent_ <= 0) {
            ascent_ = upem_ * 0.88;
            descent_ = upem_ * 0.12;
        }
        underlineOffset_ = Metric(HB_OT_METRICS_TAG_UNDERLINE_OFFSET, -upem_ / 10);
        underlineSize_ = Metric(HB_OT_METRICS_TAG_UNDERLINE_SIZE, upem_ / 20);
        strikeOffset_ = Metric(HB_OT_METRICS_TAG_STRIKEOUT_OFFSET, upem_ * 0.3);
        strikeSize_ = Metric(HB_OT_METRICS_TAG_STRIKEOUT_SIZE, upem_ / 20);
        averageWidth_ = ReadAverageWidth();
        drawFuncs_ = MakeDrawFuncs();
    }

public:
    unsigned Glyph(std::uint32_t codepoint) const
    {
        hb_codepoint_t glyph = 0;
        return hb_font_get_nominal_glyph(font_, codepoint, &glyph) ? glyph : 0;
    }
    // The glyph after the vertical-forms substitution of the face.
    unsigned VerticalGlyph(std::uint32_t codepoint) const
    {
        hb_buffer_t* buffer = hb_buffer_create();
        hb_buffer_add_utf32(buffer, &codepoint, 1, 0, 1);
        hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
        hb_buffer_guess_segment_properties(buffer);
        const hb_feature_t vert{HB_TAG('v', 'e', 'r', 't'), 1, 0, static_cast<unsigned>(-1)};
        hb_shape(font_, buffer, &vert, 1);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const unsigned glyph = count == 1 ? info[0].codepoint : Glyph(codepoint);
        hb_buffer_destroy(buffer);
        return glyph;
    }
    double Advance(unsigned glyph) const { return hb_font_get_glyph_h_advance(font_, glyph); }
    std::pair<double, double> VerticalOrigin(unsigned glyph) const
    {
        hb_position_t x = 0;
        hb_position_t y = 0;
        hb_font_get_glyph_v_origin(font_, glyph, &x, &y);
        return {static_cast<double>(x), static_cast<double>(y)};
    }

    // Outline in font units (y up), Beziers as cubic segments.
    const DevicePath& Outline(unsigned glyph) const
    {
        std::lock_guard lock(mutex_);
        auto it = outlines_.find(glyph);
        if (it != outlines_.end())
            return it->second;
        DevicePath path;
        hb_font_get_glyph_shape(font_, glyph, drawFuncs_, &path);
        return outlines_.emplace(glyph, std::move(path)).first->second;
    }

private:
    double Metric(hb_ot_metrics_tag_t tag, double fallback) const
    {
        hb_position_t value = 0;
        return hb_ot_metrics_get_position(font_, tag, &value) ? value : fallback;
    }
    std::pair<double, double> Extents() const
    {
        hb_font_extents_t extents{};
        hb_font_get_h_extents(font_, &extents);
        return {static_cast<double>(extents.ascender), static_cast<double>(-extents.descender)};
    }
    double ReadAverageWidth() const
    {
        hb_blob_t* os2 = hb_face_reference_table(face_, HB_TAG('O', 'S', '/', '2'));
        unsigned length = 0;
        const char* data = hb_blob_get_data(os2, &length);
        double width = 0;
        if (length >= 4)
            width = static_cast<std::int16_t>((static_cast<unsigned char>(data[2]) << 8) |
                                              static_cast<unsigned char>(data[3]));
        hb_blob_destroy(os2);
        return width > 0 ? width : upem_ / 2.0;
    }

    static DevicePath& PathOf(void* data) { return *static_cast<DevicePath*>(data); }
    static hb_draw_funcs_t* MakeDrawFuncs()
    {
        hb_draw_funcs_t* funcs = hb_draw_funcs_create();
        hb_draw_funcs_set_move_to_func(
            funcs,
            [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
                PathOf(data).push_back({x, y, kPtMoveTo});
            },
            nullptr, nullptr);
        hb_draw_funcs_set_line_to_func(
            funcs,
            [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
                PathOf(data).push_back({x, y, kPtLineTo});
            },
            nullptr, nullptr);
        hb_draw_funcs_set_quadratic_to_func(
            funcs,
            [](hb_draw_funcs_t*, void* data, hb_draw_state_t* st, float cx, float cy, float x, float y, void*) {
                // A quadratic segment is the cubic with control points two
                // thirds of the way to the quadratic control point.
                const double x0 = st->current_x;
                const double y0 = st->current_y;
                DevicePath& path = PathOf(data);
                path.push_back({x0 + 2.0 / 3.0 * (cx - x0), y0 + 2.0 / 3.0 * (cy - y0), kPtBezierTo});
                path.push_back({x + 2.0 / 3.0 * (cx - x), y + 2.0 / 3.0 * (cy - y), kPtBezierTo});
                path.push_back({x, y, kPtBezierTo});
            },
            nullptr, nullptr);
        hb_draw_funcs_set_cubic_to_func(
            funcs,
            [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float c1x, float c1y, float c2x, float c2y, float x,
               float y, void*) {
                DevicePath& path = PathOf(data);
                path.push_back({c1x, c1y, kPtBezierTo});
                path.push_back({c2x, c2y, kPtBezierTo});
                path.push_back({x, y, kPtBezierTo});
            },
            nullptr, nullptr);
        hb_draw_funcs_set_close_path_func(
            funcs,
            [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, void*) {
                DevicePath& path = PathOf(data);
                if (!path.empty())
                    path.back().type |= kPtCloseFigure;
            },
            nullptr, nullptr);
        hb_draw_funcs_make_immutable(funcs);
        return funcs;
    }

    std::string data_; // the file of a face made from memory
    hb_face_t* face_ = nullptr;
    hb_font_t* font_ = nullptr;
    hb_draw_funcs_t* drawFuncs_ = nullptr;
    int upem_ = 1000;
    double ascent_ = 0;
    double descent_ = 0;
    double underlineOffset_ = 0;
    double underlineSize_ = 0;
    double strikeOffset_ = 0;
    double strikeSize_ = 0;
    double averageWidth_ = 0;
    mutable std::mutex mutex_;
    mutable std::unordered_map<unsigned, DevicePath> outlines_;
    std::string path_; // empty for a face held in memory
    int index_ = 0;
};

const std::string& FaceFilePath(const FontFace* face)
{
    static const std::string none;
    return face ? face->Path() : none;
}

int FaceFileIndex(const FontFace* face) { return face ? face->Index() : 0; }

namespace {

// A face name resolved through fontconfig.
struct FaceMatch {
    const FontFace* face = nullptr;
    bool needsBold = false;
    bool needsItalic = false;
};

std::mutex cacheMutex;

const FontFace* FaceForFile(const std::string& path, int index)
{
    static std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces;
    auto& slot = faces[{path, index}];
    if (!slot)
        slot = std::make_unique<FontFace>(path, index);
    return slot.get();
}

FcPattern* MatchPattern(const std::string& utf8Family, bool bold, bool italic, const char* lang)
{
    InstallFontConfiguration();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8Family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (lang)
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Faces registered from memory, by their family name in lower case.
std::map<std::string, std::unique_ptr<FontFace>>& MemoryFaces()
{
    static std::map<std::string, std::unique_ptr<FontFace>> faces;
    return faces;
}

// Caller holds cacheMutex.
FaceMatch MatchFace(const std::string& utf8Family, bool bold, bool italic, const char* lang = nullptr)
{
    if (const auto memory = MemoryFaces().find(AsciiLower(utf8Family)); memory != MemoryFaces().end())
        return {memory->second.get(), bold, italic};
    static std::map<std::tuple<std::string, bool, bool, bool>, FaceMatch> matches;
    const auto key = std::make_tuple(utf8Family, bold, italic, lang != nullptr);
    auto it = matches.find(key);
    if (it != matches.end())
        return it->second;
    FaceMatch found;
    if (FcPattern* match = MatchPattern(utf8Family, bold, italic, lang)) {
        FcChar8* file = nullptr;
        int index = 0;
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            found.face = FaceForFile(reinterpret_cast<const char*>(file), index);
            // The system configuration marks faces it would embolden or slant.
            FcBool embolden = FcFalse;
            FcMatrix* matrix = nullptr;
            FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
            const bool sheared = FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix->xy != 0;
            found.needsBold = bold && (weight < FC_WEIGHT_DEMIBOLD || embolden);
            found.needsItalic = italic && (slant == FC_SLANT_ROMAN || sheared);
        }
        FcPatternDestroy(match);
    }
    matches.emplace(key, found);
    return found;
}

std::string FontKey(const LogFont& f, double sx, double sy)
{
    std::string key = f.faceName;
    for (long v : {long(f.height), long(f.width), long(f.escapement), long(f.weight), long(f.italic), long(f.charSet),
                   std::lround(sx * 1e6), std::lround(sy * 1e6)}) {
        key += '\x1F';
        key += std::to_string(v);
    }
    return key;
}

std::u32string DecodeText(std::string_view character)
{
    const std::u16string utf16 = Cp932ToUtf16(character);
    std::u32string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size())
            out += static_cast<char32_t>(0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00));
        else
            out += static_cast<char32_t>(c);
    }
    return out;
}

// The code points of one CP932 character (one or two bytes); characters
// are met again and again while text is laid out, so each is decoded once.
std::u32string Decode(std::string_view character)
{
    constexpr char32_t kNotYet = 0xFFFFFFFF;
    constexpr char32_t kNotOne = 0xFFFFFFFE; // not a single code point
    thread_local std::vector<char32_t> known(256 + 65536, kNotYet);
    if (character.empty() || character.size() > 2)
        return DecodeText(character);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(character[i]); };
    const std::size_t key = character.size() == 1 ? byte(0) : 256 + (std::size_t{byte(0)} << 8 | byte(1));
    char32_t& cp = known[key];
    if (cp == kNotYet) {
        const std::u32string decoded = DecodeText(character);
        cp = decoded.size() == 1 ? decoded[0] : kNotOne;
    }
    return cp == kNotOne ? DecodeText(character) : std::u32string(1, cp);
}

} // namespace

namespace {
std::string MatchedString(const std::string& utf8Face, const char* property)
{
    std::string value;
    if (FcPattern* match = MatchPattern(utf8Face, false, false, nullptr)) {
        FcChar8* text = nullptr;
        if (FcPatternGetString(match, property, 0, &text) == FcResultMatch)
            value = reinterpret_cast<const char*>(text);
        FcPatternDestroy(match);
    }
    return value;
}
} // namespace

void RegisterFontData(const std::string& utf8Family, std::string fontFile)
{
    std::lock_guard lock(cacheMutex);
    MemoryFaces()[AsciiLower(utf8Family)] = std::make_unique<FontFace>(std::move(fontFile));
}

std::string ResolvedFamily(const std::string& utf8Face) { return MatchedString(utf8Face, FC_FAMILY); }
std::string ResolvedFontFile(const std::string& utf8Face) { return MatchedString(utf8Face, FC_FILE); }

ScaledFont::ScaledFont(const LogFont& font, double scaleX, double scaleY) : charSet_(font.charSet)
{
    std::string face = font.faceName;
    vertical_ = !face.empty() && face[0] == '@';
    if (vertical_)
        face.erase(0, 1);
    const bool bold = font.weight >= 600;
    const FaceMatch match = MatchFace(Cp932ToUtf8(face), bold, font.italic);
    face_ = match.face;
    fallback_ = MatchFace("sans-serif", bold, font.italic, "ja").face;
    if (!face_)
        face_ = fallback_;
    if (!face_)
        return;
    const double unitsTall = face_->Ascent() + face_->Descent();
    // Negative heights give the em, positive ones the whole cell.
    const int logicalCell = font.height == 0 ? kDefaultFontCellHeight : font.height;
    // Heights beyond what any page shows are held at a bound.
    const int heightPx =
        static_cast<int>(std::clamp(std::floor(std::abs(double(logicalCell)) * scaleY + 0.5), 1.0, 16384.0));
    const double em = logicalCell < 0 ? heightPx : heightPx * face_->Upem() / unitsTall;
    pixelsPerUnit_ = em / face_->Upem();
    metrics_.em = em;
    metrics_.ascent = RoundPx(face_->Ascent() * pixelsPerUnit_);
    metrics_.descent = logicalCell < 0 ? RoundPx(face_->Descent() * pixelsPerUnit_) : heightPx - metrics_.ascent;
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.internalLeading = metrics_.height - RoundPx(em);
    const double naturalWidth = face_->AverageWidth() * pixelsPerUnit_;
    stretch_ =
        std::clamp(font.width != 0 ? std::abs(double(font.width)) * scaleX / naturalWidth : scaleX / scaleY, 1e-3, 1e3);
    metrics_.aveCharWidth = RoundPx(naturalWidth * stretch_);
    metrics_.underlineOffset = face_->UnderlineOffset() * pixelsPerUnit_;
    metrics_.underlineSize = std::max(1.0, std::round(face_->UnderlineSize() * pixelsPerUnit_));
    metrics_.strikeOffset = face_->StrikeOffset() * pixelsPerUnit_;
    metrics_.strikeSize = std::max(1.0, std::round(face_->StrikeSize() * pixelsPerUnit_));
    slant_ = match.needsItalic ? 0.2 : 0.0;
    syntheticBold_ = match.needsBold ? std::max(1.0, std::round(em / 24.0)) : 0.0;
}

std::shared_ptr<const ScaledFont> ScaledFont::Get(const LogFont& font, double scaleX, double scaleY)
{
    static std::unordered_map<std::string, std::shared_ptr<const ScaledFont>> cache;
    const std::string key = FontKey(font, scaleX, scaleY);
    std::lock_guard lock(cacheMutex);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    if (cache.size() > 4096)
        cache.clear();
    auto scaled = std::make_shared<const ScaledFont>(font, scaleX, scaleY);
    cache.emplace(key, scaled);
    return scaled;
}

std::vector<GlyphSlot> ScaledFont::Layout(std::string_view bytes) const
{
    std::vector<GlyphSlot> laidOut;
    if (!face_)
        return laidOut;
    auto place = [&](std::u32string_view codepoints, bool wide) {
        for (char32_t cp : codepoints) {
            GlyphSlot slot;
            slot.upright = vertical_ && wide;
            slot.face = face_;
            slot.glyph = slot.upright ? face_->VerticalGlyph(cp) : face_->Glyph(cp);
            if (slot.glyph == 0 && fallback_ && fallback_ != face_ && cp >= 0x20) {
                const unsigned other = slot.upright ? fallback_->VerticalGlyph(cp) : fallback_->Glyph(cp);
                if (other != 0) {
                    slot.face = fallback_;
                    slot.glyph = other;
                }
            }
            const double unitsToPx = metrics_.em / slot.face->Upem();
            slot.advance = RoundPx(slot.face->Advance(slot.glyph) * unitsToPx * stretch_);
            if (cp < 0x20)
                slot.face = nullptr; // control characters take room but draw nothing
            laidOut.push_back(slot);
        }
    };
    if (charSet_ == kSymbolCharset) {
        for (unsigned char b : bytes) {
            const char32_t cp = face_->Glyph(b) != 0 || face_->Glyph(0xF000 + b) == 0 ? b : 0xF000 + b;
            place(std::u32string_view(&cp, 1), false);
        }
    } else {
        ForEachChar(bytes, [&](std::string_view character) { place(Decode(character), character.size() == 2); });
    }
    return laidOut;
}

int ScaledFont::TextWidth(std::string_view bytes) const
{
    int width = 0;
    for (const GlyphSlot& slot : Layout(bytes))
        width += slot.advance;
    return width;
}

void ScaledFont::AppendGlyph(const GlyphSlot& slot, const GlyphFrame& frame, double pen, DevicePath& out) const
{
    if (!slot.face)
        return;
    const double s = metrics_.em / slot.face->Upem();
    const DevicePath& outline = slot.face->Outline(slot.glyph);
    double alongBase = pen;
    double acrossBase = metrics_.ascent;
    double vox = 0;
    double voy = 0;
    if (slot.upright) {
        std::tie(vox, voy) = slot.face->VerticalOrigin(slot.glyph);
        // Whole pixels, so that an upright glyph rasterises exactly as the
        // same glyph in a horizontal line.
        alongBase = pen + std::floor(voy * s + 0.5);
        acrossBase = std::floor(metrics_.height / 2.0 + vox * s * stretch_ + 0.5);
    }
    for (const PathPoint& p : outline) {
        double along = 0;
        double across = 0;
        if (slot.upright) {
            // Rotated a quarter turn against the line, so that it stands
            // upright when the line goes down the page.
            along = alongBase - p.y * s;
            across = acrossBase - p.x * s * stretch_;
        } else {
            along = pen + (p.x + slant_ * p.y) * s * stretch_;
            across = acrossBase - p.y * s;
        }
        out.push_back(frame.At(along, across, p.type));
    }
}

} // namespace lx
