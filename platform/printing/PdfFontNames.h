#pragma once
// Qt's PDF writer embeds subsets of fonts and tags the subset's name in the
// font descriptor only ("ABCDEF+Name"); readers take the name from the font
// dictionaries, which it leaves untagged, and so report full fonts. These
// give the dictionaries the tag of their descriptor.
#include <string>

namespace lx {

// Tags the base names of the subset fonts of a PDF file written by Qt (one
// cross-reference table, as Qt writes), in place. A file of any other form
// is left as it is; false when the file could not be read or rewritten.
bool TagSubsetFontNames(const std::string& utf8Path);

} // namespace lx
