#pragma once
// The merge mobile QR object (kind 7): a mobile QR object whose seventeen
// texts come from bound columns of the merge table, one row per label,
// rendered afresh for its current record whenever its picture is asked for.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "designer/model/LxCSV.h"
#include "designer/model/LxLabelQRCarry.h"

namespace lx {

// The own record part: the record index and the 1-based column of each text
// (0 = none), in the texts' order.
struct CsvQRCarryBinding {
    std::int32_t RecordIndex = 0;
    std::array<std::int32_t, kQRCarryTextCount> Columns{};

    friend bool operator==(const CsvQRCarryBinding&, const CsvQRCarryBinding&) = default;
};

void WriteCsvQRCarryOwnPart(const CsvQRCarryBinding& binding, Stream& stream);
void ReadCsvQRCarryOwnPart(Stream& stream, CsvQRCarryBinding& binding);

class TLxLabelObjectCsvQRCarry : public TLxLabelObjectQRCarry {
public:
    // The mobile QR object's defaults (its symbol rendered once), name
    // "差込携帯QRシート", kind 7, every column 0. The table is shared, so it
    // lives as long as any object or undo snapshot bound to it; it may be
    // null (then no record exists and the picture is empty).
    TLxLabelObjectCsvQRCarry(std::shared_ptr<const TLxCSV> csv, std::int32_t recordIndex);

    std::optional<std::uint8_t> ClassKind() const override { return KindCsvQRCarry; }

    // Shares the table; the picture is the source's, rendered for its record.
    std::unique_ptr<TLxLableObjectBase> Clone() const override;
    std::unique_ptr<TLxLableObjectBase> CloneForRecord(std::int32_t recordIndex) const override;
    // Common part, the mobile QR object's own part, then the binding.
    void SaveToStream(Stream& stream) const override;
    void LoadFromStream(Stream& stream) override;

    // Overwrites the seventeen texts with the record's cells and renders; a
    // record at or beyond the table's end gives an empty picture.
    void UpdateSymbolForRecord();
    Picture& GetPicture() override;
    // The symbol of a record's row, rendered afresh; the object's texts and
    // picture stay as they are.
    Picture PictureFor(std::int32_t recordIndex) const override;

    std::int32_t GetRecordIndex() const override { return binding_.RecordIndex; }
    void SetRecordIndex(std::int32_t recordIndex) override { binding_.RecordIndex = recordIndex; }
    const TLxCSV* GetCSV() const override { return csv_.get(); }
    void SetCSV(std::shared_ptr<const TLxCSV> csv) override { csv_ = std::move(csv); }
    const CsvQRCarryBinding& GetBinding() const { return binding_; }

    std::int32_t GetColumn(QRCarryText which) const { return binding_.Columns[which]; }
    void SetColumn(QRCarryText which, std::int32_t column) { binding_.Columns[which] = column; }
    std::int32_t GetPersonNameColumn() const { return GetColumn(TextPersonName); }
    void SetPersonNameColumn(std::int32_t c) { SetColumn(TextPersonName, c); }
    std::int32_t GetKanaColumn() const { return GetColumn(TextKana); }
    void SetKanaColumn(std::int32_t c) { SetColumn(TextKana, c); }
    std::int32_t GetTel1Column() const { return GetColumn(TextTel1); }
    void SetTel1Column(std::int32_t c) { SetColumn(TextTel1, c); }
    std::int32_t GetTel2Column() const { return GetColumn(TextTel2); }
    void SetTel2Column(std::int32_t c) { SetColumn(TextTel2, c); }
    std::int32_t GetTel3Column() const { return GetColumn(TextTel3); }
    void SetTel3Column(std::int32_t c) { SetColumn(TextTel3, c); }
    std::int32_t GetMail1Column() const { return GetColumn(TextMail1); }
    void SetMail1Column(std::int32_t c) { SetColumn(TextMail1, c); }
    std::int32_t GetMail2Column() const { return GetColumn(TextMail2); }
    void SetMail2Column(std::int32_t c) { SetColumn(TextMail2, c); }
    std::int32_t GetMail3Column() const { return GetColumn(TextMail3); }
    void SetMail3Column(std::int32_t c) { SetColumn(TextMail3, c); }
    std::int32_t GetMemoColumn() const { return GetColumn(TextMemo); }
    void SetMemoColumn(std::int32_t c) { SetColumn(TextMemo, c); }
    std::int32_t GetAddressColumn() const { return GetColumn(TextAddress); }
    void SetAddressColumn(std::int32_t c) { SetColumn(TextAddress, c); }
    std::int32_t GetUrlColumn() const { return GetColumn(TextUrl); }
    void SetUrlColumn(std::int32_t c) { SetColumn(TextUrl, c); }
    std::int32_t GetSiteNameColumn() const { return GetColumn(TextSiteName); }
    void SetSiteNameColumn(std::int32_t c) { SetColumn(TextSiteName, c); }
    std::int32_t GetSiteUrlColumn() const { return GetColumn(TextSiteUrl); }
    void SetSiteUrlColumn(std::int32_t c) { SetColumn(TextSiteUrl, c); }
    std::int32_t GetToMailColumn() const { return GetColumn(TextToMail); }
    void SetToMailColumn(std::int32_t c) { SetColumn(TextToMail, c); }
    std::int32_t GetSubjectColumn() const { return GetColumn(TextSubject); }
    void SetSubjectColumn(std::int32_t c) { SetColumn(TextSubject, c); }
    std::int32_t GetBodyColumn() const { return GetColumn(TextBody); }
    void SetBodyColumn(std::int32_t c) { SetColumn(TextBody, c); }
    std::int32_t GetContentsColumn() const { return GetColumn(TextContents); }
    void SetContentsColumn(std::int32_t c) { SetColumn(TextContents, c); }

private:
    std::unique_ptr<TLxLabelObjectCsvQRCarry> CopyBoundTo(std::int32_t recordIndex) const;
    // The fields with the record's cells as the seventeen texts; nothing for
    // a record the table does not have.
    std::optional<QRCarryFields> RecordFields(std::int32_t recordIndex) const;

    CsvQRCarryBinding binding_;
    std::shared_ptr<const TLxCSV> csv_;
};

} // namespace lx
