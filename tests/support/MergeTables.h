#pragma once
// A merge table as a design file's merge block holds it, made from lines of
// CP932 or of UTF-8 text (CP932 in the table). Shared by tests and benchmarks.
#include "designer/model/LxCSV.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

inline lx::TLxCSV MergeTableOfCp932(const std::vector<std::string>& lines)
{
    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\r\n";
    lx::MemoryStream block;
    block.WriteUInt8(1);
    block.WriteInt32(static_cast<std::int32_t>(lines.size()));
    block.WriteInt32(0); // the block reader counts the columns itself
    lx::WriteStreamString(joined, block);
    block.Seek(0);
    lx::TLxCSV table;
    table.LoadFromStream(block);
    return table;
}

inline lx::TLxCSV MergeTableOf(const std::vector<std::string>& utf8Lines)
{
    std::vector<std::string> lines;
    for (const std::string& line : utf8Lines)
        lines.push_back(lx::Sjis(line));
    return MergeTableOfCp932(lines);
}

} // namespace lxtest
