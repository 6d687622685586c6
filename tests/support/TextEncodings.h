#pragma once
// Text in the encodings other programs write, made by iconv(1), so that the
// tests do not check our conversions against themselves.
#include <string>

namespace lxtest {

// The UTF-8 text in `encoding` (an iconv name: "CP932", "UTF-16LE", ...);
// a test failure when iconv is missing or cannot convert it.
std::string Iconv(const std::string& utf8, const std::string& encoding);

} // namespace lxtest
