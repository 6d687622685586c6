#include "platform/io/Stream.h"

#include "platform/io/Errors.h"
#include "platform/io/Files.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <type_traits>
#include <unistd.h>
#include <utility>

namespace lx {

namespace {

// Values are stored little-endian whatever the host order.
template <typename T>
T FromLittleEndian(const unsigned char* bytes)
{
    using U = std::make_unsigned_t<T>;
    U value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<U>(static_cast<U>(bytes[i]) << (8 * i));
    return static_cast<T>(value);
}

template <typename T>
void ToLittleEndian(T value, unsigned char* bytes)
{
    using U = std::make_unsigned_t<T>;
    U v = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(v >> (8 * i));
}

template <typename T>
T ReadValue(Stream& stream)
{
    unsigned char bytes[sizeof(T)];
    stream.ReadExact(bytes, sizeof(T));
    return FromLittleEndian<T>(bytes);
}

template <typename T>
void WriteValue(Stream& stream, T value)
{
    unsigned char bytes[sizeof(T)];
    ToLittleEndian(value, bytes);
    stream.Write(bytes, sizeof(T));
}

} // namespace

ReadError::ReadError() : Error("ストリームの読み込みエラーです。") {}
ReadError::ReadError(const std::string& message) : Error(message) {}

std::uint64_t Stream::Remaining() const
{
    const auto size = Size();
    const auto position = Position();
    return position < size ? size - position : 0;
}

void Stream::RequireRemaining(std::uint64_t n) const
{
    if (n > Remaining())
        throw ReadError();
}

void Stream::ReadExact(void* buffer, std::size_t n)
{
    RequireRemaining(n);
    if (Read(buffer, n) != n)
        throw ReadError();
}

void Stream::Skip(std::uint64_t n)
{
    RequireRemaining(n);
    Seek(Position() + n);
}

std::uint8_t Stream::ReadUInt8() { return ReadValue<std::uint8_t>(*this); }
std::int8_t Stream::ReadInt8() { return ReadValue<std::int8_t>(*this); }
std::uint16_t Stream::ReadUInt16() { return ReadValue<std::uint16_t>(*this); }
std::int16_t Stream::ReadInt16() { return ReadValue<std::int16_t>(*this); }
std::uint32_t Stream::ReadUInt32() { return ReadValue<std::uint32_t>(*this); }
std::int32_t Stream::ReadInt32() { return ReadValue<std::int32_t>(*this); }
std::int64_t Stream::ReadInt64() { return ReadValue<std::int64_t>(*this); }
float Stream::ReadFloat32() { return std::bit_cast<float>(ReadValue<std::uint32_t>(*this)); }
double Stream::ReadFloat64() { return std::bit_cast<double>(ReadValue<std::uint64_t>(*this)); }

std::string Stream::ReadBytes(std::size_t n)
{
    RequireRemaining(n);
    std::string bytes(n, '\0');
    ReadExact(bytes.data(), n);
    return bytes;
}

void Stream::WriteUInt8(std::uint8_t v) { WriteValue(*this, v); }
void Stream::WriteInt8(std::int8_t v) { WriteValue(*this, v); }
void Stream::WriteUInt16(std::uint16_t v) { WriteValue(*this, v); }
void Stream::WriteInt16(std::int16_t v) { WriteValue(*this, v); }
void Stream::WriteUInt32(std::uint32_t v) { WriteValue(*this, v); }
void Stream::WriteInt32(std::int32_t v) { WriteValue(*this, v); }
void Stream::WriteInt64(std::int64_t v) { WriteValue(*this, v); }
void Stream::WriteFloat32(float v) { WriteValue(*this, std::bit_cast<std::uint32_t>(v)); }
void Stream::WriteFloat64(double v) { WriteValue(*this, std::bit_cast<std::uint64_t>(v)); }
void Stream::WriteBytes(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

MemoryStream::MemoryStream(std::string bytes) : data_(std::move(bytes)) {}

std::size_t MemoryStream::Read(void* buffer, std::size_t n)
{
    const std::size_t available = position_ < data_.size() ? data_.size() - position_ : 0;
    const std::size_t count = n < available ? n : available;
    if (count > 0)
        std::memcpy(buffer, data_.data() + position_, count);
    position_ += count;
    return count;
}

void MemoryStream::Write(const void* buffer, std::size_t n)
{
    if (n == 0)
        return;
    if (position_ + n > data_.size())
        data_.resize(position_ + n);
    std::memcpy(data_.data() + position_, buffer, n);
    position_ += n;
}

void MemoryStream::Seek(std::uint64_t position)
{
    // Seeking past the end is allowed, as on a file; a write there pads with zeros.
    position_ = static_cast<std::size_t>(position);
}

std::string MemoryStream::TakeBytes()
{
    position_ = 0;
    return std::exchange(data_, {});
}

void MemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

FileStream::FileStream(std::string_view path, Mode mode) : path_(path)
{
    if (mode == Mode::Create) {
        replacement_ = std::make_unique<FileReplacement>(path);
        const int fd = ::dup(replacement_->Descriptor());
        file_ = fd < 0 ? nullptr : ::fdopen(fd, "w+b");
        if (!file_) {
            if (fd >= 0)
                ::close(fd);
            throw FileError(FileErrorMessage("ファイルを作成できません", path));
        }
        return;
    }
    file_ = std::fopen(std::string(path).c_str(), "rb");
    if (!file_)
        throw FileError(FileErrorMessage("ファイルを開けません", path));
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
        std::fseek(file_, 0, SEEK_SET);
    }
}

FileStream::~FileStream()
{
    if (file_)
        std::fclose(file_);
}

std::size_t FileStream::Read(void* buffer, std::size_t n) { return std::fread(buffer, 1, n, file_); }

void FileStream::Write(const void* buffer, std::size_t n)
{
    if (n > 0 && std::fwrite(buffer, 1, n, file_) != n)
        throw FileFailure(errno, path_, "ファイルに書き込めません");
    const auto end = Position();
    if (end > size_)
        size_ = end;
}

std::uint64_t FileStream::Position() const
{
    const long position = std::ftell(file_);
    return position > 0 ? static_cast<std::uint64_t>(position) : 0;
}

void FileStream::Seek(std::uint64_t position)
{
    if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0)
        throw ReadError();
}

std::uint64_t FileStream::Size() const { return size_; }

void FileStream::Commit()
{
    if (!replacement_)
        return;
    if (std::fflush(file_) != 0)
        throw FileFailure(errno, path_, "ファイルに書き込めません");
    replacement_->Commit();
}

} // namespace lx
