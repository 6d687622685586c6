#include "symbol/encoders/LinearTestSupport.h"

#include "support/TestPaths.h"
#include "symbol/encoders/LinearEncoder.h"

#include <ZXing/ReadBarcode.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>

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

std::string DescribeElements(const std::vector<std::uint8_t>& elements)
{
    std::string out;
    for (const auto e : elements) {
        if (!out.empty())
            out += ' ';
        out += (e & 0x80) ? 'b' : 's';
        out += std::to_string(e & 0x7F);
    }
    return out;
}

GreyImage RenderElements(const std::vector<std::uint8_t>& elements, int narrow, int wide, int quiet, int height)
{
    std::vector<std::pair<bool, int>> runs;
    int width = 2 * quiet;
    for (const auto e : elements) {
        const int code = e & 0x7F;
        const int w = code == 2 ? wide : (code & 63) * narrow;
        runs.emplace_back((e & 0x80) != 0, w);
        width += w;
    }
    GreyImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, 255);
    int x = quiet;
    for (const auto& [bar, w] : runs) {
        if (bar)
            for (int y = 0; y < height; ++y)
                for (int i = 0; i < w; ++i)
                    image.pixels[static_cast<std::size_t>(y) * width + x + i] = 0;
        x += w;
    }
    return image;
}

LinearDecoded ZxingReadLinear(const GreyImage& image, ZXing::BarcodeFormats formats, LinearReadOptions options)
{
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    hints.setReturnCodabarStartEnd(true);
    hints.setValidateCode39CheckSum(options.validateCheck);
    hints.setValidateITFCheckSum(options.validateCheck);
    hints.setEanAddOnSymbol(options.addOn ? ZXing::EanAddOnSymbol::Require : ZXing::EanAddOnSymbol::Ignore);
    hints.setCharacterSet("ISO-8859-1");
    ZXing::ImageView view(image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum);
    const auto result = ZXing::ReadBarcode(view, hints);
    LinearDecoded decoded;
    decoded.ok = result.isValid();
    decoded.format = result.format();
    decoded.bytes.assign(result.bytes().begin(), result.bytes().end());
    decoded.identifier = result.symbologyIdentifier();
    return decoded;
}

namespace {

std::string RunCommand(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    if (!pipe)
        return output;
    std::array<char, 4096> buffer{};
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), got);
    return output;
}

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
    std::vector<std::string> found(images.size());
    if (!ZbarAvailable() || images.empty())
        return found;
    TempDir dir;
    std::map<std::string, std::size_t> indexOf;
    std::string command = "zbarimg --xml --quiet -Sean2.enable -Sean5.enable";
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::string path = dir.File("s" + std::to_string(i) + ".pgm");
        WritePgm(images[i], path);
        indexOf[path] = i;
        command += " '" + path + "'";
    }
    const std::string xml = RunCommand(command + " 2>/dev/null");
    // <source href='path'> ... <symbol type='T' ...><data><![CDATA[text]]></data></symbol> ...
    std::size_t current = images.size();
    for (std::size_t pos = 0; (pos = xml.find('<', pos)) != std::string::npos; ++pos) {
        const std::string tag = xml.substr(pos, xml.find('>', pos) - pos);
        if (tag.rfind("<source", 0) == 0) {
            const auto it = indexOf.find(Attribute(tag, "href"));
            current = it == indexOf.end() ? images.size() : it->second;
        } else if (tag.rfind("<symbol", 0) == 0 && current < images.size()) {
            const auto open = xml.find("<![CDATA[", pos);
            const auto close = xml.find("]]>", open);
            if (open == std::string::npos || close == std::string::npos)
                break;
            std::string& entry = found[current];
            if (!entry.empty())
                entry += '\n';
            entry += Attribute(tag, "type") + ":" + xml.substr(open + 9, close - open - 9);
        }
    }
    return found;
}

} // namespace lxtest
