#pragma once
// The value encodings every binary block of the design file is built from:
// stream strings, pictures and fonts (little-endian, CP932 bytes unchanged),
// and the quoted field of the paper catalogue.
#include <string>
#include <string_view>

#include "platform/io/Stream.h"

namespace lx {

// int32 length, then the bytes (nothing more when the length is 0).
void WriteStreamString(std::string_view text, Stream& stream);
// A length of 0 or less gives the empty string and reads nothing more; a
// length beyond the end of the stream is a ReadError.
void ReadStreamString(Stream& stream, std::string& text);
std::string ReadStreamString(Stream& stream);

// The text between two double quotes.
std::string QuoteField(std::string_view text);

} // namespace lx
