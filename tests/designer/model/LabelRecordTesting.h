#pragma once
// Helpers for the record tests of the label object kinds: hex dumps and
// save/load round trips through memory streams.
#include <memory>
#include <string>
#include <string_view>

#include "platform/io/Stream.h"

namespace lxtest {

inline std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

// The whole record (common part, then own part) of an object.
template <class T>
std::string Record(const T& object)
{
    lx::MemoryStream stream;
    object.SaveToStream(stream);
    return stream.TakeBytes();
}

template <class T>
std::string OwnPart(const T& object)
{
    lx::MemoryStream stream;
    object.SaveOwnPart(stream);
    return stream.TakeBytes();
}

// A fresh object of the class loaded from the record; every byte must be
// consumed.
template <class T>
std::unique_ptr<T> Reloaded(const std::string& record)
{
    lx::MemoryStream stream(record);
    auto object = std::make_unique<T>();
    object->LoadFromStream(stream);
    if (stream.Position() != stream.Size())
        throw std::logic_error("record not read to its end");
    return object;
}

} // namespace lxtest
