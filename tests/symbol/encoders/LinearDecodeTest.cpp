// Every symbology a decoder reads: our element strings drawn as images and
// read back by zxing-cpp and zbarimg; the decoded text must be the data with
// check characters computed here from the published rules.
#include "support/Oracles.h"
#include "symbol/encoders/LinearTestSupport.h"

#include "symbol/encoders/LinearEncoder.h"

#include <gtest/gtest.h>

#include <random>

using namespace lxtest;
using namespace std::string_literals;
using ZXing::BarcodeFormat;

namespace {

struct Case {
    std::int32_t key;
    std::string data;
    int check = 0;
    std::string text; // our human-readable text
    std::string zxing; // zxing's content bytes
    std::string zbar; // zbarimg's sorted "TYPE:data" lines; empty: not asked
};

bool CountsModules(std::int32_t key) { return (key >> 8) <= 2 || (key >> 8) >= 7; }

struct Reader {
    ZXing::BarcodeFormats formats;
    bool addOn = false;
    bool validateCheck = false;
    std::string identifier;
};

void ExpectDecodes(const std::vector<Case>& cases, const Reader& reader)
{
    std::vector<GreyImage> zbarImages;
    std::vector<const Case*> zbarCases;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.data) + " key " + std::to_string(c.key));
        const LinearResult encoded = EncodeLinearText(c.key, c.data, c.check);
        ASSERT_GT(encoded.result, 0);
        EXPECT_EQ(encoded.text, c.text);
        // Narrow 2 or 3 pixels; wide two modules, or a ratio of 2.5, 2 or 3.
        const std::vector<std::pair<int, int>> sizes = CountsModules(c.key)
            ? std::vector<std::pair<int, int>>{{2, 4}, {3, 6}}
            : std::vector<std::pair<int, int>>{{2, 5}, {3, 6}, {3, 9}};
        for (const auto& [narrow, wide] : sizes) {
            const auto read = ZxingReadLinear(RenderElements(encoded.elements, narrow, wide, 12 * narrow),
                                              reader.formats, reader.addOn, reader.validateCheck);
            EXPECT_TRUE(read.ok) << narrow << "/" << wide;
            EXPECT_EQ(testing::PrintToString(read.bytes), testing::PrintToString(c.zxing)) << narrow << "/" << wide;
            if (!reader.identifier.empty()) {
                EXPECT_EQ(read.identifier, reader.identifier);
            }
        }
        if (!c.zbar.empty()) {
            zbarImages.push_back(RenderElements(encoded.elements, 2, CountsModules(c.key) ? 4 : 5, 24));
            zbarCases.push_back(&c);
        }
    }
    LX_NEED_TOOLS("zbarimg");
    const auto found = ZbarReadAll(zbarImages);
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(found[i], zbarCases[i]->zbar) << testing::PrintToString(zbarCases[i]->data);
}

std::string UpcEToUpcA(const std::string& e)
{
    const char last = e[5];
    if (last <= '2')
        return "0" + e.substr(0, 2) + last + "0000" + e.substr(2, 3);
    if (last == '3')
        return "0" + e.substr(0, 3) + "00000" + e.substr(3, 2);
    if (last == '4')
        return "0" + e.substr(0, 4) + "00000" + e.substr(4, 1);
    return "0" + e.substr(0, 5) + "0000" + last;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
    int Below(int n) { return Between(0, n - 1); }
    char From(const std::string& set) { return set[static_cast<std::size_t>(Below(static_cast<int>(set.size())))]; }
    std::string Text(const std::string& set, int length)
    {
        std::string out;
        while (length-- > 0)
            out += From(set);
        return out;
    }

private:
    std::mt19937 engine_;
};

const std::string kDigits = "0123456789";

// Short data is padded with 0 at the end; the digits behind the main part
// make the add-on (2 digits for up to 2, else 5).
std::vector<Case> EanUpcCases(std::int32_t key, int mainDigits, int count, unsigned seed)
{
    const bool addOn = (key & 0xFF) >= 3;
    const bool upcE = key == lx::kLinearUpcE || key == lx::kLinearUpcEAddOn;
    Random random(seed);
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        Case c{key, random.Text(kDigits, random.Between(addOn ? mainDigits : 1, mainDigits + (addOn ? 5 : 0)))};
        std::string main = c.data.substr(0, mainDigits);
        main.resize(mainDigits, '0');
        const std::string upcA = upcE ? UpcEToUpcA(main) : main;
        c.text = main + Mod10Weights31(upcA);
        c.zxing = (upcE ? "0" : "") + c.text;
        c.zbar = (mainDigits == 7 ? "EAN-8:" : "EAN-13:") + std::string((key >> 8) == 2 ? "0" : "") + upcA +
            Mod10Weights31(upcA);
        if (addOn) {
            std::string digits = c.data.substr(mainDigits);
            digits.resize(digits.size() <= 2 ? 2 : 5, '0');
            c.text += " " + digits;
            c.zxing += " " + digits;
            const std::string extra = (digits.size() == 2 ? "EAN-2:" : "EAN-5:") + digits;
            c.zbar = std::min(extra, c.zbar) + "\n" + std::max(extra, c.zbar);
        }
        cases.push_back(c);
    }
    return cases;
}

TEST(LinearDecode, EanAndUpcWithAndWithoutAddOns)
{
    const Reader ean{BarcodeFormat::EAN13 | BarcodeFormat::EAN8};
    ExpectDecodes(EanUpcCases(lx::kLinearEan13, 12, 40, 1), ean);
    ExpectDecodes(EanUpcCases(lx::kLinearEan8, 7, 30, 2), ean);
    ExpectDecodes(EanUpcCases(lx::kLinearEan13AddOn, 12, 30, 3), {ean.formats, true});
    ExpectDecodes(EanUpcCases(lx::kLinearEan8AddOn, 7, 20, 4), {ean.formats, true});
    ExpectDecodes(EanUpcCases(lx::kLinearUpcA, 11, 30, 5), {BarcodeFormat::UPCA});
    ExpectDecodes(EanUpcCases(lx::kLinearUpcAAddOn, 11, 20, 6), {BarcodeFormat::UPCA, true});
    ExpectDecodes(EanUpcCases(lx::kLinearUpcE, 6, 40, 7), {BarcodeFormat::UPCE});
    ExpectDecodes(EanUpcCases(lx::kLinearUpcEAddOn, 6, 20, 8), {BarcodeFormat::UPCE, true});
}

TEST(LinearDecode, CodabarAddsStartStopAndCheck)
{
    const std::string values = "0123456789-$:/.+ABCD";
    Random random(11);
    std::vector<Case> cases;
    for (int i = 0; i < 60; ++i) {
        const std::string body = random.Text(values.substr(0, 16), random.Between(2, 24)); // decoders want 2 or more
        const std::string start = i % 4 < 2 ? std::string(1, random.From("ABCDabcd")) : "";
        const std::string stop = i % 2 ? std::string(1, random.From("ABCDabcd")) : "";
        Case c{lx::kLinearCodabar, start + body + stop, i % 3 == 0};
        const std::string first = start.empty() ? "A" : Upper(start);
        const std::string last = stop.empty() ? first : Upper(stop);
        int sum = 0;
        for (const char ch : first + body + last)
            sum += static_cast<int>(values.find(ch));
        const std::string check = c.check ? std::string(1, values[(16 - sum % 16) % 16]) : "";
        c.text = c.zxing = first + body + check + last;
        c.zbar = "Codabar:" + c.text;
        cases.push_back(c);
    }
    ExpectDecodes(cases, {BarcodeFormat::Codabar});
}

TEST(LinearDecode, ItfPadsOddLengthsAtTheEnd)
{
    Random random(12);
    std::vector<Case> plain;
    std::vector<Case> checked;
    for (int i = 0; i < 60; ++i) {
        Case c{lx::kLinearItf + i % 2, random.Text(kDigits, random.Between(5, 40)), (i / 2) % 2};
        c.text = c.data + ((c.data.size() + c.check) % 2 ? "0" : "");
        if (c.check)
            c.text += Mod10Weights31(c.text);
        c.zxing = c.text;
        c.zbar = "I2/5:" + c.text;
        (c.check ? checked : plain).push_back(c);
    }
    ExpectDecodes(plain, {BarcodeFormat::ITF});
    ExpectDecodes(checked, {BarcodeFormat::ITF, false, true});
}

TEST(LinearDecode, Code39WithAndWithoutCheck)
{
    const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    Random random(13);
    std::vector<Case> cases[2];
    for (int i = 0; i < 80; ++i) {
        // No space at either end: decoders may trim it.
        const std::string body = random.From("ABCZ019") + random.Text(set + "abcxyz", random.Between(0, 28)) + "Y";
        Case c{lx::kLinearCode39, (i % 3 ? "" : "*") + body + (i % 5 ? "" : "*"), i % 2};
        const std::string upper = Upper(body);
        int sum = 0;
        for (const char ch : upper)
            sum += static_cast<int>(set.find(ch));
        const std::string check = c.check ? std::string(1, set[sum % 43]) : "";
        c.text = "*"s + upper + check + "*";
        c.zxing = upper; // zxing verifies the check character and strips it
        c.zbar = "CODE-39:"s + upper + check;
        cases[c.check].push_back(c);
    }
    ExpectDecodes(cases[0], {BarcodeFormat::Code39});
    ExpectDecodes(cases[1], {BarcodeFormat::Code39, false, true});
}

// A piece of data, what a decoder reads from it and what the text shows;
// for Code 128 also the set the encoder is in afterwards (0: unchanged).
struct Piece {
    std::string data, decoded, shown;
    char next = 0;
};

TEST(LinearDecode, Code93WithShiftEscapes)
{
    const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    Random random(14);
    std::vector<Case> cases;
    for (int i = 0; i < 60; ++i) {
        Case c{lx::kLinearCode93};
        bool printable = true;
        for (int t = random.Between(1, 30); t > 0; --t) {
            const char letter = static_cast<char>(random.Between('A', 'Z'));
            const char punct = static_cast<char>(random.Between('A', 'L'));
            const char plain = random.From(set);
            const Piece pieces[] = {
                {"@+"s + letter, std::string(1, static_cast<char>(letter + 32))}, // lower case
                {"@/"s + punct, std::string(1, static_cast<char>('!' + punct - 'A'))},
                {"@$"s + letter, std::string(1, static_cast<char>(letter - 'A' + 1))}, // control codes
                {std::string(1, plain), std::string(1, plain)},
                {std::string(1, plain), std::string(1, plain)},
            };
            const Piece& p = pieces[random.Below(5)];
            c.data += p.data;
            c.zxing += p.decoded;
            printable = printable && p.data.substr(0, 2) != "@$";
        }
        c.data += i % 7 ? "" : "@"; // a lone "@" at the end closes the data
        c.text = c.data;
        if (printable && c.zxing.front() != ' ' && c.zxing.back() != ' ')
            c.zbar = "CODE-93:" + c.zxing;
        cases.push_back(c);
    }
    ExpectDecodes(cases, {BarcodeFormat::Code93});
}

Piece RandomCode128Piece(Random& random, char set)
{
    if (set == 'C') {
        const std::string pair = random.Text(kDigits, 2);
        const std::string lone = pair.substr(0, 1) + "K";
        const Piece pieces[] = {
            {pair, pair, pair},   {pair, pair, pair},  {"@C", "", ""}, // set C again: nothing written
            {"@D", "95", ""},     {"@]", "00", ""},    {"@\\", "60", ""}, // values as digit pairs
            {"@A", "", "", 'A'},  {"@B", "", "", 'B'}, {lone, lone, lone, 'B'},
            {"K", "K", "K", 'B'}, // an odd digit or a letter: set B
        };
        return pieces[random.Below(10)];
    }
    const bool a = set == 'A';
    char plain;
    do
        plain = static_cast<char>(random.Between(32, a ? 95 : 126));
    while (plain == '@');
    const auto control = static_cast<char>(random.Between(96, 127)); // set A: control code - 96
    const auto letter = static_cast<char>(random.Between('A', 'Z'));
    const std::string lower(1, static_cast<char>(letter + 32));
    const std::string one(1, plain);
    const Piece pieces[] = {
        {one, one, one},
        {one, one, one},
        a ? Piece{std::string(1, control), std::string(1, static_cast<char>(control - 96)), ""}
          : Piece{"\x7F", "\x7F", "\x7F"},
        {"@@", "@", "@"},
        // SHIFT changes exactly one character.
        a ? Piece{"@S" + lower, lower, lower}
          : Piece{"@S"s + control, std::string(1, static_cast<char>(control - 96)), ""},
        {a ? "@A" : "@B", "", ""}, // the current set again: nothing written
        {a ? "@B" : "@A", "", "", a ? 'B' : 'A'},
        {"@C", "", "", 'C'},
        {"@D", a ? "\x1F" : "\x7F", ""},
        {"@4"s + letter, std::string(1, static_cast<char>(letter + 128)), std::string(1, letter)}, // FNC4: + 128
    };
    return pieces[random.Below(10)];
}

TEST(LinearDecode, Code128InEachStartSetWithEscapes)
{
    Random random(15);
    for (const std::int32_t key : {lx::kLinearCode128A, lx::kLinearCode128B, lx::kLinearCode128C}) {
        std::vector<Case> cases;
        for (int i = 0; i < 50; ++i) {
            Case c{key};
            char set = static_cast<char>('A' + (key & 0xFF) - 1);
            bool plainAscii = true;
            // Decoders read no symbol without data.
            for (int t = random.Between(1, 25); t > 0 || c.zxing.empty(); --t) {
                const Piece p = RandomCode128Piece(random, set);
                c.data += p.data;
                c.zxing += p.decoded;
                c.text += p.shown;
                set = p.next ? p.next : set;
                plainAscii = plainAscii && p.data.substr(0, 2) != "@4";
            }
            if (set == 'C' && i % 2) {
                c.data += "7"; // an odd digit at the end
                c.zxing += "7";
                c.text += "7";
            }
            for (const unsigned char ch : c.zxing)
                plainAscii = plainAscii && ch >= 32 && ch < 127;
            if (plainAscii && c.zxing.front() != ' ' && c.zxing.back() != ' ')
                c.zbar = "CODE-128:" + c.zxing;
            cases.push_back(c);
        }
        ExpectDecodes(cases, {BarcodeFormat::Code128});
    }
    // FNC1 after the first position reads as GS; FNC2 and FNC3 carry no data.
    ExpectDecodes({{lx::kLinearCode128B, "AB@1CD", 0, "ABCD", "AB\x1D"s + "CD"},
                   {lx::kLinearCode128A, "AB@2CD", 0, "ABCD", "ABCD"},
                   {lx::kLinearCode128B, "ab@3cd", 0, "abcd", "abcd"},
                   {lx::kLinearCode128C, "1234@11234", 0, "12341234", "1234\x1D"s + "1234"}},
                  {BarcodeFormat::Code128});
}

TEST(LinearDecode, Ean128StartsWithFnc1)
{
    Random random(16);
    for (const std::int32_t key : {lx::kLinearEan128A, lx::kLinearEan128B, lx::kLinearEan128C}) {
        std::vector<Case> cases;
        for (int i = 0; i < 20; ++i) {
            // (01) GTIN, (10) a lot number closed by FNC1, (21) a serial number.
            std::string gtin = random.Text(kDigits, 13);
            gtin += Mod10Weights31(gtin);
            const std::string lot = "10" + random.Text(kDigits, random.Between(2, 8));
            const std::string serial = "21" + random.Text(kDigits, 6);
            cases.push_back({key, "01" + gtin + lot + "@1" + serial, 0, "01" + gtin + lot + serial,
                             "01" + gtin + lot + "\x1D" + serial});
        }
        ExpectDecodes(cases, {BarcodeFormat::Code128, false, false, "]C1"});
    }
}

} // namespace
