#pragma once
// Where the running program lives, and the user's own folders where what it
// writes goes (the XDG base folders).
#include <string>

namespace lx {

// UTF-8 path of the running executable.
std::string ProgramPath();
// Its folder, without a trailing "/".
std::string ProgramFolder();

// The name of the program's own folders under the user's base folders.
inline constexpr const char* kUserFolderName = "tlxlabel";
// $XDG_CONFIG_HOME/tlxlabel and $XDG_DATA_HOME/tlxlabel (UTF-8, no trailing
// "/"); an unset or relative variable means ~/.config or ~/.local/share.
// The folders may not exist yet.
std::string UserConfigFolder();
std::string UserDataFolder();

} // namespace lx
