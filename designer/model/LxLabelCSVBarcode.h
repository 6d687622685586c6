#pragma once
// The merge symbol object (kind 6): a symbol object whose data, postal code
// and address come from bound columns of the merge table, one row per label.
// It renders afresh for its current record whenever its picture is asked
// for, so every draw and every printed label shows its own row.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelBarcode.h"

namespace lx {

// The merge symbol object's own record part: record index and three columns.
struct CsvBarcodeBinding {
    std::int32_t RecordIndex = 0;
    std::int32_t DataColumn = 0; // 1-based; 0 = none
    std::int32_t ZipColumn = 0; // postal kind
    std::int32_t AddressColumn = 0; // postal kind

    friend bool operator==(const CsvBarcodeBinding&, const CsvBarcodeBinding&) = default;
};

void WriteCsvBarcodeOwnPart(const CsvBarcodeBinding& binding, Stream& stream);
void ReadCsvBarcodeOwnPart(Stream& stream, CsvBarcodeBinding& binding);

class TLxLabelObjectCsvBarcode : public TLxLabelObjectBarcode {
public:
    // The symbol object's defaults (its default symbol rendered once), name
    // "差込バーコードシート", kind 6, every column 0. The table is shared, so
    // it lives as long as any object or undo snapshot bound to it; it may be
    // null (then no record exists and the picture is empty).
    TLxLabelObjectCsvBarcode(std::shared_ptr<const TLxCSV> csv, std::int32_t recordIndex);

    std::optional<std::uint8_t> ClassKind() const override { return KindCsvBarcode; }

    // Shares the table; the picture is the source's, rendered for its record.
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    std::unique_ptr<TLxLableObjectBase> CloneForRecord(std::int32_t recordIndex) const override;
    // Common part, the symbol object's own part, then the binding.
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // Fills the data, postal code and address from the record's row and
    // renders; a record at or beyond the table's end gives an empty picture.
    // The stored Data stays as it was; ZipCode and Address take the cells.
    void UpdateSymbolForRecord();
    // Renders for the current record, then the picture.
    Picture& GetPicture() override;
    // The symbol of a record's row, rendered afresh; the object's settings
    // and picture stay as they are.
    Picture PictureFor(std::int32_t recordIndex) const override;

    std::int32_t GetRecordIndex() const override { return binding_.RecordIndex; }
    void SetRecordIndex(std::int32_t recordIndex) override { binding_.RecordIndex = recordIndex; }
    const TLxCSV* GetCSV() const override { return csv_.get(); }
    void SetCSV(std::shared_ptr<const TLxCSV> csv) override { csv_ = std::move(csv); }
    const CsvBarcodeBinding& GetBinding() const { return binding_; }

    std::int32_t GetDataColumn() const { return binding_.DataColumn; }
    void SetDataColumn(std::int32_t column) { binding_.DataColumn = column; }
    std::int32_t GetZipColumn() const { return binding_.ZipColumn; }
    void SetZipColumn(std::int32_t column) { binding_.ZipColumn = column; }
    std::int32_t GetAddressColumn() const { return binding_.AddressColumn; }
    void SetAddressColumn(std::int32_t column) { binding_.AddressColumn = column; }

private:
    std::unique_ptr<TLxLabelObjectCsvBarcode> CopyBoundTo(std::int32_t recordIndex) const;
    // The settings with the record's postal code and address, and the data
    // to encode; nothing for a record the table does not have.
    std::optional<std::pair<SymbolSettings, std::string>> RecordSymbol(std::int32_t recordIndex) const;

    std::shared_ptr<const TLxCSV> csv_;
    CsvBarcodeBinding binding_;
};

} // namespace lx
