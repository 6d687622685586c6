#pragma once
// Qt's PDF writer embeds subsets of fonts and tags the subset's name in the
// font descriptor only ("ABCDEF+Name"); readers take the name from the font
// dictionaries, which it leaves untagged, and so report full fonts. These
// give the dictionaries the tag of their descriptor.
#include <string>

namespace lx {

class FileReplacement;

// Puts the PDF that Qt's writer wrote into `written` in place of its file,
// with the base names of its subset fonts tagged on the way. A file that is
// not whole (no table at its end, or objects not where the table says: a
// full disk cut it short) is refused with a FileError, and the old file
// stays as it was.
void CommitTaggedPdf(FileReplacement& written);

} // namespace lx
