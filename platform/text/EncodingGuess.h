#pragma once
// Text whose bytes are both well-formed UTF-8 and valid CP932: which of the
// two readings its characters point to. Half-width kana pairs are also
// two-byte UTF-8 ("ﾐｶ" is D0 B6, the UTF-8 of "ж"), and the UTF-8 of
// "Café" is "Cafﾃｩ" in CP932, so the bytes alone never tell.
#include <optional>
#include <string_view>

namespace lx {

enum class TextEncoding { Cp932, Utf8 };

// Each run of non-ASCII characters is read both ways and weighed:
// - for UTF-8, strongly: kana or kanji (one alone only where CP932 does not
//   take the ASCII byte after it into a kanji: CP932 "縺拭" is UTF-8 "ぐ@");
//   weakly: a Latin or Greek letter, a Latin-1 sign or punctuation beside an
//   ASCII letter ("Café", "25°C", "µm", "don’t"), a word of Greek letters;
//   a CP932 reading with half-width kana and kanji in one word beside ASCII
//   letters ("Élodie" is "ﾃ瑛odie"), or with user-defined or NEC-selected
//   characters;
// - for CP932, strongly: a UTF-8 reading in a script no Japanese merge file
//   holds where kana stand (Armenian, Arabic, Hebrew, IPA, one or two
//   Cyrillic letters, ...); weakly: Latin letters with no ASCII letter
//   beside them ("ﾃｩ" alone is "é" alone), and kanji standing apart from
//   ASCII letters (CP932 "窶拭" is UTF-8 "‐@").
// An ASCII letter that CP932 takes into a kanji counts on neither side.
// The side with strong signs wins if the other has none; otherwise the side
// with weak signs, if the other has none. Nothing when the signs conflict or
// there are none: then only the user can tell.
std::optional<TextEncoding> EncodingTheCharactersShow(std::string_view text);

} // namespace lx
