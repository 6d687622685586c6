#include "platform/text/EncodingGuess.h"

#include "platform/text/Cp932.h"

#include <algorithm>

namespace lx {

namespace {

struct Signs {
    int strongUtf8 = 0;
    int weakUtf8 = 0;
    int strongCp932 = 0;
    int weakCp932 = 0;
};

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The ASCII byte at pos, or 0 outside the text (a byte of a run is never
// looked at here: runs end where ASCII begins).
unsigned char ByteAt(std::string_view text, std::size_t pos)
{
    return pos < text.size() ? static_cast<unsigned char>(text[pos]) : 0;
}

bool InRange(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

// ---- The UTF-8 reading.

enum class Kind { Latin, Greek, Cyrillic, Sign, Japanese, Combining, KanaSign, Other };

Kind LatinExtendedBKind(char32_t c)
{
    // Vietnamese, pinyin and Romanian letters; the rest of the block stands
    // where half-width kana pairs do.
    const bool used =
        c == 0x1A0 || c == 0x1A1 || c == 0x1AF || c == 0x1B0 || InRange(c, 0x1CD, 0x1DC) || InRange(c, 0x218, 0x21B);
    return used ? Kind::Latin : Kind::KanaSign;
}

Kind GreekKind(char32_t c)
{
    const bool letter =
        c == 0x386 || InRange(c, 0x388, 0x38A) || c == 0x38C || InRange(c, 0x38E, 0x3A1) || InRange(c, 0x3A3, 0x3CE);
    return letter ? Kind::Greek : Kind::KanaSign;
}

// The letters of Russian, which CP932 holds too.
Kind CyrillicKind(char32_t c)
{
    return c == 0x401 || InRange(c, 0x410, 0x44F) || c == 0x451 ? Kind::Cyrillic : Kind::KanaSign;
}

Kind KindOf(char32_t c)
{
    if (c < 0xA0)
        return Kind::KanaSign; // C1 controls
    if (c < 0xC0 || c == 0xD7 || c == 0xF7)
        return Kind::Sign;
    if (c < 0x180)
        return Kind::Latin;
    if (c < 0x250)
        return LatinExtendedBKind(c);
    if (c < 0x300)
        return Kind::KanaSign; // IPA, spacing modifiers
    if (c < 0x370)
        return Kind::Combining;
    if (c < 0x400)
        return GreekKind(c);
    if (c < 0x500)
        return CyrillicKind(c);
    if (c < 0x1E00)
        return Kind::KanaSign; // Armenian, Hebrew, Arabic, Syriac, ... and the scripts of India
    if (c < 0x1F00)
        return Kind::Latin;
    if (c < 0x2000)
        return Kind::Greek;
    if (c < 0x2C00)
        return Kind::Sign; // punctuation, currency, letterlike, arrows, shapes
    if (c < 0x3000)
        return Kind::Other;
    if (c < 0xA000 || InRange(c, 0xF900, 0xFAFF) || InRange(c, 0xFE30, 0xFE4F) || InRange(c, 0xFF00, 0xFFEF))
        return Kind::Japanese;
    if (c < 0xF900)
        return Kind::KanaSign; // Yi, Hangul, private use
    if (InRange(c, 0xFB00, 0xFB06))
        return Kind::Latin;
    if (InRange(c, 0xFE00, 0xFE2F) || c > 0xFFFF)
        return Kind::Other;
    return Kind::KanaSign; // presentation forms of Hebrew and Arabic, specials
}

// Decodes the well-formed sequence at pos and moves past it.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    const int trail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> trail);
    for (int i = 0; i < trail && pos < text.size(); ++i)
        c = (c << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    return c;
}

struct Utf8Run {
    int latin = 0;
    int greek = 0;
    int cyrillic = 0;
    int sign = 0;
    int japanese = 0;
    int kanaSign = 0;
    int other = 0;
};

// A combining mark belongs to the Latin letter before it (decomposed text).
void Count(Utf8Run& run, Kind kind, bool afterLatin)
{
    switch (kind) {
    case Kind::Latin: ++run.latin; break;
    case Kind::Greek: ++run.greek; break;
    case Kind::Cyrillic: ++run.cyrillic; break;
    case Kind::Sign: ++run.sign; break;
    case Kind::Japanese: ++run.japanese; break;
    case Kind::Combining: ++(afterLatin ? run.latin : run.kanaSign); break;
    case Kind::KanaSign: ++run.kanaSign; break;
    case Kind::Other: ++run.other; break;
    }
}

// The ASCII letters beside a run. A CP932 lead byte at the end of a run
// takes the next byte as its second half: a letter there is a letter in one
// reading only, and tells nothing.
struct Neighbours {
    bool letter = false;
    bool halfOfKanji = false;
    bool secondHalfAfter = false;
};

void WeighUtf8Run(const Utf8Run& run, Neighbours beside, Signs& signs)
{
    // One kana or kanji before an ASCII byte that CP932 reads as the second
    // half of a kanji ("ぐ@" is 縺拭) may be either.
    if (run.japanese >= 2 || (run.japanese == 1 && !beside.secondHalfAfter))
        ++signs.strongUtf8;
    else if (run.japanese == 1)
        ++signs.weakUtf8;
    // Russian words are read as such; one or two Cyrillic letters alone are
    // the pairs ﾐｶ, ﾐｷ, ... of kana.
    if (run.kanaSign > 0 || (run.cyrillic > 0 && run.cyrillic < 3))
        ++signs.strongCp932;
    const int western = run.latin + run.greek + run.sign;
    if (beside.letter && western > 0)
        ++signs.weakUtf8;
    else if (run.greek >= 2 && run.greek == western)
        ++signs.weakUtf8;
    else if (!beside.letter && !beside.halfOfKanji && run.latin > 0 && run.latin == western)
        ++signs.weakCp932;
}

// Whether CP932, reading from the run's first byte, takes the byte after the
// run as the second half of a double-byte character.
bool Cp932TakesByteAfter(std::string_view text, std::size_t start, std::size_t end)
{
    std::size_t pos = start;
    while (pos < end)
        pos += IsLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    return pos > end;
}

void WeighUtf8Reading(std::string_view text, Signs& signs)
{
    // The ASCII byte the run before took as a second half, if any.
    std::size_t taken = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const bool before = start > 0 && IsAsciiLetter(ByteAt(text, start - 1));
        const bool beforeTaken = start > 0 && start - 1 == taken;
        Utf8Run run;
        bool afterLatin = before && !beforeTaken;
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) >= 0x80) {
            const Kind kind = KindOf(NextCodePoint(text, pos));
            Count(run, kind, afterLatin);
            afterLatin = kind == Kind::Latin || (kind == Kind::Combining && afterLatin);
        }
        const bool after = IsAsciiLetter(ByteAt(text, pos));
        const bool afterTaken = Cp932TakesByteAfter(text, start, pos);
        if (afterTaken)
            taken = pos;
        const Neighbours beside{(before && !beforeTaken) || (after && !afterTaken),
                                (before && beforeTaken) || (after && afterTaken), afterTaken};
        WeighUtf8Run(run, beside, signs);
    }
}

// ---- The CP932 reading.

bool IsHalfWidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

// User-defined characters (F0-F9) and the NEC-selected copies of the IBM
// extension (ED, EE), which Windows itself never writes.
bool IsUnlikelyLead(unsigned char c) { return (c >= 0xF0 && c <= 0xF9) || c == 0xED || c == 0xEE; }

void WeighCp932Reading(std::string_view text, Signs& signs)
{
    for (std::size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const unsigned char before = pos > 0 ? ByteAt(text, pos - 1) : 0;
        bool half = false;
        bool full = false;
        bool unlikely = false;
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) >= 0x80) {
            const auto c = static_cast<unsigned char>(text[pos]);
            if (IsHalfWidthKana(c)) {
                half = true;
                ++pos;
                continue;
            }
            full = true;
            unlikely = unlikely || IsUnlikelyLead(c);
            pos = std::min(pos + 2, text.size()); // a lead byte and its trail, ASCII or not
        }
        // Half-width kana and a kanji in one word stuck to ASCII letters:
        // "Élodie" read as "ﾃ瑛odie".
        const bool nextToLetter = IsAsciiLetter(before) || IsAsciiLetter(ByteAt(text, pos));
        if (unlikely || (half && full && nextToLetter))
            ++signs.weakUtf8;
        else if (full && !half && !nextToLetter)
            ++signs.weakCp932;
    }
}

std::optional<TextEncoding> OneSided(int utf8, int cp932)
{
    if (utf8 > 0 && cp932 == 0)
        return TextEncoding::Utf8;
    if (cp932 > 0 && utf8 == 0)
        return TextEncoding::Cp932;
    return std::nullopt;
}

} // namespace

std::optional<TextEncoding> EncodingTheCharactersShow(std::string_view text)
{
    Signs signs;
    WeighUtf8Reading(text, signs);
    WeighCp932Reading(text, signs);
    if (signs.strongUtf8 > 0 || signs.strongCp932 > 0)
        return OneSided(signs.strongUtf8, signs.strongCp932);
    return OneSided(signs.weakUtf8, signs.weakCp932);
}

} // namespace lx
