#pragma once
// Files written and read byte for byte, and small data folders for the
// catalogue and layout tests.
#include <fstream>
#include <string>

#include "platform/text/Cp932.h"

namespace lxtest {

// Writes bytes unchanged (CP932, line ends as given).
inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first line of "paper.cfg": n quoted maker names, each followed by a TAB.
inline std::string MakersLine(int n = 14)
{
    std::string line;
    for (int i = 0; i < n; ++i) {
        line += '"';
        line += lx::Sjis("メーカー");
        line += std::to_string(i) + "\"\t";
    }
    return line + "\r\n";
}

} // namespace lxtest
