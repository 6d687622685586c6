#pragma once
// Saving and loading an object's properties: through a property bag (named
// variants) or a stream. Both go through one exchange routine of the object
// (PropertyExchange), which names every value, its type and its default.
//
// Stream form (little-endian), the bag written entry by entry in its order:
//   "LXPB"  u32 entry count
//   entry:  u8 name length (1-255), the name (ASCII), u16 VarType, value:
//           Int16 2 bytes, Int32 4, Float 4, Double 8, Bool 1 (0 or 1),
//           String u32 byte count + the text's CP932 bytes (never a NUL),
//           Empty nothing,
//           Picture u32 byte count + the bytes of an enhanced metafile or a
//           placeable Windows metafile (count 0: no picture),
//           type 0x4C55 (text that CP932 cannot hold, or with a NUL): u32
//           even byte count + UTF-16LE units.
// Text goes as CP932 whenever CP932 holds it, so that readers of the first
// form (which knew no other) read every state they can hold.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/com/Variant.h"
#include "platform/io/Stream.h"

namespace lx {

class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // False when the bag holds no value of that name.
    virtual bool Read(std::string_view name, Variant& value) const = 0;
    virtual void Write(std::string_view name, const Variant& value) = 0;
};

// A bag in memory that keeps the order of first writing; names compare
// without regard to ASCII case.
class MemoryPropertyBag : public PropertyBag {
public:
    bool Read(std::string_view name, Variant& value) const override;
    void Write(std::string_view name, const Variant& value) override;
    bool Remove(std::string_view name);

    const std::vector<std::pair<std::string, Variant>>& Entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, Variant>> entries_;
};

// Writes the bag in the stream form above. Names longer than 255 bytes or
// empty are refused with Error.
void WritePropertyStream(Stream& stream, const MemoryPropertyBag& bag);
// Reads a bag in the stream form; hostile bytes give ReadError (a Japanese
// message) and nothing else. Reads exactly the bag's bytes.
MemoryPropertyBag ReadPropertyStream(Stream& stream);

// One pass over an object's persisted values, in one of three modes.
class PropertyExchange {
public:
    enum class Mode { Load, Save, Reset };
    static PropertyExchange Loading(const PropertyBag& source) { return {Mode::Load, &source, nullptr}; }
    static PropertyExchange Saving(PropertyBag& target) { return {Mode::Save, nullptr, &target}; }
    // Every value takes its default.
    static PropertyExchange Resetting() { return {Mode::Reset, nullptr, nullptr}; }

    Mode GetMode() const { return mode_; }
    bool IsLoading() const { return mode_ != Mode::Save; }

    // On load a missing value, or one that does not convert to the type,
    // takes the default.
    void Short(std::string_view key, std::int16_t& value, std::int16_t byDefault);
    void Long(std::string_view key, std::int32_t& value, std::int32_t byDefault);
    void Bool(std::string_view key, bool& value, bool byDefault);
    void Float(std::string_view key, float& value, float byDefault);
    // Colours are 0x00BBGGRR values (or system colours), kept as they come.
    void Color(std::string_view key, std::uint32_t& value, std::uint32_t byDefault);
    // CP932 text, carried as an ordinary (UTF-16) string, so that a bag
    // written by another host loads the text it holds; bytes without a
    // CP932 form travel as escape characters and come back unchanged.
    void Text(std::string_view key, std::string& cp932, std::string_view byDefault);
    // A picture; the default is none.
    void PictureValue(std::string_view key, std::shared_ptr<const Picture>& value);

private:
    // The loaded value converted to `type`, or nothing.
    std::optional<Variant> Load(std::string_view key, VarType type) const;

    PropertyExchange(Mode mode, const PropertyBag* source, PropertyBag* target)
        : mode_(mode), source_(source), target_(target)
    {
    }
    template <typename T>
    void Exchange(std::string_view key, T& value, T byDefault, VarType type);

    Mode mode_;
    const PropertyBag* source_;
    PropertyBag* target_;
};

// Persistence through a stream.
class PersistStreamInit : public ComUnknown {
public:
    static constexpr Guid kIid{0x6C780003, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    virtual HResult GetClassId(Guid* clsid) = 0;
    // kOk when changed since the last save or load, else kFalse.
    virtual HResult IsDirty() = 0;
    // kReadFault for a stream that cannot be read (the object keeps its
    // values then).
    virtual HResult Load(Stream& stream) = 0;
    virtual HResult Save(Stream& stream, bool clearDirty) = 0;
    // Every value back to its default.
    virtual HResult InitNew() = 0;

protected:
    ~PersistStreamInit() = default;
};

// Persistence through a property bag.
class PersistPropertyBag : public ComUnknown {
public:
    static constexpr Guid kIid{0x6C780004, 0x0000, 0x4000, {0x80, 0x00, 0x4C, 0x58, 0x43, 0x4F, 0x4D, 0x00}};

    virtual HResult GetClassId(Guid* clsid) = 0;
    virtual HResult InitNew() = 0;
    virtual HResult Load(const PropertyBag& bag) = 0;
    virtual HResult Save(PropertyBag& bag, bool clearDirty) = 0;

protected:
    ~PersistPropertyBag() = default;
};

} // namespace lx
