#include "platform/fonts/FaceList.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>

#include "platform/fonts/FontEngine.h"
#include "platform/text/Cp932.h"

namespace lx {

namespace {

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The name a Japanese desktop shows: the Japanese family name when the font
// has one, else its first.
std::string FamilyName(FcPattern* font)
{
    FcChar8* name = nullptr;
    FcChar8* lang = nullptr;
    std::string chosen;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (i == 0)
            chosen = reinterpret_cast<const char*>(name);
        if (FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(lang), "ja") == 0)
            return reinterpret_cast<const char*>(name);
    }
    return chosen;
}

bool CoversJapanese(FcPattern* font)
{
    FcLangSet* langs = nullptr;
    return FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch &&
        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

bool IsTrueType(FcPattern* font)
{
    FcChar8* format = nullptr;
    if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch)
        return false;
    const std::string f = reinterpret_cast<const char*>(format);
    return f == "TrueType" || f == "CFF";
}

std::vector<std::string> BuildFaceList()
{
    InstallFontConfiguration();
    std::vector<std::string> entries;
    auto add = [&](const std::string& cp932Face, int charset) {
        // A face name longer than a logical font holds cannot be selected.
        if (cp932Face.empty() || cp932Face.size() > 31)
            return;
        entries.push_back(cp932Face + ":" + std::to_string(charset));
        if (charset == 128 && cp932Face.size() < 31)
            entries.push_back("@" + cp932Face + ":128");
    };
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FONTFORMAT, FC_LANG, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        if (!IsTrueType(font))
            continue;
        const std::string name = Utf8ToCp932(FamilyName(font));
        if (name.find('?') != std::string::npos)
            continue;
        add(name, CoversJapanese(font) ? 128 : 0);
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    for (const char* alias : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"})
        add(Sjis(alias), 128);
    add("Arial", 0);
    std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return FaceNameLess(a, b) || (!FaceNameLess(b, a) && a < b);
    });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const std::string& a, const std::string& b) {
                                  return !FaceNameLess(a, b) && !FaceNameLess(b, a);
                              }),
                  entries.end());
    return entries;
}

} // namespace

bool FaceNameLess(std::string_view a, std::string_view b)
{
    // Trail bytes of double-byte characters may look like letters: only
    // single-byte characters fold.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t na = CharLength(a, i);
        const std::size_t nb = CharLength(b, j);
        for (std::size_t k = 0; k < std::max(na, nb); ++k) {
            const unsigned x = k < na ? static_cast<unsigned char>(na == 1 ? Fold(a[i]) : a[i + k]) : 0u;
            const unsigned y = k < nb ? static_cast<unsigned char>(nb == 1 ? Fold(b[j]) : b[j + k]) : 0u;
            if (x != y)
                return x < y;
        }
        i += na;
        j += nb;
    }
    return a.size() - i < b.size() - j;
}

const std::vector<std::string>& TrueTypeFaceList()
{
    static const std::vector<std::string> list = BuildFaceList();
    return list;
}

} // namespace lx
