// Module-for-module comparison with libqrencode: the same segments, version,
// level and mask must give the same matrix, function patterns, format and
// version information, placement and error correction included.
#include "QrTestSupport.h"

#include "platform/text/Cp932.h"
#include "symbol/encoders/QrTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#if LX_HAVE_QRENCODE
#include <qrencode.h>

// Exported by libqrencode beside its public interface: encode with a fixed mask.
extern "C" QRcode* QRcode_encodeMask(QRinput* input, int mask);
extern "C" QRcode* QRcode_encodeMaskMQR(QRinput* input, int mask);

namespace lxtest {
namespace {

struct Segment {
    int mode; // lx::QrMode
    std::string data;
};

std::string Request(char level, int mask, const std::vector<Segment>& segments)
{
    std::string r = std::string(1, level) + std::to_string(mask) + "M,";
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        if (s.mode == lx::kQrByte) {
            char count[8];
            std::snprintf(count, sizeof count, "%04d", static_cast<int>(s.data.size()));
            r += std::string("B") + count + s.data + ",";
        } else {
            r += std::string(1, "NA?K"[s.mode]) + s.data + (i + 1 < segments.size() ? "," : "");
        }
    }
    return r;
}

// libqrencode's matrix as rows of booleans, or empty when it refused.
std::vector<std::vector<bool>> Reference(bool micro, int version, int level, int mask,
                                         const std::vector<Segment>& segments)
{
    QRinput* input = micro ? QRinput_newMQR(version, static_cast<QRecLevel>(level))
                           : QRinput_new2(version, static_cast<QRecLevel>(level));
    static const QRencodeMode kModes[] = {QR_MODE_NUM, QR_MODE_AN, QR_MODE_8, QR_MODE_KANJI};
    for (const Segment& s : segments)
        QRinput_append(input, kModes[s.mode], static_cast<int>(s.data.size()),
                       reinterpret_cast<const unsigned char*>(s.data.data()));
    QRcode* code = micro ? QRcode_encodeMaskMQR(input, mask) : QRcode_encodeMask(input, mask);
    QRinput_free(input);
    std::vector<std::vector<bool>> rows;
    if (!code)
        return rows;
    rows.assign(static_cast<std::size_t>(code->width), std::vector<bool>(static_cast<std::size_t>(code->width)));
    for (int r = 0; r < code->width; ++r)
        for (int c = 0; c < code->width; ++c)
            rows[r][c] = code->data[r * code->width + c] & 1;
    QRcode_free(code);
    return rows;
}

void ExpectSameMatrix(bool micro, int version, int level, int mask, const std::vector<Segment>& segments)
{
    const auto expected = Reference(micro, version, level, mask, segments);
    ASSERT_FALSE(expected.empty());
    const QrSymbol symbol = EncodeQrRequest(Request("LMQH"[level], mask, segments), micro ? 3 : 2, version);
    ASSERT_EQ(symbol.result, 0);
    ASSERT_EQ(symbol.size, static_cast<int>(expected.size()));
    int differences = 0;
    for (int r = 0; r < symbol.size; ++r)
        for (int c = 0; c < symbol.size; ++c)
            differences += symbol.Dark(r, c) != expected[r][c];
    EXPECT_EQ(differences, 0);
}

// ISO/IEC 18004's worked examples: "01234567" as 1-M with mask 010, and as
// Micro QR M2-L.
TEST(QrOracle, StandardExamples)
{
    ExpectSameMatrix(false, 1, 1, 2, {{lx::kQrNumeric, "01234567"}});
    for (int mask = 0; mask < 4; ++mask)
        ExpectSameMatrix(true, 2, 0, mask, {{lx::kQrNumeric, "01234567"}});
}

TEST(QrOracle, EveryModel2VersionLevelAndMask)
{
    std::mt19937 rng(11);
    for (int version = 1; version <= 40; ++version)
        for (int level = 0; level < 4; ++level) {
            const int mask = (version + level) % 8;
            // About 90 % of the version's capacity, a quarter in each mode.
            const int quarter = (lx::QrDataCapacityBits(lx::kQrModel2, version - 1, level) * 9 / 10 - 80) / 4;
            std::string digits, text, bytes;
            for (int i = 0; i < quarter * 3 / 10; ++i)
                digits += static_cast<char>('0' + rng() % 10);
            for (int i = 0; i < quarter * 2 / 11; ++i)
                text += "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"[rng() % 35];
            for (int i = 0; i < quarter / 8; ++i)
                bytes += static_cast<char>(rng() % 256);
            std::string kanji;
            for (int i = 0; i < quarter / 13; ++i)
                kanji += lx::Sjis("漢");
            std::vector<Segment> segments;
            for (const Segment& s : {Segment{lx::kQrNumeric, digits}, Segment{lx::kQrAlphanumeric, text},
                                     Segment{lx::kQrByte, bytes}, Segment{lx::kQrKanji, kanji}})
                if (!s.data.empty())
                    segments.push_back(s);
            SCOPED_TRACE(testing::Message() << "version " << version << " level " << level << " mask " << mask);
            ExpectSameMatrix(false, version, level, mask, segments);
        }
}

TEST(QrOracle, EveryMicroVersionLevelAndMask)
{
    struct Case {
        int version;
        int level;
        std::vector<Segment> segments;
    };
    const Case cases[] = {
        {1, 0, {{lx::kQrNumeric, "12345"}}},
        {1, 0, {{lx::kQrNumeric, "1"}}},
        {2, 0, {{lx::kQrAlphanumeric, "AB"}, {lx::kQrNumeric, "123"}}},
        {2, 1, {{lx::kQrNumeric, "99999999"}}},
        {3, 0, {{lx::kQrByte, "abc"}, {lx::kQrNumeric, "12"}}},
        {3, 1, {{lx::kQrKanji, lx::Sjis("漢字")}}},
        {3, 0, {{lx::kQrNumeric, "12345678901234567890123"}}},
        {4, 0, {{lx::kQrByte, "micro qr code!!"}}},
        {4, 1, {{lx::kQrAlphanumeric, "MICRO-QR"}, {lx::kQrNumeric, "2024"}}},
        {4, 2, {{lx::kQrKanji, lx::Sjis("日本")}, {lx::kQrByte, "x"}}},
    };
    for (const Case& c : cases)
        for (int mask = 0; mask < 4; ++mask) {
            SCOPED_TRACE(testing::Message() << "M" << c.version << " level " << c.level << " mask " << mask);
            ExpectSameMatrix(true, c.version, c.level, mask, c.segments);
        }
}

} // namespace
} // namespace lxtest
#endif
