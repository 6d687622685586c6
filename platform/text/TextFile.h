#pragma once
// Text files the user chooses (merge tables) as the model's CP932. Linux
// tools write UTF-8, some UTF-16; files from the system's own world are CP932.
#include <string>

namespace lx {

// The file's text as CP932. A byte-order mark selects UTF-8 or UTF-16 (LE or
// BE); without one, text that is well-formed UTF-8 with a multi-byte character
// is UTF-8 (CP932 text almost never is), anything else CP932, kept as it is.
// Throws ReadError for a binary file and for a character CP932 cannot hold,
// naming its line.
std::string TextFileToCp932(std::string bytes);

} // namespace lx
