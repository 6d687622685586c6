#pragma once
// The type icons of files, as the desktop's icon theme draws them.
#include <string_view>

#include "platform/image/Bitmap.h"

namespace lx {

// The icon of the file's type, judged by its name alone (the file need not
// exist), size x size pixels with transparency. A type without an icon of
// its own gets the generic file icon. Needs the application object.
Bitmap FileTypeIcon(std::string_view utf8FileName, int size);

} // namespace lx
