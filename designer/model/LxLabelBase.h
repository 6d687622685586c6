#pragma once
// The base of every object that can stand on a label cell: a name, a box in
// millimetres from the cell's top-left corner, three user flags, the kind and
// the editor's selection mark; the common part of every object record.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "designer/model/LxObjectKinds.h"
#include "designer/model/UnitCommon.h"
#include "platform/image/Picture.h"
#include "platform/io/Stream.h"

namespace lx {

class TLxLableObjectBase {
public:
    virtual ~TLxLableObjectBase() = default;

    // A new object of the same class with every property copied.
    virtual std::unique_ptr<TLxLableObjectBase> Clone() const = 0;
    // As Clone, bound to another record. Only the record-bound kinds provide
    // it; the base throws Error.
    virtual std::unique_ptr<TLxLableObjectBase> CloneForRecord(std::int32_t recordIndex) const;
    // The common part, then the class's own part (parent's fields first).
    virtual void SaveToStream(Stream& stream) const = 0;
    // Reads what SaveToStream wrote, into an object fresh from its constructor.
    virtual void LoadFromStream(Stream& stream) = 0;

    // The kind of the object's class, whatever kind byte it holds (a file
    // may set that to anything); nothing for a class that is no kind.
    virtual std::optional<std::uint8_t> ClassKind() const { return std::nullopt; }
    // What decides the content besides the object's own properties: the
    // record binding of its class's kind.
    RecordBinding GetRecordBinding() const;
    // The record a merge or serial object shows. Other objects show none
    // (-1) and ignore a new one.
    virtual std::int32_t GetRecordIndex() const { return -1; }
    virtual void SetRecordIndex(std::int32_t /*recordIndex*/) {}
    // The merge table a merge object reads. Other objects have none and
    // ignore one.
    virtual const TLxCSV* GetCSV() const { return nullptr; }
    virtual void SetCSV(std::shared_ptr<const TLxCSV> /*csv*/) {}

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    double GetLeft() const { return left_; }
    void SetLeft(double left) { left_ = left; }
    double GetTop() const { return top_; }
    void SetTop(double top) { top_ = top; }
    double GetWidth() const { return width_; }
    void SetWidth(double width) { width_ = width; }
    double GetHeight() const { return height_; }
    void SetHeight(double height) { height_ = height; }
    std::uint8_t GetCanDisplay() const { return canDisplay_; }
    void SetCanDisplay(std::uint8_t value) { canDisplay_ = value; }
    std::uint8_t GetCanMove() const { return canMove_; }
    void SetCanMove(std::uint8_t value) { canMove_ = value; }
    std::uint8_t GetNotPrint() const { return notPrint_; }
    void SetNotPrint(std::uint8_t value) { notPrint_ = value; }
    std::uint8_t GetKind() const { return kind_; }
    void SetKind(std::uint8_t kind) { kind_ = kind; }
    void AssignKind(std::uint8_t kind) { kind_ = kind; }
    std::uint8_t GetSelected() const { return selected_; }
    void SetSelected(std::uint8_t value) { selected_ = value; }

    // Name (stream string), Width, Height, Left, Top (float64), CanDisplay,
    // CanMove, NotPrint, Kind, Selected (one byte each). On a ReadError the
    // fields read before it keep their new values.
    void SaveCommonPart(Stream& stream) const;
    void LoadCommonPart(Stream& stream);

protected:
    // Base defaults: 5 x 5 mm at (1, 1), shown, movable, printed, not
    // selected; kind 0 and the name "デフォルトシート名".
    TLxLableObjectBase();
    // Base defaults with the given kind and that kind's default name.
    explicit TLxLableObjectBase(std::uint8_t kind);
    TLxLableObjectBase(const TLxLableObjectBase&) = default;
    TLxLableObjectBase& operator=(const TLxLableObjectBase&) = default;

    // Copies the whole common part (Name, geometry, flags, Kind, Selected);
    // every Clone and CloneForRecord ends with it.
    void AssignCommonPart(const TLxLableObjectBase& source);

    // Stream forwarders for the subclasses' own parts.
    static void WriteString(std::string_view text, Stream& stream) { WriteStreamString(text, stream); }
    static void ReadString(Stream& stream, std::string& text) { ReadStreamString(stream, text); }
    static void WritePicture(const Picture& picture, Stream& stream) { WriteStreamPicture(picture, stream); }
    static void ReadPicture(Picture& picture, Stream& stream) { ReadStreamPicture(picture, stream); }
    static void WriteFont(const FontValue& font, Stream& stream) { WriteStreamFont(font, stream); }
    static void ReadFont(FontValue& font, Stream& stream) { ReadStreamFont(font, stream); }
    static void WriteFont2(const FontValue& font, Stream& stream) { WriteStreamFont2(font, stream); }
    static void ReadFont2(FontValue& font, Stream& stream) { ReadStreamFont2(font, stream); }

private:
    std::string name_;
    double width_ = 5;
    double height_ = 5;
    double left_ = 1;
    double top_ = 1;
    std::uint8_t canDisplay_ = 1;
    std::uint8_t canMove_ = 1;
    std::uint8_t notPrint_ = 0;
    std::uint8_t kind_ = 0;
    std::uint8_t selected_ = 0;
};

} // namespace lx
