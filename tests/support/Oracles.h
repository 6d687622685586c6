#pragma once
// Oracles the tests run beside our code (zbarimg, pdftoppm, wmf2gd, Xvfb,
// fonts, ...). Where one is missing its test is skipped, or fails when
// LX_REQUIRE_ORACLES=1 (CI sets it), so a green CI run means every oracle ran.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace lxtest {

bool OraclesRequired();
// The programs not on PATH, as "a, b"; empty when all are there.
std::string MissingTools(std::initializer_list<const char*> programs);
// Whether wmf2gd draws a metafile: libwmf refuses every file when it finds
// none of its fonts (fonts-urw-base35), text or not.
bool LibwmfRenders();
// What a command writes to its standard output, line by line.
std::vector<std::string> OutputLines(const std::string& command);

} // namespace lxtest

// In a test body or SetUp: goes on only when `available`, else skips (or
// fails under LX_REQUIRE_ORACLES) naming what is missing.
#define LX_NEED_ORACLE(available, what)                                                                                \
    if (available) {                                                                                                   \
    } else if (::lxtest::OraclesRequired())                                                                            \
        GTEST_FAIL() << "missing oracle: " << (what);                                                                  \
    else                                                                                                               \
        GTEST_SKIP() << "missing oracle: " << (what)

#define LX_NEED_TOOLS(...)                                                                                             \
    LX_NEED_ORACLE(::lxtest::MissingTools({__VA_ARGS__}).empty(), ::lxtest::MissingTools({__VA_ARGS__}))
