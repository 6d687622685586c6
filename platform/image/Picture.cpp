#include "platform/image/Picture.h"

#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/Cp932.h"

#include <cctype>
#include <string>

namespace lx {

namespace {

// The extension after the last "." of the file name, upper-cased; the
// delimiters of both systems end the file name.
std::string UpperExtension(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot))
        return {};
    std::string extension;
    ForEachChar(path.substr(dot), [&](std::string_view c) {
        if (c.size() == 1)
            extension += static_cast<char>(std::toupper(static_cast<unsigned char>(c[0])));
        else
            extension += c;
    });
    return extension;
}

} // namespace

Graphic* Picture::GetGraphic()
{
    if (graphic_ && graphic_.use_count() > 1)
        graphic_ = graphic_->Clone();
    return graphic_.get();
}

void Picture::SetBitmap(Bitmap bitmap) { graphic_ = std::make_unique<BitmapImage>(std::move(bitmap)); }

void Picture::SetSpans(SpanRaster spans) { graphic_ = std::make_unique<BitmapImage>(std::move(spans)); }

std::unique_ptr<Graphic> GraphicForExtension(std::string_view path)
{
    const std::string extension = UpperExtension(path);
    if (extension == ".BMP")
        return std::make_unique<BitmapImage>();
    if (extension == ".JPG" || extension == ".JPEG")
        return std::make_unique<JpegImage>();
    if (extension == ".PNG")
        return std::make_unique<PngImage>();
    if (extension == ".EMF" || extension == ".WMF")
        return std::make_unique<MetafileImage>();
    return nullptr;
}

void Picture::LoadFromFile(std::string_view path)
{
    std::unique_ptr<Graphic> graphic = GraphicForExtension(path);
    if (!graphic)
        throw ReadError("扱えない画像ファイルの拡張子です (" + UpperExtension(path) + ")。");
    graphic->LoadFromBytes(ReadFileBytes(path));
    graphic_ = std::move(graphic);
}

} // namespace lx
