#pragma once
// The control library's string resources: type names, the page caption,
// the initial linear-text face and the texts of the property errors.
#include <string_view>

namespace lx {

inline constexpr int kIdsControlTypeName = 1;
inline constexpr int kIdsPageTypeName = 2;
inline constexpr int kIdsPageCaption = 100;
inline constexpr int kIdsDefaultFont = 120;

// The text of a string resource; empty for an unknown number.
std::string_view LoadResourceString(int id);

} // namespace lx
