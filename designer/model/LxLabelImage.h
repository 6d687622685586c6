#pragma once
// The picture object (kind 2): a picture stretched into the object's box,
// with an optional transparent colour and a keep-aspect-ratio flag for the
// editor.
#include <cstdint>
#include <memory>

#include "designer/model/LxLabelBase.h"
#include "platform/image/Picture.h"

namespace lx {

class TLxLabelObjectImage : public TLxLableObjectBase {
public:
    // Name "画像シート", kind 2, an empty picture, opaque, white as the
    // transparent colour, aspect ratio kept.
    TLxLabelObjectImage();

    std::optional<std::uint8_t> ClassKind() const override { return KindImage; }
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // The owned picture itself.
    Picture& GetPicture() { return picture_; }
    const Picture& GetPicture() const { return picture_; }
    // Copies the picture's graphic (or its absence) into the owned picture;
    // the graphic and its decoded pixels are shared until either is changed.
    void SetPicture(const Picture& picture) { picture_ = picture; }
    // 0x00BBGGRR; left out when Transparent is 1.
    std::uint32_t GetTransparentColor() const { return transparentColor_; }
    void SetTransparentColor(std::uint32_t color) { transparentColor_ = color; }
    std::uint8_t GetTransparent() const { return transparent_; }
    void SetTransparent(std::uint8_t value) { transparent_ = value; }
    // 1: the editor keeps the box in the picture's aspect ratio.
    std::uint8_t GetFixRate() const { return fixRate_; }
    void SetFixRate(std::uint8_t value) { fixRate_ = value; }

    // Stream picture, TransparentColor (int32), Transparent, FixRate (one
    // byte each). A picture of a class the stream does not store is written
    // as no picture.
    void SaveOwnPart(Stream& stream) const;
    void LoadOwnPart(Stream& stream);

private:
    // Used by the constructor: a new empty owned picture, and the four
    // defaults with the kind's name.
    void CreatePicture();
    void InitDefaults();

    Picture picture_;
    std::uint32_t transparentColor_ = 0;
    std::uint8_t transparent_ = 0;
    std::uint8_t fixRate_ = 0;
};

} // namespace lx
