#pragma once
// The serial-number object (kind 8): the start number plus the label's record
// index, zero-padded to the width of the start text, and nothing once the
// finish number is passed; in the text object's font and layout.
#include <cstdint>
#include <memory>
#include <string>

#include "designer/model/LxLabelString.h"

namespace lx {

class TLxLabelObjectRenbanString : public TLxLabelObjectString {
public:
    // Name "連番シート", kind 8, start "0", finish "0".
    explicit TLxLabelObjectRenbanString(std::int32_t recordIndex);

    std::optional<std::uint8_t> ClassKind() const override { return KindRenbanString; }
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    std::unique_ptr<TLxLableObjectBase> CloneForRecord(std::int32_t recordIndex) const override;
    // Common part, the text object's own part, then RecordIndex,
    // StartNumber and FinishNumber.
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // Start + RecordIndex with at least as many digits as the start text has
    // characters, or the empty text past the finish number. Throws
    // ConvertError when either text is not a 32-bit decimal integer.
    std::string GetSerialText() const { return SerialTextFor(recordIndex_); }
    // The same for another record.
    std::string SerialTextFor(std::int32_t recordIndex) const;

    const std::string& GetStartNumber() const { return startNumber_; }
    void SetStartNumber(std::string text) { startNumber_ = std::move(text); }
    const std::string& GetFinishNumber() const { return finishNumber_; }
    void SetFinishNumber(std::string text) { finishNumber_ = std::move(text); }
    std::int32_t GetRecordIndex() const override { return recordIndex_; }
    void SetRecordIndex(std::int32_t recordIndex) override { recordIndex_ = recordIndex; }

private:
    std::int32_t recordIndex_;
    std::string startNumber_;
    std::string finishNumber_;
};

} // namespace lx
