#pragma once
// Merge-file lines whose bytes read two ways, as people write them: half-width
// kana in CP932 (whose pairs are also two-byte UTF-8), Western text in UTF-8
// (whose accented letters are also half-width kana), and Japanese text in
// both encodings. All given as UTF-8 text; the tests encode them with iconv.
#include "platform/text/TextFile.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace lxtest {

// The 63 half-width kana, U+FF61-U+FF9F.
std::vector<std::string> HalfWidthKana();
// Every ordered pair of them: 3,969.
std::vector<std::string> HalfWidthKanaPairs();
// A pair inside lines of ASCII numbers and addresses: a field of its own, a
// word before a street number, and stuck between digits.
std::vector<std::string> LinesAround(const std::string& pair);

// Names and addresses written in half-width kana, with postcodes, street
// numbers and telephone numbers (at least 200), and the names that are also
// UTF-8 ("ﾅｲﾄｳ ﾏｻﾄｼ").
std::vector<std::string> KanaNameAndAddressLines();

// French, German, Polish and Czech words, signs such as °, ±, ×, µ and §, and
// Greek (at least 200).
std::vector<std::string> WesternLines();

// Japanese lines: kanji and kana of both levels (窶, 拭, 髙, 﨑 among them),
// full-width and half-width forms.
std::vector<std::string> JapaneseLines();

// Each line in the encoding (an iconv name), converted in one call.
std::vector<std::string> IconvEach(const std::vector<std::string>& utf8Lines, const std::string& encoding);

// What a road of reading gives for a file: its CP932 text (or the refusal's
// message), the questions asked, and the last question's readings.
struct Reading {
    std::string text;
    int questions = 0;
    lx::TwoReadings shown;

    bool operator==(const Reading& other) const { return text == other.text; }
};
// Reads the bytes, answering any question with `answer`.
using Reader = std::function<Reading(const std::string& bytes, lx::TextEncoding answer)>;

// Files read each way, and of them those whose bytes are both encodings.
struct Tally {
    int files = 0;
    int twoWay = 0;
    int cp932 = 0;
    int utf8 = 0;
    int twoWayCp932 = 0;
    int twoWayUtf8 = 0;
    int asked = 0;
};
std::ostream& operator<<(std::ostream& out, const Tally& tally);
// Prints the tally under the corpus's name.
void Report(const char* corpus, const Tally& tally);

// Reads a file meant as `meant` by `read`, answering any question both ways:
// answered CP932 it must give `asCp932`, answered UTF-8 what its copy marked
// with a BOM gives; not asked, the reading meant. Counts it in the tally.
void CheckReading(const Reader& read, const std::string& bytes, const std::string& asCp932, lx::TextEncoding meant,
                  Tally& tally, const std::string& label);

// Which files a corpus makes: `perFile` lines to a file, each line ending in
// CR LF; with `whole`, the whole corpus as one file as well; with `stride`
// above 1, only every stride-th of the files valid both ways (for roads
// where a reading costs more).
struct CorpusFiles {
    std::size_t perFile = 1;
    bool whole = false;
    std::size_t stride = 1;
};

// Reads the corpus's lines in the encoding (an iconv name; "UTF-8" as they
// are) as CheckReading does, reports the tally and returns it.
Tally CheckCorpus(const Reader& read, const std::vector<std::string>& lines, const std::string& encoding,
                  lx::TextEncoding meant, const char* corpus, CorpusFiles files = {});

} // namespace lxtest
