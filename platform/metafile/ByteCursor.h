#pragma once
// Little-endian record fields: a writer that appends to a byte string and a
// reader over one bounded record that throws ReadError instead of reading
// past its end.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/io/Errors.h"

namespace lx {

// The message of every malformed metafile.
inline const char* kBadMetafileMessage = "メタファイルの形式が正しくありません。";

class ByteWriter {
public:
    void U8(std::uint8_t v) { bytes_ += static_cast<char>(v); }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void I16(int v) { U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))); }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        U32(bits);
    }
    void Bytes(std::string_view b) { bytes_ += b; }
    void Zeros(std::size_t n) { bytes_.append(n, '\0'); }
    void PadTo(std::size_t multiple)
    {
        while (bytes_.size() % multiple != 0)
            bytes_ += '\0';
    }
    std::size_t Size() const { return bytes_.size(); }
    std::string& Data() { return bytes_; }
    // Overwrites a 32-bit field written earlier.
    void PatchU32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
    }

private:
    std::string bytes_;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Position() const { return at_; }
    std::size_t Remaining() const { return bytes_.size() - at_; }
    std::size_t Size() const { return bytes_.size(); }
    void Seek(std::size_t at)
    {
        if (at > bytes_.size())
            throw ReadError(kBadMetafileMessage);
        at_ = at;
    }
    void Require(std::size_t n) const
    {
        if (n > Remaining())
            throw ReadError(kBadMetafileMessage);
    }
    // Checks that `count` items of `itemSize` bytes are there before any
    // storage is made for them.
    void RequireItems(std::uint64_t count, std::size_t itemSize) const
    {
        if (count > Remaining() / itemSize)
            throw ReadError(kBadMetafileMessage);
    }
    std::uint8_t U8()
    {
        Require(1);
        return static_cast<std::uint8_t>(bytes_[at_++]);
    }
    std::uint16_t U16()
    {
        Require(2);
        const auto v = static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes_[at_]) |
                                                  (static_cast<std::uint8_t>(bytes_[at_ + 1]) << 8));
        at_ += 2;
        return v;
    }
    int I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32()
    {
        const std::uint32_t lo = U16();
        return lo | (static_cast<std::uint32_t>(U16()) << 16);
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::string_view Bytes(std::size_t n)
    {
        Require(n);
        const std::string_view out = bytes_.substr(at_, n);
        at_ += n;
        return out;
    }
    // A sub-range given by an offset and a size from the start of the data.
    std::string_view Range(std::uint64_t offset, std::uint64_t size) const
    {
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            throw ReadError(kBadMetafileMessage);
        return bytes_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

} // namespace lx
