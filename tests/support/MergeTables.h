#pragma once
// A merge table as a design file's merge block holds it, made from lines of
// UTF-8 text (CP932 in the table). Shared by tests and benchmarks.
#include "designer/model/LxCSV.h"
#include "platform/io/Stream.h"
#include "platform/text/Cp932.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

inline lx::TLxCSV MergeTableOf(const std::vector<std::string>& utf8Lines)
{
    std::string joined;
    for (const std::string& line : utf8Lines)
        joined += lx::Sjis(line) + "\r\n";
    lx::MemoryStream block;
    block.WriteUInt8(1);
    block.WriteInt32(static_cast<std::int32_t>(utf8Lines.size()));
    block.WriteInt32(0); // the block reader counts the columns itself
    lx::WriteStreamString(joined, block);
    block.Seek(0);
    lx::TLxCSV table;
    table.LoadFromStream(block);
    return table;
}

} // namespace lxtest
