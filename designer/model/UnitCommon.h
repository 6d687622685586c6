#pragma once
// The value encodings every binary block of the design file is built from:
// stream strings, pictures and fonts (little-endian, CP932 bytes unchanged),
// and the quoted field of the paper catalogue.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/image/Picture.h"
#include "platform/io/Stream.h"

namespace lx {

// int32 length, then the bytes (nothing more when the length is 0).
void WriteStreamString(std::string_view text, Stream& stream);
// A length of 0 or less gives the empty string and reads nothing more; a
// length beyond the end of the stream is a ReadError.
void ReadStreamString(Stream& stream, std::string& text);
std::string ReadStreamString(Stream& stream);

// Picture kinds of the design file.
inline constexpr std::int32_t kPictureKindBitmap = 1;
inline constexpr std::int32_t kPictureKindMetafile = 2;
inline constexpr std::int32_t kPictureKindJpeg = 3;

// int32 size; when it is above 0, int32 kind and the graphic's file form.
// No graphic, an empty one or a class without a kind (PNG) is size 0.
void WriteStreamPicture(const Picture& picture, Stream& stream);
// Replaces the picture's graphic with the stored one, or clears it. A
// negative size, missing bytes or a damaged graphic is a ReadError (the
// picture is then empty); an unknown kind clears the picture and skips its
// bytes.
void ReadStreamPicture(Picture& picture, Stream& stream);

// Font style bits.
inline constexpr std::uint8_t kFontBold = 1;
inline constexpr std::uint8_t kFontItalic = 2;
inline constexpr std::uint8_t kFontUnderline = 4;
inline constexpr std::uint8_t kFontStrikeOut = 8;

// CP932 face name of a font nobody has set. Not "DefaultFontName": the
// control has a function of that name, and one program may hold both.
const std::string& DefaultTextFaceName();

// What the design file keeps of a font.
struct FontValue {
    std::int32_t Size = 9; // points
    std::uint32_t Color = 0; // 0x00BBGGRR; system-colour values kept as they are
    std::string Name = DefaultTextFaceName(); // CP932 face name
    std::uint8_t Style = 0; // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut

    friend bool operator==(const FontValue&, const FontValue&) = default;
};

// int32 size, int32 colour, stream-string face, style byte.
void WriteStreamFont(const FontValue& font, Stream& stream);
// Reads all four values, then applies them; on a ReadError the font keeps
// its values.
void ReadStreamFont(FontValue& font, Stream& stream);
// The same encoding, used for the second and third font of effect text.
void WriteStreamFont2(const FontValue& font, Stream& stream);
void ReadStreamFont2(FontValue& font, Stream& stream);

// The text between two double quotes.
std::string QuoteField(std::string_view text);

} // namespace lx
