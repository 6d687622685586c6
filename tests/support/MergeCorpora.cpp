#include "support/MergeCorpora.h"

#include "support/TextEncodings.h"

#include <gtest/gtest.h>

#include "platform/text/Cp932.h"

#include <cstdio>
#include <iostream>

namespace lxtest {

namespace {

const std::vector<std::string> kFamilyNames = {
    "ﾔﾏﾀﾞ", "ｽｽﾞｷ", "ﾀﾅｶ", "ｻﾄｳ", "ﾀｶﾊｼ", "ﾜﾀﾅﾍﾞ", "ｲﾄｳ", "ﾅｶﾑﾗ", "ｺﾊﾞﾔｼ", "ｶﾄｳ", "ﾖｼﾀﾞ", "ﾔﾏﾓﾄ", "ｻｻｷ", "ﾔﾏｸﾞﾁ",
    "ﾏﾂﾓﾄ", "ｲﾉｳｴ", "ｷﾑﾗ", "ﾊﾔｼ", "ｼﾐｽﾞ", "ﾔﾏｻﾞｷ", "ﾓﾘ", "ｱﾍﾞ", "ｲｹﾀﾞ", "ﾊｼﾓﾄ", "ﾔﾏｼﾀ", "ｲｼｶﾜ", "ﾅｶｼﾞﾏ", "ﾏｴﾀﾞ", "ﾌｼﾞﾀ",
    "ｵｶﾞﾜ", "ｺﾞﾄｳ", "ｵｶﾀﾞ", "ﾊｾｶﾞﾜ", "ﾑﾗｶﾐ", "ｺﾝﾄﾞｳ", "ｲｼｲ", "ｻｲﾄｳ", "ｻｶﾓﾄ", "ｴﾝﾄﾞｳ", "ｱｵｷ", "ﾌｼﾞｲ", "ﾆｼﾑﾗ", "ﾌｸﾀﾞ",
    "ｵｵﾀ", "ﾐｳﾗ", "ﾌｼﾞﾜﾗ", "ｵｶﾓﾄ", "ﾏﾂﾀﾞ", "ﾅｶｶﾞﾜ", "ﾅｶﾉ", "ﾊﾗﾀﾞ", "ｵﾉ", "ﾀﾑﾗ", "ﾀｹｳﾁ", "ｶﾈｺ", "ﾜﾀﾞ", "ﾅｶﾔﾏ", "ｲｼﾀﾞ",
    "ｳｴﾀﾞ", "ﾓﾘﾀ",
    // Names whose kana happen to pair up as two-byte UTF-8.
    "ﾎｼ", "ﾅｲﾄｳ", "ﾏｷ", "ﾄｷ", "ﾐｷ", "ﾄｲ", "ﾅｽ", "ﾅｶﾔｽ", "ﾆｲ", "ﾏｽ"};

const std::vector<std::string> kGivenNames = {
    "ﾀﾛｳ", "ﾊﾅｺ", "ｲﾁﾛｳ", "ｹﾝｼﾞ", "ﾕｳｷ", "ｱｷﾗ", "ﾋﾛｼ", "ﾀｶｼ", "ﾏｺﾄ", "ﾖｳｺ", "ｹｲｺ", "ｻﾁｺ", "ｱﾔ", "ﾀｸﾔ", "ｼｮｳﾀ", "ﾀﾞｲｽｹ",
    "ﾘｮｳ", "ｶｽﾞﾔ", "ﾅｵｷ", "ﾒｸﾞﾐ", "ｱﾕﾐ", "ﾁﾋﾛ", "ｻｸﾗ", "ﾂﾊﾞｻ", "ﾄﾓﾐ", "ｶｽﾞｵ", "ﾉﾘｺ", "ｼﾝｲﾁ", "ｼﾞｭﾝ",
    // As above: valid UTF-8 on their own.
    "ﾏｻﾄｼ", "ﾅｵﾄｼ", "ﾋｻﾄｼ", "ﾖｼﾄｼ", "ﾐｶ", "ﾕｷ", "ﾏｷ", "ﾅｵ", "ﾘｶ", "ﾕｶ", "ﾏｲ", "ﾒｲ", "ﾚｲ", "ﾙｲ", "ﾘｻ", "ﾐｻ", "ﾕｲ"};

const std::vector<std::string> kAddresses = {"ﾄｳｷｮｳﾄ ﾁﾖﾀﾞｸ ﾁﾖﾀﾞ",
                                             "ﾄｳｷｮｳﾄ ﾐﾅﾄｸ ｼﾊﾞｺｳｴﾝ",
                                             "ﾄｳｷｮｳﾄ ｼﾝｼﾞｭｸｸ ﾆｼｼﾝｼﾞｭｸ",
                                             "ｵｵｻｶﾌ ｻｶｲｼ ｻｶｲｸ",
                                             "ｵｵｻｶﾌ ｵｵｻｶｼ ｷﾀｸ ｳﾒﾀﾞ",
                                             "ﾎｯｶｲﾄﾞｳ ｻｯﾎﾟﾛｼ ﾁｭｳｵｳｸ",
                                             "ｱｲﾁｹﾝ ﾅｺﾞﾔｼ ﾅｶｸ ｻｶｴ",
                                             "ﾌｸｵｶｹﾝ ﾌｸｵｶｼ ﾊｶﾀｸ",
                                             "ｷｮｳﾄﾌ ｷｮｳﾄｼ ｻｷｮｳｸ",
                                             "ｶﾅｶﾞﾜｹﾝ ﾖｺﾊﾏｼ ﾅｶｸ",
                                             "ﾋﾛｼﾏｹﾝ ﾋﾛｼﾏｼ ﾅｶｸ",
                                             "ﾐﾔｷﾞｹﾝ ｾﾝﾀﾞｲｼ ｱｵﾊﾞｸ",
                                             "ﾅｶﾞﾉｹﾝ ﾏﾂﾓﾄｼ",
                                             "ｻｲﾀﾏｹﾝ ｻｲﾀﾏｼ ｳﾗﾜｸ",
                                             "ﾁﾊﾞｹﾝ ﾁﾊﾞｼ ﾐﾊﾏｸ",
                                             "ﾋｮｳｺﾞｹﾝ ｺｳﾍﾞｼ ﾁｭｳｵｳｸ",
                                             "ﾅﾗｹﾝ ﾅﾗｼ",
                                             "ｵｷﾅﾜｹﾝ ﾅﾊｼ",
                                             "ﾆｲｶﾞﾀｹﾝ ﾆｲｶﾞﾀｼ",
                                             "ｼｽﾞｵｶｹﾝ ﾊﾏﾏﾂｼ",
                                             "ｸﾏﾓﾄｹﾝ ｸﾏﾓﾄｼ",
                                             "ｶｺﾞｼﾏｹﾝ ｶｺﾞｼﾏｼ",
                                             "ｵｶﾔﾏｹﾝ ｸﾗｼｷｼ",
                                             "ｲﾊﾞﾗｷｹﾝ ﾐﾄｼ"};

const std::vector<std::string> kBuildings = {"", "ｺｰﾎﾟｻｸﾗ 101", "ﾒｿﾞﾝﾐﾄﾞﾘ 203", "ﾊｲﾂﾔﾏﾄ 2F"};

const std::vector<std::string> kWestern = {
    // French
    "Café crème", "Crème brûlée", "Hôtel de Ville", "Élodie Dupont", "Joyeux Noël", "Garçon", "Château de Versailles",
    "Île-de-France", "Françoise Lefèvre", "naïve", "Besançon", "Orléans", "Genève", "Pâtisserie", "Zoë", "Hélène",
    "Jérôme", "Cédric", "déjà vu", "Cœur", "façade", "Fête", "crêpe", "Où est la gare ?", "Rue de l'Église 12",
    "Théâtre", "Cinéma", "Côte d'Azur", "Aérogare", "Boulangerie Lefèvre",
    // German
    "München", "Köln", "Düsseldorf", "Hauptstraße 5", "Grüße", "Müller", "Schröder", "Jürgen", "Bäckerei", "Übergröße",
    "Fußball", "Zürich", "Nürnberg", "Österreich", "Käse", "Mädchen", "schön", "Frühstück", "Gemüse", "Öffnungszeiten",
    "Brötchen", "Straßenbahn", "Tschüß", "Bärbel Köhler", "Lübeck",
    // Polish
    "Łódź", "Kraków", "Gdańsk", "Wrocław", "Poznań", "Zażółć gęślą jaźń", "Małgorzata", "Żółkiewski", "Szczęście",
    "Bolesław", "Świętokrzyskie", "Wałęsa", "Kościuszko", "Białystok", "Chrząszcz", "źródło", "pięć", "Józef",
    "Stanisław", "ulica Piękna 3", "Bydgoszcz Główna", "Częstochowa",
    // Czech
    "Dvořák", "Plzeň", "České Budějovice", "Příliš žluťoučký kůň", "Brno-střed", "Jiří", "Růžena", "Kateřina Nováková",
    "Ústí nad Labem", "Karlův most", "Čapek", "Hradec Králové", "Třebíč", "náměstí Míru", "Šťastný", "děkuji", "Žižkov",
    "Jaroslav Hašek", "Václav Havel", "Olomouc, Dukelských hrdinů", "Pardubice hlavní nádraží",
    // Signs
    "25°C", "-5°C", "±1", "±0.5 mm", "2×4", "3 × 5 m", "10 µF", "50µm", "§ 12", "§3 Abs. 2", "90°", "©2024", "½ cup",
    "x²", "10 m³", "« Bonjour »", "¿Qué tal?", "¡Hola!", "£20", "45° angle", "±10%", "1.5 µg", "§ 5 Abs. 1 BGB",
    "Temp. 37,5°C", "Ø 20 mm", "20 °C ± 2 °C", "Nr. 5 · Stock 2",
    // Greek
    "α", "β-Carotin", "Ω", "ΑΒΓ", "Δx", "λ = 532 nm", "Αθήνα", "Θεσσαλονίκη", "γ-GTP", "σ = 0,5", "μ-Wert", "Ελλάδα",
    "alpha α", "θ = 30°", "Φ 20", "Σ 100", "ε-Kaprolaktam", "Ψ", "δ-Wert", "Καλημέρα", "Πάτρα", "ω"};

const std::vector<std::string> kJapanese = {"山田 太郎,東京都千代田区千代田1-1,03-1234-5678",
                                            "髙橋 一郎,神奈川県横浜市中区",
                                            "山﨑 花子,大阪府堺市",
                                            "窶拭",
                                            "窶れた,拭く",
                                            "窶拭,山田",
                                            "佐藤 花子,大阪府〜堺市,−5℃",
                                            "ﾔﾏﾀﾞ ﾀﾛｳ,髙橋①,\"a,b\"",
                                            "株式会社テスト　ご担当者様",
                                            "〒100-0001 東京都千代田区千代田1-1",
                                            "ＡＢＣ１２３",
                                            "①②③",
                                            "ｶﾀｶﾅ,かたかな,カタカナ",
                                            "濵田 德永",
                                            "﨑",
                                            "髙",
                                            "草彅",
                                            "鵺,鶯,鸚鵡",
                                            "弌丐丕个丱丶丼丿乂乖乘",
                                            "亂亅豫亊舒弍于亞亟亠亢",
                                            "齋藤,邊見,渡邉 剛",
                                            "柳田 國男",
                                            "ご住所,北海道札幌市中央区北1条西2丁目",
                                            "ﾃｽﾄ株式会社",
                                            "備考,～まで",
                                            "価格 ￥1,000",
                                            "㈱テスト",
                                            "№1,Ⅰ,Ⅱ,Ⅲ",
                                            "髙島屋",
                                            "山﨑 太郎,〒530-0001,大阪市北区梅田1-1-1,06-1234-5678",
                                            "瀞,瀟,灌,炮,烙",
                                            "堯,槇,遙,瑤,熙",
                                            "あ",
                                            "あい",
                                            "ア",
                                            "東京",
                                            "日本語のテキスト",
                                            "ﾐｶ,東京"};

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
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 240; ++i) {
        const std::string& family = kFamilyNames[i % kFamilyNames.size()];
        const std::string& given = kGivenNames[(i * 7 + i / kFamilyNames.size()) % kGivenNames.size()];
        const std::string& address = kAddresses[(i * 5) % kAddresses.size()];
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
    // Every name of the lists above that is also UTF-8, with every such given name.
    const std::size_t pairedFamily = kFamilyNames.size() - 10;
    const std::size_t pairedGiven = kGivenNames.size() - 17;
    for (std::size_t f = pairedFamily; f < kFamilyNames.size(); ++f)
        for (std::size_t g = pairedGiven; g < kGivenNames.size(); ++g)
            lines.push_back(kFamilyNames[f] + " " + kGivenNames[g]);
    return lines;
}

std::vector<std::string> WesternLines()
{
    std::vector<std::string> lines = kWestern;
    const std::size_t n = kWestern.size();
    for (std::size_t i = 0; i < n; ++i)
        lines.push_back(Numbered("%zu,", 1000 + i) + kWestern[i] + "," + kWestern[(i * 7 + 3) % n]);
    return lines;
}

std::vector<std::string> JapaneseLines() { return kJapanese; }

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
