// Every symbology a decoder reads: our element strings drawn as images and
// read back by zxing-cpp and zbarimg; the decoded text must be the data with
// check characters computed here from the published rules.
#include "symbol/encoders/LinearTestSupport.h"

#include "symbol/encoders/LinearEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

using namespace lxtest;
using ZXing::BarcodeFormat;

namespace {

struct Case {
    std::int32_t key;
    std::string data;
    int check = 0;
    std::string text;   // our human-readable text
    std::string zxing;  // zxing's content bytes
    std::string zbar;   // zbarimg's "TYPE:data" lines (sorted), empty: not asked
};

// Bars drawn with narrow/wide pixel pairs; module symbologies draw wide as two modules.
bool CountsModules(std::int32_t key)
{
    const int group = key >> 8;
    return group <= 2 || group >= 7;
}

std::vector<std::pair<int, int>> Renderings(std::int32_t key)
{
    if (CountsModules(key))
        return {{2, 4}, {3, 6}};
    return {{2, 5}, {3, 6}, {3, 9}};
}

std::string SortedLines(const std::string& lines)
{
    std::vector<std::string> parts;
    std::stringstream in(lines);
    for (std::string line; std::getline(in, line);)
        parts.push_back(line);
    std::sort(parts.begin(), parts.end());
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : "\n") + p;
    return out;
}

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (const unsigned char c : bytes) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

void ExpectDecodes(const std::vector<Case>& cases, ZXing::BarcodeFormats formats, LinearReadOptions options = {},
                   const std::string& identifier = "")
{
    ASSERT_TRUE(ZbarAvailable());
    std::vector<GreyImage> zbarImages;
    std::vector<const Case*> zbarCases;
    for (const Case& c : cases) {
        SCOPED_TRACE(Printable(c.data) + " key " + std::to_string(c.key) + " check " + std::to_string(c.check));
        const LinearResult encoded = EncodeLinearText(c.key, c.data, c.check);
        ASSERT_GT(encoded.result, 0);
        EXPECT_EQ(encoded.text, c.text);
        for (const auto& [narrow, wide] : Renderings(c.key)) {
            const GreyImage image = RenderElements(encoded.elements, narrow, wide, 12 * narrow);
            const LinearDecoded read = ZxingReadLinear(image, formats, options);
            EXPECT_TRUE(read.ok) << "narrow " << narrow << " wide " << wide;
            EXPECT_EQ(Printable(read.bytes), Printable(c.zxing)) << "narrow " << narrow << " wide " << wide;
            if (!identifier.empty()) {
                EXPECT_EQ(read.identifier, identifier);
            }
        }
        if (!c.zbar.empty()) {
            zbarImages.push_back(RenderElements(encoded.elements, 2, CountsModules(c.key) ? 4 : 5, 24));
            zbarCases.push_back(&c);
        }
    }
    const auto found = ZbarReadAll(zbarImages);
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(SortedLines(found[i]), zbarCases[i]->zbar) << Printable(zbarCases[i]->data);
}

// Published check rules, written out here on their own.
char Mod10Weights31(const std::string& digits)
{
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int fromRight = static_cast<int>(digits.size() - 1 - i);
        sum += (digits[i] - '0') * (fromRight % 2 == 0 ? 3 : 1);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
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

std::string PadRight(std::string s, std::size_t size)
{
    s.resize(std::max(size, s.size()), '0');
    return s;
}

class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    char From(const std::string& set) { return set[static_cast<std::size_t>(Below(static_cast<int>(set.size())))]; }
    std::string Text(const std::string& set, int length)
    {
        std::string out;
        for (int i = 0; i < length; ++i)
            out += From(set);
        return out;
    }

private:
    std::mt19937 engine_;
};

const std::string kDigits = "0123456789";

// EAN/UPC with or without add-on: short data is padded at the end.
std::vector<Case> EanUpcCases(std::int32_t key, int count, unsigned seed)
{
    const bool addOn = (key & 0xFF) >= 3;
    const int group = key >> 8;
    const bool eight = key == lx::kLinearEan8 || key == lx::kLinearEan8AddOn;
    const bool upcE = key == lx::kLinearUpcE || key == lx::kLinearUpcEAddOn;
    const int mainDigits = group == 1 ? (eight ? 7 : 12) : (upcE ? 6 : 11);
    Random random(seed);
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        Case c{key, random.Text(kDigits, random.Between(addOn ? mainDigits : 1, mainDigits + (addOn ? 5 : 0)))};
        const std::string main = PadRight(c.data.substr(0, std::min<std::size_t>(c.data.size(), mainDigits)), mainDigits);
        std::string zbarMain;
        if (upcE) {
            const std::string upcA = UpcEToUpcA(main);
            c.text = main + Mod10Weights31(upcA);
            c.zxing = "0" + c.text;
            zbarMain = "EAN-13:0" + upcA + Mod10Weights31(upcA);
        } else if (group == 2) {
            c.text = main + Mod10Weights31(main);
            c.zxing = c.text;
            zbarMain = "EAN-13:0" + c.text;
        } else {
            c.text = main + Mod10Weights31(main);
            c.zxing = c.text;
            zbarMain = (eight ? "EAN-8:" : "EAN-13:") + c.text;
        }
        c.zbar = zbarMain;
        if (addOn) {
            const std::string given = c.data.size() > static_cast<std::size_t>(mainDigits) ? c.data.substr(mainDigits) : "";
            const std::string digits = PadRight(given, given.size() <= 2 ? 2 : 5);
            c.text += " " + digits;
            c.zxing += " " + digits;
            c.zbar = SortedLines(zbarMain + "\n" + (digits.size() == 2 ? "EAN-2:" : "EAN-5:") + digits);
        }
        cases.push_back(c);
    }
    return cases;
}

TEST(LinearDecode, Ean13AndEan8WithAndWithoutAddOns)
{
    const auto formats = BarcodeFormat::EAN13 | BarcodeFormat::EAN8;
    ExpectDecodes(EanUpcCases(lx::kLinearEan13, 40, 1), formats);
    ExpectDecodes(EanUpcCases(lx::kLinearEan8, 30, 2), formats);
    ExpectDecodes(EanUpcCases(lx::kLinearEan13AddOn, 30, 3), formats, {.addOn = true});
    ExpectDecodes(EanUpcCases(lx::kLinearEan8AddOn, 20, 4), formats, {.addOn = true});
}

TEST(LinearDecode, UpcAAndUpcEWithAndWithoutAddOns)
{
    ExpectDecodes(EanUpcCases(lx::kLinearUpcA, 30, 5), BarcodeFormat::UPCA);
    ExpectDecodes(EanUpcCases(lx::kLinearUpcAAddOn, 20, 6), BarcodeFormat::UPCA, {.addOn = true});
    ExpectDecodes(EanUpcCases(lx::kLinearUpcE, 40, 7), BarcodeFormat::UPCE);
    ExpectDecodes(EanUpcCases(lx::kLinearUpcEAddOn, 20, 8), BarcodeFormat::UPCE, {.addOn = true});
}

TEST(LinearDecode, CodabarAddsStartStopAndCheck)
{
    const std::string set = "0123456789-$:/.+";
    const std::string values = set + "ABCD";
    Random random(11);
    std::vector<Case> cases;
    for (int i = 0; i < 60; ++i) {
        Case c{lx::kLinearCodabar, random.Text(set, random.Between(1, 24)), i % 2};
        const int ends = random.Below(4);
        std::string start = "A";
        std::string stop;
        if (ends & 1)
            c.data.insert(0, 1, start[0] = random.From("ABCDabcd"));
        if (ends & 2)
            c.data += (stop = std::string(1, random.From("ABCDabcd")));
        start[0] = static_cast<char>(std::toupper(start[0]));
        stop = stop.empty() ? start : std::string(1, static_cast<char>(std::toupper(stop[0])));
        const std::string body = c.data.substr(ends & 1, c.data.size() - (ends & 1) - (ends & 2 ? 1 : 0));
        std::string check;
        if (c.check) {
            int sum = 0;
            for (const char ch : start + body + stop)
                sum += static_cast<int>(values.find(ch));
            check = std::string(1, values[(16 - sum % 16) % 16]);
        }
        c.text = start + body + check + stop;
        c.zxing = c.text;
        c.zbar = "Codabar:" + c.text;
        cases.push_back(c);
    }
    ExpectDecodes(cases, BarcodeFormat::Codabar);
}

TEST(LinearDecode, ItfPadsOddLengthsAtTheEnd)
{
    Random random(12);
    std::vector<Case> cases;
    for (int i = 0; i < 60; ++i) {
        Case c{lx::kLinearItf + i % 2, random.Text(kDigits, random.Between(5, 40)), (i / 2) % 2};
        std::string digits = c.data;
        if ((digits.size() + c.check) % 2 == 1)
            digits += '0';
        if (c.check)
            digits += Mod10Weights31(digits);
        c.text = c.zxing = digits;
        c.zbar = "I2/5:" + digits;
        cases.push_back(c);
    }
    ExpectDecodes(cases, BarcodeFormat::ITF);
    // With a check digit zxing verifies it as well.
    std::vector<Case> checked;
    std::copy_if(cases.begin(), cases.end(), std::back_inserter(checked), [](const Case& c) { return c.check == 1; });
    ExpectDecodes(checked, BarcodeFormat::ITF, {.validateCheck = true});
}

TEST(LinearDecode, Code39WithAndWithoutCheck)
{
    const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    Random random(13);
    std::vector<Case> withCheck;
    std::vector<Case> without;
    for (int i = 0; i < 80; ++i) {
        // No space at either end: decoders may trim it.
        std::string body = random.From("ABCZ019") + random.Text(set + "abcxyz", random.Between(0, 28));
        body += random.From("XY78");
        Case c{lx::kLinearCode39, body, i % 2};
        if (i % 3 == 1)
            c.data = "*" + c.data;
        if (i % 5 == 2)
            c.data += "*";
        std::string upper = body;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(ch));
        int sum = 0;
        for (const char ch : upper)
            sum += static_cast<int>(set.find(ch));
        const std::string check = c.check ? std::string(1, set[sum % 43]) : "";
        c.text = "*" + upper + check + "*";
        c.zxing = upper;
        c.zbar = "CODE-39:" + upper + check;
        (c.check ? withCheck : without).push_back(c);
    }
    // zxing verifies the check character and strips it.
    ExpectDecodes(withCheck, BarcodeFormat::Code39, {.validateCheck = true});
    ExpectDecodes(without, BarcodeFormat::Code39);
}

TEST(LinearDecode, Code93WithShiftEscapes)
{
    const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    Random random(14);
    std::vector<Case> cases;
    for (int i = 0; i < 60; ++i) {
        Case c{lx::kLinearCode93};
        std::string decoded;
        bool printable = true;
        const int tokens = random.Between(1, 30);
        for (int t = 0; t < tokens; ++t) {
            const char letter = random.From(letters);
            switch (random.Below(8)) {
            case 0: // (+) and a letter: lower case
                c.data += std::string("@+") + letter;
                decoded += static_cast<char>(std::tolower(letter));
                break;
            case 1: // ($) and a letter: control codes 1-26
                c.data += std::string("@$") + letter;
                decoded += static_cast<char>(letter - 'A' + 1);
                printable = false;
                break;
            case 2: { // (/) and A-L: ! " # $ % & ' ( ) * + ,
                const char l = static_cast<char>('A' + random.Below(12));
                c.data += std::string("@/") + l;
                decoded += static_cast<char>('!' + (l - 'A'));
                break;
            }
            case 3: // (%) and A-E: control codes 27-31
                c.data += std::string("@%") + static_cast<char>('A' + t % 5);
                decoded += static_cast<char>(27 + t % 5);
                printable = false;
                break;
            default: {
                const char plain = random.From(set);
                c.data += plain;
                decoded += plain;
            }
            }
        }
        c.text = c.data;
        if (i % 7 == 0) {
            c.data += "@"; // a lone "@" at the end closes the data
            c.text = c.data;
        }
        c.zxing = decoded;
        if (printable && decoded.front() != ' ' && decoded.back() != ' ')
            c.zbar = "CODE-93:" + decoded;
        cases.push_back(c);
    }
    ExpectDecodes(cases, BarcodeFormat::Code93);
}

// Random Code 128 data for one start set: each token knows what a decoder
// reads and what the text shows; the set is tracked as the tokens change it.
struct Code128Sample {
    std::string data;
    std::string decoded;
    std::string shown;
};

void AddCode128Token(Random& random, char& set, Code128Sample& s)
{
    auto plain = [&](const std::string& in, const std::string& out, const std::string& shown) {
        s.data += in;
        s.decoded += out;
        s.shown += shown;
    };
    const char upper = static_cast<char>(random.Between('A', 'Z'));
    const int r = random.Below(12);
    if (set == 'C') {
        const std::string pair = random.Text(kDigits, 2);
        if (r < 5) {
            plain(pair, pair, pair);
        } else if (r == 5) {
            plain("@C", "", ""); // already in set C: nothing to write
        } else if (r == 6) {
            const char* raw[3][2] = {{"@D", "95"}, {"@]", "00"}, {"@\\", "60"}};
            const int k = random.Below(3);
            plain(raw[k][0], raw[k][1], "");
        } else if (r == 7) {
            plain("@A", "", "");
            set = 'A';
        } else if (r == 8) {
            plain("@B", "", "");
            set = 'B';
        } else {
            // A digit without a partner, or a letter: the encoder changes to set B.
            const std::string lone = r == 9 ? pair.substr(0, 1) : "";
            plain(lone + upper, lone + upper, lone + upper);
            set = 'B';
        }
        return;
    }
    const bool a = set == 'A';
    const char lower = static_cast<char>(std::tolower(upper));
    const char control = static_cast<char>(random.Between(96, 127));
    switch (r) {
    case 0:
    case 1:
    case 2:
    case 3: {
        char c;
        do
            c = static_cast<char>(random.Between(32, a ? 95 : 126));
        while (c == '@');
        plain(std::string(1, c), std::string(1, c), std::string(1, c));
        break;
    }
    case 4: // set A: 96-127 are the control codes; set B: DEL
        if (a)
            plain(std::string(1, control), std::string(1, static_cast<char>(control - 96)), "");
        else
            plain("\x7F", "\x7F", "\x7F");
        break;
    case 5:
        plain("@@", "@", "@");
        break;
    case 6: // SHIFT changes exactly one character
        if (a)
            plain(std::string("@S") + lower, std::string(1, lower), std::string(1, lower));
        else
            plain(std::string("@S") + control, std::string(1, static_cast<char>(control - 96)), "");
        break;
    case 7:
        plain(a ? "@A" : "@B", "", ""); // the current set again: nothing written
        break;
    case 8:
        plain(a ? "@B" : "@A", "", "");
        set = a ? 'B' : 'A';
        break;
    case 9:
        plain("@C", "", "");
        set = 'C';
        break;
    case 10:
        plain("@D", a ? "\x1F" : "\x7F", "");
        break;
    default: // FNC4: the next character + 128
        plain(std::string("@4") + upper, std::string(1, static_cast<char>(upper + 128)), std::string(1, upper));
        break;
    }
}

Code128Sample Code128Data(Random& random, char set)
{
    Code128Sample s;
    const int tokens = random.Between(1, 25);
    // A symbol without data is not read by decoders.
    for (int t = 0; t < tokens || s.decoded.empty(); ++t)
        AddCode128Token(random, set, s);
    if (set == 'C' && random.Below(2) == 0) {
        s.data += "7"; // an odd digit at the end
        s.decoded += "7";
        s.shown += "7";
    }
    return s;
}

bool IsPlainAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c < 127; });
}

TEST(LinearDecode, Code128InEachStartSetWithEscapes)
{
    Random random(15);
    for (const std::int32_t key : {lx::kLinearCode128A, lx::kLinearCode128B, lx::kLinearCode128C}) {
        const char set = static_cast<char>('A' + (key & 0xFF) - 1);
        std::vector<Case> cases;
        for (int i = 0; i < 50; ++i) {
            const Code128Sample s = Code128Data(random, set);
            Case c{key, s.data, 0, s.shown, s.decoded};
            if (IsPlainAscii(s.decoded) && s.data.find("@4") == std::string::npos && !s.decoded.empty() &&
                s.decoded.front() != ' ' && s.decoded.back() != ' ')
                c.zbar = "CODE-128:" + s.decoded;
            cases.push_back(c);
        }
        ExpectDecodes(cases, BarcodeFormat::Code128);
    }
}

TEST(LinearDecode, Ean128StartsWithFnc1)
{
    Random random(16);
    for (const std::int32_t key : {lx::kLinearEan128A, lx::kLinearEan128B, lx::kLinearEan128C}) {
        std::vector<Case> cases;
        for (int i = 0; i < 20; ++i) {
            // Application identifier (01), a GTIN, then a variable field closed by FNC1.
            std::string gtin = random.Text(kDigits, 13);
            gtin += Mod10Weights31(gtin);
            const std::string lot = random.Text(kDigits, random.Between(2, 8));
            Case c{key, "01" + gtin + "10" + lot + "@121" + random.Text(kDigits, 6)};
            c.text = "01" + gtin + "10" + lot + "21" + c.data.substr(c.data.size() - 6);
            c.zxing = "01" + gtin + "10" + lot + "\x1D" + "21" + c.data.substr(c.data.size() - 6);
            cases.push_back(c);
        }
        ExpectDecodes(cases, BarcodeFormat::Code128, {}, "]C1");
    }
}

TEST(LinearDecode, Code128FunctionCharacters)
{
    // FNC1 after the first position reads as GS; FNC2 and FNC3 carry no data.
    const std::vector<Case> cases = {
        {lx::kLinearCode128B, "AB@1CD", 0, "ABCD", "AB\x1D" "CD"},
        {lx::kLinearCode128A, "AB@2CD", 0, "ABCD", "ABCD"},
        {lx::kLinearCode128B, "ab@3cd", 0, "abcd", "abcd"},
        {lx::kLinearCode128C, "1234@11234", 0, "12341234", "1234\x1D" "1234"},
    };
    ExpectDecodes(cases, BarcodeFormat::Code128);
}

} // namespace
