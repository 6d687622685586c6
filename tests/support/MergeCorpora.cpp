#include "support/MergeCorpora.h"

#include "support/TestPaths.h"
#include "support/TextEncodings.h"

#include <gtest/gtest.h>

#include "platform/text/Cp932.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace lxtest {

namespace {

const std::vector<std::string> kBuildings = {"", "ｺｰﾎﾟｻｸﾗ 101", "ﾒｿﾞﾝﾐﾄﾞﾘ 203", "ﾊｲﾂﾔﾏﾄ 2F"};

// The lines of a corpus file under tests/support/data/merge-corpora, without
// its comment lines.
std::vector<std::string> Corpus(const std::string& name)
{
    std::ifstream in(SourcePath("tests/support/data/merge-corpora/" + name));
    EXPECT_TRUE(in.is_open()) << name;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with('#'))
            lines.push_back(line);
    return lines;
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Numbered(const char* format, std::size_t a, std::size_t b = 0, std::size_t c = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

} // namespace

std::vector<std::string> HalfWidthKana()
{
    std::vector<std::string> kana;
    // U+FF61-U+FF9F: EF BD A1-BF, then EF BE 80-9F.
    for (unsigned c = 0xFF61; c <= 0xFF9F; ++c)
        kana.push_back(
            std::string{'\xEF', static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))});
    return kana;
}

std::vector<std::string> HalfWidthKanaPairs()
{
    std::vector<std::string> pairs;
    for (const std::string& first : HalfWidthKana())
        for (const std::string& second : HalfWidthKana())
            pairs.push_back(first + second);
    return pairs;
}

std::vector<std::string> LinesAround(const std::string& pair)
{
    return {"0042," + pair + ",100-0001,1-2-3 Chiyoda,03-1234-5678", pair + " 3-12-5,Minato-ku 105-0011",
            "12" + pair + "34"};
}

std::vector<std::string> KanaNameAndAddressLines()
{
    // The names that are also UTF-8 come last in each list.
    const std::vector<std::string> pairedFamily = Corpus("kana-family-names-utf8.txt");
    const std::vector<std::string> pairedGiven = Corpus("kana-given-names-utf8.txt");
    std::vector<std::string> familyNames = Corpus("kana-family-names.txt");
    familyNames.insert(familyNames.end(), pairedFamily.begin(), pairedFamily.end());
    std::vector<std::string> givenNames = Corpus("kana-given-names.txt");
    givenNames.insert(givenNames.end(), pairedGiven.begin(), pairedGiven.end());
    const std::vector<std::string> addresses = Corpus("kana-addresses.txt");
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 240; ++i) {
        const std::string& family = familyNames[i % familyNames.size()];
        const std::string& given = givenNames[(i * 7 + i / familyNames.size()) % givenNames.size()];
        const std::string& address = addresses[(i * 5) % addresses.size()];
        const std::string& building = kBuildings[i % kBuildings.size()];
        switch (i % 4) {
        case 0:
            lines.push_back(family + " " + given + Numbered(",%03zu-%04zu,", 100 + i, 1000 + i * 37 % 9000) + address +
                            Numbered("%zu-%zu-%zu", 1 + i % 9, 1 + i % 23, 1 + i % 31) +
                            Numbered(",0%zu-%04zu-%04zu", 3 + i % 6, 1000 + i * 13 % 9000, 1000 + i * 71 % 9000));
            break;
        case 1: lines.push_back(Numbered("%04zu,", i) + family + " " + given); break;
        case 2:
            lines.push_back(family + "," + given + "," + address + Numbered(" %zu-%zu,", 1 + i % 7, 1 + i % 19) +
                            building);
            break;
        default: lines.push_back(family + " " + given); break;
        }
    }
    // Every name of the lists that is also UTF-8, with every such given name.
    for (const std::string& family : pairedFamily)
        for (const std::string& given : pairedGiven)
            lines.push_back(family + " " + given);
    return lines;
}

std::vector<std::string> WesternLines()
{
    const std::vector<std::string> western = Corpus("western.txt");
    std::vector<std::string> lines = western;
    const std::size_t n = western.size();
    for (std::size_t i = 0; i < n; ++i)
        lines.push_back(Numbered("%zu,", 1000 + i) + western[i] + "," + western[(i * 7 + 3) % n]);
    return lines;
}

std::vector<std::string> JapaneseLines() { return Corpus("japanese.txt"); }

std::vector<std::string> IconvEach(const std::vector<std::string>& utf8Lines, const std::string& encoding)
{
    std::string joined;
    for (const std::string& line : utf8Lines) {
        EXPECT_EQ(line.find('\n'), std::string::npos);
        joined += line + "\n";
    }
    // A line feed is 0A in every encoding asked for here but UTF-16.
    std::vector<std::string> lines = Split(Iconv(joined, encoding));
    EXPECT_EQ(lines.size(), utf8Lines.size()) << encoding;
    return lines;
}

std::ostream& operator<<(std::ostream& out, const Tally& t)
{
    return out << t.files << " files, " << t.twoWay << " valid both ways; read as CP932 " << t.cp932 << " ("
               << t.twoWayCp932 << " of them both ways), as UTF-8 " << t.utf8 << " (" << t.twoWayUtf8
               << " both ways), asked " << t.asked;
}

void Report(const char* corpus, const Tally& tally) { std::cout << "[   counts ] " << corpus << ": " << tally << "\n"; }

void CheckReading(const Reader& read, const std::string& bytes, const std::string& asCp932, lx::TextEncoding meant,
                  Tally& tally, const std::string& label)
{
    const Reading cp932{asCp932};
    const Reading utf8 = read("\xEF\xBB\xBF" + bytes, lx::TextEncoding::Cp932);
    ASSERT_NE(cp932, utf8) << label << " reads the same both ways";
    const bool twoWay = lx::IsUtf8(bytes) && lx::IsCp932(bytes);
    ++tally.files;
    tally.twoWay += twoWay;
    const Reading answeredCp932 = read(bytes, lx::TextEncoding::Cp932);
    const Reading answeredUtf8 = read(bytes, lx::TextEncoding::Utf8);
    EXPECT_EQ(answeredCp932.questions, answeredUtf8.questions) << label;
    if (answeredCp932.questions > 0) {
        ++tally.asked;
        EXPECT_EQ(answeredCp932.text, cp932.text) << label;
        EXPECT_EQ(answeredUtf8.text, utf8.text) << label;
        return;
    }
    const bool readAsCp932 = answeredCp932 == cp932;
    ++(readAsCp932 ? tally.cp932 : tally.utf8);
    (readAsCp932 ? tally.twoWayCp932 : tally.twoWayUtf8) += twoWay;
    EXPECT_TRUE(readAsCp932 || answeredCp932 == utf8) << label << ": " << answeredCp932.text;
    EXPECT_EQ(readAsCp932, meant == lx::TextEncoding::Cp932)
        << label << " read silently as " << (readAsCp932 ? "CP932" : "UTF-8");
}

Tally CheckCorpus(const Reader& read, const std::vector<std::string>& lines, const std::string& encoding,
                  lx::TextEncoding meant, const char* corpus, CorpusFiles files)
{
    const std::vector<std::string> bytes = encoding == "UTF-8" ? lines : IconvEach(lines, encoding);
    Tally tally;
    std::size_t twoWay = 0;
    std::string whole;
    for (std::size_t i = 0; i < lines.size(); i += files.perFile) {
        std::string file;
        for (std::size_t j = i; j < i + files.perFile && j < lines.size(); ++j)
            file += bytes[j] + "\r\n";
        whole += file;
        const bool sampled =
            files.stride == 1 || (lx::IsUtf8(file) && lx::IsCp932(file) && twoWay++ % files.stride == 0);
        if (sampled)
            CheckReading(read, file, file, meant, tally, lines[i]);
    }
    if (files.whole)
        CheckReading(read, whole, whole, meant, tally, std::string(corpus) + ", the whole");
    Report(corpus, tally);
    return tally;
}

} // namespace lxtest
