#pragma once
// The user's own folders as the desktop names them (XDG user folders).
#include <string>

namespace lx {

// UTF-8 paths without a trailing "/". A folder the user's settings name but
// that does not exist gives the home folder instead, so a window that
// starts there always has a folder to show.
std::string DesktopFolder();
std::string DocumentsFolder();

} // namespace lx
