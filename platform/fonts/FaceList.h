#pragma once
// The display's TrueType face list: "face:charset" entries in CP932, the
// charset 128 for faces that cover Japanese (each with an "@" twin for
// vertical writing), plus the face names the system's designs use, sorted
// case-insensitively without duplicates. Built once and cached.
#include <string>
#include <string_view>
#include <vector>

namespace lx {

const std::vector<std::string>& TrueTypeFaceList();

// ASCII letters compare without case, every other byte by value.
bool FaceNameLess(std::string_view a, std::string_view b);

} // namespace lx
