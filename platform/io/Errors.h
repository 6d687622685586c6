#pragma once
// Exceptions of the platform layer. Messages are UTF-8 Japanese text, ready to
// be shown in a message box; model text stays CP932 and never goes in here.
#include <stdexcept>
#include <string>

namespace lx {

// Base of every failure the system reports to the user.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream ended before the bytes a reader asked for, or held a value that
// cannot be right (a negative size, a count larger than the stream).
class ReadError : public Error {
public:
    ReadError();
    explicit ReadError(const std::string& message);
};

// A file could not be opened, created or written.
class FileError : public Error {
public:
    using Error::Error;
};

} // namespace lx
