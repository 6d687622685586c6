#include "symbol/encoders/LinearTestSupport.h"

#include "support/TestPaths.h"
#include "symbol/encoders/LinearEncoder.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

namespace lxtest {

LinearResult EncodeLinearText(std::int32_t key, std::string_view data, int check, int gap)
{
    LinearResult out;
    std::vector<std::uint8_t> request(data.begin(), data.end());
    request.push_back(0);
    std::vector<std::uint8_t> elements(lx::kLinearElementCapacity);
    std::vector<char> text(lx::kLinearTextCapacity, 'x');
    out.result = lx::EncodeLinear(static_cast<int>(data.size()), request.data(), &out.count, elements.data(), key,
                                  lx::LinearOption(check, gap), text.data());
    if (out.result > 0)
        out.elements.assign(elements.begin(), elements.begin() + out.result);
    out.text = text.data();
    return out;
}

const LinearLimit kLinearLimits[26] = {
    {lx::kLinearEan13, 12, false},         {lx::kLinearEan8, 7, false},       {lx::kLinearEan13AddOn, 17, false},
    {lx::kLinearEan8AddOn, 12, false},     {lx::kLinearUpcA, 11, false},      {lx::kLinearUpcE, 6, false},
    {lx::kLinearUpcAAddOn, 16, false},     {lx::kLinearUpcEAddOn, 11, false}, {lx::kLinearCodabar, 120, true},
    {lx::kLinearItf, 120, true},           {lx::kLinearItfBearer, 120, true}, {lx::kLinearStfNormal, 120, true},
    {lx::kLinearStfShort, 120, true},      {lx::kLinearCode39, 120, true},    {lx::kLinearCode93, 250, false},
    {lx::kLinearCode128A, 250, false},     {lx::kLinearCode128B, 250, false}, {lx::kLinearCode128C, 250, false},
    {lx::kLinearEan128A, 250, false},      {lx::kLinearEan128B, 250, false},  {lx::kLinearEan128C, 250, false},
    {lx::kLinearMsi, 120, true},           {lx::kLinearCode11, 120, true},    {lx::kLinearPlesseyDual, 25, false},
    {lx::kLinearPlesseySingle, 25, false}, {lx::kLinearAnker, 25, false},
};

char Mod10Weights31(const std::string& digits)
{
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i)
        sum += (digits[i] - '0') * ((digits.size() - i) % 2 == 1 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string DescribeElements(const std::vector<std::uint8_t>& elements)
{
    std::string out;
    for (const auto e : elements)
        out += std::string(out.empty() ? "" : " ") + ((e & 0x80) ? 'b' : 's') + std::to_string(e & 0x7F);
    return out;
}

GreyImage RenderElements(const std::vector<std::uint8_t>& elements, int narrow, int wide, int quiet)
{
    GreyImage image;
    image.height = 40;
    image.width = 2 * quiet;
    for (const auto e : elements)
        image.width += (e & 0x7F) == 2 ? wide : (e & 63) * narrow;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
    int x = quiet;
    for (const auto e : elements) {
        const int w = (e & 0x7F) == 2 ? wide : (e & 63) * narrow;
        for (int y = 0; (e & 0x80) && y < image.height; ++y)
            std::fill_n(image.pixels.begin() + y * image.width + x, w, 0);
        x += w;
    }
    return image;
}

LinearDecoded ZxingReadLinear(const GreyImage& image, ZXing::BarcodeFormats formats, bool addOn, bool validateCheck)
{
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    hints.setReturnCodabarStartEnd(true);
    hints.setValidateCode39CheckSum(validateCheck);
    hints.setValidateITFCheckSum(validateCheck);
    hints.setEanAddOnSymbol(addOn ? ZXing::EanAddOnSymbol::Require : ZXing::EanAddOnSymbol::Ignore);
    hints.setCharacterSet("ISO-8859-1");
    const auto result =
        ZXing::ReadBarcode({image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum}, hints);
    return {result.isValid(), std::string(result.bytes().begin(), result.bytes().end()), result.symbologyIdentifier()};
}

namespace {

std::string Attribute(const std::string& tag, const std::string& name)
{
    const auto at = tag.find(name + "='");
    if (at == std::string::npos)
        return {};
    const auto start = at + name.size() + 2;
    return tag.substr(start, tag.find('\'', start) - start);
}

} // namespace

std::vector<std::string> ZbarReadAll(const std::vector<GreyImage>& images)
{
    std::vector<std::vector<std::string>> found(images.size());
    TempDir dir;
    std::map<std::string, std::size_t> indexOf;
    std::string command = "zbarimg --xml --quiet -Sean2.enable -Sean5.enable";
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::string path = dir.File("s" + std::to_string(i) + ".pgm");
        WritePgm(images[i], path);
        indexOf[path] = i;
        command += " '" + path + "'";
    }
    std::string xml;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>/dev/null").c_str(), "r"), ::pclose);
    std::array<char, 4096> buffer{};
    for (std::size_t got; pipe && (got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
        xml.append(buffer.data(), got);
    // <source href='path'> ... <symbol type='T' ...><data><![CDATA[text]]></data></symbol> ...
    std::size_t current = images.size();
    for (std::size_t pos = 0; (pos = xml.find('<', pos)) != std::string::npos; ++pos) {
        const std::string tag = xml.substr(pos, xml.find('>', pos) - pos);
        if (tag.rfind("<source", 0) == 0) {
            const auto it = indexOf.find(Attribute(tag, "href"));
            current = it == indexOf.end() ? images.size() : it->second;
        } else if (tag.rfind("<symbol", 0) == 0 && current < images.size()) {
            const auto open = xml.find("<![CDATA[", pos) + 9;
            found[current].push_back(Attribute(tag, "type") + ":" + xml.substr(open, xml.find("]]>", open) - open));
        }
    }
    std::vector<std::string> joined;
    for (auto& lines : found) {
        std::sort(lines.begin(), lines.end());
        std::string text;
        for (const auto& line : lines)
            text += (text.empty() ? "" : "\n") + line;
        joined.push_back(text);
    }
    return joined;
}

} // namespace lxtest
