// The input analysis: segment choice and the version it leads to.
#include "symbol/encoders/QrModes.h"
#include "symbol/encoders/QrVersion.h"

#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace lxtest {
namespace {

struct Analysis {
    lx::QrSegmentList segments;
    std::uint8_t buffer[lx::kQrMaxDataBytes + 1];
    int bytes = 0;
};

std::string Describe(const lx::QrSegmentList& segments)
{
    std::string s;
    for (int i = 0; i < segments.count; ++i) {
        s += "NABK"[segments.items[i].mode];
        s += std::to_string(segments.items[i].length);
        s += ' ';
    }
    return s;
}

const Analysis& RunAnalysis(const std::string& data, int model = lx::kQrModel2, int level = lx::kQrLevelM)
{
    static Analysis a;
    const lx::QrSymbolKind kind{model, level};
    lx::EncodeQrModes(a.segments, reinterpret_cast<const std::uint8_t*>(data.data()), a.buffer,
                      static_cast<int>(data.size()), kind, &a.bytes);
    return a;
}

std::string Analyse(const std::string& data, int model = lx::kQrModel2, int level = lx::kQrLevelM)
{
    return Describe(RunAnalysis(data, model, level).segments);
}

TEST(QrModes, SegmentChoice)
{
    struct Case {
        std::string data;
        std::string segments;
    };
    const Case cases[] = {
        {"QRCODE", "A6 "},
        {"abc", "B3 "},
        {"\x88\x9F", "K2 "},
        {"\xEB\xC0", "B2 "},
        {"\xEB\xBF", "K2 "},
        {"\x88\x7F", "B2 "},
        {"AB1CD", "A5 "},
        {"12345678901234567890", "N20 "},
        {"ABCDEFGH" + std::string(30, '1') + "ABCDEFGH", "A8 N30 A8 "},
        {"abc" + std::string(30, '7'), "B3 N30 "},
        {lx::Sjis("漢字") + "x" + lx::Sjis("漢字"), "B9 "},
        {lx::Sjis("漢字漢字漢字漢字") + "abcdefgh", "K16 B8 "},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Analyse(c.data), c.segments) << c.data;
}

// Seven digits between bytes earn their own segment with the narrow count
// fields of versions 1-9 but not with those of versions 10-26: the first pass
// splits them, its version lands in the second bracket, and the pass run
// there merges all but the trailing digits into one byte segment (version
// 14, where the first pass's segments would need version 15).
TEST(QrModes, RepeatsAtTheLargerVersion)
{
    std::string data;
    for (int i = 0; i < 40; ++i)
        data += "ab" + std::string(7, static_cast<char>('0' + i % 10));
    EXPECT_EQ(Analyse(data), "B353 N7 ");
    EXPECT_EQ(lx::QrChooseVersion(RunAnalysis(data).segments, lx::QrSymbolKind{}, 0), 13);
    EXPECT_EQ(Analyse(data.substr(0, 45)), "B2 N7 B2 N7 B2 N7 B2 N7 B2 N7 ");
}

TEST(QrModes, MicroAnalysisKeepsM1ToDigits)
{
    EXPECT_EQ(Analyse("12345", lx::kQrMicro, lx::kQrLevelL), "N5 ");
    EXPECT_EQ(Analyse("AB12", lx::kQrMicro, lx::kQrLevelL), "A4 ");
}

} // namespace
} // namespace lxtest
