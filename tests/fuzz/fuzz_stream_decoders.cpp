// Hostile bytes into every reader of design-file values and picture files.
// The first byte picks the reader, the rest is its input. Readers may only
// fail with lx::Error; whatever they accept must survive writing it again.
#include "designer/model/LxLabelBase.h"
#include "designer/model/UnitCommon.h"
#include "platform/image/BitmapImage.h"
#include "platform/image/JpegImage.h"
#include "platform/image/MetafileImage.h"
#include "platform/image/PngImage.h"
#include "platform/io/Errors.h"

#include <cstdint>
#include <string>

namespace {

class FuzzObject : public lx::TLxLableObjectBase {
public:
    std::unique_ptr<lx::TLxLableObjectBase> Clone() const override
    {
        auto copy = std::make_unique<FuzzObject>();
        copy->AssignCommonPart(*this);
        return copy;
    }
    void SaveToStream(lx::Stream& stream) const override { SaveCommonPart(stream); }
    void LoadFromStream(lx::Stream& stream) override { LoadCommonPart(stream); }
};

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void ReadStrings(std::string_view input)
{
    lx::MemoryStream stream{std::string(input)};
    while (stream.Remaining() > 0) {
        const std::string text = lx::ReadStreamString(stream);
        lx::MemoryStream again;
        lx::WriteStreamString(text, again);
        again.Seek(0);
        Check(lx::ReadStreamString(again) == text);
    }
}

void ReadPictures(std::string_view input)
{
    lx::MemoryStream stream{std::string(input)};
    while (stream.Remaining() > 0) {
        lx::Picture picture;
        lx::ReadStreamPicture(picture, stream);
        if (const auto* raster = dynamic_cast<const lx::RasterGraphic*>(picture.GetGraphic()))
            raster->GetBitmap();
        lx::MemoryStream written;
        lx::WriteStreamPicture(picture, written);
        written.Seek(0);
        lx::Picture again;
        lx::ReadStreamPicture(again, written);
        Check(again.Empty() == picture.Empty());
        if (!picture.Empty())
            Check(again.GetGraphic()->SaveToBytes() == picture.GetGraphic()->SaveToBytes());
    }
}

void ReadFonts(std::string_view input)
{
    lx::MemoryStream stream{std::string(input)};
    while (stream.Remaining() > 0) {
        lx::FontValue font;
        lx::ReadStreamFont(font, stream);
        Check((font.Style & 0xF0) == 0);
    }
}

void DecodeBitmap(std::string_view input)
{
    const lx::Bitmap bitmap = lx::DecodeBmp(input);
    if (!bitmap.Empty())
        Check(lx::DecodeBmp(lx::EncodeBmp(bitmap)).Width() == bitmap.Width());
}

void DecodeJpeg(std::string_view input)
{
    const lx::ImageSize size = lx::ReadJpegSize(input);
    const lx::Bitmap bitmap = lx::DecodeJpeg(input);
    Check(bitmap.Width() == size.width && bitmap.Height() == size.height);
}

void DecodePng(std::string_view input)
{
    const lx::ImageSize size = lx::ReadPngSize(input);
    const lx::Bitmap bitmap = lx::DecodePng(input);
    Check(bitmap.Width() == size.width && bitmap.Height() == size.height);
}

void LoadMetafile(std::string_view input)
{
    lx::MetafileImage metafile;
    metafile.LoadFromBytes(input);
    Check(metafile.SaveToBytes() == input);
}

void LoadCommonPart(std::string_view input)
{
    lx::MemoryStream stream{std::string(input)};
    FuzzObject object;
    object.LoadFromStream(stream);
    lx::MemoryStream saved;
    object.Clone()->SaveToStream(saved);
    saved.Seek(0);
    FuzzObject again;
    again.LoadFromStream(saved);
    lx::MemoryStream savedAgain;
    again.SaveToStream(savedAgain);
    Check(savedAgain.Bytes() == saved.Bytes());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 8) {
        case 0: ReadStrings(input); break;
        case 1: ReadPictures(input); break;
        case 2: ReadFonts(input); break;
        case 3: DecodeBitmap(input); break;
        case 4: DecodeJpeg(input); break;
        case 5: DecodePng(input); break;
        case 6: LoadMetafile(input); break;
        default: LoadCommonPart(input); break;
        }
    } catch (const lx::Error&) {
        // The only acceptable failure.
    }
    return 0;
}
