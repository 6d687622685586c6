// Every symbol the encoder builds is read back by zxing-cpp, and the decoded
// bytes must equal the data put in.
#include "PureRead.h"
#include "QrTestSupport.h"

#include "platform/text/Cp932.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace lxtest {
namespace {

constexpr char kLevels[] = "LMQH";
constexpr char kAlphanumericSet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";

std::string RandomKanji(std::mt19937& rng, int characters)
{
    std::string s;
    for (int i = 0; i < characters; ++i) {
        int lead = std::uniform_int_distribution<int>(0x81, 0x9F + 11)(rng);
        if (lead > 0x9F)
            lead += 0xE0 - 0xA0; // 0xE0 .. 0xEA
        int trail = std::uniform_int_distribution<int>(0x40, 0xFB)(rng);
        if (trail >= 0x7F)
            ++trail; // 0x80 .. 0xFC
        s += static_cast<char>(lead);
        s += static_cast<char>(trail);
    }
    return s;
}

// Data of one mode, `count` characters long.
std::string DataOfMode(std::mt19937& rng, int mode, int count)
{
    if (mode == lx::kQrKanji)
        return RandomKanji(rng, count);
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (mode == lx::kQrNumeric)
            s += static_cast<char>('0' + rng() % 10);
        else if (mode == lx::kQrAlphanumeric)
            s += kAlphanumericSet[rng() % 45];
        else
            s += static_cast<char>(rng() % 256);
    }
    return s;
}

// A request that gives the data as one segment of the mode.
std::string GivenSegment(char level, int mode, const std::string& data)
{
    if (mode == lx::kQrByte) {
        char count[8];
        std::snprintf(count, sizeof count, "%04d", static_cast<int>(data.size()));
        return std::string(1, level) + "M,B" + count + data;
    }
    return std::string(1, level) + "M," + "NAXK"[mode] + data;
}

// The largest character count of one mode that the version holds, found by
// asking for exactly that version.
int MaxCharacters(int model, int version, char level, int mode)
{
    std::mt19937 rng(7);
    int low = 0, high = 7089;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (EncodeQrRequest(GivenSegment(level, mode, DataOfMode(rng, mode, mid)), model, version).result == 0)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

void ExpectDecodes(const std::string& request, const std::string& expected, int model, int version, int size)
{
    const QrSymbol symbol = EncodeQrRequest(request, model, version);
    ASSERT_EQ(symbol.result, 0) << request.substr(0, 40);
    if (size != 0) {
        EXPECT_EQ(symbol.size, size);
    }
    const Decoded decoded = DecodeQrSymbol(symbol, model == 3);
    ASSERT_TRUE(decoded.ok) << "size " << symbol.size << " request " << request.substr(0, 40);
    EXPECT_EQ(decoded.bytes, expected) << "size " << symbol.size;
}

// Model 2, every version at every level, filled to the last character of a
// mode that changes with the version, so that every block structure and every
// count width is read back.
TEST(QrRoundTrip, EveryModel2VersionAndLevelFullyLoaded)
{
    for (int version = 1; version <= 40; ++version)
        for (int level = 0; level < 4; ++level) {
            const int mode = (version + level) % 4;
            const int count = MaxCharacters(2, version, kLevels[level], mode);
            std::mt19937 rng(version * 4 + level);
            std::string data = DataOfMode(rng, mode, count);
            SCOPED_TRACE(testing::Message()
                         << "version " << version << " level " << kLevels[level] << " mode " << mode);
            ExpectDecodes(GivenSegment(kLevels[level], mode, data), data, 2, 0, 17 + 4 * version);
            std::string more = data + DataOfMode(rng, mode, 1);
            const QrSymbol next = EncodeQrRequest(GivenSegment(kLevels[level], mode, more), 2, 0);
            if (version < 40)
                EXPECT_EQ(next.size, 21 + 4 * version);
            else
                EXPECT_EQ(next.result, lx::kQrDataDoesNotFit);
        }
}

// Capacities published for the smallest and the largest symbols and for
// every Micro QR symbol: numeric, alphanumeric, byte and kanji characters.
TEST(QrRoundTrip, PublishedCapacities)
{
    struct Row {
        int model;
        int version;
        char level;
        int capacity[4];
    };
    const Row rows[] = {
        {2, 1, 'L', {41, 25, 17, 10}},
        {2, 1, 'M', {34, 20, 14, 8}},
        {2, 1, 'Q', {27, 16, 11, 7}},
        {2, 1, 'H', {17, 10, 7, 4}},
        {2, 40, 'L', {7089, 4296, 2953, 1817}},
        {2, 40, 'M', {5596, 3391, 2331, 1435}},
        {2, 40, 'Q', {3993, 2420, 1663, 1024}},
        {2, 40, 'H', {3057, 1852, 1273, 784}},
        {3, 1, 'L', {5, 0, 0, 0}},
        {3, 2, 'L', {10, 6, 0, 0}},
        {3, 2, 'M', {8, 5, 0, 0}},
        {3, 3, 'L', {23, 14, 9, 6}},
        {3, 3, 'M', {18, 11, 7, 4}},
        {3, 4, 'L', {35, 21, 15, 9}},
        {3, 4, 'M', {30, 18, 13, 8}},
        {3, 4, 'Q', {21, 13, 9, 5}},
    };
    for (const Row& row : rows)
        for (int mode = 0; mode < 4; ++mode)
            EXPECT_EQ(MaxCharacters(row.model, row.version, row.level, mode), row.capacity[mode])
                << "model " << row.model << " version " << row.version << row.level << " mode " << mode;
}

TEST(QrRoundTrip, EveryMicroVersionAndLevel)
{
    for (int version = 1; version <= 4; ++version)
        for (int level = 0; level < 3; ++level)
            for (int mode = 0; mode < 4; ++mode) {
                const int count = MaxCharacters(3, version, kLevels[level], mode);
                if (count == 0)
                    continue;
                for (int length : {1, (count + 1) / 2, count}) {
                    std::mt19937 rng(version * 100 + level * 10 + mode + length);
                    const std::string data = DataOfMode(rng, mode, length);
                    SCOPED_TRACE(testing::Message()
                                 << "M" << version << kLevels[level] << " mode " << mode << " length " << length);
                    ExpectDecodes(GivenSegment(kLevels[level], mode, data), data, 3, version, 9 + 2 * version);
                }
            }
}

// Automatic analysis over mixed inputs at every level.
TEST(QrRoundTrip, MixedTextAtEveryLevel)
{
    const std::string inputs[] = {
        "QRCODE",
        " ",
        "https://www.example.co.jp/index.html?id=123",
        "HTTP://WWW.EXAMPLE.COM/ABC",
        "01234567",
        "4901234567894",
        "AB1CD",
        "ABC123456789012345DEF",
        "lower case letters and UPPER 12345678901234567890",
        lx::Sjis("漢字とかなカナ混じりのテキスト123ABC"),
        lx::Sjis("〒100-0001 東京都千代田区千代田1-1"),
        lx::Sjis("株式会社ラベル　品番:AB-1234 数量 0000120"),
        std::string("\x88\x9F\xEB\xC0\xEB\xBF\x81\x40\x9F\xFC\xE0\x40", 12),
        std::string("\x00\x01\x02\xFF\xFE\x80\x7F", 7),
        "line one\r\nline two\r\nline, with, commas",
        std::string(300, '7') + "ABCDEFGHIJ" + std::string(300, 'x'),
    };
    for (const std::string& input : inputs)
        for (char level : std::string(kLevels)) {
            SCOPED_TRACE(testing::Message() << level << " " << input.substr(0, 30));
            ExpectDecodes(std::string(1, level) + "A," + input, input, 2, 0, 0);
        }
}

// Random strings drawn from digits, letters of both cases, kanji and any
// bytes, in runs, through the automatic analysis at random levels; Model 2
// and Micro QR.
TEST(QrRoundTrip, RandomMixedRuns)
{
    std::mt19937 rng(2024);
    int microDone = 0;
    for (int i = 0; i < 300; ++i) {
        std::string data;
        const int runs = 1 + static_cast<int>(rng() % 8);
        const bool micro = i % 3 == 0;
        for (int r = 0; r < runs; ++r) {
            const int length = 1 + static_cast<int>(rng() % (micro ? 4 : 40));
            const int kind = static_cast<int>(rng() % 5);
            if (kind == 4) {
                for (int k = 0; k < length; ++k)
                    data += static_cast<char>('a' + rng() % 26);
            } else {
                data += DataOfMode(rng, kind, length);
            }
        }
        const char level = kLevels[rng() % (micro ? 3 : 4)];
        const std::string request = std::string(1, level) + "A," + data;
        const QrSymbol symbol = EncodeQrRequest(request, micro ? 3 : 2, 0);
        if (micro && symbol.result == lx::kQrDataDoesNotFit)
            continue;
        ASSERT_EQ(symbol.result, 0) << i;
        const Decoded decoded = DecodeQrSymbol(symbol, micro);
        ASSERT_TRUE(decoded.ok) << "input " << i << " size " << symbol.size;
        EXPECT_EQ(decoded.bytes, data) << "input " << i;
        microDone += micro;
    }
    EXPECT_GT(microDone, 30);
}

// Segments given in the request, several in one symbol, with the separators
// the syntax allows.
TEST(QrRoundTrip, GivenSegments)
{
    struct Case {
        std::string request;
        std::string expected;
        int model;
    };
    const Case cases[] = {
        {"MM,N0123456789,AHELLO WORLD,B0003a,b,K" + lx::Sjis("漢字"), "0123456789HELLO WORLDa,b" + lx::Sjis("漢字"), 2},
        {"LM,N12\rAABC\r\nB0002xy\nN9", "12ABCxy9", 2},
        {"QM,ahello", "HELLO", 2},
        {"HM,B0005abc", "abc", 2},
        {"LM,B0004\r\n\x01\xFF", "\r\n\x01\xFF", 2},
        {"MM,N12345", "12345", 3},
        {"LM,N12,A3B,B0001z", "123Bz", 3},
        {"M0M,N01,N23,N45", "012345", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        ExpectDecodes(c.request, c.expected, c.model, 0, 0);
    }
}

// A structured-append series: every part carries position, total and the
// parity of the whole message.
TEST(QrRoundTrip, StructuredAppendSeries)
{
    const std::string message = lx::Sjis("連番ラベル ") + "SERIES-0042 " + std::string(120, '5') + " tail text";
    unsigned parity = 0;
    for (unsigned char c : message)
        parity ^= c;
    for (int total : {2, 3, 7, 16}) {
        const int step = static_cast<int>(message.size()) / total;
        std::string joined;
        for (int position = 1; position <= total; ++position) {
            int begin = (position - 1) * step;
            int end = position == total ? static_cast<int>(message.size()) : position * step;
            // Keep double-byte characters whole, as the request builder does.
            auto whole = [&](int p) {
                int q = 0;
                while (q < p)
                    q += lx::IsLeadByte(static_cast<unsigned char>(message[q])) ? 2 : 1;
                return q;
            };
            begin = whole(begin);
            end = whole(end);
            const std::string part = message.substr(begin, end - begin);
            char header[32];
            std::snprintf(header, sizeof header, "D%02d%02d%02x,", position, total, parity);
            const QrSymbol symbol = EncodeQrRequest(std::string(header) + "QA," + part, 2, 0);
            ASSERT_EQ(symbol.result, 0);
            const auto image = RenderModules(ModulesFromMatrix(symbol.matrix.data(), symbol.size, symbol.size), 3, 4);
            const PureRead read = ReadPure(image, ZXing::BarcodeFormat::QRCode);
            ASSERT_TRUE(read.ok) << position << "/" << total;
            EXPECT_EQ(read.sequenceIndex, position - 1);
            EXPECT_EQ(read.sequenceSize, total);
            EXPECT_EQ(read.sequenceId, std::to_string(parity));
            joined += read.bytes;
        }
        EXPECT_EQ(joined, message) << total;
    }
}

// At H, 30 one-byte segments and 56 digits take 801 bits with the count
// fields of versions 1-9: one bit more than version 9 holds. Version 10's
// wider fields make them 1,043 bits, more than its 976, so version 11 it is.
// A version asked for is checked with its own count fields as well.
TEST(QrRoundTrip, VersionChoiceAtTheCountWidthEdge)
{
    std::string request = "HM,", expected;
    for (int i = 0; i < 30; ++i) {
        request += "B0001" + std::string(1, static_cast<char>('a' + i % 26)) + ",";
        expected += static_cast<char>('a' + i % 26);
    }
    request.append("N").append(56, '3');
    expected += std::string(56, '3');
    ExpectDecodes(request, expected, 2, 0, 61);
    EXPECT_EQ(EncodeQrRequest(request, 2, 10).result, lx::kQrDataDoesNotFit);
    // With 45 digits (764 bits) version 9 holds them, version 10 (1,006 bits) does not.
    request.resize(request.size() - 11);
    expected.resize(expected.size() - 11);
    ExpectDecodes(request, expected, 2, 0, 53);
    EXPECT_EQ(EncodeQrRequest(request, 2, 10).result, lx::kQrDataDoesNotFit);
    ExpectDecodes(request, expected, 2, 11, 61);
}

} // namespace
} // namespace lxtest
