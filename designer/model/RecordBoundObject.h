#pragma once
// What the object list asks of the objects whose content follows a record
// index: the merge objects (one row of the merge table) and the serial-number
// object. The list finds them by class, never by the stored kind byte, which
// a file may set to anything.
#include <cstdint>

namespace lx {

class RecordBoundObject {
public:
    virtual ~RecordBoundObject() = default;

    virtual std::int32_t GetRecordIndex() const = 0;
    virtual void SetRecordIndex(std::int32_t recordIndex) = 0;
    // True for the merge objects, false for the serial-number object.
    virtual bool IsMergeObject() const = 0;

protected:
    RecordBoundObject() = default;
    RecordBoundObject(const RecordBoundObject&) = default;
    RecordBoundObject& operator=(const RecordBoundObject&) = default;
};

} // namespace lx
