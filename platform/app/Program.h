#pragma once
// Where the running program lives: the folder beside which the registry
// store, the templates and the picture material are found.
#include <string>

namespace lx {

// UTF-8 path of the running executable.
std::string ProgramPath();
// Its folder, without a trailing "/".
std::string ProgramFolder();

} // namespace lx
