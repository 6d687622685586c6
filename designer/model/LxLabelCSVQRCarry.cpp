#include "designer/model/LxLabelCSVQRCarry.h"

namespace lx {

void WriteCsvQRCarryOwnPart(const CsvQRCarryBinding& binding, Stream& stream)
{
    stream.WriteInt32(binding.RecordIndex);
    for (std::int32_t column : binding.Columns)
        stream.WriteInt32(column);
}

void ReadCsvQRCarryOwnPart(Stream& stream, CsvQRCarryBinding& binding)
{
    binding.RecordIndex = stream.ReadInt32();
    for (std::int32_t& column : binding.Columns)
        column = stream.ReadInt32();
}

TLxLabelObjectCsvQRCarry::TLxLabelObjectCsvQRCarry(std::shared_ptr<const TLxCSV> csv, std::int32_t recordIndex)
    : TLxLabelObjectQRCarry(KindCsvQRCarry), csv_(std::move(csv))
{
    binding_.RecordIndex = recordIndex;
}

std::optional<QRCarryFields> TLxLabelObjectCsvQRCarry::RecordFields(std::int32_t recordIndex) const
{
    // Without a table there is no record, as with an empty one.
    const std::int32_t rows = csv_ ? csv_->GetRowCount() : 0;
    if (recordIndex >= rows)
        return std::nullopt;
    QRCarryFields fields = GetFields();
    for (int text = 0; text < kQRCarryTextCount; ++text)
        fields.Texts[static_cast<std::size_t>(text)] = csv_->CsvCell(binding_.Columns[text], recordIndex);
    return fields;
}

void TLxLabelObjectCsvQRCarry::UpdateSymbolForRecord()
{
    const std::optional<QRCarryFields> fields = RecordFields(binding_.RecordIndex);
    if (!fields) {
        ClearPicture();
        return;
    }
    SetFields(*fields);
    RenderSymbol(BuildCarrierPayload());
}

Picture TLxLabelObjectCsvQRCarry::PictureFor(std::int32_t recordIndex) const
{
    const std::optional<QRCarryFields> fields = RecordFields(recordIndex);
    Picture picture;
    if (!fields)
        picture.SetBitmap(Bitmap());
    else
        picture = PayloadPicture(lx::BuildCarrierPayload(*fields));
    return picture;
}

Picture& TLxLabelObjectCsvQRCarry::GetPicture()
{
    UpdateSymbolForRecord();
    return TLxLabelObjectQRCarry::GetPicture();
}

std::unique_ptr<TLxLabelObjectCsvQRCarry> TLxLabelObjectCsvQRCarry::CopyBoundTo(std::int32_t recordIndex) const
{
    auto copy = std::make_unique<TLxLabelObjectCsvQRCarry>(csv_, recordIndex);
    copy->binding_.Columns = binding_.Columns;
    copy->SetFields(GetFields());
    // The picture of a merge object is a cache of its record's symbol: asking
    // for it renders the source afresh.
    copy->SetPicture(const_cast<TLxLabelObjectCsvQRCarry&>(*this).GetPicture());
    copy->AssignCommonPart(*this);
    return copy;
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectCsvQRCarry::Clone() const
{
    return CopyBoundTo(binding_.RecordIndex);
}

std::unique_ptr<TLxLableObjectBase> TLxLabelObjectCsvQRCarry::CloneForRecord(std::int32_t recordIndex) const
{
    return CopyBoundTo(recordIndex);
}

void TLxLabelObjectCsvQRCarry::SaveToStream(Stream& stream) const
{
    SaveCommonPart(stream);
    SaveOwnPart(stream);
    WriteCsvQRCarryOwnPart(binding_, stream);
}

void TLxLabelObjectCsvQRCarry::LoadFromStream(Stream& stream)
{
    LoadCommonPart(stream);
    LoadOwnPart(stream);
    ReadCsvQRCarryOwnPart(stream, binding_);
}

} // namespace lx
