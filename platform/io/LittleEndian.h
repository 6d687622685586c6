#pragma once
// Little-endian values inside byte buffers (file headers, records). The
// reader checks every offset, so a hostile buffer ends in ReadError.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/io/Errors.h"

namespace lx {

inline void AppendLe16(std::string& out, std::uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

inline void AppendLe32(std::string& out, std::uint32_t v)
{
    AppendLe16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    AppendLe16(out, static_cast<std::uint16_t>(v >> 16));
}

// Reads values at absolute offsets of a buffer; any access outside it throws
// ReadError with the reader's message.
class LeReader {
public:
    LeReader(std::string_view bytes, std::string message) : bytes_(bytes), message_(std::move(message)) {}

    std::size_t Size() const { return bytes_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    void Require(std::uint64_t offset, std::uint64_t count) const
    {
        if (!Has(offset, count))
            Fail();
    }
    [[noreturn]] void Fail() const { throw ReadError(message_); }

    std::uint8_t U8(std::uint64_t offset) const
    {
        Require(offset, 1);
        return static_cast<std::uint8_t>(bytes_[static_cast<std::size_t>(offset)]);
    }
    std::uint16_t U16(std::uint64_t offset) const
    {
        Require(offset, 2);
        return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
    }
    std::uint32_t U32(std::uint64_t offset) const
    {
        Require(offset, 4);
        return Byte(offset) | (Byte(offset + 1) << 8) | (Byte(offset + 2) << 16) | (Byte(offset + 3) << 24);
    }
    std::int16_t I16(std::uint64_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
    std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    // `count` bytes starting at offset, checked.
    std::string_view Span(std::uint64_t offset, std::uint64_t count) const
    {
        Require(offset, count);
        return bytes_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

private:
    std::uint32_t Byte(std::uint64_t offset) const
    {
        return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset)]);
    }

    std::string_view bytes_;
    std::string message_;
};

} // namespace lx
