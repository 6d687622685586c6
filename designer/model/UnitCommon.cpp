#include "designer/model/UnitCommon.h"

#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/io/Errors.h"
#include "platform/text/Cp932.h"

#include <cctype>
#include <limits>
#include <memory>

namespace lx {

namespace {

constexpr std::uint8_t kFontStyleBits = kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut;

std::int32_t CheckedLength(std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw Error("データが大きすぎて保存できません。");
    return static_cast<std::int32_t>(size);
}

// The kind is chosen by class name, trimmed and upper-cased, so that only the
// three classes the file format knows are stored.
std::int32_t PictureKindOf(const Graphic& graphic)
{
    std::string_view className = graphic.ClassName();
    while (!className.empty() && className.front() == ' ')
        className.remove_prefix(1);
    while (!className.empty() && className.back() == ' ')
        className.remove_suffix(1);
    std::string name;
    for (char c : className)
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name == "TBITMAP")
        return kPictureKindBitmap;
    if (name == "TMETAFILE")
        return kPictureKindMetafile;
    if (name == "TJPEGIMAGE")
        return kPictureKindJpeg;
    return 0;
}

std::unique_ptr<Graphic> NewGraphicOfKind(std::int32_t kind)
{
    switch (kind) {
    case kPictureKindBitmap: return std::make_unique<BitmapImage>();
    case kPictureKindMetafile: return std::make_unique<MetafileImage>();
    case kPictureKindJpeg: return std::make_unique<JpegImage>();
    default: return nullptr;
    }
}

} // namespace

void WriteStreamString(std::string_view text, Stream& stream)
{
    stream.WriteInt32(CheckedLength(text.size()));
    stream.WriteBytes(text);
}

void ReadStreamString(Stream& stream, std::string& text)
{
    const std::int32_t length = stream.ReadInt32();
    text = length > 0 ? stream.ReadBytes(static_cast<std::size_t>(length)) : std::string();
}

std::string ReadStreamString(Stream& stream)
{
    std::string text;
    ReadStreamString(stream, text);
    return text;
}

void WriteStreamPicture(const Picture& picture, Stream& stream)
{
    const Graphic* graphic = picture.GetGraphic();
    const std::int32_t kind = graphic && !graphic->Empty() ? PictureKindOf(*graphic) : 0;
    const std::string bytes = kind != 0 ? graphic->SaveToBytes() : std::string();
    stream.WriteInt32(CheckedLength(bytes.size()));
    if (bytes.empty())
        return;
    stream.WriteInt32(kind);
    stream.WriteBytes(bytes);
}

void ReadStreamPicture(Picture& picture, Stream& stream)
{
    const std::int32_t size = stream.ReadInt32();
    if (size < 0)
        throw ReadError();
    if (size == 0) {
        picture.Clear();
        return;
    }
    const std::int32_t kind = stream.ReadInt32();
    picture.Clear();
    std::unique_ptr<Graphic> graphic = NewGraphicOfKind(kind);
    if (!graphic) {
        // Never written by us: skip the record so the rest still reads right.
        stream.Skip(static_cast<std::uint64_t>(size));
        return;
    }
    graphic->LoadFromBytes(stream.ReadBytes(static_cast<std::size_t>(size)));
    picture.SetGraphic(std::move(graphic));
}

const std::string& DefaultTextFaceName()
{
    static const std::string name = Sjis("ＭＳ Ｐゴシック");
    return name;
}

void WriteStreamFont(const FontValue& font, Stream& stream)
{
    stream.WriteInt32(font.Size);
    stream.WriteUInt32(font.Color);
    WriteStreamString(font.Name, stream);
    stream.WriteUInt8(font.Style & kFontStyleBits);
}

void ReadStreamFont(FontValue& font, Stream& stream)
{
    FontValue read;
    read.Size = stream.ReadInt32();
    read.Color = stream.ReadUInt32();
    ReadStreamString(stream, read.Name);
    read.Style = stream.ReadUInt8() & kFontStyleBits;
    font = std::move(read);
}

void WriteStreamFont2(const FontValue& font, Stream& stream) { WriteStreamFont(font, stream); }
void ReadStreamFont2(FontValue& font, Stream& stream) { ReadStreamFont(font, stream); }

std::string QuoteField(std::string_view text)
{
    std::string field;
    field.reserve(text.size() + 2);
    field += '"';
    field += text;
    field += '"';
    return field;
}

} // namespace lx
