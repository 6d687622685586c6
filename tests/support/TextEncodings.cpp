#include "support/TextEncodings.h"

#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace lxtest {

std::string Iconv(const std::string& utf8, const std::string& encoding)
{
    TempDir dir;
    std::ofstream(dir.File("in.txt"), std::ios::binary) << utf8;
    const std::string command =
        "iconv -f UTF-8 -t '" + encoding + "' '" + dir.File("in.txt") + "' > '" + dir.File("out.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << "iconv is missing or failed: " << command;
    std::ifstream in(dir.File("out.txt"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace lxtest
