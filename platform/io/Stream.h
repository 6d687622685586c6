#pragma once
// Little-endian byte streams, the form of every binary block of the design
// file. Readers treat input as hostile: any read past the end is a ReadError.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lx {

class Stream {
public:
    virtual ~Stream() = default;

    // Reads up to n bytes and returns how many were read.
    virtual std::size_t Read(void* buffer, std::size_t n) = 0;
    virtual void Write(const void* buffer, std::size_t n) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual void Seek(std::uint64_t position) = 0;
    virtual std::uint64_t Size() const = 0;

    std::uint64_t Remaining() const;
    // Throws ReadError unless n more bytes are available.
    void RequireRemaining(std::uint64_t n) const;
    // Reads exactly n bytes or throws ReadError (nothing is read then).
    void ReadExact(void* buffer, std::size_t n);
    // Skips n bytes or throws ReadError.
    void Skip(std::uint64_t n);

    std::uint8_t ReadUInt8();
    std::int8_t ReadInt8();
    std::uint16_t ReadUInt16();
    std::int16_t ReadInt16();
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32();
    std::int64_t ReadInt64();
    float ReadFloat32();
    double ReadFloat64();
    // Exactly n raw bytes; the length is checked against the stream first.
    std::string ReadBytes(std::size_t n);

    void WriteUInt8(std::uint8_t v);
    void WriteInt8(std::int8_t v);
    void WriteUInt16(std::uint16_t v);
    void WriteInt16(std::int16_t v);
    void WriteUInt32(std::uint32_t v);
    void WriteInt32(std::int32_t v);
    void WriteInt64(std::int64_t v);
    void WriteFloat32(float v);
    void WriteFloat64(double v);
    void WriteBytes(std::string_view bytes);
};

// A growable stream in memory.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes);

    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;
    std::uint64_t Position() const override { return position_; }
    void Seek(std::uint64_t position) override;
    std::uint64_t Size() const override { return data_.size(); }

    const std::string& Bytes() const { return data_; }
    std::string TakeBytes();
    void Clear();

private:
    std::string data_;
    std::size_t position_ = 0;
};

class FileReplacement;

// A file opened for reading, or written anew: a created file takes the old
// one's place only at Commit (see FileReplacement in Files.h); until then,
// and when the stream goes without it, the old file stays as it was.
class FileStream : public Stream {
public:
    enum class Mode { Read, Create };
    FileStream(std::string_view path, Mode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;
    std::uint64_t Position() const override;
    void Seek(std::uint64_t position) override;
    std::uint64_t Size() const override;
    // Puts a created file in place; throws FileError on failure.
    void Commit();

private:
    std::string path_;
    std::unique_ptr<FileReplacement> replacement_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

} // namespace lx
